// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libkvn/SCA_KorvantaNetCommands.h"
#include "libkvn/SCA_KorvantaNetVirtual.h"
#include "libkvn/SCA_KvnExport.h"
#include "net/SCA_NetCommandChannel.h"

class SCA_ConfigObj;

// The client end of the network protocol: every command of SCA_KorvantaNetVirtual as one
// request and one reply over one connection, built from the command table.
//
// A command writes its inputs into the request in table order, sends it, waits for the reply
// (up to the reply time-out) and reads the outputs from it in table order. It fails (0) when
// an argument is unusable (nothing is sent then), when the send or the wait fails (the
// transport's code goes to the last status code), when the reply is named "ERR", or when an
// output field is missing. An object argument is renamed to its field name and linked into the
// request only for the call; it stays the caller's. Object outputs are detached from the reply
// and handed to the caller, who releases them; after a failure they are null.
//
// No thread of its own: each call blocks its caller; calls from several threads are carried one
// after the other.
class SCA_KVN_EXPORT SCA_KorvantaNetClient : public SCA_KorvantaNetVirtual {
public:
    static constexpr uint32_t kDefaultReplyTimeoutMs =
        SCA_NetCommandChannel::kDefaultReplyTimeoutMs;

    // Not connected: port 0xFFFF, empty names.
    SCA_KorvantaNetClient();
    ~SCA_KorvantaNetClient() override;
    // The transport is not copyable (two copies would share one connection), so neither is a
    // client.
    SCA_KorvantaNetClient(const SCA_KorvantaNetClient&) = delete;
    SCA_KorvantaNetClient& operator=(const SCA_KorvantaNetClient&) = delete;

    // Opens the connection, waiting at most timeoutMs for the server's greeting; 1 on success,
    // with host and port kept for GetName, GetFullName and GetPort (cut to their buffers, they
    // only name the server). 0 with the transport's code in *error; names and port unchanged.
    int Connect(const char* host, uint16_t port, uint32_t timeoutMs, uint32_t* error);

    const char* GetName() const { return m_Name; }
    // "host:port".
    const char* GetFullName() const { return m_FullName; }
    uint16_t GetPort() const { return m_Port; }
    // The code of the last failed send or wait; the client never resets it.
    uint32_t GetLastStatusCode() const { return m_Channel.GetLastStatusCode(); }
    void SetLastStatusCode(uint32_t code) { m_Channel.SetLastStatusCode(code); }
    SCA_NetTransport* GetNetTransport() { return m_Channel.GetTransport(); }
    // How long every command waits for its reply (60000 ms unless set).
    uint32_t GetReplyTimeout() const { return m_Channel.GetReplyTimeout(); }
    void SetReplyTimeout(uint32_t timeoutMs) { m_Channel.SetReplyTimeout(timeoutMs); }

