// SPDX-License-Identifier: MIT
#include "libkvn/SCA_KorvantaNetClient.h"

#include <cstdio>
#include <cstring>
#include <string_view>

#include "libmor/SCA_Report.h"
#include "libmor/SCA_String.h"
#include "model/SCA_ConfigObj.h"

namespace {

consteval uint32_t Row(std::string_view name) {
    return SCA_KorvantaNetCommands::IndexOf(name);
}

} // namespace

SCA_KorvantaNetClient::SCA_KorvantaNetClient() : m_Channel("SCA_KorvantaNetClient") {
    SetConstructed();
}

// The channel goes with its transport, which closes the connection.
SCA_KorvantaNetClient::~SCA_KorvantaNetClient() = default;

int SCA_KorvantaNetClient::Connect(const char* host, uint16_t port, uint32_t timeoutMs,
                                   uint32_t* error) {
    if (!m_Channel.GetTransport()->Connect(host, port, timeoutMs, error)) {
        return 0;
    }
    char portText[8];
    std::snprintf(portText, sizeof(portText), ":%u", static_cast<unsigned>(port));
    m_Port = port;
    SCA_StrnCpy(m_Name, host, sizeof(m_Name));
    SCA_StrnCpy(m_FullName, host, sizeof(m_FullName) - std::strlen(portText));
    std::strcat(m_FullName, portText);
    return 1;
}

// --- the commands ----------------------------------------------------------------------------

int SCA_KorvantaNetClient::GetDebugLog(uint32_t lastMessageId, uint32_t count,
                                       uint32_t* logSessionId, SCA_ConfigObj** debugLog) {
    return Call<Row("GetDebugLog")>(lastMessageId, count, logSessionId, debugLog);
}

int SCA_KorvantaNetClient::ClearDebugLog() {
    return Call<Row("ClearDebugLog")>();
}

int SCA_KorvantaNetClient::LoginEx2(SCA_ConfigObj* loginData, SCA_ConfigObj** loginResults) {
    return Call<Row("LoginEx2")>(loginData, loginResults);
}

int SCA_KorvantaNetClient::GetStatus(SCA_ConfigObj** serverStatus) {
    return Call<Row("GetStatus")>(serverStatus);
}

int SCA_KorvantaNetClient::GetStatusEx(uint32_t devsStatusId, uint64_t lastUpdateTime,
                                       SCA_ConfigObj** serverStatus,
                                       SCA_ConfigObj** deviceStatusList) {
    return Call<Row("GetStatusEx")>(devsStatusId, lastUpdateTime, serverStatus, deviceStatusList);
}

int SCA_KorvantaNetClient::GetServerInfo(uint32_t* productType, char* version, char* hostName) {
    return Call<Row("GetServerInfo")>(productType, version, hostName);
}

int SCA_KorvantaNetClient::GetServerInfoEx(uint32_t* productType, char* version, char* hostName,
                                           uint32_t* enableOsLogon, uint32_t* logonMode) {
    return Call<Row("GetServerInfoEx")>(productType, version, hostName, enableOsLogon, logonMode);
}

int SCA_KorvantaNetClient::GetServiceInfo(char* hostName, char* userName) {
    return Call<Row("GetServiceInfo")>(hostName, userName);
}

int SCA_KorvantaNetClient::GetProductConfig(SCA_ConfigObj** config) {
    return Call<Row("GetProductConfig")>(config);
}

int SCA_KorvantaNetClient::SetProductConfig(SCA_ConfigObj* config) {
    return Call<Row("SetProductConfig")>(config);
}

int SCA_KorvantaNetClient::GetUserConfig(SCA_ConfigObj** config) {
    return Call<Row("GetUserConfig")>(config);
}

int SCA_KorvantaNetClient::SetUserConfig(SCA_ConfigObj* config, uint32_t flags) {
    return Call<Row("SetUserConfig")>(config, flags);
}

int SCA_KorvantaNetClient::StopServer() {
    return Call<Row("StopServer")>();
}

int SCA_KorvantaNetClient::RestartServer() {
    return Call<Row("RestartServer")>();
}

int SCA_KorvantaNetClient::Suspend() {
    return Call<Row("Suspend")>();
}

