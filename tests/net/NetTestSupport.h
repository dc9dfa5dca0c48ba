// SPDX-License-Identifier: MIT
#pragma once

#include "tests/support/KorvantaTestSupport.h"
#include "tests/support/ManualClockSupport.h"
#include "tests/support/WaitUntil.h"

#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <mutex>
#include <netinet/in.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "libmor/SCA_Clock.h"
#include "libmor/SCA_ManualClock.h"
#include "libmor/SCA_Report.h"
#include "net/SCA_NetFrameReader.h"
#include "net/SCA_NetFrameWriter.h"
#include "net/SCA_NetMessage.h"
#include "net/SCA_NetProtocol.h"
#include "net/SCA_NetServer.h"
#include "net/SCA_NetServerAgent.h"
#include "net/SCA_NetTransport.h"

namespace nettest {

using korvanta_test::ReportCapture;

using Clock = std::chrono::steady_clock;

inline long long MsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// The bytes of one frame.
inline std::string Frame(SCA_NetMessage* message, uint32_t sequence) {
    SCA_NetFrameWriter writer;
    uint32_t error = 0;
    if (!writer.Encode(message, sequence, &error)) {
        return {};
    }
    return std::string(writer.GetData(), writer.GetSize());
}

inline std::string Frame(const char* name, uint32_t code, uint32_t sequence) {
    SCA_NetMessage message;
    message.Init(name);
    message.SetControlCode(code);
    return Frame(&message, sequence);
}

// Little-endian u32, as frames carry them.
inline std::string U32(uint32_t value) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
    return bytes;
}

// A frame head with any name length and payload length, for hostile inputs.
inline std::string Head(const std::string& name, uint32_t payloadLength, uint32_t code = 0,
                        uint32_t sequence = 1, uint8_t version = SCA_NET_FRAME_VERSION) {
    std::string head("KVNT");
    head.push_back(static_cast<char>(version));
    head += U32(code) + U32(0) + U32(sequence);
    head.push_back(static_cast<char>(name.size()));
    return head + name + U32(payloadLength);
}

// The byte form of an object tree levels deep ("2 0x01 L 0x01" ... "0 0x01").
inline std::string NestedTree(int levels) {
    std::string tree;
    for (int i = 0; i < levels; ++i) {
        tree += "2\x01L\x01";
    }
    for (int i = 0; i < levels; ++i) {
        tree += "0\x01";
    }
    return tree;
}

// A plain TCP client on 127.0.0.1 for sending whatever bytes a test wants.
class RawClient {
public:
    explicit RawClient(uint16_t port) {
        m_Socket = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        m_Connected =
            connect(m_Socket, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
    }
    ~RawClient() { close(m_Socket); }
    RawClient(const RawClient&) = delete;
    RawClient& operator=(const RawClient&) = delete;

    bool Connected() const { return m_Connected; }

    bool Send(const std::string& bytes) {
        return send(m_Socket, bytes.data(), bytes.size(), MSG_NOSIGNAL) ==
               static_cast<ssize_t>(bytes.size());
    }

    // The next frame, or false when none arrived whole within timeoutMs.
    bool ReadFrame(SCA_NetMessage* message, uint32_t* sequence, int timeoutMs = 5000) {
        const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
        while (!m_Reader.IsComplete()) {
            if (m_Reader.GetError() != 0) {
                return false;
            }
            char byte[4096];
            const ssize_t count = RecvUntil(byte, sizeof(byte), end);
            if (count <= 0) {
                return false;
            }
            m_Pending.append(byte, static_cast<size_t>(count));
            const uint32_t used =
                m_Reader.Feed(m_Pending.data(), static_cast<uint32_t>(m_Pending.size()));
            m_Pending.erase(0, used);
        }
        *sequence = m_Reader.GetSequence();
        return m_Reader.TakeMessage(message) != 0;
    }

    // Reads the server's greeting and answers it, as a client transport would.
    bool Handshake() {
        SCA_NetMessage greeting;
        uint32_t sequence = 0;
        if (!ReadFrame(&greeting, &sequence) ||
            greeting.GetControlCode() != SCA_NET_CODE_GREETING) {
            return false;
        }
        SCA_NetMessage reply;
        reply.Init("GreetingReply");
        reply.SetControlCode(SCA_NET_CODE_GREETING_REPLY);
        reply.GetData()->AddField("ClientStartTime", uint64_t{1});
        reply.GetData()->AddField("ClientConnectTime", uint64_t{2});
        return Send(Frame(&reply, 0));
    }

    // True when the server closes the connection within timeoutMs (whatever it sent first).
    bool ClosedWithin(int timeoutMs) {
        const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
        char bytes[4096];
        for (;;) {
            const ssize_t count = RecvUntil(bytes, sizeof(bytes), end);
            if (count == 0 || (count < 0 && errno == ECONNRESET)) {
                return true;
            }
            if (count < 0) {
                return false;
            }
        }
    }

private:
    // recv with a deadline: -1 with errno ETIMEDOUT when it passed.
    ssize_t RecvUntil(char* buf, size_t size, Clock::time_point end) {
        for (;;) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
            if (left <= 0) {
                errno = ETIMEDOUT;
                return -1;
            }
            pollfd entry{m_Socket, POLLIN, 0};
            if (poll(&entry, 1, static_cast<int>(left)) > 0) {
                return recv(m_Socket, buf, size, 0);
            }
        }
    }

