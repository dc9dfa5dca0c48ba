// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libkvn/SCA_KvnDeviceInfo.h"
#include "libkvn/SCA_KvnDeviceSessions.h"
#include "libkvn/SCA_KvnExport.h"
#include "libkvn/SCA_KvnReportIndex.h"
#include "libkvn/SCA_KvnReportList.h"

class SCA_ConfigObj;
class SCA_KvnCounter;
class SCA_KvnNetConfigUser;
class SCA_TezConfig;

// The device data file and the report files, in the device's folder "device_%.6u" under the
// devices folder of the network settings.
inline constexpr const char* SCA_KVN_DEVICE_DATA_FILE = "kvn_device_data.hdx";
inline constexpr const char* SCA_KVN_DEVICE_ROOT = "Device";
inline constexpr uint32_t SCA_KVN_DEVICE_FILE_TYPE = 1024;
// Error code of a compact status update whose names lack a token or a sample time.
inline constexpr uint32_t SCA_KVN_ERROR_BAD_SAMPLE_NAME = 100144;

// The network server's full picture of one device: its record, error and warning counts, its
// session history, the index of its daily reports and the reports held in memory. A report
// covers one day: AbsDay is the sample time in seconds / 86400. Status updates turn the
// samples the device sends into per-minute statistics of the day's report.
//
// The device owns one folder with its data file and one file per report. Nothing here locks:
// the server's host program serialises every call on a device. Not copyable.
class SCA_KVN_EXPORT SCA_KvnDevice : public SCA_KvnDeviceInfo {
public:
    SCA_HEAP_OPERATORS

    // The pointers are kept, not owned; the user configuration gives the devices folder.
    SCA_KvnDevice(SCA_TezConfig* config, SCA_KvnNetConfigUser* userConfig);
    ~SCA_KvnDevice() override { ClearAll(); }
    SCA_KvnDevice(const SCA_KvnDevice&) = delete;
    SCA_KvnDevice& operator=(const SCA_KvnDevice&) = delete;

    SCA_TezConfig* GetConfig() const { return m_Config; }
    SCA_KvnNetConfigUser* GetUserConfig() const { return m_UserConfig; }

    uint32_t GetTotalMonitors() const { return m_TotalMonitors; }
    void SetTotalMonitors(uint32_t count) { m_TotalMonitors = count; }
    uint32_t GetActiveMonitors() const { return m_ActiveMonitors; }
    void SetActiveMonitors(uint32_t count) { m_ActiveMonitors = count; }
    uint32_t GetCurrentErrors() const { return m_CurrentErrors; }
    void SetCurrentErrors(uint32_t count) { m_CurrentErrors = count; }
    uint32_t GetCurrentWarnings() const { return m_CurrentWarnings; }
    void SetCurrentWarnings(uint32_t count) { m_CurrentWarnings = count; }
    uint32_t GetTotalErrors() const { return m_TotalErrors; }
    void SetTotalErrors(uint32_t count) { m_TotalErrors = count; }
    void AddTotalErrors() { ++m_TotalErrors; }
    uint32_t GetTotalWarnings() const { return m_TotalWarnings; }
    void SetTotalWarnings(uint32_t count) { m_TotalWarnings = count; }
    void AddTotalWarnings() { ++m_TotalWarnings; }
    uint32_t GetUpTime() const { return m_UpTime; }
    void SetUpTime(uint32_t upTime) { m_UpTime = upTime; }

    SCA_KvnDeviceSessions* GetSessions() { return &m_Sessions; }
    SCA_KvnReportIndex* GetReportIndex() { return &m_ReportIndex; }
    SCA_KvnReportList* GetReportList() { return &m_ReportList; }
    // The open session, or null.
    SCA_KvnDeviceSession* GetCurrentSession() const;

    // 5 with current errors, else 4 with current warnings, else 1 online, else 7.
    uint32_t GetRepStatus() const;

    // Empties sessions, report list and report index; no file is touched.
    int ClearAll();

    // The data file's and a report file's path, creating the device folder when needed. 0
    // (reported) without a devices folder, when the folder cannot be created or the path
    // does not fit.
    int BuildDeviceFileName(char* path, uint32_t size) const;
    int BuildReportFileName(uint32_t reportId, char* path, uint32_t size) const;

    // The record (without "Online"), the five counts, then the report index and the sessions
    // when their flags are set. 0 when any part cannot be written.
    int Serialize(int withReportIndex, int withSessions, SCA_ConfigObj* object) const;
    // ClearAll, then what Serialize writes; Online keeps its value; a missing part is no error.
    int Deserialize(int withReportIndex, int withSessions, SCA_ConfigObj* object);

