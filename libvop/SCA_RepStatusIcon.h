// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "model/SCA_TezRepStatus.h"

// The 16-pixel icon of a report status, as lists of errors and conditions show it: a warning
// (4), an error (5), anything else information.
inline const char* SCA_GetRepStatusIcon(uint32_t status) {
    switch (status) {
    case SCA_REP_STATUS_WARNING:
        return ":/images/warning_16px.png";
    case SCA_REP_STATUS_ERROR:
        return ":/images/error_16px.png";
    default:
        return ":/images/info_16px.png";
    }
}
