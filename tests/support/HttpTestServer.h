// SPDX-License-Identifier: MIT
#pragma once

// A tiny HTTP server of a test on 127.0.0.1.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

#include "tests/support/WaitUntil.h"

namespace korvanta_test {

// A listening socket on 127.0.0.1 with a kernel-chosen port. With an answer it serves each
// connection once with that answer (recording the request line); without, it never accepts.
class TestHttpServer {
public:
    explicit TestHttpServer(std::string answer = std::string(), bool answers = true)
        : m_Answer(std::move(answer)) {
        m_Socket = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof(address);
        if (m_Socket < 0 || bind(m_Socket, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            listen(m_Socket, 4) != 0 ||
            getsockname(m_Socket, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            return;
        }
        m_Port = ntohs(address.sin_port);
        if (answers) {
            m_Thread = std::thread([this] { Serve(); });
        }
    }
    ~TestHttpServer() {
        m_Stop.store(true);
        if (m_Thread.joinable()) {
            m_Thread.join();
        }
        if (m_Socket >= 0) {
            close(m_Socket);
        }
    }
    TestHttpServer(const TestHttpServer&) = delete;
    TestHttpServer& operator=(const TestHttpServer&) = delete;

    uint16_t Port() const { return m_Port; }
    // The request line of the first request; empty when none came.
    std::string RequestLine() const {
        WaitUntil("a request to the test's HTTP server",
                  [this] { return m_Served.load() || m_Stop.load(); });
        return m_RequestLine;
    }

    static std::string Ok(const std::string& body) {
        return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) +
               "\r\nConnection: close\r\n\r\n" + body;
    }

private:
    static constexpr int kPollMs = 50;

    void Serve() {
        while (!m_Stop.load()) {
            pollfd wait{m_Socket, POLLIN, 0};
            if (poll(&wait, 1, kPollMs) <= 0) {
                continue;
            }
            const int connection = accept4(m_Socket, nullptr, nullptr, SOCK_CLOEXEC);
            if (connection < 0) {
                continue;
            }
            std::string request;
            char buf[1024];
            while (request.find("\r\n\r\n") == std::string::npos) {
                const ssize_t got = recv(connection, buf, sizeof(buf), 0);
                if (got <= 0) {
                    break;
                }
                request.append(buf, static_cast<size_t>(got));
            }
            m_RequestLine = request.substr(0, request.find("\r\n"));
            send(connection, m_Answer.data(), m_Answer.size(), MSG_NOSIGNAL);
            close(connection);
            m_Served.store(true);
        }
    }

    std::string m_Answer;
    int m_Socket = -1;
    uint16_t m_Port = 0;
    std::thread m_Thread;
    std::atomic<bool> m_Stop{false};
    std::atomic<bool> m_Served{false};
    std::string m_RequestLine;
};

} // namespace korvanta_test
