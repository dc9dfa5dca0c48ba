// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libmor/SCA_Heap.h"
#include "libmor/SCA_Object.h"

class SCA_ConfigObj;

// One notification sound the service played: its id, when (absolute time) and which sound.
// Plain members and a fixed text: copies are member by member. The name is cut on a UTF-8
// character boundary when it does not fit.
class SCA_SoundAction : public SCA_Object {
public:
    SCA_HEAP_OPERATORS

    SCA_SoundAction() { SetConstructed(); }
    SCA_SoundAction(const SCA_SoundAction&) = default;
    SCA_SoundAction& operator=(const SCA_SoundAction&) = default;
    ~SCA_SoundAction() override = default;

    uint32_t GetActionId() const { return m_ActionId; }
    void SetActionId(uint32_t id) { m_ActionId = id; }
    uint64_t GetActionTime() const { return m_ActionTime; }
    void SetActionTime(uint64_t time) { m_ActionTime = time; }
    const char* GetSoundName() const { return m_SoundName; }
    void SetSoundName(const char* name);

    // Fields "ActionId", "ActionTime", "SoundName".
    int Serialize(SCA_ConfigObj* object) const;
    // 0 for a null object or one without "ActionId" or "ActionTime".
    int Deserialize(SCA_ConfigObj* object);

private:
    uint32_t m_ActionId = 0;
    uint64_t m_ActionTime = 0;
    char m_SoundName[256] = "";
};
