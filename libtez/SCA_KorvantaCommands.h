// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <iterator>
#include <string_view>

#include "libtez/SCA_KorvantaVirtual.h"
#include "net/SCA_NetCommand.h"

inline constexpr uint32_t SCA_KORVANTA_COMMAND_COUNT = 120;

using tagSCA_KORVANTA_COMMAND = tagSCA_NET_COMMAND<SCA_KorvantaVirtual>;

namespace sca_korvanta {

using sca_net::In;
using sca_net::Object;
using sca_net::Out;
using sca_net::Row;
using sca_net::Text;
using sca_net::U32;
using sca_net::U64;
using V = SCA_KorvantaVirtual;

// Login rules. Every operation that changes the service or reveals a secret needs a login;
// only the status and information queries and the login itself are open.
inline constexpr SCA_NetLogin Yes = SCA_NetLogin::Required;
inline constexpr SCA_NetLogin No = SCA_NetLogin::Open;

// The client-to-service protocol: every operation once, in slot order, which is also the
// order in which the server registers them. A row lists the operation's arguments in order;
// its inputs are the request fields and its outputs the reply fields, each in that order. An
// object result travels under its field's name and the client gives it back the root name
// that follows. Every row is checked against its operation's parameters when this compiles.
inline constexpr tagSCA_KORVANTA_COMMAND kTable[] = {
    Row<&V::GetDebugLog>("GetDebugLog", Yes,
                         {In("LastMessageId", U32), In("Count", U32), Out("LogSessionId", U32),
                          Out("DebugLog", Object, "DebugLog")}),
    Row<&V::ClearDebugLog>("ClearDebugLog", Yes, {}),
    Row<&V::LoginEx2>("LoginEx2", No,
                      {In("LoginData", Object), Out("LoginResults", Object, "LoginResults")}),
    Row<&V::GetStatus>("GetStatus", No, {Out("Status", U32)}),
    Row<&V::GetStatusObj>("GetStatusObj", No, {Out("ServerStatus", Object, "ServerStatus")}),
    Row<&V::GetStatusEx>("GetStatusEx", No,
                         {Out("ServerStatus", Object, "ServerStatus"),
                          Out("MonitorsStatus", Object, "MonitorsStatus")}),
    Row<&V::GetServerInfo>("GetServerInfo", No,
                           {Out("ProductType", U32), Out("Version", Text), Out("HostName", Text)}),
    Row<&V::GetServerInfoEx>("GetServerInfoEx", No,
                             {Out("ProductType", U32), Out("Version", Text), Out("HostName", Text),
                              Out("EnableOsLogon", U32), Out("ServerLogonMode", U32)}),
    Row<&V::GetServiceInfo>("GetServiceInfo", No, {Out("HostName", Text), Out("UserName", Text)}),
    Row<&V::GetServiceSystemAccountStatus>("GetServiceSystemAccountStatus", No,
                                           {Out("SystemAccount", U32)}),
    Row<&V::GetOsVersion>("GetOsVersion", No,
                          {Out("MajorVersion", U32), Out("MinorVersion", U32),
                           Out("BuildNumber", U32), Out("PlatformId", U32)}),
    Row<&V::GetProductConfig>("GetProductConfig", Yes, {Out("Config", Object, "ProductConfig")}),
    Row<&V::SetProductConfig>("SetProductConfig", Yes, {In("Config", Object)}),
    Row<&V::GetUserConfig>("GetUserConfig", Yes, {Out("Config", Object, "UserConfig")}),
    Row<&V::SetUserConfig>("SetUserConfig", Yes, {In("Config", Object), In("Mask", U32)}),
    Row<&V::GetProcessMonitorRules>("GetProcessMonitorRules", Yes, {Out("Rules", Object, "Rules")}),
    Row<&V::SetProcessMonitorRules>("SetProcessMonitorRules", Yes, {In("Rules", Object)}),
    Row<&V::SetupSmtpServer>("SetupSmtpServer", Yes,
                             {In("Server", Text), In("User", Text), In("Password", Text),
                              In("SourceAddress", Text), In("Port", U32), In("ConnectMode", U32),
                              In("SecureConnect", U32), In("Login", U32), In("TestFirst", U32),
                              Out("Result", U32)}),
    Row<&V::GetSmtpServerSetup>("GetSmtpServerSetup", Yes, {Out("Config", Object, "Config")}),
    Row<&V::TestSmtpServer>("TestSmtpServer", Yes, {Out("Result", U32)}),
    Row<&V::StopServer>("StopServer", Yes, {}),
    Row<&V::RestartServer>("RestartServer", Yes, {}),
    Row<&V::Suspend>("Suspend", Yes, {}),
    Row<&V::GetProfileCount>("GetProfileCount", Yes, {Out("Count", U32)}),
    Row<&V::GetProfileInfo>("GetProfileInfo", Yes,
                            {In("Index", U32), Out("ProfileId", U32), Out("Name", Text)}),
    Row<&V::GetProfileInfoList>("GetProfileInfoList", Yes,
                                {Out("ProfilesInfoList", Object, "ProfilesInfoList")}),
    Row<&V::GetProfiles>("GetProfiles", Yes, {Out("Profiles", Object, "ProfilesObj")}),
    Row<&V::GetProfile>("GetProfile", Yes, {In("ProfileId", U32), Out("Profile", Object)}),
    Row<&V::SetProfile>("SetProfile", Yes, {In("ProfileId", U32), In("Profile", Object)}),
    Row<&V::IsProfileExists>("IsProfileExists", Yes,
                             {In("Name", Text), Out("Exists", U32), Out("ProfileId", U32)}),
    Row<&V::AddProfile>("AddProfile", Yes,
                        {In("Name", Text), In("Preset", U32), Out("ProfileId", U32)}),
    Row<&V::CopyProfile>("CopyProfile", Yes,
                         {In("ProfileId", U32), In("NewName", Text), Out("NewProfileId", U32)}),
    Row<&V::RenameProfile>("RenameProfile", Yes, {In("ProfileId", U32), In("Name", Text)}),
    Row<&V::MoveProfileUp>("MoveProfileUp", Yes, {In("ProfileId", U32)}),
    Row<&V::MoveProfileDown>("MoveProfileDown", Yes, {In("ProfileId", U32)}),
    Row<&V::DeleteProfile>("DeleteProfile", Yes, {In("ProfileId", U32)}),
    Row<&V::DeleteProfileByName>("DeleteProfileByName", Yes, {In("Name", Text)}),
    Row<&V::PerfMonitorConnect>("PerfMonitorConnect", Yes,
                                {In("Computer", Text), Out("Status", U32)}),
    Row<&V::PerfMonitorGetCpuList>("PerfMonitorGetCpuList", Yes,
                                   {In("Computer", Text), Out("List", Object), Out("Status", U32)}),
    Row<&V::PerfMonitorGetCpuListEx>(
        "PerfMonitorGetCpuListEx", Yes,
        {In("Computer", Text), Out("List", Object), Out("Status", U32)}),
    Row<&V::PerfMonitorGetTotalMemory>(
        "PerfMonitorGetTotalMemory", Yes,
        {In("Computer", Text), Out("TotalBytes", U64), Out("Status", U32)}),
    Row<&V::PerfMonitorGetUsbDevList>(
        "PerfMonitorGetUsbDevList", Yes,
        {In("Computer", Text), Out("List", Object), Out("Status", U32)}),
    Row<&V::PerfMonitorGetNicList>("PerfMonitorGetNicList", Yes,
                                   {In("Computer", Text), Out("List", Object), Out("Status", U32)}),
    Row<&V::PerfMonitorGetDiskList>(
        "PerfMonitorGetDiskList", Yes,
        {In("Computer", Text), Out("List", Object), Out("Status", U32)}),
    Row<&V::PerfMonitorGetPDiskList>(
        "PerfMonitorGetPDiskList", Yes,
        {In("Computer", Text), Out("List", Object), Out("Status", U32)}),
    Row<&V::PerfMonitorGetProcessList>(
        "PerfMonitorGetProcessList", Yes,
        {In("Computer", Text), In("Filter", Object), Out("List", Object), Out("Status", U32)}),
    Row<&V::PerfMonitorGetSmbShareList>("PerfMonitorGetSmbShareList", Yes,
                                        {In("Computer", Text), In("Kind", U32),
                                         In("Filter", Object), Out("List", Object),
                                         Out("Status", U32)}),
    Row<&V::PerfMonitorGetSqlInstances>(
        "PerfMonitorGetSqlInstances", Yes,
        {In("Computer", Text), Out("List", Object), Out("Status", U32)}),
    Row<&V::PerfMonitorGetSqlDatabases>("PerfMonitorGetSqlDatabases", Yes,
                                        {In("Computer", Text), In("Instance", Text),
                                         In("Filter", Object), Out("List", Object),
                                         Out("Status", U32)}),
    Row<&V::PerfMonitorGetWebSiteList>(
        "PerfMonitorGetWebSiteList", Yes,
        {In("Computer", Text), In("Filter", Object), Out("List", Object), Out("Status", U32)}),
    Row<&V::PerfMonitorGetISCSITargets>(
        "PerfMonitorGetISCSITargets", Yes,
        {In("Computer", Text), In("Filter", Object), Out("List", Object), Out("Status", U32)}),
    Row<&V::PerfMonitorGetPrinters>(
        "PerfMonitorGetPrinters", Yes,
        {In("Computer", Text), Out("List", Object), Out("Status", U32)}),
    Row<&V::PerfMonitorGetCpuFreqStatus>(
        "PerfMonitorGetCpuFreqStatus", Yes,
        {In("Computer", Text), Out("Supported", U32), Out("Error", U32)}),
    Row<&V::PerfMonitorGetTCPv6Status>(
        "PerfMonitorGetTCPv6Status", Yes,
        {In("Computer", Text), Out("Supported", U32), Out("Error", U32)}),
    Row<&V::PerfMonitorGetUDPv6Status>(
        "PerfMonitorGetUDPv6Status", Yes,
        {In("Computer", Text), Out("Supported", U32), Out("Error", U32)}),
    Row<&V::PerfMonitorGetWFPv4Status>(
        "PerfMonitorGetWFPv4Status", Yes,
        {In("Computer", Text), Out("Supported", U32), Out("Error", U32)}),
    Row<&V::PerfMonitorGetWFPv6Status>(
        "PerfMonitorGetWFPv6Status", Yes,
        {In("Computer", Text), Out("Supported", U32), Out("Error", U32)}),
    Row<&V::PerfMonitorGetADStatus>(
        "PerfMonitorGetADStatus", Yes,
        {In("Computer", Text), Out("Supported", U32), Out("Error", U32)}),
    Row<&V::PerfMonitorGetCounters>(
        "PerfMonitorGetCounters", Yes,
        {In("MonitorId", U32), Out("CounterList", Object, "CounterList")}),
    Row<&V::GetMonitorCount>("GetMonitorCount", Yes, {Out("Count", U32)}),
    Row<&V::GetMonitorsStatus>(
        "GetMonitorsStatus", Yes,
        {Out("Count", U32), Out("Active", U32), Out("Stopped", U32), Out("Failed", U32)}),
    Row<&V::GetMonitorInfo>("GetMonitorInfo", Yes,
                            {In("Index", U32), Out("MonitorId", U32), Out("Description", Text)}),
    Row<&V::GetMonitorInfoEx>("GetMonitorInfoEx", Yes,
                              {In("MonitorId", U32), Out("Type", U32), Out("Status", U32),
                               Out("RunState", U32), Out("Description", Text),
                               Out("Computer", Text)}),
    Row<&V::GetMonitorInfoList>("GetMonitorInfoList", Yes,
                                {Out("MonitorInfoList", Object, "MonitorInfoList")}),
    Row<&V::IsMonitorExists>("IsMonitorExists", Yes,
                             {In("Monitor", Object), Out("MonitorId", U32), Out("Exists", U32)}),
    Row<&V::GetMonitors>("GetMonitors", Yes, {Out("MonitorList", Object, "MonitorList")}),
    Row<&V::AddMonitor>(
        "AddMonitor", Yes,
        {In("Type", U32), In("Mode", U32), In("Description", Text), Out("MonitorId", U32)}),
    Row<&V::GetMonitorObj>("GetMonitorObj", Yes,
                           {In("MonitorId", U32), Out("Monitor", Object, "Monitor")}),
    Row<&V::SetMonitorObj>("SetMonitorObj", Yes, {In("MonitorId", U32), In("Monitor", Object)}),
    Row<&V::MoveMonitorUp>("MoveMonitorUp", Yes, {In("MonitorId", U32)}),
    Row<&V::MoveMonitorDown>("MoveMonitorDown", Yes, {In("MonitorId", U32)}),
    Row<&V::StartMonitor>("StartMonitor", Yes, {In("MonitorId", U32)}),
    Row<&V::PauseMonitor>("PauseMonitor", Yes, {In("MonitorId", U32)}),
    Row<&V::ResetMonitor>("ResetMonitor", Yes, {In("MonitorId", U32)}),
    Row<&V::RestartMonitor>("RestartMonitor", Yes, {In("MonitorId", U32)}),
    Row<&V::StopMonitor>("StopMonitor", Yes, {In("MonitorId", U32)}),
    Row<&V::StartAllMonitors>("StartAllMonitors", Yes, {}),
    Row<&V::StopAllMonitors>("StopAllMonitors", Yes, {}),
    Row<&V::GetMonitorProfile>("GetMonitorProfile", Yes,
                               {In("MonitorId", U32), Out("Type", U32),
                                Out("CountersStatusId", U32), Out("Profile", Object, "Profile")}),
    Row<&V::GetMonitorStats>("GetMonitorStats", No,
                             {In("MonitorId", U32), Out("Type", U32), Out("Status", U32),
                              Out("RunState", U32), Out("Counters", U32), Out("Errors", U32),
                              Out("Warnings", U32)}),
    Row<&V::GetMonitorStatus>("GetMonitorStatus", Yes,
                              {In("MonitorId", U32), Out("Type", U32), Out("Status", U32),
                               Out("RunState", U32), Out("CountersStatusId", U32),
                               Out("CountersStatus", Object, "CSL")}),
    Row<&V::GetMonitorStatusEx>("GetMonitorStatusEx", Yes,
                                {In("MonitorId", U32), Out("Type", U32), Out("Status", U32),
                                 Out("RunState", U32), Out("Errors", U32), Out("Warnings", U32),
                                 Out("ProcessTime", U64), Out("CountersStatusId", U32),
                                 Out("CountersStatus", Object, "CSL"), In("CounterId", U32),
                                 In("LastDataTime", U64), In("Range", U32),
                                 Out("CounterData", Object, "CCD"), Out("LastSoundTime", U64)}),
    Row<&V::GetCounterStatusEx>("GetCounterStatusEx", Yes,
                                {In("MonitorId", U32), In("CounterId", U32), In("Since", U64),
                                 In("Count", U32), Out("CounterData", Object, "CD"),
                                 Out("StatusText", Text)}),
    Row<&V::GetMonitorReport>("GetMonitorReport", Yes,
                              {In("MonitorId", U32), Out("Report", Object, "Report")}),
    Row<&V::GetMonitorErrors>("GetMonitorErrors", Yes,
                              {In("MonitorId", U32), Out("Errors", Object, "Errors")}),
    Row<&V::DeleteMonitor>("DeleteMonitor", Yes, {In("MonitorId", U32)}),
    Row<&V::DeleteAllMonitors>("DeleteAllMonitors", Yes, {}),
    Row<&V::AddCounter>("AddCounter", Yes,
                        {In("MonitorId", U32), In("CounterType", U32), In("Computer", Text),
                         In("Instance", Text), In("NamePrefix", Text), Out("CounterId", U32)}),
    Row<&V::IsCounterExists>("IsCounterExists", Yes,
                             {In("MonitorId", U32), In("CounterType", U32), In("Computer", Text),
                              In("Instance", Text), In("NamePrefix", Text), Out("CounterId", U32)}),
    Row<&V::GetCounterData>("GetCounterData", Yes,
                            {In("MonitorId", U32), In("CounterId", U32), In("Since", U64),
                             In("Count", U32), Out("CounterData", Object)}),
    Row<&V::GetCounterInfo>(
        "GetCounterInfo", Yes,
        {In("MonitorId", U32), In("CounterId", U32), Out("CounterInfo", Object, "CounterInfo")}),
    Row<&V::SetCounterInfo>(
        "SetCounterInfo", Yes,
        {In("MonitorId", U32), In("CounterId", U32), In("CounterInfo", Object)}),
    Row<&V::MoveCounterUp>("MoveCounterUp", Yes, {In("MonitorId", U32), In("CounterId", U32)}),
    Row<&V::MoveCounterDown>("MoveCounterDown", Yes, {In("MonitorId", U32), In("CounterId", U32)}),
    Row<&V::DeleteCounter>("DeleteCounter", Yes, {In("MonitorId", U32), In("CounterId", U32)}),
    Row<&V::DeleteAllCounters>("DeleteAllCounters", Yes, {In("MonitorId", U32)}),
    Row<&V::GetSoundActions>(
        "GetSoundActions", Yes,
        {In("Since", U64), Out("LastActionTime", U64), Out("Actions", Object, "ActionList")}),
    Row<&V::GetMonitorProcessLog>("GetMonitorProcessLog", Yes,
                                  {In("MonitorId", U32), Out("ProcessLog", Object, "ProcessLog")}),
    Row<&V::GetMonitorProcessList>(
        "GetMonitorProcessList", Yes,
        {In("MonitorId", U32), In("Details", U32), Out("ProcessList", Object, "ProcessList")}),
    Row<&V::GetMonitorProcessListStatus>("GetMonitorProcessListStatus", Yes,
                                         {In("MonitorId", U32), Out("Type", U32),
                                          Out("Status", U32), Out("ProcessStatus", U32),
                                          Out("StartTime", U64), Out("ListStatus", U32),
                                          Out("ProcessListStatus", Object, "ProcessListStatus")}),
    Row<&V::GetMonitorProcessListStatusEx>(
        "GetMonitorProcessListStatusEx", Yes,
        {In("MonitorId", U32), Out("Type", U32), Out("Status", U32), Out("ProcessStatus", U32),
         Out("StartTime", U64), Out("ListStatus", U32),
         Out("ProcessListStatus", Object, "ProcessListStatus"), In("LogFromId", U32),
         Out("ProcessLog", Object, "ProcessLog")}),
    Row<&V::GetMonitorProcessCounterList>(
        "GetMonitorProcessCounterList", Yes,
        {In("MonitorId", U32), Out("ProcessStatus", U32), In("ProcessId", U32), Out("Status", U32),
         Out("ReportStatus", U32), Out("Errors", U32), Out("Warnings", U32), Out("Instances", U32),
         Out("StartTime", U64), Out("CounterList", Object, "CounterList")}),
    Row<&V::GetMonitorProcessCountersStatus>(
        "GetMonitorProcessCountersStatus", Yes,
        {In("MonitorId", U32), Out("ProcessStatus", U32), In("ProcessId", U32), Out("Status", U32),
         Out("ReportStatus", U32), Out("Errors", U32), Out("Warnings", U32), Out("Instances", U32),
         Out("CountersStatus", Object, "CountersStatus")}),
    Row<&V::GetMonitorProcessCountersStatusEx>(
        "GetMonitorProcessCountersStatusEx", Yes,
        {In("MonitorId", U32), Out("ProcessStatus", U32), In("ProcessId", U32), Out("Status", U32),
         Out("ReportStatus", U32), Out("Errors", U32), Out("Warnings", U32), Out("Instances", U32),
         Out("CountersStatus", Object, "CountersStatus"), In("CounterId", U32),
         In("LastDataTime", U64), In("Range", U32),
         Out("CounterData", Object, "CurrentCounterData"), Out("LastSoundTime", U64)}),
    Row<&V::GetMonitorProcess>("GetMonitorProcess", Yes,
                               {In("MonitorId", U32), In("ProcessId", U32), In("LoadInfo", U32),
                                Out("Process", Object, "Process")}),
    Row<&V::GetMonitorProcessModules>(
        "GetMonitorProcessModules", Yes,
        {In("MonitorId", U32), In("ProcessId", U32), In("Option", U32), Out("ProcessName", Text),
         Out("Modules", Object, "Modules"), Out("Ok", U32), Out("Error", U32)}),
    Row<&V::GetMonitorProcessExcludeList>(
        "GetMonitorProcessExcludeList", Yes,
        {In("MonitorId", U32), Out("ExcludeList", Object, "ExludeList")}),
    Row<&V::SetMonitorProcessExcludeList>("SetMonitorProcessExcludeList", Yes,
                                          {In("MonitorId", U32), In("ExcludeList", Object)}),
    Row<&V::GetReportIndexObj>("GetReportIndexObj", Yes, {Out("ReportIndex", Object)}),
    Row<&V::IsReportExists>("IsReportExists", Yes, {In("ReportInfo", Object), Out("Exists", U32)}),
    Row<&V::AddReportObj>("AddReportObj", Yes, {In("Report", Object), Out("ReportId", U32)}),
    Row<&V::GetReportObj>("GetReportObj", Yes, {In("ReportId", U32), Out("Report", Object)}),
    Row<&V::DeleteReport>("DeleteReport", Yes, {In("ReportId", U32)}),
    Row<&V::DeleteAllReports>("DeleteAllReports", Yes, {}),
    Row<&V::ConnectToNetwork>(
        "ConnectToNetwork", Yes,
        {In("ServerHost", Text), In("DeviceHost", Text), Out("DeviceId", U32)}),
    Row<&V::DisconnectFromNetwork>("DisconnectFromNetwork", Yes, {}),
    Row<&V::StartSelfTest>("StartSelfTest", Yes,
                           {In("Kind", U32), Out("Status", U32), Out("StatusText", Text)}),
    Row<&V::GetSelfTestStatus>("GetSelfTestStatus", Yes,
                               {Out("Status", U32), Out("Progress", U32), Out("StatusText", Text)}),
    Row<&V::GetSelfTestLog>("GetSelfTestLog", Yes, {Out("Log", Object, "Log")}),
    Row<&V::DeleteSelfTest>("DeleteSelfTest", Yes, {}),
};

static_assert(std::size(kTable) == SCA_KORVANTA_COMMAND_COUNT, "the protocol has 120 operations");

} // namespace sca_korvanta

// The command table of the client-to-service protocol.
class SCA_KorvantaCommands {
public:
    SCA_KorvantaCommands() = delete;

    static constexpr uint32_t Count() { return SCA_KORVANTA_COMMAND_COUNT; }
    // Row index (slot order), below Count().
    static constexpr const tagSCA_KORVANTA_COMMAND& Get(uint32_t index) {
        return sca_korvanta::kTable[index];
    }
    // The table part of a row, as the generic field walk and the reference take it.
    static const tagSCA_NET_COMMAND_SHAPE& Shape(uint32_t index) { return Get(index); }
    // The index of the operation of that name; a name that is not in the table does not
    // compile.
    static consteval uint32_t IndexOf(std::string_view name) {
        return sca_net::IndexOf(sca_korvanta::kTable, name);
    }
    // True when an operation with the parameters Args (in order) carries the command's fields.
    template <typename... Args>
    static consteval bool Fits(const tagSCA_KORVANTA_COMMAND& command) {
        return sca_net::Fits<Args...>(command.Fields, command.FieldCount);
    }
};
