// Zobrist hash keys, drawn from a fixed-seed generator so that keys (and the opening-book
// files that store them) are the same on every run and every machine.
#pragma once

#include <cstdint>

namespace corvid {

// Small fast 64-bit generator with rotations 7, 13 and 37.
struct KeyRandom {
    uint64_t a = 0xF1EA5EED, b = 0xD4E12C77, c = 0xD4E12C77, d = 0xD4E12C77;

    static constexpr uint64_t Rotl(uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
    uint64_t Next() {
        uint64_t e = a - Rotl(b, 7);
        a = b ^ Rotl(c, 13);
        b = c + Rotl(d, 37);
        c = d + e;
        d = e + a;
        return d;
    }
    void Skip(int steps) {
        for (int i = 0; i < steps; ++i) Next();
    }
};

extern uint64_t ZobristPiece[64][16];
extern uint64_t ZobristEp[64];
extern uint64_t ZobristCastle[64];
extern uint64_t ZobristSide;

// Draws every key in the fixed order; called once at engine start.
void InitHashKeys();

} // namespace corvid
