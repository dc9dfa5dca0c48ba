// SPDX-License-Identifier: MIT
#include "libtez/SCA_KorvantaVirtual.h"

// Defined here so that the class's virtual table lives in the library alone.
SCA_KorvantaVirtual::~SCA_KorvantaVirtual() = default;

int SCA_KorvantaVirtual::IsLocalInterface() {
    return 0;
}

int SCA_KorvantaVirtual::GetDebugLog(uint32_t, uint32_t, uint32_t*, SCA_ConfigObj**) {
    return 0;
}

int SCA_KorvantaVirtual::ClearDebugLog() {
    return 0;
}

int SCA_KorvantaVirtual::LoginEx2(SCA_ConfigObj*, SCA_ConfigObj**) {
    return 0;
}

int SCA_KorvantaVirtual::GetStatus(uint32_t*) {
    return 0;
}

int SCA_KorvantaVirtual::GetStatusObj(SCA_ConfigObj**) {
    return 0;
}

int SCA_KorvantaVirtual::GetStatusEx(SCA_ConfigObj**, SCA_ConfigObj**) {
    return 0;
}

int SCA_KorvantaVirtual::GetServerInfo(uint32_t*, char*, char*) {
    return 0;
}

int SCA_KorvantaVirtual::GetServerInfoEx(uint32_t*, char*, char*, uint32_t*, uint32_t*) {
    return 0;
}

int SCA_KorvantaVirtual::GetServiceInfo(char*, char*) {
    return 0;
}

int SCA_KorvantaVirtual::GetServiceSystemAccountStatus(uint32_t*) {
    return 0;
}

int SCA_KorvantaVirtual::GetOsVersion(uint32_t*, uint32_t*, uint32_t*, uint32_t*) {
    return 0;
}

int SCA_KorvantaVirtual::GetProductConfig(SCA_ConfigObj**) {
    return 0;
}

int SCA_KorvantaVirtual::SetProductConfig(SCA_ConfigObj*) {
    return 0;
}

int SCA_KorvantaVirtual::GetUserConfig(SCA_ConfigObj**) {
    return 0;
}

int SCA_KorvantaVirtual::SetUserConfig(SCA_ConfigObj*, uint32_t) {
    return 0;
}

int SCA_KorvantaVirtual::GetProcessMonitorRules(SCA_ConfigObj**) {
    return 0;
}

int SCA_KorvantaVirtual::SetProcessMonitorRules(SCA_ConfigObj*) {
    return 0;
}

int SCA_KorvantaVirtual::SetupSmtpServer(const char*, const char*, const char*, const char*,
                                         uint32_t, uint32_t, uint32_t, uint32_t, uint32_t,
                                         uint32_t*) {
    return 0;
}

int SCA_KorvantaVirtual::GetSmtpServerSetup(SCA_ConfigObj**) {
    return 0;
}

int SCA_KorvantaVirtual::TestSmtpServer(uint32_t*) {
    return 0;
}

int SCA_KorvantaVirtual::StopServer() {
    return 0;
}

int SCA_KorvantaVirtual::RestartServer() {
    return 0;
}

int SCA_KorvantaVirtual::Suspend() {
    return 0;
}

int SCA_KorvantaVirtual::GetProfileCount(uint32_t*) {
    return 0;
}

int SCA_KorvantaVirtual::GetProfileInfo(uint32_t, uint32_t*, char*) {
    return 0;
}

int SCA_KorvantaVirtual::GetProfileInfoList(SCA_ConfigObj**) {
    return 0;
}

int SCA_KorvantaVirtual::GetProfiles(SCA_ConfigObj**) {
    return 0;
}

int SCA_KorvantaVirtual::GetProfile(uint32_t, SCA_ConfigObj**) {
    return 0;
}

int SCA_KorvantaVirtual::SetProfile(uint32_t, SCA_ConfigObj*) {
    return 0;
}

int SCA_KorvantaVirtual::IsProfileExists(const char*, uint32_t*, uint32_t*) {
    return 0;
}

int SCA_KorvantaVirtual::AddProfile(const char*, uint32_t, uint32_t*) {
    return 0;
}

int SCA_KorvantaVirtual::CopyProfile(uint32_t, const char*, uint32_t*) {
    return 0;
}

int SCA_KorvantaVirtual::RenameProfile(uint32_t, const char*) {
    return 0;
}

