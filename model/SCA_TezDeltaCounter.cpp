// SPDX-License-Identifier: MIT
#include "model/SCA_TezDeltaCounter.h"

#include "libmor/SCA_String.h"

void SCA_TezDeltaCounter::SetInstance(const char* instance) {
    SCA_StrnCpy(m_Instance, instance, sizeof(m_Instance));
}

void SCA_TezDeltaCounter::SetValueDeltaString(const char* text) {
    SCA_StrnCpy(m_ValueDeltaString, text, sizeof(m_ValueDeltaString));
}

void SCA_TezDeltaCounter::SetRelDeltaString(const char* text) {
    SCA_StrnCpy(m_RelDeltaString, text, sizeof(m_RelDeltaString));
}
