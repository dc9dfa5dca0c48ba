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
    if (object == nullptr) {
        return 0;
    }
    uint32_t position = 0;
    for (Item* node = GetHead(); node != nullptr; node = node->GetNext()) {
        const SCA_SoundAction* action = node->GetItem();
        if (action->GetActionTime() <= since) {
            continue;
        }
        SCA_ConfigObj* child = SCA_AddNumberedObj(object, position++);
        if (child == nullptr || !action->Serialize(child)) {
            return 0;
        }
    }
    return 1;
}

int SCA_SoundActions::Deserialize(SCA_ConfigObj* object) {
    m_LastActionTime = 0;
    return DeserializeRecords(object,
                              [this](SCA_SoundAction* action) { return AddAction(action); });
}
