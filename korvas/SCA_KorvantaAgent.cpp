// SPDX-License-Identifier: MIT
#include "korvas/SCA_KorvantaAgent.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <new>
#include <sys/utsname.h>

#include "korvas/SCA_KorvantaCtrl.h"
#include "libmor/SCA_Event.h"
#include "libmor/SCA_Limits.h"
#include "libmor/SCA_Report.h"
#include "libmor/SCA_String.h"
#include "libmor/SCA_System.h"
#include "libmor/auth/SCA_LogonUser.h"
#include "libtez/SCA_KorvantaServerStatus.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_DebugLog.h"
#include "model/SCA_EncodedObject.h"
#include "model/SCA_SoundActions.h"
#include "model/SCA_TezConfig.h"
#include "model/SCA_TezConfigUser.h"
#include "model/SCA_TezRecordFields.h"
#include "net/SCA_KorvantaLogin.h"
#include "net/SCA_NetLoginThrottle.h"
#include "net/SCA_NetServerAgent.h"
#include "net/SCA_NetTransport.h"
#include "net/SCA_VirtualCmdServer.h"

namespace {

constexpr uint32_t kTextSize = 256;
// The agent's id until the factory gives it the connection's.
constexpr uint32_t kNoAgentId = SCA_ALL_ONES;
constexpr uint32_t kStatusOk = 1;
// What GetOsVersion gives as the platform: this service runs on Linux only.
constexpr uint32_t kPlatformLinux = 1;

// Compares two signature texts in a time that does not tell how much of them matched.
bool SameSignature(const char* a, const char* b) {
    const size_t length = std::strlen(a);
    if (length != std::strlen(b)) {
        return false;
    }
    unsigned char difference = 0;
    for (size_t i = 0; i < length; ++i) {
        difference |= static_cast<unsigned char>(a[i] ^ b[i]);
    }
    return difference == 0;
}

// Reads the first three numbers of a kernel release ("6.1.0-18-amd64").
void ParseRelease(const char* release, uint32_t* numbers, int count) {
    const char* p = release;
    for (int i = 0; i < count && *p != '\0'; ++i) {
        uint32_t value = 0;
        while (*p >= '0' && *p <= '9') {
            value = value * 10 + static_cast<uint32_t>(*p - '0');
            ++p;
        }
        numbers[i] = value;
        if (*p != '.') {
            break;
        }
        ++p;
    }
}

} // namespace

SCA_KorvantaAgent::SCA_KorvantaAgent(SCA_TezConfig* config, SCA_TezConfigUser* userConfig,
                                     SCA_DebugLog* debugLog, SCA_Event* stopEvent,
                                     SCA_NetServerAgent* connection, SCA_KorvantaCtrl* ctrl)
    : m_AgentId(kNoAgentId), m_Config(config), m_UserConfig(userConfig), m_DebugLog(debugLog),
      m_StopEvent(stopEvent), m_Connection(connection), m_Ctrl(ctrl),
      m_Profiles(userConfig != nullptr ? userConfig->GetProfiles() : nullptr),
      m_Monitors(ctrl != nullptr ? ctrl->GetMonitorList() : nullptr) {
    if (config != nullptr && userConfig != nullptr && debugLog != nullptr &&
        connection != nullptr && ctrl != nullptr) {
        SetConstructed();
    }
}

SCA_KorvantaAgent::~SCA_KorvantaAgent() {
    // Only a login connects someone: a refused attempt has its own line already.
    if (m_LoggedIn != 0 && m_UserName[0] != '\0' && m_HostName[0] != '\0') {
        ReportInfo("Disconnected: %s@%s", m_UserName, m_HostName);
    }
}

int SCA_KorvantaAgent::IsLoggedIn() {
    if (m_LoggedIn != 0) {
        return 1;
    }
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    report(SCA_LEVEL_ERROR, "Korvanta Server authentication failed.");
    report(SCA_LEVEL_ERROR, "Please, login with a valid user name and password.");
    return 0;
}

