// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <mutex>

#include "containers/SCA_List.h"
#include "libmor/SCA_Event.h"
#include "libmor/SCA_Heap.h"
#include "libtez/SCA_KorvantaVirtualFactory.h"

class SCA_DebugLog;
class SCA_KorvantaAgent;
class SCA_KorvantaCtrl;
class SCA_KorvantaServer;
class SCA_TezConfig;
class SCA_TezConfigUser;

// The service's agent factory: one agent per client connection, kept under the connection's
// id, and the event with which a client's StopServer ends the control loop. The command
// server calls it from its connection threads, several at once, so the agent list has a lock
// of its own. It lives from the start of the server side to its stop; the command server is
// always destroyed first.
class SCA_KorvantaFact : public SCA_KorvantaVirtualFactory {
public:
    SCA_HEAP_OPERATORS

    SCA_KorvantaFact(SCA_TezConfig* config, SCA_TezConfigUser* userConfig, SCA_DebugLog* debugLog,
                     SCA_KorvantaCtrl* ctrl);
    // Deletes every agent left.
    ~SCA_KorvantaFact() override;

    SCA_KorvantaVirtual* CreateAgent(SCA_NetServerAgent* connection) override;
    SCA_KorvantaVirtual* GetAgent(uint32_t connectionId) override;
    int DeleteAgent(uint32_t connectionId) override;
    // The user configuration's logon mode when OS logon is enabled, else 2 (signature).
    uint32_t GetServerLoginMode() override;
    // The mode that connection's peer may use (SCA_KorvantaAgent::LoginModeFor).
    uint32_t GetLoginModeFor(SCA_NetServerAgent* connection) override;

    SCA_Event* GetStopEvent() { return &m_StopEvent; }
    SCA_KorvantaServer* GetServer() const { return m_Server; }
    void SetServer(SCA_KorvantaServer* server) { m_Server = server; }
    uint32_t GetAgentCount() const;

private:
    SCA_Event m_StopEvent;
    SCA_KorvantaServer* m_Server = nullptr;
    SCA_List<SCA_KorvantaAgent*> m_Agents;
    mutable std::mutex m_AgentsLock;
    SCA_TezConfig* m_Config;
    SCA_TezConfigUser* m_UserConfig;
    SCA_DebugLog* m_DebugLog;
    SCA_KorvantaCtrl* m_Ctrl;
};