int SCA_KorvantaVirtual::MoveProfileUp(uint32_t) {
    return 0;
}

int SCA_KorvantaVirtual::MoveProfileDown(uint32_t) {
    return 0;
}

int SCA_KorvantaVirtual::DeleteProfile(uint32_t) {
    return 0;
}

int SCA_KorvantaVirtual::DeleteProfileByName(const char*) {
    return 0;
}

int SCA_KorvantaVirtual::PerfMonitorConnect(const char*, uint32_t*) {
    return 0;
}

int SCA_KorvantaVirtual::PerfMonitorGetCpuList(const char*, SCA_ConfigObj**, uint32_t*) {
    return 0;
}

int SCA_KorvantaVirtual::PerfMonitorGetCpuListEx(const char*, SCA_ConfigObj**, uint32_t*) {
    return 0;
}

int SCA_KorvantaVirtual::PerfMonitorGetTotalMemory(const char*, uint64_t*, uint32_t*) {
    return 0;
}

int SCA_KorvantaVirtual::PerfMonitorGetUsbDevList(const char*, SCA_ConfigObj**, uint32_t*) {
    return 0;
}

int SCA_KorvantaVirtual::PerfMonitorGetNicList(const char*, SCA_ConfigObj**, uint32_t*) {
    return 0;
}

int SCA_KorvantaVirtual::PerfMonitorGetDiskList(const char*, SCA_ConfigObj**, uint32_t*) {
    return 0;
}

int SCA_KorvantaVirtual::PerfMonitorGetPDiskList(const char*, SCA_ConfigObj**, uint32_t*) {
    return 0;
}

int SCA_KorvantaVirtual::PerfMonitorGetProcessList(const char*, SCA_ConfigObj*, SCA_ConfigObj**,
                                                   uint32_t*) {
    return 0;
}

int SCA_KorvantaVirtual::PerfMonitorGetSmbShareList(const char*, uint32_t, SCA_ConfigObj*,
                                                    SCA_ConfigObj**, uint32_t*) {
    return 0;
}

int SCA_KorvantaVirtual::PerfMonitorGetSqlInstances(const char*, SCA_ConfigObj**, uint32_t*) {
    return 0;
}

int SCA_KorvantaVirtual::PerfMonitorGetSqlDatabases(const char*, const char*, SCA_ConfigObj*,
                                                    SCA_ConfigObj**, uint32_t*) {
    return 0;
}

int SCA_KorvantaVirtual::PerfMonitorGetWebSiteList(const char*, SCA_ConfigObj*, SCA_ConfigObj**,
                                                   uint32_t*) {
    return 0;
}

int SCA_KorvantaVirtual::PerfMonitorGetISCSITargets(const char*, SCA_ConfigObj*, SCA_ConfigObj**,
                                                    uint32_t*) {
    return 0;
}

int SCA_KorvantaVirtual::PerfMonitorGetPrinters(const char*, SCA_ConfigObj**, uint32_t*) {
    return 0;
}

int SCA_KorvantaVirtual::PerfMonitorGetCpuFreqStatus(const char*, uint32_t*, uint32_t*) {
    return 0;
}

int SCA_KorvantaVirtual::PerfMonitorGetTCPv6Status(const char*, uint32_t*, uint32_t*) {
    return 0;
}

int SCA_KorvantaVirtual::PerfMonitorGetUDPv6Status(const char*, uint32_t*, uint32_t*) {
    return 0;
}

int SCA_KorvantaVirtual::PerfMonitorGetWFPv4Status(const char*, uint32_t*, uint32_t*) {
    return 0;
}

int SCA_KorvantaVirtual::PerfMonitorGetWFPv6Status(const char*, uint32_t*, uint32_t*) {
    return 0;
}

int SCA_KorvantaVirtual::PerfMonitorGetADStatus(const char*, uint32_t*, uint32_t*) {
    return 0;
}

int SCA_KorvantaVirtual::PerfMonitorGetCounters(uint32_t, SCA_ConfigObj**) {
    return 0;
}

int SCA_KorvantaVirtual::GetMonitorCount(uint32_t*) {
    return 0;
}

int SCA_KorvantaVirtual::GetMonitorsStatus(uint32_t*, uint32_t*, uint32_t*, uint32_t*) {
    return 0;
}

int SCA_KorvantaVirtual::GetMonitorInfo(uint32_t, uint32_t*, char*) {
    return 0;
}

