// SPDX-License-Identifier: MIT
#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <type_traits>
#include <unistd.h>

#include "NetTestSupport.h"
#include "libmor/SCA_System.h"
#include "net/SCA_NetProtocol.h"
#include "net/SCA_NetSocket.h"
#include "net/SCA_NetTransport.h"

namespace {

using korvanta_test::WaitUntil;
using nettest::Call;
using nettest::ConnectTo;
using nettest::kReplyWaitMs;
using nettest::MsSince;
using nettest::ReportCapture;
using nettest::ServerEvents;
using nettest::TestServer;

static_assert(!std::is_copy_constructible_v<SCA_NetTransport> &&
                  !std::is_copy_assignable_v<SCA_NetTransport>,
              "two copies would share and close one link");

// A listener on 127.0.0.1 that accepts one connection and sends it fixed bytes (or nothing),
// then holds it open until destroyed.
class FakeServer {
public:
    explicit FakeServer(std::string bytes) : m_Bytes(std::move(bytes)) {
        m_Listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(m_Listener, reinterpret_cast<sockaddr*>(&address), sizeof(address));
        listen(m_Listener, 4);
        socklen_t size = sizeof(address);
        getsockname(m_Listener, reinterpret_cast<sockaddr*>(&address), &size);
        m_Port = ntohs(address.sin_port);
        m_Thread = std::thread([this] {
            pollfd entry{m_Listener, POLLIN, 0};
            if (poll(&entry, 1, 5000) <= 0) {
                return;
            }
            m_Connection = accept(m_Listener, nullptr, nullptr);
            if (!m_Bytes.empty()) {
                send(m_Connection, m_Bytes.data(), m_Bytes.size(), MSG_NOSIGNAL);
            }
        });
    }
    ~FakeServer() {
        m_Thread.join();
        if (m_Connection >= 0) {
            close(m_Connection);
        }
        close(m_Listener);
    }
    FakeServer(const FakeServer&) = delete;
    FakeServer& operator=(const FakeServer&) = delete;

