// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "KvnNetTestSupport.h"
#include "libkvn/SCA_KorvantaNetClient.h"
#include "libkvn/SCA_KorvantaNetServer.h"
#include "libmor/SCA_Version.h"
#include "net/SCA_NetProtocol.h"
#include "net/SCA_NetTransport.h"

namespace {

using korvanta_test::WaitUntil;
using kvnnet_test::Journal;
using kvnnet_test::ReportCapture;
using kvnnet_test::TagOf;
using kvnnet_test::TestFactory;

class KvnNetServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_Server = std::make_unique<SCA_KorvantaNetServer>(&m_Factory, 0, &m_Error);
        ASSERT_EQ(m_Server->IsConstructed(), 1u) << m_Error;
        m_Port = m_Server->GetServerPort();
        m_Client.SetReplyTimeout(5000);
        uint32_t error = 0;
        ASSERT_EQ(m_Client.Connect("127.0.0.1", m_Port, 5000, &error), 1) << error;
    }

    Journal m_Journal;
    TestFactory m_Factory{&m_Journal};
    uint32_t m_Error = 0;
    std::unique_ptr<SCA_KorvantaNetServer> m_Server;
    uint16_t m_Port = 0;
    SCA_KorvantaNetClient m_Client;
};

TEST_F(KvnNetServerTest, AServerRegistersEveryCommandAndGreetsWithItsVersion) {
    // The 52 names fall into 47 buckets of the command table.
    EXPECT_EQ(m_Server->GetCommandTable()->GetBucketCount(), 47u);
    EXPECT_STREQ(m_Client.GetNetTransport()->GetServerVersion(), SCA_PRODUCT_VERSION);
}

TEST_F(KvnNetServerTest, AServerOnAPortInUseHasFlagZeroAndRegistersNothing) {
    ASSERT_TRUE(WaitUntil("the server's agent", [&] { return m_Factory.Creates == 1; }));
    uint32_t error = 0;
    SCA_KorvantaNetServer second(&m_Factory, m_Port, &error);
    EXPECT_EQ(second.IsConstructed(), 0u);
    EXPECT_NE(error, 0u);
    EXPECT_EQ(second.GetCommandTable()->GetBucketCount(), 0u);
    EXPECT_EQ(m_Factory.Creates, 1);

    uint32_t product = 0;
    char version[256] = "";
    char host[256] = "";
    EXPECT_EQ(m_Client.GetServerInfo(&product, version, host), 1); // the first one still serves
}

TEST_F(KvnNetServerTest, AServerWithoutFactoryRefusesToStart) {
    ReportCapture reports;
    uint32_t error = 0;
    SCA_KorvantaNetServer server(nullptr, 0, &error);
    EXPECT_EQ(server.IsConstructed(), 0u);
    EXPECT_EQ(server.GetCommandTable()->GetBucketCount(), 0u);
    EXPECT_EQ(reports.Count(5, "SCA_KorvantaNetServer::SCA_KorvantaNetServer: no agent factory"),
              1);
}

TEST_F(KvnNetServerTest, TheLoginModeIsAskedAnewForEveryConnection) {
    EXPECT_EQ(m_Client.GetNetTransport()->GetServerLoginMode(), 2u);
    m_Factory.LoginMode = 5;
    EXPECT_EQ(m_Server->GetServerLoginMode(), 5u);
    SCA_NetTransport later;
    uint32_t error = 0;
    ASSERT_EQ(later.Connect("127.0.0.1", m_Port, 5000, &error), 1) << error;
    EXPECT_EQ(later.GetServerLoginMode(), 5u);
}

TEST_F(KvnNetServerTest, ConnectionsMakeAndDropTheirAgents) {
    EXPECT_TRUE(WaitUntil("the server's agent", [&] { return m_Factory.Creates == 1; }));
    {
        SCA_KorvantaNetClient other;
        uint32_t error = 0;
        ASSERT_EQ(other.Connect("127.0.0.1", m_Port, 5000, &error), 1) << error;
        EXPECT_EQ(other.DeviceLogout(3), 1);
        EXPECT_EQ(m_Factory.Creates, 2);
    }
    EXPECT_TRUE(WaitUntil("the agent to be dropped", [&] { return m_Factory.Deletes == 1; }));
    // The factory's answer does not matter to the event.
    EXPECT_EQ(m_Server->ConnectEvent(nullptr), 1);
}

