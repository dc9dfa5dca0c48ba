#pragma once

#include "libmor/SCA_SyncObject.h"

class SCA_VirtualEvent : public SCA_SyncObject {
public:
    // Slot 4: back to the non-signalled state. 1 on success.
    virtual int Reset() = 0;
    // Slot 5: 1 while signalled, without waiting or consuming the signal.
    virtual int IsSignaled() = 0;
};
