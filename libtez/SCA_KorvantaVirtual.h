// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libmor/SCA_Object.h"

class SCA_ConfigObj;

// The client operations of the monitoring service, in slot order: the destructor, Destroy and
// IsLocalInterface come first (from SCA_Object and here), then the 120 operations that travel
// over the connection, in the order of the command table (SCA_KorvantaCommands.h), which also
// gives each operation's field names, kinds, directions and login rule.
//
// The client object implements every operation by one request and one reply; on the service
// each connection's agent implements them and the command server's handlers call them. The
// operations here answer 0 and touch nothing, so an agent overrides what it offers.
//
// Every operation answers 1 for success and 0 for failure. Text inputs are at most 255 bytes;
// a text output is a caller's buffer of SCA_NET_TEXT_SIZE (256) bytes. An object input stays
// its owner's. An object output is made by the callee and handed to the caller, who releases
// it with Destroy; the client's object outputs are null after a failure, and the server
// releases an object that an agent hands out with a failure.
class SCA_KorvantaVirtual : public SCA_Object {
public:
    ~SCA_KorvantaVirtual() override;

    // 1 when the interface talks to a service on this machine; 0 here.
    virtual int IsLocalInterface();

    virtual int GetDebugLog(uint32_t lastMessageId, uint32_t count, uint32_t* logSessionId,
                            SCA_ConfigObj** debugLog);
    virtual int ClearDebugLog();
    virtual int LoginEx2(SCA_ConfigObj* loginData, SCA_ConfigObj** loginResults);
    virtual int GetStatus(uint32_t* status);
    virtual int GetStatusObj(SCA_ConfigObj** serverStatus);
    virtual int GetStatusEx(SCA_ConfigObj** serverStatus, SCA_ConfigObj** monitorsStatus);
    virtual int GetServerInfo(uint32_t* productType, char* version, char* hostName);
    virtual int GetServerInfoEx(uint32_t* productType, char* version, char* hostName,
                                uint32_t* enableOsLogon, uint32_t* serverLogonMode);
    virtual int GetServiceInfo(char* hostName, char* userName);
    virtual int GetServiceSystemAccountStatus(uint32_t* systemAccount);
    virtual int GetOsVersion(uint32_t* majorVersion, uint32_t* minorVersion, uint32_t* buildNumber,
                             uint32_t* platformId);
    virtual int GetProductConfig(SCA_ConfigObj** config);
    virtual int SetProductConfig(SCA_ConfigObj* config);
    virtual int GetUserConfig(SCA_ConfigObj** config);
    virtual int SetUserConfig(SCA_ConfigObj* config, uint32_t mask);
    virtual int GetProcessMonitorRules(SCA_ConfigObj** rules);
    virtual int SetProcessMonitorRules(SCA_ConfigObj* rules);
    virtual int SetupSmtpServer(const char* server, const char* user, const char* password,
                                const char* sourceAddress, uint32_t port, uint32_t connectMode,
                                uint32_t secureConnect, uint32_t login, uint32_t testFirst,
                                uint32_t* result);
    virtual int GetSmtpServerSetup(SCA_ConfigObj** config);
    virtual int TestSmtpServer(uint32_t* result);
    virtual int StopServer();
    virtual int RestartServer();
    virtual int Suspend();
    virtual int GetProfileCount(uint32_t* count);
    virtual int GetProfileInfo(uint32_t index, uint32_t* profileId, char* name);
    virtual int GetProfileInfoList(SCA_ConfigObj** profilesInfoList);
    virtual int GetProfiles(SCA_ConfigObj** profiles);
    virtual int GetProfile(uint32_t profileId, SCA_ConfigObj** profile);
    virtual int SetProfile(uint32_t profileId, SCA_ConfigObj* profile);
    virtual int IsProfileExists(const char* name, uint32_t* exists, uint32_t* profileId);
    virtual int AddProfile(const char* name, uint32_t preset, uint32_t* profileId);
    virtual int CopyProfile(uint32_t profileId, const char* newName, uint32_t* newProfileId);
    virtual int RenameProfile(uint32_t profileId, const char* name);
    virtual int MoveProfileUp(uint32_t profileId);
    virtual int MoveProfileDown(uint32_t profileId);
    virtual int DeleteProfile(uint32_t profileId);
    virtual int DeleteProfileByName(const char* name);
    virtual int PerfMonitorConnect(const char* computer, uint32_t* status);
    virtual int PerfMonitorGetCpuList(const char* computer, SCA_ConfigObj** list, uint32_t* status);
    virtual int PerfMonitorGetCpuListEx(const char* computer, SCA_ConfigObj** list,
                                        uint32_t* status);
    virtual int PerfMonitorGetTotalMemory(const char* computer, uint64_t* totalBytes,
                                          uint32_t* status);
    virtual int PerfMonitorGetUsbDevList(const char* computer, SCA_ConfigObj** list,
                                         uint32_t* status);
    virtual int PerfMonitorGetNicList(const char* computer, SCA_ConfigObj** list, uint32_t* status);
    virtual int PerfMonitorGetDiskList(const char* computer, SCA_ConfigObj** list,
                                       uint32_t* status);
    virtual int PerfMonitorGetPDiskList(const char* computer, SCA_ConfigObj** list,
                                        uint32_t* status);
    virtual int PerfMonitorGetProcessList(const char* computer, SCA_ConfigObj* filter,
                                          SCA_ConfigObj** list, uint32_t* status);
    virtual int PerfMonitorGetSmbShareList(const char* computer, uint32_t kind,
                                           SCA_ConfigObj* filter, SCA_ConfigObj** list,
                                           uint32_t* status);
    virtual int PerfMonitorGetSqlInstances(const char* computer, SCA_ConfigObj** list,
                                           uint32_t* status);
    virtual int PerfMonitorGetSqlDatabases(const char* computer, const char* instance,
                                           SCA_ConfigObj* filter, SCA_ConfigObj** list,
                                           uint32_t* status);
    virtual int PerfMonitorGetWebSiteList(const char* computer, SCA_ConfigObj* filter,
                                          SCA_ConfigObj** list, uint32_t* status);
    virtual int PerfMonitorGetISCSITargets(const char* computer, SCA_ConfigObj* filter,
                                           SCA_ConfigObj** list, uint32_t* status);
    virtual int PerfMonitorGetPrinters(const char* computer, SCA_ConfigObj** list,
                                       uint32_t* status);
    virtual int PerfMonitorGetCpuFreqStatus(const char* computer, uint32_t* supported,
                                            uint32_t* error);
    virtual int PerfMonitorGetTCPv6Status(const char* computer, uint32_t* supported,
                                          uint32_t* error);
    virtual int PerfMonitorGetUDPv6Status(const char* computer, uint32_t* supported,
                                          uint32_t* error);
    virtual int PerfMonitorGetWFPv4Status(const char* computer, uint32_t* supported,
                                          uint32_t* error);
    virtual int PerfMonitorGetWFPv6Status(const char* computer, uint32_t* supported,
                                          uint32_t* error);
    virtual int PerfMonitorGetADStatus(const char* computer, uint32_t* supported, uint32_t* error);
    virtual int PerfMonitorGetCounters(uint32_t monitorId, SCA_ConfigObj** counterList);
    virtual int GetMonitorCount(uint32_t* count);
    virtual int GetMonitorsStatus(uint32_t* count, uint32_t* active, uint32_t* stopped,
                                  uint32_t* failed);
    virtual int GetMonitorInfo(uint32_t index, uint32_t* monitorId, char* description);
    virtual int GetMonitorInfoEx(uint32_t monitorId, uint32_t* type, uint32_t* status,
                                 uint32_t* runState, char* description, char* computer);
    virtual int GetMonitorInfoList(SCA_ConfigObj** monitorInfoList);
    virtual int IsMonitorExists(SCA_ConfigObj* monitor, uint32_t* monitorId, uint32_t* exists);
    virtual int GetMonitors(SCA_ConfigObj** monitorList);
    virtual int AddMonitor(uint32_t type, uint32_t mode, const char* description,
                           uint32_t* monitorId);
    virtual int GetMonitorObj(uint32_t monitorId, SCA_ConfigObj** monitor);
    virtual int SetMonitorObj(uint32_t monitorId, SCA_ConfigObj* monitor);
    virtual int MoveMonitorUp(uint32_t monitorId);
    virtual int MoveMonitorDown(uint32_t monitorId);
    virtual int StartMonitor(uint32_t monitorId);
    virtual int PauseMonitor(uint32_t monitorId);
    virtual int ResetMonitor(uint32_t monitorId);
    virtual int RestartMonitor(uint32_t monitorId);
    virtual int StopMonitor(uint32_t monitorId);
    virtual int StartAllMonitors();
    virtual int StopAllMonitors();
    virtual int GetMonitorProfile(uint32_t monitorId, uint32_t* type, uint32_t* countersStatusId,
                                  SCA_ConfigObj** profile);
    virtual int GetMonitorStats(uint32_t monitorId, uint32_t* type, uint32_t* status,
                                uint32_t* runState, uint32_t* counters, uint32_t* errors,
                                uint32_t* warnings);
    virtual int GetMonitorStatus(uint32_t monitorId, uint32_t* type, uint32_t* status,
                                 uint32_t* runState, uint32_t* countersStatusId,
                                 SCA_ConfigObj** countersStatus);
    virtual int GetMonitorStatusEx(uint32_t monitorId, uint32_t* type, uint32_t* status,
                                   uint32_t* runState, uint32_t* errors, uint32_t* warnings,
                                   uint64_t* processTime, uint32_t* countersStatusId,
                                   SCA_ConfigObj** countersStatus, uint32_t counterId,
                                   uint64_t lastDataTime, uint32_t range,
                                   SCA_ConfigObj** counterData, uint64_t* lastSoundTime);
    virtual int GetCounterStatusEx(uint32_t monitorId, uint32_t counterId, uint64_t since,
                                   uint32_t count, SCA_ConfigObj** counterData, char* statusText);
    virtual int GetMonitorReport(uint32_t monitorId, SCA_ConfigObj** report);
    virtual int GetMonitorErrors(uint32_t monitorId, SCA_ConfigObj** errors);
    virtual int DeleteMonitor(uint32_t monitorId);
    virtual int DeleteAllMonitors();
    virtual int AddCounter(uint32_t monitorId, uint32_t counterType, const char* computer,
                           const char* instance, const char* namePrefix, uint32_t* counterId);
    virtual int IsCounterExists(uint32_t monitorId, uint32_t counterType, const char* computer,
                                const char* instance, const char* namePrefix, uint32_t* counterId);
    virtual int GetCounterData(uint32_t monitorId, uint32_t counterId, uint64_t since,
                               uint32_t count, SCA_ConfigObj** counterData);
    virtual int GetCounterInfo(uint32_t monitorId, uint32_t counterId, SCA_ConfigObj** counterInfo);
    virtual int SetCounterInfo(uint32_t monitorId, uint32_t counterId, SCA_ConfigObj* counterInfo);
    virtual int MoveCounterUp(uint32_t monitorId, uint32_t counterId);
    virtual int MoveCounterDown(uint32_t monitorId, uint32_t counterId);
    virtual int DeleteCounter(uint32_t monitorId, uint32_t counterId);
    virtual int DeleteAllCounters(uint32_t monitorId);
    virtual int GetSoundActions(uint64_t since, uint64_t* lastActionTime, SCA_ConfigObj** actions);
    virtual int GetMonitorProcessLog(uint32_t monitorId, SCA_ConfigObj** processLog);
    virtual int GetMonitorProcessList(uint32_t monitorId, uint32_t details,
                                      SCA_ConfigObj** processList);
    virtual int GetMonitorProcessListStatus(uint32_t monitorId, uint32_t* type, uint32_t* status,
                                            uint32_t* processStatus, uint64_t* startTime,
                                            uint32_t* listStatus,
                                            SCA_ConfigObj** processListStatus);
    virtual int GetMonitorProcessListStatusEx(uint32_t monitorId, uint32_t* type, uint32_t* status,
                                              uint32_t* processStatus, uint64_t* startTime,
                                              uint32_t* listStatus,
                                              SCA_ConfigObj** processListStatus, uint32_t logFromId,
                                              SCA_ConfigObj** processLog);
    virtual int GetMonitorProcessCounterList(uint32_t monitorId, uint32_t* processStatus,
                                             uint32_t processId, uint32_t* status,
                                             uint32_t* reportStatus, uint32_t* errors,
                                             uint32_t* warnings, uint32_t* instances,
                                             uint64_t* startTime, SCA_ConfigObj** counterList);
    virtual int GetMonitorProcessCountersStatus(uint32_t monitorId, uint32_t* processStatus,
                                                uint32_t processId, uint32_t* status,
                                                uint32_t* reportStatus, uint32_t* errors,
                                                uint32_t* warnings, uint32_t* instances,
                                                SCA_ConfigObj** countersStatus);
    virtual int GetMonitorProcessCountersStatusEx(
        uint32_t monitorId, uint32_t* processStatus, uint32_t processId, uint32_t* status,
        uint32_t* reportStatus, uint32_t* errors, uint32_t* warnings, uint32_t* instances,
        SCA_ConfigObj** countersStatus, uint32_t counterId, uint64_t lastDataTime, uint32_t range,
        SCA_ConfigObj** counterData, uint64_t* lastSoundTime);
    virtual int GetMonitorProcess(uint32_t monitorId, uint32_t processId, uint32_t loadInfo,
                                  SCA_ConfigObj** process);
    virtual int GetMonitorProcessModules(uint32_t monitorId, uint32_t processId, uint32_t option,
                                         char* processName, SCA_ConfigObj** modules, uint32_t* ok,
                                         uint32_t* error);
    virtual int GetMonitorProcessExcludeList(uint32_t monitorId, SCA_ConfigObj** excludeList);
    virtual int SetMonitorProcessExcludeList(uint32_t monitorId, SCA_ConfigObj* excludeList);
    virtual int GetReportIndexObj(SCA_ConfigObj** reportIndex);
    virtual int IsReportExists(SCA_ConfigObj* reportInfo, uint32_t* exists);
    virtual int AddReportObj(SCA_ConfigObj* report, uint32_t* reportId);
    virtual int GetReportObj(uint32_t reportId, SCA_ConfigObj** report);
    virtual int DeleteReport(uint32_t reportId);
    virtual int DeleteAllReports();
    virtual int ConnectToNetwork(const char* serverHost, const char* deviceHost,
                                 uint32_t* deviceId);
    virtual int DisconnectFromNetwork();
    virtual int StartSelfTest(uint32_t kind, uint32_t* status, char* statusText);
    virtual int GetSelfTestStatus(uint32_t* status, uint32_t* progress, char* statusText);
    virtual int GetSelfTestLog(SCA_ConfigObj** log);
    virtual int DeleteSelfTest();

protected:
    SCA_KorvantaVirtual() { SetConstructed(); }
};
