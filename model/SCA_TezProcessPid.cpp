// SPDX-License-Identifier: MIT
#include "model/SCA_TezProcessPid.h"

#include <new>

#include "libmor/SCA_String.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezRecordFields.h"

namespace {

using Counter = tagSCA_TEZ_PROCESS_COUNTER;

int WriteCounter(const Counter* counter, SCA_ConfigObj* object) {
    SCA_ConfigObj* child = SCA_AddNumberedObj(object, counter->CounterType);
    return child != nullptr && child->AddField("CounterType", counter->CounterType) &&
           child->AddField("ValueCount", counter->ValueCount) &&
           child->AddField("LastValue", counter->LastValue) &&
           child->AddField("MinValue", counter->MinValue) &&
           child->AddField("MaxValue", counter->MaxValue) &&
           child->AddField("AverageValue", counter->AverageValue);
}

int ReadCounter(SCA_ConfigObj* child, Counter* counter) {
    *counter = Counter{};
    if (!child->GetField("CounterType", &counter->CounterType)) {
        return 0;
    }
    child->GetField("ValueCount", &counter->ValueCount);
    child->GetField("LastValue", &counter->LastValue);
    child->GetField("MinValue", &counter->MinValue);
    child->GetField("MaxValue", &counter->MaxValue);
    child->GetField("AverageValue", &counter->AverageValue);
    return 1;
}

} // namespace

SCA_TezProcessPid::~SCA_TezProcessPid() {
    SCA_Object::Destroy(m_ProcessInfo);
}

void SCA_TezProcessPid::SetUserName(const char* name) {
    SCA_StrnCpy(m_UserName, name, sizeof(m_UserName));
}

void SCA_TezProcessPid::SetParentProcess(const char* name) {
    SCA_StrnCpy(m_ParentProcess, name, sizeof(m_ParentProcess));
}

void SCA_TezProcessPid::SetParentUser(const char* name) {
    SCA_StrnCpy(m_ParentUser, name, sizeof(m_ParentUser));
}

void SCA_TezProcessPid::SetProcessInfo(SCA_ConfigObj* info) {
    if (info != m_ProcessInfo) {
        SCA_Object::Destroy(m_ProcessInfo);
        m_ProcessInfo = info;
    }
}

int SCA_TezProcessPid::GetCounter(uint32_t counterType,
                                  tagSCA_TEZ_PROCESS_COUNTER** counter) const {
    return m_Counters.GetItem(counterType, counter);
}

int SCA_TezProcessPid::SetCounter(const tagSCA_TEZ_PROCESS_COUNTER& values) {
    Counter* counter = nullptr;
    if (m_Counters.GetItem(values.CounterType, &counter)) {
        *counter = values;
        return 1;
    }
    counter = static_cast<Counter*>(SCA_HeapAlloc(sizeof(Counter)));
    if (counter == nullptr) {
        return 0;
    }
    *counter = values;
    if (!m_Counters.AddItemToTail(counter, values.CounterType)) {
        SCA_HeapFree(counter);
        return 0;
    }
    return 1;
}

int SCA_TezProcessPid::Serialize(SCA_ConfigObj* object) const {
    if (object == nullptr || !object->AddField("ProcessId", m_ProcessId) ||
        !object->AddField("InstanceId", m_InstanceId) ||
        !object->AddField("FirstUpdateTime", m_FirstUpdateTime) ||
        !object->AddField("LastUpdateTime", m_LastUpdateTime) ||
        !SCA_AddTextField(object, "UserName", m_UserName) ||
        !object->AddField("ParentProcessId", m_ParentProcessId) ||
        !SCA_AddTextField(object, "ParentProcess", m_ParentProcess) ||
        !SCA_AddTextField(object, "ParentUser", m_ParentUser)) {
        return 0;
    }
    SCA_ConfigObj* counters = object->AddConfigObj("Counters");
    if (counters == nullptr) {
        return 0;
    }
    for (auto* node = m_Counters.GetHead(); node != nullptr; node = node->GetNext()) {
        if (!WriteCounter(node->GetItem(), counters)) {
            return 0;
        }
    }
    if (m_ProcessInfo == nullptr) {
        return 1;
    }
    SCA_Field* info = m_ProcessInfo->Clone();
    if (info == nullptr || !object->AddField("ProcessInfo", info, 0)) {
        SCA_Object::Destroy(info);
        return 0;
    }
    return 1;
}

int SCA_TezProcessPid::Deserialize(SCA_ConfigObj* object) {
    if (object == nullptr || !object->GetField("ProcessId", &m_ProcessId)) {
        return 0;
    }
    object->GetField("InstanceId", &m_InstanceId);
    object->GetField("FirstUpdateTime", &m_FirstUpdateTime);
    object->GetField("LastUpdateTime", &m_LastUpdateTime);
    object->GetField("UserName", m_UserName, sizeof(m_UserName));
    object->GetField("ParentProcessId", &m_ParentProcessId);
    object->GetField("ParentProcess", m_ParentProcess, sizeof(m_ParentProcess));
    object->GetField("ParentUser", m_ParentUser, sizeof(m_ParentUser));
    m_Counters.Clear();
    SCA_ConfigObj* counters = nullptr;
    if (object->GetField("Counters", &counters)) {
        Counter counter{};
        for (SCA_ConfigObj* child = SCA_FirstChildObj(counters); child != nullptr;
             child = SCA_NextChildObj(child)) {
            if (!ReadCounter(child, &counter) || !SetCounter(counter)) {
                return 0;
            }
        }
    }
    SCA_ConfigObj* info = nullptr;
    if (!object->GetField("ProcessInfo", &info)) {
        SetProcessInfo(nullptr);
        return 1;
    }
    auto* copy = new (std::nothrow) SCA_ConfigObj(*info);
    if (copy == nullptr || !copy->IsConstructed()) {
        SCA_Object::Destroy(copy);
        return 0;
    }
    SetProcessInfo(copy);
    return 1;
}
