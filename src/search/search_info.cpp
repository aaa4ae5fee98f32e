#include "search/search_info.h"

namespace corvid {

SearchInfo searchInfo;

} // namespace corvid
