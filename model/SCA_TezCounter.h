// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <vector>

#include "libmor/SCA_BoundedText.h"
#include "libmor/SCA_Heap.h"
#include "libmor/SCA_Object.h"
#include "model/SCA_TezCounterData.h"
#include "model/SCA_TezCounterInfo.h"
#include "model/SCA_TezRecordFields.h"
#include "model/SCA_TezSampleStore.h"

class SCA_ConfigObj;

// A live counter of a running monitor: what it measures (its counter information), its state,
// and its sample store, which it owns. The sample getters read the store and answer 0 (or
// null) while there is none. Not copyable: it owns its store and embeds a record with a list.
class SCA_TezCounter : public SCA_Object {
public:
    SCA_HEAP_OPERATORS

    explicit SCA_TezCounter(uint32_t initMode = 0);
    ~SCA_TezCounter() override;
    SCA_TezCounter(const SCA_TezCounter&) = delete;
    SCA_TezCounter& operator=(const SCA_TezCounter&) = delete;

    uint32_t GetCounterId() const { return m_CounterId; }
    void SetCounterId(uint32_t id) { m_CounterId = id; }
    uint32_t GetCounterType() const { return m_CounterType; }
    void SetCounterType(uint32_t type) { m_CounterType = type; }
    uint32_t GetPerfCounterId() const { return m_PerfCounterId; }
    void SetPerfCounterId(uint32_t id) { m_PerfCounterId = id; }
    // Empty for the local computer. Texts are cut on a UTF-8 boundary when they do not fit.
    const char* GetComputerName() const { return m_ComputerName.c_str(); }
    void SetComputerName(const char* name);
    const char* GetInstance() const { return m_Instance.c_str(); }
    void SetInstance(const char* instance);
    uint32_t GetUnits() const { return m_Units; }
    void SetUnits(uint32_t units) { m_Units = units; }
    double GetFixedMaxValue() const { return m_FixedMaxValue; }
    void SetFixedMaxValue(double value) { m_FixedMaxValue = value; }
    uint64_t GetLastTriggerTime() const { return m_LastTriggerTime; }
    void SetLastTriggerTime(uint64_t time) { m_LastTriggerTime = time; }
    int IsValid() const { return m_Valid; }
    void SetValid(int valid) { m_Valid = valid; }
    uint32_t GetRepStatus() const { return m_RepStatus; }
    void SetRepStatus(uint32_t status) { m_RepStatus = status; }
    SCA_TezCounterInfo* GetCounterInfo() { return &m_CounterInfo; }
    const SCA_TezCounterInfo* GetCounterInfo() const { return &m_CounterInfo; }
    uint32_t GetInitMode() const { return m_InitMode; }

    int IsLocal() const { return m_ComputerName.empty() ? 1 : 0; }
    // "Warning" (4), "Error" (5 and 6), "Normal" for any other status.
    const char* GetRepStatusString() const;

    // The sample store, or null. SetCounterData takes store (may be null) in place of the one
    // held, which is destroyed.
    SCA_TezCounterData* GetCounterData() const { return m_Data; }
    void SetCounterData(SCA_TezCounterData* store);

    uint32_t GetValueCount() const;
    double GetMaxValue() const;
    double GetMinValue() const;
    double GetTotalValue() const;
    double GetAverageValue() const;
    double GetLastValue() const;
    double GetAverage10() const;
    double GetAverage30() const;
    double GetAverage60() const;
    uint64_t GetLastTime() const;
    uint64_t GetFirstTime() const;
    uint32_t GetHistoryLength() const;
    SCA_TezCounterData* GetHistoryMinutes() const;
    SCA_TezCounterData* GetHistoryHours() const;

    // Appends the samples of values (value fields as SCA_TezSampleStore::WriteSamples writes
    // them) that follow the one taken at *lastTime, in the order they come, to the counter's
    // store, made when there is none, and moves *lastTime to the last one taken. 0 at the first
    // field that is not a sample; those before it stay.
    int AddData(SCA_ConfigObj* values, uint64_t* lastTime);
    // The same for samples read already (oldest first); 0 when no store can be made.
    int AddSamples(const std::vector<tagSCA_TEZ_SAMPLE>& samples, uint64_t* lastTime);
    // Forgets every sample and the status.
    void ClearAll();

    // The fields, a child "CounterInfo" and, with a sample store that keeps samples, a child
    // "Data" with them.
    int Serialize(SCA_ConfigObj* object) const;
    // 0 for a null object, one without "CounterId", or counter information or data that cannot
    // be read.
    int Deserialize(SCA_ConfigObj* object);

private:
    uint32_t m_CounterId = 0;
    uint32_t m_CounterType = 0;
    uint32_t m_PerfCounterId = 0;
    SCA_BoundedText<SCA_TEZ_NAME_SIZE> m_ComputerName;
    SCA_BoundedText<SCA_TEZ_TEXT_SIZE> m_Instance;
    uint32_t m_Units = 0;
    double m_FixedMaxValue = 0.0;
    uint64_t m_LastTriggerTime = 0;
    int m_Valid = 0;
    uint32_t m_RepStatus = 0;
    SCA_TezCounterInfo m_CounterInfo;
    SCA_TezCounterData* m_Data = nullptr;
    uint32_t m_InitMode;
};
