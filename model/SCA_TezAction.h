// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libmor/SCA_Heap.h"
#include "libmor/SCA_Limits.h"
#include "libmor/SCA_Object.h"

class SCA_TezCond;
class SCA_TezCounter;
class SCA_TezProcessList;
class SCA_TezProcessRule;
class SCA_TezReport;

// An action that a fired condition or process rule queues for the action controller: what
// kind, when, what it concerns (report, counter, condition, process rule, process list) and
// what a report action needs. The five objects it concerns are referred to, never owned; a
// copy refers to the same ones. Text setters cut what does not fit on a UTF-8 boundary.
class SCA_TezAction : public SCA_Object {
public:
    SCA_HEAP_OPERATORS

    SCA_TezAction() { SetConstructed(); }
    SCA_TezAction(const SCA_TezAction&) = default;
    SCA_TezAction& operator=(const SCA_TezAction&) = default;
    ~SCA_TezAction() override = default;

    uint32_t GetActionType() const { return m_ActionType; }
    void SetActionType(uint32_t type) { m_ActionType = type; }
    uint32_t GetActionId() const { return m_ActionId; }
    void SetActionId(uint32_t id) { m_ActionId = id; }
    uint64_t GetActionTime() const { return m_ActionTime; }
    void SetActionTime(uint64_t time) { m_ActionTime = time; }

    SCA_TezReport* GetReport() const { return m_Report; }
    SCA_TezCounter* GetCounter() const { return m_Counter; }
    SCA_TezCond* GetCond() const { return m_Cond; }
    SCA_TezProcessRule* GetProcessRule() const { return m_ProcessRule; }
    SCA_TezProcessList* GetProcessList() const { return m_ProcessList; }
    // What the action concerns; any of them may be null.
    void SetSubject(SCA_TezReport* report, SCA_TezCounter* counter, SCA_TezCond* cond,
                    SCA_TezProcessRule* processRule, SCA_TezProcessList* processList);

    uint32_t GetReportFormat() const { return m_ReportFormat; }
    void SetReportFormat(uint32_t format) { m_ReportFormat = format; }
    uint32_t GetReportMode() const { return m_ReportMode; }
    void SetReportMode(uint32_t mode) { m_ReportMode = mode; }
    uint32_t GetReportsHistory() const { return m_ReportsHistory; }
    void SetReportsHistory(uint32_t count) { m_ReportsHistory = count; }
    const char* GetReportDir() const { return m_ReportDir; }
    void SetReportDir(const char* dir);
    const char* GetReportEmail() const { return m_ReportEmail; }
    void SetReportEmail(const char* address);
    // The monitor whose condition acted; all ones when the action names none.
    uint32_t GetMonitorId() const { return m_MonitorId; }
    void SetMonitorId(uint32_t id) { m_MonitorId = id; }
    const char* GetMonitorName() const { return m_MonitorName; }
    void SetMonitorName(const char* name);

private:
    uint32_t m_ActionType = 0;
    uint32_t m_ActionId = 0;
    uint64_t m_ActionTime = 0;
    SCA_TezReport* m_Report = nullptr;
    SCA_TezCounter* m_Counter = nullptr;
    SCA_TezCond* m_Cond = nullptr;
    SCA_TezProcessRule* m_ProcessRule = nullptr;
    SCA_TezProcessList* m_ProcessList = nullptr;
    uint32_t m_ReportFormat = 0;
    uint32_t m_ReportMode = 0;
    uint32_t m_ReportsHistory = 0;
    uint32_t m_MonitorId = SCA_ALL_ONES;
    char m_ReportDir[256] = "";
    char m_ReportEmail[256] = "";
    char m_MonitorName[256] = "";
};
