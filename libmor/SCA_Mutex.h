// SPDX-License-Identifier: MIT
#pragma once

#include "libmor/SCA_Heap.h"
#include "libmor/SCA_VirtualMutex.h"

// The mutex wrapper: owns a platform mutex and forwards every slot to it unchanged.
// When the platform mutex cannot be created it reports "Cannot create SCA_VirtualMutex" at
// level 5 and keeps its construction flag at 0.
class SCA_Mutex : public SCA_VirtualMutex {
public:
    SCA_HEAP_OPERATORS

    SCA_Mutex();
    ~SCA_Mutex() override;
    SCA_Mutex(const SCA_Mutex&) = delete;
    SCA_Mutex& operator=(const SCA_Mutex&) = delete;

    int Wait(uint32_t timeoutMs) override;
    int Release() override;

    SCA_VirtualMutex* GetVirtualMutex() const { return m_Mutex; }

private:
    SCA_VirtualMutex* m_Mutex;
};
