// SPDX-License-Identifier: MIT
#include "libkvn/SCA_KvnCounterMinutes.h"

#include <cstring>
#include <new>

#include "libkvn/SCA_KvnStoredForm.h"
#include "libmor/SCA_Report.h"
#include "libmor/SCA_Time.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezRecordFields.h"

namespace {

constexpr uint64_t kSecondsPerMinute = 60;

void Put(double value, double* out) {
    if (out != nullptr) {
        *out = value;
    }
}

int WriteMinute(const tag_SCA_KVN_COUNTER_MINUTE& record, SCA_ConfigObj* object) {
    return object->AddField("StartTime", record.StartTime) &&
                   object->AddField("StopTime", record.StopTime) &&
                   object->AddField("LastValue", record.LastValue) &&
                   object->AddField("AvgValue", record.AvgValue) &&
                   object->AddField("MinValue", record.MinValue) &&
                   object->AddField("MaxValue", record.MaxValue) &&
                   object->AddField("TotalValue", record.TotalValue) &&
                   object->AddField("ValueCount", record.ValueCount)
               ? 1
               : 0;
}

void ReadMinute(SCA_ConfigObj* object, tag_SCA_KVN_COUNTER_MINUTE* record) {
    object->GetField("StartTime", &record->StartTime);
    object->GetField("StopTime", &record->StopTime);
    object->GetField("LastValue", &record->LastValue);
    object->GetField("AvgValue", &record->AvgValue);
    object->GetField("MinValue", &record->MinValue);
    object->GetField("MaxValue", &record->MaxValue);
    object->GetField("TotalValue", &record->TotalValue);
    object->GetField("ValueCount", &record->ValueCount);
}

} // namespace

SCA_KvnCounterMinutes::SCA_KvnCounterMinutes(const SCA_KvnCounterMinutes& other)
    : SCA_OwnerList<tag_SCA_KVN_COUNTER_MINUTE>(0) {
    SetConstructed(SetContents(&other) ? 1u : 0u);
}

SCA_KvnCounterMinutes& SCA_KvnCounterMinutes::operator=(const SCA_KvnCounterMinutes& other) {
    if (this != &other) {
        SetConstructed(SetContents(&other) ? 1u : 0u);
    }
    return *this;
}

tag_SCA_KVN_COUNTER_MINUTE* SCA_KvnCounterMinutes::NewMinute() {
    auto* record =
        static_cast<tag_SCA_KVN_COUNTER_MINUTE*>(SCA_HeapAlloc(sizeof(tag_SCA_KVN_COUNTER_MINUTE)));
    if (record == nullptr) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_KvnCounterMinutes::Deserialize: cannot alloc %zu bytes of memory",
            sizeof(tag_SCA_KVN_COUNTER_MINUTE));
        return nullptr;
    }
    std::memset(record, 0, sizeof(*record));
    return record;
}

int SCA_KvnCounterMinutes::AddMinute(uint64_t time, tag_SCA_KVN_COUNTER_MINUTE** record) {
    tag_SCA_KVN_COUNTER_MINUTE* opened = NewMinute();
    if (opened == nullptr) {
        return 0;
    }
    opened->StartTime = time;
    if (!AddItemToTail(opened)) {
        SCA_HeapFree(opened);
        return 0;
    }
    *record = opened;
    return 1;
}

int SCA_KvnCounterMinutes::AddValue(SCA_KvnCounter* /*counter*/, uint64_t time, double value) {
    tag_SCA_KVN_COUNTER_MINUTE* target = nullptr;
    if (GetTail() != nullptr &&
        time / kSecondsPerMinute <= GetTail()->GetItem()->StartTime / kSecondsPerMinute) {
        target = GetTail()->GetItem();
    } else if (!AddMinute(time, &target)) {
        return 0;
    }
    // The first value sets both bounds, so that no starting value caps them.
    if (target->ValueCount == 0 || value > target->MaxValue) {
        target->MaxValue = value;
    }
    if (target->ValueCount == 0 || value < target->MinValue) {
        target->MinValue = value;
    }
    target->LastValue = value;
    target->TotalValue += value;
    target->StopTime = time;
    target->ValueCount += 1;
    target->AvgValue = target->TotalValue / target->ValueCount;
    return 1;
}

