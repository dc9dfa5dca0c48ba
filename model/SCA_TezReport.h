// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libmor/SCA_Heap.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_OwnerList.h"
#include "model/SCA_TezCounter.h"
#include "model/SCA_TezErrorList.h"
#include "model/SCA_TezReportInfo.h"

class SCA_TezConfig;
class SCA_TezConfigUser;

// The live counters of a report, each under its counter id; the list owns them.
using SCA_TezReportCounters = SCA_OwnerList<SCA_TezCounter>;

// The report of a counter monitor: its header, a summary, the live counters and the errors
// recorded against them. Not copyable: it owns its counters, errors and summary.
class SCA_TezReport : public SCA_TezReportInfo {
public:
    SCA_HEAP_OPERATORS

    // The configurations are the caller's and outlive the report. The construction flag is 0
    // when the summary cannot be made.
    explicit SCA_TezReport(SCA_TezConfig* config = nullptr, SCA_TezConfigUser* userConfig = nullptr,
                           uint32_t counterMode = 0);
    ~SCA_TezReport() override = default;
    SCA_TezReport(const SCA_TezReport&) = delete;
    SCA_TezReport& operator=(const SCA_TezReport&) = delete;

    // The run's start, the report's time and the process time (100-ns units): the sampling
    // manager sets them on its report.
    using SCA_TezReportInfo::SetTimes;

    SCA_TezConfig* GetConfig() const { return m_Config; }
    SCA_TezConfigUser* GetUserConfig() const { return m_UserConfig; }
    uint32_t GetCounterMode() const { return m_CounterMode; }
    void SetCounterMode(uint32_t mode) { m_CounterMode = mode; }
    SCA_ConfigObj* GetSummary() { return &m_Summary; }
    SCA_TezReportCounters* GetCounterList() { return &m_Counters; }
    SCA_TezErrorList* GetErrorList() { return &m_ErrorList; }

    // Appends counter (owned from then on) under its counter id. 0 when it cannot be linked
    // in; the caller then still owns it.
    int AddCounter(SCA_TezCounter* counter);
    // The first counter from the head of that counter type.
    int GetCounterByType(uint32_t counterType, SCA_TezCounter** counter) const;
    // The first counter of that type whose instance is exactly instance (a null instance finds
    // nothing).
    int GetCounter(uint32_t counterType, const char* instance, SCA_TezCounter** counter) const;
    // The counter of the list item with that id.
    int GetCounter(uint32_t id, SCA_TezCounter** counter) const;

    // Keeps only the counter of the list item with that id and the errors recorded against it,
    // for a report of that one counter. 0, with the report unchanged, when it has no such
    // counter.
    int KeepCounter(uint32_t id);

    // Counters whose status is 4 (warnings) and exactly 5 (errors).
    uint32_t GetWarnings() const;
    uint32_t GetErrors() const;
    // The values the counters' sample stores hold together.
    uint64_t GetTotalValueCount() const;
    // The newest value time of the head counter's store; 0 without one.
    uint64_t GetLastTime() const;
    // An estimate of the bytes the report and its records take.
    uint64_t CalcMemoryUsage() const;

    // Sets the header's counts and rewrites the summary: "Counters", "Errors" and "Warnings"
    // (counters in error and in warning), "ErrorRecords", "Values" (values kept over the run),
    // "FirstTime" and "LastTime" of the samples. 0 when the summary cannot be written.
    int UpdateSummary();
    // What a summary field is shown as ("Errors Recorded" for "ErrorRecords"); the name itself
    // for a field without a label.
    static const char* GetSummaryLabel(const char* field);
    // Rewrites the summary's child "Statistics": one child per counter, named by its id, with
    // its type, instance and value count and, once it has values, "Minimum", "Maximum",
    // "Average" and "Last"; a counter without values has no such fields, never a 0/0.
    int UpdateStatistics();

    // The header's fields, "CounterMode", and children "Summary", "Counters" (with their
    // samples) and "Errors".
    int Serialize(SCA_ConfigObj* object) const override;
    // Reads what Serialize wrote; parts absent from object are left as they are. 0 when the
    // header or a part cannot be read.
    int Deserialize(SCA_ConfigObj* object) override;

private:
    // Puts a copy of statistics in place of the summary's "Statistics".
    int ReplaceStatistics(const SCA_ConfigObj& statistics);

    SCA_TezConfig* m_Config;
    SCA_TezConfigUser* m_UserConfig;
    uint32_t m_CounterMode;
    SCA_ConfigObj m_Summary;
    SCA_TezReportCounters m_Counters;
    SCA_TezErrorList m_ErrorList;
};
