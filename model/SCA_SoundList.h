// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libmor/SCA_Heap.h"
#include "model/SCA_OwnerList.h"
#include "model/SCA_Sound.h"

class SCA_ConfigObj;

// The user's notification sounds, each under its sound id and named by its sound name. The
// list owns its sounds.
class SCA_SoundList : public SCA_OwnerList<SCA_Sound> {
public:
    SCA_HEAP_OPERATORS

    SCA_SoundList() = default;
    ~SCA_SoundList() override = default;

    // Appends sound (owned from then on) under its id and name; a sound without a name is
    // added unnamed. 0 when it cannot be linked in, and the caller still owns it.
    int AddSound(SCA_Sound* sound);
    // Removes and destroys the sound with that list id.
    int DeleteSound(uint32_t id) { return DestroyItem(id); }

    int GetSound(uint32_t id, SCA_Sound** sound) const { return GetItem(id, sound); }
    // Exact, case-sensitive; unnamed sounds are never found.
    int GetSound(const char* name, SCA_Sound** sound) const { return GetItem(name, sound); }
    // 1 when a sound of the list is named exactly name; 0 for a null name.
    int IsSoundExists(const char* name) const;

    // One child object per sound, in order.
    int Serialize(SCA_ConfigObj* object) const { return SerializeRecords(object); }
    // Replaces the sounds with those of every child object. On failure the list holds the
    // sounds read so far.
    int Deserialize(SCA_ConfigObj* object);
};
