// SPDX-License-Identifier: MIT
#include "model/SCA_SoundList.h"

int SCA_SoundList::AddSound(SCA_Sound* sound) {
    if (sound == nullptr) {
        return 0;
    }
    const char* name = sound->GetSoundName()[0] != '\0' ? sound->GetSoundName() : nullptr;
    return AddItemToTail(sound, name, sound->GetSoundId());
}

int SCA_SoundList::IsSoundExists(const char* name) const {
    return name != nullptr && GetListItem(name) != nullptr ? 1 : 0;
}

int SCA_SoundList::Deserialize(SCA_ConfigObj* object) {
    return DeserializeRecords(object, [this](SCA_Sound* sound) { return AddSound(sound); });
}
