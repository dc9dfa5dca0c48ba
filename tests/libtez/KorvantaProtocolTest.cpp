// SPDX-License-Identifier: MIT
// The client-to-service protocol end to end on 127.0.0.1: client object, command server and a
// recording agent, checked against the tests' own description of every operation.
#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ProtocolTestSupport.h"
#include "libmor/SCA_Limits.h"
#include "libmor/SCA_Report.h"
#include "libtez/SCA_KorvantaInterface.h"
#include "libtez/SCA_KorvantaServer.h"
#include "net/SCA_KorvantaLogin.h"
#include "net/SCA_NetProtocol.h"

namespace korvanta_test {
namespace {

constexpr uint32_t kConnectTimeoutMs = 5000;

// Counts the reports that carry a text.
class Reports {
public:
    Reports() { SCA_SetErrorCallback(&Reports::Collect, this); }
    ~Reports() { SCA_SetErrorCallback(nullptr, nullptr); }
    int Count(const std::string& text) {
        std::lock_guard<std::mutex> lock(m_Lock);
        int count = 0;
        for (const std::string& record : m_Records) {
            count += record.find(text) != std::string::npos ? 1 : 0;
        }
        return count;
    }

private:
    static int Collect(tagSCA_ERROR_DESCR* record, void* context) {
        auto* self = static_cast<Reports*>(context);
        std::lock_guard<std::mutex> lock(self->m_Lock);
        self->m_Records.emplace_back(record->Text);
        return 0;
    }
    std::mutex m_Lock;
    std::vector<std::string> m_Records;
};

class KorvantaProtocolTest : public ::testing::Test {
protected:
    void SetUp() override {
        uint32_t error = 0;
        m_Server = std::make_unique<SCA_KorvantaServer>(&m_Factory, 0, &error);
        ASSERT_EQ(m_Server->IsConstructed(), 1u) << error;
    }

    std::unique_ptr<SCA_KorvantaInterface> Connect() {
        auto client = std::make_unique<SCA_KorvantaInterface>();
        uint32_t error = 0;
        EXPECT_EQ(
            client->Connect("127.0.0.1", m_Server->GetServerPort(), kConnectTimeoutMs, &error), 1)
            << error;
        return client;
    }

    std::unique_ptr<SCA_KorvantaInterface> LoggedIn() {
        auto client = Connect();
        uint32_t status = 0;
        EXPECT_EQ(client->Login(m_Journal.User.c_str(), m_Journal.Password.c_str(), &status), 1);
        EXPECT_EQ(status, SCA_KORVANTA_LOGGED_IN);
        return client;
    }

    Journal m_Journal;
    TestFactory m_Factory{&m_Journal};
    std::unique_ptr<SCA_KorvantaServer> m_Server;
};

// Inputs numbered by operation and position, objects tagged; outputs left as they come.
void FillInputs(const Operation& operation, size_t op, Slots* slots) {
    for (size_t i = 0; i < operation.Args.size(); ++i) {
        const Arg& arg = operation.Args[i];
        if (arg.Out) {
            continue;
        }
        slots->U32[i] = InU32(op, i);
        slots->U64[i] = InU64(op, i);
        std::snprintf(slots->Text[i], sizeof(slots->Text[i]), "%s",
                      InText(operation.Name, i).c_str());
        if (arg.Kind == "obj") {
            slots->Obj[i] = MakeObject("Caller", InText(operation.Name, i));
        }
    }
}

std::vector<std::string> ExpectedInputs(const Operation& operation, size_t op) {
    std::vector<std::string> inputs;
    for (size_t i = 0; i < operation.Args.size(); ++i) {
        const Arg& arg = operation.Args[i];
        if (arg.Out) {
            continue;
        }
        const std::string text = InText(operation.Name, i);
        inputs.push_back(arg.Kind == "u32"   ? arg.Field + "=" + std::to_string(InU32(op, i))
                         : arg.Kind == "u64" ? arg.Field + "=" + std::to_string(InU64(op, i))
                         : arg.Kind == "obj" ? arg.Field + "{" + text + "}"
                                             : arg.Field + "=" + text);
    }
    return inputs;
}

void Release(Slots* slots) {
    for (SCA_ConfigObj*& object : slots->Obj) {
        SCA_Object::Destroy(object);
        object = nullptr;
    }
}

// Every operation through client, server and agent: the agent receives each input under its
// field name with its value, finds every output zeroed, and the client gets every output back,
// objects detached under the root name of the description.
TEST_F(KorvantaProtocolTest, EveryOperationCarriesItsFieldsBothWays) {
    ASSERT_EQ(Protocol().size(), kOperationCount);
    ASSERT_EQ(SCA_KorvantaCommands::Count(), kOperationCount);
    auto client = LoggedIn();
    m_Journal.Take();
    for (size_t op = 0; op < Protocol().size(); ++op) {
        const Operation& operation = Protocol()[op];
        SCOPED_TRACE(operation.Name);
        EXPECT_STREQ(SCA_KorvantaCommands::Get(static_cast<uint32_t>(op)).Name,
                     operation.Name.c_str());
        if (operation.Name == "LoginEx2") {
            continue; // the login tests below carry it
        }
        Slots slots;
        FillInputs(operation, op, &slots);
        ASSERT_EQ(CallOperation(operation.Name, client.get(), slots), 1);
        const std::vector<Journal::Call> calls = m_Journal.Take();
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].Op, operation.Name);
        EXPECT_EQ(calls[0].Inputs, ExpectedInputs(operation, op));
        EXPECT_TRUE(calls[0].OutputsZeroed);
        for (size_t i = 0; i < operation.Args.size(); ++i) {
            const Arg& arg = operation.Args[i];
            if (!arg.Out) {
                continue;
            }
            SCOPED_TRACE(arg.Field);
            if (arg.Kind == "u32") {
                EXPECT_EQ(slots.U32[i], OutU32(op, i));
            } else if (arg.Kind == "u64") {
                EXPECT_EQ(slots.U64[i], OutU64(op, i));
            } else if (arg.Kind == "text") {
                EXPECT_STREQ(slots.Text[i], OutText(operation.Name, i).c_str());
            } else {
                ASSERT_NE(slots.Obj[i], nullptr);
                EXPECT_EQ(TagOf(slots.Obj[i]), OutText(operation.Name, i));
                EXPECT_STREQ(slots.Obj[i]->GetName(),
                             (arg.Root.empty() ? arg.Field : arg.Root).c_str());
                EXPECT_EQ(slots.Obj[i]->IsLinked(), 0);
            }
        }
        // The caller's objects come back out of the request, still the caller's.
        for (size_t i = 0; i < operation.Args.size(); ++i) {
            if (!operation.Args[i].Out && operation.Args[i].Kind == "obj") {
                EXPECT_EQ(slots.Obj[i]->IsLinked(), 0);
            }
        }
        Release(&slots);
    }
}