    uint16_t Port() const { return m_Port; }

private:
    std::string m_Bytes;
    int m_Listener = -1;
    int m_Connection = -1;
    uint16_t m_Port = 0;
    std::thread m_Thread;
};

// A loopback port that nothing listens on.
uint16_t ClosedPort() {
    const int probe = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    socklen_t size = sizeof(address);
    getsockname(probe, reinterpret_cast<sockaddr*>(&address), &size);
    close(probe);
    return ntohs(address.sin_port);
}

TEST(NetTransportTest, WithoutAConnectionEverythingFailsAtOnce) {
    ReportCapture reports;
    SCA_NetTransport transport;
    EXPECT_EQ(transport.Connected(), 0);

    SCA_NetMessage message;
    message.Init("GetStatus");
    uint32_t error = 0;
    EXPECT_EQ(transport.SendMessageA(0, &message, &error), 0);
    EXPECT_EQ(error, SCA_NET_ERROR_NOT_CONNECTED);
    const auto start = nettest::Clock::now();
    error = 0;
    EXPECT_EQ(transport.WaitForMessage(5000, &message, &error), 0);
    EXPECT_EQ(error, SCA_NET_ERROR_NOT_CONNECTED);
    EXPECT_LT(MsSince(start), 1000);
    EXPECT_EQ(transport.SendMessageA(0, nullptr, &error), 0);
    EXPECT_EQ(error, SCA_NET_ERROR_ARGUMENT);
    EXPECT_STREQ(message.GetCommandName(), "GetStatus");
    // The codes say it all; the transport leaves the telling to its caller.
    EXPECT_TRUE(reports.Records().empty());

    char text[128];
    SCA_GetErrorDescr(SCA_NET_ERROR_NOT_CONNECTED, text, sizeof(text));
    EXPECT_STREQ(text, "not connected");
}

TEST(NetTransportTest, ConnectFailsCleanlyOnEveryKindOfWrongPeer) {
    ReportCapture reports;
    SCA_NetTransport transport;
    uint32_t error = 0;

    EXPECT_EQ(transport.Connect("", 1, 1000, &error), 0);
    EXPECT_EQ(error, SCA_NET_ERROR_ARGUMENT);

    const uint16_t closedPort = ClosedPort();
    EXPECT_EQ(transport.Connect("127.0.0.1", closedPort, 1000, &error), 0);
    EXPECT_EQ(error, static_cast<uint32_t>(ECONNREFUSED));

    // Connected, but no greeting comes: the time-out bounds the whole Connect.
    FakeServer silent("");
    auto start = nettest::Clock::now();
    EXPECT_EQ(transport.Connect("127.0.0.1", silent.Port(), 300, &error), 0);
    EXPECT_EQ(error, SCA_NET_ERROR_TIMEOUT);
    EXPECT_GE(MsSince(start), 290);
    EXPECT_LT(MsSince(start), 2000);
    EXPECT_EQ(transport.Connected(), 0);

    FakeServer noise("HTTP/1.1 400 Bad Request\r\n\r\n");
    EXPECT_EQ(transport.Connect("127.0.0.1", noise.Port(), 2000, &error), 0);
    EXPECT_EQ(error, SCA_NET_ERROR_MAGIC);

    // A well-formed frame that is not a greeting.
    FakeServer wrong(nettest::Frame("OK", 0, 0));
    EXPECT_EQ(transport.Connect("127.0.0.1", wrong.Port(), 2000, &error), 0);
    EXPECT_EQ(error, SCA_NET_ERROR_GREETING);
    EXPECT_EQ(transport.Connected(), 0);
    EXPECT_TRUE(reports.Records().empty());
}

TEST(NetTransportTest, GreetingTeachesBothEndsWhoAndWhen) {
    ServerEvents events;
    uint32_t error = 0;
    TestServer server(&events, 0, &error);
    ASSERT_EQ(server.IsConstructed(), 1u) << error;

    SCA_NetTransport transport;
    const uint64_t clientStart = transport.GetClientStartTime();
    EXPECT_NE(clientStart, 0u);
    ASSERT_TRUE(ConnectTo(&transport, server.GetServerPort()));
    EXPECT_EQ(transport.Connected(), 1);
    EXPECT_EQ(transport.GetServerLoginMode(), 7u);
    EXPECT_STREQ(transport.GetServerVersion(), "1.2.3");
    char host[256];
    ASSERT_EQ(SCA_GetHostName(host, sizeof(host)), 1);
    EXPECT_STREQ(transport.GetServerHostName(), host);
    EXPECT_EQ(transport.GetServerStartTime(), server.GetServerStartTime());
    EXPECT_LE(transport.GetServerStartTime(), transport.GetServerConnectTime());
    EXPECT_LE(transport.GetServerConnectTime(), transport.GetClientConnectTime());
    EXPECT_EQ(transport.GetClientStartTime(), clientStart);

    ASSERT_TRUE(WaitUntil("the connection", [&] { return events.Connects.load() == 1; }));
    std::lock_guard<std::mutex> lock(events.Lock);
    EXPECT_EQ(events.ClientConnectTime, transport.GetClientConnectTime());
}

TEST(NetTransportTest, LateReplyIsNeverTakenForALaterRequest) {
    SCA_ManualClock clock; // Slow answers when the clock moves; the reply wait is real time
    ServerEvents events;
    uint32_t error = 0;
    TestServer server(&events, 0, &error);
    ASSERT_EQ(server.IsConstructed(), 1u) << error;
    SCA_NetTransport transport;
    ASSERT_TRUE(ConnectTo(&transport, server.GetServerPort()));

    SCA_NetMessage slow;
    slow.Init("Slow");
    slow.GetData()->AddField("DelayMs", 300u);
    SCA_NetMessage reply;
    EXPECT_FALSE(Call(&transport, &slow, &reply, 50, &error));
    EXPECT_EQ(error, SCA_NET_ERROR_TIMEOUT);
    EXPECT_STREQ(reply.GetCommandName(), "ERR"); // untouched by the failed wait
    EXPECT_EQ(transport.Connected(), 1);

    // The late "OK" of Slow comes first (one thread serves the connection in order): it must
    // be dropped, not taken as Echo's reply.
    ASSERT_TRUE(korvanta_test::SleepersOn(clock)); // Slow has begun its wait
    clock.Advance(std::chrono::milliseconds(300));
    SCA_NetMessage echo;
    echo.Init("Echo");
    echo.GetData()->AddField("Marker", "second");
    ASSERT_TRUE(Call(&transport, &echo, &reply, kReplyWaitMs, &error)) << error;
    EXPECT_STREQ(reply.GetCommandName(), "OK");
    char marker[16] = "";
    EXPECT_EQ(reply.GetData()->GetField("Marker", marker, sizeof(marker)), 1);
    EXPECT_STREQ(marker, "second");
    EXPECT_EQ(reply.GetData()->IsFieldExists("Slept"), 0);
}

// A test server and a transport connected to it.
class ConnectedTransport : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(server.IsConstructed(), 1u) << error;
        ASSERT_TRUE(ConnectTo(&transport, server.GetServerPort()));
    }

    ServerEvents events;
    uint32_t error = 0;
    TestServer server{&events, 0, &error};
    SCA_NetTransport transport;
};

