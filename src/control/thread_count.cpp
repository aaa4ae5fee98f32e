#include "control/thread_count.h"

#include "control/settings.h"
#include "search/search_info.h"
#include "search/search_threads.h"

#include <algorithm>
#include <cstdlib>
#include <string>

namespace corvid {

void setSearchThreads(long long count) {
    searchInfo.searchThreads.store(int32_t(std::clamp<long long>(count, 1, MaxSearchThreads)));
}

int searchThreads() { return searchInfo.searchThreads.load(); }

void loadDesktopSearchThreads() {
    std::string text = GuiSettings.get(SearchThreadsKey);
    if (!text.empty()) setSearchThreads(std::atoll(text.c_str()));
}

} // namespace corvid
