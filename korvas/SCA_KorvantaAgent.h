// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>

#include "libmor/SCA_Heap.h"
#include "libmor/SCA_Version.h"
#include "libtez/SCA_KorvantaVirtual.h"

class SCA_DebugLog;
class SCA_Event;
class SCA_KorvantaCtrl;
class SCA_NetServerAgent;
class SCA_SrvMonitorList;
class SCA_TezConfig;
class SCA_TezConfigUser;
class SCA_TezProfileList;

// The service's side of one client connection: its login and the client operations it
// carries out on the service's shared objects (none of which it owns). Its operations run on
// the connection's own thread, one at a time.
//
// Every operation that changes the service or reveals a secret first passes the login guard;
// the command server refuses them before login as well, so a connection that has not logged
// in reaches only the login and the read-only status operations.
class SCA_KorvantaAgent : public SCA_KorvantaVirtual {
public:
    SCA_HEAP_OPERATORS

    // The version the service announces.
    static constexpr const char* kVersion = SCA_PRODUCT_VERSION;
    // The account name that marks a service run by the system itself.
    static constexpr const char* kSystemAccount = "SYSTEM";

    SCA_KorvantaAgent(SCA_TezConfig* config, SCA_TezConfigUser* userConfig, SCA_DebugLog* debugLog,
                      SCA_Event* stopEvent, SCA_NetServerAgent* connection, SCA_KorvantaCtrl* ctrl);
    // Writes "Disconnected: user@host" when both names are known.
    ~SCA_KorvantaAgent() override;

    uint32_t GetAgentId() const { return m_AgentId; }
    void SetAgentId(uint32_t id) { m_AgentId = id; }
    int GetLoggedIn() const { return m_LoggedIn != 0 ? 1 : 0; }
    const char* GetClientHostName() const { return m_HostName; }
    const char* GetClientUserName() const { return m_UserName; }

    // The login guard: 1 when logged in; otherwise the two authentication lines are reported.
    int IsLoggedIn();
    // Reports text (printf rules) at the information level.
    void ReportInfo(const char* format, ...) __attribute__((format(printf, 2, 3)));

    int IsLocalInterface() override;

    // The login mode that the peer of connection may use: the configured one, but for modes 0
    // and 1 from another computer, which the administrator has not turned on for remote
    // clients: their login data is encrypted under a key made of times sent in the clear, so
    // a password in it is readable to anyone who watches the connection, and names alone prove
    // nothing. Such a peer logs in with the service's own login user by signature (mode 2).
    static uint32_t LoginModeFor(SCA_KorvantaCtrl* ctrl, SCA_TezConfigUser* userConfig,
                                 SCA_NetServerAgent* connection);
    int GetDebugLog(uint32_t lastMessageId, uint32_t count, uint32_t* logSessionId,
                    SCA_ConfigObj** debugLog) override;
    int ClearDebugLog() override;
    int LoginEx2(SCA_ConfigObj* loginData, SCA_ConfigObj** loginResults) override;
    int GetStatus(uint32_t* status) override;
    int GetStatusObj(SCA_ConfigObj** serverStatus) override;
    int GetStatusEx(SCA_ConfigObj** serverStatus, SCA_ConfigObj** monitorsStatus) override;
    int GetServerInfo(uint32_t* productType, char* version, char* hostName) override;
    int GetServerInfoEx(uint32_t* productType, char* version, char* hostName,
                        uint32_t* enableOsLogon, uint32_t* serverLogonMode) override;
    int GetServiceInfo(char* hostName, char* userName) override;
    int GetServiceSystemAccountStatus(uint32_t* systemAccount) override;
    int GetOsVersion(uint32_t* majorVersion, uint32_t* minorVersion, uint32_t* buildNumber,
                     uint32_t* platformId) override;
    int StopServer() override;
    int RestartServer() override;
    int Suspend() override;

