// SPDX-License-Identifier: MIT
#include "model/SCA_SoundAction.h"

#include "libmor/SCA_String.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezRecordFields.h"

void SCA_SoundAction::SetSoundName(const char* name) {
    SCA_StrnCpy(m_SoundName, name, sizeof(m_SoundName));
}

int SCA_SoundAction::Serialize(SCA_ConfigObj* object) const {
    return object != nullptr && object->AddField("ActionId", m_ActionId) &&
           object->AddField("ActionTime", m_ActionTime) &&
           SCA_AddTextField(object, "SoundName", m_SoundName);
}

int SCA_SoundAction::Deserialize(SCA_ConfigObj* object) {
    if (object == nullptr || !object->GetField("ActionId", &m_ActionId) ||
        !object->GetField("ActionTime", &m_ActionTime)) {
        return 0;
    }
    object->GetField("SoundName", m_SoundName, sizeof(m_SoundName));
    return 1;
}
