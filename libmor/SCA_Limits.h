// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

// The all-ones 32-bit value: the id of something not (yet) in a list, "every" in selections,
// and the value a counter wraps from to 0.
inline constexpr uint32_t SCA_ALL_ONES = 0xFFFFFFFFu;
