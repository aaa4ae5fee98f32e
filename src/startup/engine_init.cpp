#include "startup/engine_init.h"

#include "chess/bitboard.h"
#include "chess/zobrist.h"
#include "eval/bitbase.h"
#include "eval/eval_tables.h"
#include "eval/pawn_cache.h"
#include "startup/search_personality.h"

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

void initEngine(int /*hashSizeCode*/) {
    // The nine bitbases; a missing file leaves its table empty and the engine without it.
    loadBitbases();
    initEngineTables();
    clearPawnCache();
    activePersonality = SearchPersonality{};
}

} // namespace corvid
