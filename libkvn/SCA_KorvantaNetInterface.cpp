// SPDX-License-Identifier: MIT
// The network interface: construction, the login user and password, and the login.
#include "libkvn/SCA_KorvantaNetInterface.h"

#include <cstdio>
#include <cstring>

#include "libmor/SCA_Report.h"
#include "libmor/SCA_String.h"
#include "libmor/SCA_System.h"
#include "libmor/auth/SCA_LogonUser.h"
#include "model/SCA_ConfigObj.h"
#include "net/SCA_KorvantaLogin.h"

namespace {

// The signature that stands for the password in mode 2.
int AddSignature(SCA_ConfigObj* data, SCA_NetTransport* transport, const char* user,
                 const char* password) {
    char signature[SCA_KorvantaLogin::kSignatureSize] = "";
    if (!SCA_KorvantaLogin::Signature(*transport, user, password, signature)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_KorvantaNetInterface::Login: user name and password too "
                             "long for the login signature");
        return 0;
    }
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
    char key[SCA_KorvantaLogin::kKeySize];
    SCA_KorvantaLogin::RequestKey(*GetNetTransport(), key);
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
    SCA_KorvantaLogin::ReplyKey(*GetNetTransport(), key);
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