TEST_F(KvnNetServerTest, EachConnectionIsServedByItsOwnAgent) {
    constexpr int kClients = 4;
    std::vector<std::thread> threads;
    std::atomic<int> succeeded{0};
    for (int c = 0; c < kClients; ++c) {
        threads.emplace_back([&, c] {
            SCA_KorvantaNetClient client;
            client.SetReplyTimeout(5000);
            uint32_t error = 0;
            const std::string host = "host" + std::to_string(c);
            if (!client.Connect("127.0.0.1", m_Port, 5000, &error)) {
                return;
            }
            for (int i = 0; i < 20; ++i) {
                uint32_t deviceId = 0;
                succeeded += client.AddDevice(host.c_str(), &deviceId) == 1 && deviceId == 4001;
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(succeeded, kClients * 20);
    // Every client's calls reached one agent, and no two clients shared one.
    std::map<std::string, std::set<uint32_t>> agents;
    std::set<uint32_t> distinct;
    for (const auto& call : m_Journal.Take()) {
        agents[call.Inputs.at(0)].insert(call.Connection);
        distinct.insert(call.Connection);
    }
    EXPECT_EQ(agents.size(), static_cast<size_t>(kClients));
    for (const auto& entry : agents) {
        EXPECT_EQ(entry.second.size(), 1u) << entry.first;
    }
    EXPECT_EQ(distinct.size(), static_cast<size_t>(kClients));
}

TEST_F(KvnNetServerTest, AMissingAgentIsAnsweredErr) {
    ReportCapture reports;
    m_Factory.NoAgents = true;
    SCA_ConfigObj* status = nullptr;
    EXPECT_EQ(m_Client.GetStatus(&status), 0);
    EXPECT_EQ(status, nullptr);
    EXPECT_EQ(reports.Count(5, "SCA_KorvantaNetServer::GetStatus: no agent for connection"), 1);
    EXPECT_TRUE(m_Journal.Take().empty());
}

TEST_F(KvnNetServerTest, AnOperationThatFailsIsAnsweredErrAndItsResultsAreReleased) {
    m_Journal.Result = 0;
    SCA_ConfigObj* server = nullptr;
    SCA_ConfigObj* devices = nullptr;
    // The agent hands out both objects with its failure: the server releases them (the leak
    // checker would see them otherwise).
    EXPECT_EQ(m_Client.GetStatusEx(1, 2, &server, &devices), 0);
    EXPECT_EQ(server, nullptr);
    EXPECT_EQ(devices, nullptr);
    EXPECT_EQ(m_Journal.Take().size(), 1u);
}

TEST_F(KvnNetServerTest, ASuccessWithoutAnObjectResultIsAnsweredErr) {
    ReportCapture reports;
    m_Journal.NullObjects = true;
    SCA_ConfigObj* status = nullptr;
    EXPECT_EQ(m_Client.GetStatus(&status), 0);
    EXPECT_EQ(status, nullptr);
    EXPECT_EQ(reports.Count(5, "SCA_KorvantaNetServer::GetStatus: the agent gave no ServerStatus"),
              1);
    uint32_t product = 0;
    char version[256] = "";
    char host[256] = "";
    EXPECT_EQ(m_Client.GetServerInfo(&product, version, host), 1); // no object: unaffected

    // The first object missing: the second, never attached, is released. The second missing:
    // the first already belongs to the reply.
    m_Journal.NullObjects = false;
    for (const int missing : {2, 3}) {
        m_Journal.NullObjectAt = missing;
        SCA_ConfigObj* statusObj = nullptr;
        SCA_ConfigObj* counters = nullptr;
        EXPECT_EQ(m_Client.GetDeviceStatusEx(7, "cpu", &statusObj, &counters), 0) << missing;
        EXPECT_EQ(statusObj, nullptr);
        EXPECT_EQ(counters, nullptr);
    }
}

TEST_F(KvnNetServerTest, AnObjectResultThatBelongsToAnotherTreeIsRefusedNotFreed) {
    m_Journal.EchoInput = true;
    SCA_ConfigObj* list = kvnnet_test::MakeObject("Devices", "mine");
    SCA_ConfigObj* status = nullptr;
    SCA_ConfigObj* counters = nullptr;
    // The agent answers with the request's own object, twice.
    EXPECT_EQ(m_Client.GetDeviceListStatus(list, &status, &counters), 0);
    EXPECT_EQ(status, nullptr);
    EXPECT_EQ(counters, nullptr);
    EXPECT_EQ(TagOf(list), "mine");
    SCA_Object::Destroy(list);

    m_Journal.EchoInput = false;
    EXPECT_EQ(m_Client.DeviceLogout(1), 1); // the connection still serves
}

} // namespace
