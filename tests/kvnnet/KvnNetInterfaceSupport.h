// SPDX-License-Identifier: MIT
#pragma once

#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "KvnNetTestSupport.h"
#include "libkvn/SCA_KorvantaNetInterface.h"
#include "libkvn/SCA_KorvantaNetServer.h"
#include "model/SCA_ConfigObj.h"
#include "net/SCA_NetSignature.h"
#include "net/SCA_NetTransport.h"

// A network server for the interface's tests: it checks logins the way a real server does
// (decrypting the login data with the connection's times and checking password or signature)
// and answers the record commands with an object the test prepared.
namespace kvnnet_test {

// What the server knows, and what it saw.
struct ServerState {
    std::mutex Lock;
    uint32_t LoginMode = 2;
    std::map<std::string, std::string> Accounts; // user name -> password
    int Logins = 0;                              // LoginEx2 requests that arrived
    std::vector<std::string> LoginData;          // the fields of the last one, decrypted
    SCA_ConfigObj* Answer = nullptr;             // handed out (a copy) by the record commands
    std::unique_ptr<SCA_ConfigObj> Received;     // a copy of the last record sent to the server
};

// The four connection times as both ends know them, in the order given.
inline std::string Times(uint64_t a, uint64_t b, uint64_t c, uint64_t d) {
    char key[96];
    std::snprintf(key, sizeof(key), "%" PRIu64 "%" PRIu64 "%" PRIu64 "%" PRIu64, a, b, c, d);
    return key;
}

class InterfaceAgent : public RecordingAgent {
public:
    InterfaceAgent(Journal* journal, ServerState* state, SCA_NetServerAgent* connection)
        : RecordingAgent(journal, connection->GetId()), m_State(state),
          m_Transport(connection->GetTransport()) {}

    int LoginEx2(Obj data, Obj* results) override {
        std::lock_guard<std::mutex> lock(m_State->Lock);
        ++m_State->Logins;
        SCA_ConfigObj plain(*data);
        if (!plain.Decrypt(RequestKey().c_str(), 0, 0)) {
            return 0;
        }
        m_State->LoginData = Children(&plain);
        auto* answer = new SCA_ConfigObj("LoginResults", nullptr);
        answer->AddField("LoginStatus", Accepts(&plain) ? 1u : 0u);
        answer->Encrypt(ReplyKey().c_str(), 0, 0);
        *results = answer;
        return 1;
    }

    // The record commands answer with the prepared object.
    int GetDebugLog(U32 a, U32 b, U32* c, Obj* d) override {
        return Serve(RecordingAgent::GetDebugLog(a, b, c, d), d);
    }
    int GetProductConfig(Obj* a) override { return Serve(RecordingAgent::GetProductConfig(a), a); }
    int GetUserConfig(Obj* a) override { return Serve(RecordingAgent::GetUserConfig(a), a); }
    int GetDeviceIndexObj(Obj* a, U32 b) override {
        return Serve(RecordingAgent::GetDeviceIndexObj(a, b), a);
    }
    int GetDeviceInfo(U32 a, U32 b, Obj* c) override {
        return Serve(RecordingAgent::GetDeviceInfo(a, b, c), c);
    }
    int GetDeviceMonitors(U32 a, Obj* b) override {
        return Serve(RecordingAgent::GetDeviceMonitors(a, b), b);
    }
    int GetDeviceSessions(U32 a, Obj* b) override {
        return Serve(RecordingAgent::GetDeviceSessions(a, b), b);
    }
    int GetDeviceLastSession(U32 a, Obj* b) override {
        return Serve(RecordingAgent::GetDeviceLastSession(a, b), b);
    }
    int GetDeviceReportIndex(U32 a, Obj* b) override {
        return Serve(RecordingAgent::GetDeviceReportIndex(a, b), b);
    }
    int GetDeviceReportList(U32 a, Obj* b) override {
        return Serve(RecordingAgent::GetDeviceReportList(a, b), b);
    }
    int GetDeviceReportCounter(U32 a, U32 b, U32 c, Obj* d) override {
        return Serve(RecordingAgent::GetDeviceReportCounter(a, b, c, d), d);
    }
    int GetDeviceMonitorCounter(U32 a, U32 b, Obj* c) override {
        return Serve(RecordingAgent::GetDeviceMonitorCounter(a, b, c), c);
    }
    int GetDeviceMonitorReportIndex(U32 a, U32 b, Obj* c) override {
        return Serve(RecordingAgent::GetDeviceMonitorReportIndex(a, b, c), c);
    }
    int GetDeviceMonitorReport(U32 a, Obj* b) override {
        return Serve(RecordingAgent::GetDeviceMonitorReport(a, b), b);
    }
    int GetRules(Str a, Obj* b) override { return Serve(RecordingAgent::GetRules(a, b), b); }

