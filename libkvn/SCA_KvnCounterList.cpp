// SPDX-License-Identifier: MIT
#include "libkvn/SCA_KvnCounterList.h"

#include <cstdio>
#include <new>

#include "libkvn/SCA_KvnStoredForm.h"
#include "libmor/SCA_Report.h"
#include "model/SCA_ConfigObj.h"

namespace {

const tagSCA_KVN_LIST_TEXTS kTexts = {
    "SCA_KvnCounterList::Serialize: invalid config object",
    "SCA_KvnCounterList::Serialize: Cannot create counter config object",
    nullptr, // the counter reports its own failure
    "SCA_KvnCounterList::Deserialize: Cannot create counter object",
    nullptr, // likewise
};

} // namespace

SCA_KvnCounterList::SCA_KvnCounterList(const SCA_KvnCounterList& other) {
    SetConstructed(SetContents(&other) ? 1u : 0u);
    m_CountersStatusId = other.m_CountersStatusId;
}

SCA_KvnCounterList& SCA_KvnCounterList::operator=(const SCA_KvnCounterList& other) {
    if (this != &other) {
        SetConstructed(SetContents(&other) ? 1u : 0u);
        m_CountersStatusId = other.m_CountersStatusId;
    }
    return *this;
}

SCA_KvnCounter* SCA_KvnCounterList::NewRecord() const {
    return new (std::nothrow) SCA_KvnCounter();
}

int SCA_KvnCounterList::AddCounter(uint32_t counterId, SCA_KvnCounter** counter) {
    SCA_KvnCounter* added = AddRecordAs(counterId);
    if (added == nullptr) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_KvnCounterList::AddCounter: Cannot create counter object");
        return 0;
    }
    UpdateCountersStatusId();
    return SCA_KvnHandOut(added, counter);
}

int SCA_KvnCounterList::GetCounter(uint32_t counterId, SCA_KvnCounter** counter) const {
    return SCA_KvnHandOut(FindRecord(counterId), counter);
}

int SCA_KvnCounterList::GetCounterByType(uint32_t counterType, SCA_KvnCounter** counter) const {
    return SCA_KvnHandOut(FindRecordIf([counterType](const SCA_KvnCounter& record) {
                              return record.GetCounterType() == counterType;
                          }),
                          counter);
}

int SCA_KvnCounterList::IsCounterTypeExists(uint32_t counterType) const {
    return GetCounterByType(counterType, nullptr);
}

int SCA_KvnCounterList::DeleteCounter(uint32_t counterId) {
    if (DestroyRecord(counterId)) {
        UpdateCountersStatusId();
    }
    return 1;
}

int SCA_KvnCounterList::ClearAll() {
    DestroyRecords();
    UpdateCountersStatusId();
    return 1;
}

int SCA_KvnCounterList::Serialize(SCA_ConfigObj* object) const {
    return SerializeRecords(object, kTexts,
                            [](const SCA_KvnCounter* counter, SCA_ConfigObj* child) {
                                return counter->Serialize(child);
                            });
}

int SCA_KvnCounterList::Deserialize(SCA_ConfigObj* object) {
    if (object == nullptr) {
        return 0;
    }
    ClearAll();
    if (!DeserializeRecords(object, false, kTexts,
                            [](SCA_KvnCounter* counter, SCA_ConfigObj* child) {
                                return counter->Deserialize(child);
                            })) {
        return 0;
    }
    UpdateCountersStatusId();
    return 1;
}

int SCA_KvnCounterList::SetContents(const SCA_KvnCounterList* source) {
    if (source == nullptr) {
        return 0;
    }
    return SCA_KvnCopyThrough(
        "CounterList", [source](SCA_ConfigObj* temp) { return source->Serialize(temp); },
        [this](SCA_ConfigObj* temp) { return Deserialize(temp); });
}

SCA_KvnCounterList* SCA_KvnCounterList::Clone() const {
    return SCA_KvnFinishClone(new (std::nothrow) SCA_KvnCounterList(),
                              "SCA_KvnCounterList::Clone: cannot create counter list object",
                              nullptr,
                              [this](SCA_KvnCounterList* copy) { return copy->SetContents(this); });
}

int SCA_KvnCounterList::Show() const {
    std::printf("\n%u Counters:\n\n", Count());
    return ShowRecords(nullptr);
}

uint64_t SCA_KvnCounterList::CalcMemoryUsage() const {
    uint64_t total = 56;
    for (Item* node = GetHead(); node != nullptr; node = node->GetNext()) {
        total += node->GetItem()->CalcMemoryUsage();
    }
    return total;
}
