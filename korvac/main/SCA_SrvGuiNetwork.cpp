// SPDX-License-Identifier: MIT
// The main window's connection to a service: connect and log in, what is fetched after login,
// the three ways a connection starts, and the reset on disconnection.
#include <QTimer>
#include <cstring>

#include <QLabel>
#include <QStackedWidget>
#include <QToolButton>

#include "korvac/main/SCA_MonitorsView.h"
#include "korvac/main/SCA_SideBar.h"
#include "korvac/main/SCA_SrvConnectView.h"
#include "korvac/main/SCA_SrvGui.h"
#include "korvac/main/SCA_SrvLogView.h"
#include "korvac/main/SCA_SysTray.h"
#include "libmor/SCA_Limits.h"
#include "libmor/SCA_String.h"
#include "libmor/SCA_System.h"
#include "libtez/SCA_KorvantaInterface.h"
#include "libvop/SCA_ConnectDlg.h"
#include "libvop/SCA_ModalHook.h"
#include "libvop/SCA_SrvAboutDlg.h"
#include "libvop/SCA_StatusIcon.h"
#include "libvop/SCA_TreeRows.h"
#include "libvop/SCA_UpdateDlg.h"
#include "model/SCA_SrvConnectList.h"

namespace {

constexpr uint32_t kDefaultConnectTimeoutMs = 100;
constexpr uint32_t kDialogConnectTimeoutMs = 1000;

} // namespace

