// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libmor/SCA_Heap.h"
#include "libmor/SCA_Object.h"

class SCA_ConfigObj;

// A notification sound of the user configuration: its id, the name actions use, the sound file
// and when it was last played (whole seconds). Plain members and fixed texts: copies are member
// by member. Text setters cut what does not fit on a UTF-8 character boundary.
class SCA_Sound : public SCA_Object {
public:
    SCA_HEAP_OPERATORS

    SCA_Sound() { SetConstructed(); }
    SCA_Sound(const SCA_Sound&) = default;
    SCA_Sound& operator=(const SCA_Sound&) = default;
    ~SCA_Sound() override = default;

    uint32_t GetSoundId() const { return m_SoundId; }
    void SetSoundId(uint32_t id) { m_SoundId = id; }
    const char* GetSoundName() const { return m_SoundName; }
    void SetSoundName(const char* name);
    const char* GetFileName() const { return m_FileName; }
    void SetFileName(const char* name);
    uint64_t GetLastPlayTime() const { return m_LastPlayTime; }
    void SetLastPlayTime(uint64_t time) { m_LastPlayTime = time; }

    // Fields "SoundId", "SoundName", "FileName", "LastPlayTime".
    int Serialize(SCA_ConfigObj* object) const;
    // 0 for a null object or one without "SoundId"; other fields missing keep their values.
    int Deserialize(SCA_ConfigObj* object);

private:
    uint32_t m_SoundId = 0;
    char m_SoundName[256] = "";
    char m_FileName[4096] = "";
    uint64_t m_LastPlayTime = 0;
};
