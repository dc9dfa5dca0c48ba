// SPDX-License-Identifier: MIT
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "NetTestSupport.h"
#include "net/SCA_NetLoginThrottle.h"
#include "net/SCA_NetProtocol.h"
#include "net/SCA_NetTransport.h"

namespace {

using korvanta_test::WaitUntil;
using nettest::Call;
using nettest::Clock;
using nettest::ConnectTo;
using nettest::Frame;
using nettest::Head;
using nettest::kReplyWaitMs;
using nettest::MsSince;
using nettest::NestedTree;
using nettest::RawClient;
using nettest::ReportCapture;
using nettest::ServerEvents;
using nettest::TestServer;

class NetServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_Server = std::make_unique<TestServer>(&m_Events, 0, &m_Error);
        ASSERT_EQ(m_Server->IsConstructed(), 1u) << m_Error;
        m_Port = m_Server->GetServerPort();
        ASSERT_NE(m_Port, 0u);
    }

    uint32_t WhoAmI(SCA_NetTransport* transport) {
        SCA_NetMessage request;
        SCA_NetMessage reply;
        request.Init("WhoAmI");
        uint32_t id = 0;
        if (!Call(transport, &request, &reply) || !reply.GetData()->GetField("ConnectionId", &id)) {
            return 0;
        }
        return id;
    }

    bool Echo(SCA_NetTransport* transport, const std::string& text) {
        SCA_NetMessage request;
        SCA_NetMessage reply;
        request.Init("Echo");
        request.GetData()->AddField("Text", text.c_str());
        char echoed[128] = "";
        return Call(transport, &request, &reply) && std::string(reply.GetCommandName()) == "OK" &&
               reply.GetData()->GetField("Text", echoed, sizeof(echoed)) && text == echoed;
    }

    ServerEvents m_Events;
    uint32_t m_Error = 0;
    std::unique_ptr<TestServer> m_Server;
    uint16_t m_Port = 0;
};

TEST_F(NetServerTest, ConnectionIdsRiseFromOneAndAreNeverReused) {
    EXPECT_EQ(m_Server->GetAgentCount(), 0u);
    for (uint32_t expected = 1; expected <= 3; ++expected) {
        SCA_NetTransport transport;
        ASSERT_TRUE(ConnectTo(&transport, m_Port));
        EXPECT_EQ(WhoAmI(&transport), expected);
    }
    ASSERT_TRUE(WaitUntil("the agents to go", [&] { return m_Server->GetAgentCount() == 0; }));

    SCA_NetTransport first;
    SCA_NetTransport second;
    ASSERT_TRUE(ConnectTo(&first, m_Port));
    ASSERT_TRUE(ConnectTo(&second, m_Port));
    EXPECT_EQ(WhoAmI(&first), 4u);
    EXPECT_EQ(WhoAmI(&second), 5u);
    EXPECT_EQ(m_Server->GetAgentCount(), 2u);
}

TEST_F(NetServerTest, EveryRequestGetsExactlyOneReplyNamedOkOrErr) {
    ReportCapture reports;
    RawClient raw(m_Port);
    ASSERT_TRUE(raw.Handshake());
    const struct {
        const char* Command;
        const char* Reply;
    } cases[] = {
        {"Echo", "OK"},     {"Maybe", "ERR"}, // the handler's own name does not go out
        {"Nope", "ERR"},                      // unknown: answered at once
        {"TooDeep", "ERR"},                   // its reply cannot be sent: answered as a failure
        {"Echo", "OK"},
    };
    uint32_t sequence = 100;
    for (const auto& entry : cases) {
        ++sequence;
        ASSERT_TRUE(raw.Send(Frame(entry.Command, SCA_NET_CODE_COMMAND, sequence)));
        SCA_NetMessage reply;
        uint32_t repliedTo = 0;
        const auto start = Clock::now();
        ASSERT_TRUE(raw.ReadFrame(&reply, &repliedTo)) << entry.Command;
        EXPECT_LT(MsSince(start), 1000) << entry.Command;
        EXPECT_EQ(repliedTo, sequence) << entry.Command;
        EXPECT_STREQ(reply.GetCommandName(), entry.Reply) << entry.Command;
        if (std::string(entry.Command) == "Maybe") {
            EXPECT_EQ(reply.GetData()->IsFieldExists("Partial"), 1); // what it added stays
        }
    }
    SCA_NetMessage extra;
    uint32_t extraSequence = 0;
    EXPECT_FALSE(raw.ReadFrame(&extra, &extraSequence, 200)); // no second reply to anything
    EXPECT_EQ(reports.Count(SCA_LEVEL_ERROR, "Invalid command - Nope"), 1);
}