    // Monitors, their tasks, counters, process data, reports and the network join
    // (SCA_KorvantaAgentMonitors.cpp).
    int AddMonitor(uint32_t type, uint32_t mode, const char* description,
                   uint32_t* monitorId) override;
    int SetMonitorObj(uint32_t monitorId, SCA_ConfigObj* monitor) override;
    int DeleteMonitor(uint32_t monitorId) override;
    int DeleteAllMonitors() override;
    int StartMonitor(uint32_t monitorId) override;
    int PauseMonitor(uint32_t monitorId) override;
    int ResetMonitor(uint32_t monitorId) override;
    int RestartMonitor(uint32_t monitorId) override;
    int StopMonitor(uint32_t monitorId) override;
    int StartAllMonitors() override;
    int StopAllMonitors() override;
    int GetMonitorStats(uint32_t monitorId, uint32_t* type, uint32_t* status, uint32_t* runState,
                        uint32_t* counters, uint32_t* errors, uint32_t* warnings) override;
    int GetMonitorStatus(uint32_t monitorId, uint32_t* type, uint32_t* status, uint32_t* runState,
                         uint32_t* countersStatusId, SCA_ConfigObj** countersStatus) override;
    int GetMonitorReport(uint32_t monitorId, SCA_ConfigObj** report) override;
    int GetMonitorErrors(uint32_t monitorId, SCA_ConfigObj** errors) override;
    int AddCounter(uint32_t monitorId, uint32_t counterType, const char* computer,
                   const char* instance, const char* namePrefix, uint32_t* counterId) override;
    int IsCounterExists(uint32_t monitorId, uint32_t counterType, const char* computer,
                        const char* instance, const char* namePrefix, uint32_t* counterId) override;
    int DeleteCounter(uint32_t monitorId, uint32_t counterId) override;
    int DeleteAllCounters(uint32_t monitorId) override;
    int GetMonitorProcessLog(uint32_t monitorId, SCA_ConfigObj** processLog) override;
    int GetMonitorProcessListStatus(uint32_t monitorId, uint32_t* type, uint32_t* status,
                                    uint32_t* processStatus, uint64_t* startTime,
                                    uint32_t* listStatus,
                                    SCA_ConfigObj** processListStatus) override;
    int GetReportIndexObj(SCA_ConfigObj** reportIndex) override;
    int AddReportObj(SCA_ConfigObj* report, uint32_t* reportId) override;
    int DeleteReport(uint32_t reportId) override;
    int IsReportExists(SCA_ConfigObj* reportInfo, uint32_t* exists) override;
    int GetReportObj(uint32_t reportId, SCA_ConfigObj** report) override;
    int DeleteAllReports() override;
    int ConnectToNetwork(const char* serverHost, const char* deviceHost,
                         uint32_t* deviceId) override;
    int DisconnectFromNetwork() override;
    int StartSelfTest(uint32_t kind, uint32_t* status, char* statusText) override;
    int GetSelfTestStatus(uint32_t* status, uint32_t* progress, char* statusText) override;
    int GetSelfTestLog(SCA_ConfigObj** log) override;
    int DeleteSelfTest() override;