void SCA_KorvantaAgent::ReportInfo(const char* format, ...) {
    char text[2048];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof(text), format, args);
    va_end(args);
    SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_INFO, "%s", text);
}

int SCA_KorvantaAgent::IsLocalInterface() {
    return 1;
}

// --- login ----------------------------------------------------------------------------------

uint32_t SCA_KorvantaAgent::LoginModeFor(SCA_KorvantaCtrl* ctrl, SCA_TezConfigUser* userConfig,
                                         SCA_NetServerAgent* connection) {
    const auto config = userConfig->GetSnapshot();
    const uint32_t mode =
        SCA_TezEffectiveLogonMode(config->Settings.EnableOsLogon, config->Settings.ServerLogonMode);
    const bool exposing = mode == SCA_KORVANTA_LOGIN_NAMES || mode == SCA_KORVANTA_LOGIN_PASSWORD;
    if (!exposing || connection->IsLoopbackPeer() || ctrl->WithData([userConfig] {
            return userConfig->GetAdvancedOption(SCA_OPTION_REMOTE_OPEN_LOGINS);
        }) != 0) {
        return mode;
    }
    return SCA_KORVANTA_LOGIN_SIGNATURE;
}

uint32_t SCA_KorvantaAgent::GetLoginMode() const {
    return LoginModeFor(m_Ctrl, m_UserConfig, m_Connection);
}

int SCA_KorvantaAgent::IsLoginRefused(uint32_t mode, char* reason, uint32_t size) {
    // The client built its login data for the mode its greeting announced: one that no longer
    // holds is never checked by another mode's rules.
    const uint32_t announced = m_Connection->GetTransport()->GetServerLoginMode();
    if (mode != announced) {
        std::snprintf(reason, size,
                      "the login mode is %u now, not %u as this connection was told; connect "
                      "again",
                      mode, announced);
        return 1;
    }
    return 0;
}

int SCA_KorvantaAgent::CheckCredential(SCA_ConfigObj* data, uint32_t mode, const char* user,
                                       uint32_t* status) {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    const auto config = m_UserConfig->GetSnapshot();
    const SCA_TezUserSettings& settings = config->Settings;
    char credential[kTextSize] = "";
    switch (mode) {
    case SCA_KORVANTA_LOGIN_NAMES:
        *status = SCA_KORVANTA_LOGGED_IN;
        return 1;
    case SCA_KORVANTA_LOGIN_PASSWORD: {
        if (!data->GetField("Password", credential, sizeof(credential)) || credential[0] == '\0') {
            report(SCA_LEVEL_ERROR,
                   "SCA_KorvantaAgent::LoginEx2: the login data is invalid (no password)");
            return 0;
        }
        uint32_t error = 0;
        if (SCA_LogonUserFrom(user, credential, m_Connection->GetPeerAddress(), &error)) {
            *status = SCA_KORVANTA_LOGGED_IN;
        } else {
            char text[kTextSize] = "";
            SCA_GetErrorDescr(error, text, sizeof(text));
            report(SCA_LEVEL_ERROR, "User authentication failed (%s)", text);
            report(SCA_LEVEL_ERROR, "Please, login with a valid user name and password.");
            *status = 0;
        }
        std::memset(credential, 0, sizeof(credential));
        return 1;
    }
    case SCA_KORVANTA_LOGIN_SIGNATURE: {
        if (!data->GetField("AuthSig", credential, sizeof(credential)) || credential[0] == '\0') {
            report(SCA_LEVEL_ERROR,
                   "SCA_KorvantaAgent::LoginEx2: the login data is invalid (no signature)");
            return 0;
        }
        char expected[SCA_KorvantaLogin::kSignatureSize] = "";
        // A stored credential too long to sign matches no signature.
        const int signedOk =
            SCA_KorvantaLogin::Signature(*m_Connection->GetTransport(), settings.ServerUserName,
                                         settings.ServerPassword, expected);
        if (signedOk && SameSignature(expected, credential)) {
            *status = SCA_KORVANTA_LOGGED_IN;
        } else {
            report(SCA_LEVEL_ERROR, "User authentication failed.");
            report(SCA_LEVEL_ERROR, "Please, login with a valid user name and password.");
            *status = 0;
        }
        return 1;
    }
    default:
        report(SCA_LEVEL_ERROR, "SCA_KorvantaAgent::LoginEx2: invalid server login mode - %u",
               mode);
        return 0;
    }
}

