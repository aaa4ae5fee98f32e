// STAND-IN (see stand_ins.h).
#include "search/stand_ins.h"

namespace corvid {

// ---- Engine control
SearchInfo searchInfo;
void reportSearchLine(const SearchContext &, int) {}

} // namespace corvid