int SCA_KorvantaNetClient::GetGroupIndex(SCA_ConfigObj** groupIndex) {
    return Call<Row("GetGroupIndex")>(groupIndex);
}

int SCA_KorvantaNetClient::AddGroup(const char* groupName) {
    return Call<Row("AddGroup")>(groupName);
}

int SCA_KorvantaNetClient::DeleteGroup(const char* groupName) {
    return Call<Row("DeleteGroup")>(groupName);
}

int SCA_KorvantaNetClient::ConnectToNetwork(const char* hostName, uint32_t port,
                                            const char* userName, const char* password,
                                            uint32_t* deviceId) {
    return Call<Row("ConnectToNetwork")>(hostName, port, userName, password, deviceId);
}

int SCA_KorvantaNetClient::GetDeviceIndexObj(SCA_ConfigObj** deviceIndex,
                                             uint32_t includeRuntimeInfo) {
    return Call<Row("GetDeviceIndexObj")>(deviceIndex, includeRuntimeInfo);
}

int SCA_KorvantaNetClient::AddDevice(const char* hostName, uint32_t* deviceId) {
    return Call<Row("AddDevice")>(hostName, deviceId);
}

int SCA_KorvantaNetClient::GetDeviceInfo(uint32_t deviceId, uint32_t includeRuntimeInfo,
                                         SCA_ConfigObj** device) {
    return Call<Row("GetDeviceInfo")>(deviceId, includeRuntimeInfo, device);
}

int SCA_KorvantaNetClient::GetDeviceStatus(uint32_t deviceId, SCA_ConfigObj** status) {
    return Call<Row("GetDeviceStatus")>(deviceId, status);
}

int SCA_KorvantaNetClient::GetDeviceStatusEx(uint32_t deviceId, const char* counters,
                                             SCA_ConfigObj** status,
                                             SCA_ConfigObj** countersStatus) {
    return Call<Row("GetDeviceStatusEx")>(deviceId, counters, status, countersStatus);
}

int SCA_KorvantaNetClient::GetDeviceDebugStatus(uint32_t deviceId, SCA_ConfigObj** status) {
    return Call<Row("GetDeviceDebugStatus")>(deviceId, status);
}

int SCA_KorvantaNetClient::GetDeviceListStatus(SCA_ConfigObj* deviceList, SCA_ConfigObj** status,
                                               SCA_ConfigObj** countersStatus) {
    return Call<Row("GetDeviceListStatus")>(deviceList, status, countersStatus);
}

int SCA_KorvantaNetClient::DeviceLogin(uint32_t deviceId, const char* hostName,
                                       SCA_ConfigObj* deviceData, SCA_ConfigObj** deviceConfig,
                                       uint32_t* statusCode) {
    return Call<Row("DeviceLogin")>(deviceId, hostName, deviceData, deviceConfig, statusCode);
}

int SCA_KorvantaNetClient::UpdateDeviceStatus(uint32_t deviceId, SCA_ConfigObj* deviceStatus,
                                              uint32_t* statusCode) {
    return Call<Row("UpdateDeviceStatus")>(deviceId, deviceStatus, statusCode);
}

int SCA_KorvantaNetClient::UpdateDeviceStatusEx(uint32_t deviceId, uint32_t upTime,
                                                uint32_t monitorCount, uint32_t activeMonitors,
                                                SCA_ConfigObj* deviceStatus, uint32_t* statusCode) {
    return Call<Row("UpdateDeviceStatusEx")>(deviceId, upTime, monitorCount, activeMonitors,
                                             deviceStatus, statusCode);
}

int SCA_KorvantaNetClient::DeviceLogout(uint32_t deviceId) {
    return Call<Row("DeviceLogout")>(deviceId);
}

int SCA_KorvantaNetClient::GetDeviceMonitors(uint32_t deviceId, SCA_ConfigObj** monitors) {
    return Call<Row("GetDeviceMonitors")>(deviceId, monitors);
}

int SCA_KorvantaNetClient::GetDeviceSessions(uint32_t deviceId, SCA_ConfigObj** history) {
    return Call<Row("GetDeviceSessions")>(deviceId, history);
}

