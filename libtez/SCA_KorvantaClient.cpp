// SPDX-License-Identifier: MIT
#include "libtez/SCA_KorvantaClient.h"

#include <string_view>

#include "libmor/SCA_String.h"

namespace {

consteval uint32_t Row(std::string_view name) {
    return SCA_KorvantaCommands::IndexOf(name);
}

} // namespace

SCA_KorvantaClient::SCA_KorvantaClient() : m_Channel("SCA_KorvantaClient") {
    SetConstructed();
}

// The channel goes with its transport, which closes the connection.
SCA_KorvantaClient::~SCA_KorvantaClient() = default;

int SCA_KorvantaClient::Connect(const char* host, uint16_t port, uint32_t timeoutMs,
                                uint32_t* error) {
    if (!m_Channel.GetTransport()->Connect(host, port, timeoutMs, error)) {
        return 0;
    }
    SetAddress(host, port);
    return 1;
}

void SCA_KorvantaClient::SetAddress(const char* host, uint16_t port) {
    m_Port = port;
    SCA_StrnCpy(m_Name, host, sizeof(m_Name));
}

int SCA_KorvantaClient::Exchange(const tagSCA_NET_COMMAND_SHAPE& command,
                                 tagSCA_NET_VALUE* values) {
    const int done = m_Channel.Exchange(command, values);
    SetLastFailure(m_Channel.GetLastFailure());
    return done;
}

// --- the operations ---------------------------------------------------------------------------

int SCA_KorvantaClient::GetDebugLog(uint32_t lastMessageId, uint32_t count, uint32_t* logSessionId,
                                    SCA_ConfigObj** debugLog) {
    return Call<Row("GetDebugLog")>(lastMessageId, count, logSessionId, debugLog);
}

int SCA_KorvantaClient::ClearDebugLog() {
    return Call<Row("ClearDebugLog")>();
}

int SCA_KorvantaClient::LoginEx2(SCA_ConfigObj* loginData, SCA_ConfigObj** loginResults) {
    return Call<Row("LoginEx2")>(loginData, loginResults);
}

int SCA_KorvantaClient::GetStatus(uint32_t* status) {
    return Call<Row("GetStatus")>(status);
}

int SCA_KorvantaClient::GetStatusObj(SCA_ConfigObj** serverStatus) {
    return Call<Row("GetStatusObj")>(serverStatus);
}

int SCA_KorvantaClient::GetStatusEx(SCA_ConfigObj** serverStatus, SCA_ConfigObj** monitorsStatus) {
    return Call<Row("GetStatusEx")>(serverStatus, monitorsStatus);
}

int SCA_KorvantaClient::GetServerInfo(uint32_t* productType, char* version, char* hostName) {
    return Call<Row("GetServerInfo")>(productType, version, hostName);
}

int SCA_KorvantaClient::GetServerInfoEx(uint32_t* productType, char* version, char* hostName,
                                        uint32_t* enableOsLogon, uint32_t* serverLogonMode) {
    return Call<Row("GetServerInfoEx")>(productType, version, hostName, enableOsLogon,
                                        serverLogonMode);
}

int SCA_KorvantaClient::GetServiceInfo(char* hostName, char* userName) {
    return Call<Row("GetServiceInfo")>(hostName, userName);
}

int SCA_KorvantaClient::GetServiceSystemAccountStatus(uint32_t* systemAccount) {
    return Call<Row("GetServiceSystemAccountStatus")>(systemAccount);
}

int SCA_KorvantaClient::GetOsVersion(uint32_t* majorVersion, uint32_t* minorVersion,
                                     uint32_t* buildNumber, uint32_t* platformId) {
    return Call<Row("GetOsVersion")>(majorVersion, minorVersion, buildNumber, platformId);
}

int SCA_KorvantaClient::GetProductConfig(SCA_ConfigObj** config) {
    return Call<Row("GetProductConfig")>(config);
}

int SCA_KorvantaClient::SetProductConfig(SCA_ConfigObj* config) {
    return Call<Row("SetProductConfig")>(config);
}