    // The monitor list's reads and moves, and the counters of a monitor
    // (SCA_KorvantaAgentLists.cpp).
    int GetMonitorCount(uint32_t* count) override;
    int GetMonitorsStatus(uint32_t* count, uint32_t* active, uint32_t* stopped,
                          uint32_t* failed) override;
    int GetMonitorInfo(uint32_t index, uint32_t* monitorId, char* description) override;
    int GetMonitorInfoEx(uint32_t monitorId, uint32_t* type, uint32_t* status, uint32_t* runState,
                         char* description, char* computer) override;
    int GetMonitorInfoList(SCA_ConfigObj** monitorInfoList) override;
    int IsMonitorExists(SCA_ConfigObj* monitor, uint32_t* monitorId, uint32_t* exists) override;
    int GetMonitors(SCA_ConfigObj** monitorList) override;
    int GetMonitorObj(uint32_t monitorId, SCA_ConfigObj** monitor) override;
    int MoveMonitorUp(uint32_t monitorId) override;
    int MoveMonitorDown(uint32_t monitorId) override;
    int GetMonitorProfile(uint32_t monitorId, uint32_t* type, uint32_t* countersStatusId,
                          SCA_ConfigObj** profile) override;
    int GetMonitorStatusEx(uint32_t monitorId, uint32_t* type, uint32_t* status, uint32_t* runState,
                           uint32_t* errors, uint32_t* warnings, uint64_t* processTime,
                           uint32_t* countersStatusId, SCA_ConfigObj** countersStatus,
                           uint32_t counterId, uint64_t lastDataTime, uint32_t range,
                           SCA_ConfigObj** counterData, uint64_t* lastSoundTime) override;
    int GetCounterStatusEx(uint32_t monitorId, uint32_t counterId, uint64_t since, uint32_t count,
                           SCA_ConfigObj** counterData, char* statusText) override;
    int GetCounterInfo(uint32_t monitorId, uint32_t counterId,
                       SCA_ConfigObj** counterInfo) override;
    int SetCounterInfo(uint32_t monitorId, uint32_t counterId, SCA_ConfigObj* counterInfo) override;
    int MoveCounterUp(uint32_t monitorId, uint32_t counterId) override;
    int MoveCounterDown(uint32_t monitorId, uint32_t counterId) override;

    // The product and user configurations, the process rules and the profiles
    // (SCA_KorvantaAgentConfig.cpp).
    int GetProductConfig(SCA_ConfigObj** config) override;
    int SetProductConfig(SCA_ConfigObj* config) override;
    int GetUserConfig(SCA_ConfigObj** config) override;
    int SetUserConfig(SCA_ConfigObj* config, uint32_t mask) override;
    int GetProcessMonitorRules(SCA_ConfigObj** rules) override;
    int SetProcessMonitorRules(SCA_ConfigObj* rules) override;
    int GetProfileCount(uint32_t* count) override;
    int GetProfileInfo(uint32_t index, uint32_t* profileId, char* name) override;
    int GetProfileInfoList(SCA_ConfigObj** profilesInfoList) override;
    int GetProfiles(SCA_ConfigObj** profiles) override;
    int GetProfile(uint32_t profileId, SCA_ConfigObj** profile) override;
    int SetProfile(uint32_t profileId, SCA_ConfigObj* profile) override;
    int IsProfileExists(const char* name, uint32_t* exists, uint32_t* profileId) override;
    // A profile whose counters cannot be set from the preset is deleted again, by its id.
    int AddProfile(const char* name, uint32_t preset, uint32_t* profileId) override;
    int CopyProfile(uint32_t profileId, const char* newName, uint32_t* newProfileId) override;
    int RenameProfile(uint32_t profileId, const char* name) override;
    int MoveProfileUp(uint32_t profileId) override;
    int MoveProfileDown(uint32_t profileId) override;
    int DeleteProfile(uint32_t profileId) override;
    int DeleteProfileByName(const char* name) override;

    // The mail server's setup, its display (without the password) and its connection test
    // (SCA_KorvantaAgentMail.cpp). A port above 65535 is refused.
    int SetupSmtpServer(const char* server, const char* user, const char* password,
                        const char* sourceAddress, uint32_t port, uint32_t connectMode,
                        uint32_t secureConnect, uint32_t login, uint32_t testFirst,
                        uint32_t* result) override;
    int GetSmtpServerSetup(SCA_ConfigObj** config) override;
    int TestSmtpServer(uint32_t* result) override;

