// SPDX-License-Identifier: MIT
#include "model/SCA_TezError.h"

#include "libmor/SCA_String.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezRecordFields.h"
#include "model/SCA_TezRepStatus.h"

void SCA_TezError::SetComputerName(const char* name) {
    SCA_StrnCpy(m_ComputerName, name, sizeof(m_ComputerName));
}

void SCA_TezError::SetInstance(const char* instance) {
    SCA_StrnCpy(m_Instance, instance, sizeof(m_Instance));
}

void SCA_TezError::SetDescription(const char* description) {
    SCA_StrnCpy(m_Description, description, sizeof(m_Description));
}

const char* SCA_TezError::GetRepStatusDescr() const {
    return SCA_TezGetRepStatusDescr(m_RepStatus);
}

int SCA_TezError::Serialize(SCA_ConfigObj* object) const {
    return object != nullptr && object->AddField("ErrorId", m_ErrorId) &&
           object->AddField("AbsTime", m_AbsTime) && object->AddField("RepStatus", m_RepStatus) &&
           object->AddField("CounterId", m_CounterId) &&
           object->AddField("CounterType", m_CounterType) &&
           SCA_AddTextField(object, "ComputerName", m_ComputerName) &&
           SCA_AddTextField(object, "Instance", m_Instance) &&
           SCA_AddTextField(object, "Description", m_Description) &&
           object->AddField("CounterValue", m_CounterValue);
}

int SCA_TezError::Deserialize(SCA_ConfigObj* object) {
    if (object == nullptr || !object->GetField("ErrorId", &m_ErrorId)) {
        return 0;
    }
    object->GetField("AbsTime", &m_AbsTime);
    object->GetField("RepStatus", &m_RepStatus);
    object->GetField("CounterId", &m_CounterId);
    object->GetField("CounterType", &m_CounterType);
    object->GetField("ComputerName", m_ComputerName, sizeof(m_ComputerName));
    object->GetField("Instance", m_Instance, sizeof(m_Instance));
    object->GetField("Description", m_Description, sizeof(m_Description));
    object->GetField("CounterValue", &m_CounterValue);
    return 1;
}
