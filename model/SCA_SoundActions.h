// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libmor/SCA_Heap.h"
#include "model/SCA_OwnerList.h"
#include "model/SCA_SoundAction.h"

class SCA_ConfigObj;

// A batch of sound actions in the order they were played, each under its action id, with the
// time of the newest. The service records its actions in one; a client fetches those newer
// than the last time it saw. The list owns its actions. One thread at a time: the action
// controller guards the service's batch.
class SCA_SoundActions : public SCA_OwnerList<SCA_SoundAction> {
public:
    SCA_HEAP_OPERATORS

    SCA_SoundActions() = default;
    ~SCA_SoundActions() override = default;

    // The newest action time added (0 for a batch that never held one).
    uint64_t GetLastActionTime() const { return m_LastActionTime; }

    // Appends action (owned from then on) under its action id. 0 when it cannot be linked in;
    // the caller then still owns it.
    int AddAction(SCA_SoundAction* action);

    // One child object per action whose time is after since, in order.
    int Serialize(uint64_t since, SCA_ConfigObj* object) const;
    // Replaces the actions with those of every child object, the last action time with theirs.
    // On failure the batch holds the actions read so far.
    int Deserialize(SCA_ConfigObj* object);

private:
    uint64_t m_LastActionTime = 0;
};
