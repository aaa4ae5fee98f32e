#include "consistency.h"

#include <algorithm>

namespace corvid::bitbase_gen {

namespace {

int rank(Value v) { return v == Loss ? 0 : v == Draw ? 1 : 2; }

} // namespace

ConsistencyReport CheckConsistency(const Table& table, Registry& registry) {
    (void)registry;
    ConsistencyReport report;
    Table::Successor succ[256];
    for (int64_t idx = 0; idx < table.size(); ++idx) {
        Value v = table.value(idx);
        if (v == Illegal) continue;
        Board board;
        table.decode(idx, board);
        ++report.states;
        (v == Win ? report.wins : v == Draw ? report.draws : report.losses)++;
        int depth = table.depth(idx);
        int n = table.successors(board, succ);
        Value best = Loss;
        bool nearerWin = false; // a win: some move reaches a loss nearer conversion
        bool allNearer = true;  // a loss: every move reaches a win nearer conversion
        for (int k = 0; k < n; ++k) {
            const Table::Successor& s = succ[k];
            Value mv;
            int nextDepth = 0; // conversions count as distance 0 for what follows them
            if (s.state < 0) {
                mv = s.moverValue;
            } else {
                mv = Negate(table.value(s.state));
                nextDepth = table.depth(s.state);
                // An en passant reply caps what the double step is worth, and when it loses
                // as surely as the quiet reply it is also the quicker one.
                bool epAsBad = s.epMoverValue == Loss && mv == Loss;
                if (s.epSensitive && (rank(s.epMoverValue) < rank(mv) || epAsBad)) {
                    mv = s.epMoverValue;
                    nextDepth = 0;
                }
            }
            if (rank(mv) > rank(best)) best = mv;
            if (mv == Win && nextDepth < depth) nearerWin = true;
            if (mv != Loss || nextDepth >= depth) allNearer = false;
        }
        bool ok;
        if (n == 0)
            ok = InCheck(board, board.sideToMove) ? v == Loss && depth == 0 : v == Draw;
        else if (v != best)
            ok = false;
        else if (v == Win)
            ok = nearerWin;
        else if (v == Loss)
            ok = allNearer;
        else
            ok = true;
        if (!ok && report.failures++ == 0)
            report.firstFailure = table.material().name() + " state " + std::to_string(idx);
    }
    return report;
}

} // namespace corvid::bitbase_gen
