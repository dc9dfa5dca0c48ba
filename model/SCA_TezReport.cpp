// SPDX-License-Identifier: MIT
#include "model/SCA_TezReport.h"
#include "model/SCA_TezRecordFields.h"
#include "model/SCA_TezRepStatus.h"

#include <cstring>
#include <new>
#include <string>

namespace {

// Each record with the list node that holds it.
template <typename T>
constexpr uint64_t kRecordSize = sizeof(T) + sizeof(SCA_ListItem<T*>);

// The first counter from the head that matches.
template <typename Match>
int FindCounter(const SCA_TezReportCounters& counters, SCA_TezCounter** counter, Match&& match) {
    for (auto* node = counters.GetHead(); node != nullptr; node = node->GetNext()) {
        if (match(*node->GetItem())) {
            if (counter != nullptr) {
                *counter = node->GetItem();
            }
            return 1;
        }
    }
    return 0;
}

template <typename Count>
uint32_t CountCounters(const SCA_TezReportCounters& counters, Count&& counts) {
    uint32_t count = 0;
    for (auto* node = counters.GetHead(); node != nullptr; node = node->GetNext()) {
        count += counts(*node->GetItem()) ? 1 : 0;
    }
    return count;
}

} // namespace

SCA_TezReport::SCA_TezReport(SCA_TezConfig* config, SCA_TezConfigUser* userConfig,
                             uint32_t counterMode)
    : m_Config(config), m_UserConfig(userConfig), m_CounterMode(counterMode),
      m_Summary("Summary", nullptr) {
    if (!m_Summary.IsConstructed()) {
        SetConstructed(0);
    }
}

int SCA_TezReport::AddCounter(SCA_TezCounter* counter) {
    return counter != nullptr && m_Counters.AddItemToTail(counter, counter->GetCounterId()) ? 1 : 0;
}

int SCA_TezReport::GetCounterByType(uint32_t counterType, SCA_TezCounter** counter) const {
    return FindCounter(m_Counters, counter, [counterType](const SCA_TezCounter& candidate) {
        return candidate.GetCounterType() == counterType;
    });
}

int SCA_TezReport::GetCounter(uint32_t counterType, const char* instance,
                              SCA_TezCounter** counter) const {
    if (instance == nullptr) {
        return 0;
    }
    return FindCounter(m_Counters, counter, [&](const SCA_TezCounter& candidate) {
        return candidate.GetCounterType() == counterType &&
               std::strcmp(candidate.GetInstance(), instance) == 0;
    });
}

int SCA_TezReport::GetCounter(uint32_t id, SCA_TezCounter** counter) const {
    return m_Counters.GetItem(id, counter);
}

int SCA_TezReport::KeepCounter(uint32_t id) {
    SCA_TezCounter* kept = nullptr;
    if (!m_Counters.GetItem(id, &kept)) {
        return 0;
    }
    const uint32_t counterId = kept->GetCounterId();
    for (auto* node = m_Counters.GetHead(); node != nullptr;) {
        auto* next = node->GetNext();
        if (node->GetItem() != kept) {
            m_Counters.DestroyListItem(node);
        }
        node = next;
    }
    for (auto* node = m_ErrorList.GetHead(); node != nullptr;) {
        auto* next = node->GetNext();
        if (node->GetItem()->GetCounterId() != counterId) {
            m_ErrorList.DestroyListItem(node);
        }
        node = next;
    }
    return 1;
}

uint32_t SCA_TezReport::GetWarnings() const {
    return CountCounters(m_Counters, [](const SCA_TezCounter& counter) {
        return counter.GetRepStatus() == SCA_REP_STATUS_WARNING;
    });
}

uint32_t SCA_TezReport::GetErrors() const {
    return CountCounters(m_Counters, [](const SCA_TezCounter& counter) {
        return counter.GetRepStatus() == SCA_REP_STATUS_ERROR;
    });
}

uint64_t SCA_TezReport::GetTotalValueCount() const {
    uint64_t total = 0;
    for (auto* node = m_Counters.GetHead(); node != nullptr; node = node->GetNext()) {
        total += node->GetItem()->GetValueCount();
    }
    return total;
}

uint64_t SCA_TezReport::GetLastTime() const {
    SCA_TezCounter* head = nullptr;
    return m_Counters.GetHeadItem(&head) ? head->GetLastTime() : 0;
}

uint64_t SCA_TezReport::CalcMemoryUsage() const {
    uint64_t bytes = sizeof(*this) + m_Counters.Count() * kRecordSize<SCA_TezCounter> +
                     m_ErrorList.Count() * kRecordSize<SCA_TezError>;
    for (auto* node = m_Counters.GetHead(); node != nullptr; node = node->GetNext()) {
        // Each value kept: the value and its time.
        bytes += node->GetItem()->GetValueCount() * (sizeof(double) + sizeof(uint64_t));
    }
    return bytes;
}