int SCA_SrvGui::Connect(const char* host, uint16_t port, const char* user, const char* password,
                        int reportErrors, uint32_t timeoutMs, int addToHistory) {
    m_ServerHostName[0] = '\0';
    m_ConnectedHost[0] = '\0';
    if (m_Session->IsConnected()) {
        Disconnect();
    }
    uint32_t error = 0;
    if (!m_Session->Open(host, port, timeoutMs, &error)) {
        if (reportErrors) {
            SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                                      "Cannot connect to Korvanta Server @ %s:%ld",
                                                      host, static_cast<long>(port));
        }
        // The automatic reconnection goes on: the service may only be starting.
        Disconnect();
        return 0;
    }
    SCA_KorvantaInterface* client = m_Session->Client();
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
    if (!m_Session->Step([&](SCA_KorvantaInterface& connection) {
            return connection.Login(user, password, &loginStatus);
        }) ||
        loginStatus != 1) {
        return stepFailed([&](auto say) {
            say(SCA_LEVEL_ERROR, "Cannot login to Korvanta Server @ %s as %s", host, user);
        });
    }
    char version[256] = "";
    char serverHost[256] = "";
    if (!m_Session->Step([&](SCA_KorvantaInterface& connection) {
            return connection.GetServerInfo(&m_ServerProductType, version, serverHost);
        })) {
        return stepFailed([](auto say) { say(SCA_LEVEL_ERROR, "Cannot get server info"); });
    }
    SCA_StrnCpy(m_ServerVersion, version, sizeof(m_ServerVersion));
    SCA_StrnCpy(m_ServerHostName, serverHost, sizeof(m_ServerHostName));
    char serviceHost[256] = "";
    char serviceAccount[256] = "";
    if (!m_Session->Step([&](SCA_KorvantaInterface& connection) {
            return connection.GetServiceInfo(serviceHost, serviceAccount);
        })) {
        return stepFailed([&](auto say) {
            say(SCA_LEVEL_ERROR, "Cannot get Korvanta server info from - %s", host);
        });
    }
    SCA_StrnCpy(m_ServiceHostName, serviceHost, sizeof(m_ServiceHostName));
    SCA_StrnCpy(m_ServiceAccount, serviceAccount, sizeof(m_ServiceAccount));
    if (!LoadServerConfig()) {
        // A lost connection was told by the session; a refusal stops the reconnection.
        if (m_Session->IsConnected()) {
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

    m_StatusIcon->SetStatus(SCA_STATUS_ICON_CONNECTED);
    m_StatusLabel->setText(QStringLiteral("Connected To: %1@%2")
                               .arg(QString::fromUtf8(user), QString::fromUtf8(host)));
    char trayText[600];
    std::snprintf(trayText, sizeof(trayText), "Korvanta Client - Connected To: %s@%s", user, host);
    m_Tray->SetStatus(SCA_SysTray::kReady, trayText);
    m_LastServerMessageId = SCA_ALL_ONES;
    m_SoundTimeKnown = false;
    m_DisconnectedText = QString::fromLatin1(kPressConnectText);
    m_LogView->ResetView();
    StartUpdateCheck();
    m_AutoConnect = 1;
    if (addToHistory) {
        m_UserConfig.GetConnectList()->AddConnect(host, user, password, port);
        m_SideBar->GetConnectView()->Refresh(host);
    }
    SCA_StrnCpy(m_ConnectedHost, host, sizeof(m_ConnectedHost));
    m_Session->Announce();
    return 1;
}

int SCA_SrvGui::Disconnect() {
    // Closing a session resets the window through SessionClosed; without one it is reset here.
    if (m_Session->IsConnected()) {
        m_Session->Close();
    } else {
        ResetDisconnected();
    }
    return 1;
}

void SCA_SrvGui::SessionClosed() {
    ResetDisconnected();
}

void SCA_SrvGui::ConnectionLost(const QString& text) {
    m_DisconnectedText = text;
}

void SCA_SrvGui::ResetDisconnected() {
    SCA_Object::Destroy(m_UpdateManager);
    m_UpdateManager = nullptr;
    if (m_StatusIcon != nullptr) {
        m_StatusIcon->SetStatus(SCA_STATUS_ICON_OFF);
        m_StatusLabel->setText(m_DisconnectedText);
    }
    if (m_SideBar != nullptr) {
        m_SideBar->ResetStatus();
    }
    m_Tray->SetStatus(SCA_SysTray::kDisconnected, "Korvanta Client - Disconnected");
    if (m_UpdateButton != nullptr) {
        m_UpdateButton->hide();
    }
    if (m_MonitorsView != nullptr) {
        m_MonitorsView->Rows()->Clear();
    }
    if (m_LogView != nullptr) {
        m_LogView->ResetView();
    }
    m_LastMonitorsStatusId = SCA_ALL_ONES;
    m_ServerHostName[0] = '\0';
    m_ConnectedHost[0] = '\0';
    m_LocalServer = 0;
}

int SCA_SrvGui::LoadServerConfig() {
    if (!m_Session->IsConnected()) {
        return 0;
    }
    if (!m_Session->Command([this](SCA_KorvantaInterface& client) {
            return client.GetProductConfig(&m_ServerConfig);
        })) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                                  "Cannot load server product configuration");
        return 0;
    }
    if (!m_Session->Command([this](SCA_KorvantaInterface& client) {
            return client.GetUserConfig(&m_ServerConfig, &m_ServerUserConfig);
        })) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                                  "Cannot load server user configuration");
        return 0;
    }
    return 1;
}

int SCA_SrvGui::HasSavedLogin(const char* host, const char* password) {
    // A login with an empty password counts once it succeeded: it then names a known server.
    SCA_SrvConnect* known = nullptr;
    return password[0] != '\0' || m_UserConfig.GetConnectList()->GetConnect(host, &known) ? 1 : 0;
}

void SCA_SrvGui::DefaultConnect() {
    // A call in flight runs the event loop while it waits: the attempt comes again later.
    if (m_Session->IsWaiting()) {
        m_ReconnectTimer->start();
        return;
    }
    char host[256];
    char user[256];
    char password[256];
    SCA_StrnCpy(host, m_UserConfig.GetConnectHostName(), sizeof(host));
    SCA_StrnCpy(user, m_UserConfig.GetConnectUserName(), sizeof(user));
    SCA_StrnCpy(password, m_UserConfig.GetConnectPassword(), sizeof(password));
    if (!HasSavedLogin(host, password)) {
        // The very first start: a login with nothing saved would only fail on the service and
        // count an error against the user before they did anything. The Connect button asks.
        return;
    }
    if (Connect(host, m_UserConfig.GetConnectControlPort(), user, password, 0,
                kDefaultConnectTimeoutMs, 1)) {
        UpdateStatus(1);
    } else {
        Disconnect();
    }
}