TEST_F(ConnectedTransport, RefusedMessagesLeaveTheConnectionUsable) {
    ReportCapture reports;

    SCA_NetMessage message;
    message.Init("Echo");
    message.SetControlCode(SCA_NET_CODE_GREETING);
    EXPECT_EQ(transport.SendMessageA(0, &message, &error), 0);
    EXPECT_EQ(error, SCA_NET_ERROR_ARGUMENT);

    SCA_ConfigObj* level = message.GetData();
    for (uint32_t i = 0; i < SCA_CONFIG_MAX_DEPTH; ++i) {
        level = level->AddConfigObj("L");
    }
    message.SetControlCode(SCA_NET_CODE_COMMAND);
    EXPECT_EQ(transport.SendMessageA(0, &message, &error), 0);
    EXPECT_EQ(error, SCA_NET_ERROR_PAYLOAD);
    EXPECT_EQ(transport.Connected(), 1);

    message.Init("Echo");
    SCA_NetMessage reply;
    ASSERT_TRUE(Call(&transport, &message, &reply, kReplyWaitMs, &error)) << error;
    EXPECT_STREQ(reply.GetCommandName(), "OK");
}

// A client that limits its replies refuses one over the limit before reading it (the connection
// ends, since the stream cannot be resynchronised) and tells how large the last reply it took was.
TEST_F(ConnectedTransport, AReplyOverTheClientsLimitIsRefusedAndTakenSizesAreTold) {
    constexpr uint32_t kLimit = 64 * 1024;
    transport.SetMaxPayload(kLimit);
    EXPECT_EQ(transport.GetMaxPayload(), kLimit);

    // Large requests wait for the login.
    SCA_NetMessage request;
    SCA_NetMessage reply;
    request.Init("LogIn");
    ASSERT_TRUE(Call(&transport, &request, &reply, kReplyWaitMs, &error)) << error;
    request.Init("Echo");
    auto fill = [&request](uint32_t fields) {
        request.Init("Echo");
        for (uint32_t i = 0; i < fields; ++i) {
            request.GetData()->AddField("Field", i);
        }
    };
    fill(kLimit / 32);
    ASSERT_TRUE(Call(&transport, &request, &reply, kReplyWaitMs, &error)) << error;
    EXPECT_GT(transport.GetLastPayload(), kLimit / 32);
    EXPECT_LT(transport.GetLastPayload(), kLimit);
    EXPECT_EQ(transport.GetRefusedPayload(), 0u);

    // The refused reply's size is the one its head announced, known without reading it.
    fill(kLimit);
    EXPECT_FALSE(Call(&transport, &request, &reply, kReplyWaitMs, &error));
    EXPECT_EQ(error, SCA_NET_ERROR_TOO_LARGE);
    EXPECT_EQ(transport.Connected(), 0);
    EXPECT_GT(transport.GetRefusedPayload(), 8 * kLimit);
    ASSERT_TRUE(ConnectTo(&transport, server.GetServerPort()));
    EXPECT_EQ(transport.GetRefusedPayload(), 0u);
}

