// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <cstdint>

#include "libtez/SCA_KorvantaCommands.h"
#include "libtez/SCA_KorvantaVirtual.h"
#include "net/SCA_NetCommandChannel.h"

class SCA_ConfigObj;

// The client end of the client-to-service protocol: every operation of SCA_KorvantaVirtual as
// one request and one reply over one connection, built from the command table.
//
// An operation fails (0) when an argument is unusable (a null output, a text over 255 bytes:
// nothing is sent then), when the send or the wait fails (the transport's code goes to the
// last status code), when the service refuses it, or when an output field is missing. Object
// outputs are detached from the reply, carry the root name of the table and belong to the
// caller, who releases them; after a failure they are null. Nothing the caller gets points
// into a reply.
//
// One request at a time per object: calls from several threads (the client's report worker
// and its window) are carried one after the other. A reply that comes after its time-out is
// dropped, never taken for the answer of a later call.
class SCA_KorvantaClient : public SCA_KorvantaVirtual {
public:
    static constexpr uint32_t kDefaultReplyTimeoutMs =
        SCA_NetCommandChannel::kDefaultReplyTimeoutMs;

    // Not connected: port 0xFFFF, empty names.
    SCA_KorvantaClient();
    ~SCA_KorvantaClient() override;
    SCA_KorvantaClient(const SCA_KorvantaClient&) = delete;
    SCA_KorvantaClient& operator=(const SCA_KorvantaClient&) = delete;

    // Opens the connection, waiting at most timeoutMs for the service's greeting; 1 on success,
    // with host and port kept for GetName and GetPort. 0 with the transport's code in *error;
    // name and port unchanged.
    virtual int Connect(const char* host, uint16_t port, uint32_t timeoutMs, uint32_t* error);

