// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libmor/SCA_Heap.h"
#include "libmor/SCA_Object.h"
#include "model/SCA_OwnerList.h"

inline constexpr uint32_t SCA_CHART_TEXT_SIZE = 256;

// One value of a chart: what it belongs to (a process, an instance), the value, its report
// status and when it was taken.
struct tagSCA_CHART_VALUE {
    char Name[SCA_CHART_TEXT_SIZE];
    double Value;
    uint32_t Status;
    uint64_t AbsTime;
};

// A list of chart values that owns them (blocks of the platform heap).
using SCA_ChartValueList = SCA_OwnerList<tagSCA_CHART_VALUE>;

// The description of one chart for the chart dialogs: its name, title, footer, the texts of its
// categories and values, the counter type and units of the values, the values and the values
// shown. The record owns both lists; a copy owns copies of every value, never the source's.
// Text setters cut what does not fit (255 bytes) on a UTF-8 character boundary.
class SCA_ChartData : public SCA_Object {
public:
    SCA_HEAP_OPERATORS

    SCA_ChartData() { SetConstructed(); }
    ~SCA_ChartData() override = default;
    // Its flag is 0 when the values could not be copied (the lists are then empty).
    SCA_ChartData(const SCA_ChartData& other);
    // When the values cannot be copied the flag becomes 0 (the lists may then hold only some).
    SCA_ChartData& operator=(const SCA_ChartData& other);

    const char* GetName() const { return m_Name; }
    void SetName(const char* text);
    const char* GetTitle() const { return m_Title; }
    void SetTitle(const char* text);
    const char* GetFooter() const { return m_Footer; }
    void SetFooter(const char* text);
    const char* GetCategoryDescr() const { return m_CategoryDescr; }
    void SetCategoryDescr(const char* text);
    const char* GetValueDescr() const { return m_ValueDescr; }
    void SetValueDescr(const char* text);
    uint32_t GetCounterType() const { return m_CounterType; }
    void SetCounterType(uint32_t type) { m_CounterType = type; }
    uint32_t GetUnits() const { return m_Units; }
    void SetUnits(uint32_t units) { m_Units = units; }

    SCA_ChartValueList* GetValueList() { return &m_ValueList; }
    const SCA_ChartValueList* GetValueList() const { return &m_ValueList; }
    SCA_ChartValueList* GetDisplayList() { return &m_DisplayList; }
    const SCA_ChartValueList* GetDisplayList() const { return &m_DisplayList; }

    // Appends a copy of value to list, which then owns it. 0 when it cannot be allocated.
    static int AddValue(SCA_ChartValueList* list, const tagSCA_CHART_VALUE& value);

private:
    void CopyTexts(const SCA_ChartData& other);
    // Replaces to's values with copies of from's; to is left as it was when the copies cannot
    // be made.
    static int CopyValues(const SCA_ChartValueList& from, SCA_ChartValueList* to);

    char m_Name[SCA_CHART_TEXT_SIZE] = "";
    char m_Title[SCA_CHART_TEXT_SIZE] = "";
    char m_Footer[SCA_CHART_TEXT_SIZE] = "";
    char m_CategoryDescr[SCA_CHART_TEXT_SIZE] = "";
    char m_ValueDescr[SCA_CHART_TEXT_SIZE] = "";
    uint32_t m_CounterType = 0;
    uint32_t m_Units = 0;
    SCA_ChartValueList m_ValueList;
    SCA_ChartValueList m_DisplayList;
};
