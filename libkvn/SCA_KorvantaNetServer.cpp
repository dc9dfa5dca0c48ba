// SPDX-License-Identifier: MIT
#include "libkvn/SCA_KorvantaNetServer.h"

#include "libkvn/SCA_KorvantaNetVirtualFactory.h"
#include "libmor/SCA_Report.h"
#include "model/SCA_ConfigObj.h"
#include "net/SCA_NetMessage.h"
#include "net/SCA_NetProtocol.h"
#include "net/SCA_NetServerAgent.h"

SCA_KorvantaNetServer::SCA_KorvantaNetServer(SCA_KorvantaNetVirtualFactory* factory, uint16_t port,
                                             uint32_t* error)
    : SCA_NetServer<SCA_KorvantaNetServer>(this, kVersion, port, error) {
    if (!IsConstructed()) {
        return;
    }
    SetConstructed(0);
    if (factory == nullptr) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_KorvantaNetServer::SCA_KorvantaNetServer: no agent factory");
        if (error != nullptr) {
            *error = SCA_NET_ERROR_ARGUMENT;
        }
        return;
    }
    m_Factory = factory;
    RegisterCommands(std::make_integer_sequence<uint32_t, SCA_KVN_NET_COMMAND_COUNT>{});
    // Connections are served only from here on, when the table is complete.
    if (StartDispatch(error)) {
        SetConstructed();
    }
}

SCA_KorvantaNetServer::~SCA_KorvantaNetServer() {
    // No handler or event may run on a server being destroyed.
    StopAll();
}

uint32_t SCA_KorvantaNetServer::GetLoginMode() const {
    return m_Factory != nullptr ? m_Factory->GetServerLoginMode() : 0;
}

int SCA_KorvantaNetServer::ConnectEvent(SCA_NetServerAgent* connection) {
    if (m_Factory != nullptr) {
        m_Factory->CreateAgent(connection);
    }
    return 1;
}

int SCA_KorvantaNetServer::DisconnectEvent(SCA_NetServerAgent* connection) {
    if (m_Factory != nullptr && connection != nullptr) {
        m_Factory->DeleteAgent(connection->GetId());
    }
    return 1;
}

int SCA_KorvantaNetServer::HandleCommand(const tagSCA_KVN_NET_COMMAND& command,
                                         SCA_NetServerAgent* connection, SCA_NetMessage* request,
                                         SCA_NetMessage* reply) {
    if (connection == nullptr || request == nullptr || reply == nullptr) {
        return 0;
    }
    SCA_KorvantaNetVirtual* agent = m_Factory->GetAgent(connection->GetId());
    if (agent == nullptr) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_KorvantaNetServer::%s: no agent for connection %u", command.Name,
            connection->GetId());
        return 0;
    }
    if (!SCA_NetCommandFields::Serve(command, "SCA_KorvantaNetServer", agent, request->GetData(),
                                     reply->GetData())) {
        return 0;
    }
    return reply->SetCommandName("OK");
}
