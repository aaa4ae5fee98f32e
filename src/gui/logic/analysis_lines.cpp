#include "gui/logic/analysis_lines.h"

#include "control/search_controller.h"
#include "search/search_info.h"

#include <algorithm>

namespace corvid {

bool changeAnalysisLines(const WindowState& state, int delta) {
    const bool analysing = state.boardMode == AnalysisMode;
    if (!analysing && !searchController.idle()) return false;
    const int lines = searchInfo.analysisLines.load();
    const int changed = std::clamp(lines + delta, 1, analysispane::MaxLines);
    if (changed == lines) return false;
    searchInfo.analysisLines.store(changed);
    if (analysing) requestAnalysis();
    return true;
}

std::string analysisLineCountText() { return std::to_string(searchInfo.analysisLines.load()); }

} // namespace corvid
