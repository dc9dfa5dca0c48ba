// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libkvn/SCA_KvnCounterMinutes.h"
#include "libkvn/SCA_KvnExport.h"
#include "libmor/SCA_Heap.h"
#include "libmor/SCA_Limits.h"
#include "libmor/SCA_Object.h"

class SCA_ConfigObj;
class SCA_KvnNetConfigUser;

// One counter that a device reports, with the per-minute summary of its values. Report status
// and last trigger time are carried for whoever evaluates rules; this library only keeps them.
class SCA_KVN_EXPORT SCA_KvnCounter : public SCA_Object {
public:
    SCA_HEAP_OPERATORS

    SCA_KvnCounter() { SetConstructed(); }
    ~SCA_KvnCounter() override = default;
    // Copies take every member and their own copy of the minute records; flag 0 when the
    // records could not be copied.
    SCA_KvnCounter(const SCA_KvnCounter& other);
    SCA_KvnCounter& operator=(const SCA_KvnCounter& other);

    uint32_t GetCounterId() const { return m_CounterId; }
    void SetCounterId(uint32_t id) { m_CounterId = id; }
    uint32_t GetCounterType() const { return m_CounterType; }
    void SetCounterType(uint32_t type) { m_CounterType = type; }
    uint32_t GetUnits() const { return m_Units; }
    void SetUnits(uint32_t units) { m_Units = units; }
    uint32_t GetTotalValues() const { return m_TotalValues; }
    void SetTotalValues(uint32_t count) { m_TotalValues = count; }
    double GetFixedMaxValue() const { return m_FixedMaxValue; }
    void SetFixedMaxValue(double value) { m_FixedMaxValue = value; }
    uint64_t GetLastTriggerTime() const { return m_LastTriggerTime; }
    void SetLastTriggerTime(uint64_t time) { m_LastTriggerTime = time; }
    uint32_t GetRepStatus() const { return m_RepStatus; }
    void SetRepStatus(uint32_t status) { m_RepStatus = status; }
    SCA_KvnCounterMinutes* GetMinutes() { return &m_Minutes; }
    const SCA_KvnCounterMinutes* GetMinutes() const { return &m_Minutes; }

    // "Warning" (4), "Error" (5, 6), else "Normal".
    const char* GetRepStatusString() const;

    // Adds a value at time (seconds) to the minutes and counts it; the settings are not
    // consulted. 0, nothing changed, when the minute record cannot be allocated.
    int AddValue(SCA_KvnNetConfigUser* netConfig, uint64_t time, double value);
    // Empties the minutes; the other members stay.
    int ClearAll();

    int Serialize(SCA_ConfigObj* object) const;
    int Deserialize(SCA_ConfigObj* object);

    int Show() const;
    uint64_t CalcMemoryUsage() const;

private:
    uint32_t m_CounterId = SCA_ALL_ONES;
    uint32_t m_CounterType = SCA_ALL_ONES;
    uint32_t m_Units = 0;
    uint32_t m_TotalValues = 0;
    double m_FixedMaxValue = 0.0;
    uint64_t m_LastTriggerTime = 0;
    uint32_t m_RepStatus = 3;
    SCA_KvnCounterMinutes m_Minutes;
};