// An agent that fails after making its object results: the client gets 0 and no object, and
// the server frees what the agent made (the leak checker would see it otherwise).
TEST_F(KorvantaProtocolTest, AFailedOperationHandsOutNothing) {
    auto client = LoggedIn();
    m_Journal.Result = 0;
    for (size_t op = 0; op < Protocol().size(); ++op) {
        const Operation& operation = Protocol()[op];
        if (operation.Name == "LoginEx2") {
            continue;
        }
        SCOPED_TRACE(operation.Name);
        Slots slots;
        FillInputs(operation, op, &slots);
        EXPECT_EQ(CallOperation(operation.Name, client.get(), slots), 0);
        // Refused, not lost: the connection stays for the next call.
        EXPECT_EQ(client->GetLastFailure(), SCA_NetCallFailure::Refused);
        for (size_t i = 0; i < operation.Args.size(); ++i) {
            if (operation.Args[i].Out && operation.Args[i].Kind == "obj") {
                EXPECT_EQ(slots.Obj[i], nullptr);
            }
        }
        Release(&slots);
    }
}

// Before a login only the open operations reach the agent; a guarded one is refused by the
// server with the two authentication lines.
TEST_F(KorvantaProtocolTest, GuardedOperationsNeedALogin) {
    Reports reports;
    auto client = Connect();
    uint32_t status = 0;
    EXPECT_EQ(client->GetStatus(&status), 1);
    EXPECT_EQ(client->StopServer(), 0);
    EXPECT_EQ(client->GetSmtpServerSetup(nullptr), 0); // unusable argument: never sent
    SCA_ConfigObj* config = nullptr;
    EXPECT_EQ(client->GetSmtpServerSetup(&config), 0);
    EXPECT_EQ(config, nullptr);
    const std::vector<Journal::Call> calls = m_Journal.Take();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].Op, "GetStatus");
    EXPECT_EQ(reports.Count("Korvanta Server authentication failed."), 2);
    EXPECT_EQ(reports.Count("Please, login with a valid user name and password."), 2);
    // The login rule of every row is the one of the description.
    for (uint32_t i = 0; i < SCA_KorvantaCommands::Count(); ++i) {
        EXPECT_EQ(SCA_KorvantaCommands::Get(i).Login == SCA_NetLogin::Required, Protocol()[i].Login)
            << Protocol()[i].Name;
    }
}

