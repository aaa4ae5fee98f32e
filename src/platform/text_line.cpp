#include "platform/text_line.h"

namespace corvid {

bool readTextLine(std::FILE* file, std::string& line, size_t maxLength, bool& tooLong) {
    line.clear();
    tooLong = false;
    int c;
    bool any = false;
    while ((c = std::getc(file)) != EOF) {
        any = true;
        if (c == '\n') break;
        if (c == '\r') {
            int next = std::getc(file);
            if (next != '\n' && next != EOF) std::ungetc(next, file);
            break;
        }
        if (line.size() < maxLength)
            line += char(c);
        else
            tooLong = true;
    }
    return any;
}

} // namespace corvid
