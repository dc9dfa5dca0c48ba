// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libkvn/SCA_KvnCounter.h"
#include "libkvn/SCA_KvnExport.h"
#include "libkvn/SCA_KvnRecordList.h"

class SCA_ConfigObj;

// The counters of one device report, in the order they were added (or stored). The counters
// status id moves whenever the set of counters changes; it wraps at 32 bits.
class SCA_KVN_EXPORT SCA_KvnCounterList : public SCA_KvnRecordList<SCA_KvnCounter> {
public:
    SCA_HEAP_OPERATORS

    SCA_KvnCounterList() = default;
    ~SCA_KvnCounterList() override { DestroyRecords(); }
    // Copies hold copies of the counters and the same counters status id; flag 0 on failure.
    SCA_KvnCounterList(const SCA_KvnCounterList& other);
    SCA_KvnCounterList& operator=(const SCA_KvnCounterList& other);

    // A new counter with that id at the tail. An existing counter of the same id is not looked
    // for: callers look first.
    int AddCounter(uint32_t counterId, SCA_KvnCounter** counter);
    int GetCounter(uint32_t counterId, SCA_KvnCounter** counter) const;
    int GetCounterByType(uint32_t counterType, SCA_KvnCounter** counter) const;
    int IsCounterTypeExists(uint32_t counterType) const;
    // 1 also when there is no such counter (the status id then stays).
    int DeleteCounter(uint32_t counterId);
    int ClearAll();

    uint32_t GetCountersStatusId() const { return m_CountersStatusId; }
    void SetCountersStatusId(uint32_t id) { m_CountersStatusId = id; }
    void UpdateCountersStatusId() { ++m_CountersStatusId; }

    int Serialize(SCA_ConfigObj* object) const;
    int Deserialize(SCA_ConfigObj* object);
    int SetContents(const SCA_KvnCounterList* source);
    SCA_KvnCounterList* Clone() const;

    int Show() const;
    uint64_t CalcMemoryUsage() const;

protected:
    SCA_KvnCounter* NewRecord() const override;
    uint32_t GetRecordNumber(const SCA_KvnCounter& record) const override {
        return record.GetCounterId();
    }
    void SetRecordNumber(SCA_KvnCounter* record, uint32_t number) const override {
        record->SetCounterId(number);
    }

private:
    uint32_t m_CountersStatusId = 0;
};
