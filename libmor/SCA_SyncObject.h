// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libmor/SCA_Object.h"

// What every waitable object offers: slot 2 waits, slot 3 releases.
class SCA_SyncObject : public SCA_Object {
public:
    // SCA_WAIT_OK when obtained, SCA_WAIT_TIMEOUT when timeoutMs passed first, 0 on failure.
    virtual int Wait(uint32_t timeoutMs) = 0;
    // Signals an event, unlocks a mutex, adds one to a semaphore. 1 on success.
    virtual int Release() = 0;
};