int SCA_KorvantaVirtual::GetMonitorInfoEx(uint32_t, uint32_t*, uint32_t*, uint32_t*, char*, char*) {
    return 0;
}

int SCA_KorvantaVirtual::GetMonitorInfoList(SCA_ConfigObj**) {
    return 0;
}

int SCA_KorvantaVirtual::IsMonitorExists(SCA_ConfigObj*, uint32_t*, uint32_t*) {
    return 0;
}

int SCA_KorvantaVirtual::GetMonitors(SCA_ConfigObj**) {
    return 0;
}

int SCA_KorvantaVirtual::AddMonitor(uint32_t, uint32_t, const char*, uint32_t*) {
    return 0;
}

int SCA_KorvantaVirtual::GetMonitorObj(uint32_t, SCA_ConfigObj**) {
    return 0;
}

int SCA_KorvantaVirtual::SetMonitorObj(uint32_t, SCA_ConfigObj*) {
    return 0;
}

int SCA_KorvantaVirtual::MoveMonitorUp(uint32_t) {
    return 0;
}

int SCA_KorvantaVirtual::MoveMonitorDown(uint32_t) {
    return 0;
}

int SCA_KorvantaVirtual::StartMonitor(uint32_t) {
    return 0;
}

int SCA_KorvantaVirtual::PauseMonitor(uint32_t) {
    return 0;
}

int SCA_KorvantaVirtual::ResetMonitor(uint32_t) {
    return 0;
}

int SCA_KorvantaVirtual::RestartMonitor(uint32_t) {
    return 0;
}

int SCA_KorvantaVirtual::StopMonitor(uint32_t) {
    return 0;
}

int SCA_KorvantaVirtual::StartAllMonitors() {
    return 0;
}

int SCA_KorvantaVirtual::StopAllMonitors() {
    return 0;
}

int SCA_KorvantaVirtual::GetMonitorProfile(uint32_t, uint32_t*, uint32_t*, SCA_ConfigObj**) {
    return 0;
}

int SCA_KorvantaVirtual::GetMonitorStats(uint32_t, uint32_t*, uint32_t*, uint32_t*, uint32_t*,
                                         uint32_t*, uint32_t*) {
    return 0;
}

int SCA_KorvantaVirtual::GetMonitorStatus(uint32_t, uint32_t*, uint32_t*, uint32_t*, uint32_t*,
                                          SCA_ConfigObj**) {
    return 0;
}

int SCA_KorvantaVirtual::GetMonitorStatusEx(uint32_t, uint32_t*, uint32_t*, uint32_t*, uint32_t*,
                                            uint32_t*, uint64_t*, uint32_t*, SCA_ConfigObj**,
                                            uint32_t, uint64_t, uint32_t, SCA_ConfigObj**,
                                            uint64_t*) {
    return 0;
}

int SCA_KorvantaVirtual::GetCounterStatusEx(uint32_t, uint32_t, uint64_t, uint32_t, SCA_ConfigObj**,
                                            char*) {
    return 0;
}

int SCA_KorvantaVirtual::GetMonitorReport(uint32_t, SCA_ConfigObj**) {
    return 0;
}

int SCA_KorvantaVirtual::GetMonitorErrors(uint32_t, SCA_ConfigObj**) {
    return 0;
}

int SCA_KorvantaVirtual::DeleteMonitor(uint32_t) {
    return 0;
}

int SCA_KorvantaVirtual::DeleteAllMonitors() {
    return 0;
}

int SCA_KorvantaVirtual::AddCounter(uint32_t, uint32_t, const char*, const char*, const char*,
                                    uint32_t*) {
    return 0;
}

int SCA_KorvantaVirtual::IsCounterExists(uint32_t, uint32_t, const char*, const char*, const char*,
                                         uint32_t*) {
    return 0;
}

int SCA_KorvantaVirtual::GetCounterData(uint32_t, uint32_t, uint64_t, uint32_t, SCA_ConfigObj**) {
    return 0;
}

int SCA_KorvantaVirtual::GetCounterInfo(uint32_t, uint32_t, SCA_ConfigObj**) {
    return 0;
}

int SCA_KorvantaVirtual::SetCounterInfo(uint32_t, uint32_t, SCA_ConfigObj*) {
    return 0;
}

int SCA_KorvantaVirtual::MoveCounterUp(uint32_t, uint32_t) {
    return 0;
}

