#include "chess/piece_square_table.h"

namespace corvid {

ScorePair pieceSquareTable[16][64];

} // namespace corvid
