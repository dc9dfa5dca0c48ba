// SPDX-License-Identifier: MIT
#include "libmor/SCA_Semaphore.h"

#include "libmor/SCA_Report.h"
#include "libmor/SCA_Sync.h"

SCA_Semaphore::SCA_Semaphore(uint32_t initialCount, uint32_t maximumCount)
    : m_Semaphore(SCA_CreateSemaphore(initialCount, maximumCount)) {
    if (m_Semaphore == nullptr) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                                  "Cannot create SCA_VirtualSemaphore");
        return;
    }
    SetConstructed();
}

SCA_Semaphore::~SCA_Semaphore() {
    SCA_Object::Destroy(m_Semaphore);
}

int SCA_Semaphore::Wait(uint32_t timeoutMs) {
    return m_Semaphore != nullptr ? m_Semaphore->Wait(timeoutMs) : 0;
}

int SCA_Semaphore::Release() {
    return m_Semaphore != nullptr ? m_Semaphore->Release() : 0;
}

int SCA_Semaphore::GetCount(uint32_t* count, uint32_t* maximum) {
    return m_Semaphore != nullptr ? m_Semaphore->GetCount(count, maximum) : 0;
}
