// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

// The name of a monitor's kind by its monitor mode ("CPU Monitor" for 3, ...), as the titles of
// its reports say it; "System Monitor" for a mode of no kind (a monitor made empty). A static
// text.
const char* SCA_TezGetModeDescr(uint32_t monitorMode);

// The 16-pixel icon of a monitor mode (":/images/cpu_16px.png", ...); the system monitor's for
// a mode without one of its own. A static text.
const char* SCA_TezGetModeSmallIcon(uint32_t mode);
