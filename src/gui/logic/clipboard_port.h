// The system clipboard as the desktop's commands use it: plain text in and out. The Qt layer
// gives the real one; tests give their own.
#pragma once

#include <string>

namespace corvid {

enum class ClipboardWrite { Done, CannotOpen, NoMemory };

class ClipboardPort {
public:
    virtual ~ClipboardPort() = default;
    virtual ClipboardWrite writeText(const std::string& text) = 0;
    // False when the clipboard holds no text.
    virtual bool readText(std::string& text) = 0;
};

} // namespace corvid
