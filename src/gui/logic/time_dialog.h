// "TimeSet" ("Game Time"): the desktop's time control, total minutes and seconds added per move.
#pragma once

#include "gui/logic/dialog_fields.h"

namespace corvid {

namespace timeset {
constexpr int TotalMinutes = 100, SecondsPerMove = 101;
// Larger values would overflow the clock arithmetic (minutes are counted in centiseconds).
constexpr uint32_t MaxValue = 99999;
} // namespace timeset

// The fields show the time control, each truncated to whole units.
DialogValues openTimeDialog();
// OK stores both fields (a field without a number keeps its value, and says so). OK and Cancel
// both then keep the truncated time control as the preferences written at exit.
void closeTimeDialog(const DialogValues& values, bool ok, DialogServices& dialogs);

} // namespace corvid
