// SPDX-License-Identifier: MIT
#pragma once

// A flood of connections from one address of this computer's loopback (127.0.0.0/8 reaches a
// server listening on 127.0.0.1), and a relay that slows a client down as a busy computer slows
// it, passing its connection on from an address of its own.

#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <netinet/in.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace korvanta_test {

// An IPv4 address with a port.
inline sockaddr_in AddressOf(const char* ip, uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    inet_pton(AF_INET, ip, &address.sin_addr);
    return address;
}

// A connection from source: its local port is chosen when it connects (binding first would take
// one of the computer's ports for each), and it leaves nothing behind when closed, so that a
// flood of tens of thousands runs out of neither. -1 when it cannot be made.
inline int OpenFloodConnection(const sockaddr_in& from, const sockaddr_in& to) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return -1;
    }
    const int on = 1;
    const linger abort{1, 0};
    if (setsockopt(fd, IPPROTO_IP, IP_BIND_ADDRESS_NO_PORT, &on, sizeof(on)) != 0 ||
        setsockopt(fd, SOL_SOCKET, SO_LINGER, &abort, sizeof(abort)) != 0 ||
        bind(fd, reinterpret_cast<const sockaddr*>(&from), sizeof(from)) != 0 ||
        connect(fd, reinterpret_cast<const sockaddr*>(&to), sizeof(to)) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

// Opens connections from source to a server on 127.0.0.1 on several threads until destroyed,
// never sending a byte, and counts them. Each thread holds up to held connections: with a hold
// time, each for that long from its opening, so that the flood keeps about threads * held
// connections open; without one, it closes all of them once it has held that many.
class LoopbackFlood {
public:
    struct Shape {
        int Threads;
        size_t Held;
        std::chrono::milliseconds Hold;
    };

    LoopbackFlood(const std::string& source, uint16_t port, Shape shape) : m_Shape(shape) {
        const sockaddr_in from = AddressOf(source.c_str(), 0);
        const sockaddr_in to = AddressOf("127.0.0.1", port);
        for (int i = 0; i < shape.Threads; ++i) {
            m_Threads.emplace_back([this, from, to] { Run(from, to); });
        }
    }
    ~LoopbackFlood() {
        m_Stop = true;
        for (std::thread& thread : m_Threads) {
            thread.join();
        }
    }
    LoopbackFlood(const LoopbackFlood&) = delete;
    LoopbackFlood& operator=(const LoopbackFlood&) = delete;

    uint64_t Opened() const { return m_Opened.load(); }

private:
    using Clock = std::chrono::steady_clock;
    struct Held {
        int Fd;
        Clock::time_point Since;
    };

    void Run(const sockaddr_in& from, const sockaddr_in& to) {
        std::deque<Held> held;
        while (!m_Stop.load()) {
            const auto now = Clock::now();
            while (m_Shape.Hold.count() > 0 && !held.empty() &&
                   now - held.front().Since >= m_Shape.Hold) {
                close(held.front().Fd);
                held.pop_front();
            }
            if (held.size() >= m_Shape.Held) {
                if (m_Shape.Hold.count() == 0) {
                    CloseAll(&held);
                } else {
                    // The pace of the flood: the oldest goes when its time is up.
                    std::this_thread::sleep_until(held.front().Since + m_Shape.Hold);
                }
                continue;
            }
            const int fd = OpenFloodConnection(from, to);
            if (fd >= 0) {
                held.push_back({fd, Clock::now()});
                ++m_Opened;
            }
        }
        CloseAll(&held);
    }

    static void CloseAll(std::deque<Held>* held) {
        for (const Held& connection : *held) {
            close(connection.Fd);
        }
        held->clear();
    }

    const Shape m_Shape;
    std::atomic<bool> m_Stop{false};
    std::atomic<uint64_t> m_Opened{0};
    std::vector<std::thread> m_Threads;
};

// Listens on 127.0.0.1 (a port of the kernel's choice) and passes each connection it accepts,
// one at a time, on to a server on 127.0.0.1 from source, as a slow client would send: what the
// client sends first (its answer to a greeting) waits firstDelay, what it sends later (its
// requests) waits laterDelay; what the server sends goes through at once.
class SlowRelay {
public:
    SlowRelay(const std::string& source, uint16_t serverPort, std::chrono::milliseconds firstDelay,
              std::chrono::milliseconds laterDelay)
        : m_From(AddressOf(source.c_str(), 0)), m_To(AddressOf("127.0.0.1", serverPort)),
          m_FirstDelay(firstDelay), m_LaterDelay(laterDelay) {
        m_Listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in any = AddressOf("127.0.0.1", 0);
        socklen_t size = sizeof(any);
        if (m_Listener >= 0 &&
            bind(m_Listener, reinterpret_cast<const sockaddr*>(&any), sizeof(any)) == 0 &&
            listen(m_Listener, 16) == 0 &&
            getsockname(m_Listener, reinterpret_cast<sockaddr*>(&any), &size) == 0) {
            m_Port = ntohs(any.sin_port);
            m_Thread = std::thread([this] { Run(); });
        }
    }
    ~SlowRelay() {
        m_Stop = true;
        if (m_Thread.joinable()) {
            m_Thread.join();
        }
        if (m_Listener >= 0) {
            close(m_Listener);
        }
    }
    SlowRelay(const SlowRelay&) = delete;
    SlowRelay& operator=(const SlowRelay&) = delete;

    // Where a client connects; 0 when the relay could not listen.
    uint16_t Port() const { return m_Port; }

private:
    static constexpr int kLookMs = 20;

    void Run() {
        while (!m_Stop.load()) {
            pollfd entry{m_Listener, POLLIN, 0};
            if (poll(&entry, 1, kLookMs) <= 0) {
                continue;
            }
            const int client = accept4(m_Listener, nullptr, nullptr, SOCK_CLOEXEC);
            if (client < 0) {
                continue;
            }
            const int server = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
            if (server >= 0 &&
                bind(server, reinterpret_cast<const sockaddr*>(&m_From), sizeof(m_From)) == 0 &&
                connect(server, reinterpret_cast<const sockaddr*>(&m_To), sizeof(m_To)) == 0) {
                Pass(client, server);
            }
            if (server >= 0) {
                close(server);
            }
            close(client);
        }
    }

    // Until either end closes or the relay stops.
    void Pass(int client, int server) {
        bool first = true;
        char bytes[64 * 1024];
        while (!m_Stop.load()) {
            pollfd entries[2] = {{client, POLLIN, 0}, {server, POLLIN, 0}};
            if (poll(entries, 2, kLookMs) <= 0) {
                continue;
            }
            if (entries[1].revents != 0 &&
                !Forward(server, client, bytes, sizeof(bytes), std::chrono::milliseconds(0))) {
                return;
            }
            // Taken at once, so that what the client sends next waits a delay of its own.
            if (entries[0].revents != 0 && !Forward(client, server, bytes, sizeof(bytes),
                                                    first ? m_FirstDelay : m_LaterDelay)) {
                return;
            }
            first = first && entries[0].revents == 0;
        }
    }

    static bool Forward(int from, int to, char* bytes, size_t size,
                        std::chrono::milliseconds delay) {
        const ssize_t count = recv(from, bytes, size, 0);
        if (count <= 0) {
            return false;
        }
        std::this_thread::sleep_for(delay);
        for (ssize_t sent = 0; sent < count;) {
            const ssize_t now =
                send(to, bytes + sent, static_cast<size_t>(count - sent), MSG_NOSIGNAL);
            if (now <= 0) {
                return false;
            }
            sent += now;
        }
        return true;
    }

    const sockaddr_in m_From;
    const sockaddr_in m_To;
    const std::chrono::milliseconds m_FirstDelay;
    const std::chrono::milliseconds m_LaterDelay;
    int m_Listener = -1;
    uint16_t m_Port = 0;
    std::atomic<bool> m_Stop{false};
    std::thread m_Thread;
};

} // namespace korvanta_test
