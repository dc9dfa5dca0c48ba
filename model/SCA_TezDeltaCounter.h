// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libmor/SCA_Heap.h"
#include "libmor/SCA_Object.h"
#include "model/SCA_TezRecordFields.h"

// What one report says of a counter, as a comparison keeps it.
struct tagSCA_DELTA_COUNTER_DATA {
    double Average;
    double Minimum;
    double Maximum;
    uint32_t ValueCount; // 0: the report has the counter but no value of it
    uint32_t RepStatus;  // the counter's status at the end of that run
};
static_assert(sizeof(tagSCA_DELTA_COUNTER_DATA) == 32);

// How a counter changed from the first report to the second; picks its icon.
inline constexpr uint32_t SCA_TEZ_DELTA_SAME = 0;
inline constexpr uint32_t SCA_TEZ_DELTA_UP = 1;
inline constexpr uint32_t SCA_TEZ_DELTA_DOWN = 2;
inline constexpr uint32_t SCA_TEZ_DELTA_FIRST_ONLY = 3;  // the second report lacks it
inline constexpr uint32_t SCA_TEZ_DELTA_SECOND_ONLY = 4; // the first report lacks it
inline constexpr uint32_t SCA_TEZ_DELTA_NO_VALUES = 5;   // a report has no value to compare

inline constexpr uint32_t SCA_TEZ_DELTA_TEXT_SIZE = 64;

// One counter of a comparison of two reports: the counter (type and instance), its figures in
// both reports, the change of its average (absolute and relative, as numbers and as text) and
// the status that change earned: an error for a major change, a warning for a minor one.
// A plain record: copies copy every field.
class SCA_TezDeltaCounter : public SCA_Object {
public:
    SCA_HEAP_OPERATORS

    SCA_TezDeltaCounter() { SetConstructed(); }
    ~SCA_TezDeltaCounter() override = default;
    SCA_TezDeltaCounter(const SCA_TezDeltaCounter&) = default;
    SCA_TezDeltaCounter& operator=(const SCA_TezDeltaCounter&) = default;

    uint32_t GetCounterId() const { return m_CounterId; }
    void SetCounterId(uint32_t id) { m_CounterId = id; }
    uint32_t GetCounterType() const { return m_CounterType; }
    void SetCounterType(uint32_t type) { m_CounterType = type; }
    // Text setters cut what does not fit on a UTF-8 character boundary; null empties.
    const char* GetInstance() const { return m_Instance; }
    void SetInstance(const char* instance);
    double GetValueDelta() const { return m_ValueDelta; }
    void SetValueDelta(double delta) { m_ValueDelta = delta; }
    // In percent of the first report's average; not finite when that average is 0.
    double GetRelDelta() const { return m_RelDelta; }
    void SetRelDelta(double delta) { m_RelDelta = delta; }
    const char* GetValueDeltaString() const { return m_ValueDeltaString; }
    void SetValueDeltaString(const char* text);
    const char* GetRelDeltaString() const { return m_RelDeltaString; }
    void SetRelDeltaString(const char* text);
    // SCA_TEZ_DELTA_*.
    uint32_t GetDeltaIcon() const { return m_DeltaIcon; }
    void SetDeltaIcon(uint32_t icon) { m_DeltaIcon = icon; }
    uint32_t GetRepStatus() const { return m_RepStatus; }
    void SetRepStatus(uint32_t status) { m_RepStatus = status; }
    tagSCA_DELTA_COUNTER_DATA* GetCounterData1() { return &m_Data1; }
    const tagSCA_DELTA_COUNTER_DATA* GetCounterData1() const { return &m_Data1; }
    tagSCA_DELTA_COUNTER_DATA* GetCounterData2() { return &m_Data2; }
    const tagSCA_DELTA_COUNTER_DATA* GetCounterData2() const { return &m_Data2; }

private:
    uint32_t m_CounterId = 0;
    uint32_t m_CounterType = 0;
    char m_Instance[SCA_TEZ_TEXT_SIZE] = "";
    double m_ValueDelta = 0.0;
    double m_RelDelta = 0.0;
    char m_ValueDeltaString[SCA_TEZ_DELTA_TEXT_SIZE] = "";
    char m_RelDeltaString[SCA_TEZ_DELTA_TEXT_SIZE] = "";
    uint32_t m_DeltaIcon = SCA_TEZ_DELTA_SAME;
    uint32_t m_RepStatus = 0;
    tagSCA_DELTA_COUNTER_DATA m_Data1{};
    tagSCA_DELTA_COUNTER_DATA m_Data2{};
};
