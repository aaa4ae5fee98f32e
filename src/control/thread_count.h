// The number of threads that search each request (UCI "Threads", WinBoard "cores", the desktop's
// menu). A change while a search runs takes effect at the next search.
#pragma once

namespace corvid {

// Stores the count, kept within 1..MaxSearchThreads.
void setSearchThreads(long long count);
int searchThreads();

// The desktop keeps its count in its settings under this key.
constexpr const char* SearchThreadsKey = "SearchThreads";
// Takes the count the desktop saved, when its settings hold one.
void loadDesktopSearchThreads();

} // namespace corvid
