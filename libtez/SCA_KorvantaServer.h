// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <utility>

#include "libmor/SCA_Version.h"
#include "libtez/SCA_KorvantaCommands.h"
#include "net/SCA_NetServer.h"

class SCA_KorvantaVirtual;
class SCA_KorvantaVirtualFactory;
class SCA_NetMessage;
class SCA_NetServerAgent;

// The service's command server: the 120 client operations, each handed to the agent that the
// factory keeps for the request's connection.
//
// A handler refuses an operation that needs a login on a connection that has not logged in
// (the agent is not asked), reads the request fields in order (a missing one ends it), calls
// the agent's operation with every output zeroed, adds the reply fields in order and names the
// reply "OK"; a reply it does not name goes out as "ERR". The handlers are made from the
// command table, one per row.
//
// The owner checks the construction flag: 0 when the port cannot be listened on (or the
// factory is null), and then no operation is registered. The factory is not owned and must
// outlive the server.
class SCA_KorvantaServer : public SCA_NetServer<SCA_KorvantaServer> {
public:
    // The service's version, announced in every greeting.
    static constexpr const char* kVersion = SCA_PRODUCT_VERSION;

    // Listens on port (0: the kernel chooses; GetServerPort tells). *error receives the
    // platform's code on failure.
    SCA_KorvantaServer(SCA_KorvantaVirtualFactory* factory, uint16_t port, uint32_t* error);
    ~SCA_KorvantaServer() override;

    // The factory's login mode, asked anew for each connection.
    uint32_t GetLoginMode() const;
    uint32_t GetLoginModeFor(SCA_NetServerAgent* connection) override;
    // The factory makes the connection's agent, or drops it; both answer 1 whatever it says.
    int ConnectEvent(SCA_NetServerAgent* connection) override;
    int DisconnectEvent(SCA_NetServerAgent* connection) override;

    // The handler of the operation in row Row of the table.
    template <uint32_t Row>
    int Handle(SCA_NetServerAgent* connection, SCA_NetMessage* request, SCA_NetMessage* reply) {
        return HandleCommand(SCA_KorvantaCommands::Get(Row), connection, request, reply);
    }

private:
    template <uint32_t... Rows>
    void RegisterCommands(std::integer_sequence<uint32_t, Rows...>) {
        (RegisterCommand(SCA_KorvantaCommands::Get(Rows).Name, &SCA_KorvantaServer::Handle<Rows>),
         ...);
    }

    // The agent that carries out connection's operations, or null.
    SCA_KorvantaVirtual* AgentOf(SCA_NetServerAgent* connection);
    int HandleCommand(const tagSCA_KORVANTA_COMMAND& command, SCA_NetServerAgent* connection,
                      SCA_NetMessage* request, SCA_NetMessage* reply);

    SCA_KorvantaVirtualFactory* m_Factory = nullptr;
};
