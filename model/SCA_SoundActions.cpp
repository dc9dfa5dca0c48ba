// SPDX-License-Identifier: MIT
#include "model/SCA_SoundActions.h"

int SCA_SoundActions::AddAction(SCA_SoundAction* action) {
    if (action == nullptr || !AddItemToTail(action, action->GetActionId())) {
        return 0;
    }
    if (action->GetActionTime() > m_LastActionTime) {
        m_LastActionTime = action->GetActionTime();
    }
    return 1;
}

int SCA_SoundActions::Serialize(uint64_t since, SCA_ConfigObj* object) const {
    return SerializeRecordsIf(
        object, [since](const Item* node) { return node->GetItem()->GetActionTime() > since; });
}

int SCA_SoundActions::Deserialize(SCA_ConfigObj* object) {
    m_LastActionTime = 0;
    return DeserializeRecords(object,
                              [this](SCA_SoundAction* action) { return AddAction(action); });
}
