// SPDX-License-Identifier: MIT
#include "libkvn/SCA_KvnCounter.h"

#include <cstdio>

#include "libkvn/SCA_KvnStoredForm.h"
#include "libmor/SCA_Report.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezCounterMeta.h"

SCA_KvnCounter::SCA_KvnCounter(const SCA_KvnCounter& other)
    : SCA_Object(other), m_CounterId(other.m_CounterId), m_CounterType(other.m_CounterType),
      m_Units(other.m_Units), m_TotalValues(other.m_TotalValues),
      m_FixedMaxValue(other.m_FixedMaxValue), m_LastTriggerTime(other.m_LastTriggerTime),
      m_RepStatus(other.m_RepStatus), m_Minutes(other.m_Minutes) {
    SetConstructed(m_Minutes.IsConstructed());
}

SCA_KvnCounter& SCA_KvnCounter::operator=(const SCA_KvnCounter& other) {
    if (this != &other) {
        m_CounterId = other.m_CounterId;
        m_CounterType = other.m_CounterType;
        m_Units = other.m_Units;
        m_TotalValues = other.m_TotalValues;
        m_FixedMaxValue = other.m_FixedMaxValue;
        m_LastTriggerTime = other.m_LastTriggerTime;
        m_RepStatus = other.m_RepStatus;
        m_Minutes = other.m_Minutes;
        SetConstructed(m_Minutes.IsConstructed());
    }
    return *this;
}

const char* SCA_KvnCounter::GetRepStatusString() const {
    switch (m_RepStatus) {
    case 4:
        return "Warning";
    case 5:
    case 6:
        return "Error";
    default:
        return "Normal";
    }
}

int SCA_KvnCounter::AddValue(SCA_KvnNetConfigUser* /*netConfig*/, uint64_t time, double value) {
    if (!m_Minutes.AddValue(this, time, value)) {
        return 0;
    }
    ++m_TotalValues;
    return 1;
}

int SCA_KvnCounter::ClearAll() {
    return m_Minutes.ClearAll();
}

int SCA_KvnCounter::Serialize(SCA_ConfigObj* object) const {
    if (object == nullptr) {
        return 0;
    }
    SCA_ConfigObj* minutes = nullptr;
    const bool written = object->AddField("CounterId", m_CounterId) &&
                         object->AddField("CounterType", m_CounterType) &&
                         object->AddField("Units", m_Units) &&
                         object->AddField("TotalValues", m_TotalValues) &&
                         object->AddField("FixedMaxValue", m_FixedMaxValue) &&
                         object->AddField("RepStatus", m_RepStatus) &&
                         object->AddField("LastTriggerTime", m_LastTriggerTime) &&
                         (minutes = object->AddConfigObj("Minutes")) != nullptr;
    if (!written || !m_Minutes.Serialize(minutes)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR,
            "SCA_KvnCounter::Serialize: cannot serialize data minutes for counter - %u:%u",
            m_CounterId, m_CounterType);
        return 0;
    }
    return 1;
}

int SCA_KvnCounter::Deserialize(SCA_ConfigObj* object) {
    if (object == nullptr) {
        return 0;
    }
    ClearAll();
    object->GetField("CounterId", &m_CounterId);
    object->GetField("CounterType", &m_CounterType);
    object->GetField("Units", &m_Units);
    object->GetField("TotalValues", &m_TotalValues);
    object->GetField("FixedMaxValue", &m_FixedMaxValue);
    object->GetField("RepStatus", &m_RepStatus);
    object->GetField("LastTriggerTime", &m_LastTriggerTime);
    SCA_ConfigObj* minutes = nullptr;
    if (!object->GetField("Minutes", &minutes)) {
        return 1;
    }
    if (!m_Minutes.Deserialize(minutes)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR,
            "SCA_KvnCounter::Deserialize: cannot deserialize data minutes for counter - %u:%u",
            m_CounterId, m_CounterType);
        return 0;
    }
    return 1;
}

int SCA_KvnCounter::Show() const {
    std::printf("\n%s - ID:%u TP:%u FMV:%.0f RPS:%u\n\n", SCA_TezGetCounterDescr(m_CounterType),
                m_CounterId, m_CounterType, m_FixedMaxValue, m_RepStatus);
    for (auto* node = m_Minutes.GetHead(); node != nullptr; node = node->GetNext()) {
        const tag_SCA_KVN_COUNTER_MINUTE* record = node->GetItem();
        char start[SCA_KVN_TEXT_SIZE];
        SCA_KvnCounterMinutes::FormatMinuteStart(record, start, sizeof(start));
        std::printf("%s - CNT:%2u AVG:%-4.1f MIN:%-4.1f MAX:%-4.1f\n", start, record->ValueCount,
                    record->AvgValue, record->MinValue, record->MaxValue);
    }
    return 1;
}

uint64_t SCA_KvnCounter::CalcMemoryUsage() const {
    return 104 + m_Minutes.CalcMemoryUsage();
}
