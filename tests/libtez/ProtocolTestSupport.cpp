// SPDX-License-Identifier: MIT
#include "ProtocolTestSupport.h"

#include <chrono>
#include <cstdio>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "net/SCA_KorvantaLogin.h"
#include "net/SCA_NetServerAgent.h"
#include "net/SCA_NetTransport.h"
#include "tests/support/KorvantaTestSupport.h"
#include "tests/support/WaitUntil.h"

namespace korvanta_test {

const char* const kProtocol[] = {
    "GetDebugLog Y u32:LastMessageId u32:Count >u32:LogSessionId >obj:DebugLog=DebugLog",
    "ClearDebugLog Y",
    "LoginEx2 N obj:LoginData >obj:LoginResults=LoginResults",
    "GetStatus N >u32:Status",
    "GetStatusObj N >obj:ServerStatus=ServerStatus",
    "GetStatusEx N >obj:ServerStatus=ServerStatus >obj:MonitorsStatus=MonitorsStatus",
    "GetServerInfo N >u32:ProductType >text:Version >text:HostName",
    "GetServerInfoEx N >u32:ProductType >text:Version >text:HostName >u32:EnableOsLogon "
    ">u32:ServerLogonMode",
    "GetServiceInfo N >text:HostName >text:UserName",
    "GetServiceSystemAccountStatus N >u32:SystemAccount",
    "GetOsVersion N >u32:MajorVersion >u32:MinorVersion >u32:BuildNumber >u32:PlatformId",
    "GetProductConfig Y >obj:Config=ProductConfig",
    "SetProductConfig Y obj:Config",
    "GetUserConfig Y >obj:Config=UserConfig",
    "SetUserConfig Y obj:Config u32:Mask",
    "GetProcessMonitorRules Y >obj:Rules=Rules",
    "SetProcessMonitorRules Y obj:Rules",
    "SetupSmtpServer Y text:Server text:User text:Password text:SourceAddress u32:Port "
    "u32:ConnectMode u32:SecureConnect u32:Login u32:TestFirst >u32:Result",
    "GetSmtpServerSetup Y >obj:Config=Config",
    "TestSmtpServer Y >u32:Result",
    "StopServer Y",
    "RestartServer Y",
    "Suspend Y",
    "GetProfileCount Y >u32:Count",
    "GetProfileInfo Y u32:Index >u32:ProfileId >text:Name",
    "GetProfileInfoList Y >obj:ProfilesInfoList=ProfilesInfoList",
    "GetProfiles Y >obj:Profiles=ProfilesObj",
    "GetProfile Y u32:ProfileId >obj:Profile",
    "SetProfile Y u32:ProfileId obj:Profile",
    "IsProfileExists Y text:Name >u32:Exists >u32:ProfileId",
    "AddProfile Y text:Name u32:Preset >u32:ProfileId",
    "CopyProfile Y u32:ProfileId text:NewName >u32:NewProfileId",
    "RenameProfile Y u32:ProfileId text:Name",
    "MoveProfileUp Y u32:ProfileId",
    "MoveProfileDown Y u32:ProfileId",
    "DeleteProfile Y u32:ProfileId",
    "DeleteProfileByName Y text:Name",
    "PerfMonitorConnect Y text:Computer >u32:Status",
    "PerfMonitorGetCpuList Y text:Computer >obj:List >u32:Status",
    "PerfMonitorGetCpuListEx Y text:Computer >obj:List >u32:Status",
    "PerfMonitorGetTotalMemory Y text:Computer >u64:TotalBytes >u32:Status",
    "PerfMonitorGetUsbDevList Y text:Computer >obj:List >u32:Status",
    "PerfMonitorGetNicList Y text:Computer >obj:List >u32:Status",
    "PerfMonitorGetDiskList Y text:Computer >obj:List >u32:Status",
    "PerfMonitorGetPDiskList Y text:Computer >obj:List >u32:Status",
    "PerfMonitorGetProcessList Y text:Computer obj:Filter >obj:List >u32:Status",
    "PerfMonitorGetSmbShareList Y text:Computer u32:Kind obj:Filter >obj:List >u32:Status",
    "PerfMonitorGetSqlInstances Y text:Computer >obj:List >u32:Status",
    "PerfMonitorGetSqlDatabases Y text:Computer text:Instance obj:Filter >obj:List >u32:Status",
    "PerfMonitorGetWebSiteList Y text:Computer obj:Filter >obj:List >u32:Status",
    "PerfMonitorGetISCSITargets Y text:Computer obj:Filter >obj:List >u32:Status",
    "PerfMonitorGetPrinters Y text:Computer >obj:List >u32:Status",
    "PerfMonitorGetCpuFreqStatus Y text:Computer >u32:Supported >u32:Error",
    "PerfMonitorGetTCPv6Status Y text:Computer >u32:Supported >u32:Error",
    "PerfMonitorGetUDPv6Status Y text:Computer >u32:Supported >u32:Error",
    "PerfMonitorGetWFPv4Status Y text:Computer >u32:Supported >u32:Error",
    "PerfMonitorGetWFPv6Status Y text:Computer >u32:Supported >u32:Error",
    "PerfMonitorGetADStatus Y text:Computer >u32:Supported >u32:Error",
    "PerfMonitorGetCounters Y u32:MonitorId >obj:CounterList=CounterList",
    "GetMonitorCount Y >u32:Count",
    "GetMonitorsStatus Y >u32:Count >u32:Active >u32:Stopped >u32:Failed",
    "GetMonitorInfo Y u32:Index >u32:MonitorId >text:Description",
    "GetMonitorInfoEx Y u32:MonitorId >u32:Type >u32:Status >u32:RunState >text:Description "
    ">text:Computer",
    "GetMonitorInfoList Y >obj:MonitorInfoList=MonitorInfoList",
    "IsMonitorExists Y obj:Monitor >u32:MonitorId >u32:Exists",
    "GetMonitors Y >obj:MonitorList=MonitorList",
    "AddMonitor Y u32:Type u32:Mode text:Description >u32:MonitorId",
    "GetMonitorObj Y u32:MonitorId >obj:Monitor=Monitor",
    "SetMonitorObj Y u32:MonitorId obj:Monitor",
    "MoveMonitorUp Y u32:MonitorId",
    "MoveMonitorDown Y u32:MonitorId",
    "StartMonitor Y u32:MonitorId",
    "PauseMonitor Y u32:MonitorId",
    "ResetMonitor Y u32:MonitorId",
    "RestartMonitor Y u32:MonitorId",
    "StopMonitor Y u32:MonitorId",
    "StartAllMonitors Y",
    "StopAllMonitors Y",
    "GetMonitorProfile Y u32:MonitorId >u32:Type >u32:CountersStatusId >obj:Profile=Profile",
    "GetMonitorStats N u32:MonitorId >u32:Type >u32:Status >u32:RunState >u32:Counters >u32:Errors "
    ">u32:Warnings",
    "GetMonitorStatus Y u32:MonitorId >u32:Type >u32:Status >u32:RunState >u32:CountersStatusId "
    ">obj:CountersStatus=CSL",
    "GetMonitorStatusEx Y u32:MonitorId >u32:Type >u32:Status >u32:RunState >u32:Errors "
    ">u32:Warnings >u64:ProcessTime >u32:CountersStatusId >obj:CountersStatus=CSL u32:CounterId "
    "u64:LastDataTime u32:Range >obj:CounterData=CCD >u64:LastSoundTime",
    "GetCounterStatusEx Y u32:MonitorId u32:CounterId u64:Since u32:Count >obj:CounterData=CD "
    ">text:StatusText",
    "GetMonitorReport Y u32:MonitorId >obj:Report=Report",
    "GetMonitorErrors Y u32:MonitorId >obj:Errors=Errors",
    "DeleteMonitor Y u32:MonitorId",
    "DeleteAllMonitors Y",
    "AddCounter Y u32:MonitorId u32:CounterType text:Computer text:Instance text:NamePrefix "
    ">u32:CounterId",
    "IsCounterExists Y u32:MonitorId u32:CounterType text:Computer text:Instance text:NamePrefix "
    ">u32:CounterId",
    "GetCounterData Y u32:MonitorId u32:CounterId u64:Since u32:Count >obj:CounterData",
    "GetCounterInfo Y u32:MonitorId u32:CounterId >obj:CounterInfo=CounterInfo",
    "SetCounterInfo Y u32:MonitorId u32:CounterId obj:CounterInfo",
    "MoveCounterUp Y u32:MonitorId u32:CounterId",
    "MoveCounterDown Y u32:MonitorId u32:CounterId",
    "DeleteCounter Y u32:MonitorId u32:CounterId",
    "DeleteAllCounters Y u32:MonitorId",
    "GetSoundActions Y u64:Since >u64:LastActionTime >obj:Actions=ActionList",
    "GetMonitorProcessLog Y u32:MonitorId >obj:ProcessLog=ProcessLog",
    "GetMonitorProcessList Y u32:MonitorId u32:Details >obj:ProcessList=ProcessList",
    "GetMonitorProcessListStatus Y u32:MonitorId >u32:Type >u32:Status >u32:ProcessStatus "
    ">u64:StartTime >u32:ListStatus >obj:ProcessListStatus=ProcessListStatus",
    "GetMonitorProcessListStatusEx Y u32:MonitorId >u32:Type >u32:Status >u32:ProcessStatus "
    ">u64:StartTime >u32:ListStatus >obj:ProcessListStatus=ProcessListStatus u32:LogFromId "
    ">obj:ProcessLog=ProcessLog",
    "GetMonitorProcessCounterList Y u32:MonitorId >u32:ProcessStatus u32:ProcessId >u32:Status "
    ">u32:ReportStatus >u32:Errors >u32:Warnings >u32:Instances >u64:StartTime "
    ">obj:CounterList=CounterList",
    "GetMonitorProcessCountersStatus Y u32:MonitorId >u32:ProcessStatus u32:ProcessId >u32:Status "
    ">u32:ReportStatus >u32:Errors >u32:Warnings >u32:Instances >obj:CountersStatus=CountersStatus",
    "GetMonitorProcessCountersStatusEx Y u32:MonitorId >u32:ProcessStatus u32:ProcessId "
    ">u32:Status >u32:ReportStatus >u32:Errors >u32:Warnings >u32:Instances "
    ">obj:CountersStatus=CountersStatus u32:CounterId u64:LastDataTime u32:Range "
    ">obj:CounterData=CurrentCounterData >u64:LastSoundTime",
    "GetMonitorProcess Y u32:MonitorId u32:ProcessId u32:LoadInfo >obj:Process=Process",
    "GetMonitorProcessModules Y u32:MonitorId u32:ProcessId u32:Option >text:ProcessName "
    ">obj:Modules=Modules >u32:Ok >u32:Error",
    "GetMonitorProcessExcludeList Y u32:MonitorId >obj:ExcludeList=ExludeList",
    "SetMonitorProcessExcludeList Y u32:MonitorId obj:ExcludeList",
    "GetReportIndexObj Y >obj:ReportIndex",
    "IsReportExists Y obj:ReportInfo >u32:Exists",
    "AddReportObj Y obj:Report >u32:ReportId",
    "GetReportObj Y u32:ReportId >obj:Report",
    "DeleteReport Y u32:ReportId",
    "DeleteAllReports Y",
    "ConnectToNetwork Y text:ServerHost text:DeviceHost >u32:DeviceId",
    "DisconnectFromNetwork Y",
    "StartSelfTest Y u32:Kind >u32:Status >text:StatusText",
    "GetSelfTestStatus Y >u32:Status >u32:Progress >text:StatusText",
    "GetSelfTestLog Y >obj:Log=Log",
    "DeleteSelfTest Y",
};

namespace {

using Call = int (*)(SCA_KorvantaVirtual*, Slots&);

const std::map<std::string, Call>& Calls() {
    static const std::map<std::string, Call> calls = {
    {"GetDebugLog", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->GetDebugLog(s.U32[0], s.U32[1], &s.U32[2], &s.Obj[3]); }},
    {"ClearDebugLog", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->ClearDebugLog(); }},
    {"LoginEx2", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->LoginEx2(s.Obj[0], &s.Obj[1]); }},
    {"GetStatus", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->GetStatus(&s.U32[0]); }},
    {"GetStatusObj", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->GetStatusObj(&s.Obj[0]); }},
    {"GetStatusEx", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->GetStatusEx(&s.Obj[0], &s.Obj[1]); }},
    {"GetServerInfo", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->GetServerInfo(&s.U32[0], s.Text[1], s.Text[2]); }},
    {"GetServerInfoEx", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->GetServerInfoEx(&s.U32[0], s.Text[1], s.Text[2], &s.U32[3], &s.U32[4]); }},
    {"GetServiceInfo", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->GetServiceInfo(s.Text[0], s.Text[1]); }},
    {"GetServiceSystemAccountStatus", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->GetServiceSystemAccountStatus(&s.U32[0]); }},
    {"GetOsVersion", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->GetOsVersion(&s.U32[0], &s.U32[1], &s.U32[2], &s.U32[3]); }},
    {"GetProductConfig", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->GetProductConfig(&s.Obj[0]); }},
    {"SetProductConfig", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->SetProductConfig(s.Obj[0]); }},
    {"GetUserConfig", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->GetUserConfig(&s.Obj[0]); }},
    {"SetUserConfig", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->SetUserConfig(s.Obj[0], s.U32[1]); }},
    {"GetProcessMonitorRules", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->GetProcessMonitorRules(&s.Obj[0]); }},
    {"SetProcessMonitorRules", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->SetProcessMonitorRules(s.Obj[0]); }},
    {"SetupSmtpServer", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->SetupSmtpServer(s.Text[0], s.Text[1], s.Text[2], s.Text[3], s.U32[4], s.U32[5], s.U32[6], s.U32[7], s.U32[8], &s.U32[9]); }},
    {"GetSmtpServerSetup", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->GetSmtpServerSetup(&s.Obj[0]); }},
    {"TestSmtpServer", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->TestSmtpServer(&s.U32[0]); }},
    {"StopServer", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->StopServer(); }},
    {"RestartServer", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->RestartServer(); }},
    {"Suspend", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->Suspend(); }},
    {"GetProfileCount", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->GetProfileCount(&s.U32[0]); }},
    {"GetProfileInfo", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->GetProfileInfo(s.U32[0], &s.U32[1], s.Text[2]); }},
    {"GetProfileInfoList", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->GetProfileInfoList(&s.Obj[0]); }},
    {"GetProfiles", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->GetProfiles(&s.Obj[0]); }},
    {"GetProfile", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->GetProfile(s.U32[0], &s.Obj[1]); }},
    {"SetProfile", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->SetProfile(s.U32[0], s.Obj[1]); }},
    {"IsProfileExists", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->IsProfileExists(s.Text[0], &s.U32[1], &s.U32[2]); }},
    {"AddProfile", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->AddProfile(s.Text[0], s.U32[1], &s.U32[2]); }},
    {"CopyProfile", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->CopyProfile(s.U32[0], s.Text[1], &s.U32[2]); }},
    {"RenameProfile", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->RenameProfile(s.U32[0], s.Text[1]); }},
    {"MoveProfileUp", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->MoveProfileUp(s.U32[0]); }},
    {"MoveProfileDown", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->MoveProfileDown(s.U32[0]); }},
    {"DeleteProfile", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->DeleteProfile(s.U32[0]); }},
    {"DeleteProfileByName", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->DeleteProfileByName(s.Text[0]); }},
    {"PerfMonitorConnect", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->PerfMonitorConnect(s.Text[0], &s.U32[1]); }},
    {"PerfMonitorGetCpuList", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->PerfMonitorGetCpuList(s.Text[0], &s.Obj[1], &s.U32[2]); }},
    {"PerfMonitorGetCpuListEx", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->PerfMonitorGetCpuListEx(s.Text[0], &s.Obj[1], &s.U32[2]); }},
    {"PerfMonitorGetTotalMemory", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->PerfMonitorGetTotalMemory(s.Text[0], &s.U64[1], &s.U32[2]); }},
    {"PerfMonitorGetUsbDevList", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->PerfMonitorGetUsbDevList(s.Text[0], &s.Obj[1], &s.U32[2]); }},
    {"PerfMonitorGetNicList", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->PerfMonitorGetNicList(s.Text[0], &s.Obj[1], &s.U32[2]); }},
    {"PerfMonitorGetDiskList", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->PerfMonitorGetDiskList(s.Text[0], &s.Obj[1], &s.U32[2]); }},
    {"PerfMonitorGetPDiskList", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->PerfMonitorGetPDiskList(s.Text[0], &s.Obj[1], &s.U32[2]); }},
    {"PerfMonitorGetProcessList", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->PerfMonitorGetProcessList(s.Text[0], s.Obj[1], &s.Obj[2], &s.U32[3]); }},
    {"PerfMonitorGetSmbShareList", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->PerfMonitorGetSmbShareList(s.Text[0], s.U32[1], s.Obj[2], &s.Obj[3], &s.U32[4]); }},
    {"PerfMonitorGetSqlInstances", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->PerfMonitorGetSqlInstances(s.Text[0], &s.Obj[1], &s.U32[2]); }},
    {"PerfMonitorGetSqlDatabases", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->PerfMonitorGetSqlDatabases(s.Text[0], s.Text[1], s.Obj[2], &s.Obj[3], &s.U32[4]); }},
    {"PerfMonitorGetWebSiteList", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->PerfMonitorGetWebSiteList(s.Text[0], s.Obj[1], &s.Obj[2], &s.U32[3]); }},
    {"PerfMonitorGetISCSITargets", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->PerfMonitorGetISCSITargets(s.Text[0], s.Obj[1], &s.Obj[2], &s.U32[3]); }},
    {"PerfMonitorGetPrinters", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->PerfMonitorGetPrinters(s.Text[0], &s.Obj[1], &s.U32[2]); }},
    {"PerfMonitorGetCpuFreqStatus", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->PerfMonitorGetCpuFreqStatus(s.Text[0], &s.U32[1], &s.U32[2]); }},
    {"PerfMonitorGetTCPv6Status", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->PerfMonitorGetTCPv6Status(s.Text[0], &s.U32[1], &s.U32[2]); }},
    {"PerfMonitorGetUDPv6Status", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->PerfMonitorGetUDPv6Status(s.Text[0], &s.U32[1], &s.U32[2]); }},
    {"PerfMonitorGetWFPv4Status", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->PerfMonitorGetWFPv4Status(s.Text[0], &s.U32[1], &s.U32[2]); }},
    {"PerfMonitorGetWFPv6Status", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->PerfMonitorGetWFPv6Status(s.Text[0], &s.U32[1], &s.U32[2]); }},
    {"PerfMonitorGetADStatus", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->PerfMonitorGetADStatus(s.Text[0], &s.U32[1], &s.U32[2]); }},
    {"PerfMonitorGetCounters", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->PerfMonitorGetCounters(s.U32[0], &s.Obj[1]); }},
    {"GetMonitorCount", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->GetMonitorCount(&s.U32[0]); }},
    {"GetMonitorsStatus", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->GetMonitorsStatus(&s.U32[0], &s.U32[1], &s.U32[2], &s.U32[3]); }},
    {"GetMonitorInfo", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->GetMonitorInfo(s.U32[0], &s.U32[1], s.Text[2]); }},
    {"GetMonitorInfoEx", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->GetMonitorInfoEx(s.U32[0], &s.U32[1], &s.U32[2], &s.U32[3], s.Text[4], s.Text[5]); }},
    {"GetMonitorInfoList", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->GetMonitorInfoList(&s.Obj[0]); }},
    {"IsMonitorExists", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->IsMonitorExists(s.Obj[0], &s.U32[1], &s.U32[2]); }},
    {"GetMonitors", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->GetMonitors(&s.Obj[0]); }},
    {"AddMonitor", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->AddMonitor(s.U32[0], s.U32[1], s.Text[2], &s.U32[3]); }},
    {"GetMonitorObj", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->GetMonitorObj(s.U32[0], &s.Obj[1]); }},
    {"SetMonitorObj", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->SetMonitorObj(s.U32[0], s.Obj[1]); }},
    {"MoveMonitorUp", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->MoveMonitorUp(s.U32[0]); }},
    {"MoveMonitorDown", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->MoveMonitorDown(s.U32[0]); }},
    {"StartMonitor", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->StartMonitor(s.U32[0]); }},
    {"PauseMonitor", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->PauseMonitor(s.U32[0]); }},
    {"ResetMonitor", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->ResetMonitor(s.U32[0]); }},
    {"RestartMonitor", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->RestartMonitor(s.U32[0]); }},
    {"StopMonitor", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->StopMonitor(s.U32[0]); }},
    {"StartAllMonitors", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->StartAllMonitors(); }},
    {"StopAllMonitors", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->StopAllMonitors(); }},
    {"GetMonitorProfile", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->GetMonitorProfile(s.U32[0], &s.U32[1], &s.U32[2], &s.Obj[3]); }},
    {"GetMonitorStats", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->GetMonitorStats(s.U32[0], &s.U32[1], &s.U32[2], &s.U32[3], &s.U32[4], &s.U32[5], &s.U32[6]); }},
    {"GetMonitorStatus", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->GetMonitorStatus(s.U32[0], &s.U32[1], &s.U32[2], &s.U32[3], &s.U32[4], &s.Obj[5]); }},
    {"GetMonitorStatusEx", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->GetMonitorStatusEx(s.U32[0], &s.U32[1], &s.U32[2], &s.U32[3], &s.U32[4], &s.U32[5], &s.U64[6], &s.U32[7], &s.Obj[8], s.U32[9], s.U64[10], s.U32[11], &s.Obj[12], &s.U64[13]); }},
    {"GetCounterStatusEx", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->GetCounterStatusEx(s.U32[0], s.U32[1], s.U64[2], s.U32[3], &s.Obj[4], s.Text[5]); }},
    {"GetMonitorReport", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->GetMonitorReport(s.U32[0], &s.Obj[1]); }},
    {"GetMonitorErrors", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->GetMonitorErrors(s.U32[0], &s.Obj[1]); }},
    {"DeleteMonitor", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->DeleteMonitor(s.U32[0]); }},
    {"DeleteAllMonitors", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->DeleteAllMonitors(); }},
    {"AddCounter", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->AddCounter(s.U32[0], s.U32[1], s.Text[2], s.Text[3], s.Text[4], &s.U32[5]); }},
    {"IsCounterExists", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->IsCounterExists(s.U32[0], s.U32[1], s.Text[2], s.Text[3], s.Text[4], &s.U32[5]); }},
    {"GetCounterData", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->GetCounterData(s.U32[0], s.U32[1], s.U64[2], s.U32[3], &s.Obj[4]); }},
    {"GetCounterInfo", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->GetCounterInfo(s.U32[0], s.U32[1], &s.Obj[2]); }},
    {"SetCounterInfo", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->SetCounterInfo(s.U32[0], s.U32[1], s.Obj[2]); }},
    {"MoveCounterUp", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->MoveCounterUp(s.U32[0], s.U32[1]); }},
    {"MoveCounterDown", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->MoveCounterDown(s.U32[0], s.U32[1]); }},
    {"DeleteCounter", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->DeleteCounter(s.U32[0], s.U32[1]); }},
    {"DeleteAllCounters", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->DeleteAllCounters(s.U32[0]); }},
    {"GetSoundActions", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->GetSoundActions(s.U64[0], &s.U64[1], &s.Obj[2]); }},
    {"GetMonitorProcessLog", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->GetMonitorProcessLog(s.U32[0], &s.Obj[1]); }},
    {"GetMonitorProcessList", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->GetMonitorProcessList(s.U32[0], s.U32[1], &s.Obj[2]); }},
    {"GetMonitorProcessListStatus", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->GetMonitorProcessListStatus(s.U32[0], &s.U32[1], &s.U32[2], &s.U32[3], &s.U64[4], &s.U32[5], &s.Obj[6]); }},
    {"GetMonitorProcessListStatusEx", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->GetMonitorProcessListStatusEx(s.U32[0], &s.U32[1], &s.U32[2], &s.U32[3], &s.U64[4], &s.U32[5], &s.Obj[6], s.U32[7], &s.Obj[8]); }},
    {"GetMonitorProcessCounterList", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->GetMonitorProcessCounterList(s.U32[0], &s.U32[1], s.U32[2], &s.U32[3], &s.U32[4], &s.U32[5], &s.U32[6], &s.U32[7], &s.U64[8], &s.Obj[9]); }},
    {"GetMonitorProcessCountersStatus", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->GetMonitorProcessCountersStatus(s.U32[0], &s.U32[1], s.U32[2], &s.U32[3], &s.U32[4], &s.U32[5], &s.U32[6], &s.U32[7], &s.Obj[8]); }},
    {"GetMonitorProcessCountersStatusEx", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->GetMonitorProcessCountersStatusEx(s.U32[0], &s.U32[1], s.U32[2], &s.U32[3], &s.U32[4], &s.U32[5], &s.U32[6], &s.U32[7], &s.Obj[8], s.U32[9], s.U64[10], s.U32[11], &s.Obj[12], &s.U64[13]); }},
    {"GetMonitorProcess", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->GetMonitorProcess(s.U32[0], s.U32[1], s.U32[2], &s.Obj[3]); }},
    {"GetMonitorProcessModules", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->GetMonitorProcessModules(s.U32[0], s.U32[1], s.U32[2], s.Text[3], &s.Obj[4], &s.U32[5], &s.U32[6]); }},
    {"GetMonitorProcessExcludeList", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->GetMonitorProcessExcludeList(s.U32[0], &s.Obj[1]); }},
    {"SetMonitorProcessExcludeList", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->SetMonitorProcessExcludeList(s.U32[0], s.Obj[1]); }},
    {"GetReportIndexObj", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->GetReportIndexObj(&s.Obj[0]); }},
    {"IsReportExists", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->IsReportExists(s.Obj[0], &s.U32[1]); }},
    {"AddReportObj", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->AddReportObj(s.Obj[0], &s.U32[1]); }},
    {"GetReportObj", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->GetReportObj(s.U32[0], &s.Obj[1]); }},
    {"DeleteReport", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->DeleteReport(s.U32[0]); }},
    {"DeleteAllReports", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->DeleteAllReports(); }},
    {"ConnectToNetwork", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->ConnectToNetwork(s.Text[0], s.Text[1], &s.U32[2]); }},
    {"DisconnectFromNetwork", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->DisconnectFromNetwork(); }},
    {"StartSelfTest", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->StartSelfTest(s.U32[0], &s.U32[1], s.Text[2]); }},
    {"GetSelfTestStatus", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->GetSelfTestStatus(&s.U32[0], &s.U32[1], s.Text[2]); }},
    {"GetSelfTestLog", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->GetSelfTestLog(&s.Obj[0]); }},
    {"DeleteSelfTest", [](SCA_KorvantaVirtual* c, [[maybe_unused]] Slots& s) { return c->DeleteSelfTest(); }},
    };
    return calls;
}

} // namespace

