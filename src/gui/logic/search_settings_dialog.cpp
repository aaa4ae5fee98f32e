#include "gui/logic/search_settings_dialog.h"

#include "control/preferences.h"
#include "search/search_constants.h"
#include "search/search_info.h"

#include <algorithm>

namespace corvid {

DialogValues openSearchSettings() {
    DialogValues values;
    values.texts[searchset::MaximumPly] = std::to_string(searchInfo.maxDepth.load());
    values.texts[searchset::MaxSeconds] =
        std::to_string(int64_t(searchInfo.fixedMoveSeconds.load()));
    values.texts[searchset::MaxKiloNodes] = std::to_string(searchInfo.maxNodes.load() / 1000);
    values.checks[searchset::WaitAtLimit] = preferences.waitAtLimit != 0;
    return values;
}

void closeSearchSettings(const DialogValues& values, bool ok, DialogServices& dialogs,
                         WindowState& state) {
    if (ok) {
        std::optional<int32_t> depth = signedField(dialogs, values, searchset::MaximumPly,
                                                   "Maximum Ply:", searchInfo.maxDepth.load());
        std::optional<int32_t> seconds =
            signedField(dialogs, values, searchset::MaxSeconds,
                        "Max Seconds/move:", int64_t(searchInfo.fixedMoveSeconds.load()));
        if (seconds && *seconds < 0) {
            dialogs.messageBox("Out of Range", "Seconds set to 0");
            seconds = 0;
        }
        if (seconds) searchInfo.fixedMoveSeconds.store(*seconds);
        if (depth && *depth < 1) {
            dialogs.messageBox("Out of Range", "Max ply set to 1");
            depth = 1;
        }
        // Deeper than the search can go is the same as no depth limit.
        if (depth) searchInfo.maxDepth.store(std::min<int32_t>(*depth, MaxPly));
        std::optional<uint32_t> kiloNodes =
            unsignedField(dialogs, values, searchset::MaxKiloNodes,
                          "Max KiloNodes/move:", searchInfo.maxNodes.load() / 1000);
        if (kiloNodes) searchInfo.maxNodes.store(int64_t(*kiloNodes) * 1000);
        preferences.waitAtLimit = values.checked(searchset::WaitAtLimit) ? 1 : 0;
    }
    state.userDefinedLevel = true;
}

} // namespace corvid
