#include "startup/start_up_settings.h"

namespace corvid {

int validHashSizeCode(int code) {
    return code >= MinHashSizeCode && code <= MaxHashSizeCode ? code : StandardHashSizeCode;
}

// Until the settings store lands the defaults stand.
int loadStartUpSettings() { return validHashSizeCode(StandardHashSizeCode); }

} // namespace corvid
