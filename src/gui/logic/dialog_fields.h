// What a dialog shows and what the person entered, keyed by control id, and the reading of its
// number fields. The models fill DialogValues when a dialog opens and read them back on OK;
// the views copy them to and from their controls by id.
#pragma once

#include "gui/logic/dialog_services.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace corvid {

struct DialogValues {
    std::map<int, std::string> texts; // edit fields, labels and button captions
    std::map<int, bool> checks;       // check boxes and radio buttons

    std::string text(int id) const;
    bool checked(int id) const;
};

// A field of unsigned integers: blanks around digits; values above 4294967295 read as that.
// Nothing for any other text (signs included).
std::optional<uint32_t> readUnsignedField(const std::string& text);
// A field that may hold a signed integer (an optional '-' or '+'); far values saturate at
// the 32-bit limits.
std::optional<int32_t> readSignedField(const std::string& text);

// Tells the person that a field did not hold a number and keeps its value:
// "Not a Number" / "<label> \"<text>\" is not a whole number; it stays <kept>."
void reportNotANumber(DialogServices& dialogs, const std::string& label, const std::string& text,
                      long long kept);

// Reads a field of the values; on anything but a number the person is told that the value
// stays `kept`, and nothing is returned.
std::optional<uint32_t> unsignedField(DialogServices& dialogs, const DialogValues& values, int id,
                                      const std::string& label, long long kept);
std::optional<int32_t> signedField(DialogServices& dialogs, const DialogValues& values, int id,
                                   const std::string& label, long long kept);

} // namespace corvid