int SCA_KorvantaVirtual::MoveCounterDown(uint32_t, uint32_t) {
    return 0;
}

int SCA_KorvantaVirtual::DeleteCounter(uint32_t, uint32_t) {
    return 0;
}

int SCA_KorvantaVirtual::DeleteAllCounters(uint32_t) {
    return 0;
}

int SCA_KorvantaVirtual::GetSoundActions(uint64_t, uint64_t*, SCA_ConfigObj**) {
    return 0;
}

int SCA_KorvantaVirtual::GetMonitorProcessLog(uint32_t, SCA_ConfigObj**) {
    return 0;
}

int SCA_KorvantaVirtual::GetMonitorProcessList(uint32_t, uint32_t, SCA_ConfigObj**) {
    return 0;
}

int SCA_KorvantaVirtual::GetMonitorProcessListStatus(uint32_t, uint32_t*, uint32_t*, uint32_t*,
                                                     uint64_t*, uint32_t*, SCA_ConfigObj**) {
    return 0;
}

int SCA_KorvantaVirtual::GetMonitorProcessListStatusEx(uint32_t, uint32_t*, uint32_t*, uint32_t*,
                                                       uint64_t*, uint32_t*, SCA_ConfigObj**,
                                                       uint32_t, SCA_ConfigObj**) {
    return 0;
}

int SCA_KorvantaVirtual::GetMonitorProcessCounterList(uint32_t, uint32_t*, uint32_t, uint32_t*,
                                                      uint32_t*, uint32_t*, uint32_t*, uint32_t*,
                                                      uint64_t*, SCA_ConfigObj**) {
    return 0;
}

int SCA_KorvantaVirtual::GetMonitorProcessCountersStatus(uint32_t, uint32_t*, uint32_t, uint32_t*,
                                                         uint32_t*, uint32_t*, uint32_t*, uint32_t*,
                                                         SCA_ConfigObj**) {
    return 0;
}

int SCA_KorvantaVirtual::GetMonitorProcessCountersStatusEx(uint32_t, uint32_t*, uint32_t, uint32_t*,
                                                           uint32_t*, uint32_t*, uint32_t*,
                                                           uint32_t*, SCA_ConfigObj**, uint32_t,
                                                           uint64_t, uint32_t, SCA_ConfigObj**,
                                                           uint64_t*) {
    return 0;
}

int SCA_KorvantaVirtual::GetMonitorProcess(uint32_t, uint32_t, uint32_t, SCA_ConfigObj**) {
    return 0;
}

int SCA_KorvantaVirtual::GetMonitorProcessModules(uint32_t, uint32_t, uint32_t, char*,
                                                  SCA_ConfigObj**, uint32_t*, uint32_t*) {
    return 0;
}

int SCA_KorvantaVirtual::GetMonitorProcessExcludeList(uint32_t, SCA_ConfigObj**) {
    return 0;
}

int SCA_KorvantaVirtual::SetMonitorProcessExcludeList(uint32_t, SCA_ConfigObj*) {
    return 0;
}

int SCA_KorvantaVirtual::GetReportIndexObj(SCA_ConfigObj**) {
    return 0;
}

int SCA_KorvantaVirtual::IsReportExists(SCA_ConfigObj*, uint32_t*) {
    return 0;
}

int SCA_KorvantaVirtual::AddReportObj(SCA_ConfigObj*, uint32_t*) {
    return 0;
}

int SCA_KorvantaVirtual::GetReportObj(uint32_t, SCA_ConfigObj**) {
    return 0;
}

int SCA_KorvantaVirtual::DeleteReport(uint32_t) {
    return 0;
}

int SCA_KorvantaVirtual::DeleteAllReports() {
    return 0;
}

int SCA_KorvantaVirtual::ConnectToNetwork(const char*, const char*, uint32_t*) {
    return 0;
}

int SCA_KorvantaVirtual::DisconnectFromNetwork() {
    return 0;
}

int SCA_KorvantaVirtual::StartSelfTest(uint32_t, uint32_t*, char*) {
    return 0;
}

int SCA_KorvantaVirtual::GetSelfTestStatus(uint32_t*, uint32_t*, char*) {
    return 0;
}

int SCA_KorvantaVirtual::GetSelfTestLog(SCA_ConfigObj**) {
    return 0;
}

int SCA_KorvantaVirtual::DeleteSelfTest() {
    return 0;
}
