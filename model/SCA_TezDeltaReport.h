// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libmor/SCA_Heap.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_OwnerList.h"
#include "model/SCA_TezDeltaCounter.h"
#include "model/SCA_TezRecordFields.h"
#include "model/SCA_TezReportInfo.h"

class SCA_TezReport;

// The comparison of two reports: their headers, one counter per counter type and instance that
// either report holds (matched in the first report's order, then those only the second has),
// how many changed a lot (major) or a little (minor), and a summary of the counts.
//
// The report owns its counters; it is not copyable, so that no two reports own one counter.
class SCA_TezDeltaReport : public SCA_OwnerList<SCA_TezDeltaCounter> {
public:
    SCA_HEAP_OPERATORS

    SCA_TezDeltaReport();
    ~SCA_TezDeltaReport() override = default;
    SCA_TezDeltaReport(const SCA_TezDeltaReport&) = delete;
    SCA_TezDeltaReport& operator=(const SCA_TezDeltaReport&) = delete;

    // Cut on a UTF-8 character boundary when it does not fit; null empties.
    const char* GetReportTitle() const { return m_ReportTitle; }
    void SetReportTitle(const char* title);
    // The worst status among the counters: 5 with a major change, 4 with a minor one, else 3.
    uint32_t GetRepStatus() const { return m_RepStatus; }
    void SetRepStatus(uint32_t status) { m_RepStatus = status; }
    uint32_t GetMajorChanges() const { return m_MajorChanges; }
    void SetMajorChanges(uint32_t count) { m_MajorChanges = count; }
    uint32_t GetMinorChanges() const { return m_MinorChanges; }
    void SetMinorChanges(uint32_t count) { m_MinorChanges = count; }
    // The thresholds the last Compare used, in percent.
    uint32_t GetMajorThreshold() const { return m_MajorThreshold; }
    uint32_t GetMinorThreshold() const { return m_MinorThreshold; }
    // "Counters", "Compared", "MajorChanges", "MinorChanges", "FirstOnly", "SecondOnly",
    // "MajorThreshold" and "MinorThreshold", as the last Compare left them.
    SCA_ConfigObj* GetSummary() { return &m_Summary; }
    SCA_TezReportInfo* GetReportInfo1() { return &m_ReportInfo1; }
    SCA_TezReportInfo* GetReportInfo2() { return &m_ReportInfo2; }
    const SCA_TezReportInfo* GetReportInfo1() const { return &m_ReportInfo1; }
    const SCA_TezReportInfo* GetReportInfo2() const { return &m_ReportInfo2; }

    // By list item id (the counters are numbered from 1 in list order).
    int GetCounter(uint32_t id, SCA_TezDeltaCounter** counter) const;
    // The first counter of that type whose instance is exactly instance (null: the empty text).
    int GetCounterByType(uint32_t type, const char* instance, SCA_TezDeltaCounter** counter) const;

    // Replaces what the report holds with the comparison of first and second. A counter's
    // change is the change of its average in percent of the first report's: at least
    // majorPercent is a major change, at least minorPercent a minor one (a change from an
    // average of 0 is major; no change is never one). Counters that only one report has, or
    // that a report has no value of, are listed but are neither. 0 for a null report or when a
    // counter cannot be added (the report then holds what was compared so far).
    int Compare(SCA_TezReport* first, SCA_TezReport* second, uint32_t majorPercent,
                uint32_t minorPercent);

private:
    int AddCounter(SCA_TezDeltaCounter* counter);
    // Sets the change of a counter that both reports have, and counts it; false when a report
    // has no value of it (nothing to compare).
    bool Rate(SCA_TezDeltaCounter* counter);
    int WriteSummary(uint32_t compared, uint32_t firstOnly, uint32_t secondOnly);

    char m_ReportTitle[SCA_TEZ_TEXT_SIZE] = "";
    uint32_t m_RepStatus = 0;
    uint32_t m_MajorChanges = 0;
    uint32_t m_MinorChanges = 0;
    uint32_t m_MajorThreshold = 0;
    uint32_t m_MinorThreshold = 0;
    SCA_ConfigObj m_Summary;
    SCA_TezReportInfo m_ReportInfo1;
    SCA_TezReportInfo m_ReportInfo2;
};
