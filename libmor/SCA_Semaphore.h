// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libmor/SCA_Heap.h"
#include "libmor/SCA_VirtualSemaphore.h"

// The semaphore wrapper: owns a platform semaphore and forwards every slot to it unchanged.
// When the platform semaphore cannot be created it reports "Cannot create SCA_VirtualSemaphore"
// at level 5 and keeps its construction flag at 0.
class SCA_Semaphore : public SCA_VirtualSemaphore {
public:
    SCA_HEAP_OPERATORS

    SCA_Semaphore(uint32_t initialCount, uint32_t maximumCount);
    ~SCA_Semaphore() override;
    SCA_Semaphore(const SCA_Semaphore&) = delete;
    SCA_Semaphore& operator=(const SCA_Semaphore&) = delete;

    int Wait(uint32_t timeoutMs) override;
    int Release() override;
    int GetCount(uint32_t* count, uint32_t* maximum) override;

    SCA_VirtualSemaphore* GetVirtualSemaphore() const { return m_Semaphore; }

private:
    SCA_VirtualSemaphore* m_Semaphore;
};