const std::vector<Operation>& Protocol() {
    static const std::vector<Operation> protocol = [] {
        std::vector<Operation> operations;
        for (const char* line : kProtocol) {
            std::istringstream words(line);
            Operation operation;
            std::string login;
            words >> operation.Name >> login;
            operation.Login = login == "Y";
            for (std::string word; words >> word;) {
                Arg arg;
                arg.Out = word[0] == '>';
                const std::string text = arg.Out ? word.substr(1) : word;
                const size_t colon = text.find(':');
                const size_t equals = text.find('=');
                arg.Kind = text.substr(0, colon);
                arg.Field =
                    text.substr(colon + 1, equals == std::string::npos ? std::string::npos
                                                                       : equals - colon - 1);
                arg.Root = equals == std::string::npos ? "" : text.substr(equals + 1);
                operation.Args.push_back(arg);
            }
            operations.push_back(operation);
        }
        return operations;
    }();
    return protocol;
}

size_t IndexOf(const std::string& name) {
    for (size_t i = 0; i < Protocol().size(); ++i) {
        if (Protocol()[i].Name == name) {
            return i;
        }
    }
    throw std::out_of_range(name);
}

const Operation& Find(const std::string& name) {
    return Protocol().at(IndexOf(name));
}

int CallOperation(const std::string& name, SCA_KorvantaVirtual* target, Slots& slots) {
    return Calls().at(name)(target, slots);
}

