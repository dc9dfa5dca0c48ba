// SPDX-License-Identifier: MIT
#include "model/SCA_Sound.h"

#include "libmor/SCA_String.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezRecordFields.h"

void SCA_Sound::SetSoundName(const char* name) {
    SCA_StrnCpy(m_SoundName, name, sizeof(m_SoundName));
}

void SCA_Sound::SetFileName(const char* name) {
    SCA_StrnCpy(m_FileName, name, sizeof(m_FileName));
}

int SCA_Sound::Serialize(SCA_ConfigObj* object) const {
    return object != nullptr && object->AddField("SoundId", m_SoundId) &&
           SCA_AddTextField(object, "SoundName", m_SoundName) &&
           SCA_AddTextField(object, "FileName", m_FileName) &&
           object->AddField("LastPlayTime", m_LastPlayTime);
}

int SCA_Sound::Deserialize(SCA_ConfigObj* object) {
    if (object == nullptr || !object->GetField("SoundId", &m_SoundId)) {
        return 0;
    }
    object->GetField("SoundName", m_SoundName, sizeof(m_SoundName));
    object->GetField("FileName", m_FileName, sizeof(m_FileName));
    object->GetField("LastPlayTime", &m_LastPlayTime);
    return 1;
}
