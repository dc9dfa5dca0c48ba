// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "libtez/SCA_KorvantaClient.h"
#include "libtez/SCA_KorvantaMonitorRow.h"
#include "libtez/SCA_KorvantaServerStatus.h"
#include "libtez/SCA_TezProcessStatusText.h"
#include "model/SCA_TezCounterStatus.h"
#include "net/SCA_NetLoginThrottle.h"

class SCA_DebugLog;
class SCA_ExeModuleList;
class SCA_SoundActions;
class SCA_SrvMonitor;
class SCA_TezConfig;
class SCA_TezConfigUser;
class SCA_TezCounterInfo;
class SCA_TezCounterList;
class SCA_TezErrorList;
class SCA_TezProcess;
class SCA_TezProcessList;
class SCA_TezProcessLog;
class SCA_TezProcessRules;
class SCA_TezProfile;
class SCA_TezReport;
class SCA_TezReportIndex;
class SCA_TezReportInfo;

// The client object that the client's windows use: the protocol client with the login to a
// service and typed wrappers that read the objects of the replies into the records of model/
// (and records into the objects that operations send).
//
// A wrapper answers 1 or 0 and reports its own failure once, at level 5; it fills the caller's
// record in place (a record whose reading failed may be partly filled). Whatever object a call
// obtained is released before it returns.
class SCA_KorvantaInterface : public SCA_KorvantaClient {
public:
    // The host name that stands for this machine (also the detached viewers' default host).
    static constexpr const char* kLocalHost = "localhost";
    // The longest user name and password Login takes.
    static constexpr uint32_t kMaxCredential = 255;

    SCA_KorvantaInterface();
    ~SCA_KorvantaInterface() override;

    // 1 when the host given to Connect is kLocalHost, byte for byte.
    int IsLocalInterface() override;

    // A new client object of this kind, not connected, for a second connection to the same
    // service (the caller connects, logs in and deletes it); null when it cannot be made.
    virtual SCA_KorvantaInterface* NewClient() const;

    // The user name and password of the last successful login (255 bytes at most each).
    const char* GetLoginUser() const { return m_LoginUser; }
    const char* GetLoginPassword() const { return m_LoginPassword; }
    // Copy at most 255 bytes, cut on a UTF-8 boundary; null empties.
    void SetLoginUser(const char* user);
    void SetLoginPassword(const char* password);

    // Logs in by the login mode that the service announced for this connection: "LoginData"
    // carries "HostName" and "UserName", in mode 1 also "Password", in mode 2 "AuthSig" (the
    // signature of user name, password and the connection's server times). It travels
    // encrypted under the request key, "LoginResults" come back under the reply key. 1 when
    // the service's "LoginStatus" was read into *loginStatus (1 = logged in). Only a login
    // with status 1 makes user and password the login user and password: a failed login keeps
    // those of an earlier one. A user name or password over 255 bytes, an unknown mode, or in
    // mode 2 a pair too long for the signature is refused before anything is sent. The reply
    // is awaited at least kLoginReplyTimeoutMs, whatever the reply time-out: a service holds
    // the login of an address where someone guesses passwords until that address's turn.
    virtual int Login(const char* user, const char* password, uint32_t* loginStatus);
    // Beyond the longest hold: the check itself, on a busy service.
    static constexpr uint32_t kLoginReplyMarginMs = 5000;
    static constexpr uint32_t kLoginReplyTimeoutMs =
        SCA_NetLoginThrottle::kLongestWaitMs + kLoginReplyMarginMs;

    // --- what the windows poll, decoded by the codecs the service writes with ---------------

