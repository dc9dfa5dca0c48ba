// SPDX-License-Identifier: MIT
#include "libmor/SCA_Event.h"

#include "libmor/SCA_Sync.h"

SCA_Event::SCA_Event(int manualReset, int initialState)
    : m_Event(SCA_CreateEvent(manualReset, initialState)) {
    if (m_Event != nullptr) {
        SetConstructed();
    }
}

SCA_Event::~SCA_Event() {
    SCA_Object::Destroy(m_Event);
}

int SCA_Event::Wait(uint32_t timeoutMs) {
    return m_Event != nullptr ? m_Event->Wait(timeoutMs) : 0;
}

int SCA_Event::Release() {
    return m_Event != nullptr ? m_Event->Release() : 0;
}

int SCA_Event::Reset() {
    return m_Event != nullptr ? m_Event->Reset() : 0;
}

int SCA_Event::IsSignaled() {
    return m_Event != nullptr ? m_Event->IsSignaled() : 0;
}
