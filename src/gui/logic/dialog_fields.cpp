#include "gui/logic/dialog_fields.h"

#include <limits>

namespace corvid {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The digits of the text without the blanks around them, and its sign; false when anything
// else is in it.
bool digitsOf(const std::string& text, bool allowSign, bool& negative, std::string& digits) {
    size_t begin = 0, end = text.size();
    while (begin < end && isBlank(text[begin])) ++begin;
    while (end > begin && isBlank(text[end - 1])) --end;
    negative = false;
    if (allowSign && begin < end && (text[begin] == '-' || text[begin] == '+'))
        negative = text[begin++] == '-';
    if (begin == end) return false;
    for (size_t i = begin; i < end; ++i)
        if (text[i] < '0' || text[i] > '9') return false;
    digits = text.substr(begin, end - begin);
    return true;
}

// The value of a digit string, saturating at limit.
uint64_t saturatedValue(const std::string& digits, uint64_t limit) {
    uint64_t value = 0;
    for (char c : digits) {
        value = value * 10 + uint64_t(c - '0');
        if (value > limit) return limit;
    }
    return value;
}

} // namespace

std::string DialogValues::text(int id) const {
    auto it = texts.find(id);
    return it == texts.end() ? std::string() : it->second;
}

bool DialogValues::checked(int id) const {
    auto it = checks.find(id);
    return it != checks.end() && it->second;
}

std::optional<uint32_t> readUnsignedField(const std::string& text) {
    bool negative;
    std::string digits;
    if (!digitsOf(text, false, negative, digits)) return std::nullopt;
    return uint32_t(saturatedValue(digits, std::numeric_limits<uint32_t>::max()));
}

std::optional<int32_t> readSignedField(const std::string& text) {
    bool negative;
    std::string digits;
    if (!digitsOf(text, true, negative, digits)) return std::nullopt;
    const uint64_t limit = uint64_t(std::numeric_limits<int32_t>::max()) + (negative ? 1 : 0);
    const uint64_t magnitude = saturatedValue(digits, limit);
    return negative ? int32_t(-int64_t(magnitude)) : int32_t(magnitude);
}

void reportNotANumber(DialogServices& dialogs, const std::string& label, const std::string& text,
                      long long kept) {
    dialogs.messageBox("Not a Number", label + " \"" + text +
                                           "\" is not a whole number; it stays " +
                                           std::to_string(kept) + ".");
}

namespace {
template <typename Read>
auto fieldOrReport(DialogServices& dialogs, const DialogValues& values, int id,
                   const std::string& label, long long kept, Read read) {
    const std::string text = values.text(id);
    auto value = read(text);
    if (!value) reportNotANumber(dialogs, label, text, kept);
    return value;
}
} // namespace

std::optional<uint32_t> unsignedField(DialogServices& dialogs, const DialogValues& values, int id,
                                      const std::string& label, long long kept) {
    return fieldOrReport(dialogs, values, id, label, kept, readUnsignedField);
}

std::optional<int32_t> signedField(DialogServices& dialogs, const DialogValues& values, int id,
                                   const std::string& label, long long kept) {
    return fieldOrReport(dialogs, values, id, label, kept, readSignedField);
}

} // namespace corvid
