// SPDX-License-Identifier: MIT
#include "model/SCA_TezProcessInst.h"

#include "libmor/SCA_String.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezRecordFields.h"

void SCA_TezProcessInst::SetInstance(const char* instance) {
    SCA_StrnCpy(m_Instance, instance, sizeof(m_Instance));
}

int SCA_TezProcessInst::Serialize(SCA_ConfigObj* object) const {
    return object != nullptr && object->AddField("InstanceId", m_InstanceId) &&
           SCA_AddTextField(object, "Instance", m_Instance) &&
           object->AddField("LastUpdateTime", m_LastUpdateTime);
}

int SCA_TezProcessInst::Deserialize(SCA_ConfigObj* object) {
    if (object == nullptr || !object->GetField("InstanceId", &m_InstanceId)) {
        return 0;
    }
    object->GetField("Instance", m_Instance, sizeof(m_Instance));
    object->GetField("LastUpdateTime", &m_LastUpdateTime);
    return 1;
}