int SCA_KorvantaClient::GetUserConfig(SCA_ConfigObj** config) {
    return Call<Row("GetUserConfig")>(config);
}

int SCA_KorvantaClient::SetUserConfig(SCA_ConfigObj* config, uint32_t mask) {
    return Call<Row("SetUserConfig")>(config, mask);
}

int SCA_KorvantaClient::GetProcessMonitorRules(SCA_ConfigObj** rules) {
    return Call<Row("GetProcessMonitorRules")>(rules);
}

int SCA_KorvantaClient::SetProcessMonitorRules(SCA_ConfigObj* rules) {
    return Call<Row("SetProcessMonitorRules")>(rules);
}

int SCA_KorvantaClient::SetupSmtpServer(const char* server, const char* user, const char* password,
                                        const char* sourceAddress, uint32_t port,
                                        uint32_t connectMode, uint32_t secureConnect,
                                        uint32_t login, uint32_t testFirst, uint32_t* result) {
    return Call<Row("SetupSmtpServer")>(server, user, password, sourceAddress, port, connectMode,
                                        secureConnect, login, testFirst, result);
}

int SCA_KorvantaClient::GetSmtpServerSetup(SCA_ConfigObj** config) {
    return Call<Row("GetSmtpServerSetup")>(config);
}

int SCA_KorvantaClient::TestSmtpServer(uint32_t* result) {
    return Call<Row("TestSmtpServer")>(result);
}

int SCA_KorvantaClient::StopServer() {
    return Call<Row("StopServer")>();
}

int SCA_KorvantaClient::RestartServer() {
    return Call<Row("RestartServer")>();
}

int SCA_KorvantaClient::Suspend() {
    return Call<Row("Suspend")>();
}

int SCA_KorvantaClient::GetProfileCount(uint32_t* count) {
    return Call<Row("GetProfileCount")>(count);
}

int SCA_KorvantaClient::GetProfileInfo(uint32_t index, uint32_t* profileId, char* name) {
    return Call<Row("GetProfileInfo")>(index, profileId, name);
}

int SCA_KorvantaClient::GetProfileInfoList(SCA_ConfigObj** profilesInfoList) {
    return Call<Row("GetProfileInfoList")>(profilesInfoList);
}

int SCA_KorvantaClient::GetProfiles(SCA_ConfigObj** profiles) {
    return Call<Row("GetProfiles")>(profiles);
}

int SCA_KorvantaClient::GetProfile(uint32_t profileId, SCA_ConfigObj** profile) {
    return Call<Row("GetProfile")>(profileId, profile);
}

int SCA_KorvantaClient::SetProfile(uint32_t profileId, SCA_ConfigObj* profile) {
    return Call<Row("SetProfile")>(profileId, profile);
}

int SCA_KorvantaClient::IsProfileExists(const char* name, uint32_t* exists, uint32_t* profileId) {
    return Call<Row("IsProfileExists")>(name, exists, profileId);
}

int SCA_KorvantaClient::AddProfile(const char* name, uint32_t preset, uint32_t* profileId) {
    return Call<Row("AddProfile")>(name, preset, profileId);
}

int SCA_KorvantaClient::CopyProfile(uint32_t profileId, const char* newName,
                                    uint32_t* newProfileId) {
    return Call<Row("CopyProfile")>(profileId, newName, newProfileId);
}

int SCA_KorvantaClient::RenameProfile(uint32_t profileId, const char* name) {
    return Call<Row("RenameProfile")>(profileId, name);
}

int SCA_KorvantaClient::MoveProfileUp(uint32_t profileId) {
    return Call<Row("MoveProfileUp")>(profileId);
}

int SCA_KorvantaClient::MoveProfileDown(uint32_t profileId) {
    return Call<Row("MoveProfileDown")>(profileId);
}

int SCA_KorvantaClient::DeleteProfile(uint32_t profileId) {
    return Call<Row("DeleteProfile")>(profileId);
}

int SCA_KorvantaClient::DeleteProfileByName(const char* name) {
    return Call<Row("DeleteProfileByName")>(name);
}

int SCA_KorvantaClient::PerfMonitorConnect(const char* computer, uint32_t* status) {
    return Call<Row("PerfMonitorConnect")>(computer, status);
}