TEST_F(ConnectedTransport, ConnectAgainReplacesTheConnection) {
    ASSERT_TRUE(ConnectTo(&transport, server.GetServerPort()));
    EXPECT_TRUE(
        WaitUntil("the first connection to drop", [&] { return events.Disconnects.load() == 1; }));
    EXPECT_TRUE(WaitUntil("one agent left", [&] { return server.GetAgentCount() == 1; }));

    SCA_NetMessage request;
    SCA_NetMessage reply;
    request.Init("WhoAmI");
    ASSERT_TRUE(Call(&transport, &request, &reply));
    uint32_t id = 0;
    EXPECT_EQ(reply.GetData()->GetField("ConnectionId", &id), 1);
    EXPECT_EQ(id, 2u);
}

} // namespace

namespace {

TEST(NetTransportTest, AWholeFrameWaitingUnreadIsSeenWithoutTakingIt) {
    SCA_NetSocket listener;
    uint32_t error = 0;
    ASSERT_EQ(1, listener.Listen(0, &error)) << error;
    nettest::RawClient client(listener.GetLocalPort());
    ASSERT_TRUE(client.Connected());
    SCA_NetSocket* link = nullptr;
    ASSERT_TRUE(WaitUntil("the connection to be accepted",
                          [&] { return (link = listener.Accept(&error)) != nullptr; }));
    SCA_NetTransport server(link);
    EXPECT_EQ(0, server.HasUnreadFrame()) << "nothing sent";

    SCA_NetMessage login;
    login.Init("Login");
    login.GetData()->AddField("UserName", "admin");
    const std::string frame = nettest::Frame(&login, 1);
    ASSERT_TRUE(client.Send(frame.substr(0, frame.size() - 1)));
    EXPECT_EQ(0, server.HasUnreadFrame()) << "a frame short of one byte";
    ASSERT_TRUE(client.Send(frame.substr(frame.size() - 1)));
    ASSERT_TRUE(WaitUntil("the whole frame", [&] { return server.HasUnreadFrame() == 1; }));
    EXPECT_EQ(1, server.HasUnreadFrame()) << "looking takes nothing";
    SCA_NetMessage taken;
    ASSERT_EQ(1, server.WaitForMessage(5000, &taken, &error)) << error;
    EXPECT_STREQ("Login", taken.GetCommandName());
    EXPECT_EQ(0, server.HasUnreadFrame()) << "read now";

    // Bytes that are no frame, and a frame too large to be a login, are not taken for one.
    nettest::RawClient junk(listener.GetLocalPort());
    SCA_NetSocket* junkLink = nullptr;
    ASSERT_TRUE(WaitUntil("the second connection",
                          [&] { return (junkLink = listener.Accept(&error)) != nullptr; }));
    SCA_NetTransport junkServer(junkLink);
    SCA_NetMessage large;
    large.Init("Login");
    large.GetData()->AddField("Padding", std::string(SCA_NET_PEEK_LIMIT, 'p').c_str());
    ASSERT_TRUE(junk.Send(nettest::Frame(&large, 1)));
    const std::string notAFrame = "GET / HTTP/1.0\r\n\r\n" + frame;
    ASSERT_TRUE(client.Send(notAFrame));
    const auto arrived = [](SCA_NetSocket* to, size_t size) {
        std::string bytes(SCA_NET_PEEK_LIMIT, '\0');
        return to->Peek(bytes.data(), bytes.size()) == std::min(size, bytes.size());
    };
    ASSERT_TRUE(WaitUntil("the bytes to arrive", [&] {
        return arrived(junkLink, SCA_NET_PEEK_LIMIT) && arrived(link, notAFrame.size());
    }));
    EXPECT_EQ(0, junkServer.HasUnreadFrame());
    EXPECT_EQ(0, server.HasUnreadFrame());
}

} // namespace
