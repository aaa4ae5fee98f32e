#include "control/table_access.h"

#include "chess/move_notation.h"
#include "search/search_info.h"
#include "search/transposition_table.h"

#include <atomic>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace corvid {

namespace {
// Per process: the kernel id of the search thread, set when it starts.
std::atomic<long> searchThreadId{0};
} // namespace

void noteSearchThread() { searchThreadId.store(syscall(SYS_gettid)); }

void resizeTableMegabytes(int megabytes) { ttResizeMegabytes(megabytes); }
int tableMegabytes() { return int(transpositionTable.byteSize >> 20); }
void clearTables() { ttClear(); }

void setSearchThreadLowPriority(bool on) {
    long id = searchThreadId.load();
    if (id == 0) return;
    int callerNice = getpriority(PRIO_PROCESS, id_t(syscall(SYS_gettid)));
    // Raising a priority back may be refused without privileges; the search then keeps its own.
    setpriority(PRIO_PROCESS, id_t(id), on ? callerNice : 0);
}

void setChess960(bool on) {
    searchInfo.chess960.store(on);
    uciChess960.store(on);
}

} // namespace corvid
