// Every margin, depth limit and reduction constant of the search in one place. Depths are in
// half plies (2 = one ply), scores in centipawns.
#pragma once

namespace corvid {

// ---- Stack and line sizes
// Nodes deeper than this many plies return the static evaluation.
constexpr int MaxPly = 256;
// Records a node at the ply limit or below touches reach MaxPly + 1 (the quiescence child of
// the last full node) and p + 2 (killers); the margin keeps every index well inside.
constexpr int StackSize = MaxPly + 12;
constexpr int MaxPv = 256;
constexpr int MaxRootLines = 6;
// Moves a node remembers for the history penalty, and losing captures it defers.
constexpr int MaxTriedMoves = 48;
constexpr int MaxDeferredCaptures = 32;
constexpr int MaxQuiescenceDeferred = 16;

// ---- Clock
constexpr int TimeCheckInterval = 5000; // nodes between clock readings
constexpr int DisplayRefreshMs = 125;
constexpr int SingleMoveStopMs = 100; // a forced root move is played after this long

// ---- Node
constexpr int StaticEvalLazyBelow = 750; // lazy window of the node's static evaluation
constexpr int StaticEvalLazyAbove = 400;
constexpr int DampingLimit = 9798; // scores beyond are not damped for repetitions

// Depth-one futility.
constexpr int FutilityMaxDepth = 2;
constexpr int FutilityMargin = 120;
constexpr int FutilityMarginFewPieces = 820;
constexpr int FutilityPieceThreshold = 4; // pieces on the board for the normal margin

// Razoring.
constexpr int RazorMaxDepth = 4;
constexpr int RazorMargin = 750;

// Reverse futility.
constexpr int ReverseFutilityMaxDepth = 10;
constexpr int ReverseFutilityBaseMargin = 100;
constexpr int ReverseFutilityFewPiecesMargin = 300; // two pieces or fewer on the board
constexpr int ReverseFutilityPerPlyImproving = 120;
constexpr int ReverseFutilityPerPly = 180;
constexpr int ReverseFutilityPerThreatClass = 100;
constexpr int ReverseFutilityLosingBeta = 500;
constexpr int ReverseFutilityLosingDivisor = 3;

// Null move.
constexpr int NullMoveMinDepth = 4;
constexpr int NullMoveEvalDepth = 14; // below it the static evaluation needs a margin
constexpr int NullMoveEvalPerDepth = 5;
constexpr int NullMoveBaseReduction = 6;
constexpr int NullMoveDeepDepth = 10;
constexpr int NullMoveQueenMaterial = 984;
constexpr int NullMoveLowMaterial = 550;
constexpr int NullMoveLosingDrop = 200;
constexpr int NullMoveSafeMargin = 300;
constexpr int NullMoveVerifyDepth = 10;     // verification above this depth ...
constexpr int NullMoveVerifyDepthRich = 12; // ... or this one with more material
constexpr int NullMoveVerifyMaterial = 1324;

// ProbCut.
constexpr int ProbCutMinDepth = 8; // strictly deeper
constexpr int ProbCutMargin = 220;
constexpr int ProbCutPreviousEvalBase = 280;
constexpr int ProbCutMoves = 4;
constexpr int ProbCutDepthReduction = 8;

// Internal iterative deepening.
constexpr int IidMinDepth = 6;
constexpr int IidReduction = 4;

// Singular extension.
constexpr int SingularMinDepth = 8;
constexpr int SingularSearchMinDepth = 10;
constexpr int SingularTableDepthSlack = 2;
constexpr int SingularMargin = 10;

// Extensions.
constexpr int CheckExtension = 2;
constexpr int SingularExtension = 2;
constexpr int PawnTo7thExtension = 2;
constexpr int PawnTo7thMaxDepth = 8;
constexpr int RecaptureExtension = 4;
constexpr int MateThreatExtension = 1;
constexpr int CaptureCheckMaxDepth = 4;

// Late move pruning.
constexpr int LateMovePruningMaxDepth = 14;
constexpr int LateMovePruningIterationSlack = 4;
constexpr int BadCapturePruneBase = 100;
constexpr int BadCapturePrunePerPly = 180;
constexpr int LosingQuietPrunePerDepth = 50;
constexpr int LosingQuietPruneMaxDepth = 8;

// Late move reductions.
constexpr int LmrMinNewDepth = 4; // strictly deeper
constexpr int LmrPvNodeBonus = 2;
constexpr int LmrThreatBonus = 2;
constexpr int LmrThreatCap = 4;
constexpr int LmrPawnEndingCap = 2;
constexpr int LmrPawnEndingDepth = 28;
constexpr int UnderPromotionReduction = 6;

// Searching a shallow child with the full search instead of quiescence.
constexpr int SearchAnywayMargin = 50;

// Alternative-move search after a failed first move.
constexpr int AlternativeMoveMinDepth = 8;

// ---- Quiescence
constexpr int QuiescenceDeltaMargin = 210;
constexpr int QuiescenceDeltaMarginFewPieces = 820;
constexpr int QuiescenceRecaptureOnlyDepth = 20;
constexpr int QuiescenceSafeExchange = -21;

// ---- Root
constexpr int AspirationNarrow = 28;
constexpr int AspirationMedium = 88;
constexpr int AspirationNarrowWide = 40; // the same two steps when the score is beyond 300
constexpr int AspirationMediumWide = 124;
constexpr int AspirationWideScore = 300;
constexpr int AspirationFull = 9801;
constexpr int AspirationInfinite = 10001;
constexpr int AspirationFirstNarrowDepth = 10; // iterations below use the full window
constexpr int AspirationSkipOneScore = 400;
constexpr int AspirationSkipTwoScore = 900;
constexpr int RootFailHard = 62; // first move this far below the last score: search alternatives
constexpr int RootFailSoft = 40;
constexpr int StopRulesMinDepth = 8;
constexpr double FirstMoveTimeFactor = 1.4;
constexpr double RecaptureStopShare = 0.4;
constexpr int InstabilityCap = 6;

} // namespace corvid