uint32_t OutU32(size_t op, size_t i) {
    return static_cast<uint32_t>(7000 + op * 16 + i);
}
uint64_t OutU64(size_t op, size_t i) {
    return 0x100000000ull * (op + 1) + i;
}
std::string OutText(const std::string& op, size_t i) {
    return op + "#" + std::to_string(i);
}
uint32_t InU32(size_t op, size_t i) {
    return static_cast<uint32_t>(100 + op * 16 + i);
}
uint64_t InU64(size_t op, size_t i) {
    return 0x200000000ull * (op + 1) + i;
}
std::string InText(const std::string& op, size_t i) {
    return op + "." + std::to_string(i);
}

SCA_ConfigObj* MakeObject(const char* name, const std::string& tag) {
    auto* object = new SCA_ConfigObj(name, nullptr);
    object->AddField("Tag", tag.c_str());
    return object;
}

std::string TagOf(SCA_ConfigObj* object) {
    char tag[256] = "";
    return object != nullptr && object->GetField("Tag", tag, sizeof(tag)) ? tag : "<none>";
}

void Note(Journal::Call* call, const Arg& arg, size_t, size_t, uint32_t value) {
    call->Inputs.push_back(arg.Field + "=" + std::to_string(value));
}
void Note(Journal::Call* call, const Arg& arg, size_t, size_t, uint64_t value) {
    call->Inputs.push_back(arg.Field + "=" + std::to_string(value));
}
void Note(Journal::Call* call, const Arg& arg, size_t, size_t, const char* value) {
    call->Inputs.push_back(arg.Field + "=" + value);
}
void Note(Journal::Call* call, const Arg& arg, size_t, size_t, SCA_ConfigObj* value) {
    call->Inputs.push_back(arg.Field + "{" + TagOf(value) + "}");
}
void Note(Journal::Call* call, const Arg&, size_t op, size_t i, uint32_t* out) {
    call->OutputsZeroed = call->OutputsZeroed && *out == 0;
    *out = OutU32(op, i);
}
void Note(Journal::Call* call, const Arg&, size_t op, size_t i, uint64_t* out) {
    call->OutputsZeroed = call->OutputsZeroed && *out == 0;
    *out = OutU64(op, i);
}
void Note(Journal::Call* call, const Arg&, size_t, size_t i, char* out) {
    call->OutputsZeroed = call->OutputsZeroed && out[0] == '\0';
    std::snprintf(out, 256, "%s", OutText(call->Op, i).c_str());
}
void Note(Journal::Call* call, const Arg&, size_t, size_t i, SCA_ConfigObj** out) {
    call->OutputsZeroed = call->OutputsZeroed && *out == nullptr;
    *out = MakeObject("Made", OutText(call->Op, i));
}