int SCA_TezReport::Serialize(SCA_ConfigObj* object) const {
    if (!SCA_TezReportInfo::Serialize(object) || !object->AddField("CounterMode", m_CounterMode)) {
        return 0;
    }
    auto* summary = new (std::nothrow) SCA_ConfigObj(m_Summary);
    if (summary == nullptr || !summary->IsConstructed() ||
        !object->AddField("Summary", summary, 0)) {
        SCA_Object::Destroy(summary);
        return 0;
    }
    SCA_ConfigObj* counters = object->AddConfigObj("Counters");
    SCA_ConfigObj* errors = object->AddConfigObj("Errors");
    return counters != nullptr && errors != nullptr && m_Counters.SerializeRecords(counters) &&
           m_ErrorList.Serialize(errors);
}

int SCA_TezReport::Deserialize(SCA_ConfigObj* object) {
    if (!SCA_TezReportInfo::Deserialize(object)) {
        return 0;
    }
    object->GetField("CounterMode", &m_CounterMode);
    SCA_ConfigObj* child = nullptr;
    if (object->GetField("Summary", &child) && !m_Summary.SetContent(child)) {
        return 0;
    }
    if (object->GetField("Counters", &child) &&
        !m_Counters.DeserializeRecords(
            child, [this](SCA_TezCounter* counter) { return AddCounter(counter); })) {
        return 0;
    }
    return !object->GetField("Errors", &child) || m_ErrorList.Deserialize(child);
}

int SCA_TezReport::UpdateSummary() {
    SetNumOfCounters(m_Counters.Count());
    SetNumOfErrors(m_ErrorList.Count());
    uint64_t firstTime = 0;
    uint64_t lastTime = 0;
    for (auto* node = m_Counters.GetHead(); node != nullptr; node = node->GetNext()) {
        const SCA_TezCounter& counter = *node->GetItem();
        if (counter.GetFirstTime() != 0 && (firstTime == 0 || counter.GetFirstTime() < firstTime)) {
            firstTime = counter.GetFirstTime();
        }
        lastTime = counter.GetLastTime() > lastTime ? counter.GetLastTime() : lastTime;
    }
    // The statistics are UpdateStatistics' part of the summary: they stay.
    SCA_Field* statistics = m_Summary.RemoveField("Statistics");
    m_Summary.Clear();
    const int written = m_Summary.AddField("Counters", m_Counters.Count()) &&
                        m_Summary.AddField("Errors", GetErrors()) &&
                        m_Summary.AddField("Warnings", GetWarnings()) &&
                        m_Summary.AddField("ErrorRecords", m_ErrorList.Count()) &&
                        m_Summary.AddField("Values", GetTotalValueCount()) &&
                        m_Summary.AddField("FirstTime", firstTime) &&
                        m_Summary.AddField("LastTime", lastTime);
    if (statistics != nullptr && !m_Summary.AddField(statistics)) {
        SCA_Object::Destroy(statistics);
        return 0;
    }
    return written;
}

const char* SCA_TezReport::GetSummaryLabel(const char* field) {
    static constexpr struct {
        const char* Field;
        const char* Label;
    } kLabels[] = {
        {"Counters", "Counters"},
        {"Errors", "Counters in Error"},
        {"Warnings", "Counters in Warning"},
        {"ErrorRecords", "Errors Recorded"},
        {"Values", "Values"},
        {"FirstTime", "First Sample"},
        {"LastTime", "Last Sample"},
    };
    for (const auto& entry : kLabels) {
        if (field != nullptr && std::strcmp(field, entry.Field) == 0) {
            return entry.Label;
        }
    }
    return field != nullptr ? field : "";
}

int SCA_TezReport::UpdateStatistics() {
    SCA_ConfigObj statistics("Statistics", nullptr);
    for (auto* node = m_Counters.GetHead(); node != nullptr; node = node->GetNext()) {
        const SCA_TezCounter& counter = *node->GetItem();
        SCA_ConfigObj* entry = statistics.AddConfigObj(std::to_string(node->GetId()).c_str());
        if (entry == nullptr || !entry->AddField("CounterType", counter.GetCounterType()) ||
            !SCA_AddTextField(entry, "Instance", counter.GetInstance()) ||
            !entry->AddField("Count", counter.GetValueCount())) {
            return 0;
        }
        if (counter.GetValueCount() != 0 &&
            (!entry->AddField("Minimum", counter.GetMinValue()) ||
             !entry->AddField("Maximum", counter.GetMaxValue()) ||
             !entry->AddField("Average", counter.GetAverageValue()) ||
             !entry->AddField("Last", counter.GetLastValue()))) {
            return 0;
        }
    }
    return ReplaceStatistics(statistics);
}

int SCA_TezReport::ReplaceStatistics(const SCA_ConfigObj& statistics) {
    SCA_Object::Destroy(m_Summary.RemoveField("Statistics"));
    auto* copy = new (std::nothrow) SCA_ConfigObj(statistics);
    if (copy == nullptr || !copy->IsConstructed() || !m_Summary.AddField("Statistics", copy, 0)) {
        SCA_Object::Destroy(copy);
        return 0;
    }
    return 1;
}