    // One counter of a monitor's counters status list.
    struct CounterState {
        uint32_t CounterId = 0;
        tagSCA_TEZ_COUNTER_STATUS Status{};
    };
    // A monitor's status, its counters, and the samples of the counter asked for.
    struct MonitorStatus {
        uint32_t Type = 0;
        uint32_t Status = 0;
        uint32_t RunState = 0;
        uint32_t Errors = 0;
        uint32_t Warnings = 0;
        uint64_t ProcessTime = 0;
        uint32_t CountersStatusId = 0;
        std::vector<CounterState> Counters;
        std::vector<tagSCA_TEZ_SAMPLE> Samples;
        uint64_t LastSoundTime = 0;
    };
    // A monitor's kind and counts, without its counters.
    struct MonitorStats {
        uint32_t Type = 0;
        uint32_t Status = 0;
        uint32_t RunState = 0;
        uint32_t Counters = 0;
        uint32_t Errors = 0;
        uint32_t Warnings = 0;
    };
    // One process of a process monitor's list.
    struct ProcessRow {
        char Name[256] = "";
        tagSCA_TEZ_PROCESS_STATUS Status;
    };
    struct ProcessListStatus {
        uint32_t Type = 0;
        uint32_t Status = 0;
        uint32_t ProcessStatus = 0;
        uint64_t StartTime = 0;
        uint32_t ListStatus = 0;
        // Whether the reply held a process list at all (an empty one is a list).
        int ListPresent = 0;
        // Processes holds the rows read before the first one that could not be read, which
        // is named in BadName with the failing token's place (1 to 10) in BadToken.
        int RowsRead = 0;
        uint32_t BadToken = 0;
        char BadName[256] = "";
        std::vector<ProcessRow> Processes;
        // Whether the log items could be read into the caller's log.
        int LogRead = 0;
    };
    // A process of a process monitor: its state and counts.
    struct ProcessState {
        uint32_t MonitorProcessStatus = 0;
        uint32_t Status = 0;
        uint32_t RepStatus = 0;
        uint32_t Errors = 0;
        uint32_t Warnings = 0;
        uint32_t Instances = 0;
        uint64_t StartTime = 0;
    };
    // The same with its counters' status and the samples of the counter asked for.
    struct ProcessCountersStatus {
        ProcessState State;
        std::vector<CounterState> Counters;
        std::vector<tagSCA_TEZ_SAMPLE> Samples;
    };

    using SCA_KorvantaClient::GetCounterStatusEx;
    using SCA_KorvantaClient::GetMonitorProcessCounterList;
    using SCA_KorvantaClient::GetMonitorProcessCountersStatusEx;
    using SCA_KorvantaClient::GetMonitorProcessExcludeList;
    using SCA_KorvantaClient::GetMonitorProcessListStatusEx;
    using SCA_KorvantaClient::GetMonitorStats;
    using SCA_KorvantaClient::GetMonitorStatusEx;
    using SCA_KorvantaClient::GetStatusEx;
    using SCA_KorvantaClient::SetMonitorProcessExcludeList;

    // The service's status and one row per monitor, in the service's order. 1 when the call
    // succeeded; *rowsRead is 0 when a monitor's text could not be read (rows then holds the
    // rows before it): what to make of that is the caller's.
    int GetStatusEx(SCA_KorvantaServerStatus* status, std::vector<SCA_KorvantaMonitorRow>* rows,
                    int* rowsRead);
    int GetMonitorStats(uint32_t monitorId, MonitorStats* stats);
    // Samples of counterId newer than lastDataTime (at most range of them) come with the status.
    int GetMonitorStatusEx(uint32_t monitorId, uint32_t counterId, uint64_t lastDataTime,
                           uint32_t range, MonitorStatus* status);
    int GetCounterStatusEx(uint32_t monitorId, uint32_t counterId, uint64_t since, uint32_t count,
                           tagSCA_TEZ_COUNTER_STATUS* status,
                           std::vector<tagSCA_TEZ_SAMPLE>* samples);
    // The process log's items from logFromId on go into log. 1 when the call succeeded; how
    // much of the reply could be read is in *status (a window keeps polling past a bad row).
    int GetMonitorProcessListStatusEx(uint32_t monitorId, uint32_t logFromId,
                                      ProcessListStatus* status, SCA_TezProcessLog* log);
    // A process's counters (their ids, types and computers) and its state.
    int GetMonitorProcessCounterList(uint32_t monitorId, uint32_t processId, ProcessState* state,
                                     SCA_TezCounterList* counters);
    // A process's counters' status; samples of counterId newer than since (at most span of
    // them) come with it.
    int GetMonitorProcessCountersStatusEx(uint32_t monitorId, uint32_t processId,
                                          uint32_t counterId, uint64_t since, uint32_t span,
                                          ProcessCountersStatus* status);
    // The names of the processes a process monitor leaves out, in the service's order.
    int GetMonitorProcessExcludeList(uint32_t monitorId, std::vector<std::string>* names);
    int SetMonitorProcessExcludeList(uint32_t monitorId, const std::vector<std::string>& names);

