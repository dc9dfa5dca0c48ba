// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libkvn/SCA_KvnExport.h"
#include "libkvn/SCA_KvnStoredForm.h"
#include "libmor/SCA_Heap.h"
#include "libmor/SCA_Limits.h"
#include "libmor/SCA_Object.h"

class SCA_ConfigObj;

// File type (and "FileType" field) of a device report.
inline constexpr uint32_t SCA_KVN_REPORT_FILE_TYPE = 1018;
// Seconds of one report day: a report's AbsDay is its sample times in seconds / this.
inline constexpr uint64_t SCA_KVN_SECONDS_PER_DAY = 86400;

// The header of one device's report of one day, and the entry of the device's report index.
// Sample times are whole seconds on the absolute time's epoch. A plain record: copies take
// every field.
class SCA_KVN_EXPORT SCA_KvnReportInfo : public SCA_Object {
public:
    SCA_HEAP_OPERATORS

    SCA_KvnReportInfo() { SetConstructed(); }
    ~SCA_KvnReportInfo() override = default;
    SCA_KvnReportInfo(const SCA_KvnReportInfo&) = default;
    SCA_KvnReportInfo& operator=(const SCA_KvnReportInfo&) = default;

    uint32_t GetDeviceId() const { return m_DeviceId; }
    void SetDeviceId(uint32_t id) { m_DeviceId = id; }
    uint32_t GetReportId() const { return m_ReportId; }
    void SetReportId(uint32_t id) { m_ReportId = id; }
    uint32_t GetMonitorId() const { return m_MonitorId; }
    void SetMonitorId(uint32_t id) { m_MonitorId = id; }
    uint32_t GetAbsDay() const { return m_AbsDay; }
    void SetAbsDay(uint32_t day) { m_AbsDay = day; }
    uint64_t GetFirstReportTime() const { return m_FirstReportTime; }
    void SetFirstReportTime(uint64_t time) { m_FirstReportTime = time; }
    uint64_t GetLastReportTime() const { return m_LastReportTime; }
    void SetLastReportTime(uint64_t time) { m_LastReportTime = time; }
    // At most 255 bytes are kept, cut on a UTF-8 boundary; null empties.
    const char* GetHostName() const { return m_HostName; }
    void SetHostName(const char* name);
    uint32_t GetNumOfCounters() const { return m_NumOfCounters; }
    void SetNumOfCounters(uint32_t count) { m_NumOfCounters = count; }
    uint32_t GetNumOfErrors() const { return m_NumOfErrors; }
    void SetNumOfErrors(uint32_t count) { m_NumOfErrors = count; }
    uint32_t GetNumOfWarnings() const { return m_NumOfWarnings; }
    void SetNumOfWarnings(uint32_t count) { m_NumOfWarnings = count; }
    int IsSaved() const { return m_Saved; }
    void SetSaved(int saved) { m_Saved = saved; }

    // The header fields, "FileType" and "Version" first. 0 when a field cannot be added.
    int Serialize(SCA_ConfigObj* object) const;
    // "FileType" and "Version" are not checked; a missing or mistyped field keeps its member.
    int Deserialize(SCA_ConfigObj* object);
    // Takes the header of source (of a report, too) through the stored form.
    int SetContent(const SCA_KvnReportInfo* source);
    SCA_KvnReportInfo* Clone() const;
    // The same report: equal first and last report times; nothing else is compared.
    int IsIdentical(const SCA_KvnReportInfo* other) const;

    int Show() const;

private:
    uint32_t m_DeviceId = SCA_ALL_ONES;
    uint32_t m_ReportId = SCA_ALL_ONES;
    uint32_t m_MonitorId = SCA_ALL_ONES;
    uint32_t m_AbsDay = 0;
    uint64_t m_FirstReportTime = 0;
    uint64_t m_LastReportTime = 0;
    char m_HostName[SCA_KVN_TEXT_SIZE] = {};
    uint32_t m_NumOfCounters = 0;
    uint32_t m_NumOfErrors = 0;
    uint32_t m_NumOfWarnings = 0;
    int m_Saved = 0;
};
