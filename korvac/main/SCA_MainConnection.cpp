// SPDX-License-Identifier: MIT
#include "korvac/main/SCA_MainConnection.h"

#include <QDialog>
#include <QTimer>
#include <cstring>

#include "korvac/kit/SCA_ClientSession.h"
#include "korvac/main/SCA_MainStatusPoll.h"
#include "korvac/main/SCA_SrvGui.h"
#include "libmor/SCA_Limits.h"
#include "libmor/SCA_Report.h"
#include "libmor/SCA_String.h"
#include "libmor/SCA_System.h"
#include "libtez/SCA_KorvantaInterface.h"
#include "libvop/SCA_ConnectDlg.h"
#include "libvop/SCA_ModalHook.h"
#include "model/SCA_SrvConnectList.h"
#include "model/SCA_TezConfig.h"
#include "model/SCA_TezConfigUser.h"

namespace {

constexpr int kDefaultConnectDelayMs = 100;
constexpr uint32_t kDefaultConnectTimeoutMs = 100;
constexpr uint32_t kDialogConnectTimeoutMs = 1000;
constexpr uint32_t kReconnectTicks = 6;

// The saved connection's texts, copied: connecting may rewrite the configuration they come from.
struct SavedLogin {
    explicit SavedLogin(const SCA_TezConfigUser& config) {
        SCA_StrnCpy(Host, config.GetConnectHostName(), sizeof(Host));
        SCA_StrnCpy(User, config.GetConnectUserName(), sizeof(User));
        SCA_StrnCpy(Password, config.GetConnectPassword(), sizeof(Password));
    }
    char Host[256];
    char User[256];
    char Password[256];
};

} // namespace

SCA_MainConnection::SCA_MainConnection(const SCA_MainCommandContext& context, SCA_SrvGui* window,
                                       SCA_MainStatusPoll* poll)
    : QObject(window), m_Context(context), m_Window(*window), m_Poll(*poll),
      m_DisconnectedText(QString::fromLatin1(kPressConnectText)) {
    setObjectName(QStringLiteral("Connection"));
    m_ReconnectTimer = new QTimer(this);
    m_ReconnectTimer->setObjectName(QStringLiteral("ReconnectTimer"));
    m_ReconnectTimer->setSingleShot(true);
    m_ReconnectTimer->setInterval(kDefaultConnectDelayMs);
    connect(m_ReconnectTimer, &QTimer::timeout, this, &SCA_MainConnection::DefaultConnect);
    SCA_ClientSession* session = m_Context.Session;
    connect(session, &SCA_ClientSession::ConnectionLost, this, &SCA_MainConnection::ConnectionLost);
    connect(session, &SCA_ClientSession::Disconnected, this, &SCA_MainConnection::SessionClosed);
    connect(&m_Poll, &SCA_MainStatusPoll::Failed, this, &SCA_MainConnection::Disconnect);
}

