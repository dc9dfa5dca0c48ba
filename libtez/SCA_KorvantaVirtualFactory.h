// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libmor/SCA_Object.h"

class SCA_KorvantaVirtual;
class SCA_NetServerAgent;

// The service's side of the command server: it keeps one agent per connection id, which
// carries out that connection's operations. The server calls it from its connection threads,
// several at once, so an implementation guards its own table; an agent is called only from its
// own connection's thread. The factory must outlive the server.
//
// The connection handed to CreateAgent gives the agent what it needs for the login: its
// transport holds the four connection times, and its authentication flag is the connection's
// login state, which the agent sets when a login succeeds and the server reads before every
// operation that needs a login.
class SCA_KorvantaVirtualFactory : public SCA_Object {
public:
    ~SCA_KorvantaVirtualFactory() override;

    // A client has connected: a new agent for it, kept under the connection's id, or null.
    virtual SCA_KorvantaVirtual* CreateAgent(SCA_NetServerAgent* connection) = 0;
    // The agent of that connection id, or null; it stays the factory's.
    virtual SCA_KorvantaVirtual* GetAgent(uint32_t connectionId) = 0;
    // The connection has ended: drop its agent. 1 when there was one.
    virtual int DeleteAgent(uint32_t connectionId) = 0;
    // The login mode that the server announces to every new connection, asked anew each time:
    // 0 names only, 1 password (operating-system logon), 2 signature.
    virtual uint32_t GetServerLoginMode() = 0;
    // The login mode announced to connection: by default the server's.
    virtual uint32_t GetLoginModeFor(SCA_NetServerAgent* /*connection*/) {
        return GetServerLoginMode();
    }

protected:
    SCA_KorvantaVirtualFactory() { SetConstructed(); }
};
