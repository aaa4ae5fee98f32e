#include "gui/logic/time_dialog.h"

#include "control/preferences.h"
#include "search/search_info.h"

#include <atomic>
#include <string>

namespace corvid {

namespace {

// Stores a field into the time control; a value too large for the clocks is cut and the person
// told, a field without a number leaves the value as it was.
void storeTime(DialogServices& dialogs, const DialogValues& values, int id, const char* label,
               std::atomic<double>& target) {
    std::optional<uint32_t> value = unsignedField(dialogs, values, id, label, int64_t(target));
    if (!value) return;
    if (*value > timeset::MaxValue) {
        value = timeset::MaxValue;
        dialogs.messageBox("Out of Range",
                           std::string(label) + " set to " + std::to_string(timeset::MaxValue));
    }
    target.store(double(*value));
}

} // namespace

DialogValues openTimeDialog() {
    DialogValues values;
    values.texts[timeset::TotalMinutes] = std::to_string(int64_t(searchInfo.baseMinutes.load()));
    values.texts[timeset::SecondsPerMove] =
        std::to_string(int64_t(searchInfo.incrementSeconds.load()));
    return values;
}

void closeTimeDialog(const DialogValues& values, bool ok, DialogServices& dialogs) {
    if (ok) {
        storeTime(dialogs, values, timeset::TotalMinutes, "Total Minutes", searchInfo.baseMinutes);
        storeTime(dialogs, values, timeset::SecondsPerMove, "Seconds/move",
                  searchInfo.incrementSeconds);
    }
    preferences.baseMinutes = int(searchInfo.baseMinutes.load());
    preferences.incrementSeconds = int(searchInfo.incrementSeconds.load());
}

} // namespace corvid
