// SPDX-License-Identifier: MIT
#include "libkvn/SCA_KvnRule.h"

#include "libmor/SCA_String.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezRecordFields.h"
#include "model/SCA_TezRepStatus.h"

void SCA_KvnRule::SetActionValue(const char* value) {
    SCA_StrnCpy(m_ActionValue, value, sizeof(m_ActionValue));
}

const char* SCA_KvnRule::GetRepStatusDescr() const {
    return SCA_TezGetRepStatusDescr(m_RepStatus);
}

int SCA_KvnRule::IsIdentical(const SCA_KvnRule* other) const {
    return other != nullptr && m_CounterType == other->m_CounterType &&
                   m_CondMode == other->m_CondMode && m_CondType == other->m_CondType &&
                   m_CondValue == other->m_CondValue
               ? 1
               : 0;
}

int SCA_KvnRule::Serialize(SCA_ConfigObj* object) const {
    if (object == nullptr) {
        return 0;
    }
    const bool written =
        object->AddField("RuleId", m_RuleId) && object->AddField("CounterType", m_CounterType) &&
        object->AddField("CondType", m_CondType) && object->AddField("CondMode", m_CondMode) &&
        object->AddField("CondValue", m_CondValue) && object->AddField("RepStatus", m_RepStatus) &&
        object->AddField("ExecuteAction", m_ExecuteAction) &&
        object->AddField("ActionType", m_ActionType) &&
        SCA_AddTextField(object, "ActionValue", m_ActionValue);
    return written ? 1 : 0;
}

int SCA_KvnRule::Deserialize(SCA_ConfigObj* object) {
    if (object == nullptr) {
        return 0;
    }
    object->GetField("RuleId", &m_RuleId);
    object->GetField("CounterType", &m_CounterType);
    object->GetField("CondType", &m_CondType);
    object->GetField("CondMode", &m_CondMode);
    object->GetField("CondValue", &m_CondValue);
    object->GetField("RepStatus", &m_RepStatus);
    object->GetField("ExecuteAction", &m_ExecuteAction);
    object->GetField("ActionType", &m_ActionType);
    object->GetField("ActionValue", m_ActionValue, sizeof(m_ActionValue));
    return 1;
}

int SCA_KvnRule::SetContent(const SCA_KvnRule* source) {
    if (source == nullptr) {
        return 0;
    }
    return SCA_KvnCopyThrough(
        "RuleObj", [source](SCA_ConfigObj* temp) { return source->Serialize(temp); },
        [this](SCA_ConfigObj* temp) { return Deserialize(temp); });
}
