// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libmor/SCA_Heap.h"
#include "libmor/SCA_Object.h"

// One performance counter as a collector samples it, and the counter-type vocabulary: the
// symbolic name and display description of each counter type, and which types measure
// processor time.
//
// The vocabulary covers types 1 to 317 (with gaps); every type outside it, and every gap,
// answers "INV". The texts are static and may be kept for the life of the program.
class SCA_PerfMonCounter : public SCA_Object {
public:
    SCA_HEAP_OPERATORS

    SCA_PerfMonCounter() { SetConstructed(); }
    ~SCA_PerfMonCounter() override = default;

    // Copies every field, the construction flag and the platform handle too: both records then
    // name the same handle, and only one of them may release it.
    SCA_PerfMonCounter(const SCA_PerfMonCounter&) = default;
    SCA_PerfMonCounter& operator=(const SCA_PerfMonCounter&) = default;

    uint32_t GetId() const { return m_Id; }
    void SetId(uint32_t id) { m_Id = id; }
    uint32_t GetTezId() const { return m_TezId; }
    void SetTezId(uint32_t id) { m_TezId = id; }
    uint32_t GetType() const { return m_Type; }
    void SetType(uint32_t type) { m_Type = type; }
    uint32_t GetUpdateCount() const { return m_UpdateCount; }
    void SetUpdateCount(uint32_t count) { m_UpdateCount = count; }
    double GetValue() const { return m_Value; }
    void SetValue(double value) { m_Value = value; }
    int IsValid() const { return m_Valid; }
    void SetValid(int valid) { m_Valid = valid; }
    void* GetPdhCounter() const { return m_PdhCounter; }

    // The symbolic name of this record's type ("CPU_USAGE"), or "INV".
    const char* GetName() const { return GetTypeName(m_Type); }
    // The display description of this record's type ("CPU Usage"), or "INV".
    const char* GetDescription() const { return GetTypeDescription(m_Type); }
    // 1 when the given type (not the record's own) measures processor time, else 0.
    static int IsCpuUsageCounter(uint32_t type);

    static const char* GetTypeName(uint32_t type);
    static const char* GetTypeDescription(uint32_t type);

private:
    // Only the collector that created the platform counter sets its handle.
    friend class SCA_PerfMonitor;

    uint32_t m_Id = 0;
    uint32_t m_TezId = 0;
    uint32_t m_Type = 0;
    uint32_t m_UpdateCount = 0;
    double m_Value = 0.0;
    int m_Valid = 0;
    void* m_PdhCounter = nullptr;
};
