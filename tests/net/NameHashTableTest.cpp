// SPDX-License-Identifier: MIT
#include <arpa/inet.h>
#include <cerrno>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

#include "NetTestSupport.h"
#include "libmor/SCA_Heap.h"
#include "net/SCA_NameHashTable.h"
#include "net/SCA_NetServer.h"

namespace {

using nettest::ReportCapture;

// An owner whose handlers answer their own number, so a test sees which one ran. It never
// starts dispatching: these tests call DoCommand directly.
class TableServer : public SCA_NetServer<TableServer> {
public:
    TableServer(uint16_t port, uint32_t* error)
        : SCA_NetServer<TableServer>(this, "0.0.1", port, error) {}
    ~TableServer() override { StopAll(); }

    int ConnectEvent(SCA_NetServerAgent*) override { return 1; }
    int DisconnectEvent(SCA_NetServerAgent*) override { return 1; }
    uint32_t GetLoginMode() const { return 9; }

    int First(SCA_NetServerAgent*, SCA_NetMessage*, SCA_NetMessage*) { return 11; }
    int Second(SCA_NetServerAgent*, SCA_NetMessage*, SCA_NetMessage*) { return 12; }
    int Third(SCA_NetServerAgent*, SCA_NetMessage*, SCA_NetMessage*) { return 13; }
    int Fourth(SCA_NetServerAgent*, SCA_NetMessage*, SCA_NetMessage*) { return 14; }

    // What DoCommand answers for a request of that name.
    int Dispatch(const std::string& name) {
        SCA_NetMessage request;
        SCA_NetMessage reply;
        request.Init(name.c_str());
        return DoCommand(nullptr, &request, &reply);
    }

    uint32_t BucketSize(const char* name) const {
        const auto* bucket = GetCommandTable()->GetBucket(Table::Hash(name));
        return bucket != nullptr ? bucket->Count() : 0;
    }
};

class NameHashTableTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(m_Server.IsConstructed(), 1u) << m_Error; }

    uint32_t m_Error = 0;
    TableServer m_Server{0, &m_Error};
};

TEST_F(NameHashTableTest, ProtocolNamesSharingABucketAreEachFoundByExactName) {
    using Table = TableServer::Table;
    EXPECT_EQ(Table::Hash("GetDeviceReportCounter"), 204u);
    EXPECT_EQ(Table::Hash("GetDeviceMonitorReportIndex"), 204u);
    EXPECT_EQ(Table::Hash("GetDeviceMonitorReport"), 212u);
    EXPECT_EQ(Table::Hash("IsRuleExists"), 212u);

    ASSERT_EQ(m_Server.RegisterCommand("GetDeviceReportCounter", &TableServer::First), 1);
    ASSERT_EQ(m_Server.RegisterCommand("GetDeviceMonitorReportIndex", &TableServer::Second), 1);
    ASSERT_EQ(m_Server.RegisterCommand("GetDeviceMonitorReport", &TableServer::Third), 1);
    ASSERT_EQ(m_Server.RegisterCommand("IsRuleExists", &TableServer::Fourth), 1);
    EXPECT_EQ(m_Server.GetCommandTable()->GetBucketCount(), 2u);
    EXPECT_EQ(m_Server.BucketSize("GetDeviceReportCounter"), 2u);

    EXPECT_EQ(m_Server.Dispatch("GetDeviceReportCounter"), 11);
    EXPECT_EQ(m_Server.Dispatch("GetDeviceMonitorReportIndex"), 12);
    EXPECT_EQ(m_Server.Dispatch("GetDeviceMonitorReport"), 13);
    EXPECT_EQ(m_Server.Dispatch("IsRuleExists"), 14);
}