    int m_Socket = -1;
    bool m_Connected = false;
    SCA_NetFrameReader m_Reader;
    std::string m_Pending;
};

// What a test server saw; it outlives the server so that tests can look after destruction.
struct ServerEvents {
    std::atomic<int> Connects{0};
    std::atomic<int> Disconnects{0};
    std::atomic<int> Running{0}; // handlers running now
    std::atomic<int> BlockEntered{0};
    std::atomic<int> StopEntered{0};
    std::atomic<bool> ReleaseBlock{false};
    std::mutex Lock;
    std::vector<uint32_t> ConnectIds;
    uint64_t ClientConnectTime = 0; // as the server end of the last connection learnt it
};

// A command server with a few test commands:
//   Echo     replies "OK" with a copy of the request's tree
//   WhoAmI   replies "OK" with "ConnectionId"
//   Maybe    adds "Partial" and names the reply "Maybe": it must go out as "ERR"
//   Slow     lets "DelayMs" (at most 5000) pass on the process's clock and replies "OK" with
//            "Slept"
//   Block    waits until ReleaseBlock (at most 5000 ms) and replies "OK"
//   TooDeep  replies "OK" with a tree deeper than a message may be
//   StopAll  waits until ReleaseBlock (at most 5000 ms), then stops the whole server
//   LogIn    marks the connection as logged in and replies "OK"
class TestServer : public SCA_NetServer<TestServer> {
public:
    TestServer(ServerEvents* events, uint16_t port, uint32_t* error, bool startDispatch = true)
        : SCA_NetServer<TestServer>(this, "1.2.3", port, error), m_Events(events) {
        if (!IsConstructed()) {
            return;
        }
        RegisterAll();
        if (startDispatch) {
            StartDispatch(error);
        }
    }
    ~TestServer() override { StopAll(); }

    void RegisterAll() {
        RegisterCommand("Echo", &TestServer::Echo);
        RegisterCommand("WhoAmI", &TestServer::WhoAmI);
        RegisterCommand("Maybe", &TestServer::Maybe);
        RegisterCommand("Slow", &TestServer::Slow);
        RegisterCommand("Block", &TestServer::Block);
        RegisterCommand("TooDeep", &TestServer::TooDeep);
        RegisterCommand("StopAll", &TestServer::StopServer);
        RegisterCommand("LogIn", &TestServer::LogIn);
    }

