// Both sides' attack pictures: what each piece type attacks, double attacks, mobility areas.
#pragma once

#include "chess/position.h"
#include "eval/eval_detail.h"

namespace corvid {

// Fills both sides' SideAttackInfo, then each side's mobility area and blocked pawns.
void buildAttackInfo(EvalDetail& detail, const Position& p);

} // namespace corvid