int SCA_KorvantaAgent::LoginEx2(SCA_ConfigObj* loginData, SCA_ConfigObj** loginResults) {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    if (loginData == nullptr || loginResults == nullptr) {
        return 0;
    }
    SCA_NetTransport* transport = m_Connection->GetTransport();
    char key[SCA_KorvantaLogin::kKeySize];
    SCA_KorvantaLogin::RequestKey(*transport, key);
    // The request's object stays the server's: the plain text is read from a copy.
    SCA_ConfigObj data(*loginData);
    if (!data.IsConstructed() || !data.Decrypt(key, 0, 0)) {
        report(SCA_LEVEL_ERROR,
               "SCA_KorvantaAgent::LoginEx2: the login data is invalid (incorrect format)");
        return 0;
    }
    char host[kTextSize] = "";
    char user[kTextSize] = "";
    if (!data.GetField("HostName", host, sizeof(host)) || host[0] == '\0') {
        report(SCA_LEVEL_ERROR,
               "SCA_KorvantaAgent::LoginEx2: the login data is invalid (no host name)");
        return 0;
    }
    // A connection already logged in keeps the names of its login whatever a later attempt
    // says; a new one shows who tried.
    if (m_LoggedIn == 0) {
        SCA_StrnCpy(m_HostName, host, sizeof(m_HostName));
    }
    if (!data.GetField("UserName", user, sizeof(user)) || user[0] == '\0') {
        report(SCA_LEVEL_ERROR,
               "SCA_KorvantaAgent::LoginEx2: the login data is invalid (no user name)");
        return 0;
    }
    if (m_LoggedIn == 0) {
        SCA_StrnCpy(m_UserName, user, sizeof(m_UserName));
    }
    // A login from an address that must wait is held until its turn, never refused unchecked:
    // the administrator gets in from an address where someone else guesses.
    uint64_t checkStart = 0;
    if (!m_Connection->AwaitLoginTurn(&checkStart)) {
        report(SCA_LEVEL_ERROR,
               "SCA_KorvantaAgent::LoginEx2: login of %s@%s (%s) dropped unchecked: the "
               "connection ended while the login waited for its turn",
               user, host, m_Connection->GetPeerAddress());
        return 0;
    }
    const uint32_t mode = GetLoginMode();
    uint32_t status = 0;
    char refusal[kTextSize] = "";
    if (IsLoginRefused(mode, refusal, sizeof(refusal))) {
        report(SCA_LEVEL_ERROR, "SCA_KorvantaAgent::LoginEx2: login of %s@%s (%s) refused: %s",
               user, host, m_Connection->GetPeerAddress(), refusal);
    } else if (!CheckCredential(&data, mode, user, &status)) {
        return 0;
    } else if (status != SCA_KORVANTA_LOGGED_IN) {
        m_Connection->GetServer()->GetLoginThrottle()->LoginFailed(m_Connection->GetPeerAddress(),
                                                                   checkStart);
        SCA_StrnCpy(refusal, "user authentication failed", sizeof(refusal));
        // Who failed, from where: the line an administrator searches the journal for.
        report(SCA_LEVEL_ERROR, "SCA_KorvantaAgent::LoginEx2: login of %s@%s (%s) failed", user,
               host, m_Connection->GetPeerAddress());
    }
    SCA_ConfigObj* results =
        NewReply("LoginResults", "LoginEx2", "cannot create login results object");
    if (results == nullptr) {
        return 0;
    }
    SCA_KorvantaLogin::ReplyKey(*transport, key);
    if (!results->AddField("LoginStatus", status) ||
        (refusal[0] != '\0' && !results->AddField(SCA_KORVANTA_LOGIN_MESSAGE, refusal)) ||
        !results->Encrypt(key, 0, 0)) {
        report(SCA_LEVEL_ERROR, "SCA_KorvantaAgent::LoginEx2: cannot format login results");
        SCA_Object::Destroy(results);
        return 0;
    }
    *loginResults = results;
    if (status != SCA_KORVANTA_LOGGED_IN) {
        return 1;
    }
    SCA_StrnCpy(m_HostName, host, sizeof(m_HostName));
    SCA_StrnCpy(m_UserName, user, sizeof(m_UserName));
    m_Connection->SetAuthenticated(1);
    ReportInfo("Connected: %s@%s", m_UserName, m_HostName);
    m_LoggedIn = 1;
    return 1;
}