    // The process-monitor queries, the counters a performance monitor has open and the sound
    // actions (SCA_KorvantaAgentProcesses.cpp).
    int GetMonitorProcessList(uint32_t monitorId, uint32_t details,
                              SCA_ConfigObj** processList) override;
    int GetMonitorProcessListStatusEx(uint32_t monitorId, uint32_t* type, uint32_t* status,
                                      uint32_t* processStatus, uint64_t* startTime,
                                      uint32_t* listStatus, SCA_ConfigObj** processListStatus,
                                      uint32_t logFromId, SCA_ConfigObj** processLog) override;
    int GetMonitorProcessCounterList(uint32_t monitorId, uint32_t* processStatus,
                                     uint32_t processId, uint32_t* status, uint32_t* reportStatus,
                                     uint32_t* errors, uint32_t* warnings, uint32_t* instances,
                                     uint64_t* startTime, SCA_ConfigObj** counterList) override;
    int GetMonitorProcessCountersStatus(uint32_t monitorId, uint32_t* processStatus,
                                        uint32_t processId, uint32_t* status,
                                        uint32_t* reportStatus, uint32_t* errors,
                                        uint32_t* warnings, uint32_t* instances,
                                        SCA_ConfigObj** countersStatus) override;
    int GetMonitorProcessCountersStatusEx(
        uint32_t monitorId, uint32_t* processStatus, uint32_t processId, uint32_t* status,
        uint32_t* reportStatus, uint32_t* errors, uint32_t* warnings, uint32_t* instances,
        SCA_ConfigObj** countersStatus, uint32_t counterId, uint64_t lastDataTime, uint32_t range,
        SCA_ConfigObj** counterData, uint64_t* lastSoundTime) override;
    int GetMonitorProcess(uint32_t monitorId, uint32_t processId, uint32_t loadInfo,
                          SCA_ConfigObj** process) override;
    int GetMonitorProcessModules(uint32_t monitorId, uint32_t processId, uint32_t option,
                                 char* processName, SCA_ConfigObj** modules, uint32_t* ok,
                                 uint32_t* error) override;
    int GetMonitorProcessExcludeList(uint32_t monitorId, SCA_ConfigObj** excludeList) override;
    int SetMonitorProcessExcludeList(uint32_t monitorId, SCA_ConfigObj* excludeList) override;
    // Inventories of this computer for the counter picker (SCA_KorvantaAgentInventory.cpp).
    int PerfMonitorConnect(const char* computer, uint32_t* status) override;
    int PerfMonitorGetCpuList(const char* computer, SCA_ConfigObj** list,
                              uint32_t* status) override;
    int PerfMonitorGetCpuListEx(const char* computer, SCA_ConfigObj** list,
                                uint32_t* status) override;
    int PerfMonitorGetTotalMemory(const char* computer, uint64_t* totalBytes,
                                  uint32_t* status) override;
    int PerfMonitorGetUsbDevList(const char* computer, SCA_ConfigObj** list,
                                 uint32_t* status) override;
    int PerfMonitorGetNicList(const char* computer, SCA_ConfigObj** list,
                              uint32_t* status) override;
    int PerfMonitorGetDiskList(const char* computer, SCA_ConfigObj** list,
                               uint32_t* status) override;
    int PerfMonitorGetPDiskList(const char* computer, SCA_ConfigObj** list,
                                uint32_t* status) override;
    int PerfMonitorGetProcessList(const char* computer, SCA_ConfigObj* filter, SCA_ConfigObj** list,
                                  uint32_t* status) override;
    int PerfMonitorGetSmbShareList(const char* computer, uint32_t kind, SCA_ConfigObj* filter,
                                   SCA_ConfigObj** list, uint32_t* status) override;
    int PerfMonitorGetSqlInstances(const char* computer, SCA_ConfigObj** list,
                                   uint32_t* status) override;
    int PerfMonitorGetSqlDatabases(const char* computer, const char* instance,
                                   SCA_ConfigObj* filter, SCA_ConfigObj** list,
                                   uint32_t* status) override;
    int PerfMonitorGetWebSiteList(const char* computer, SCA_ConfigObj* filter, SCA_ConfigObj** list,
                                  uint32_t* status) override;
    int PerfMonitorGetISCSITargets(const char* computer, SCA_ConfigObj* filter,
                                   SCA_ConfigObj** list, uint32_t* status) override;
    int PerfMonitorGetPrinters(const char* computer, SCA_ConfigObj** list,
                               uint32_t* status) override;
    int PerfMonitorGetCpuFreqStatus(const char* computer, uint32_t* supported,
                                    uint32_t* error) override;
    int PerfMonitorGetTCPv6Status(const char* computer, uint32_t* supported,
                                  uint32_t* error) override;
    int PerfMonitorGetUDPv6Status(const char* computer, uint32_t* supported,
                                  uint32_t* error) override;
    int PerfMonitorGetWFPv4Status(const char* computer, uint32_t* supported,
                                  uint32_t* error) override;
    int PerfMonitorGetWFPv6Status(const char* computer, uint32_t* supported,
                                  uint32_t* error) override;
    int PerfMonitorGetADStatus(const char* computer, uint32_t* supported, uint32_t* error) override;
    // All ones: the service's own performance monitor; else that of the monitor's task.
    int PerfMonitorGetCounters(uint32_t monitorId, SCA_ConfigObj** counterList) override;
    int GetCounterData(uint32_t monitorId, uint32_t counterId, uint64_t since, uint32_t count,
                       SCA_ConfigObj** counterData) override;
    int GetSoundActions(uint64_t since, uint64_t* lastActionTime, SCA_ConfigObj** actions) override;

private:
    // A new reply object without a parent, or null, reported as
    // "SCA_KorvantaAgent::<operation>: <what>".
    static SCA_ConfigObj* NewReply(const char* name, const char* operation, const char* what);
    // A new object root filled by write under the control object's data lock and handed out;
    // 0 (the object gone) when it cannot be made ("<operation>: <cannotCreate>") or filled
    // (write reports why).
    template <typename Write>
    int SerializeShared(const char* root, const char* operation, const char* cannotCreate,
                        SCA_ConfigObj** out, Write&& write);

