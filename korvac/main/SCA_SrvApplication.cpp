// SPDX-License-Identifier: MIT
#include "korvac/main/SCA_SrvApplication.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <unistd.h>

#include "korvac/main/SCA_SrvGui.h"

namespace {

// What a later start sends, and how long either side waits for the other.
constexpr char kShowRequest[] = "show\n";
constexpr int kInstanceWaitMs = 1000;

} // namespace

SCA_SrvApplication::SCA_SrvApplication(int& argc, char** argv, int) : QApplication(argc, argv) {}

SCA_SrvApplication::~SCA_SrvApplication() {
    if (m_InstanceServer != nullptr) {
        m_InstanceServer->close();
    }
}

QString SCA_SrvApplication::InstanceSocketPath() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) {
        folder = QDir::tempPath() + QStringLiteral("/korvac-%1").arg(getuid());
        QDir().mkpath(folder);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    return folder + QStringLiteral("/korvac.socket");
}

int SCA_SrvApplication::NotifyRunningInstance(const QString& path) {
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(kInstanceWaitMs)) {
        return 0;
    }
    socket.write(kShowRequest, sizeof(kShowRequest) - 1);
    const bool sent = socket.waitForBytesWritten(kInstanceWaitMs);
    socket.disconnectFromServer();
    return sent ? 1 : 0;
}

int SCA_SrvApplication::StartInstanceServer(const QString& path) {
    if (m_InstanceServer == nullptr) {
        m_InstanceServer = new QLocalServer(this);
        // Only this user may reach the window; the runtime folder already says so, the
        // temporary fall-back needs it said.
        m_InstanceServer->setSocketOptions(QLocalServer::UserAccessOption);
        connect(m_InstanceServer, &QLocalServer::newConnection, this,
                &SCA_SrvApplication::OnInstanceConnection);
    }
    if (m_InstanceServer->isListening()) {
        return 1;
    }
    if (m_InstanceServer->listen(path)) {
        return 1;
    }
    if (m_InstanceServer->serverError() != QAbstractSocket::AddressInUseError) {
        return 0;
    }
    // A socket file nobody answers on was left by a client that ended without closing it.
    QLocalSocket probe;
    probe.connectToServer(path);
    if (probe.waitForConnected(kInstanceWaitMs)) {
        probe.disconnectFromServer();
        return 0;
    }
    QLocalServer::removeServer(path);
    return m_InstanceServer->listen(path) ? 1 : 0;
}

void SCA_SrvApplication::OnInstanceConnection() {
    while (QLocalSocket* socket = m_InstanceServer->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket]() {
            if (socket->readAll().contains('\n') && m_MainWindow != nullptr) {
                m_MainWindow->ShowMainWindow();
            }
        });
    }
}