// Each login mode: the right credential logs in, a wrong one is refused with status 0 and
// opens nothing; a failed second login keeps the names of the first.
TEST_F(KorvantaProtocolTest, LoginInEachMode) {
    for (uint32_t mode :
         {SCA_KORVANTA_LOGIN_NAMES, SCA_KORVANTA_LOGIN_PASSWORD, SCA_KORVANTA_LOGIN_SIGNATURE}) {
        SCOPED_TRACE(mode);
        m_Journal.LoginMode = mode;
        auto client = Connect();
        uint32_t status = SCA_ALL_ONES;
        if (mode != SCA_KORVANTA_LOGIN_NAMES) {
            EXPECT_EQ(client->Login(m_Journal.User.c_str(), "wrong", &status), 1);
            EXPECT_EQ(status, 0u);
            EXPECT_STREQ(client->GetLoginUser(), "");
            EXPECT_EQ(client->StopServer(), 0);
        }
        EXPECT_EQ(client->Login(m_Journal.User.c_str(), m_Journal.Password.c_str(), &status), 1);
        EXPECT_EQ(status, SCA_KORVANTA_LOGGED_IN);
        EXPECT_STREQ(client->GetLoginUser(), m_Journal.User.c_str());
        EXPECT_STREQ(client->GetLoginPassword(), m_Journal.Password.c_str());
        EXPECT_EQ(client->StopServer(), 1);
        if (mode != SCA_KORVANTA_LOGIN_NAMES) {
            EXPECT_EQ(client->Login("intruder", "wrong", &status), 1);
            EXPECT_EQ(status, 0u);
            EXPECT_STREQ(client->GetLoginUser(), m_Journal.User.c_str());
            EXPECT_STREQ(client->GetLoginPassword(), m_Journal.Password.c_str());
            EXPECT_EQ(client->StopServer(), 1); // a failed login does not undo the first
        }
        m_Journal.Take();
    }
}

TEST_F(KorvantaProtocolTest, TextsOverTheLimitAreRefusedNotCut) {
    auto client = LoggedIn();
    m_Journal.Take();
    const std::string longest(SCA_NET_TEXT_SIZE - 1, 'a');
    const std::string over(SCA_NET_TEXT_SIZE, 'a');
    uint32_t status = 0;
    EXPECT_EQ(client->PerfMonitorConnect(longest.c_str(), &status), 1);
    EXPECT_EQ(client->PerfMonitorConnect(over.c_str(), &status), 0);
    const std::vector<Journal::Call> calls = m_Journal.Take();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].Inputs.at(0), "Computer=" + longest);
}

// A reply that comes after its time-out is dropped; the next call gets its own answer.
TEST_F(KorvantaProtocolTest, ATimedOutReplyDoesNotAnswerTheNextCall) {
    auto client = Connect();
    client->SetReplyTimeout(100);
    m_Journal.HoldStatus = true;
    uint32_t status = 0;
    EXPECT_EQ(client->GetStatus(&status), 0);
    EXPECT_EQ(client->GetLastStatusCode(), SCA_NET_ERROR_TIMEOUT);
    EXPECT_EQ(client->LostConnection(), 1);
    m_Journal.HoldStatus = false; // the late reply goes out now
    client->SetReplyTimeout(kConnectTimeoutMs);
    uint32_t productType = 0;
    char version[SCA_NET_TEXT_SIZE] = "";
    char host[SCA_NET_TEXT_SIZE] = "";
    ASSERT_EQ(client->GetServerInfo(&productType, version, host), 1);
    EXPECT_EQ(client->GetLastFailure(), SCA_NetCallFailure::None);
    const size_t op = IndexOf("GetServerInfo");
    EXPECT_EQ(productType, OutU32(op, 0));
    EXPECT_STREQ(version, OutText("GetServerInfo", 1).c_str());
}

// A lost connection is told once, by whoever holds the client and knows what it was for:
// neither the transport nor the typed wrappers report it, while they do report a refusal.
TEST_F(KorvantaProtocolTest, ADroppedConnectionFailsTheNextCallAtOnceAndQuietly) {
    auto client = LoggedIn();
    m_Journal.Result = 0;
    Reports reports;
    SCA_KorvantaServerStatus status;
    std::vector<SCA_KorvantaMonitorRow> rows;
    int rowsRead = 0;
    EXPECT_EQ(client->GetStatusEx(&status, &rows, &rowsRead), 0);
    EXPECT_EQ(client->LostConnection(), 0);
    EXPECT_EQ(reports.Count("SCA_KorvantaInterface::GetStatusEx: the operation failed"), 1);

    m_Server.reset();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(client->GetStatusEx(&status, &rows, &rowsRead), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_NE(client->GetLastStatusCode(), 0u);
    EXPECT_EQ(client->LostConnection(), 1);
    uint32_t loginStatus = 0;
    EXPECT_EQ(client->Login(m_Journal.User.c_str(), m_Journal.Password.c_str(), &loginStatus), 0);
    EXPECT_EQ(reports.Count("SCA_"), 1);
}

TEST_F(KorvantaProtocolTest, LocalInterfaceIsTheLoopbackNameOnly) {
    auto client = Connect();
    EXPECT_EQ(client->IsLocalInterface(), 0); // "127.0.0.1"
    SCA_KorvantaInterface local;
    uint32_t error = 0;
    ASSERT_EQ(local.Connect("localhost", m_Server->GetServerPort(), kConnectTimeoutMs, &error), 1);
    EXPECT_EQ(local.IsLocalInterface(), 1);
    EXPECT_EQ(local.GetPort(), m_Server->GetServerPort());
}

} // namespace
} // namespace korvanta_test
