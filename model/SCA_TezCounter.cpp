// SPDX-License-Identifier: MIT
#include "model/SCA_TezCounter.h"

#include <algorithm>

#include <new>

#include "libmor/SCA_String.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezCounterStatus.h"
#include "model/SCA_TezRecordFields.h"
#include "model/SCA_TezRepStatus.h"
#include "model/SCA_TezSampleStore.h"

namespace {

// An absent field leaves the text as it was.
template <size_t Size>
void GetText(SCA_ConfigObj* object, const char* name, SCA_BoundedText<Size>* text) {
    char read[Size];
    SCA_StrnCpy(read, text->c_str(), Size);
    object->GetField(name, read, Size);
    text->Assign(read);
}

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
    m_ComputerName.Assign(name);
}

void SCA_TezCounter::SetInstance(const char* instance) {
    m_Instance.Assign(instance);
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
        !SCA_AddTextField(object, "ComputerName", m_ComputerName.c_str()) ||
        !SCA_AddTextField(object, "Instance", m_Instance.c_str()) ||
        !object->AddField("Units", m_Units) ||
        !object->AddField("FixedMaxValue", m_FixedMaxValue) ||
        !object->AddField("LastTriggerTime", m_LastTriggerTime) ||
        !object->AddField("Valid", m_Valid) || !object->AddField("RepStatus", m_RepStatus) ||
        !object->AddField("InitMode", m_InitMode)) {
        return 0;
    }
    SCA_ConfigObj* info = object->AddConfigObj("CounterInfo");
    if (info == nullptr || !m_CounterInfo.Serialize(info)) {
        return 0;
    }
    if (m_Data == nullptr) {
        return 1;
    }
    SCA_ConfigObj* data = object->AddConfigObj("Data");
    if (data == nullptr || !m_Data->Serialize(data)) {
        return 0;
    }
    // A store that keeps nothing leaves no trace.
    if (data->GetHead() == nullptr) {
        SCA_Object::Destroy(object->RemoveField("Data"));
    }
    return 1;
}

int SCA_TezCounter::Deserialize(SCA_ConfigObj* object) {
    if (object == nullptr || !object->GetField("CounterId", &m_CounterId)) {
        return 0;
    }
    object->GetField("CounterType", &m_CounterType);
    object->GetField("PerfCounterId", &m_PerfCounterId);
    GetText(object, "ComputerName", &m_ComputerName);
    GetText(object, "Instance", &m_Instance);
    object->GetField("Units", &m_Units);
    object->GetField("FixedMaxValue", &m_FixedMaxValue);
    object->GetField("LastTriggerTime", &m_LastTriggerTime);
    object->GetField("Valid", &m_Valid);
    object->GetField("RepStatus", &m_RepStatus);
    object->GetField("InitMode", &m_InitMode);
    SCA_ConfigObj* child = nullptr;
    if (object->GetField("CounterInfo", &child) && !m_CounterInfo.Deserialize(child)) {
        return 0;
    }
    if (!object->GetField("Data", &child)) {
        return 1;
    }
    auto* store = new (std::nothrow) SCA_TezSampleStore();
    if (store == nullptr || !store->Deserialize(child)) {
        SCA_Object::Destroy(store);
        return 0;
    }
    SetCounterData(store);
    return 1;
}

int SCA_TezCounter::AddData(SCA_ConfigObj* values, uint64_t* lastTime) {
    if (values == nullptr || lastTime == nullptr) {
        return 0;
    }
    std::vector<tagSCA_TEZ_SAMPLE> samples;
    int read = 1;
    for (SCA_Field* field = values->GetHead(); field != nullptr; field = field->GetNext()) {
        tagSCA_TEZ_SAMPLE sample{};
        if (!SCA_TezReadSampleField(field, &sample)) {
            read = 0;
            break;
        }
        samples.push_back(sample);
    }
    return AddSamples(samples, lastTime) && read ? 1 : 0;
}

int SCA_TezCounter::AddSamples(const std::vector<tagSCA_TEZ_SAMPLE>& samples, uint64_t* lastTime) {
    if (lastTime == nullptr) {
        return 0;
    }
    auto* store = dynamic_cast<SCA_TezSampleStore*>(m_Data);
    if (store == nullptr) {
        store = new (std::nothrow) SCA_TezSampleStore();
        if (store == nullptr) {
            return 0;
        }
        SetCounterData(store);
    }
    // Samples are kept in the order they come, whatever their times say: after the wall clock
    // stepped back, the service's new samples are older than those held and still new. A
    // reply that overlaps what is held repeats the last sample taken: only what follows that
    // one is new.
    auto first = samples.begin();
    if (*lastTime != 0) {
        const auto overlap =
            std::find_if(samples.begin(), samples.end(),
                         [lastTime](const tagSCA_TEZ_SAMPLE& s) { return s.AbsTime == *lastTime; });
        if (overlap != samples.end()) {
            first = overlap + 1;
        }
    }
    for (auto sample = first; sample != samples.end(); ++sample) {
        store->AddSample(sample->AbsTime, sample->Value, sample->HasValue);
        *lastTime = sample->AbsTime;
    }
    return 1;
}

void SCA_TezCounter::ClearAll() {
    if (auto* store = dynamic_cast<SCA_TezSampleStore*>(m_Data)) {
        store->Clear();
    } else {
        SetCounterData(nullptr);
    }
    m_RepStatus = 0;
    m_LastTriggerTime = 0;
}