    // With the report index, the reports that changed are saved first, so that the index
    // written never marks a report saved whose file does not hold it. error receives the file
    // code of a failed save or load. A failed load leaves the device unchanged.
    int Save(int withReportIndex, int withSessions, uint32_t* error);
    int Load(int withReportIndex, int withSessions, uint32_t* error);
    // Takes source's record (Online excepted), counts and, where flagged, index and sessions.
    int SetContent(const SCA_KvnDevice* source, int withReportIndex, int withSessions);

    // The open session, or a new one that becomes current.
    int OpenSession(SCA_KvnDeviceSession** session);
    // Stamps the open session's stop time and ends it; 1 also when none is open.
    int CloseSession();

    // A report in memory, or the indexed one: loaded from its file when there is one, else
    // made from its index entry. A report whose file cannot be read is left out of memory.
    int GetReport(uint32_t reportId, SCA_KvnReport** report);
    int GetLastReport(SCA_KvnReport** report);

    // Saves every report not saved yet and marks its index entry saved.
    int SaveReports();
    // Loads every indexed report that has a file and is not in memory yet.
    int LoadReports();
    // Empties the report list, deletes the report files and empties the index.
    int DeleteReports();

    // Full status of one monitor (see the .cpp for its layout); the first and last value
    // times it carries are handed back.
    int UpdateStatus(SCA_ConfigObj* status, uint64_t* firstValueTime, uint64_t* lastValueTime);
    // Compact status: sample sets named "monitor profile counters time", each field one
    // value named "counter type units fixedMax". A name without its tokens or a sample time
    // of 0 sets error to SCA_KVN_ERROR_BAD_SAMPLE_NAME.
    int UpdateStatusEx(SCA_ConfigObj* status, uint32_t* error);

protected:
    // A new index entry and report for that day, under the next report number.
    int AddReport(uint32_t numOfCounters, uint32_t absDay, SCA_KvnReportInfo** info,
                  SCA_KvnReport** report);
    // The day's report in memory, else its indexed one (as GetReport); 0 when none.
    int GetReportByDay(uint32_t absDay, SCA_KvnReportInfo** info, SCA_KvnReport** report);

private:
    // The report that a status update is filling, with its index entry.
    struct DayReport {
        SCA_KvnReportInfo* Entry = nullptr;
        SCA_KvnReport* Report = nullptr;
    };
    // What a counter of a status update says about itself.
    struct CounterProps {
        uint32_t Id = 0;
        uint32_t Type = 0;
        uint32_t Units = 0;
        double FixedMaxValue = 0.0;
    };

    int BuildDeviceDir(char* dir, uint32_t size) const;
    // path = the device folder (made when missing) + '/' + name; empty on failure.
    int BuildDeviceFile(const char* name, char* path, uint32_t size) const;
    // Brings the indexed report into memory (see GetReport); caller names the operation.
    int OpenIndexedReport(SCA_KvnReportInfo* entry, const char* caller, SCA_KvnReport** report);
    // Makes target the day's report (found or added) and marks it changed.
    int SelectDayReport(uint32_t absDay, uint32_t numOfCounters, DayReport* target);
    // The counter of the target report, added with props when the report has none.
    static int FindOrAddCounter(DayReport* target, const CounterProps& props,
                                SCA_KvnCounter** counter);
    static void NoteSampleTime(DayReport* target, uint64_t time);
    int UpdateCounterStatus(SCA_ConfigObj* counterObj, uint32_t numOfCounters,
                            SCA_ConfigObj* status, DayReport* target);
    int UpdateSampleSet(SCA_ConfigObj* sampleSet, uint32_t* error, DayReport* target);

    SCA_TezConfig* m_Config;
    SCA_KvnNetConfigUser* m_UserConfig;
    SCA_KvnDeviceSessions m_Sessions;
    SCA_KvnReportIndex m_ReportIndex;
    SCA_KvnReportList m_ReportList;
    uint32_t m_CurrentSessionId = SCA_KVN_NO_NUMBER;
    uint32_t m_TotalMonitors = 0;
    uint32_t m_ActiveMonitors = 0;
    uint32_t m_CurrentErrors = 0;
    uint32_t m_CurrentWarnings = 0;
    uint32_t m_TotalErrors = 0;
    uint32_t m_TotalWarnings = 0;
    uint32_t m_UpTime = 0;
};
