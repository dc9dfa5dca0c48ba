// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <iterator>
#include <string_view>

#include "libkvn/SCA_KorvantaNetVirtual.h"
#include "net/SCA_NetCommand.h"

class SCA_ConfigObj;

// The network library's names for the generic table types of net/SCA_NetCommand.h.
inline constexpr uint32_t SCA_KVN_NET_TEXT_SIZE = SCA_NET_TEXT_SIZE;
inline constexpr uint32_t SCA_KVN_NET_MAX_FIELDS = SCA_NET_MAX_FIELDS;
inline constexpr uint32_t SCA_KVN_NET_COMMAND_COUNT = 52;

using SCA_KvnNetKind = SCA_NetKind;
using SCA_KvnNetProblem = SCA_NetProblem;
using tagSCA_KVN_NET_FIELD = tagSCA_NET_FIELD;
using tagSCA_KVN_NET_VALUE = tagSCA_NET_VALUE;
using tagSCA_KVN_NET_COMMAND = tagSCA_NET_COMMAND<SCA_KorvantaNetVirtual>;

namespace sca_kvnnet {

using sca_net::Object;
using sca_net::Text;
using sca_net::U32;
using sca_net::U64;
using V = SCA_KorvantaNetVirtual;

// Every command's login rule: the host's agent decides.
template <auto Op>
consteval tagSCA_KVN_NET_COMMAND Row(const char* name,
                                     std::initializer_list<tagSCA_NET_FIELD> fields) {
    return sca_net::Row<Op>(name, SCA_NetLogin::Agent, fields);
}

constexpr tagSCA_NET_FIELD In(const char* name, SCA_NetKind kind) {
    return sca_net::In(name, kind);
}
constexpr tagSCA_NET_FIELD Out(const char* name, SCA_NetKind kind) {
    return sca_net::Out(name, kind);
}

// The protocol: every command once, in registration order. A row lists the operation's
// arguments in order; its inputs are the request fields and its outputs the reply fields, each
// in that order. Every row is checked against its operation's parameters when this compiles.
inline constexpr tagSCA_KVN_NET_COMMAND kTable[] = {
    Row<&V::GetDebugLog>("GetDebugLog", {In("LastMessageId", U32), In("Count", U32),
                                         Out("LogSessionId", U32), Out("DebugLogObj", Object)}),
    Row<&V::ClearDebugLog>("ClearDebugLog", {}),
    Row<&V::LoginEx2>("LoginEx2", {In("LoginData", Object), Out("LoginResults", Object)}),
    Row<&V::GetStatus>("GetStatus", {Out("ServerStatus", Object)}),
    Row<&V::GetStatusEx>("GetStatusEx",
                         {In("DevsStatusId", U32), In("LastUpdateTime", U64),
                          Out("ServerStatus", Object), Out("DeviceStatusList", Object)}),
    Row<&V::GetServerInfo>(
        "GetServerInfo",
        {Out("ServerProductType", U32), Out("ServerVersion", Text), Out("ServerHostName", Text)}),
    Row<&V::GetServerInfoEx>("GetServerInfoEx",
                             {Out("ServerProductType", U32), Out("ServerVersion", Text),
                              Out("ServerHostName", Text), Out("EnableOsLogon", U32),
                              Out("ServerLogonMode", U32)}),
    Row<&V::GetServiceInfo>("GetServiceInfo",
                            {Out("ServiceHostName", Text), Out("ServiceUserName", Text)}),
    Row<&V::GetProductConfig>("GetProductConfig", {Out("Config", Object)}),
    Row<&V::SetProductConfig>("SetProductConfig", {In("Config", Object)}),
    Row<&V::GetUserConfig>("GetUserConfig", {Out("Config", Object)}),
    Row<&V::SetUserConfig>("SetUserConfig", {In("Config", Object), In("Flags", U32)}),
    Row<&V::StopServer>("StopServer", {}),
    Row<&V::RestartServer>("RestartServer", {}),
    Row<&V::Suspend>("Suspend", {}),
    Row<&V::GetGroupIndex>("GetGroupIndex", {Out("GroupIndex", Object)}),
    Row<&V::AddGroup>("AddGroup", {In("GroupName", Text)}),
    Row<&V::DeleteGroup>("DeleteGroup", {In("GroupName", Text)}),
    // "Passord" is the field's name on the wire, on both ends.
    Row<&V::ConnectToNetwork>("ConnectToNetwork",
                              {In("HostName", Text), In("Port", U32), In("UserName", Text),
                               In("Passord", Text), Out("DeviceId", U32)}),
    Row<&V::GetDeviceIndexObj>("GetDeviceIndexObj",
                               {Out("DeviceIndexObj", Object), In("IncludeRuntimeInfo", U32)}),
    Row<&V::AddDevice>("AddDevice", {In("HostName", Text), Out("DeviceId", U32)}),
    Row<&V::GetDeviceInfo>("GetDeviceInfo", {In("DeviceId", U32), In("IncludeRuntimeInfo", U32),
                                             Out("DeviceObj", Object)}),
    Row<&V::GetDeviceStatus>("GetDeviceStatus", {In("DeviceId", U32), Out("StatusObj", Object)}),
    Row<&V::GetDeviceStatusEx>("GetDeviceStatusEx",
                               {In("DeviceId", U32), In("Counters", Text), Out("StatusObj", Object),
                                Out("CountersObj", Object)}),
    Row<&V::GetDeviceDebugStatus>("GetDeviceDebugStatus",
                                  {In("DeviceId", U32), Out("StatusObj", Object)}),
    Row<&V::GetDeviceListStatus>(
        "GetDeviceListStatus",
        {In("DeviceList", Object), Out("StatusObj", Object), Out("CountersObj", Object)}),
    Row<&V::DeviceLogin>("DeviceLogin",
                         {In("DeviceId", U32), In("HostName", Text), In("DeviceData", Object),
                          Out("DeviceConfig", Object), Out("StatusCode", U32)}),
    Row<&V::UpdateDeviceStatus>(
        "UpdateDeviceStatus",
        {In("DeviceId", U32), In("DeviceStatus", Object), Out("StatusCode", U32)}),
    Row<&V::UpdateDeviceStatusEx>("UpdateDeviceStatusEx",
                                  {In("DeviceId", U32), In("UpTime", U32), In("MonitorCount", U32),
                                   In("ActiveMonitors", U32), In("DeviceStatus", Object),
                                   Out("StatusCode", U32)}),
    Row<&V::DeviceLogout>("DeviceLogout", {In("DeviceId", U32)}),
    Row<&V::GetDeviceMonitors>("GetDeviceMonitors", {In("DeviceId", U32), Out("Monitors", Object)}),
    Row<&V::GetDeviceSessions>("GetDeviceSessions", {In("DeviceId", U32), Out("Sessions", Object)}),
    Row<&V::GetDeviceLastSession>("GetDeviceLastSession",
                                  {In("DeviceId", U32), Out("Session", Object)}),
    Row<&V::GetDeviceReportIndex>("GetDeviceReportIndex",
                                  {In("DeviceId", U32), Out("Reports", Object)}),
    Row<&V::GetDeviceReportList>("GetDeviceReportList",
                                 {In("DeviceId", U32), Out("Reports", Object)}),
    Row<&V::GetDeviceReportCounter>("GetDeviceReportCounter",
                                    {In("DeviceId", U32), In("ReportId", U32),
                                     In("CounterType", U32), Out("CounterObj", Object)}),
    Row<&V::GetDeviceMonitorCounter>(
        "GetDeviceMonitorCounter",
        {In("DeviceId", U32), In("CounterType", U32), Out("CounterObj", Object)}),
    Row<&V::GetDeviceMonitorReportIndex>(
        "GetDeviceMonitorReportIndex",
        {In("DeviceId", U32), In("MaxReports", U32), Out("ReportsObj", Object)}),
    Row<&V::GetDeviceMonitorReport>("GetDeviceMonitorReport",
                                    {In("DeviceId", U32), Out("ReportObj", Object)}),
    Row<&V::DeleteDeviceReports>("DeleteDeviceReports", {In("DeviceId", U32)}),
    Row<&V::SetNetworkUpdatePeriod>("SetNetworkUpdatePeriod", {In("UpdatePeriod", U32)}),
    Row<&V::SetDeviceUpdatePeriod>("SetDeviceUpdatePeriod",
                                   {In("DeviceId", U32), In("UpdatePeriod", U32)}),
    Row<&V::SetNetworkMaxPendingStatus>("SetNetworkMaxPendingStatus",
                                        {In("MaxPendingStatus", U32)}),
    Row<&V::SetDeviceMaxPendingStatus>("SetDeviceMaxPendingStatus",
                                       {In("DeviceId", U32), In("MaxPendingStatus", U32)}),
    Row<&V::DeleteDevice>("DeleteDevice", {In("DeviceId", U32)}),
    Row<&V::DeleteAllReports>("DeleteAllReports", {}),
    Row<&V::GetRules>("GetRules", {In("GroupName", Text), Out("RulesObj", Object)}),
    Row<&V::IsRuleExists>("IsRuleExists",
                          {In("GroupName", Text), In("RuleObj", Object), Out("Status", U32)}),
    Row<&V::AddRule>("AddRule", {In("GroupName", Text), In("RuleObj", Object), Out("RuleId", U32)}),
    Row<&V::SetRule>("SetRule", {In("GroupName", Text), In("RuleId", U32), In("RuleObj", Object)}),
    Row<&V::GetRule>("GetRule", {In("GroupName", Text), In("RuleId", U32), Out("RuleObj", Object)}),
    Row<&V::DeleteRule>("DeleteRule", {In("GroupName", Text), In("RuleId", U32)}),
};

static_assert(std::size(kTable) == SCA_KVN_NET_COMMAND_COUNT, "the protocol has 52 commands");

} // namespace sca_kvnnet

// The command table of the network protocol.
class SCA_KorvantaNetCommands {
public:
    SCA_KorvantaNetCommands() = delete;

    static constexpr uint32_t Count() { return SCA_KVN_NET_COMMAND_COUNT; }
    // Row index (registration order), below Count().
    static constexpr const tagSCA_KVN_NET_COMMAND& Get(uint32_t index) {
        return sca_kvnnet::kTable[index];
    }
    // The table part of a row, as the generic field walk and the reference take it.
    static const tagSCA_NET_COMMAND_SHAPE& Shape(uint32_t index) { return Get(index); }
    // The index of the command of that name; a name that is not in the table does not compile.
    static consteval uint32_t IndexOf(std::string_view name) {
        return sca_net::IndexOf(sca_kvnnet::kTable, name);
    }
    // True when an operation with the parameters Args (in order) carries the command's fields.
    template <typename... Args>
    static consteval bool Fits(const tagSCA_KVN_NET_COMMAND& command) {
        return sca_net::Fits<Args...>(command.Fields, command.FieldCount);
    }
};
