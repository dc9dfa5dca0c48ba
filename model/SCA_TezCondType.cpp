// SPDX-License-Identifier: MIT
#include "model/SCA_TezCondType.h"

#include <cstdio>

#include "libmor/SCA_String.h"

const char* SCA_TezGetCondTypeDescr(uint32_t condType) {
    static constexpr const char* kDescr[SCA_COND_TYPES] = {
        "Value above",   "Value below",   "Value equal",   "Value not equal",
        "Average above", "Average below", "Average equal", "Average not equal",
        "Change above",  "Change below",  "Change equal",  "Change not equal",
    };
    return condType < SCA_COND_TYPES ? kDescr[condType] : "Unknown";
}

int SCA_TezGetCondModeDescr(uint32_t condMode, char* buf, uint32_t size) {
    if (buf == nullptr || size == 0) {
        return 0;
    }
    switch (condMode) {
    case SCA_COND_MODE_EVERY_TIME:
        SCA_StrnCpy(buf, "Every time", size);
        break;
    case SCA_COND_MODE_ONCE:
        SCA_StrnCpy(buf, "Once", size);
        break;
    default:
        std::snprintf(buf, size, "After %u samples in a row", condMode);
        break;
    }
    return 1;
}
