// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "KvnNetTestSupport.h"
#include "libkvn/SCA_KorvantaNetClient.h"
#include "libkvn/SCA_KorvantaNetServer.h"
#include "net/SCA_NetTransport.h"

namespace {

using kvnnet_test::Actual;
using kvnnet_test::Children;
using kvnnet_test::Command;
using kvnnet_test::Expected;
using kvnnet_test::FillInputs;
using kvnnet_test::Journal;
using kvnnet_test::Kind;
using kvnnet_test::Protocol;
using kvnnet_test::ReleaseObjects;
using kvnnet_test::Slots;
using kvnnet_test::TestFactory;
using kvnnet_test::WireServer;

// A successful call's outputs are what the answering end sent, objects detached and under
// their field names; the caller's objects are back, detached, under the names they were sent
// under. Releases them all.
void CheckAndRelease(const Command& command, Slots* slots) {
    EXPECT_EQ(Actual(command, *slots, true), Expected(command, *slots, true));
    EXPECT_EQ(Actual(command, *slots, false), Expected(command, *slots, false));
    ReleaseObjects(command, slots);
}

class KvnNetCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_Server = std::make_unique<SCA_KorvantaNetServer>(&m_Factory, 0, &m_Error);
        ASSERT_EQ(m_Server->IsConstructed(), 1u) << m_Error;
        m_Port = m_Server->GetServerPort();
        uint32_t error = 0;
        ASSERT_EQ(m_Raw.Connect("127.0.0.1", m_Port, 5000, &error), 1) << error;
    }

    // Sends request on the raw connection; the reply's name, or "" when none came.
    std::string Send(SCA_NetMessage* request, SCA_NetMessage* reply) {
        uint32_t error = 0;
        reply->Init("ERR");
        if (!m_Raw.SendMessageA(0, request, &error) || !m_Raw.WaitForMessage(5000, reply, &error)) {
            return "";
        }
        return reply->GetCommandName();
    }

    // The request of a call with every input but the one at position skip; an object input
    // at position asValue goes as a plain value field instead.
    static void BuildRequest(SCA_NetMessage* request, const Command& command, const Slots& slots,
                             size_t skip = SIZE_MAX, size_t asValue = SIZE_MAX) {
        request->Init(command.Name.c_str());
        for (size_t i = 0; i < command.Fields.size(); ++i) {
            if (command.Fields[i].Out || i == skip) {
                continue;
            }
            if (i == asValue) {
                request->GetData()->AddField(command.Fields[i].Name.c_str(), "not an object");
            } else {
                kvnnet_test::AddField(request->GetData(), command, slots, i);
            }
        }
    }

    Journal m_Journal;
    TestFactory m_Factory{&m_Journal};
    uint32_t m_Error = 0;
    std::unique_ptr<SCA_KorvantaNetServer> m_Server;
    uint16_t m_Port = 0;
    SCA_NetTransport m_Raw;
};

TEST_F(KvnNetCommandsTest, EveryCommandReachesItsOperationAndAnswersItsCaller) {
    SCA_KorvantaNetClient client;
    client.SetReplyTimeout(5000);
    uint32_t error = 0;
    ASSERT_EQ(client.Connect("127.0.0.1", m_Port, 5000, &error), 1) << error;
    ASSERT_EQ(Protocol().size(), 52u);
    for (size_t index = 0; index < Protocol().size(); ++index) {
        const Command& command = Protocol()[index];
        SCOPED_TRACE(command.Name);
        Slots slots;
        FillInputs(command, index, &slots);
        const std::vector<std::string> expected = Expected(command, slots, false);

        ASSERT_EQ(command.Call(&client, slots), 1);

        const auto calls = m_Journal.Take();
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].Op, command.Name);
        EXPECT_EQ(calls[0].Inputs, expected);
        CheckAndRelease(command, &slots);
    }
}

