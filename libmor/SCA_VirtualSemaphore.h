// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libmor/SCA_SyncObject.h"

// Wait takes one count; Release adds one and fails (0) when the count is at its maximum.
class SCA_VirtualSemaphore : public SCA_SyncObject {
public:
    // The current and the maximum count. 1 on success.
    virtual int GetCount(uint32_t* count, uint32_t* maximum) = 0;
};
