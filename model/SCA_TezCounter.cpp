#include "model/SCA_TezCounter.h"

#include "libmor/SCA_String.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezRecordFields.h"
#include "model/SCA_TezRepStatus.h"

namespace {

double AverageOf(SCA_TezAverage* average) {
    return average != nullptr ? average->GetAverageValue() : 0.0;
}

} // namespace

SCA_TezCounter::SCA_TezCounter(uint32_t initMode) : m_InitMode(initMode) {
    if (m_CounterInfo.IsConstructed()) {
        SetConstructed();
    }
}

SCA_TezCounter::~SCA_TezCounter() {
    SCA_Object::Destroy(m_Data);
}

void SCA_TezCounter::SetComputerName(const char* name) {
    SCA_StrnCpy(m_ComputerName, name, sizeof(m_ComputerName));
}

void SCA_TezCounter::SetInstance(const char* instance) {
    SCA_StrnCpy(m_Instance, instance, sizeof(m_Instance));
}

const char* SCA_TezCounter::GetRepStatusString() const {
    switch (m_RepStatus) {
    case SCA_REP_STATUS_WARNING:
        return "Warning";
    case SCA_REP_STATUS_ERROR:
    case 6:
        return "Error";
    default:
        return "Normal";
    }
}

void SCA_TezCounter::SetCounterData(SCA_TezCounterData* store) {
    if (store != m_Data) {
        SCA_Object::Destroy(m_Data);
        m_Data = store;
    }
}

uint32_t SCA_TezCounter::GetValueCount() const {
    return m_Data != nullptr ? m_Data->GetValueCount() : 0;
}

double SCA_TezCounter::GetMaxValue() const {
    return m_Data != nullptr ? m_Data->GetMaxValue() : 0.0;
}

double SCA_TezCounter::GetMinValue() const {
    return m_Data != nullptr ? m_Data->GetMinValue() : 0.0;
}

double SCA_TezCounter::GetTotalValue() const {
    return m_Data != nullptr ? m_Data->GetTotalValue() : 0.0;
}

double SCA_TezCounter::GetAverageValue() const {
    return m_Data != nullptr ? m_Data->GetAverageValue() : 0.0;
}

double SCA_TezCounter::GetLastValue() const {
    return m_Data != nullptr ? m_Data->GetLastValue() : 0.0;
}

double SCA_TezCounter::GetAverage10() const {
    return m_Data != nullptr ? AverageOf(m_Data->GetAverage10()) : 0.0;
}

double SCA_TezCounter::GetAverage30() const {
    return m_Data != nullptr ? AverageOf(m_Data->GetAverage30()) : 0.0;
}

double SCA_TezCounter::GetAverage60() const {
    return m_Data != nullptr ? AverageOf(m_Data->GetAverage60()) : 0.0;
}

uint64_t SCA_TezCounter::GetLastTime() const {
    return m_Data != nullptr ? m_Data->GetLastTime() : 0;
}

uint64_t SCA_TezCounter::GetFirstTime() const {
    return m_Data != nullptr ? m_Data->GetFirstTime() : 0;
}

uint32_t SCA_TezCounter::GetHistoryLength() const {
    return m_Data != nullptr ? m_Data->GetHistoryLength() : 0;
}

SCA_TezCounterData* SCA_TezCounter::GetHistoryMinutes() const {
    return m_Data != nullptr ? m_Data->GetHistoryMinutes() : nullptr;
}

SCA_TezCounterData* SCA_TezCounter::GetHistoryHours() const {
    return m_Data != nullptr ? m_Data->GetHistoryHours() : nullptr;
}

int SCA_TezCounter::Serialize(SCA_ConfigObj* object) const {
    if (object == nullptr || !object->AddField("CounterId", m_CounterId) ||
        !object->AddField("CounterType", m_CounterType) ||
        !object->AddField("PerfCounterId", m_PerfCounterId) ||
        !SCA_AddTextField(object, "ComputerName", m_ComputerName) ||
        !SCA_AddTextField(object, "Instance", m_Instance) || !object->AddField("Units", m_Units) ||
        !object->AddField("FixedMaxValue", m_FixedMaxValue) ||
        !object->AddField("LastTriggerTime", m_LastTriggerTime) ||
        !object->AddField("Valid", m_Valid) || !object->AddField("RepStatus", m_RepStatus) ||
        !object->AddField("InitMode", m_InitMode)) {
        return 0;
    }
    SCA_ConfigObj* info = object->AddConfigObj("CounterInfo");
    return info != nullptr && m_CounterInfo.Serialize(info);
}

int SCA_TezCounter::Deserialize(SCA_ConfigObj* object) {
    if (object == nullptr || !object->GetField("CounterId", &m_CounterId)) {
        return 0;
    }
    object->GetField("CounterType", &m_CounterType);
    object->GetField("PerfCounterId", &m_PerfCounterId);
    object->GetField("ComputerName", m_ComputerName, sizeof(m_ComputerName));
    object->GetField("Instance", m_Instance, sizeof(m_Instance));
    object->GetField("Units", &m_Units);
    object->GetField("FixedMaxValue", &m_FixedMaxValue);
    object->GetField("LastTriggerTime", &m_LastTriggerTime);
    object->GetField("Valid", &m_Valid);
    object->GetField("RepStatus", &m_RepStatus);
    object->GetField("InitMode", &m_InitMode);
    SCA_ConfigObj* info = nullptr;
    return !object->GetField("CounterInfo", &info) || m_CounterInfo.Deserialize(info);
}
