// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <utility>

#include "libkvn/SCA_KorvantaNetCommands.h"
#include "libkvn/SCA_KvnExport.h"
#include "libmor/SCA_Version.h"
#include "net/SCA_NetServer.h"

class SCA_KorvantaNetVirtualFactory;
class SCA_NetMessage;
class SCA_NetServerAgent;

// The command server of a central network server: the 52 commands of the network protocol,
// each handed to the agent that the host's factory keeps for the request's connection.
//
// A handler reads the request fields in order (a missing one ends it before the agent is
// asked), calls the agent's operation, adds the reply fields in order and names the reply
// "OK"; a reply it does not name goes out as "ERR". The handlers are made from the command
// table, one per row.
//
// The host checks the construction flag: 0 when the port cannot be listened on (or the factory
// is null), and then no command is registered. The factory is not owned and must outlive the
// server.
class SCA_KVN_EXPORT SCA_KorvantaNetServer : public SCA_NetServer<SCA_KorvantaNetServer> {
public:
    static constexpr const char* kVersion = SCA_PRODUCT_VERSION;

    // Listens on port (0: the kernel chooses; GetServerPort tells). *error receives the
    // platform's code on failure.
    SCA_KorvantaNetServer(SCA_KorvantaNetVirtualFactory* factory, uint16_t port, uint32_t* error);
    ~SCA_KorvantaNetServer() override;

    // The factory's login mode, asked anew each time.
    uint32_t GetLoginMode() const;
    // The factory makes the connection's agent, or drops it; both answer 1 whatever it says.
    int ConnectEvent(SCA_NetServerAgent* connection) override;
    int DisconnectEvent(SCA_NetServerAgent* connection) override;

    // The handler of the command in row Row of the table.
    template <uint32_t Row>
    int Handle(SCA_NetServerAgent* connection, SCA_NetMessage* request, SCA_NetMessage* reply) {
        return HandleCommand(SCA_KorvantaNetCommands::Get(Row), connection, request, reply);
    }

private:
    template <uint32_t... Rows>
    void RegisterCommands(std::integer_sequence<uint32_t, Rows...>) {
        (RegisterCommand(SCA_KorvantaNetCommands::Get(Rows).Name,
                         &SCA_KorvantaNetServer::Handle<Rows>),
         ...);
    }

    int HandleCommand(const tagSCA_KVN_NET_COMMAND& command, SCA_NetServerAgent* connection,
                      SCA_NetMessage* request, SCA_NetMessage* reply);

    SCA_KorvantaNetVirtualFactory* m_Factory = nullptr;
};