    // A change of the user configuration (profiles, rules, settings, mail, network), answered
    // as done only once stored: change() under the control object's data lock, then the file;
    // a change that cannot be stored is undone, reported as "SCA_KorvantaAgent::<operation>:
    // Cannot save user configuration file (ERR:<code>)".
    int StoreConfigChange(const char* operation, const std::function<int()>& change);

    // The type of a defined monitor; 0 with "SCA_KorvantaAgent::<operation>: invalid monitor
    // ID - <id>" reported when the list has none.
    int FindMonitorType(uint32_t monitorId, const char* operation, uint32_t* type);
    // The login mode this connection's peer may use now (LoginModeFor).
    uint32_t GetLoginMode() const;
    // 1 with the reason in reason when this connection's login is refused before its
    // credential is looked at: the mode it may use changed since its greeting announced one.
    int IsLoginRefused(uint32_t mode, char* reason, uint32_t size);
    // Checks the credential of the login mode; *status receives the login status. 0 when the
    // login data lacks what the mode needs or the mode is unknown (reported).
    int CheckCredential(SCA_ConfigObj* data, uint32_t mode, const char* user, uint32_t* status);

    uint32_t m_AgentId;
    SCA_TezConfig* m_Config;
    SCA_TezConfigUser* m_UserConfig;
    SCA_DebugLog* m_DebugLog;
    SCA_Event* m_StopEvent;
    SCA_NetServerAgent* m_Connection;
    SCA_KorvantaCtrl* m_Ctrl;
    SCA_TezProfileList* m_Profiles;
    SCA_SrvMonitorList* m_Monitors;
    uint32_t m_LoggedIn = 0;
    char m_HostName[256] = "";
    char m_UserName[256] = "";
};