TEST_F(KvnNetCommandsTest, TheClientSendsAndReadsEveryCommandAsTheProtocolSays) {
    uint32_t error = 0;
    WireServer wire(0, &error);
    ASSERT_EQ(wire.IsConstructed(), 1u) << error;
    SCA_KorvantaNetClient client;
    ASSERT_EQ(client.Connect("127.0.0.1", wire.GetServerPort(), 5000, &error), 1) << error;
    // One after the other on one connection: each request carries its own fields only.
    for (size_t index = 0; index < Protocol().size(); ++index) {
        const Command& command = Protocol()[index];
        SCOPED_TRACE(command.Name);
        Slots slots;
        FillInputs(command, index, &slots);
        const std::vector<std::string> expected = Expected(command, slots, false);

        ASSERT_EQ(command.Call(&client, slots), 1);

        const auto requests = wire.Take();
        ASSERT_EQ(requests.size(), 1u);
        EXPECT_EQ(requests[0].Name, command.Name);
        EXPECT_EQ(requests[0].Fields, expected);
        CheckAndRelease(command, &slots);
    }
}

TEST_F(KvnNetCommandsTest, TheServerAnswersEveryCommandAsTheProtocolSays) {
    for (size_t index = 0; index < Protocol().size(); ++index) {
        const Command& command = Protocol()[index];
        SCOPED_TRACE(command.Name);
        Slots slots;
        FillInputs(command, index, &slots);
        SCA_NetMessage request;
        SCA_NetMessage reply;
        BuildRequest(&request, command, slots);

        ASSERT_EQ(Send(&request, &reply), "OK");
        // Every reply field in order, objects under their field names whatever the agent
        // called them ("Made").
        EXPECT_EQ(Children(reply.GetData()), Expected(command, slots, true));
        const auto calls = m_Journal.Take();
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].Op, command.Name);
        EXPECT_EQ(calls[0].Inputs, Expected(command, slots, false));
        ReleaseObjects(command, &slots);
    }
}

TEST_F(KvnNetCommandsTest, ARequestWithAMissingOrMistypedFieldNeverReachesTheAgent) {
    for (size_t index = 0; index < Protocol().size(); ++index) {
        const Command& command = Protocol()[index];
        Slots slots;
        FillInputs(command, index, &slots);
        for (size_t i = 0; i < command.Fields.size(); ++i) {
            if (command.Fields[i].Out) {
                continue;
            }
            SCOPED_TRACE(command.Name + " " + command.Fields[i].Name);
            SCA_NetMessage request;
            SCA_NetMessage reply;
            BuildRequest(&request, command, slots, i);
            EXPECT_EQ(Send(&request, &reply), "ERR");
            if (command.Fields[i].Type == Kind::Object) {
                // A value field where an object belongs is not handed over as an object.
                BuildRequest(&request, command, slots, SIZE_MAX, i);
                EXPECT_EQ(Send(&request, &reply), "ERR");
            }
        }
        ReleaseObjects(command, &slots);
    }
    EXPECT_TRUE(m_Journal.Take().empty());

    SCA_NetMessage request;
    SCA_NetMessage reply;
    request.Init("DeviceLogout");
    request.GetData()->AddField("DeviceId", "seven");
    EXPECT_EQ(Send(&request, &reply), "ERR"); // not a number
    EXPECT_TRUE(m_Journal.Take().empty());
}

TEST_F(KvnNetCommandsTest, TextsOfUpTo255BytesArriveWholeAndLongerOnesAreRefused) {
    const std::string longest(255, 'g');
    SCA_NetMessage request;
    SCA_NetMessage reply;
    request.Init("AddGroup");
    request.GetData()->AddField("GroupName", longest.c_str());
    ASSERT_EQ(Send(&request, &reply), "OK");
    auto calls = m_Journal.Take();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].Inputs, std::vector<std::string>{"GroupName=" + longest});

    request.Init("AddGroup");
    request.GetData()->AddField("GroupName", (longest + "h").c_str());
    EXPECT_EQ(Send(&request, &reply), "ERR"); // never cut into another group's name
    EXPECT_TRUE(m_Journal.Take().empty());
}

} // namespace
