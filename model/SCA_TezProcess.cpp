// SPDX-License-Identifier: MIT
#include "model/SCA_TezProcess.h"

#include "libmor/SCA_Limits.h"
#include "libmor/SCA_String.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezProcessRule.h"
#include "model/SCA_TezRecordFields.h"
#include "model/SCA_TezRepStatus.h"

namespace {

constexpr uint32_t kNoCounterType = SCA_ALL_ONES;

// The counter type a process rule type measures, or none.
uint32_t RuleCounterType(uint32_t ruleType) {
    static constexpr uint32_t kTypes[] = {43, 46, 48, 47, 51, 53, 55, 114, 87};
    return ruleType < sizeof(kTypes) / sizeof(kTypes[0]) ? kTypes[ruleType] : kNoCounterType;
}

// Writes a list's records into a child object of that name.
template <typename List>
int WriteList(const List& list, const char* name, SCA_ConfigObj* object) {
    SCA_ConfigObj* child = object->AddConfigObj(name);
    return child != nullptr && list.SerializeRecords(child);
}

// Replaces a list's records with those of the child object of that name, when there is one.
template <typename List, typename Add>
int ReadList(SCA_ConfigObj* object, const char* name, List* list, Add&& add) {
    SCA_ConfigObj* child = nullptr;
    return !object->GetField(name, &child) || list->DeserializeRecords(child, add);
}

} // namespace

void SCA_TezProcess::SetProcessName(const char* name) {
    SCA_StrnCpy(m_ProcessName, name, sizeof(m_ProcessName));
}

uint32_t SCA_TezProcess::GetInstanceCount() const {
    return m_InstanceCount != 0 ? m_InstanceCount : m_Instances.Count();
}

int SCA_TezProcess::AddInstance(SCA_TezProcessInst* instance) {
    return instance != nullptr && m_Instances.AddItemToTail(instance, instance->GetInstance(),
                                                            instance->GetInstanceId())
               ? 1
               : 0;
}

int SCA_TezProcess::GetInstance(const char* name, SCA_TezProcessInst** instance) const {
    return m_Instances.GetItem(name, instance);
}

int SCA_TezProcess::AddDataCounter(SCA_TezCounter* counter) {
    return counter != nullptr && m_DataCounters.AddItemToTail(counter, counter->GetCounterId()) ? 1
                                                                                                : 0;
}

int SCA_TezProcess::GetCounter(uint32_t id, SCA_TezCounter** counter) const {
    return m_DataCounters.GetItem(id, counter);
}

int SCA_TezProcess::GetCounterById(uint32_t counterId, SCA_TezCounter** counter) const {
    for (auto* node = m_DataCounters.GetHead(); node != nullptr; node = node->GetNext()) {
        if (node->GetItem()->GetCounterId() == counterId) {
            if (counter != nullptr) {
                *counter = node->GetItem();
            }
            return 1;
        }
    }
    return 0;
}

const char* SCA_TezProcess::GetRepStatusDescr() const {
    switch (m_RepStatus) {
    case 1:
    case SCA_REP_STATUS_MESSAGE:
        return "Normal";
    case SCA_REP_STATUS_WARNING:
        return "Warning";
    case SCA_REP_STATUS_ERROR:
        return "Error";
    default:
        return "Unknown";
    }
}

int SCA_TezProcess::IsProcessCounter(uint32_t counterType) {
    switch (counterType) {
    case 43:
    case 46:
    case 47:
    case 48:
    case 51:
    case 53:
    case 55:
    case 87:
    case 114:
        return 1;
    default:
        return 0;
    }
}

int SCA_TezProcess::IsSimilarRuleSelected(const SCA_TezProcessRule* rule,
                                          const SCA_TezProcessRule* const* rules, uint32_t count) {
    if (rule == nullptr || rules == nullptr) {
        return 0;
    }
    const uint32_t counterType = rule->GetCounterType();
    for (uint32_t i = 0; i < count; ++i) {
        if (rules[i] == nullptr) {
            continue;
        }
        const uint32_t selected = RuleCounterType(rules[i]->GetRuleType());
        if (selected != kNoCounterType && selected == counterType) {
            return 1;
        }
    }
    return 0;
}

int SCA_TezProcess::Serialize(SCA_ConfigObj* object, uint32_t details) const {
    if (object == nullptr || !object->AddField("ProcessId", m_ProcessId) ||
        !object->AddField("PidsStatusId", m_PidsStatusId) ||
        !object->AddField("InstanceCount", m_InstanceCount) ||
        !SCA_AddTextField(object, "ProcessName", m_ProcessName) ||
        !object->AddField("Active", m_Active) || !object->AddField("Status", m_Status) ||
        !object->AddField("RepStatus", m_RepStatus) ||
        !object->AddField("TotalErrors", m_TotalErrors) ||
        !object->AddField("TotalWarnings", m_TotalWarnings) ||
        !object->AddField("StartTime", m_StartTime) ||
        !object->AddField("UpdateTime", m_UpdateTime) ||
        !object->AddField("ErrorActionCount", m_ErrorActionCount) ||
        !object->AddField("LastActionTime", m_LastActionTime)) {
        return 0;
    }
    if (details == 0) {
        return 1;
    }
    return WriteList(m_Pids, "Pids", object) && WriteList(m_Instances, "Instances", object) &&
           WriteList(m_DataCounters, "DataCounters", object);
}

int SCA_TezProcess::Deserialize(SCA_ConfigObj* object) {
    if (object == nullptr || !object->GetField("ProcessId", &m_ProcessId)) {
        return 0;
    }
    object->GetField("PidsStatusId", &m_PidsStatusId);
    object->GetField("InstanceCount", &m_InstanceCount);
    object->GetField("ProcessName", m_ProcessName, sizeof(m_ProcessName));
    object->GetField("Active", &m_Active);
    object->GetField("Status", &m_Status);
    object->GetField("RepStatus", &m_RepStatus);
    object->GetField("TotalErrors", &m_TotalErrors);
    object->GetField("TotalWarnings", &m_TotalWarnings);
    object->GetField("StartTime", &m_StartTime);
    object->GetField("UpdateTime", &m_UpdateTime);
    object->GetField("ErrorActionCount", &m_ErrorActionCount);
    object->GetField("LastActionTime", &m_LastActionTime);
    return ReadList(object, "Pids", &m_Pids,
                    [this](SCA_TezProcessPid* pid) { return m_Pids.AddPid(pid); }) &&
           ReadList(object, "Instances", &m_Instances,
                    [this](SCA_TezProcessInst* instance) { return AddInstance(instance); }) &&
           ReadList(object, "DataCounters", &m_DataCounters,
                    [this](SCA_TezCounter* counter) { return AddDataCounter(counter); });
}
