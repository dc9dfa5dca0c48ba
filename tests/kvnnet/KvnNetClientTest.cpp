// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>
#include <memory>
#include <mutex>
#include <string>

#include "KvnNetTestSupport.h"
#include "libkvn/SCA_KorvantaNetClient.h"
#include "libkvn/SCA_KorvantaNetServer.h"
#include "net/SCA_NetProtocol.h"

namespace {

using kvnnet_test::Journal;
using kvnnet_test::MakeObject;
using kvnnet_test::ReportCapture;
using kvnnet_test::TagOf;
using kvnnet_test::TestFactory;
using kvnnet_test::WireServer;

// A port on which nothing listens any more.
uint16_t ClosedPort() {
    uint32_t error = 0;
    WireServer server(0, &error);
    return server.GetServerPort();
}

TEST(KvnNetClientTest, ANewClientIsNotConnected) {
    SCA_KorvantaNetClient client;
    EXPECT_EQ(client.IsConstructed(), 1u);
    EXPECT_EQ(client.GetPort(), 0xFFFFu);
    EXPECT_STREQ(client.GetName(), "");
    EXPECT_STREQ(client.GetFullName(), "");
    EXPECT_EQ(client.GetLastStatusCode(), 0u);
    EXPECT_EQ(client.IsLocalInterface(), 0);
    EXPECT_EQ(client.GetReplyTimeout(), 60000u);

    SCA_ConfigObj* status = MakeObject("Stale", "x");
    SCA_ConfigObj* stale = status;
    EXPECT_EQ(client.GetStatus(&status), 0);
    EXPECT_EQ(status, nullptr);
    EXPECT_EQ(client.GetLastStatusCode(), SCA_NET_ERROR_NOT_CONNECTED);
    SCA_Object::Destroy(stale);
}

TEST(KvnNetClientTest, ConnectNamesTheServerOnlyWhenItSucceeds) {
    uint32_t error = 0;
    WireServer server(0, &error);
    ASSERT_EQ(server.IsConstructed(), 1u) << error;
    const uint16_t port = server.GetServerPort();
    SCA_KorvantaNetClient client;
    ASSERT_EQ(client.Connect("127.0.0.1", port, 5000, &error), 1) << error;
    EXPECT_STREQ(client.GetName(), "127.0.0.1");
    EXPECT_EQ(std::string(client.GetFullName()), "127.0.0.1:" + std::to_string(port));
    EXPECT_EQ(client.GetPort(), port);

    error = 0;
    EXPECT_EQ(client.Connect("localhost", ClosedPort(), 2000, &error), 0);
    EXPECT_NE(error, 0u);
    EXPECT_STREQ(client.GetName(), "127.0.0.1");
    EXPECT_EQ(client.GetPort(), port);
}

class KvnNetClientWireTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(m_Wire.IsConstructed(), 1u) << m_Error;
        ASSERT_EQ(m_Client.Connect("127.0.0.1", m_Wire.GetServerPort(), 5000, &m_Error), 1);
    }

    uint32_t m_Error = 0;
    WireServer m_Wire{0, &m_Error};
    SCA_KorvantaNetClient m_Client;
};

TEST_F(KvnNetClientWireTest, AReplyNamedErrFailsTheCallEvenWithEveryField) {
    m_Wire.ReplyName = "Maybe"; // anything but "OK" goes out as "ERR"
    SCA_ConfigObj* server = nullptr;
    SCA_ConfigObj* devices = nullptr;
    EXPECT_EQ(m_Client.GetStatusEx(1, 2, &server, &devices), 0);
    EXPECT_EQ(server, nullptr);
    EXPECT_EQ(devices, nullptr);
    uint32_t product = 0;
    char version[256] = "unchanged";
    char host[256] = "";
    EXPECT_EQ(m_Client.GetServerInfo(&product, version, host), 0);
    EXPECT_STREQ(version, "unchanged");
    EXPECT_EQ(m_Wire.Take().size(), 2u);
}

TEST_F(KvnNetClientWireTest, AReplyMissingAFieldFailsAndHandsOutNothing) {
    m_Wire.Omit = "DeviceStatusList";
    SCA_ConfigObj* server = nullptr;
    SCA_ConfigObj* devices = nullptr;
    EXPECT_EQ(m_Client.GetStatusEx(1, 2, &server, &devices), 0);
    EXPECT_EQ(server, nullptr); // found, but it stays the reply's
    EXPECT_EQ(devices, nullptr);

    m_Wire.Omit = "StatusCode";
    SCA_ConfigObj* data = MakeObject("Data", "d");
    SCA_ConfigObj* config = nullptr;
    uint32_t status = 77;
    EXPECT_EQ(m_Client.DeviceLogin(1, "dev", data, &config, &status), 0);
    EXPECT_EQ(config, nullptr);
    EXPECT_EQ(status, 77u);
    SCA_Object::Destroy(data);

    m_Wire.Omit.clear();
    EXPECT_EQ(m_Client.GetStatusEx(1, 2, &server, &devices), 1);
    EXPECT_STREQ(server->GetName(), "ServerStatus");
    EXPECT_STREQ(devices->GetName(), "DeviceStatusList");
    SCA_Object::Destroy(server);
    SCA_Object::Destroy(devices);
}

