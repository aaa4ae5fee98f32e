#include "startup/engine_init.h"

#include "book/book_file.h"
#include "chess/bitboard.h"
#include "chess/zobrist.h"
#include "control/game.h"
#include "control/search_controller.h"
#include "control/settings.h"
#include "eval/bitbase.h"
#include "eval/eval_tables.h"
#include "eval/pawn_cache.h"
#include "eval/search_personality.h"
#include "search/transposition_table.h"

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
