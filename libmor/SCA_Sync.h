// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libmor/SCA_Limits.h"

class SCA_VirtualEvent;
class SCA_VirtualMutex;
class SCA_VirtualSemaphore;

// Waits take milliseconds; SCA_INFINITE waits for ever.
inline constexpr uint32_t SCA_INFINITE = SCA_ALL_ONES;
// Results of a wait: the object was obtained (signalled, locked, one count taken), or the
// time-out passed first. 0 is a failure.
inline constexpr int SCA_WAIT_OK = 1;
inline constexpr int SCA_WAIT_TIMEOUT = 15;

// Platform objects, freed through Destroy; null when they cannot be allocated.
// A manual-reset event stays signalled until Reset; an automatic one lets one waiter through.
SCA_VirtualEvent* SCA_CreateEvent(int manualReset = 1, int initialState = 0);
// A re-entrant mutex: the thread that holds it may wait on it again and releases it as often.
SCA_VirtualMutex* SCA_CreateMutex();
// A counting semaphore; initial must not exceed maximum (null otherwise).
SCA_VirtualSemaphore* SCA_CreateSemaphore(uint32_t initialCount, uint32_t maximumCount);