    int ConnectEvent(SCA_NetServerAgent* connection) override {
        std::lock_guard<std::mutex> lock(m_Events->Lock);
        m_Events->ConnectIds.push_back(connection->GetId());
        m_Events->ClientConnectTime = connection->GetTransport()->GetClientConnectTime();
        ++m_Events->Connects;
        return 1;
    }
    int DisconnectEvent(SCA_NetServerAgent*) override {
        ++m_Events->Disconnects;
        return 1;
    }
    uint32_t GetLoginMode() const { return 7; }

private:
    // Counts the handlers that run, so tests can see that none outlives StopAll.
    struct Running {
        explicit Running(ServerEvents* events) : m_Events(events) { ++m_Events->Running; }
        ~Running() { --m_Events->Running; }
        ServerEvents* m_Events;
    };

    int Echo(SCA_NetServerAgent*, SCA_NetMessage* request, SCA_NetMessage* reply) {
        Running running(m_Events);
        reply->GetData()->SetContent(request->GetData());
        return reply->SetCommandName("OK");
    }
    int WhoAmI(SCA_NetServerAgent* connection, SCA_NetMessage*, SCA_NetMessage* reply) {
        reply->GetData()->AddField("ConnectionId", connection->GetId());
        return reply->SetCommandName("OK");
    }
    int LogIn(SCA_NetServerAgent* connection, SCA_NetMessage*, SCA_NetMessage* reply) {
        connection->SetAuthenticated(1);
        return reply->SetCommandName("OK");
    }
    int Maybe(SCA_NetServerAgent*, SCA_NetMessage*, SCA_NetMessage* reply) {
        reply->GetData()->AddField("Partial", 1);
        reply->SetCommandName("Maybe");
        return 1;
    }
    int Slow(SCA_NetServerAgent*, SCA_NetMessage* request, SCA_NetMessage* reply) {
        Running running(m_Events);
        uint32_t delayMs = 0;
        request->GetData()->GetField("DelayMs", &delayMs);
        SCA_GetClock().SleepFor(std::min(delayMs, 5000u));
        reply->GetData()->AddField("Slept", delayMs);
        return reply->SetCommandName("OK");
    }
    int Block(SCA_NetServerAgent*, SCA_NetMessage*, SCA_NetMessage* reply) {
        Running running(m_Events);
        ++m_Events->BlockEntered;
        korvanta_test::WaitUntil("the test to release the call",
                                 [this] { return m_Events->ReleaseBlock.load(); });
        return reply->SetCommandName("OK");
    }
    int StopServer(SCA_NetServerAgent*, SCA_NetMessage*, SCA_NetMessage* reply) {
        Running running(m_Events);
        ++m_Events->StopEntered;
        korvanta_test::WaitUntil("the test to release the stop",
                                 [this] { return m_Events->ReleaseBlock.load(); });
        StopAll();
        return reply->SetCommandName("OK");
    }
    int TooDeep(SCA_NetServerAgent*, SCA_NetMessage*, SCA_NetMessage* reply) {
        SCA_ConfigObj* level = reply->GetData();
        for (uint32_t i = 0; i < SCA_CONFIG_MAX_DEPTH + 2 && level != nullptr; ++i) {
            level = level->AddConfigObj("L");
        }
        return reply->SetCommandName("OK");
    }

    ServerEvents* m_Events;
};

// A client transport connected to 127.0.0.1:port.
inline bool ConnectTo(SCA_NetTransport* transport, uint16_t port, uint32_t timeoutMs = 5000) {
    uint32_t error = 0;
    return transport->Connect("127.0.0.1", port, timeoutMs, &error) != 0;
}

// How long a call waits for a reply it is not testing the time-out of: a large one under
// ThreadSanitizer on a loaded machine takes seconds.
inline constexpr uint32_t kReplyWaitMs =
    static_cast<uint32_t>(korvanta_test::kWaitDeadline.count());

// Sends a request and waits for its reply; the reply is preset to "ERR" as clients do.
inline bool Call(SCA_NetTransport* transport, SCA_NetMessage* request, SCA_NetMessage* reply,
                 uint32_t timeoutMs = kReplyWaitMs, uint32_t* error = nullptr) {
    uint32_t code = 0;
    reply->Init("ERR");
    const bool done = transport->SendMessageA(0, request, &code) &&
                      transport->WaitForMessage(timeoutMs, reply, &code);
    if (error != nullptr) {
        *error = done ? 0 : code;
    }
    return done;
}

} // namespace nettest