// The login as a service makes it: the data opens with the request key, names must be there,
// the mode's credential must match, the results go back under the reply key.
int RecordingAgent::LoginEx2(SCA_ConfigObj* data, SCA_ConfigObj** results) {
    SCA_NetTransport* transport = m_Connection->GetTransport();
    char key[SCA_KorvantaLogin::kKeySize];
    SCA_KorvantaLogin::RequestKey(*transport, key);
    SCA_ConfigObj plain(*data);
    char host[256] = "";
    char user[256] = "";
    if (!plain.Decrypt(key, 0, 0) || !plain.GetField("HostName", host, sizeof(host)) ||
        !plain.GetField("UserName", user, sizeof(user)) || host[0] == '\0' || user[0] == '\0') {
        return 0;
    }
    uint32_t status = 0;
    char credential[256] = "";
    switch (m_Journal->LoginMode.load()) {
    case SCA_KORVANTA_LOGIN_NAMES:
        status = 1;
        break;
    case SCA_KORVANTA_LOGIN_PASSWORD:
        status = plain.GetField("Password", credential, sizeof(credential)) &&
                 user == m_Journal->User && credential == m_Journal->Password;
        break;
    case SCA_KORVANTA_LOGIN_SIGNATURE: {
        char expected[SCA_KorvantaLogin::kSignatureSize] = "";
        SCA_KorvantaLogin::Signature(*transport, m_Journal->User.c_str(),
                                     m_Journal->Password.c_str(), expected);
        status = plain.GetField("AuthSig", credential, sizeof(credential)) &&
                 std::string(credential) == expected;
        break;
    }
    default:
        return 0;
    }
    auto* answer = new SCA_ConfigObj("LoginResults", nullptr);
    answer->AddField("LoginStatus", status);
    SCA_KorvantaLogin::ReplyKey(*transport, key);
    answer->Encrypt(key, 0, 0);
    *results = answer;
    if (status == SCA_KORVANTA_LOGGED_IN) {
        m_Connection->SetAuthenticated(1);
    }
    return 1;
}

int RecordingAgent::GetStatus(uint32_t* status) {
    korvanta_test::WaitUntil("the awaited state", [this] { return !m_Journal->HoldStatus.load(); });
    return Take("GetStatus", status);
}

SCA_KorvantaVirtual* TestFactory::CreateAgent(SCA_NetServerAgent* connection) {
    std::lock_guard<std::mutex> lock(m_Lock);
    auto& agent = m_Agents[connection->GetId()];
    agent = std::make_unique<RecordingAgent>(m_Journal, connection);
    return agent.get();
}

SCA_KorvantaVirtual* TestFactory::GetAgent(uint32_t connectionId) {
    std::lock_guard<std::mutex> lock(m_Lock);
    const auto found = m_Agents.find(connectionId);
    return found != m_Agents.end() ? found->second.get() : nullptr;
}

int TestFactory::DeleteAgent(uint32_t connectionId) {
    std::lock_guard<std::mutex> lock(m_Lock);
    return m_Agents.erase(connectionId) == 1 ? 1 : 0;
}

} // namespace korvanta_test
