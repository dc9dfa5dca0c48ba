// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libkvn/SCA_KorvantaNetClient.h"
#include "libkvn/SCA_KvnExport.h"
#include "net/SCA_KorvantaLogin.h"

class SCA_DebugLog;
class SCA_KvnCounter;
class SCA_KvnDeviceIndex;
class SCA_KvnDeviceInfo;
class SCA_KvnDeviceSession;
class SCA_KvnDeviceSessions;
class SCA_KvnReport;
class SCA_KvnReportIndex;
class SCA_KvnReportList;
class SCA_KvnRule;
class SCA_KvnRuleList;
class SCA_SrvMonitorList;
class SCA_TezConfig;
class SCA_TezConfigUser;

// The network client that programs use: the protocol client with the login to a network server
// and typed wrappers that turn the objects of the replies into records (and records into the
// objects that commands send).
//
// Every operation answers 1 or 0 and reports its own failure once, at level 5. A wrapper fills
// the caller's record in place; a record whose reading failed may be partly filled. Whatever
// object a call obtained is released before it returns.
//
// Not copyable, as the client is not; one call at a time, as for the client.
class SCA_KVN_EXPORT SCA_KorvantaNetInterface : public SCA_KorvantaNetClient {
public:
    // The longest user name and password Login takes.
    static constexpr uint32_t kMaxCredential = 255;
    // The longest user name and password together that a mode-2 signature carries.
    static constexpr uint32_t kMaxSignedCredentials = SCA_KorvantaLogin::kMaxSignedCredentials;

    SCA_KorvantaNetInterface();
    ~SCA_KorvantaNetInterface() override;

    const char* GetLoginUser() const { return m_LoginUser; }
    const char* GetLoginPassword() const { return m_LoginPassword; }
    // Copy at most 255 bytes, cut on a UTF-8 boundary; null empties.
    void SetLoginUser(const char* user);
    void SetLoginPassword(const char* password);

    // 1 when the server was given as "localhost" (exactly); an address in digits does not count.
    int IsLocalInterface() override;

    // Logs in by the login mode that the server announced for this connection:
    //   0  the account is checked here, by the operating system; no credential is sent;
    //   1  the password is sent;
    //   2  a signature of user name, password and the server's two connection times is sent.
    // "LoginData" ("HostName", "UserName", then "Password" or "AuthSig") travels encrypted under
    // a key made of the four connection times; the "LoginResults" come back encrypted under the
    // same times in another order. 1 when the server's "LoginStatus" was read into *loginStatus;
    // the caller judges it. Then user and password become the login user and password; a failed
    // login leaves them as they were. A user name or password over 255 bytes is refused, and in
    // mode 2 a pair over kMaxSignedCredentials bytes; nothing is sent then.
    int Login(const char* user, const char* password, uint32_t* loginStatus);

    // The typed wrappers. Each calls the command of the same (or the named) client operation;
    // the operations themselves stay callable.
    using SCA_KorvantaNetClient::AddRule;
    using SCA_KorvantaNetClient::GetDebugLog;
    using SCA_KorvantaNetClient::GetDeviceInfo;
    using SCA_KorvantaNetClient::GetDeviceLastSession;
    using SCA_KorvantaNetClient::GetDeviceMonitorCounter;
    using SCA_KorvantaNetClient::GetDeviceMonitorReport;
    using SCA_KorvantaNetClient::GetDeviceMonitorReportIndex;
    using SCA_KorvantaNetClient::GetDeviceMonitors;
    using SCA_KorvantaNetClient::GetDeviceReportCounter;
    using SCA_KorvantaNetClient::GetDeviceReportIndex;
    using SCA_KorvantaNetClient::GetDeviceReportList;
    using SCA_KorvantaNetClient::GetDeviceSessions;
    using SCA_KorvantaNetClient::GetProductConfig;
    using SCA_KorvantaNetClient::GetRules;
    using SCA_KorvantaNetClient::GetUserConfig;
    using SCA_KorvantaNetClient::IsRuleExists;
    using SCA_KorvantaNetClient::SetProductConfig;
    using SCA_KorvantaNetClient::SetRule;
    using SCA_KorvantaNetClient::SetUserConfig;

    int GetProductConfig(SCA_TezConfig* config);
    int SetProductConfig(SCA_TezConfig* config);
    // Reads every part of the user configuration.
    int GetUserConfig(SCA_TezConfig* config, SCA_TezConfigUser* userConfig);
    int SetUserConfig(SCA_TezConfigUser* userConfig, uint32_t flags);
    int GetDebugLog(uint32_t lastMessageId, uint32_t count, uint32_t* logSessionId,
                    SCA_DebugLog* log);
    // Command GetDeviceIndexObj.
    int GetDeviceIndex(SCA_KvnDeviceIndex* index, int includeRuntimeInfo);
    int GetDeviceInfo(uint32_t deviceId, int includeRuntimeInfo, SCA_KvnDeviceInfo* info);
    int GetDeviceMonitors(uint32_t deviceId, SCA_SrvMonitorList* monitors);
    int GetDeviceReportIndex(uint32_t deviceId, SCA_KvnReportIndex* index);
    int GetDeviceReportList(uint32_t deviceId, SCA_KvnReportList* reports);
    int GetDeviceReportCounter(uint32_t deviceId, uint32_t reportId, uint32_t counterType,
                               SCA_KvnCounter* counter);
    int GetDeviceMonitorCounter(uint32_t deviceId, uint32_t counterType, SCA_KvnCounter* counter);
    int GetDeviceMonitorReportIndex(uint32_t deviceId, uint32_t maxReports,
                                    SCA_KvnReportIndex* index);
    int GetDeviceMonitorReport(uint32_t deviceId, SCA_KvnReport* report);
    int GetDeviceSessions(uint32_t deviceId, SCA_KvnDeviceSessions* sessions);
    int GetDeviceLastSession(uint32_t deviceId, SCA_KvnDeviceSession* session);
    int GetRules(const char* groupName, SCA_KvnRuleList* rules);
    int IsRuleExists(const char* groupName, SCA_KvnRule* rule, uint32_t* status);
    int AddRule(const char* groupName, SCA_KvnRule* rule, uint32_t* ruleId);
    int SetRule(const char* groupName, uint32_t ruleId, SCA_KvnRule* rule);

private:
    // The credentials part of "LoginData" for the server's mode; 0 (reported) when the login
    // must stop here.
    int AddCredentials(SCA_ConfigObj* data, const char* user, const char* password);
    // Sends the encrypted data and reads the decrypted status.
    int Exchange(SCA_ConfigObj* data, uint32_t* loginStatus);

    char m_LoginUser[256] = "";
    char m_LoginPassword[256] = "";
};