TEST_F(NameHashTableTest, OnlyTheExactNameMatches) {
    ReportCapture reports;
    ASSERT_EQ(m_Server.RegisterCommand("GetRule", &TableServer::First), 1);
    ASSERT_EQ(m_Server.RegisterCommand("ab", &TableServer::Second), 1);

    // Same bucket (the same bytes in another order), different name.
    EXPECT_EQ(TableServer::Table::Hash("ba"), TableServer::Table::Hash("ab"));
    EXPECT_EQ(m_Server.Dispatch("ba"), 0);
    EXPECT_EQ(m_Server.Dispatch("getRule"), 0);
    EXPECT_EQ(m_Server.Dispatch("GetRules"), 0);
    EXPECT_EQ(m_Server.Dispatch("GetRule"), 11);
    EXPECT_EQ(reports.Count(SCA_LEVEL_ERROR, "Invalid command - getRule"), 1);
    EXPECT_EQ(reports.Count(SCA_LEVEL_ERROR, "Invalid command - "), 3);

    // The reply of an unknown command is left as the caller preset it.
    SCA_NetMessage request;
    SCA_NetMessage reply;
    request.Init("NoSuchCommand");
    reply.Init("ERR");
    reply.GetData()->AddField("Preset", 1);
    EXPECT_EQ(m_Server.DoCommand(nullptr, &request, &reply), 0);
    EXPECT_STREQ(reply.GetCommandName(), "ERR");
    EXPECT_EQ(reply.GetData()->GetFieldCount(), 1u);
}

TEST_F(NameHashTableTest, NameRegisteredTwiceGoesToTheFirstHandler) {
    ASSERT_EQ(m_Server.RegisterCommand("AddRule", &TableServer::Second), 1);
    ASSERT_EQ(m_Server.RegisterCommand("AddRule", &TableServer::Third), 1);
    EXPECT_EQ(m_Server.BucketSize("AddRule"), 2u);
    EXPECT_EQ(m_Server.Dispatch("AddRule"), 12);
}

TEST_F(NameHashTableTest, EmptyNameMatchesOnlyARegisteredEmptyName) {
    // "\x80\x80" also sums to 0 modulo 256: bucket 0, but not the empty name.
    ASSERT_EQ(m_Server.RegisterCommand("\x80\x80", &TableServer::First), 1);
    EXPECT_EQ(TableServer::Table::Hash(""), 0u);
    EXPECT_EQ(m_Server.BucketSize(""), 1u);
    EXPECT_EQ(m_Server.Dispatch(""), 0);

    ASSERT_EQ(m_Server.RegisterCommand("", &TableServer::Second), 1);
    EXPECT_EQ(m_Server.Dispatch(""), 12);
    EXPECT_EQ(m_Server.Dispatch("\x80\x80"), 11);
}

TEST_F(NameHashTableTest, NullHandlerIsRefusedAndNullNameRegistersNothing) {
    ReportCapture reports;
    EXPECT_EQ(m_Server.RegisterCommand("GetStatus", nullptr), 0);
    EXPECT_EQ(reports.Count(SCA_LEVEL_ERROR, "Invalid callback function !!!"), 1);
    EXPECT_EQ(m_Server.RegisterCommand(nullptr, &TableServer::First), 1);
    EXPECT_EQ(m_Server.GetCommandTable()->GetBucketCount(), 0u);
    EXPECT_EQ(m_Server.Dispatch("GetStatus"), 0);
}

TEST(NetServerConstructionTest, ListenerThatCannotBindLeavesTheFlagAtZero) {
    // Hold a port on every interface, as the server would want it.
    const int holder = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    ASSERT_EQ(bind(holder, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    ASSERT_EQ(listen(holder, 4), 0);
    socklen_t size = sizeof(address);
    ASSERT_EQ(getsockname(holder, reinterpret_cast<sockaddr*>(&address), &size), 0);

    ReportCapture reports;
    uint32_t error = 0;
    TableServer server(ntohs(address.sin_port), &error);
    EXPECT_EQ(server.IsConstructed(), 0u);
    EXPECT_EQ(error, static_cast<uint32_t>(EADDRINUSE));
    EXPECT_EQ(server.GetServerLoginMode(), 9u); // the owner is set
    EXPECT_EQ(server.GetServerPort(), 0u);
    EXPECT_EQ(reports.Count(SCA_LEVEL_ERROR, "SCA_VirtualCmdServer::Lock: cannot listen"), 1);
    close(holder);
}

TEST(NetServerConstructionTest, FailedBaseLeavesNoOwnerAndDestroysCleanly) {
    uint32_t error = 0;
    SCA_HeapFailAfter(1); // the base's first allocation
    auto* server = new TableServer(0, &error);
    SCA_HeapFailAfter(0);
    EXPECT_EQ(server->IsConstructed(), 0u);
    EXPECT_EQ(error, static_cast<uint32_t>(ENOMEM));
    EXPECT_EQ(server->GetServerLoginMode(), 0u); // no owner
    EXPECT_EQ(server->GetServerPort(), 0u);
    server->Destroy();
}

} // namespace
