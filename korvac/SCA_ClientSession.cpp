// SPDX-License-Identifier: MIT
#include "korvac/SCA_ClientSession.h"

#include <new>

#include "libmor/SCA_Report.h"

SCA_ClientSession::SCA_ClientSession(QObject* parent) : QObject(parent) {}

SCA_ClientSession::~SCA_ClientSession() = default;

int SCA_ClientSession::Open(const char* host, uint16_t port, uint32_t timeoutMs, uint32_t* error) {
    Close();
    std::unique_ptr<SCA_KorvantaInterface> client(
        m_Factory ? m_Factory() : new (std::nothrow) SCA_KorvantaInterface());
    uint32_t code = 0;
    if (client == nullptr || !client->Connect(host, port, timeoutMs, &code)) {
        if (error != nullptr) {
            *error = code;
        }
        return 0;
    }
    m_Host = QString::fromUtf8(host != nullptr ? host : "");
    m_Port = port;
    m_Client = std::move(client);
    return 1;
}

void SCA_ClientSession::Adopt(SCA_KorvantaInterface* client) {
    if (client == m_Client.get()) {
        return;
    }
    Close();
    if (client != nullptr) {
        m_Host = QString::fromUtf8(client->GetName());
        m_Port = client->GetPort();
        m_Client.reset(client);
        emit Connected();
    }
}

void SCA_ClientSession::Close() {
    if (m_Client == nullptr) {
        return;
    }
    // Whoever reacts to the signal finds the session closed already.
    const std::unique_ptr<SCA_KorvantaInterface> client = std::move(m_Client);
    emit Disconnected();
}

QString SCA_ClientSession::LostText() const {
    return QStringLiteral("Connection to %1:%2 lost - reconnecting").arg(m_Host).arg(m_Port);
}

void SCA_ClientSession::HandleLostConnection() {
    if (m_Client == nullptr) {
        return;
    }
    const QString text = LostText();
    SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_WARNING, "%s", text.toUtf8().constData());
    emit ConnectionLost(text);
    Close();
}