int SCA_KorvantaClient::PerfMonitorGetCpuList(const char* computer, SCA_ConfigObj** list,
                                              uint32_t* status) {
    return Call<Row("PerfMonitorGetCpuList")>(computer, list, status);
}

int SCA_KorvantaClient::PerfMonitorGetCpuListEx(const char* computer, SCA_ConfigObj** list,
                                                uint32_t* status) {
    return Call<Row("PerfMonitorGetCpuListEx")>(computer, list, status);
}

int SCA_KorvantaClient::PerfMonitorGetTotalMemory(const char* computer, uint64_t* totalBytes,
                                                  uint32_t* status) {
    return Call<Row("PerfMonitorGetTotalMemory")>(computer, totalBytes, status);
}

int SCA_KorvantaClient::PerfMonitorGetUsbDevList(const char* computer, SCA_ConfigObj** list,
                                                 uint32_t* status) {
    return Call<Row("PerfMonitorGetUsbDevList")>(computer, list, status);
}

int SCA_KorvantaClient::PerfMonitorGetNicList(const char* computer, SCA_ConfigObj** list,
                                              uint32_t* status) {
    return Call<Row("PerfMonitorGetNicList")>(computer, list, status);
}

int SCA_KorvantaClient::PerfMonitorGetDiskList(const char* computer, SCA_ConfigObj** list,
                                               uint32_t* status) {
    return Call<Row("PerfMonitorGetDiskList")>(computer, list, status);
}

int SCA_KorvantaClient::PerfMonitorGetPDiskList(const char* computer, SCA_ConfigObj** list,
                                                uint32_t* status) {
    return Call<Row("PerfMonitorGetPDiskList")>(computer, list, status);
}

int SCA_KorvantaClient::PerfMonitorGetProcessList(const char* computer, SCA_ConfigObj* filter,
                                                  SCA_ConfigObj** list, uint32_t* status) {
    return Call<Row("PerfMonitorGetProcessList")>(computer, filter, list, status);
}

int SCA_KorvantaClient::PerfMonitorGetSmbShareList(const char* computer, uint32_t kind,
                                                   SCA_ConfigObj* filter, SCA_ConfigObj** list,
                                                   uint32_t* status) {
    return Call<Row("PerfMonitorGetSmbShareList")>(computer, kind, filter, list, status);
}

int SCA_KorvantaClient::PerfMonitorGetSqlInstances(const char* computer, SCA_ConfigObj** list,
                                                   uint32_t* status) {
    return Call<Row("PerfMonitorGetSqlInstances")>(computer, list, status);
}

int SCA_KorvantaClient::PerfMonitorGetSqlDatabases(const char* computer, const char* instance,
                                                   SCA_ConfigObj* filter, SCA_ConfigObj** list,
                                                   uint32_t* status) {
    return Call<Row("PerfMonitorGetSqlDatabases")>(computer, instance, filter, list, status);
}

int SCA_KorvantaClient::PerfMonitorGetWebSiteList(const char* computer, SCA_ConfigObj* filter,
                                                  SCA_ConfigObj** list, uint32_t* status) {
    return Call<Row("PerfMonitorGetWebSiteList")>(computer, filter, list, status);
}

int SCA_KorvantaClient::PerfMonitorGetISCSITargets(const char* computer, SCA_ConfigObj* filter,
                                                   SCA_ConfigObj** list, uint32_t* status) {
    return Call<Row("PerfMonitorGetISCSITargets")>(computer, filter, list, status);
}

int SCA_KorvantaClient::PerfMonitorGetPrinters(const char* computer, SCA_ConfigObj** list,
                                               uint32_t* status) {
    return Call<Row("PerfMonitorGetPrinters")>(computer, list, status);
}

int SCA_KorvantaClient::PerfMonitorGetCpuFreqStatus(const char* computer, uint32_t* supported,
                                                    uint32_t* error) {
    return Call<Row("PerfMonitorGetCpuFreqStatus")>(computer, supported, error);
}