    // The record commands that send keep a copy of what arrived.
    int SetProductConfig(Obj a) override { return Keep(a, RecordingAgent::SetProductConfig(a)); }
    int SetUserConfig(Obj a, U32 b) override {
        return Keep(a, RecordingAgent::SetUserConfig(a, b));
    }
    int IsRuleExists(Str a, Obj b, U32* c) override {
        return Keep(b, RecordingAgent::IsRuleExists(a, b, c));
    }
    int AddRule(Str a, Obj b, U32* c) override { return Keep(b, RecordingAgent::AddRule(a, b, c)); }
    int SetRule(Str a, U32 b, Obj c) override { return Keep(c, RecordingAgent::SetRule(a, b, c)); }

private:
    std::string RequestKey() const {
        return Times(m_Transport->GetClientStartTime(), m_Transport->GetClientConnectTime(),
                     m_Transport->GetServerStartTime(), m_Transport->GetServerConnectTime());
    }
    std::string ReplyKey() const {
        return Times(m_Transport->GetServerStartTime(), m_Transport->GetServerConnectTime(),
                     m_Transport->GetClientStartTime(), m_Transport->GetClientConnectTime());
    }

    // Mode 0 trusts the client's own check of the account; 1 compares the password; 2 makes the
    // signature from the password it knows and this connection's times.
    bool Accepts(SCA_ConfigObj* data) const {
        char user[256] = "";
        char given[256] = "";
        data->GetField("UserName", user, sizeof(user));
        const auto account = m_State->Accounts.find(user);
        const std::string password =
            account != m_State->Accounts.end() ? account->second : "\x01no account";
        switch (m_Transport->GetServerLoginMode()) {
        case 0:
            return true;
        case 1:
            return data->GetField("Password", given, sizeof(given)) && password == given;
        case 2: {
            const std::string text =
                std::string(user) + "_" + std::to_string(m_Transport->GetServerStartTime()) +
                std::to_string(m_Transport->GetServerConnectTime()) + "_" + password;
            char signature[SCA_SIG_SHA256_SIZE] = "";
            SCA_CalcSigSHA256(text.c_str(), static_cast<uint32_t>(text.size()), signature,
                              sizeof(signature));
            return data->GetField("AuthSig", given, sizeof(given)) &&
                   std::strcmp(signature, given) == 0;
        }
        default:
            return false;
        }
    }

    int Serve(int result, Obj* out) {
        std::lock_guard<std::mutex> lock(m_State->Lock);
        if (result && m_State->Answer != nullptr) {
            SCA_Object::Destroy(*out);
            *out = static_cast<SCA_ConfigObj*>(m_State->Answer->Clone());
        }
        return result;
    }

    int Keep(Obj received, int result) {
        std::lock_guard<std::mutex> lock(m_State->Lock);
        m_State->Received = std::make_unique<SCA_ConfigObj>(*received);
        return result;
    }

    ServerState* m_State;
    SCA_NetTransport* m_Transport;
};

class InterfaceFactory : public SCA_KorvantaNetVirtualFactory {
public:
    InterfaceFactory(Journal* journal, ServerState* state) : m_Journal(journal), m_State(state) {}

    int CreateAgent(SCA_NetServerAgent* connection) override {
        std::lock_guard<std::mutex> lock(m_Lock);
        m_Agents[connection->GetId()] =
            std::make_unique<InterfaceAgent>(m_Journal, m_State, connection);
        return 1;
    }
    SCA_KorvantaNetVirtual* GetAgent(uint32_t connectionId) override {
        std::lock_guard<std::mutex> lock(m_Lock);
        const auto found = m_Agents.find(connectionId);
        return found != m_Agents.end() ? found->second.get() : nullptr;
    }
    int DeleteAgent(uint32_t connectionId) override {
        std::lock_guard<std::mutex> lock(m_Lock);
        m_Agents.erase(connectionId);
        return 1;
    }
    uint32_t GetServerLoginMode() override {
        std::lock_guard<std::mutex> lock(m_State->Lock);
        return m_State->LoginMode;
    }

private:
    Journal* m_Journal;
    ServerState* m_State;
    std::mutex m_Lock;
    std::map<uint32_t, std::unique_ptr<InterfaceAgent>> m_Agents;
};

// A running server with one account ("ops", "s3cret") and an interface that is not connected
// yet (Connect announces the login mode of the moment).
class InterfaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_State.Accounts["ops"] = "s3cret";
        ASSERT_EQ(m_Server.IsConstructed(), 1u) << m_Error;
        m_Interface.SetReplyTimeout(5000);
    }
    void TearDown() override { SCA_Object::Destroy(m_State.Answer); }

    void Connect(uint32_t loginMode, const char* host = "127.0.0.1") {
        {
            std::lock_guard<std::mutex> lock(m_State.Lock);
            m_State.LoginMode = loginMode;
        }
        uint32_t error = 0;
        ASSERT_EQ(m_Interface.Connect(host, m_Server.GetServerPort(), 5000, &error), 1) << error;
    }
    int Logins() {
        std::lock_guard<std::mutex> lock(m_State.Lock);
        return m_State.Logins;
    }
    std::vector<std::string> LoginData() {
        std::lock_guard<std::mutex> lock(m_State.Lock);
        return m_State.LoginData;
    }

    Journal m_Journal;
    ServerState m_State;
    InterfaceFactory m_Factory{&m_Journal, &m_State};
    uint32_t m_Error = 0;
    SCA_KorvantaNetServer m_Server{&m_Factory, 0, &m_Error};
    SCA_KorvantaNetInterface m_Interface;
};

} // namespace kvnnet_test
