// The shared engine initialisation every run mode performs once.
#pragma once

namespace corvid {

// The read-only tables: attack tables, evaluation tables and hash keys, in that order.
// Idempotent, so tests and tools can call it freely.
void initEngineTables();

// Everything the engine needs before the first command: bitbases, tables, the transposition
// table and pawn cache, the book, the search personality, the events and the search thread.
// Called exactly once per process.
void initEngine(int hashSizeCode);

} // namespace corvid