    // The host as given to Connect (at most 255 bytes).
    const char* GetName() const { return m_Name; }
    uint16_t GetPort() const { return m_Port; }
    // The code of the last failed send or wait; the client never resets it.
    uint32_t GetLastStatusCode() const { return m_Channel.GetLastStatusCode(); }
    // Why the last operation failed (None after a success).
    SCA_NetCallFailure GetLastFailure() const { return m_LastFailure.load(); }
    // 1 when the last operation failed because the connection did (a send or a wait, a time-out
    // included): the caller reconnects rather than retries.
    int LostConnection() const { return GetLastFailure() == SCA_NetCallFailure::Connection; }
    SCA_NetTransport* GetNetTransport() { return m_Channel.GetTransport(); }
    // How long every operation waits for its reply (60000 ms unless set).
    uint32_t GetReplyTimeout() const { return m_Channel.GetReplyTimeout(); }
    void SetReplyTimeout(uint32_t timeoutMs) { m_Channel.SetReplyTimeout(timeoutMs); }
    // The payload size of the largest reply taken since the last call of this (0 for none).
    uint32_t TakeLargestReply() { return m_Channel.TakeLargestReply(); }

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
    int GetProductConfig(SCA_ConfigObj** config) override;
    int SetProductConfig(SCA_ConfigObj* config) override;
    int GetUserConfig(SCA_ConfigObj** config) override;
    int SetUserConfig(SCA_ConfigObj* config, uint32_t mask) override;
    int GetProcessMonitorRules(SCA_ConfigObj** rules) override;
    int SetProcessMonitorRules(SCA_ConfigObj* rules) override;
    int SetupSmtpServer(const char* server, const char* user, const char* password,
                        const char* sourceAddress, uint32_t port, uint32_t connectMode,
                        uint32_t secureConnect, uint32_t login, uint32_t testFirst,
                        uint32_t* result) override;
    int GetSmtpServerSetup(SCA_ConfigObj** config) override;
    int TestSmtpServer(uint32_t* result) override;
    int StopServer() override;
    int RestartServer() override;
    int Suspend() override;
    int GetProfileCount(uint32_t* count) override;
    int GetProfileInfo(uint32_t index, uint32_t* profileId, char* name) override;
    int GetProfileInfoList(SCA_ConfigObj** profilesInfoList) override;
    int GetProfiles(SCA_ConfigObj** profiles) override;
    int GetProfile(uint32_t profileId, SCA_ConfigObj** profile) override;
    int SetProfile(uint32_t profileId, SCA_ConfigObj* profile) override;
    int IsProfileExists(const char* name, uint32_t* exists, uint32_t* profileId) override;
    int AddProfile(const char* name, uint32_t preset, uint32_t* profileId) override;
    int CopyProfile(uint32_t profileId, const char* newName, uint32_t* newProfileId) override;
    int RenameProfile(uint32_t profileId, const char* name) override;
    int MoveProfileUp(uint32_t profileId) override;
    int MoveProfileDown(uint32_t profileId) override;
    int DeleteProfile(uint32_t profileId) override;
    int DeleteProfileByName(const char* name) override;
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
    int PerfMonitorGetCounters(uint32_t monitorId, SCA_ConfigObj** counterList) override;
    int GetMonitorCount(uint32_t* count) override;
    int GetMonitorsStatus(uint32_t* count, uint32_t* active, uint32_t* stopped,
                          uint32_t* failed) override;
    int GetMonitorInfo(uint32_t index, uint32_t* monitorId, char* description) override;
    int GetMonitorInfoEx(uint32_t monitorId, uint32_t* type, uint32_t* status, uint32_t* runState,
                         char* description, char* computer) override;
    int GetMonitorInfoList(SCA_ConfigObj** monitorInfoList) override;
    int IsMonitorExists(SCA_ConfigObj* monitor, uint32_t* monitorId, uint32_t* exists) override;
    int GetMonitors(SCA_ConfigObj** monitorList) override;
    int AddMonitor(uint32_t type, uint32_t mode, const char* description,
                   uint32_t* monitorId) override;
    int GetMonitorObj(uint32_t monitorId, SCA_ConfigObj** monitor) override;
    int SetMonitorObj(uint32_t monitorId, SCA_ConfigObj* monitor) override;
    int MoveMonitorUp(uint32_t monitorId) override;
    int MoveMonitorDown(uint32_t monitorId) override;
    int StartMonitor(uint32_t monitorId) override;
    int PauseMonitor(uint32_t monitorId) override;
    int ResetMonitor(uint32_t monitorId) override;
    int RestartMonitor(uint32_t monitorId) override;
    int StopMonitor(uint32_t monitorId) override;
    int StartAllMonitors() override;
    int StopAllMonitors() override;
    int GetMonitorProfile(uint32_t monitorId, uint32_t* type, uint32_t* countersStatusId,
                          SCA_ConfigObj** profile) override;
    int GetMonitorStats(uint32_t monitorId, uint32_t* type, uint32_t* status, uint32_t* runState,
                        uint32_t* counters, uint32_t* errors, uint32_t* warnings) override;
    int GetMonitorStatus(uint32_t monitorId, uint32_t* type, uint32_t* status, uint32_t* runState,
                         uint32_t* countersStatusId, SCA_ConfigObj** countersStatus) override;
    int GetMonitorStatusEx(uint32_t monitorId, uint32_t* type, uint32_t* status, uint32_t* runState,
                           uint32_t* errors, uint32_t* warnings, uint64_t* processTime,
                           uint32_t* countersStatusId, SCA_ConfigObj** countersStatus,
                           uint32_t counterId, uint64_t lastDataTime, uint32_t range,
                           SCA_ConfigObj** counterData, uint64_t* lastSoundTime) override;
    int GetCounterStatusEx(uint32_t monitorId, uint32_t counterId, uint64_t since, uint32_t count,
                           SCA_ConfigObj** counterData, char* statusText) override;
    int GetMonitorReport(uint32_t monitorId, SCA_ConfigObj** report) override;
    int GetMonitorErrors(uint32_t monitorId, SCA_ConfigObj** errors) override;
    int DeleteMonitor(uint32_t monitorId) override;
    int DeleteAllMonitors() override;
    int AddCounter(uint32_t monitorId, uint32_t counterType, const char* computer,
                   const char* instance, const char* namePrefix, uint32_t* counterId) override;
    int IsCounterExists(uint32_t monitorId, uint32_t counterType, const char* computer,
                        const char* instance, const char* namePrefix, uint32_t* counterId) override;
    int GetCounterData(uint32_t monitorId, uint32_t counterId, uint64_t since, uint32_t count,
                       SCA_ConfigObj** counterData) override;
    int GetCounterInfo(uint32_t monitorId, uint32_t counterId,
                       SCA_ConfigObj** counterInfo) override;
    int SetCounterInfo(uint32_t monitorId, uint32_t counterId, SCA_ConfigObj* counterInfo) override;
    int MoveCounterUp(uint32_t monitorId, uint32_t counterId) override;
    int MoveCounterDown(uint32_t monitorId, uint32_t counterId) override;
    int DeleteCounter(uint32_t monitorId, uint32_t counterId) override;
    int DeleteAllCounters(uint32_t monitorId) override;
    int GetSoundActions(uint64_t since, uint64_t* lastActionTime, SCA_ConfigObj** actions) override;
    int GetMonitorProcessLog(uint32_t monitorId, SCA_ConfigObj** processLog) override;
    int GetMonitorProcessList(uint32_t monitorId, uint32_t details,
                              SCA_ConfigObj** processList) override;
    int GetMonitorProcessListStatus(uint32_t monitorId, uint32_t* type, uint32_t* status,
                                    uint32_t* processStatus, uint64_t* startTime,
                                    uint32_t* listStatus,
                                    SCA_ConfigObj** processListStatus) override;
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
    int GetReportIndexObj(SCA_ConfigObj** reportIndex) override;
    int IsReportExists(SCA_ConfigObj* reportInfo, uint32_t* exists) override;
    int AddReportObj(SCA_ConfigObj* report, uint32_t* reportId) override;
    int GetReportObj(uint32_t reportId, SCA_ConfigObj** report) override;
    int DeleteReport(uint32_t reportId) override;
    int DeleteAllReports() override;
    int ConnectToNetwork(const char* serverHost, const char* deviceHost,
                         uint32_t* deviceId) override;
    int DisconnectFromNetwork() override;
    int StartSelfTest(uint32_t kind, uint32_t* status, char* statusText) override;
    int GetSelfTestStatus(uint32_t* status, uint32_t* progress, char* statusText) override;
    int GetSelfTestLog(SCA_ConfigObj** log) override;
    int DeleteSelfTest() override;

protected:
    // Carries one operation of the table: writes its inputs, sends, waits and reads its
    // outputs, and records why it failed. A stand-in for the service replaces only this.
    virtual int Exchange(const tagSCA_NET_COMMAND_SHAPE& command, tagSCA_NET_VALUE* values);
    void SetLastFailure(SCA_NetCallFailure failure) { m_LastFailure.store(failure); }
    // The host and port GetName and GetPort answer (Connect sets them).
    void SetAddress(const char* host, uint16_t port);

private:
    template <uint32_t Row, typename... Args>
    int Call(Args... args) {
        return sca_net::CallCommand<SCA_KorvantaCommands, Row>(
            [this](const tagSCA_NET_COMMAND_SHAPE& command, tagSCA_NET_VALUE* values) {
                return Exchange(command, values);
            },
            args...);
    }

    SCA_NetCommandChannel m_Channel;
    std::atomic<SCA_NetCallFailure> m_LastFailure{SCA_NetCallFailure::None};
    char m_Name[256] = "";
    uint16_t m_Port = 0xFFFF;
};
