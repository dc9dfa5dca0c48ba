// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libkvn/SCA_KvnExport.h"
#include "libmor/SCA_Object.h"

class SCA_KorvantaNetVirtual;
class SCA_NetServerAgent;

// The host program's side of the network server: it keeps one agent per connection id, which
// carries out that connection's commands. The server calls it from several connection threads
// at once, so an implementation guards its own table; an agent is called only from its own
// connection's thread. The factory must outlive the server.
class SCA_KVN_EXPORT SCA_KorvantaNetVirtualFactory : public SCA_Object {
public:
    ~SCA_KorvantaNetVirtualFactory() override;

    // A client has connected: make its agent. The result is not looked at.
    virtual int CreateAgent(SCA_NetServerAgent* connection) = 0;
    // The agent made for that connection id, or null; it stays the factory's.
    virtual SCA_KorvantaNetVirtual* GetAgent(uint32_t connectionId) = 0;
    // The connection has ended: drop its agent. The result is not looked at.
    virtual int DeleteAgent(uint32_t connectionId) = 0;
    // The login mode that the server announces to every new connection, asked anew each time.
    virtual uint32_t GetServerLoginMode() = 0;

protected:
    SCA_KorvantaNetVirtualFactory() { SetConstructed(); }
};
