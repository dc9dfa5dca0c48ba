// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libmor/SCA_Heap.h"
#include "libmor/SCA_Limits.h"
#include "libmor/SCA_Object.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezProfile.h"
#include "model/SCA_TezRecordFields.h"
#include "model/SCA_TezVocabulary.h"

class SCA_ConfigObj;
class SCA_TezConfig;
class SCA_TezConfigUser;

// The full definition of a monitor as the service keeps it: identity and modes, the computer,
// whether the service starts it by itself, the settings for saving its reports periodically,
// and its own profile of counters.
class SCA_SrvMonitor : public SCA_Object {
public:
    SCA_HEAP_OPERATORS

    // The configurations are kept, not owned (either may be null). A new monitor is a counter
    // monitor of the local computer that starts by itself, stamped with the current time.
    SCA_SrvMonitor(SCA_TezConfig* config, SCA_TezConfigUser* userConfig);
    ~SCA_SrvMonitor() override = default;

    // A copy owns a copy of the profile (counters and conditions), never the source's; its
    // flag is 0 when the profile could not be copied.
    SCA_SrvMonitor(const SCA_SrvMonitor& other);
    // As SetContent; when that fails the monitor keeps its content and its flag becomes 0.
    SCA_SrvMonitor& operator=(const SCA_SrvMonitor& other);
    // Takes every field, the flag and a copy of the profile of from. 0, with the monitor
    // unchanged, when the profile cannot be copied.
    int SetContent(const SCA_SrvMonitor& from);

    SCA_TezConfig* GetConfig() const { return m_Fields.Config; }
    SCA_TezConfigUser* GetUserConfig() const { return m_Fields.UserConfig; }

    uint32_t GetMonitorId() const { return m_Fields.MonitorId; }
    void SetMonitorId(uint32_t id) { m_Fields.MonitorId = id; }
    uint32_t GetMonitorType() const { return m_Fields.MonitorType; }
    void SetMonitorType(uint32_t type) { m_Fields.MonitorType = type; }
    uint32_t GetMonitorMode() const { return m_Fields.MonitorMode; }
    void SetMonitorMode(uint32_t mode) { m_Fields.MonitorMode = mode; }
    uint32_t GetProfileMode() const { return m_Fields.ProfileMode; }
    void SetProfileMode(uint32_t mode) { m_Fields.ProfileMode = mode; }
    // Text setters copy bounded by their field (255, 63 and 255 bytes), cut on a UTF-8
    // character boundary; null empties the field.
    const char* GetDescription() const { return m_Fields.Description; }
    void SetDescription(const char* description);
    const char* GetComputerName() const { return m_Fields.ComputerName; }
    void SetComputerName(const char* name);
    int IsRemoteMonitor() const { return m_Fields.RemoteMonitor; }
    void SetRemoteMonitor(int remote) { m_Fields.RemoteMonitor = remote; }
    int GetAutoStart() const { return m_Fields.AutoStart; }
    void SetAutoStart(int autoStart) { m_Fields.AutoStart = autoStart; }
    uint64_t GetAbsTime() const { return m_Fields.AbsTime; }
    void SetAbsTime(uint64_t time) { m_Fields.AbsTime = time; }
    int GetSaveReports() const { return m_Fields.SaveReports; }
    void SetSaveReports(int save) { m_Fields.SaveReports = save; }
    uint64_t GetSaveReportsTime() const { return m_Fields.SaveReportsTime; }
    void SetSaveReportsTime(uint64_t time) { m_Fields.SaveReportsTime = time; }
    // Seconds between two periodic saves.
    uint32_t GetSaveReportsPeriod() const { return m_Fields.SaveReportsPeriod; }
    void SetSaveReportsPeriod(uint32_t seconds) { m_Fields.SaveReportsPeriod = seconds; }
    uint32_t GetSaveReportsFormat() const { return m_Fields.SaveReportsFormat; }
    void SetSaveReportsFormat(uint32_t format) { m_Fields.SaveReportsFormat = format; }
    uint32_t GetSaveReportsMode() const { return m_Fields.SaveReportsMode; }
    void SetSaveReportsMode(uint32_t mode) { m_Fields.SaveReportsMode = mode; }
    uint32_t GetSaveReportsHistory() const { return m_Fields.SaveReportsHistory; }
    void SetSaveReportsHistory(uint32_t count) { m_Fields.SaveReportsHistory = count; }
    const char* GetSaveReportsDir() const { return m_Fields.SaveReportsDir; }
    void SetSaveReportsDir(const char* dir);
    // The processes a process monitor leaves out besides the ones every run leaves out: the
    // user's list, one empty-valued field per process name ("ExcludeList", empty by default).
    SCA_ConfigObj* GetExcludeList() { return &m_ExcludeList; }
    const SCA_ConfigObj* GetExcludeList() const { return &m_ExcludeList; }
    SCA_TezProfile* GetProfile() { return &m_Profile; }
    const SCA_TezProfile* GetProfile() const { return &m_Profile; }

    int IsLocal() const { return m_Fields.RemoteMonitor == 0 ? 1 : 0; }
    // 0 without a computer name, else the remote-monitor flag.
    int IsRemote() const { return m_Fields.ComputerName[0] == '\0' ? 0 : m_Fields.RemoteMonitor; }
    // A counter monitor without counters; a process monitor is never empty.
    int IsEmpty() const;

    // Adds the fields, a child object "Profile" and, when the list has names, "ExcludeList".
    int Serialize(SCA_ConfigObj* object) const;
    // Reads the fields and profile that object holds; on failure (reported) the monitor is
    // left as it was.
    int Deserialize(SCA_ConfigObj* object);

private:
    struct Fields {
        SCA_TezConfig* Config = nullptr;
        SCA_TezConfigUser* UserConfig = nullptr;
        uint32_t MonitorId = SCA_ALL_ONES; // not in a list yet
        uint32_t MonitorType = SCA_SRV_MONITOR_COUNTERS;
        uint32_t MonitorMode = 0;
        uint32_t ProfileMode = 0;
        char Description[SCA_TEZ_TEXT_SIZE] = {};
        char ComputerName[SCA_TEZ_NAME_SIZE] = {};
        int RemoteMonitor = 0;
        int AutoStart = 1;
        uint64_t AbsTime = 0;
        int SaveReports = 0;
        uint64_t SaveReportsTime = 0;
        uint32_t SaveReportsPeriod = 3600;
        uint32_t SaveReportsFormat = 0; // HTML
        uint32_t SaveReportsMode = 0;
        uint32_t SaveReportsHistory = 10;
        char SaveReportsDir[SCA_TEZ_TEXT_SIZE] = {};
    };

    static void WriteFields(const Fields& fields, SCA_TezFieldWriter* writer);
    static void ReadFields(SCA_TezFieldReader* reader, Fields* fields);

    Fields m_Fields;
    SCA_TezProfile m_Profile;
    SCA_ConfigObj m_ExcludeList;
};
