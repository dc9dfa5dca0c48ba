// SPDX-License-Identifier: MIT
// The client object: construction, the login user and password, and the login.
#include "libtez/SCA_KorvantaInterface.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "libmor/SCA_Report.h"
#include "libmor/SCA_String.h"
#include "libmor/SCA_System.h"
#include "model/SCA_ConfigObj.h"
#include "net/SCA_KorvantaLogin.h"

SCA_KorvantaInterface::SCA_KorvantaInterface() {
    SetConstructed();
}

SCA_KorvantaInterface::~SCA_KorvantaInterface() = default;

int SCA_KorvantaInterface::IsLocalInterface() {
    return std::strcmp(GetName(), kLocalHost) == 0 ? 1 : 0;
}

SCA_KorvantaInterface* SCA_KorvantaInterface::NewClient() const {
    return new (std::nothrow) SCA_KorvantaInterface();
}

void SCA_KorvantaInterface::SetLoginUser(const char* user) {
    SCA_StrnCpy(m_LoginUser, user, sizeof(m_LoginUser));
}

void SCA_KorvantaInterface::SetLoginPassword(const char* password) {
    SCA_StrnCpy(m_LoginPassword, password, sizeof(m_LoginPassword));
}

int SCA_KorvantaInterface::Login(const char* user, const char* password, uint32_t* loginStatus) {
    user = user != nullptr ? user : "";
    password = password != nullptr ? password : "";
    if (std::strlen(user) > kMaxCredential || std::strlen(password) > kMaxCredential) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR,
            "SCA_KorvantaInterface::Login: user name or password longer than %u characters",
            kMaxCredential);
        return 0;
    }
    SCA_ConfigObj data("LoginData", nullptr);
    char hostName[SCA_NET_TEXT_SIZE] = "";
    SCA_GetHostName(hostName, sizeof(hostName));
    data.AddField("HostName", hostName);
    data.AddField("UserName", user);
    uint32_t status = 0;
    if (!AddCredentials(&data, user, password) || !ExchangeLogin(&data, &status)) {
        return 0;
    }
    if (loginStatus != nullptr) {
        *loginStatus = status;
    }
    if (status == SCA_KORVANTA_LOGGED_IN) {
        SetLoginUser(user);
        SetLoginPassword(password);
    }
    return 1;
}

int SCA_KorvantaInterface::AddCredentials(SCA_ConfigObj* data, const char* user,
                                          const char* password) {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    SCA_NetTransport* transport = GetNetTransport();
    const uint32_t mode = transport->GetServerLoginMode();
    switch (mode) {
    case SCA_KORVANTA_LOGIN_NAMES:
        return 1;
    case SCA_KORVANTA_LOGIN_PASSWORD:
        return data->AddField("Password", password);
    case SCA_KORVANTA_LOGIN_SIGNATURE: {
        char signature[SCA_KorvantaLogin::kSignatureSize] = "";
        if (!SCA_KorvantaLogin::Signature(*transport, user, password, signature)) {
            report(SCA_LEVEL_ERROR, "SCA_KorvantaInterface::Login: user name and password too "
                                    "long for the login signature");
            return 0;
        }
        return data->AddField("AuthSig", signature);
    }
    default:
        report(SCA_LEVEL_ERROR, "SCA_KorvantaInterface::Login: invalid server login mode - %u",
               mode);
        return 0;
    }
}

int SCA_KorvantaInterface::ExchangeLogin(SCA_ConfigObj* data, uint32_t* loginStatus) {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    char key[SCA_KorvantaLogin::kKeySize];
    SCA_KorvantaLogin::RequestKey(*GetNetTransport(), key);
    if (!data->Encrypt(key, 0, 0)) {
        report(SCA_LEVEL_ERROR, "SCA_KorvantaInterface::Login: cannot encrypt the login data");
        return 0;
    }
    SCA_ConfigObj* raw = nullptr;
    const uint32_t replyTimeoutMs = GetReplyTimeout();
    SetReplyTimeout(std::max(replyTimeoutMs, kLoginReplyTimeoutMs));
    const int exchanged = LoginEx2(data, &raw);
    SetReplyTimeout(replyTimeoutMs);
    const SCA_OwnedPtr<SCA_ConfigObj> results(raw);
    if (!exchanged) {
        // A lost connection is the caller's to tell.
        if (!LostConnection()) {
            report(SCA_LEVEL_ERROR,
                   "SCA_KorvantaInterface::Login: cannot communicate with the server");
        }
        return 0;
    }
    SCA_KorvantaLogin::ReplyKey(*GetNetTransport(), key);
    if (!results->Decrypt(key, 0, 0)) {
        report(SCA_LEVEL_ERROR, "SCA_KorvantaInterface::Login: cannot decrypt the login results");
        return 0;
    }
    if (!results->GetField("LoginStatus", loginStatus)) {
        report(SCA_LEVEL_ERROR, "SCA_KorvantaInterface::Login: cannot get login status");
        return 0;
    }
    char why[SCA_NET_TEXT_SIZE] = "";
    if (*loginStatus != SCA_KORVANTA_LOGGED_IN &&
        results->GetField(SCA_KORVANTA_LOGIN_MESSAGE, why, sizeof(why))) {
        report(SCA_LEVEL_ERROR, "SCA_KorvantaInterface::Login: the server refused the login: %s",
               why);
    }
    return 1;
}
