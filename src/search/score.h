// The score scale every search routine shares: centipawns from the side to move's view, with
// mate scores counted from the root.
#pragma once

namespace corvid {

// Mate at ply p scores MateValue - p for the mating side and p - MateValue for the mated one.
constexpr int MateValue = 10000;
// Beyond this magnitude a score is a mate score.
constexpr int MateThreshold = 9800;
// No score, and no static evaluation.
constexpr int NoScore = -30000;
// The search was stopped; passed up unchanged and never stored.
constexpr int AbortScore = 100000;

constexpr bool IsMateScore(int score) { return score > MateThreshold || score < -MateThreshold; }

} // namespace corvid