int SCA_KorvantaClient::PerfMonitorGetTCPv6Status(const char* computer, uint32_t* supported,
                                                  uint32_t* error) {
    return Call<Row("PerfMonitorGetTCPv6Status")>(computer, supported, error);
}

int SCA_KorvantaClient::PerfMonitorGetUDPv6Status(const char* computer, uint32_t* supported,
                                                  uint32_t* error) {
    return Call<Row("PerfMonitorGetUDPv6Status")>(computer, supported, error);
}

int SCA_KorvantaClient::PerfMonitorGetWFPv4Status(const char* computer, uint32_t* supported,
                                                  uint32_t* error) {
    return Call<Row("PerfMonitorGetWFPv4Status")>(computer, supported, error);
}

int SCA_KorvantaClient::PerfMonitorGetWFPv6Status(const char* computer, uint32_t* supported,
                                                  uint32_t* error) {
    return Call<Row("PerfMonitorGetWFPv6Status")>(computer, supported, error);
}

int SCA_KorvantaClient::PerfMonitorGetADStatus(const char* computer, uint32_t* supported,
                                               uint32_t* error) {
    return Call<Row("PerfMonitorGetADStatus")>(computer, supported, error);
}

int SCA_KorvantaClient::PerfMonitorGetCounters(uint32_t monitorId, SCA_ConfigObj** counterList) {
    return Call<Row("PerfMonitorGetCounters")>(monitorId, counterList);
}

int SCA_KorvantaClient::GetMonitorCount(uint32_t* count) {
    return Call<Row("GetMonitorCount")>(count);
}

int SCA_KorvantaClient::GetMonitorsStatus(uint32_t* count, uint32_t* active, uint32_t* stopped,
                                          uint32_t* failed) {
    return Call<Row("GetMonitorsStatus")>(count, active, stopped, failed);
}

int SCA_KorvantaClient::GetMonitorInfo(uint32_t index, uint32_t* monitorId, char* description) {
    return Call<Row("GetMonitorInfo")>(index, monitorId, description);
}

int SCA_KorvantaClient::GetMonitorInfoEx(uint32_t monitorId, uint32_t* type, uint32_t* status,
                                         uint32_t* runState, char* description, char* computer) {
    return Call<Row("GetMonitorInfoEx")>(monitorId, type, status, runState, description, computer);
}

int SCA_KorvantaClient::GetMonitorInfoList(SCA_ConfigObj** monitorInfoList) {
    return Call<Row("GetMonitorInfoList")>(monitorInfoList);
}

int SCA_KorvantaClient::IsMonitorExists(SCA_ConfigObj* monitor, uint32_t* monitorId,
                                        uint32_t* exists) {
    return Call<Row("IsMonitorExists")>(monitor, monitorId, exists);
}

int SCA_KorvantaClient::GetMonitors(SCA_ConfigObj** monitorList) {
    return Call<Row("GetMonitors")>(monitorList);
}

int SCA_KorvantaClient::AddMonitor(uint32_t type, uint32_t mode, const char* description,
                                   uint32_t* monitorId) {
    return Call<Row("AddMonitor")>(type, mode, description, monitorId);
}

int SCA_KorvantaClient::GetMonitorObj(uint32_t monitorId, SCA_ConfigObj** monitor) {
    return Call<Row("GetMonitorObj")>(monitorId, monitor);
}

int SCA_KorvantaClient::SetMonitorObj(uint32_t monitorId, SCA_ConfigObj* monitor) {
    return Call<Row("SetMonitorObj")>(monitorId, monitor);
}

int SCA_KorvantaClient::MoveMonitorUp(uint32_t monitorId) {
    return Call<Row("MoveMonitorUp")>(monitorId);
}

int SCA_KorvantaClient::MoveMonitorDown(uint32_t monitorId) {
    return Call<Row("MoveMonitorDown")>(monitorId);
}

int SCA_KorvantaClient::StartMonitor(uint32_t monitorId) {
    return Call<Row("StartMonitor")>(monitorId);
}

int SCA_KorvantaClient::PauseMonitor(uint32_t monitorId) {
    return Call<Row("PauseMonitor")>(monitorId);
}

