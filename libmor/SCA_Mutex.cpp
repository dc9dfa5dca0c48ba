// SPDX-License-Identifier: MIT
#include "libmor/SCA_Mutex.h"

#include "libmor/SCA_Report.h"
#include "libmor/SCA_Sync.h"

SCA_Mutex::SCA_Mutex() : m_Mutex(SCA_CreateMutex()) {
    if (m_Mutex == nullptr) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                                  "Cannot create SCA_VirtualMutex");
        return;
    }
    SetConstructed();
}

SCA_Mutex::~SCA_Mutex() {
    SCA_Object::Destroy(m_Mutex);
}

int SCA_Mutex::Wait(uint32_t timeoutMs) {
    return m_Mutex != nullptr ? m_Mutex->Wait(timeoutMs) : 0;
}

int SCA_Mutex::Release() {
    return m_Mutex != nullptr ? m_Mutex->Release() : 0;
}
