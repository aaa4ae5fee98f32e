#include "search/search_display.h"

#include "search/search_context.h"
#include "startup/search_info.h"

namespace corvid {

SearchDisplay searchDisplay;

void refreshSearchDisplay(const SearchContext& context) {
    if (inProtocolMode() || !searchDisplay.refresh) return;
    searchDisplay.refresh(context);
}

void showSearchLines(const SearchContext& context, int kind) {
    if (inProtocolMode() || !searchDisplay.showLines) return;
    searchDisplay.showLines(context, kind);
}

} // namespace corvid
