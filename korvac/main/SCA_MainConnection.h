// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <cstdint>

#include "korvac/main/SCA_MainCommandContext.h"

class QTimer;
class SCA_MainStatusPoll;
class SCA_SrvGui;

// The main window's connection to a service: connect and log in, what is fetched after login
// (the service's server information and configurations), the three ways a connection starts
// (the saved login at start and on reconnection, the Connect dialog, a known server picked
// from the side bar), and the end of a connection. The window shows what it says.
class SCA_MainConnection : public QObject {
    Q_OBJECT
public:
    // The status line while disconnected, until a connection is lost.
    static constexpr const char* kPressConnectText =
        "Press the 'Connect' button to connect to Korvanta Server";

    // The status of each new connection is shown by poll; the boxes' parent is window.
    SCA_MainConnection(const SCA_MainCommandContext& context, SCA_SrvGui* window,
                       SCA_MainStatusPoll* poll);

    // Connection and login; 1 when connected and logged in, else the window is disconnected.
    int Connect(const char* host, uint16_t port, const char* user, const char* password,
                int reportErrors, uint32_t timeoutMs, int addToHistory);
    int Disconnect();
    // Whether the start and the reconnection may log in silently with the saved values.
    int HasSavedLogin(const char* host, const char* password);
    // A fresh copy of the service's configurations. A failure is reported; one whose
    // connection was lost (which the session tells) only with reportLost.
    int LoadServerConfig(int reportLost = 1);
    int ConnectToHost(const char* host);
    // A connection attempt with the saved login, made once the event loop turns.
    void ConnectSoon();
    // One tick of the window's timer: every sixth tries the saved login again while the window
    // is disconnected and reconnects.
    void Tick(uint32_t tickCount);

    uint32_t ServerProductType() const { return m_ServerProductType; }
    const char* ServerProductName() const { return m_ServerProductName; }
    const char* ServerVersion() const { return m_ServerVersion; }
    // The service host's own name, as its server information gave it.
    const char* ServerHostName() const { return m_ServerHostName; }
    // The host as the user named it; empty while disconnected.
    const char* ConnectedHost() const { return m_ConnectedHost; }
    uint32_t AutoConnect() const { return m_AutoConnect; }
    // What the status line says while disconnected.
    const QString& DisconnectedText() const { return m_DisconnectedText; }

public slots:
    void DefaultConnect();
    void ConnectToServer();
    // The session's signals: a lost connection's line stays in the status bar while the
    // window reconnects; any end of the session resets the window.
    void ConnectionLost(const QString& text);
    void SessionClosed();

signals:
    // Logged in as user to host: the window shows it, the poll starts over.
    void LoggedIn(const QByteArray& user, const QByteArray& host);
    // The servers connected to changed; host is the one connected to.
    void ServersChanged(const QByteArray& host);
    // The window is to be as it is without a service.
    void Reset();

private:
    // Connects with the saved values or a known server's, reporting failures; stores the
    // values as the saved ones on success.
    int ConnectAndRemember(const char* host, uint16_t port, const char* user, const char* password,
                           int addToHistory);
    // Steps 2 to 7 of a disconnection: the window as it is without a service.
    void ResetDisconnected();

    SCA_MainCommandContext m_Context;
    SCA_SrvGui& m_Window;
    SCA_MainStatusPoll& m_Poll;
    QTimer* m_ReconnectTimer = nullptr;
    uint32_t m_ConnectDialogOpen = 0;
    uint32_t m_AutoConnect = 1;
    uint32_t m_ServerProductType = 0;
    char m_ServerProductName[256] = "";
    char m_ServerVersion[256] = "";
    char m_ServerHostName[256] = "";
    char m_ServiceHostName[256] = "";
    char m_ServiceAccount[256] = "";
    char m_ConnectedHost[256] = "";
    uint32_t m_LocalServer = 0;
    QString m_DisconnectedText;
};
