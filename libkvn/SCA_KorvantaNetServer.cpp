#include "libkvn/SCA_KorvantaNetServer.h"

#include "libkvn/SCA_KorvantaNetVirtualFactory.h"
#include "libmor/SCA_Report.h"
#include "model/SCA_ConfigObj.h"
#include "net/SCA_NetMessage.h"
#include "net/SCA_NetProtocol.h"
#include "net/SCA_NetServerAgent.h"

namespace {

// Releases the object results that the reply has not taken. An object still linked into some
// tree is not the handler's to free (an agent may hand back a tree it keeps), and an object
// given for two results is freed once.
void ReleaseResults(const tagSCA_KVN_NET_COMMAND& command, tagSCA_KVN_NET_VALUE* values) {
    for (uint32_t i = 0; i < command.FieldCount; ++i) {
        SCA_ConfigObj* object = values[i].Object;
        if (!command.Fields[i].Out || object == nullptr) {
            continue;
        }
        for (uint32_t j = i + 1; j < command.FieldCount; ++j) {
            if (command.Fields[j].Out && values[j].Object == object) {
                values[j].Object = nullptr;
            }
        }
        if (!object->IsLinked()) {
            SCA_Object::Destroy(object);
        }
        values[i].Object = nullptr;
    }
}

} // namespace

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
    tagSCA_KVN_NET_VALUE values[SCA_KVN_NET_MAX_FIELDS];
    for (uint32_t i = 0; i < command.FieldCount; ++i) {
        if (!command.Fields[i].Out && !SCA_KorvantaNetCommands::ReadField(
                                          request->GetData(), command.Fields[i], &values[i])) {
            return 0;
        }
    }
    SCA_KorvantaNetVirtual* agent = m_Factory->GetAgent(connection->GetId());
    if (agent == nullptr) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_KorvantaNetServer::%s: no agent for connection %u", command.Name,
            connection->GetId());
        return 0;
    }
    if (!command.Invoke(agent, values)) {
        ReleaseResults(command, values);
        return 0;
    }
    if (!WriteReply(command, values, reply)) {
        return 0;
    }
    return reply->SetCommandName("OK");
}

int SCA_KorvantaNetServer::WriteReply(const tagSCA_KVN_NET_COMMAND& command,
                                      tagSCA_KVN_NET_VALUE* values, SCA_NetMessage* reply) {
    for (uint32_t i = 0; i < command.FieldCount; ++i) {
        const tagSCA_KVN_NET_FIELD& field = command.Fields[i];
        if (!field.Out) {
            continue;
        }
        const bool object = field.Kind == SCA_KvnNetKind::Object;
        if (object && values[i].Object == nullptr) {
            SCA_GetReportFunction(__FILE__, __LINE__)(
                SCA_LEVEL_ERROR, "SCA_KorvantaNetServer::%s: the agent gave no %s", command.Name,
                field.Name);
        }
        if (!SCA_KorvantaNetCommands::WriteField(reply->GetData(), field, &values[i])) {
            ReleaseResults(command, values);
            return 0;
        }
        if (object) {
            values[i].Object = nullptr; // the reply owns it now
        }
    }
    return 1;
}