int SCA_MainConnection::Connect(const char* host, uint16_t port, const char* user,
                                const char* password, int reportErrors, uint32_t timeoutMs,
                                int addToHistory) {
    SCA_ClientSession* session = m_Context.Session;
    m_ServerHostName[0] = '\0';
    m_ConnectedHost[0] = '\0';
    if (session->IsConnected()) {
        Disconnect();
    }
    uint32_t error = 0;
    if (!session->Open(host, port, timeoutMs, &error)) {
        if (reportErrors) {
            SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                                      "Cannot connect to Korvanta Server @ %s:%ld",
                                                      host, static_cast<long>(port));
        }
        // The automatic reconnection goes on: the service may only be starting.
        Disconnect();
        return 0;
    }
    SCA_KorvantaInterface* client = session->Client();
    // A step the service refused ends the automatic reconnection until a connection succeeds;
    // one whose connection failed is a connection that failed, told as such when asked to.
    auto stepFailed = [&](auto report) {
        if (client->LostConnection()) {
            if (reportErrors) {
                SCA_GetReportFunction(__FILE__, __LINE__)(
                    SCA_LEVEL_ERROR, "Cannot connect to Korvanta Server @ %s:%ld", host,
                    static_cast<long>(port));
            }
        } else {
            report(SCA_GetReportFunction(__FILE__, __LINE__));
            m_AutoConnect = 0;
            m_DisconnectedText = QString::fromLatin1(kPressConnectText);
        }
        Disconnect();
        return 0;
    };
    uint32_t loginStatus = 0;
    if (!session->Step([&](SCA_KorvantaInterface& connection) {
            return connection.Login(user, password, &loginStatus);
        }) ||
        loginStatus != 1) {
        return stepFailed([&](auto say) {
            say(SCA_LEVEL_ERROR, "Cannot login to Korvanta Server @ %s as %s", host, user);
        });
    }
    char version[256] = "";
    char serverHost[256] = "";
    if (!session->Step([&](SCA_KorvantaInterface& connection) {
            return connection.GetServerInfo(&m_ServerProductType, version, serverHost);
        })) {
        return stepFailed([](auto say) { say(SCA_LEVEL_ERROR, "Cannot get server info"); });
    }
    SCA_StrnCpy(m_ServerVersion, version, sizeof(m_ServerVersion));
    SCA_StrnCpy(m_ServerHostName, serverHost, sizeof(m_ServerHostName));
    char serviceHost[256] = "";
    char serviceAccount[256] = "";
    if (!session->Step([&](SCA_KorvantaInterface& connection) {
            return connection.GetServiceInfo(serviceHost, serviceAccount);
        })) {
        return stepFailed([&](auto say) {
            say(SCA_LEVEL_ERROR, "Cannot get Korvanta server info from - %s", host);
        });
    }
    SCA_StrnCpy(m_ServiceHostName, serviceHost, sizeof(m_ServiceHostName));
    SCA_StrnCpy(m_ServiceAccount, serviceAccount, sizeof(m_ServiceAccount));
    if (!LoadServerConfig(reportErrors)) {
        // A lost connection was told by the session; a refusal stops the reconnection.
        if (session->IsConnected()) {
            m_AutoConnect = 0;
            m_DisconnectedText = QString::fromLatin1(kPressConnectText);
        }
        Disconnect();
        return 0;
    }
    char localHost[256] = "";
    SCA_GetHostName(localHost, sizeof(localHost));
    m_LocalServer = std::strcmp(localHost, m_ServerHostName) == 0 ? 1 : 0;
    SCA_StrnCpy(m_ServerProductName, SCA_GetProductName(m_ServerProductType),
                sizeof(m_ServerProductName));

    m_DisconnectedText = QString::fromLatin1(kPressConnectText);
    emit LoggedIn(QByteArray(user), QByteArray(host));
    m_AutoConnect = 1;
    if (addToHistory) {
        m_Context.UserConfig->GetConnectList()->AddConnect(host, user, password, port);
        emit ServersChanged(QByteArray(host));
    }
    SCA_StrnCpy(m_ConnectedHost, host, sizeof(m_ConnectedHost));
    session->Announce();
    return 1;
}

int SCA_MainConnection::Disconnect() {
    // Closing a session resets the window through SessionClosed; without one it is reset here.
    if (m_Context.Session->IsConnected()) {
        m_Context.Session->Close();
    } else {
        ResetDisconnected();
    }
    return 1;
}

void SCA_MainConnection::SessionClosed() {
    ResetDisconnected();
}

void SCA_MainConnection::ConnectionLost(const QString& text) {
    m_DisconnectedText = text;
}

void SCA_MainConnection::ResetDisconnected() {
    emit Reset();
    m_ServerHostName[0] = '\0';
    m_ConnectedHost[0] = '\0';
    m_LocalServer = 0;
}

int SCA_MainConnection::LoadServerConfig(int reportLost) {
    SCA_ClientSession* session = m_Context.Session;
    if (!session->IsConnected()) {
        return 0;
    }
    // A lost connection closed the session: an automatic reconnection, which meets it again
    // at every attempt, leaves the telling to the session's one line.
    const auto failed = [session, reportLost](const char* text) {
        if (reportLost || session->IsConnected()) {
            SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR, "%s", text);
        }
        return 0;
    };
    SCA_TezConfig* serverConfig = m_Context.ServerConfig;
    SCA_TezConfigUser* serverUserConfig = m_Context.ServerUserConfig;
    if (!session->Command([serverConfig](SCA_KorvantaInterface& client) {
            return client.GetProductConfig(serverConfig);
        })) {
        return failed("Cannot load server product configuration");
    }
    if (!session->Command([serverConfig, serverUserConfig](SCA_KorvantaInterface& client) {
            return client.GetUserConfig(serverConfig, serverUserConfig);
        })) {
        return failed("Cannot load server user configuration");
    }
    return 1;
}