    int GetDebugLog(uint32_t lastMessageId, uint32_t count, uint32_t* logSessionId,
                    SCA_ConfigObj** debugLog) override;
    int ClearDebugLog() override;
    int LoginEx2(SCA_ConfigObj* loginData, SCA_ConfigObj** loginResults) override;
    int GetStatus(SCA_ConfigObj** serverStatus) override;
    int GetStatusEx(uint32_t devsStatusId, uint64_t lastUpdateTime, SCA_ConfigObj** serverStatus,
                    SCA_ConfigObj** deviceStatusList) override;
    int GetServerInfo(uint32_t* productType, char* version, char* hostName) override;
    int GetServerInfoEx(uint32_t* productType, char* version, char* hostName,
                        uint32_t* enableOsLogon, uint32_t* logonMode) override;
    int GetServiceInfo(char* hostName, char* userName) override;
    int GetProductConfig(SCA_ConfigObj** config) override;
    int SetProductConfig(SCA_ConfigObj* config) override;
    int GetUserConfig(SCA_ConfigObj** config) override;
    int SetUserConfig(SCA_ConfigObj* config, uint32_t flags) override;
    int StopServer() override;
    int RestartServer() override;
    int Suspend() override;
    int GetGroupIndex(SCA_ConfigObj** groupIndex) override;
    int AddGroup(const char* groupName) override;
    int DeleteGroup(const char* groupName) override;
    int ConnectToNetwork(const char* hostName, uint32_t port, const char* userName,
                         const char* password, uint32_t* deviceId) override;
    int GetDeviceIndexObj(SCA_ConfigObj** deviceIndex, uint32_t includeRuntimeInfo) override;
    int AddDevice(const char* hostName, uint32_t* deviceId) override;
    int GetDeviceInfo(uint32_t deviceId, uint32_t includeRuntimeInfo,
                      SCA_ConfigObj** device) override;
    int GetDeviceStatus(uint32_t deviceId, SCA_ConfigObj** status) override;
    int GetDeviceStatusEx(uint32_t deviceId, const char* counters, SCA_ConfigObj** status,
                          SCA_ConfigObj** countersStatus) override;
    int GetDeviceDebugStatus(uint32_t deviceId, SCA_ConfigObj** status) override;
    int GetDeviceListStatus(SCA_ConfigObj* deviceList, SCA_ConfigObj** status,
                            SCA_ConfigObj** countersStatus) override;
    int DeviceLogin(uint32_t deviceId, const char* hostName, SCA_ConfigObj* deviceData,
                    SCA_ConfigObj** deviceConfig, uint32_t* statusCode) override;
    int UpdateDeviceStatus(uint32_t deviceId, SCA_ConfigObj* deviceStatus,
                           uint32_t* statusCode) override;
    int UpdateDeviceStatusEx(uint32_t deviceId, uint32_t upTime, uint32_t monitorCount,
                             uint32_t activeMonitors, SCA_ConfigObj* deviceStatus,
                             uint32_t* statusCode) override;
    int DeviceLogout(uint32_t deviceId) override;
    int GetDeviceMonitors(uint32_t deviceId, SCA_ConfigObj** monitors) override;
    int GetDeviceSessions(uint32_t deviceId, SCA_ConfigObj** history) override;
    int GetDeviceLastSession(uint32_t deviceId, SCA_ConfigObj** last) override;
    int GetDeviceReportIndex(uint32_t deviceId, SCA_ConfigObj** reports) override;
    int GetDeviceReportList(uint32_t deviceId, SCA_ConfigObj** reports) override;
    int GetDeviceReportCounter(uint32_t deviceId, uint32_t reportId, uint32_t counterType,
                               SCA_ConfigObj** counter) override;
    int GetDeviceMonitorCounter(uint32_t deviceId, uint32_t counterType,
                                SCA_ConfigObj** counter) override;
    int GetDeviceMonitorReportIndex(uint32_t deviceId, uint32_t maxReports,
                                    SCA_ConfigObj** reports) override;
    int GetDeviceMonitorReport(uint32_t deviceId, SCA_ConfigObj** report) override;
    int DeleteDeviceReports(uint32_t deviceId) override;
    int SetNetworkUpdatePeriod(uint32_t updatePeriod) override;
    int SetDeviceUpdatePeriod(uint32_t deviceId, uint32_t updatePeriod) override;
    int SetNetworkMaxPendingStatus(uint32_t maxPendingStatus) override;
    int SetDeviceMaxPendingStatus(uint32_t deviceId, uint32_t maxPendingStatus) override;
    int DeleteDevice(uint32_t deviceId) override;
    int DeleteAllReports() override;
    int GetRules(const char* groupName, SCA_ConfigObj** rules) override;
    int IsRuleExists(const char* groupName, SCA_ConfigObj* rule, uint32_t* status) override;
    int AddRule(const char* groupName, SCA_ConfigObj* rule, uint32_t* ruleId) override;
    int SetRule(const char* groupName, uint32_t ruleId, SCA_ConfigObj* rule) override;
    int GetRule(const char* groupName, uint32_t ruleId, SCA_ConfigObj** rule) override;
    int DeleteRule(const char* groupName, uint32_t ruleId) override;

private:
    template <uint32_t Row, typename... Args>
    int Call(Args... args) {
        return m_Channel.Call<SCA_KorvantaNetCommands, Row>(args...);
    }

    SCA_NetCommandChannel m_Channel;
    char m_Name[32] = "";
    char m_FullName[256] = "";
    uint16_t m_Port = 0xFFFF;
};
