// SPDX-License-Identifier: MIT
#include "libtez/SCA_KorvantaServer.h"

#include "libmor/SCA_Report.h"
#include "libtez/SCA_KorvantaVirtual.h"
#include "libtez/SCA_KorvantaVirtualFactory.h"
#include "net/SCA_NetMessage.h"
#include "net/SCA_NetProtocol.h"
#include "net/SCA_NetServerAgent.h"

SCA_KorvantaServer::SCA_KorvantaServer(SCA_KorvantaVirtualFactory* factory, uint16_t port,
                                       uint32_t* error)
    : SCA_NetServer<SCA_KorvantaServer>(this, kVersion, port, error) {
    if (!IsConstructed()) {
        return;
    }
    SetConstructed(0);
    if (factory == nullptr) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_KorvantaServer::SCA_KorvantaServer: no agent factory");
        if (error != nullptr) {
            *error = SCA_NET_ERROR_ARGUMENT;
        }
        return;
    }
    m_Factory = factory;
    RegisterCommands(std::make_integer_sequence<uint32_t, SCA_KORVANTA_COMMAND_COUNT>{});
    // Connections are served only from here on, when the table is complete.
    if (StartDispatch(error)) {
        SetConstructed();
    }
}

SCA_KorvantaServer::~SCA_KorvantaServer() {
    // No handler or event may run on a server being destroyed.
    StopAll();
}

uint32_t SCA_KorvantaServer::GetLoginMode() const {
    return m_Factory != nullptr ? m_Factory->GetServerLoginMode() : 0;
}

uint32_t SCA_KorvantaServer::GetLoginModeFor(SCA_NetServerAgent* connection) {
    return m_Factory != nullptr ? m_Factory->GetLoginModeFor(connection) : 0;
}

int SCA_KorvantaServer::ConnectEvent(SCA_NetServerAgent* connection) {
    if (m_Factory != nullptr && connection != nullptr) {
        connection->SetSession(m_Factory->CreateAgent(connection));
    }
    return 1;
}

int SCA_KorvantaServer::DisconnectEvent(SCA_NetServerAgent* connection) {
    if (m_Factory != nullptr && connection != nullptr) {
        connection->SetSession(nullptr);
        m_Factory->DeleteAgent(connection->GetId());
    }
    return 1;
}

SCA_KorvantaVirtual* SCA_KorvantaServer::AgentOf(SCA_NetServerAgent* connection) {
    // Every agent this server made is a SCA_KorvantaVirtual; a connection whose connect event
    // did not run (events were off) is looked up.
    if (auto* agent = static_cast<SCA_KorvantaVirtual*>(connection->GetSession())) {
        return agent;
    }
    return m_Factory->GetAgent(connection->GetId());
}

int SCA_KorvantaServer::HandleCommand(const tagSCA_KORVANTA_COMMAND& command,
                                      SCA_NetServerAgent* connection, SCA_NetMessage* request,
                                      SCA_NetMessage* reply) {
    if (connection == nullptr || request == nullptr || reply == nullptr) {
        return 0;
    }
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    if (command.Login == SCA_NetLogin::Required && !connection->IsAuthenticated()) {
        report(SCA_LEVEL_ERROR, "Korvanta Server authentication failed.");
        report(SCA_LEVEL_ERROR, "Please, login with a valid user name and password.");
        return 0;
    }
    SCA_KorvantaVirtual* agent = AgentOf(connection);
    if (agent == nullptr) {
        report(SCA_LEVEL_ERROR, "SCA_KorvantaServer::%s: no agent for connection %u", command.Name,
               connection->GetId());
        return 0;
    }
    if (!SCA_NetCommandFields::Serve(command, "SCA_KorvantaServer", agent, request->GetData(),
                                     reply->GetData())) {
        return 0;
    }
    return reply->SetCommandName("OK");
}
