// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libkvn/SCA_KvnExport.h"
#include "libmor/SCA_Object.h"

class SCA_ConfigObj;

// The 52 commands of the network protocol, one operation each, in the order in which the
// server registers them. The client implements them by one request and one reply each; on the
// server the host program's per-connection agent implements them and the server's handlers call
// them. Code written against this class works the same on either side of a connection.
//
// Every operation answers 1 for success and 0 for failure. Text inputs are at most 255 bytes;
// a text output is a caller's buffer of SCA_KVN_NET_TEXT_SIZE (256) bytes. An object input
// stays its owner's: the callee uses it for the length of the call and keeps no pointer to it.
// An object output is made by the callee and handed to the caller, who releases it with
// Destroy. The client's object outputs are null after a failure; the server releases an object
// that an agent hands out with a failure.
//
// Request and reply fields, their kinds and their order are listed once, in
// SCA_KorvantaNetCommands.h.
class SCA_KVN_EXPORT SCA_KorvantaNetVirtual : public SCA_Object {
public:
    ~SCA_KorvantaNetVirtual() override;

    // 0 here; the typed client interface tells whether its server is this machine.
    virtual int IsLocalInterface();

    virtual int GetDebugLog(uint32_t lastMessageId, uint32_t count, uint32_t* logSessionId,
                            SCA_ConfigObj** debugLog) = 0;
    virtual int ClearDebugLog() = 0;
    virtual int LoginEx2(SCA_ConfigObj* loginData, SCA_ConfigObj** loginResults) = 0;
    virtual int GetStatus(SCA_ConfigObj** serverStatus) = 0;
    virtual int GetStatusEx(uint32_t devsStatusId, uint64_t lastUpdateTime,
                            SCA_ConfigObj** serverStatus, SCA_ConfigObj** deviceStatusList) = 0;
    virtual int GetServerInfo(uint32_t* productType, char* version, char* hostName) = 0;
    virtual int GetServerInfoEx(uint32_t* productType, char* version, char* hostName,
                                uint32_t* enableOsLogon, uint32_t* logonMode) = 0;
    virtual int GetServiceInfo(char* hostName, char* userName) = 0;
    virtual int GetProductConfig(SCA_ConfigObj** config) = 0;
    virtual int SetProductConfig(SCA_ConfigObj* config) = 0;
    virtual int GetUserConfig(SCA_ConfigObj** config) = 0;
    virtual int SetUserConfig(SCA_ConfigObj* config, uint32_t flags) = 0;
    virtual int StopServer() = 0;
    virtual int RestartServer() = 0;
    virtual int Suspend() = 0;
    virtual int GetGroupIndex(SCA_ConfigObj** groupIndex) = 0;
    virtual int AddGroup(const char* groupName) = 0;
    virtual int DeleteGroup(const char* groupName) = 0;
    virtual int ConnectToNetwork(const char* hostName, uint32_t port, const char* userName,
                                 const char* password, uint32_t* deviceId) = 0;
    // The one operation whose output comes before its input.
    virtual int GetDeviceIndexObj(SCA_ConfigObj** deviceIndex, uint32_t includeRuntimeInfo) = 0;
    virtual int AddDevice(const char* hostName, uint32_t* deviceId) = 0;
    virtual int GetDeviceInfo(uint32_t deviceId, uint32_t includeRuntimeInfo,
                              SCA_ConfigObj** device) = 0;
    virtual int GetDeviceStatus(uint32_t deviceId, SCA_ConfigObj** status) = 0;
    virtual int GetDeviceStatusEx(uint32_t deviceId, const char* counters, SCA_ConfigObj** status,
                                  SCA_ConfigObj** countersStatus) = 0;
    virtual int GetDeviceDebugStatus(uint32_t deviceId, SCA_ConfigObj** status) = 0;
    virtual int GetDeviceListStatus(SCA_ConfigObj* deviceList, SCA_ConfigObj** status,
                                    SCA_ConfigObj** countersStatus) = 0;
    virtual int DeviceLogin(uint32_t deviceId, const char* hostName, SCA_ConfigObj* deviceData,
                            SCA_ConfigObj** deviceConfig, uint32_t* statusCode) = 0;
    virtual int UpdateDeviceStatus(uint32_t deviceId, SCA_ConfigObj* deviceStatus,
                                   uint32_t* statusCode) = 0;
    virtual int UpdateDeviceStatusEx(uint32_t deviceId, uint32_t upTime, uint32_t monitorCount,
                                     uint32_t activeMonitors, SCA_ConfigObj* deviceStatus,
                                     uint32_t* statusCode) = 0;
    virtual int DeviceLogout(uint32_t deviceId) = 0;
    virtual int GetDeviceMonitors(uint32_t deviceId, SCA_ConfigObj** monitors) = 0;
    virtual int GetDeviceSessions(uint32_t deviceId, SCA_ConfigObj** history) = 0;
    virtual int GetDeviceLastSession(uint32_t deviceId, SCA_ConfigObj** last) = 0;
    virtual int GetDeviceReportIndex(uint32_t deviceId, SCA_ConfigObj** reports) = 0;
    virtual int GetDeviceReportList(uint32_t deviceId, SCA_ConfigObj** reports) = 0;
    virtual int GetDeviceReportCounter(uint32_t deviceId, uint32_t reportId, uint32_t counterType,
                                       SCA_ConfigObj** counter) = 0;
    virtual int GetDeviceMonitorCounter(uint32_t deviceId, uint32_t counterType,
                                        SCA_ConfigObj** counter) = 0;
    virtual int GetDeviceMonitorReportIndex(uint32_t deviceId, uint32_t maxReports,
                                            SCA_ConfigObj** reports) = 0;
    virtual int GetDeviceMonitorReport(uint32_t deviceId, SCA_ConfigObj** report) = 0;
    virtual int DeleteDeviceReports(uint32_t deviceId) = 0;
    virtual int SetNetworkUpdatePeriod(uint32_t updatePeriod) = 0;
    virtual int SetDeviceUpdatePeriod(uint32_t deviceId, uint32_t updatePeriod) = 0;
    virtual int SetNetworkMaxPendingStatus(uint32_t maxPendingStatus) = 0;
    virtual int SetDeviceMaxPendingStatus(uint32_t deviceId, uint32_t maxPendingStatus) = 0;
    virtual int DeleteDevice(uint32_t deviceId) = 0;
    virtual int DeleteAllReports() = 0;
    virtual int GetRules(const char* groupName, SCA_ConfigObj** rules) = 0;
    virtual int IsRuleExists(const char* groupName, SCA_ConfigObj* rule, uint32_t* status) = 0;
    virtual int AddRule(const char* groupName, SCA_ConfigObj* rule, uint32_t* ruleId) = 0;
    virtual int SetRule(const char* groupName, uint32_t ruleId, SCA_ConfigObj* rule) = 0;
    virtual int GetRule(const char* groupName, uint32_t ruleId, SCA_ConfigObj** rule) = 0;
    virtual int DeleteRule(const char* groupName, uint32_t ruleId) = 0;

protected:
    SCA_KorvantaNetVirtual() { SetConstructed(); }
};
