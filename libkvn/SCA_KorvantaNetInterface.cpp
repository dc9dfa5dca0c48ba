// The network interface: construction, the login user and password, and the login.
#include "libkvn/SCA_KorvantaNetInterface.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <string>

#include "libmor/SCA_Report.h"
#include "libmor/SCA_String.h"
#include "libmor/SCA_System.h"
#include "libmor/auth/SCA_LogonUser.h"
#include "libtez/SCA_TezUtils.h"
#include "model/SCA_ConfigObj.h"

namespace {

// Four times of up to 20 digits each, and the NUL.
constexpr size_t kKeySize = 4 * 20 + 1;

// The key of one direction: the four connection times in decimal, without separators. The
// request puts the client's times first, the reply the server's, so neither key opens the
// other direction.
void MakeKey(char* key, uint64_t first, uint64_t second, uint64_t third, uint64_t fourth) {
    std::snprintf(key, kKeySize, "%" PRIu64 "%" PRIu64 "%" PRIu64 "%" PRIu64, first, second, third,
                  fourth);
}

void RequestKey(SCA_NetTransport* transport, char* key) {
    MakeKey(key, transport->GetClientStartTime(), transport->GetClientConnectTime(),
            transport->GetServerStartTime(), transport->GetServerConnectTime());
}

void ReplyKey(SCA_NetTransport* transport, char* key) {
    MakeKey(key, transport->GetServerStartTime(), transport->GetServerConnectTime(),
            transport->GetClientStartTime(), transport->GetClientConnectTime());
}

// The signature that stands for the password in mode 2: it binds the password to this
// connection's server times, so a recorded login does not open another connection.
int AddSignature(SCA_ConfigObj* data, SCA_NetTransport* transport, const char* user,
                 const char* password) {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    if (std::strlen(user) + std::strlen(password) >
        SCA_KorvantaNetInterface::kMaxSignedCredentials) {
        report(SCA_LEVEL_ERROR, "SCA_KorvantaNetInterface::Login: user name and password too "
                                "long for the login signature");
        return 0;
    }
    const std::string text = std::string(user) + "_" +
                             std::to_string(transport->GetServerStartTime()) +
                             std::to_string(transport->GetServerConnectTime()) + "_" + password;
    char signature[256] = "";
    SCA_CalcSigSHA256(text.c_str(), static_cast<uint32_t>(text.size()), signature,
                      sizeof(signature));
    data->AddField("AuthSig", signature);
    return 1;
}

// Mode 0: the operating system checks the account; nothing of it travels.
int CheckAccount(const char* user, const char* password) {
    uint32_t error = 0;
    if (SCA_LogonUser(user, password, 0, &error)) {
        return 1;
    }
    char text[256] = "";
    SCA_GetErrorDescr(error, text, sizeof(text));
    SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR, "User authentication error (%s)",
                                              text);
    return 0;
}

} // namespace

SCA_KorvantaNetInterface::SCA_KorvantaNetInterface() {
    SetConstructed();
}

SCA_KorvantaNetInterface::~SCA_KorvantaNetInterface() = default;

void SCA_KorvantaNetInterface::SetLoginUser(const char* user) {
    SCA_StrnCpy(m_LoginUser, user, sizeof(m_LoginUser));
}

void SCA_KorvantaNetInterface::SetLoginPassword(const char* password) {
    SCA_StrnCpy(m_LoginPassword, password, sizeof(m_LoginPassword));
}

int SCA_KorvantaNetInterface::IsLocalInterface() {
    return std::strcmp(GetName(), "localhost") == 0 ? 1 : 0;
}

int SCA_KorvantaNetInterface::Login(const char* user, const char* password, uint32_t* loginStatus) {
    user = user != nullptr ? user : "";
    password = password != nullptr ? password : "";
    if (std::strlen(user) > kMaxCredential || std::strlen(password) > kMaxCredential) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR,
            "SCA_KorvantaNetInterface::Login: user name or password longer than %u characters",
            kMaxCredential);
        return 0;
    }
    SCA_ConfigObj data("LoginData", nullptr);
    char hostName[256] = "";
    SCA_GetHostName(hostName, sizeof(hostName));
    data.AddField("HostName", hostName);
    data.AddField("UserName", user);
    uint32_t status = 0;
    if (!AddCredentials(&data, user, password) || !Exchange(&data, &status)) {
        return 0;
    }
    if (loginStatus != nullptr) {
        *loginStatus = status;
    }
    SetLoginUser(user);
    SetLoginPassword(password);
    return 1;
}

int SCA_KorvantaNetInterface::AddCredentials(SCA_ConfigObj* data, const char* user,
                                             const char* password) {
    SCA_NetTransport* transport = GetNetTransport();
    const uint32_t mode = transport->GetServerLoginMode();
    switch (mode) {
    case 0:
        return CheckAccount(user, password);
    case 1:
        data->AddField("Password", password);
        return 1;
    case 2:
        return AddSignature(data, transport, user, password);
    default:
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_KorvantaNetInterface::Login: invaid server login mode - %u",
            mode);
        return 0;
    }
}

int SCA_KorvantaNetInterface::Exchange(SCA_ConfigObj* data, uint32_t* loginStatus) {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    char key[kKeySize];
    RequestKey(GetNetTransport(), key);
    if (!data->Encrypt(key, 0, 0)) {
        report(SCA_LEVEL_ERROR, "SCA_KorvantaNetInterface::Login: login data error");
        return 0;
    }
    SCA_ConfigObj* results = nullptr;
    if (!LoginEx2(data, &results) || results == nullptr) {
        report(SCA_LEVEL_ERROR,
               "SCA_KorvantaNetInterface::Login: cannot communicate with the server");
        return 0;
    }
    ReplyKey(GetNetTransport(), key);
    int done = 0;
    if (!results->Decrypt(key, 0, 0)) {
        report(SCA_LEVEL_ERROR, "SCA_KorvantaNetInterface::Login: login results error");
    } else if (!results->GetField("LoginStatus", loginStatus)) {
        report(SCA_LEVEL_ERROR, "SCA_KorvantaNetInterface::Login: cannot get login status");
    } else {
        done = 1;
    }
    SCA_Object::Destroy(results);
    return done;
}