int SCA_KorvantaClient::ResetMonitor(uint32_t monitorId) {
    return Call<Row("ResetMonitor")>(monitorId);
}

int SCA_KorvantaClient::RestartMonitor(uint32_t monitorId) {
    return Call<Row("RestartMonitor")>(monitorId);
}

int SCA_KorvantaClient::StopMonitor(uint32_t monitorId) {
    return Call<Row("StopMonitor")>(monitorId);
}

int SCA_KorvantaClient::StartAllMonitors() {
    return Call<Row("StartAllMonitors")>();
}

int SCA_KorvantaClient::StopAllMonitors() {
    return Call<Row("StopAllMonitors")>();
}

int SCA_KorvantaClient::GetMonitorProfile(uint32_t monitorId, uint32_t* type,
                                          uint32_t* countersStatusId, SCA_ConfigObj** profile) {
    return Call<Row("GetMonitorProfile")>(monitorId, type, countersStatusId, profile);
}

int SCA_KorvantaClient::GetMonitorStats(uint32_t monitorId, uint32_t* type, uint32_t* status,
                                        uint32_t* runState, uint32_t* counters, uint32_t* errors,
                                        uint32_t* warnings) {
    return Call<Row("GetMonitorStats")>(monitorId, type, status, runState, counters, errors,
                                        warnings);
}

int SCA_KorvantaClient::GetMonitorStatus(uint32_t monitorId, uint32_t* type, uint32_t* status,
                                         uint32_t* runState, uint32_t* countersStatusId,
                                         SCA_ConfigObj** countersStatus) {
    return Call<Row("GetMonitorStatus")>(monitorId, type, status, runState, countersStatusId,
                                         countersStatus);
}

int SCA_KorvantaClient::GetMonitorStatusEx(uint32_t monitorId, uint32_t* type, uint32_t* status,
                                           uint32_t* runState, uint32_t* errors, uint32_t* warnings,
                                           uint64_t* processTime, uint32_t* countersStatusId,
                                           SCA_ConfigObj** countersStatus, uint32_t counterId,
                                           uint64_t lastDataTime, uint32_t range,
                                           SCA_ConfigObj** counterData, uint64_t* lastSoundTime) {
    return Call<Row("GetMonitorStatusEx")>(monitorId, type, status, runState, errors, warnings,
                                           processTime, countersStatusId, countersStatus, counterId,
                                           lastDataTime, range, counterData, lastSoundTime);
}

int SCA_KorvantaClient::GetCounterStatusEx(uint32_t monitorId, uint32_t counterId, uint64_t since,
                                           uint32_t count, SCA_ConfigObj** counterData,
                                           char* statusText) {
    return Call<Row("GetCounterStatusEx")>(monitorId, counterId, since, count, counterData,
                                           statusText);
}

int SCA_KorvantaClient::GetMonitorReport(uint32_t monitorId, SCA_ConfigObj** report) {
    return Call<Row("GetMonitorReport")>(monitorId, report);
}

int SCA_KorvantaClient::GetMonitorErrors(uint32_t monitorId, SCA_ConfigObj** errors) {
    return Call<Row("GetMonitorErrors")>(monitorId, errors);
}

int SCA_KorvantaClient::DeleteMonitor(uint32_t monitorId) {
    return Call<Row("DeleteMonitor")>(monitorId);
}

int SCA_KorvantaClient::DeleteAllMonitors() {
    return Call<Row("DeleteAllMonitors")>();
}

int SCA_KorvantaClient::AddCounter(uint32_t monitorId, uint32_t counterType, const char* computer,
                                   const char* instance, const char* namePrefix,
                                   uint32_t* counterId) {
    return Call<Row("AddCounter")>(monitorId, counterType, computer, instance, namePrefix,
                                   counterId);
}

int SCA_KorvantaClient::IsCounterExists(uint32_t monitorId, uint32_t counterType,
                                        const char* computer, const char* instance,
                                        const char* namePrefix, uint32_t* counterId) {
    return Call<Row("IsCounterExists")>(monitorId, counterType, computer, instance, namePrefix,
                                        counterId);
}