// --- debug log ------------------------------------------------------------------------------

int SCA_KorvantaAgent::GetDebugLog(uint32_t lastMessageId, uint32_t count, uint32_t* logSessionId,
                                   SCA_ConfigObj** debugLog) {
    if (!IsLoggedIn()) {
        return 0;
    }
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    SCA_ConfigObj* object = NewReply("DebugLog", "GetDebugLog", "Cannot create debug log object");
    if (object == nullptr) {
        return 0;
    }
    if (!m_DebugLog->Serialize(count, lastMessageId, SCA_ALL_ONES, object)) {
        SCA_Object::Destroy(object);
        report(SCA_LEVEL_ERROR, "SCA_KorvantaAgent::GetDebugLog: Cannot serialize debug log.");
        return 0;
    }
    *logSessionId = m_DebugLog->GetSessionId();
    *debugLog = object;
    return 1;
}

int SCA_KorvantaAgent::ClearDebugLog() {
    if (!IsLoggedIn()) {
        return 0;
    }
    m_DebugLog->Clear();
    ReportInfo("Clear Debug Log");
    return 1;
}

// --- status ---------------------------------------------------------------------------------

int SCA_KorvantaAgent::GetStatus(uint32_t* status) {
    *status = kStatusOk;
    return 1;
}

int SCA_KorvantaAgent::GetStatusObj(SCA_ConfigObj** serverStatus) {
    SCA_ConfigObj* object = SCA_NewConfigObj("ServerStatus");
    if (object == nullptr || !object->AddField("Status", "Ok") ||
        !object->AddField("Version", kVersion) ||
        !object->AddField("HostName", m_Ctrl->GetHostName())) {
        SCA_Object::Destroy(object);
        return 0;
    }
    *serverStatus = object;
    return 1;
}

// Polled every second by every client: the monitors' part is the control object's snapshot,
// its rows encoded once per change and shared by all the requests until the next one.
int SCA_KorvantaAgent::GetStatusEx(SCA_ConfigObj** serverStatus, SCA_ConfigObj** monitorsStatus) {
    const auto snapshot = m_Ctrl->GetStatusSnapshot();
    if (snapshot == nullptr) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_KorvantaAgent::GetStatusEx: cannot get monitors status");
        return 0;
    }
    const uint32_t totalReports = m_Ctrl->GetReportIndex()->GetPublishedCount();
    SCA_KorvantaServerStatus record;
    record.MonitorsStatusId = snapshot->Counts.MonitorsStatusId;
    record.MonitorCount = snapshot->Counts.MonitorCount;
    record.ActiveMonitors = snapshot->Counts.ActiveMonitors;
    record.FailedMonitors = snapshot->Counts.FailedMonitors;
    record.MonitorErrors = snapshot->Counts.MonitorErrors;
    record.MonitorWarnings = snapshot->Counts.MonitorWarnings;
    record.ServerStatus = kStatusOk;
    record.TotalReports = totalReports;
    record.LastDebugMessageId = m_DebugLog->GetLastMessageId();
    record.LastSoundActionTime = m_Ctrl->GetActionCtrl()->GetLastSoundActionTime();
    SCA_ConfigObj* status = SCA_NewConfigObj("ServerStatus");
    if (status == nullptr || !record.Write(status)) {
        SCA_Object::Destroy(status);
        return 0;
    }
    SCA_ConfigObj* monitors =
        new (std::nothrow) SCA_EncodedObject("MonitorsStatus", snapshot->Rows);
    if (monitors == nullptr || !monitors->IsConstructed()) {
        SCA_Object::Destroy(monitors);
        SCA_Object::Destroy(status);
        return 0;
    }
    *serverStatus = status;
    *monitorsStatus = monitors;
    return 1;
}