int SCA_KorvantaNetClient::GetDeviceLastSession(uint32_t deviceId, SCA_ConfigObj** last) {
    return Call<Row("GetDeviceLastSession")>(deviceId, last);
}

int SCA_KorvantaNetClient::GetDeviceReportIndex(uint32_t deviceId, SCA_ConfigObj** reports) {
    return Call<Row("GetDeviceReportIndex")>(deviceId, reports);
}

int SCA_KorvantaNetClient::GetDeviceReportList(uint32_t deviceId, SCA_ConfigObj** reports) {
    return Call<Row("GetDeviceReportList")>(deviceId, reports);
}

int SCA_KorvantaNetClient::GetDeviceReportCounter(uint32_t deviceId, uint32_t reportId,
                                                  uint32_t counterType, SCA_ConfigObj** counter) {
    return Call<Row("GetDeviceReportCounter")>(deviceId, reportId, counterType, counter);
}

int SCA_KorvantaNetClient::GetDeviceMonitorCounter(uint32_t deviceId, uint32_t counterType,
                                                   SCA_ConfigObj** counter) {
    return Call<Row("GetDeviceMonitorCounter")>(deviceId, counterType, counter);
}

int SCA_KorvantaNetClient::GetDeviceMonitorReportIndex(uint32_t deviceId, uint32_t maxReports,
                                                       SCA_ConfigObj** reports) {
    return Call<Row("GetDeviceMonitorReportIndex")>(deviceId, maxReports, reports);
}

int SCA_KorvantaNetClient::GetDeviceMonitorReport(uint32_t deviceId, SCA_ConfigObj** report) {
    return Call<Row("GetDeviceMonitorReport")>(deviceId, report);
}

int SCA_KorvantaNetClient::DeleteDeviceReports(uint32_t deviceId) {
    return Call<Row("DeleteDeviceReports")>(deviceId);
}

int SCA_KorvantaNetClient::SetNetworkUpdatePeriod(uint32_t updatePeriod) {
    return Call<Row("SetNetworkUpdatePeriod")>(updatePeriod);
}

int SCA_KorvantaNetClient::SetDeviceUpdatePeriod(uint32_t deviceId, uint32_t updatePeriod) {
    return Call<Row("SetDeviceUpdatePeriod")>(deviceId, updatePeriod);
}

int SCA_KorvantaNetClient::SetNetworkMaxPendingStatus(uint32_t maxPendingStatus) {
    return Call<Row("SetNetworkMaxPendingStatus")>(maxPendingStatus);
}

int SCA_KorvantaNetClient::SetDeviceMaxPendingStatus(uint32_t deviceId, uint32_t maxPendingStatus) {
    return Call<Row("SetDeviceMaxPendingStatus")>(deviceId, maxPendingStatus);
}

int SCA_KorvantaNetClient::DeleteDevice(uint32_t deviceId) {
    return Call<Row("DeleteDevice")>(deviceId);
}

int SCA_KorvantaNetClient::DeleteAllReports() {
    return Call<Row("DeleteAllReports")>();
}

int SCA_KorvantaNetClient::GetRules(const char* groupName, SCA_ConfigObj** rules) {
    return Call<Row("GetRules")>(groupName, rules);
}

int SCA_KorvantaNetClient::IsRuleExists(const char* groupName, SCA_ConfigObj* rule,
                                        uint32_t* status) {
    return Call<Row("IsRuleExists")>(groupName, rule, status);
}

int SCA_KorvantaNetClient::AddRule(const char* groupName, SCA_ConfigObj* rule, uint32_t* ruleId) {
    return Call<Row("AddRule")>(groupName, rule, ruleId);
}

int SCA_KorvantaNetClient::SetRule(const char* groupName, uint32_t ruleId, SCA_ConfigObj* rule) {
    return Call<Row("SetRule")>(groupName, ruleId, rule);
}

int SCA_KorvantaNetClient::GetRule(const char* groupName, uint32_t ruleId, SCA_ConfigObj** rule) {
    return Call<Row("GetRule")>(groupName, ruleId, rule);
}

int SCA_KorvantaNetClient::DeleteRule(const char* groupName, uint32_t ruleId) {
    return Call<Row("DeleteRule")>(groupName, ruleId);
}
