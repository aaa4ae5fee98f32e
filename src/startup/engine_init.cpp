#include "startup/engine_init.h"

#include "book/book_file.h"
#include "chess/bitboard.h"
#include "chess/zobrist.h"
#include "eval/bitbase.h"
#include "eval/eval_tables.h"
#include "eval/pawn_cache.h"
#include "search/transposition_table.h"
#include "startup/game.h"
#include "startup/search_controller.h"
#include "startup/search_personality.h"
#include "startup/settings.h"

#include <mutex>

namespace corvid {

void initEngineTables() {
    static std::once_flag once;
    std::call_once(once, [] {
        InitAttackTables();
        initEvalTables();
        InitHashKeys();
    });
}

void initEngine(int hashSizeCode) {
    // The nine bitbases; a missing file leaves its table empty and the engine without it.
    loadBitbases();
    initEngineTables();
    ttResize(hashSizeCode);
    clearPawnCache();
    InitOpeningBook(bookPath(ActiveSettings));
    activePersonality = SearchPersonality{};
    installMoveRecordedHook();
    startSearchThread();
}

} // namespace corvid