int SCA_KorvantaClient::GetCounterData(uint32_t monitorId, uint32_t counterId, uint64_t since,
                                       uint32_t count, SCA_ConfigObj** counterData) {
    return Call<Row("GetCounterData")>(monitorId, counterId, since, count, counterData);
}

int SCA_KorvantaClient::GetCounterInfo(uint32_t monitorId, uint32_t counterId,
                                       SCA_ConfigObj** counterInfo) {
    return Call<Row("GetCounterInfo")>(monitorId, counterId, counterInfo);
}

int SCA_KorvantaClient::SetCounterInfo(uint32_t monitorId, uint32_t counterId,
                                       SCA_ConfigObj* counterInfo) {
    return Call<Row("SetCounterInfo")>(monitorId, counterId, counterInfo);
}

int SCA_KorvantaClient::MoveCounterUp(uint32_t monitorId, uint32_t counterId) {
    return Call<Row("MoveCounterUp")>(monitorId, counterId);
}

int SCA_KorvantaClient::MoveCounterDown(uint32_t monitorId, uint32_t counterId) {
    return Call<Row("MoveCounterDown")>(monitorId, counterId);
}

int SCA_KorvantaClient::DeleteCounter(uint32_t monitorId, uint32_t counterId) {
    return Call<Row("DeleteCounter")>(monitorId, counterId);
}

int SCA_KorvantaClient::DeleteAllCounters(uint32_t monitorId) {
    return Call<Row("DeleteAllCounters")>(monitorId);
}

int SCA_KorvantaClient::GetSoundActions(uint64_t since, uint64_t* lastActionTime,
                                        SCA_ConfigObj** actions) {
    return Call<Row("GetSoundActions")>(since, lastActionTime, actions);
}

int SCA_KorvantaClient::GetMonitorProcessLog(uint32_t monitorId, SCA_ConfigObj** processLog) {
    return Call<Row("GetMonitorProcessLog")>(monitorId, processLog);
}

int SCA_KorvantaClient::GetMonitorProcessList(uint32_t monitorId, uint32_t details,
                                              SCA_ConfigObj** processList) {
    return Call<Row("GetMonitorProcessList")>(monitorId, details, processList);
}

int SCA_KorvantaClient::GetMonitorProcessListStatus(uint32_t monitorId, uint32_t* type,
                                                    uint32_t* status, uint32_t* processStatus,
                                                    uint64_t* startTime, uint32_t* listStatus,
                                                    SCA_ConfigObj** processListStatus) {
    return Call<Row("GetMonitorProcessListStatus")>(monitorId, type, status, processStatus,
                                                    startTime, listStatus, processListStatus);
}

int SCA_KorvantaClient::GetMonitorProcessListStatusEx(uint32_t monitorId, uint32_t* type,
                                                      uint32_t* status, uint32_t* processStatus,
                                                      uint64_t* startTime, uint32_t* listStatus,
                                                      SCA_ConfigObj** processListStatus,
                                                      uint32_t logFromId,
                                                      SCA_ConfigObj** processLog) {
    return Call<Row("GetMonitorProcessListStatusEx")>(monitorId, type, status, processStatus,
                                                      startTime, listStatus, processListStatus,
                                                      logFromId, processLog);
}

int SCA_KorvantaClient::GetMonitorProcessCounterList(uint32_t monitorId, uint32_t* processStatus,
                                                     uint32_t processId, uint32_t* status,
                                                     uint32_t* reportStatus, uint32_t* errors,
                                                     uint32_t* warnings, uint32_t* instances,
                                                     uint64_t* startTime,
                                                     SCA_ConfigObj** counterList) {
    return Call<Row("GetMonitorProcessCounterList")>(monitorId, processStatus, processId, status,
                                                     reportStatus, errors, warnings, instances,
                                                     startTime, counterList);
}

int SCA_KorvantaClient::GetMonitorProcessCountersStatus(uint32_t monitorId, uint32_t* processStatus,
                                                        uint32_t processId, uint32_t* status,
                                                        uint32_t* reportStatus, uint32_t* errors,
                                                        uint32_t* warnings, uint32_t* instances,
                                                        SCA_ConfigObj** countersStatus) {
    return Call<Row("GetMonitorProcessCountersStatus")>(monitorId, processStatus, processId, status,
                                                        reportStatus, errors, warnings, instances,
                                                        countersStatus);
}

