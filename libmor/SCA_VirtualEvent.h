// SPDX-License-Identifier: MIT
#pragma once

#include "libmor/SCA_SyncObject.h"

class SCA_VirtualEvent : public SCA_SyncObject {
public:
    // Back to the non-signalled state. 1 on success.
    virtual int Reset() = 0;
    // 1 while signalled, without waiting or consuming the signal.
    virtual int IsSignaled() = 0;
};