    // --- typed wrappers -------------------------------------------------------------------
    using SCA_KorvantaClient::GetCounterInfo;
    using SCA_KorvantaClient::GetDebugLog;
    using SCA_KorvantaClient::GetMonitorErrors;
    using SCA_KorvantaClient::GetMonitorProcess;
    using SCA_KorvantaClient::GetMonitorProcessList;
    using SCA_KorvantaClient::GetMonitorProcessLog;
    using SCA_KorvantaClient::GetMonitorProcessModules;
    using SCA_KorvantaClient::GetMonitorProfile;
    using SCA_KorvantaClient::GetMonitorReport;
    using SCA_KorvantaClient::GetProcessMonitorRules;
    using SCA_KorvantaClient::GetProductConfig;
    using SCA_KorvantaClient::GetSoundActions;
    using SCA_KorvantaClient::GetUserConfig;
    using SCA_KorvantaClient::IsMonitorExists;
    using SCA_KorvantaClient::IsReportExists;
    using SCA_KorvantaClient::SetCounterInfo;
    using SCA_KorvantaClient::SetProcessMonitorRules;
    using SCA_KorvantaClient::SetUserConfig;

    // Configurations.
    int GetProductConfig(SCA_TezConfig* config);
    // Reads every part of the user configuration.
    int GetUserConfig(SCA_TezConfig* config, SCA_TezConfigUser* userConfig);
    int SetUserConfig(SCA_TezConfigUser* userConfig, uint32_t mask);
    int GetProcessMonitorRules(SCA_TezProcessRules* rules);
    int SetProcessMonitorRules(SCA_TezProcessRules* rules);
    int GetDebugLog(uint32_t lastMessageId, uint32_t count, uint32_t* logSessionId,
                    SCA_DebugLog* log);
    // Why the service refused operation: it logs each refusal as an error naming the
    // operation ("<class>::<operation>: <reason>"). The reason of its newest such error after
    // the log message sinceId (all ones: the whole log) goes to *reason, empty when it logged
    // none; 0 when the log cannot be read.
    int GetRefusalReason(uint32_t sinceId, const char* operation, std::string* reason);
    int GetSoundActions(uint64_t since, uint64_t* lastActionTime, SCA_SoundActions* actions);

    // Monitors (GetMonitor and SetMonitor carry GetMonitorObj and SetMonitorObj).
    int GetMonitor(uint32_t monitorId, SCA_SrvMonitor* monitor);
    int SetMonitor(uint32_t monitorId, SCA_SrvMonitor* monitor);
    int IsMonitorExists(SCA_SrvMonitor* monitor, uint32_t* monitorId, uint32_t* exists);
    int GetMonitorProfile(uint32_t monitorId, uint32_t* type, uint32_t* countersStatusId,
                          SCA_TezProfile* profile);
    int GetMonitorErrors(uint32_t monitorId, SCA_TezErrorList* errors);
    int GetMonitorReport(uint32_t monitorId, SCA_TezReport* report);
    // One counter of a monitor's profile, its settings and conditions.
    int GetCounterInfo(uint32_t monitorId, uint32_t counterId, SCA_TezCounterInfo* info);
    int SetCounterInfo(uint32_t monitorId, uint32_t counterId, SCA_TezCounterInfo* info);

