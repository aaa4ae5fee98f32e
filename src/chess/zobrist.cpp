#include "chess/zobrist.h"

namespace corvid {

uint64_t ZobristPiece[64][16];
uint64_t ZobristEp[64];
uint64_t ZobristCastle[64];
uint64_t ZobristSide;

void InitHashKeys() {
    KeyRandom random;
    random.Skip(73); // the generator is stirred at program start
    for (int s = 0; s < 64; ++s) {
        for (int piece = 0; piece < 16; ++piece) ZobristPiece[s][piece] = random.Next();
        ZobristEp[s] = random.Next();
        ZobristCastle[s] = random.Next();
    }
    ZobristSide = random.Next();
}

} // namespace corvid