int SCA_KorvantaClient::GetMonitorProcessCountersStatusEx(
    uint32_t monitorId, uint32_t* processStatus, uint32_t processId, uint32_t* status,
    uint32_t* reportStatus, uint32_t* errors, uint32_t* warnings, uint32_t* instances,
    SCA_ConfigObj** countersStatus, uint32_t counterId, uint64_t lastDataTime, uint32_t range,
    SCA_ConfigObj** counterData, uint64_t* lastSoundTime) {
    return Call<Row("GetMonitorProcessCountersStatusEx")>(
        monitorId, processStatus, processId, status, reportStatus, errors, warnings, instances,
        countersStatus, counterId, lastDataTime, range, counterData, lastSoundTime);
}

int SCA_KorvantaClient::GetMonitorProcess(uint32_t monitorId, uint32_t processId, uint32_t loadInfo,
                                          SCA_ConfigObj** process) {
    return Call<Row("GetMonitorProcess")>(monitorId, processId, loadInfo, process);
}

int SCA_KorvantaClient::GetMonitorProcessModules(uint32_t monitorId, uint32_t processId,
                                                 uint32_t option, char* processName,
                                                 SCA_ConfigObj** modules, uint32_t* ok,
                                                 uint32_t* error) {
    return Call<Row("GetMonitorProcessModules")>(monitorId, processId, option, processName, modules,
                                                 ok, error);
}

int SCA_KorvantaClient::GetMonitorProcessExcludeList(uint32_t monitorId,
                                                     SCA_ConfigObj** excludeList) {
    return Call<Row("GetMonitorProcessExcludeList")>(monitorId, excludeList);
}

int SCA_KorvantaClient::SetMonitorProcessExcludeList(uint32_t monitorId,
                                                     SCA_ConfigObj* excludeList) {
    return Call<Row("SetMonitorProcessExcludeList")>(monitorId, excludeList);
}

int SCA_KorvantaClient::GetReportIndexObj(SCA_ConfigObj** reportIndex) {
    return Call<Row("GetReportIndexObj")>(reportIndex);
}

int SCA_KorvantaClient::IsReportExists(SCA_ConfigObj* reportInfo, uint32_t* exists) {
    return Call<Row("IsReportExists")>(reportInfo, exists);
}

int SCA_KorvantaClient::AddReportObj(SCA_ConfigObj* report, uint32_t* reportId) {
    return Call<Row("AddReportObj")>(report, reportId);
}

int SCA_KorvantaClient::GetReportObj(uint32_t reportId, SCA_ConfigObj** report) {
    return Call<Row("GetReportObj")>(reportId, report);
}

int SCA_KorvantaClient::DeleteReport(uint32_t reportId) {
    return Call<Row("DeleteReport")>(reportId);
}

int SCA_KorvantaClient::DeleteAllReports() {
    return Call<Row("DeleteAllReports")>();
}

int SCA_KorvantaClient::ConnectToNetwork(const char* serverHost, const char* deviceHost,
                                         uint32_t* deviceId) {
    return Call<Row("ConnectToNetwork")>(serverHost, deviceHost, deviceId);
}

int SCA_KorvantaClient::DisconnectFromNetwork() {
    return Call<Row("DisconnectFromNetwork")>();
}

int SCA_KorvantaClient::StartSelfTest(uint32_t kind, uint32_t* status, char* statusText) {
    return Call<Row("StartSelfTest")>(kind, status, statusText);
}

int SCA_KorvantaClient::GetSelfTestStatus(uint32_t* status, uint32_t* progress, char* statusText) {
    return Call<Row("GetSelfTestStatus")>(status, progress, statusText);
}

int SCA_KorvantaClient::GetSelfTestLog(SCA_ConfigObj** log) {
    return Call<Row("GetSelfTestLog")>(log);
}

int SCA_KorvantaClient::DeleteSelfTest() {
    return Call<Row("DeleteSelfTest")>();
}