    // Processes of a process monitor.
    int GetMonitorProcessList(uint32_t monitorId, uint32_t details, SCA_TezProcessList* list);
    int GetMonitorProcessLog(uint32_t monitorId, SCA_TezProcessLog* log);
    int GetMonitorProcess(uint32_t monitorId, uint32_t processId, uint32_t loadInfo,
                          SCA_TezProcess* process);
    // *errorCode: 0 when the modules were read, else the service's code.
    int GetMonitorProcessModules(uint32_t monitorId, uint32_t processId, uint32_t option,
                                 char* processName, SCA_ExeModuleList* modules,
                                 uint32_t* errorCode);

    // Reports (GetReportIndex and GetReport carry GetReportIndexObj and GetReportObj).
    int GetReportIndex(SCA_TezReportIndex* index);
    int GetReport(uint32_t reportId, SCA_TezReport* report);
    // Whether the service keeps the report of this header (only the header travels).
    int IsReportExists(const SCA_TezReportInfo& info, uint32_t* exists);
    // Hands a whole report, samples included, to the service's index: its new id in *reportId.
    int AddReport(SCA_TezReport* report, uint32_t* reportId);

    // Inventories: the caller's list receives the service's items (field name = item name);
    // *status is 1 when the service could read them, else its error code.
    int GetCpuList(const char* computer, SCA_ConfigObj* list, uint32_t* status);
    int GetCpuListEx(const char* computer, SCA_ConfigObj* list, uint32_t* status);
    int GetUsbDevList(const char* computer, SCA_ConfigObj* list, uint32_t* status);
    int GetNicList(const char* computer, SCA_ConfigObj* list, uint32_t* status);
    int GetDiskList(const char* computer, SCA_ConfigObj* list, uint32_t* status);
    int GetPDiskList(const char* computer, SCA_ConfigObj* list, uint32_t* status);
    int GetProcessList(const char* computer, SCA_ConfigObj* filter, SCA_ConfigObj* list,
                       uint32_t* status);
    int GetSmbShareList(const char* computer, uint32_t kind, SCA_ConfigObj* filter,
                        SCA_ConfigObj* list, uint32_t* status);
    int GetSqlInstances(const char* computer, SCA_ConfigObj* list, uint32_t* status);
    int GetSqlDatabases(const char* computer, const char* instance, SCA_ConfigObj* filter,
                        SCA_ConfigObj* list, uint32_t* status);
    int GetWebSiteList(const char* computer, SCA_ConfigObj* filter, SCA_ConfigObj* list,
                       uint32_t* status);
    int GetISCSITargets(const char* computer, SCA_ConfigObj* filter, SCA_ConfigObj* list,
                        uint32_t* status);
    int GetPrinters(const char* computer, SCA_ConfigObj* list, uint32_t* status);

    // Reports a wrapper's failure at level 5 as "SCA_KorvantaInterface::<wrapper>: <what>"; 0.
    static int ReportFailure(const char* wrapper, const char* what);
    // The same for a failed operation, except that a lost connection is the caller's to tell
    // (once, in its own words). 0.
    int OperationFailed(const char* wrapper) const;

private:
    // The credentials part of "LoginData" for the service's mode; 0 (reported) when the login
    // must stop here.
    int AddCredentials(SCA_ConfigObj* data, const char* user, const char* password);
    // Sends the encrypted data and reads the decrypted status.
    int ExchangeLogin(SCA_ConfigObj* data, uint32_t* loginStatus);

    char m_LoginUser[kMaxCredential + 1] = "";
    char m_LoginPassword[kMaxCredential + 1] = "";
};