int SCA_MainConnection::HasSavedLogin(const char* host, const char* password) {
    // A login with an empty password counts once it succeeded: it then names a known server.
    SCA_SrvConnect* known = nullptr;
    return password[0] != '\0' || m_Context.UserConfig->GetConnectList()->GetConnect(host, &known)
               ? 1
               : 0;
}

void SCA_MainConnection::ConnectSoon() {
    m_ReconnectTimer->start();
}

void SCA_MainConnection::Tick(uint32_t tickCount) {
    if (m_AutoConnect && !m_Context.Session->IsConnected() && !m_ConnectDialogOpen &&
        tickCount != 0 && tickCount % kReconnectTicks == 0) {
        m_ReconnectTimer->start();
    }
}

void SCA_MainConnection::DefaultConnect() {
    // A call in flight runs the event loop while it waits: the attempt comes again later.
    if (m_Context.Session->IsWaiting()) {
        m_ReconnectTimer->start();
        return;
    }
    SCA_TezConfigUser* userConfig = m_Context.UserConfig;
    SavedLogin saved(*userConfig);
    if (!HasSavedLogin(saved.Host, saved.Password)) {
        // The very first start: a login with nothing saved would only fail on the service and
        // count an error against the user before they did anything. The Connect button asks.
        return;
    }
    if (Connect(saved.Host, userConfig->GetConnectControlPort(), saved.User, saved.Password, 0,
                kDefaultConnectTimeoutMs, 1)) {
        m_Poll.UpdateStatus(1);
    } else {
        Disconnect();
    }
}

int SCA_MainConnection::ConnectAndRemember(const char* host, uint16_t port, const char* user,
                                           const char* password, int addToHistory) {
    if (!Connect(host, port, user, password, 1, kDialogConnectTimeoutMs, addToHistory)) {
        Disconnect();
        return 0;
    }
    SCA_TezConfigUser* userConfig = m_Context.UserConfig;
    userConfig->SetConnectHostName(host);
    userConfig->SetConnectControlPort(port);
    userConfig->SetConnectUserName(user);
    userConfig->SetConnectPassword(password);
    m_Poll.UpdateStatus(1);
    return 1;
}

void SCA_MainConnection::ConnectToServer() {
    const SCA_SrvGui::CommandAnswer answer(&m_Window);
    SCA_TezConfigUser* userConfig = m_Context.UserConfig;
    SavedLogin saved(*userConfig);
    const uint16_t port = userConfig->GetConnectControlPort();
    m_ConnectDialogOpen = 1;
    SCA_ConnectDlg dialog(&m_Window, QStringLiteral("Connect to Korvanta Server"),
                          QStringLiteral(":/images/connect_48px.png"), saved.Host, port, saved.User,
                          saved.Password);
    const int result = SCA_ExecDialog(&dialog);
    m_ConnectDialogOpen = 0;
    if (result != QDialog::Accepted) {
        return;
    }
    // The user chose where to connect: a failure is told as such, not as a lost connection.
    m_DisconnectedText = QString::fromLatin1(kPressConnectText);
    uint16_t newPort = 0;
    if (!dialog.GetData(saved.Host, sizeof(saved.Host), &newPort, saved.User, sizeof(saved.User),
                        saved.Password, sizeof(saved.Password))) {
        return;
    }
    ConnectAndRemember(saved.Host, newPort, saved.User, saved.Password, 1);
}

int SCA_MainConnection::ConnectToHost(const char* host) {
    const SCA_SrvGui::CommandAnswer answer(&m_Window);
    if (m_Context.Session->IsConnected() && host != nullptr &&
        std::strcmp(host, m_ConnectedHost) == 0) {
        return 1;
    }
    SCA_SrvConnectList* known = m_Context.UserConfig->GetConnectList();
    SCA_SrvConnect* record = nullptr;
    if (host == nullptr || known->Count() == 0 || !known->GetConnect(host, &record) ||
        record == nullptr) {
        return 0;
    }
    // A copy: connecting may refill the list that holds the record.
    const SCA_SrvConnect server = *record;
    return ConnectAndRemember(server.GetComputerNameA(), server.GetPortNumber(),
                              server.GetUserNameA(), server.GetPassword(), 0);
}
