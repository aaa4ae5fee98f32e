#include "startup/search_info.h"

namespace corvid {

SearchInfo searchInfo;

} // namespace corvid