int SCA_KvnCounterMinutes::GetMinuteData(uint64_t time, double* avg, double* min,
                                         double* max) const {
    for (Item* node = GetHead(); node != nullptr; node = node->GetNext()) {
        if (node->GetItem()->StartTime / kSecondsPerMinute == time / kSecondsPerMinute) {
            return SCA_KvnGetMinuteStats(node->GetItem(), avg, min, max);
        }
    }
    return 0;
}

int SCA_KvnCounterMinutes::GetStatistics(double* avg, double* min, double* max) const {
    double total = 0.0;
    uint64_t count = 0;
    double lowest = 0.0;
    double highest = 0.0;
    for (Item* node = GetHead(); node != nullptr; node = node->GetNext()) {
        const tag_SCA_KVN_COUNTER_MINUTE* record = node->GetItem();
        if (record->ValueCount == 0) {
            continue;
        }
        lowest = count == 0 || record->MinValue < lowest ? record->MinValue : lowest;
        highest = count == 0 || record->MaxValue > highest ? record->MaxValue : highest;
        total += record->TotalValue;
        count += record->ValueCount;
    }
    Put(count != 0 ? total / static_cast<double>(count) : 0.0, avg);
    Put(lowest, min);
    Put(highest, max);
    return count != 0 ? 1 : 0;
}

uint64_t SCA_KvnCounterMinutes::CalcMemoryUsage() const {
    return 48 + 128 * static_cast<uint64_t>(Count());
}

void SCA_KvnCounterMinutes::FormatMinuteStart(const tag_SCA_KVN_COUNTER_MINUTE* record, char* buf,
                                              uint32_t size) {
    const uint64_t minute = record->StartTime / kSecondsPerMinute;
    SCA_FormatAbsTime(minute * kSecondsPerMinute * SCA_ABS_TIME_SECOND, buf, size);
}

int SCA_KvnCounterMinutes::Serialize(SCA_ConfigObj* object) const {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    if (object == nullptr) {
        report(SCA_LEVEL_ERROR, "SCA_KvnCounterMinutes::Serialize: invalid config object");
        return 0;
    }
    for (Item* node = GetHead(); node != nullptr; node = node->GetNext()) {
        char name[SCA_KVN_TEXT_SIZE];
        FormatMinuteStart(node->GetItem(), name, sizeof(name));
        SCA_ConfigObj* child = object->AddConfigObj(name);
        if (child == nullptr || !WriteMinute(*node->GetItem(), child)) {
            report(SCA_LEVEL_ERROR,
                   "SCA_KvnMinuteMinute::Serialize: Cannot create minute data config object");
            return 0;
        }
    }
    return 1;
}

int SCA_KvnCounterMinutes::Deserialize(SCA_ConfigObj* object) {
    if (object == nullptr) {
        return 0;
    }
    ClearAll();
    for (SCA_ConfigObj* child = SCA_FirstChildObj(object); child != nullptr;
         child = SCA_NextChildObj(child)) {
        tag_SCA_KVN_COUNTER_MINUTE* record = NewMinute();
        if (record == nullptr) {
            return 0;
        }
        ReadMinute(child, record);
        if (!AddItemToTail(record)) {
            SCA_HeapFree(record);
            return 0;
        }
    }
    return 1;
}

int SCA_KvnCounterMinutes::SetContents(const SCA_KvnCounterMinutes* source) {
    if (source == nullptr) {
        return 0;
    }
    return SCA_KvnCopyThrough(
        "CounterMinute", [source](SCA_ConfigObj* temp) { return source->Serialize(temp); },
        [this](SCA_ConfigObj* temp) { return Deserialize(temp); });
}

SCA_KvnCounterMinutes* SCA_KvnCounterMinutes::Clone() const {
    return SCA_KvnFinishClone(
        new (std::nothrow) SCA_KvnCounterMinutes(),
        "SCA_KvnCounterMinutes::Clone: cannot create counter minutes object", nullptr,
        [this](SCA_KvnCounterMinutes* copy) { return copy->SetContents(this); });
}

int SCA_KvnGetMinuteStats(tag_SCA_KVN_COUNTER_MINUTE* record, double* avg, double* min,
                          double* max) {
    if (record == nullptr) {
        return 0;
    }
    Put(record->AvgValue, avg);
    Put(record->MinValue, min);
    Put(record->MaxValue, max);
    return 1;
}
