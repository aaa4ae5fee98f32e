// King shelter, king attack and king activity.
#pragma once

#include "chess/position.h"
#include "eval/eval_detail.h"
#include "eval/pawn_cache.h"

namespace corvid {

// The pawn shelter of the side's king, cached in the entry's king-shelter slot.
int32_t kingShelter(int side, const Position& p, PawnCacheEntry& entry);

// The quantities one king-safety value is made of (the desktop's king details).
struct KingSafetyBreakdown {
    int attackerMaterial = 0;
    bool activityOnly = false; // too few attackers: the king's activity alone counts
    int shelter = 0;
    int attackers = 0; // attack count, in quarters of a piece
    int weight = 0;
    int zoneHits = 0; // king-zone squares hit, in halves
    int checks = 0;
    int defence = 0;
    int flight = 0; // flight squares
    int mult = 0;
    int attackSum = 0; // checks + zone hits + weight
    int attack = 0;    // the attack as scored, 0..240
    int value = 0;     // shelter, flight, attack and castling room, before the blend
    int activity = 0;
    int result = 0;
};

// The safety of the side's king against the other side's attack (one number, both halves).
// Needs both sides' attack information, mobility sums included. breakdown (optional)
// receives its parts.
int32_t kingSafety(int side, const Position& p, PawnCacheEntry& entry, const EvalDetail& detail,
                   KingSafetyBreakdown* breakdown = nullptr);

// The king's freedom and closeness to the pawns, for positions with few attackers.
int32_t kingActivity(int side, const Position& p, const EvalDetail& detail);

} // namespace corvid