int SCA_SrvGui::ConnectAndRemember(const char* host, uint16_t port, const char* user,
                                   const char* password, int addToHistory) {
    if (!Connect(host, port, user, password, 1, kDialogConnectTimeoutMs, addToHistory)) {
        Disconnect();
        return 0;
    }
    m_UserConfig.SetConnectHostName(host);
    m_UserConfig.SetConnectControlPort(port);
    m_UserConfig.SetConnectUserName(user);
    m_UserConfig.SetConnectPassword(password);
    UpdateStatus(1);
    return 1;
}

void SCA_SrvGui::ConnectToServer() {
    const CommandAnswer answer(this);
    char host[256];
    char user[256];
    char password[256];
    SCA_StrnCpy(host, m_UserConfig.GetConnectHostName(), sizeof(host));
    SCA_StrnCpy(user, m_UserConfig.GetConnectUserName(), sizeof(user));
    SCA_StrnCpy(password, m_UserConfig.GetConnectPassword(), sizeof(password));
    const uint16_t port = m_UserConfig.GetConnectControlPort();
    m_ConnectDialogOpen = 1;
    SCA_ConnectDlg dialog(this, QStringLiteral("Connect to Korvanta Server"),
                          QStringLiteral(":/images/connect_48px.png"), host, port, user, password);
    const int result = SCA_ExecDialog(&dialog);
    m_ConnectDialogOpen = 0;
    if (result != QDialog::Accepted) {
        return;
    }
    // The user chose where to connect: a failure is told as such, not as a lost connection.
    m_DisconnectedText = QString::fromLatin1(kPressConnectText);
    uint16_t newPort = 0;
    if (!dialog.GetData(host, sizeof(host), &newPort, user, sizeof(user), password,
                        sizeof(password))) {
        return;
    }
    ConnectAndRemember(host, newPort, user, password, 1);
}

int SCA_SrvGui::ConnectToHost(const char* host) {
    const CommandAnswer answer(this);
    if (m_Session->IsConnected() && host != nullptr && std::strcmp(host, m_ConnectedHost) == 0) {
        return 1;
    }
    SCA_SrvConnectList* known = m_UserConfig.GetConnectList();
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

void SCA_SrvGui::AboutKorvantaServer() {
    if (!CheckConnected(1)) {
        return;
    }
    SCA_SrvAboutDlg dialog(this, QStringLiteral(":/images/korva_64px.png"), m_ServerProductType,
                           QString::fromUtf8(m_ServerProductName),
                           QString::fromUtf8(m_ServerVersion));
    // Named as the entry that opens it.
    dialog.setWindowTitle(QString::fromLatin1(kAboutServerText));
    SCA_ExecDialog(&dialog);
}

void SCA_SrvGui::StartUpdateCheck() {
    SCA_Object::Destroy(m_UpdateManager);
    m_UpdateManager =
        new (std::nothrow) SCA_UpdateManager(&m_ServerConfig, &m_ServerUserConfig, GetParams());
    if (m_UpdateManager == nullptr || !m_UpdateManager->IsConstructed()) {
        SCA_Object::Destroy(m_UpdateManager);
        m_UpdateManager = nullptr;
        return;
    }
    m_ProductUpdate.SetUrl(m_LocalConfig.GetUpdateResourceName());
    m_UpdateManager->GetUpdateEx(&m_ProductUpdate);
}

void SCA_SrvGui::CollectUpdateCheck() {
    if (m_UpdateManager == nullptr || m_UpdateManager->GetProcessStatus() == SCA_PROCESS_RUNNING) {
        return;
    }
    const bool newer =
        m_UpdateManager->GetProcessStatus() == SCA_PROCESS_STOPPED &&
        SCA_UpdateManager::GetAbsVersion(SCA_TEZ_PRODUCT_VERSION) < m_ProductUpdate.GetAbsVersion();
    if (newer) {
        m_CornerStack->setCurrentWidget(m_UpdateButton);
        m_UpdateButton->show();
    }
    m_UpdateManager->StopAll();
    SCA_Object::Destroy(m_UpdateManager);
    m_UpdateManager = nullptr;
    SCA_CheckProductUpdate(&m_ServerConfig, m_ProductUpdate, newer);
}
