// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

#include "libmor/SCA_Heap.h"
#include "libmor/SCA_Limits.h"
#include "libmor/SCA_Object.h"
#include "model/SCA_TezRecordFields.h"

class SCA_ConfigObj;

// The header of a saved monitoring report: ids, times, titles, the computer and user it was
// made on and under, the profile and monitor it came from, and how many counters and errors
// it holds. Headers are copied freely (a report embeds one).
class SCA_TezReportInfo : public SCA_Object {
public:
    SCA_HEAP_OPERATORS

    SCA_TezReportInfo() { SetConstructed(); }
    ~SCA_TezReportInfo() override = default;

    // Every field, the construction flag and all seven texts are copied.
    SCA_TezReportInfo(const SCA_TezReportInfo&) = default;
    SCA_TezReportInfo& operator=(const SCA_TezReportInfo&) = default;

    uint32_t GetReportId() const { return m_ReportId; }
    void SetReportId(uint32_t id) { m_ReportId = id; }
    // Absolute times (100-nanosecond units); the process time is the monitoring duration in
    // the same units.
    uint64_t GetStartTime() const { return m_StartTime; }
    uint64_t GetReportTime() const { return m_ReportTime; }
    uint64_t GetProcessTime() const { return m_ProcessTime; }

    // Text setters copy at most 255 bytes, cut on a UTF-8 character boundary; null empties.
    const char* GetGlobalId() const { return m_GlobalId; }
    void SetGlobalId(const char* id);
    int IsGlobalIdSet() const { return m_GlobalId[0] != '\0' ? 1 : 0; }
    const char* GetProfileId() const { return m_ProfileId; }
    void SetProfileId(const char* id);
    int IsProfileIdSet() const { return m_ProfileId[0] != '\0' ? 1 : 0; }
    const char* GetReportTitle() const { return m_ReportTitle; }
    void SetReportTitle(const char* title);
    // The title the report is shown and saved with: its own, or for a report made without one
    // the title a monitor's saved report gets, "Korvanta <description> Report" (the profile name
    // standing in for a missing description); "Monitoring Report" when it has neither.
    std::string GetShownTitle() const;
    // "Korvanta <description> Report".
    static std::string DefaultTitle(const char* description);
    const char* GetProfileName() const { return m_ProfileName; }
    void SetProfileName(const char* name);
    const char* GetDescription() const { return m_Description; }
    void SetDescription(const char* description);
    const char* GetHostName() const { return m_HostName; }
    void SetHostName(const char* name);
    const char* GetUserName() const { return m_UserName; }
    void SetUserName(const char* name);

    uint32_t GetProfileMode() const { return m_ProfileMode; }
    void SetProfileMode(uint32_t mode) { m_ProfileMode = mode; }
    uint32_t GetMonitorId() const { return m_MonitorId; }
    void SetMonitorId(uint32_t id) { m_MonitorId = id; }
    uint32_t GetMonitorMode() const { return m_MonitorMode; }
    void SetMonitorMode(uint32_t mode) { m_MonitorMode = mode; }
    uint32_t GetMonitorType() const { return m_MonitorType; }
    void SetMonitorType(uint32_t type) { m_MonitorType = type; }
    uint32_t GetNumOfCounters() const { return m_NumOfCounters; }
    void SetNumOfCounters(uint32_t count) { m_NumOfCounters = count; }
    uint32_t GetNumOfErrors() const { return m_NumOfErrors; }
    void SetNumOfErrors(uint32_t count) { m_NumOfErrors = count; }

    // The same report: the same global id when this header has one, else the same host,
    // monitor, start time and report time.
    int IsSameReport(const SCA_TezReportInfo& other) const;

    virtual int Serialize(SCA_ConfigObj* object) const;
    // On failure (reported) the header is left as it was.
    virtual int Deserialize(SCA_ConfigObj* object);

protected:
    // The times are the report's own: only the report that owns the header sets them.
    void SetTimes(uint64_t startTime, uint64_t reportTime, uint64_t processTime) {
        m_StartTime = startTime;
        m_ReportTime = reportTime;
        m_ProcessTime = processTime;
    }

    void WriteInfoFields(SCA_TezFieldWriter* writer) const;
    void ReadInfoFields(SCA_TezFieldReader* reader);

private:
    uint32_t m_ReportId = SCA_ALL_ONES; // not in an index yet
    uint64_t m_StartTime = 0;
    uint64_t m_ReportTime = 0;
    uint64_t m_ProcessTime = 0;
    char m_GlobalId[SCA_TEZ_TEXT_SIZE] = {};
    char m_ProfileId[SCA_TEZ_TEXT_SIZE] = {};
    char m_ReportTitle[SCA_TEZ_TEXT_SIZE] = {};
    char m_ProfileName[SCA_TEZ_TEXT_SIZE] = {};
    char m_Description[SCA_TEZ_TEXT_SIZE] = {};
    char m_HostName[SCA_TEZ_TEXT_SIZE] = {};
    char m_UserName[SCA_TEZ_TEXT_SIZE] = {};
    uint32_t m_ProfileMode = 0;
    uint32_t m_MonitorId = SCA_ALL_ONES;
    uint32_t m_MonitorMode = 0;
    uint32_t m_MonitorType = 0;
    uint32_t m_NumOfCounters = 0;
    uint32_t m_NumOfErrors = 0;
};
