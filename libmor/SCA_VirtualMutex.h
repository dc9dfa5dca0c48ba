// SPDX-License-Identifier: MIT
#pragma once

#include "libmor/SCA_SyncObject.h"

// Wait locks (re-entrant), Release unlocks; Release by a thread that does not hold it gives 0.
class SCA_VirtualMutex : public SCA_SyncObject {};