int SCA_KorvantaAgent::GetServerInfo(uint32_t* productType, char* version, char* hostName) {
    *productType = m_Config->GetProductType();
    SCA_StrnCpy(version, kVersion, kTextSize);
    SCA_StrnCpy(hostName, m_Ctrl->GetHostName(), kTextSize);
    return 1;
}

int SCA_KorvantaAgent::GetServerInfoEx(uint32_t* productType, char* version, char* hostName,
                                       uint32_t* enableOsLogon, uint32_t* serverLogonMode) {
    GetServerInfo(productType, version, hostName);
    const auto config = m_UserConfig->GetSnapshot();
    *enableOsLogon = static_cast<uint32_t>(config->Settings.EnableOsLogon);
    *serverLogonMode = config->Settings.ServerLogonMode;
    return 1;
}

int SCA_KorvantaAgent::GetServiceInfo(char* hostName, char* userName) {
    hostName[0] = '\0';
    userName[0] = '\0';
    if (!SCA_GetHostName(hostName, kTextSize)) {
        hostName[0] = '\0';
    }
    if (!SCA_GetUserName(userName, kTextSize)) {
        userName[0] = '\0';
    }
    return 1;
}

int SCA_KorvantaAgent::GetServiceSystemAccountStatus(uint32_t* systemAccount) {
    char user[kTextSize] = "";
    if (!SCA_GetUserName(user, sizeof(user))) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_KorvantaAgent::GetServiceSystemAccountStatus: Cannot get "
                             "Korvanta Server service user account");
        return 0;
    }
    *systemAccount = std::strcmp(user, kSystemAccount) == 0 ? 1 : 0;
    return 1;
}

int SCA_KorvantaAgent::GetOsVersion(uint32_t* majorVersion, uint32_t* minorVersion,
                                    uint32_t* buildNumber, uint32_t* platformId) {
    *majorVersion = 0;
    *minorVersion = 0;
    *buildNumber = 0;
    *platformId = 0;
    utsname names{};
    if (uname(&names) == 0) {
        uint32_t numbers[3] = {};
        ParseRelease(names.release, numbers, 3);
        *majorVersion = numbers[0];
        *minorVersion = numbers[1];
        *buildNumber = numbers[2];
        *platformId = kPlatformLinux;
    }
    return 1;
}

// --- service control ------------------------------------------------------------------------

int SCA_KorvantaAgent::StopServer() {
    if (!IsLoggedIn()) {
        return 0;
    }
    m_StopEvent->Set();
    m_Ctrl->Wake();
    return 1;
}

int SCA_KorvantaAgent::RestartServer() {
    if (!IsLoggedIn()) {
        return 0;
    }
    m_Ctrl->SetRestart(1);
    return 1;
}

int SCA_KorvantaAgent::Suspend() {
    if (!IsLoggedIn()) {
        return 0;
    }
    ReportInfo("%s Suspended", SCA_GetProductName(m_Config->GetProductType()));
    return 1;
}

SCA_ConfigObj* SCA_KorvantaAgent::NewReply(const char* name, const char* operation,
                                           const char* what) {
    SCA_ConfigObj* object = SCA_NewConfigObj(name);
    if (object == nullptr) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR, "SCA_KorvantaAgent::%s: %s",
                                                  operation, what);
    }
    return object;
}