TEST_F(KvnNetClientWireTest, UnusableArgumentsAreRefusedWithoutSending) {
    ReportCapture reports;
    SCA_ConfigObj tree("Tree", nullptr);
    SCA_ConfigObj* linked = tree.AddConfigObj("Product");
    ASSERT_NE(linked, nullptr);
    uint32_t id = 0;

    EXPECT_EQ(m_Client.SetProductConfig(nullptr), 0);
    EXPECT_EQ(m_Client.SetProductConfig(linked), 0);
    EXPECT_EQ(m_Client.GetStatus(nullptr), 0);
    EXPECT_EQ(m_Client.AddDevice(nullptr, &id), 0);
    EXPECT_EQ(m_Client.AddDevice("host", nullptr), 0);
    EXPECT_EQ(m_Client.AddGroup(std::string(256, 'g').c_str()), 0);

    EXPECT_TRUE(m_Wire.Take().empty());
    EXPECT_STREQ(linked->GetName(), "Product"); // neither renamed nor taken from its tree
    EXPECT_EQ(linked->GetParent(), &tree);
    EXPECT_EQ(reports.Count(5, "SCA_KorvantaNetClient::SetProductConfig: Config"), 2);
    EXPECT_EQ(reports.Count(5, "SCA_KorvantaNetClient::AddGroup: GroupName"), 1);

    EXPECT_EQ(m_Client.AddGroup(std::string(255, 'g').c_str()), 1);
    const auto requests = m_Wire.Take();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].Fields, std::vector<std::string>{"GroupName=" + std::string(255, 'g')});
}

class KvnNetClientServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_Server = std::make_unique<SCA_KorvantaNetServer>(&m_Factory, 0, &m_Error);
        ASSERT_EQ(m_Server->IsConstructed(), 1u) << m_Error;
        m_Client.SetReplyTimeout(5000);
        ASSERT_EQ(m_Client.Connect("127.0.0.1", m_Server->GetServerPort(), 5000, &m_Error), 1);
    }

    size_t AnsweredCalls() {
        std::lock_guard<std::mutex> lock(m_Journal.Lock);
        return m_Journal.Calls.size();
    }

    Journal m_Journal;
    TestFactory m_Factory{&m_Journal};
    uint32_t m_Error = 0;
    std::unique_ptr<SCA_KorvantaNetServer> m_Server;
    SCA_KorvantaNetClient m_Client;
};

TEST_F(KvnNetClientServerTest, APassedInObjectIsRenamedAndStaysTheCallers) {
    for (const int result : {1, 0}) {
        m_Journal.Result = result;
        SCA_ConfigObj* product = MakeObject("Product", "settings");
        product->AddConfigObj("Servers")->AddField("Port", 8000u);
        EXPECT_EQ(m_Client.SetProductConfig(product), result);
        EXPECT_STREQ(product->GetName(), "Config");
        EXPECT_EQ(product->IsLinked(), 0);
        EXPECT_EQ(product->GetParent(), nullptr);
        EXPECT_EQ(TagOf(product), "settings");
        EXPECT_EQ(product->GetFieldCount(), 2u);
        SCA_Object::Destroy(product);
    }
    const auto calls = m_Journal.Take();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].Inputs, std::vector<std::string>{"Config{settings}"});
}

TEST_F(KvnNetClientServerTest, AnOperationThatFailsFailsTheCallAndLeavesNoObjects) {
    m_Journal.Result = 0;
    SCA_ConfigObj* rule = nullptr;
    EXPECT_EQ(m_Client.GetRule("Default", 4, &rule), 0);
    EXPECT_EQ(rule, nullptr);
    uint32_t ruleId = 99;
    SCA_ConfigObj* given = MakeObject("Rule", "r");
    EXPECT_EQ(m_Client.AddRule("Default", given, &ruleId), 0);
    EXPECT_EQ(ruleId, 99u);
    SCA_Object::Destroy(given);
}

TEST_F(KvnNetClientServerTest, AReplyThatComesTooLateFailsTheCallAndIsNotTakenForTheNext) {
    m_Client.SetReplyTimeout(200);
    m_Journal.Block = true;
    uint32_t deviceId = 0;
    const size_t answered = AnsweredCalls();
    EXPECT_EQ(m_Client.AddDevice("slow", &deviceId), 0);
    EXPECT_EQ(m_Client.GetLastStatusCode(), SCA_NET_ERROR_TIMEOUT);
    EXPECT_EQ(AnsweredCalls(), answered) << "the call gave up while the agent still held it";
    ASSERT_TRUE(
        korvanta_test::WaitUntil("the call to block", [&] { return m_Journal.Blocked == 1; }));

    m_Journal.Block = false;
    m_Journal.Release = true;
    m_Client.SetReplyTimeout(5000);
    char host[256] = "";
    char user[256] = "";
    EXPECT_EQ(m_Client.GetServiceInfo(host, user), 1);
    EXPECT_STREQ(host, "GetServiceInfo#0");
    EXPECT_STREQ(user, "GetServiceInfo#1");
    EXPECT_EQ(m_Client.GetLastStatusCode(), SCA_NET_ERROR_TIMEOUT); // never reset by the client
}

} // namespace
