// A middlegame and an endgame value, interpolated by the game phase.
#pragma once

#include <cstdint>

namespace corvid {

struct ScorePair {
    int32_t mg = 0;
    int32_t eg = 0;

    constexpr ScorePair& operator+=(ScorePair o) {
        mg += o.mg;
        eg += o.eg;
        return *this;
    }
    constexpr ScorePair& operator-=(ScorePair o) {
        mg -= o.mg;
        eg -= o.eg;
        return *this;
    }
    friend constexpr ScorePair operator+(ScorePair a, ScorePair b) { return a += b; }
    friend constexpr ScorePair operator-(ScorePair a, ScorePair b) { return a -= b; }
    friend constexpr ScorePair operator-(ScorePair a) { return {-a.mg, -a.eg}; }
    friend constexpr bool operator==(ScorePair a, ScorePair b) = default;
};

} // namespace corvid
