// The engine control's calls into the tables it owns no part of: resizing and clearing the
// transposition table and the evaluation cache, the search thread's priority and the Chess960
// flag that the move notation reads. Called only while the search thread is idle.
#pragma once

namespace corvid {

// Reallocates the transposition table for the size; keeps the old table when that fails.
void resizeTableMegabytes(int megabytes);
// The transposition table's size in megabytes (0 before it exists).
int tableMegabytes();
// Zeroes the transposition table and the evaluation cache.
void clearTables();
// true: the search thread takes the command thread's priority; false: normal priority.
void setSearchThreadLowPriority(bool on);
void setChess960(bool on);
// Records the calling thread as the search thread (called once, by that thread).
void noteSearchThread();

} // namespace corvid