TEST_F(NetServerTest, ManyClientsAtOnce) {
    constexpr int kClients = 16;
    constexpr int kRequests = 40;
    std::vector<std::unique_ptr<SCA_NetTransport>> clients;
    for (int i = 0; i < kClients; ++i) {
        clients.push_back(std::make_unique<SCA_NetTransport>());
    }
    std::atomic<int> failures{0};
    std::vector<std::thread> threads;
    for (int i = 0; i < kClients; ++i) {
        threads.emplace_back([&, i] {
            if (!ConnectTo(clients[i].get(), m_Port)) {
                ++failures;
                return;
            }
            for (int k = 0; k < kRequests; ++k) {
                if (!Echo(clients[i].get(), std::to_string(i) + "-" + std::to_string(k))) {
                    ++failures;
                }
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(failures.load(), 0);
    EXPECT_EQ(m_Server->GetAgentCount(), static_cast<uint32_t>(kClients));
    {
        std::lock_guard<std::mutex> lock(m_Events.Lock);
        std::vector<uint32_t> ids = m_Events.ConnectIds;
        std::sort(ids.begin(), ids.end());
        ASSERT_EQ(ids.size(), static_cast<size_t>(kClients));
        for (int i = 0; i < kClients; ++i) {
            EXPECT_EQ(ids[i], static_cast<uint32_t>(i + 1));
        }
    }
    clients.clear();
    EXPECT_TRUE(WaitUntil("the agents to go", [&] { return m_Server->GetAgentCount() == 0; }));
    EXPECT_EQ(m_Events.Disconnects.load(), kClients);
}

TEST_F(NetServerTest, SlowHandlerDoesNotHoldUpOtherConnections) {
    SCA_ManualClock clock; // the slow handler ends when the clock moves
    SCA_NetTransport slowClient;
    SCA_NetTransport quickClient;
    ASSERT_TRUE(ConnectTo(&slowClient, m_Port));
    ASSERT_TRUE(ConnectTo(&quickClient, m_Port));
    std::thread slow([&] {
        SCA_NetMessage request;
        SCA_NetMessage reply;
        request.Init("Slow");
        request.GetData()->AddField("DelayMs", 1500u);
        EXPECT_TRUE(Call(&slowClient, &request, &reply));
        EXPECT_STREQ(reply.GetCommandName(), "OK");
    });
    ASSERT_TRUE(WaitUntil("the slow call to run", [&] { return m_Events.Running.load() == 1; }));
    for (int i = 0; i < 20; ++i) {
        EXPECT_TRUE(Echo(&quickClient, "quick" + std::to_string(i)));
    }
    EXPECT_EQ(m_Events.Running.load(), 1);         // the slow one is still in its handler
    ASSERT_TRUE(korvanta_test::SleepersOn(clock)); // Slow has begun its wait
    clock.Advance(std::chrono::milliseconds(1500));
    slow.join();
}

// Each is sent after a proper greeting; the server must close that connection and go on.
TEST_F(NetServerTest, BadFramesCloseOnlyTheirOwnConnection) {
    ReportCapture reports;
    SCA_NetTransport bystander;
    ASSERT_TRUE(ConnectTo(&bystander, m_Port));

    std::string malformed = std::string("2\x01"
                                        "D\x01") +
                            "9\x01x\x01" + "0\x01";
    const struct {
        const char* Case;
        std::string Bytes;
    } cases[] = {
        {"not a frame", "GET / HTTP/1.1\r\nHost: x\r\n\r\n"},
        {"wrong version", Head("Echo", 8, 0, 1, 9)},
        {"name over 63 bytes", Head(std::string(64, 'n'), 8)},
        {"payload over 64 MiB", Head("Echo", SCA_NET_MAX_PAYLOAD + 1)},
        {"tree 65 levels deep", Head("Echo", 65 * 6) + NestedTree(65)},
        {"malformed tree", Head("Echo", static_cast<uint32_t>(malformed.size())) + malformed},
        {"transport code after the greeting", Frame("Greeting", SCA_NET_CODE_GREETING, 1)},
    };
    int closed = 0;
    for (const auto& bad : cases) {
        RawClient raw(m_Port);
        ASSERT_TRUE(raw.Handshake()) << bad.Case;
        ASSERT_TRUE(raw.Send(bad.Bytes)) << bad.Case;
        EXPECT_TRUE(raw.ClosedWithin(3000)) << bad.Case;
        ++closed;
        EXPECT_TRUE(Echo(&bystander, bad.Case)) << bad.Case;
    }
    {
        // Half a frame, then the client goes away.
        RawClient raw(m_Port);
        ASSERT_TRUE(raw.Handshake());
        ASSERT_TRUE(raw.Send(Frame("Echo", SCA_NET_CODE_COMMAND, 1).substr(0, 20)));
        ++closed;
    }
    EXPECT_TRUE(
        WaitUntil("every disconnect", [&] { return m_Events.Disconnects.load() == closed; }));
    EXPECT_TRUE(WaitUntil("one agent left", [&] { return m_Server->GetAgentCount() == 1; }));
    EXPECT_TRUE(Echo(&bystander, "still served"));
    // Each peer that broke the protocol is told once; the one that only went away is not.
    EXPECT_EQ(reports.Count(SCA_LEVEL_ERROR, "SCA_NetServerAgent: connection"), 7);
    EXPECT_EQ(reports.Records().size(), 7u);
}

TEST_F(NetServerTest, AFrameBegunEndsWithinTheFrameTimeOutLoggedInOrNotAndHoldsUpNobody) {
    constexpr uint32_t kFrameTimeoutMs = 300;
    // Longer than the frame time-out: what it sends comes too late.
    constexpr auto kTrickleStep = std::chrono::milliseconds(20);
    m_Server->SetFrameTimeout(kFrameTimeoutMs);
    const auto logIn = [](RawClient* raw) {
        SCA_NetMessage reply;
        uint32_t sequence = 0;
        return raw->Handshake() && raw->Send(Frame("LogIn", SCA_NET_CODE_COMMAND, 1)) &&
               raw->ReadFrame(&reply, &sequence) && std::string(reply.GetCommandName()) == "OK";
    };
    SCA_NetTransport idle;
    ASSERT_TRUE(ConnectTo(&idle, m_Port));
    SCA_NetMessage login;
    SCA_NetMessage loggedIn;
    login.Init("LogIn");
    ASSERT_TRUE(Call(&idle, &login, &loggedIn));
    const std::string half = Frame("Echo", SCA_NET_CODE_COMMAND, 2).substr(0, 10);
    RawClient stranger(m_Port);
    ASSERT_TRUE(stranger.Handshake());
    RawClient client(m_Port);
    ASSERT_TRUE(logIn(&client));
    RawClient trickler(m_Port);
    ASSERT_TRUE(logIn(&trickler));
    const auto sent = Clock::now();
    ASSERT_TRUE(stranger.Send(half));
    ASSERT_TRUE(client.Send(half));
    // Every byte comes in time for a read of its own, never for the frame.
    SCA_NetMessage echo;
    echo.Init("Echo");
    echo.GetData()->AddField("Text", std::string(200, 't').c_str());
    const std::string slow = Frame(&echo, 2);
    std::atomic<bool> trickled{false};
    std::thread trickle([&] {
        size_t i = 0;
        while (i < slow.size() && trickler.Send(slow.substr(i, 1))) {
            ++i;
            std::this_thread::sleep_for(kTrickleStep);
        }
        trickled = i == slow.size();
    });
    EXPECT_TRUE(stranger.ClosedWithin(10000)) << "a stranger's half frame";
    EXPECT_TRUE(client.ClosedWithin(10000)) << "a logged-in client's half frame";
    EXPECT_GE(MsSince(sent), static_cast<long long>(kFrameTimeoutMs) - 50)
        << "not before the frame's time";
    EXPECT_TRUE(trickler.ClosedWithin(10000)) << "a frame sent byte by byte";
    EXPECT_FALSE(trickled.load()) << "closed before the frame could end";
    trickle.join();
    EXPECT_TRUE(Echo(&idle, "idle between frames for longer than a frame may take"));
    // A large frame has longer, as on a slow link: this one a second for every 64 KiB.
    RawClient large(m_Port);
    ASSERT_TRUE(logIn(&large));
    SCA_NetMessage big;
    big.Init("Echo");
    constexpr size_t kFieldBytes = 16 * 1024;
    for (size_t i = 0; i < 4 * SCA_NET_SLOWEST_BYTES_PER_SECOND / kFieldBytes; ++i) {
        ASSERT_TRUE(big.GetData()->AddField(("Part" + std::to_string(i)).c_str(),
                                            std::string(kFieldBytes, 'b').c_str()));
    }
    const std::string bigFrame = Frame(&big, 2);
    ASSERT_GT(bigFrame.size(), 4 * SCA_NET_SLOWEST_BYTES_PER_SECOND);
    constexpr size_t kParts = 4;
    for (size_t i = 0; i < kParts; ++i) {
        const size_t from = i * bigFrame.size() / kParts;
        const size_t to = (i + 1) * bigFrame.size() / kParts;
        ASSERT_TRUE(large.Send(bigFrame.substr(from, to - from)));
        if (i + 1 < kParts) {
            std::this_thread::sleep_for(std::chrono::milliseconds(kFrameTimeoutMs / 2));
        }
    }
    SCA_NetMessage bigReply;
    uint32_t bigSequence = 0;
    EXPECT_TRUE(large.ReadFrame(&bigReply, &bigSequence, 10000)) << "a large frame in parts";
    EXPECT_STREQ(bigReply.GetCommandName(), "OK");

    m_Server->SetFrameTimeout(SCA_INFINITE);
    RawClient stalled(m_Port);
    ASSERT_TRUE(stalled.Handshake());
    ASSERT_TRUE(stalled.Send(Frame("Echo", SCA_NET_CODE_COMMAND, 1).substr(0, 10)));

    const auto start = Clock::now();
    SCA_NetTransport other;
    ASSERT_TRUE(ConnectTo(&other, m_Port));
    for (int i = 0; i < 10; ++i) {
        EXPECT_TRUE(Echo(&other, "other" + std::to_string(i)));
    }
    EXPECT_LT(MsSince(start), 1000);

    const auto stopping = Clock::now();
    m_Server->StopAll();
    EXPECT_LT(MsSince(stopping), 1000);
    EXPECT_TRUE(stalled.ClosedWithin(1000));
}

TEST(NetServerDispatchTest, NothingIsServedBeforeTheOwnerIsComplete) {
    ServerEvents events;
    uint32_t error = 0;
    TestServer server(&events, 0, &error, /*startDispatch=*/false);
    ASSERT_EQ(server.IsConstructed(), 1u) << error;
    ASSERT_NE(server.GetServerPort(), 0u); // already listening

    SCA_NetTransport early;
    EXPECT_FALSE(ConnectTo(&early, server.GetServerPort(), 200)); // no greeting yet

    SCA_NetTransport waiting;
    std::atomic<bool> connected{false};
    std::thread client([&] { connected = ConnectTo(&waiting, server.GetServerPort(), 5000); });
    EXPECT_EQ(events.Connects.load(), 0);
    EXPECT_FALSE(connected.load());

    ASSERT_EQ(server.StartDispatch(&error), 1);
    client.join();
    ASSERT_TRUE(connected.load());
    SCA_NetMessage request;
    SCA_NetMessage reply;
    request.Init("Echo");
    EXPECT_TRUE(Call(&waiting, &request, &reply));
    EXPECT_STREQ(reply.GetCommandName(), "OK");
    EXPECT_EQ(events.Connects.load(), 1); // the early client had given up
}

TEST_F(NetServerTest, StopAllWaitsForRunningHandlersAndEndsEveryConnection) {
    std::vector<std::unique_ptr<SCA_NetTransport>> idle;
    for (int i = 0; i < 3; ++i) {
        idle.push_back(std::make_unique<SCA_NetTransport>());
        ASSERT_TRUE(ConnectTo(idle.back().get(), m_Port));
    }
    SCA_NetTransport busy;
    ASSERT_TRUE(ConnectTo(&busy, m_Port));
    ASSERT_TRUE(WaitUntil("four connections", [&] { return m_Events.Connects.load() == 4; }));
    std::atomic<uint32_t> busyError{0};
    std::atomic<long long> busyMs{0};
    std::thread caller([&] {
        SCA_NetMessage request;
        SCA_NetMessage reply;
        request.Init("Block");
        uint32_t error = 0;
        const auto start = Clock::now();
        // The request being answered is answered before its connection ends.
        EXPECT_TRUE(Call(&busy, &request, &reply, 10000, &error));
        EXPECT_STREQ("OK", reply.GetCommandName());
        busyError = error;
        busyMs = MsSince(start);
    });
    ASSERT_TRUE(
        WaitUntil("the blocking call to start", [&] { return m_Events.BlockEntered.load() == 1; }));

    std::atomic<bool> stopping{false};
    std::atomic<bool> stopped{false};
    std::atomic<int> runningAtReturn{-1};
    std::thread stopper([&] {
        stopping = true;
        m_Server->StopAll();
        runningAtReturn = m_Events.Running.load();
        stopped = true;
    });
    ASSERT_TRUE(WaitUntil("the stop to begin", [&] { return stopping.load(); }));
    EXPECT_FALSE(stopped.load()); // a handler still runs
    m_Events.ReleaseBlock = true;
    stopper.join();
    caller.join();

    EXPECT_EQ(runningAtReturn.load(), 0);
    EXPECT_EQ(m_Server->GetAgentCount(), 0u);
    EXPECT_EQ(m_Events.Connects.load(), 4);
    EXPECT_EQ(m_Events.Disconnects.load(), 4);
    EXPECT_EQ(busyError.load(), 0u);
    EXPECT_LT(busyMs.load(), 5000);
    SCA_NetMessage after;
    uint32_t afterError = 0;
    EXPECT_EQ(busy.WaitForMessage(1000, &after, &afterError), 0) << "and then it ends";
    for (auto& transport : idle) {
        SCA_NetMessage message;
        uint32_t error = 0;
        EXPECT_EQ(transport->WaitForMessage(1000, &message, &error), 0);
        EXPECT_EQ(transport->Connected(), 0);
    }

    // Nothing fires afterwards, a second StopAll is harmless, and no one gets in.
    EXPECT_EQ(m_Events.Disconnects.load(), 4);
    m_Server->StopAll();
    SCA_NetTransport late;
    uint32_t error = 0;
    EXPECT_EQ(late.Connect("127.0.0.1", m_Port, 1000, &error), 0);

    // Listening anew keeps counting connection ids.
    ASSERT_EQ(m_Server->Lock(&error), 1) << error;
    ASSERT_TRUE(ConnectTo(&late, m_Server->GetServerPort()));
    EXPECT_EQ(WhoAmI(&late), 5u);
}

TEST_F(NetServerTest, HandlerMayStopTheServer) {
    // Alone: every other connection ends, its own ends once it returns.
    m_Events.ReleaseBlock = true;
    SCA_NetTransport idle;
    SCA_NetTransport stopping;
    ASSERT_TRUE(ConnectTo(&idle, m_Port));
    ASSERT_TRUE(ConnectTo(&stopping, m_Port));
    SCA_NetMessage request;
    SCA_NetMessage reply;
    request.Init("StopAll");
    // The stop's own request gets its reply: the client learns that the stop happened.
    EXPECT_TRUE(Call(&stopping, &request, &reply, 5000));
    uint32_t error = 0;
    EXPECT_EQ(idle.WaitForMessage(2000, &reply, &error), 0);
    EXPECT_EQ(error, SCA_NET_ERROR_CLOSED);
    EXPECT_EQ(m_Server->GetServerPort(), 0u);

    // While the owner stops the server too and waits for that very handler.
    m_Events.ReleaseBlock = false;
    ASSERT_EQ(m_Server->Lock(&error), 1) << error;
    ASSERT_TRUE(ConnectTo(&stopping, m_Server->GetServerPort()));
    std::thread caller([&] {
        SCA_NetMessage ask;
        SCA_NetMessage answer;
        ask.Init("StopAll");
        Call(&stopping, &ask, &answer, 5000);
    });
    ASSERT_TRUE(WaitUntil("both stops to start", [&] { return m_Events.StopEntered.load() == 2; }));
    std::atomic<bool> ownerStopping{false};
    std::atomic<bool> stopped{false};
    std::thread owner([&] {
        ownerStopping = true;
        m_Server->StopAll();
        stopped = true;
    });
    ASSERT_TRUE(WaitUntil("the owner to stop", [&] { return ownerStopping.load(); }));
    m_Events.ReleaseBlock = true;
    EXPECT_TRUE(WaitUntil("the server to stop", [&] { return stopped.load(); }));
    owner.join();
    caller.join();
    EXPECT_EQ(m_Events.Running.load(), 0);
    EXPECT_EQ(m_Server->GetAgentCount(), 0u);
    EXPECT_EQ(m_Events.Connects.load(), m_Events.Disconnects.load());
}

TEST(NetServerLifetimeTest, DestroyingTheServerWithClientsMidRequest) {
    ServerEvents events;
    uint32_t error = 0;
    auto* server = new TestServer(&events, 0, &error);
    ASSERT_EQ(server->IsConstructed(), 1u) << error;
    std::vector<std::unique_ptr<SCA_NetTransport>> clients;
    for (int i = 0; i < 4; ++i) {
        clients.push_back(std::make_unique<SCA_NetTransport>());
        ASSERT_TRUE(ConnectTo(clients.back().get(), server->GetServerPort()));
    }
    // A client's Connect returns once it has answered; the server reads the answer after.
    ASSERT_TRUE(WaitUntil("four connections", [&] { return events.Connects.load() == 4; }));
    std::thread caller([&] {
        SCA_NetMessage request;
        SCA_NetMessage reply;
        request.Init("Slow");
        request.GetData()->AddField("DelayMs", 200u);
        Call(clients[0].get(), &request, &reply, 5000);
    });
    ASSERT_TRUE(WaitUntil("the call to run", [&] { return events.Running.load() == 1; }));
    server->Destroy();
    EXPECT_EQ(events.Running.load(), 0);
    EXPECT_EQ(events.Connects.load(), 4);
    EXPECT_EQ(events.Disconnects.load(), 4);
    caller.join();
    EXPECT_EQ(events.Disconnects.load(), 4);
}

} // namespace

namespace {

// A server that lets strangers take little: two connections, 1 KiB payloads and 300 ms of
// silence before login.
class StrangerLimitsTest : public ::testing::Test {
protected:
    static constexpr uint32_t kCap = 2;
    static constexpr uint32_t kPayload = 1024;
    static constexpr uint32_t kIdleMs = 300;

    void SetUp() override {
        m_Server = std::make_unique<TestServer>(&m_Events, 0, &m_Error, false);
        ASSERT_EQ(m_Server->IsConstructed(), 1u) << m_Error;
        m_Server->SetConnectionLimits(kCap, kPayload, kIdleMs);
        ASSERT_EQ(1, m_Server->StartDispatch(&m_Error));
        m_Port = m_Server->GetServerPort();
    }

    static bool LogIn(SCA_NetTransport* transport) {
        SCA_NetMessage request;
        SCA_NetMessage reply;
        request.Init("LogIn");
        return Call(transport, &request, &reply) && std::string(reply.GetCommandName()) == "OK";
    }

    // Whether the echo came back; then also waits until the server is done answering, so
    // that the client is as idle to the server as it is to the test when others connect.
    bool Echo(SCA_NetTransport* transport, size_t size) {
        SCA_NetMessage request;
        SCA_NetMessage reply;
        request.Init("Echo");
        request.GetData()->AddField("Text", std::string(size, 'e').c_str());
        return Call(transport, &request, &reply) && std::string(reply.GetCommandName()) == "OK" &&
               WaitUntil("the answer to end", [&] { return m_Server->GetAnsweringCount() == 0; });
    }

    ServerEvents m_Events;
    uint32_t m_Error = 0;
    std::unique_ptr<TestServer> m_Server;
    uint16_t m_Port = 0;
};

TEST_F(StrangerLimitsTest, StrangersMakeRoomAndOnlyLoggedInClientsFillTheCap) {
    // Room is made by age alone: on a busy machine a stranger could otherwise be closed for
    // idling between two steps, and the cap never be seen full.
    m_Server->SetConnectionLimits(kCap, kPayload, 0);
    ReportCapture reports;
    SCA_NetTransport first;
    SCA_NetTransport second;
    ASSERT_TRUE(ConnectTo(&first, m_Port));
    ASSERT_TRUE(ConnectTo(&second, m_Port));
    ASSERT_TRUE(WaitUntil("the strangers to fill the cap",
                          [&] { return m_Server->GetStrangerCount() == kCap; }));
    // Both have spoken, so that it is their age alone that counts.
    ASSERT_TRUE(Echo(&first, 10));
    ASSERT_TRUE(Echo(&second, 10));
    // The cap is full of strangers: a newcomer takes the place of the one that waited longest.
    SCA_NetTransport third;
    ASSERT_TRUE(ConnectTo(&third, m_Port));
    EXPECT_FALSE(Echo(&first, 10)) << "the oldest stranger made room";
    ASSERT_TRUE(LogIn(&second));
    ASSERT_TRUE(LogIn(&third));
    EXPECT_EQ(m_Server->GetStrangerCount(), 0u);

    // Logged-in clients fill the cap: now a connection is refused at once, and reported.
    SCA_NetTransport fourth;
    uint32_t error = 0;
    EXPECT_EQ(0, fourth.Connect("127.0.0.1", m_Port, kReplyWaitMs, &error))
        << "no greeting for a connection over the cap";
    EXPECT_NE(error, static_cast<uint32_t>(SCA_NET_ERROR_TIMEOUT))
        << "closed at once, not left to time out";
    EXPECT_TRUE(WaitUntil("the refusal's warning", [&] {
        return reports.Count(SCA_LEVEL_WARNING, "connection refused, 2 connections") != 0;
    }));
    EXPECT_TRUE(Echo(&second, 10)) << "those logged in keep being served";
    EXPECT_TRUE(Echo(&third, 10));
    second.Shutdown();
    ASSERT_TRUE(WaitUntil("one agent left", [&] { return m_Server->GetAgentCount() == 1; }));
    SCA_NetTransport fifth;
    EXPECT_TRUE(ConnectTo(&fifth, m_Port)) << "a freed place takes a new connection";
}

TEST_F(StrangerLimitsTest, StrangersAreBoundedInAllAndPerAddressAndTheCrowdedGiveWay) {
    m_Server->SetConnectionLimits(0, kPayload, 0);
    m_Server->SetStrangerLimits(4, 2);
    // The peers, in the order they connect, stand at these addresses.
    std::vector<std::string> peers = {"192.0.2.1",   "192.0.2.1",   "192.0.2.1",   "198.51.100.7",
                                      "203.0.113.5", "203.0.113.5", "198.51.100.8"};
    size_t next = 0;
    m_Server->SetPeerAddressHook([&](const std::string&) { return peers.at(next++); });
    std::vector<std::unique_ptr<SCA_NetTransport>> clients;
    // Each speaks once, so that it is their age alone that counts among those of an address.
    const auto connect = [&] {
        clients.push_back(std::make_unique<SCA_NetTransport>());
        return ConnectTo(clients.back().get(), m_Port) && Echo(clients.back().get(), 10);
    };
    const auto served = [&] {
        std::string alive;
        for (auto& client : clients) {
            alive += Echo(client.get(), 10) ? "1" : "0";
        }
        return alive;
    };
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(connect());
    }
    EXPECT_EQ(served(), "011") << "a third from one address takes its own oldest's place";
    ASSERT_TRUE(connect());
    ASSERT_TRUE(LogIn(clients.back().get())) << "a logged-in client is no stranger";
    ASSERT_TRUE(connect());
    ASSERT_TRUE(connect());
    EXPECT_EQ(m_Server->GetStrangerCount(), 4u);
    // Full: the address with the most strangers, and there the oldest, gives way.
    ASSERT_TRUE(connect());
    EXPECT_EQ(served(), "0011111");
    EXPECT_EQ(m_Server->GetStrangerCount(), 4u);
    EXPECT_EQ(m_Server->GetStrangerCount("192.0.2.1"), 1u);
    EXPECT_EQ(m_Server->GetStrangerCount("203.0.113.5"), 2u);
    m_Server->SetPeerAddressHook(nullptr);
}

TEST(LoginThrottleTest, AnAddressThatFailsOftenWaitsLongerAndLongerAndOthersDoNot) {
    SCA_NetLoginThrottle throttle;
    const std::string guesser = "192.0.2.9";
    uint64_t now = 1000000;
    for (uint32_t i = 0; i < SCA_NetLoginThrottle::kFreeFailures; ++i) {
        EXPECT_EQ(throttle.GetWaitMs(guesser, now), 0u) << "failure " << i << " is free";
        EXPECT_EQ(throttle.Enter(guesser, now), 0u) << "checked at once";
        throttle.LoginFailed(guesser, now);
    }
    // The waits double from the first failure past the free ones, up to the longest.
    const uint32_t waits[] = {1000, 2000, 4000, 8000, 16000, 30000, 30000};
    for (const uint32_t wait : waits) {
        EXPECT_EQ(throttle.GetWaitMs(guesser, now), wait);
        EXPECT_EQ(throttle.GetWaitMs(guesser, now + wait - 1), 1u);
        EXPECT_EQ(throttle.GetWaitMs("192.0.2.10", now), 0u) << "other addresses do not wait";
        const uint64_t round = throttle.Enter(guesser, now);
        EXPECT_NE(round, 0u) << "held";
        EXPECT_FALSE(throttle.IsTurn(guesser, round, now + wait - 1));
        now += wait;
        EXPECT_EQ(throttle.GetWaitMs(guesser, now), 0u);
        EXPECT_TRUE(throttle.IsTurn(guesser, round, now));
        throttle.LoginFailed(guesser, now);
    }
    // Failures long past are forgotten; a login that succeeds forgets nothing (it records
    // nothing at all).
    now += SCA_NetLoginThrottle::kForgetMs;
    throttle.LoginFailed(guesser, now);
    EXPECT_EQ(throttle.GetWaitMs(guesser, now), 0u);
    throttle.LoginFailed(guesser, now);
    throttle.LoginFailed(guesser, now);
    EXPECT_EQ(throttle.GetWaitMs(guesser, now), 1000u);

    // Many addresses: the table stays bounded, forgetting the stalest first.
    for (size_t i = 0; i <= SCA_NetLoginThrottle::kMaxAddresses; ++i) {
        for (uint32_t n = 0; n < SCA_NetLoginThrottle::kFreeFailures; ++n) {
            throttle.LoginFailed("a" + std::to_string(i), now + i);
        }
    }
    EXPECT_EQ(throttle.GetWaitMs("a0", now), 0u) << "the stalest was forgotten";
    EXPECT_NE(throttle.GetWaitMs("a1", now + 1), 0u);
}

// Everyone below shares one address, each on a connection of its own that sends its next
// login a while after the answer to the last (a connection sends one request at a time).
struct ThrottleSender {
    bool Administrator; // the right password; the others guess
    uint32_t PeriodMs;  // from an answer to the next login
    uint32_t FirstMs;
};

struct ThrottleRun {
    std::vector<uint64_t> Guesses;      // when each guess was checked
    std::vector<uint64_t> AdminWaitsMs; // from each login of the administrator to its check
};

// Runs senders on the throttle's clock for runMs: a login the throttle holds is checked when
// its turn comes, and checked at once otherwise.
ThrottleRun RunSenders(const std::vector<ThrottleSender>& senders, uint64_t runMs) {
    struct State {
        uint64_t NextMs;
        uint64_t Round = 0;
        uint64_t AskedMs = 0;
        bool Held = false;
    };
    constexpr uint64_t kStart = 5000000;
    const std::string address = "203.0.113.77";
    SCA_NetLoginThrottle throttle;
    ThrottleRun run;
    std::vector<State> states;
    for (const ThrottleSender& sender : senders) {
        states.push_back({kStart + sender.FirstMs});
    }
    const auto check = [&](size_t i, uint64_t now) {
        if (senders[i].Administrator) {
            run.AdminWaitsMs.push_back(now - states[i].AskedMs);
        } else {
            throttle.LoginFailed(address, now);
            run.Guesses.push_back(now);
        }
        states[i].Held = false;
        states[i].NextMs = now + senders[i].PeriodMs;
    };
    for (uint64_t now = kStart; now < kStart + runMs;) {
        // Each held login wakes when its address's wait has passed, and the first to look
        // opens the round for the rest; new logins come after.
        for (size_t i = 0; i < states.size(); ++i) {
            if (states[i].Held && throttle.IsTurn(address, states[i].Round, now)) {
                check(i, now);
            }
        }
        for (size_t i = 0; i < states.size(); ++i) {
            if (!states[i].Held && states[i].NextMs <= now) {
                states[i].AskedMs = now;
                states[i].Round = throttle.Enter(address, now);
                states[i].Held = states[i].Round != 0;
                if (!states[i].Held) {
                    check(i, now);
                }
            }
        }
        uint64_t next = UINT64_MAX;
        for (const State& state : states) {
            next = std::min(
                next, state.Held ? now + std::max<uint32_t>(1, throttle.GetWaitMs(address, now))
                                 : state.NextMs);
        }
        now = std::max(next, now);
    }
    return run;
}

// The most guesses checked in any minute.
size_t MostGuessesInAMinute(const std::vector<uint64_t>& guesses) {
    constexpr uint64_t kMinuteMs = 60000;
    size_t most = 0;
    for (size_t first = 0, last = 0; first < guesses.size(); ++first) {
        while (last < guesses.size() && guesses[last] < guesses[first] + kMinuteMs) {
            ++last;
        }
        most = std::max(most, last - first);
    }
    return most;
}

TEST(LoginThrottleTest, TheAdministratorGetsInWithinTheLongestWaitBesideAGuesserKeptSlow) {
    constexpr uint64_t kRunMs = 10 * 60 * 1000;
    constexpr uint32_t kShare = 8; // the strangers one address may hold at once
    const auto guessers = [](uint32_t count, uint32_t periodMs) {
        std::vector<ThrottleSender> senders;
        for (uint32_t i = 0; i < count; ++i) {
            senders.push_back({false, periodMs, i * 7});
        }
        return senders;
    };
    const auto with = [](std::vector<ThrottleSender> senders, uint32_t periodMs) {
        senders.push_back({true, periodMs, 1100});
        return senders;
    };
    const struct {
        const char* Case;
        std::vector<ThrottleSender> Senders;
    } rows[] = {
        {"a guesser every 0.2 s, alone", guessers(1, 200)},
        {"a guesser every 0.2 s and the administrator every 2 s", with(guessers(1, 200), 2000)},
        {"a guesser on the rest of the share and the administrator every 2 s",
         with(guessers(kShare - 1, 200), 2000)},
        {"a guesser at once after every answer on the whole share", guessers(kShare, 1)},
        {"the administrator every 0.3 s beside a guesser on four connections",
         with(guessers(4, 200), 300)},
        {"the administrator every 31 s, just past each wait", with(guessers(2, 50), 31000)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Case);
        const ThrottleRun run = RunSenders(row.Senders, kRunMs);
        const auto guessing = static_cast<uint32_t>(
            std::count_if(row.Senders.begin(), row.Senders.end(),
                          [](const ThrottleSender& sender) { return !sender.Administrator; }));
        const size_t most = MostGuessesInAMinute(run.Guesses);
        EXPECT_LE(most, SCA_NetLoginThrottle::MostChecksPerMinute(guessing));
        EXPECT_GE(run.Guesses.size(), kRunMs / SCA_NetLoginThrottle::kLongestWaitMs)
            << "every guess is checked in its turn, none refused unchecked";
        const bool administrator = guessing < row.Senders.size();
        if (administrator) {
            ASSERT_FALSE(run.AdminWaitsMs.empty());
            EXPECT_LE(*std::max_element(run.AdminWaitsMs.begin(), run.AdminWaitsMs.end()),
                      SCA_NetLoginThrottle::kLongestWaitMs)
                << "every login with the right password is checked within the longest wait";
            EXPECT_GT(*std::max_element(run.AdminWaitsMs.begin(), run.AdminWaitsMs.end()), 0u)
                << "the administrator shares the guesser's waits";
        }
        std::printf("%s: %zu guesses checked, at most %zu a minute (bound %u); administrator "
                    "%zu logins, longest wait %llu ms\n",
                    row.Case, run.Guesses.size(), most,
                    SCA_NetLoginThrottle::MostChecksPerMinute(guessing), run.AdminWaitsMs.size(),
                    static_cast<unsigned long long>(
                        run.AdminWaitsMs.empty()
                            ? 0
                            : *std::max_element(run.AdminWaitsMs.begin(), run.AdminWaitsMs.end())));
    }
}

TEST(LoginThrottleTest, HeldLoginsAreCheckedTogetherWhenTheWaitEndsOrDroppedAtOnce) {
    SCA_ManualClock clock;
    SCA_NetLoginThrottle throttle;
    const std::string address = "192.0.2.44";
    // A login its address need not hold is checked at once, even when its connection is
    // already gone: only one that waits is given up.
    uint64_t unheldStart = 0;
    EXPECT_TRUE(throttle.AwaitTurn(
        address, [] { return true; }, &unheldStart));
    for (uint32_t i = 0; i < SCA_NetLoginThrottle::kFreeFailures; ++i) {
        throttle.LoginFailed(address, SCA_NetLoginThrottle::NowMs());
    }
    std::atomic<int> checked{0};
    std::atomic<bool> leave{false};
    std::atomic<bool> left{false};
    // Two logins held for one round: the one checked first fails, and the other is checked all
    // the same, not left for a round after the new wait.
    std::vector<std::thread> held;
    for (int i = 0; i < 2; ++i) {
        held.emplace_back([&] {
            uint64_t start = 0;
            if (throttle.AwaitTurn(
                    address, [] { return false; }, &start)) {
                throttle.LoginFailed(address, start);
                ++checked;
            }
        });
    }
    std::thread leaving([&] {
        uint64_t start = 0;
        left = !throttle.AwaitTurn(
            address, [&] { return leave.load(); }, &start);
    });
    ASSERT_TRUE(WaitUntil("three held logins", [&] { return throttle.GetHeldCount() == 3; }));
    EXPECT_EQ(checked.load(), 0);
    // A connection that ends leaves at once, without a check and without the clock moving.
    leave = true;
    throttle.Wake();
    leaving.join();
    EXPECT_TRUE(left.load());
    EXPECT_EQ(throttle.GetHeldCount(), 2u);
    clock.Advance(std::chrono::milliseconds(SCA_NetLoginThrottle::kFirstWaitMs));
    for (std::thread& thread : held) {
        thread.join();
    }
    EXPECT_EQ(checked.load(), 2);
    EXPECT_EQ(throttle.GetWaitMs(address, SCA_NetLoginThrottle::NowMs()), 4000u)
        << "five failures: the one that left was not one";
}

TEST_F(StrangerLimitsTest, AStrangerMaySendLittleAndMayNotLinger) {
    SCA_NetTransport large;
    ASSERT_TRUE(ConnectTo(&large, m_Port));
    EXPECT_FALSE(Echo(&large, 4 * kPayload)) << "a payload over the stranger's limit closes";
    ASSERT_TRUE(WaitUntil("the agents to go", [&] { return m_Server->GetAgentCount() == 0; }));

    SCA_NetTransport small;
    ASSERT_TRUE(ConnectTo(&small, m_Port));
    // The server's idle time starts after the request was sent, never before.
    const auto lastRequest = Clock::now();
    ASSERT_TRUE(Echo(&small, 100));
    ASSERT_TRUE(WaitUntil("the idle stranger to be closed", [&] {
        return m_Server->GetAgentCount() == 0;
    })) << "an idle stranger is closed";
    EXPECT_GE(MsSince(lastRequest), static_cast<long long>(kIdleMs) - 50)
        << "but not before its idle time";
    EXPECT_FALSE(Echo(&small, 10));
}

} // namespace

namespace {

TEST_F(StrangerLimitsTest, ConnectionsHeldOpenGiveWayBeforeClientsThatAnsweredTheGreeting) {
    m_Server->SetConnectionLimits(0, kPayload, 0);
    m_Server->SetStrangerLimits(2, 0);
    SCA_NetTransport client;
    ASSERT_TRUE(ConnectTo(&client, m_Port));
    ASSERT_TRUE(Echo(&client, 10));
    nettest::RawClient held(m_Port); // never answers: a connection a flood holds open
    ASSERT_TRUE(held.Connected());
    ASSERT_TRUE(WaitUntil("both to be served", [&] { return m_Server->GetStrangerCount() == 2; }));
    // The client waited longest, but the one that never spoke gives way.
    SCA_NetTransport newcomer;
    ASSERT_TRUE(ConnectTo(&newcomer, m_Port));
    EXPECT_TRUE(Echo(&client, 10));
    EXPECT_TRUE(Echo(&newcomer, 10));
    EXPECT_EQ(m_Server->GetStrangerCount(), 2u) << "the held one was closed";
    // Among those that all spoke, the one that waited longest gives way.
    SCA_NetTransport third;
    ASSERT_TRUE(ConnectTo(&third, m_Port));
    EXPECT_FALSE(Echo(&client, 10)) << "the oldest made room";
    EXPECT_TRUE(Echo(&third, 10));
}

TEST_F(StrangerLimitsTest, AnAddressAtItsLimitNeverTakesTheRoomOfAnother) {
    m_Server->SetConnectionLimits(0, kPayload, 0);
    m_Server->SetStrangerLimits(0, 1);
    std::vector<std::string> peers = {"192.0.2.1", "198.51.100.7", "192.0.2.1"};
    size_t next = 0;
    m_Server->SetPeerAddressHook([&](const std::string&) { return peers.at(next++); });
    SCA_NetTransport busy;
    ASSERT_TRUE(ConnectTo(&busy, m_Port));
    SCA_NetTransport neighbour;
    ASSERT_TRUE(ConnectTo(&neighbour, m_Port));
    // The only stranger of 192.0.2.1 is answering a request: it cannot give way.
    std::thread blocked([&] {
        SCA_NetMessage request;
        SCA_NetMessage reply;
        request.Init("Block");
        EXPECT_TRUE(nettest::Call(&busy, &request, &reply, 10000));
    });
    ASSERT_TRUE(
        WaitUntil("the request to be answered", [&] { return m_Events.BlockEntered == 1; }));
    SCA_NetTransport refused;
    EXPECT_FALSE(ConnectTo(&refused, m_Port)) << "refused rather than served in another's place";
    m_Events.ReleaseBlock = true;
    blocked.join();
    EXPECT_TRUE(Echo(&neighbour, 10));
    EXPECT_TRUE(Echo(&busy, 10));
    m_Server->SetPeerAddressHook(nullptr);
}

} // namespace
