// SPDX-License-Identifier: MIT
// The agent's mail-server setup, its display and its connection test. The settings live in the
// user configuration (in memory until it is saved next); they are read and written under the
// control object's data lock, and no lock is held while a test connects.
#include <cstring>
#include <mutex>
#include <new>

#include "korvas/SCA_KorvantaAgent.h"
#include "korvas/SCA_KorvantaCtrl.h"
#include "libmor/SCA_Report.h"
#include "libmor/SCA_String.h"
#include "libmor/mail/SCA_SmtpClient.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezConfigUser.h"

namespace {

constexpr uint32_t kMaxPort = 65535;

const char* YesNo(int value) {
    return value != 0 ? "Yes" : "No";
}

const char* ConnectModeName(uint32_t mode) {
    switch (mode) {
    case SCA_SMTP_TLS_IF_AVAILABLE:
        return "TLS, If Available";
    case SCA_SMTP_TLS:
        return "TLS";
    case SCA_SMTP_SSL:
        return "SSL";
    default:
        return "INV";
    }
}

// One connection attempt with these settings; the client ends it when it goes.
int TryConnect(const char* server, uint32_t port, const char* user, const char* password,
               uint32_t login, uint32_t secure, uint32_t connectMode) {
    SCA_SmtpClient client;
    uint32_t error = 0;
    const int connected =
        client.Connect(server, port, user, password, login, secure, connectMode, &error);
    if (!connected) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                                  "Cannot connect to the specified SMTP server.");
    }
    return connected;
}

const char* OrEmpty(const char* text) {
    return text != nullptr ? text : "";
}

} // namespace

int SCA_KorvantaAgent::SetupSmtpServer(const char* server, const char* user, const char* password,
                                       const char* sourceAddress, uint32_t port,
                                       uint32_t connectMode, uint32_t secureConnect, uint32_t login,
                                       uint32_t testFirst, uint32_t* result) {
    if (!IsLoggedIn()) {
        return 0;
    }
    *result = 0;
    // The stored port is 16 bits wide: a larger number would be kept as another port.
    if (port > kMaxPort) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_KorvantaAgent::SetupSmtpServer: invalid SMTP server port - %u",
            port);
        return 1;
    }
    if (testFirst != 0 && !TryConnect(OrEmpty(server), port, OrEmpty(user), OrEmpty(password),
                                      login, secureConnect, connectMode)) {
        return 1;
    }
    const int stored = StoreConfigChange("SetupSmtpServer", [&] {
        m_UserConfig->SetEmailServer(OrEmpty(server));
        m_UserConfig->SetEmailServerPort(static_cast<uint16_t>(port));
        m_UserConfig->SetEmailAccount(OrEmpty(user));
        m_UserConfig->SetEmailPassword(OrEmpty(password));
        m_UserConfig->SetEmailAddress(OrEmpty(sourceAddress));
        m_UserConfig->SetEmailConnectMode(connectMode);
        m_UserConfig->SetEmailSecureConnect(secureConnect != 0 ? 1 : 0);
        m_UserConfig->SetEmailLogin(login != 0 ? 1 : 0);
        m_UserConfig->SetEnableEmail(1);
        return 1;
    });
    if (!stored) {
        return 1;
    }
    ReportInfo("SMTP server configuration updated");
    *result = 1;
    return 1;
}

int SCA_KorvantaAgent::GetSmtpServerSetup(SCA_ConfigObj** config) {
    SCA_ConfigObj* object = NewReply("Config", "GetSmtpServerSetup", "cannot create config object");
    if (object == nullptr) {
        return 0;
    }
    const auto snapshot = m_UserConfig->GetSnapshot();
    const SCA_TezUserSettings& mail = snapshot->Settings;
    // The password never leaves the service: its field is there, empty.
    const int filled =
        object->AddField("E-Mail Notifications", mail.EnableEmail != 0 ? "Enabled" : "Disabled") &&
        object->AddField("Source E-Mail Address", mail.EmailAddress) &&
        object->AddField("SMTP Server", mail.EmailServer) &&
        object->AddField("SMTP Server Port", mail.EmailServerPort) &&
        object->AddField("SMTP Server Login", YesNo(mail.EmailLogin)) &&
        object->AddField("SMTP User Name", mail.EmailAccount) &&
        object->AddField("SMTP Password", "") &&
        object->AddField("SMTP Secure Connect", YesNo(mail.EmailSecureConnect)) &&
        object->AddField("SMTP Connect Mode", ConnectModeName(mail.EmailConnectMode));
    if (!filled) {
        SCA_Object::Destroy(object);
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_KorvantaAgent::GetSmtpServerSetup: cannot create config object");
        return 0;
    }
    *config = object;
    return 1;
}

int SCA_KorvantaAgent::TestSmtpServer(uint32_t* result) {
    *result = 0;
    const auto config = m_UserConfig->GetSnapshot();
    const SCA_TezUserSettings& mail = config->Settings;
    if (mail.EnableEmail == 0) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                                  "E-Mail Notifications are disabled");
        return 1;
    }
    *result = TryConnect(mail.EmailServer, mail.EmailServerPort, mail.EmailAccount,
                         mail.EmailPassword, mail.EmailLogin != 0 ? 1u : 0u,
                         mail.EmailSecureConnect != 0 ? 1u : 0u, mail.EmailConnectMode)
                  ? 1
                  : 0;
    return 1;
}
