#include "startup/start_up_settings.h"

#include "control/preferences.h"
#include "control/settings.h"
#include "control/thread_count.h"
#include "protocol/winboard.h"
#include "search/search_info.h"

#include <cstdio>

namespace corvid {

int loadStartUpSettings(bool protocolMode) {
    loadPreferences(preferences, "Corvid.dft");
    loadSettingsFile(WinBoardSettings, "engineWB.dft");
    loadSettingsFile(GuiSettings, "engineGUI.dft");
    std::snprintf(winboardState.opponentName, sizeof winboardState.opponentName, "%s",
                  preferences.playerName);
    searchInfo.baseMinutes.store(preferences.baseMinutes);
    searchInfo.incrementSeconds.store(preferences.incrementSeconds);
    searchInfo.ponderEnabled.store(preferences.ponderEnabled != 0);
    searchInfo.showSearchInfo.store(preferences.showSearchInfo != 0);
    searchInfo.evalsFromWhitePov.store(preferences.evalsFromWhitePov != 0);
    copySettings(protocolMode ? WinBoardSettings : GuiSettings, ActiveSettings);
    // The protocols set their count by option; the desktop keeps the one chosen last.
    if (!protocolMode) loadDesktopSearchThreads();
    // The loader already replaced a code outside the table sizes by the default.
    return preferences.hashSizeCode;
}

} // namespace corvid
