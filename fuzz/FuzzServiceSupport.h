// SPDX-License-Identifier: MIT
#pragma once

// A control object in a folder of its own with a connection's agent, as a client reaches it,
// for the fuzz targets of the service.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <unistd.h>

#include "fuzz/FuzzHome.h"
#include "fuzz/FuzzTreeSupport.h"
#include "korvas/SCA_KorvantaAgent.h"
#include "korvas/SCA_KorvantaCtrl.h"
#include "libmor/SCA_Event.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezConfigFiles.h"
#include "model/SCA_TezConfigUser.h"
#include "net/SCA_KorvantaLogin.h"
#include "net/SCA_NetServerAgent.h"
#include "net/SCA_NetSocket.h"
#include "net/SCA_NetTransport.h"
#include "net/SCA_VirtualCmdServer.h"

namespace fuzz_service {

// A command server that is never started: it only gives the connections their server.
class IdleServer : public SCA_VirtualCmdServer {
public:
    IdleServer() : SCA_VirtualCmdServer("fuzz", 0, nullptr) {}
    ~IdleServer() override { StopForDestruction(); }
    int DoCommand(SCA_NetServerAgent*, SCA_NetMessage*, SCA_NetMessage*) override { return 0; }
    int ConnectEvent(SCA_NetServerAgent*) override { return 1; }
    int DisconnectEvent(SCA_NetServerAgent*) override { return 1; }
    uint32_t GetServerLoginMode() override { return SCA_KORVANTA_LOGIN_SIGNATURE; }
};

// The service's control object, initialised in its own folder but with no server side
// running, and a connection to it that no client is at the other end of: its transport holds
// no times, so the login keys are those of four zeros, and it has no peer address (it is no
// loopback peer).
class Service {
public:
    Service() : m_Connection(&m_Server, 1, new SCA_NetSocket()) {
        setenv(SCA_TEZ_HOME_VARIABLE, m_Home.Path().c_str(), 1);
        char program[] = "korvas";
        char* args[] = {program};
        uint32_t code = 0;
        m_Ready = m_Ctrl.Init(1, args, &code) != 0;
    }
    ~Service() { unsetenv(SCA_TEZ_HOME_VARIABLE); }
    Service(const Service&) = delete;
    Service& operator=(const Service&) = delete;

    bool IsReady() const { return m_Ready; }
    SCA_KorvantaCtrl* GetCtrl() { return &m_Ctrl; }
    SCA_NetTransport* GetTransport() { return m_Connection.GetTransport(); }

    // A new agent of the connection, not logged in, its transport told the login mode as a
    // greeting tells it now.
    std::unique_ptr<SCA_KorvantaAgent> NewAgent() {
        GetTransport()->SetServerLoginMode(
            SCA_KorvantaAgent::LoginModeFor(&m_Ctrl, m_Ctrl.GetUserConfig(), &m_Connection));
        return std::make_unique<SCA_KorvantaAgent>(m_Ctrl.GetConfig(), m_Ctrl.GetUserConfig(),
                                                   m_Ctrl.GetDebugLog(), &m_StopEvent,
                                                   &m_Connection, &m_Ctrl);
    }

    // Logs agent in by the signature of the service's own credential; 1 when it is.
    int SignIn(SCA_KorvantaAgent* agent) {
        SCA_TezConfigUser* user = m_Ctrl.GetUserConfig();
        char signature[SCA_KorvantaLogin::kSignatureSize] = "";
        SCA_ConfigObj data("LoginData", nullptr);
        if (!SCA_KorvantaLogin::Signature(*GetTransport(), user->GetServerUserName(),
                                          user->GetServerPassword(), signature) ||
            !data.AddField("HostName", "fuzz") ||
            !data.AddField("UserName", user->GetServerUserName()) ||
            !data.AddField("AuthSig", signature)) {
            return 0;
        }
        uint32_t status = 0;
        return Login(agent, &data, true, &status) && status == SCA_KORVANTA_LOGGED_IN;
    }

    // LoginEx2 of data, sealed under the request key first when seal is set; 1 when the agent
    // answered 1, with the status its results give (which must be there and readable).
    int Login(SCA_KorvantaAgent* agent, SCA_ConfigObj* data, bool seal, uint32_t* status) {
        char key[SCA_KorvantaLogin::kKeySize];
        SCA_KorvantaLogin::RequestKey(*GetTransport(), key);
        SCA_ConfigObj* results = nullptr;
        if ((seal && !data->Encrypt(key, 0, 0)) || !agent->LoginEx2(data, &results)) {
            return 0;
        }
        SCA_KorvantaLogin::ReplyKey(*GetTransport(), key);
        if (results == nullptr || !results->Decrypt(key, 0, 0) ||
            !results->GetField("LoginStatus", status)) {
            __builtin_trap(); // answered as done, with no readable status
        }
        SCA_Object::Destroy(results);
        return 1;
    }

private:
    Home m_Home;
    SCA_KorvantaCtrl m_Ctrl;
    IdleServer m_Server;
    SCA_NetServerAgent m_Connection;
    SCA_Event m_StopEvent;
    bool m_Ready = false;
};

} // namespace fuzz_service
