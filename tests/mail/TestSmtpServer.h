// SPDX-License-Identifier: MIT
#pragma once

// A small SMTP server of the tests on 127.0.0.1 with a port from the kernel: it greets, answers
// EHLO (offering AUTH PLAIN unless told not to), checks a PLAIN login against one account, and
// takes mail, which it keeps. Each connection is served in turn on one thread.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace korvanta_test {

class TestSmtpServer {
public:
    enum class Mode { Accept, RefuseLogin, CloseEarly, NoAuth };

    // "user"/"secret" is the account whose PLAIN login is accepted.
    explicit TestSmtpServer(Mode mode) : m_Mode(mode) {
        m_Listen = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof(address);
        if (m_Listen < 0 || bind(m_Listen, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            listen(m_Listen, 4) != 0 ||
            getsockname(m_Listen, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            return;
        }
        m_Port = ntohs(address.sin_port);
        m_Thread = std::thread([this] { Serve(); });
    }
    ~TestSmtpServer() {
        m_Stop = true;
        if (m_Thread.joinable()) {
            m_Thread.join();
        }
        if (m_Listen >= 0) {
            close(m_Listen);
        }
    }
    TestSmtpServer(const TestSmtpServer&) = delete;
    TestSmtpServer& operator=(const TestSmtpServer&) = delete;

    uint16_t Port() const { return m_Port; }
    int Connections() const { return m_Connections; }
    int Logins() const { return m_Logins; }
    std::vector<std::string> Mails() const {
        std::lock_guard<std::mutex> lock(m_Lock);
        return m_Mails;
    }
    std::vector<std::string> Commands() const {
        std::lock_guard<std::mutex> lock(m_Lock);
        return m_Commands;
    }

private:
    void Serve() {
        while (!m_Stop) {
            pollfd waiting{m_Listen, POLLIN, 0};
            if (poll(&waiting, 1, 50) <= 0) {
                continue;
            }
            const int fd = accept(m_Listen, nullptr, nullptr);
            if (fd < 0) {
                continue;
            }
            ++m_Connections;
            if (m_Mode != Mode::CloseEarly) {
                Talk(fd);
            }
            close(fd);
        }
    }

    bool ReadLine(int fd, std::string* line) {
        line->clear();
        while (!m_Stop) {
            const size_t end = m_Buffer.find("\r\n");
            if (end != std::string::npos) {
                *line = m_Buffer.substr(0, end);
                m_Buffer.erase(0, end + 2);
                return true;
            }
            pollfd waiting{fd, POLLIN, 0};
            if (poll(&waiting, 1, 50) <= 0) {
                continue;
            }
            char chunk[1024];
            const ssize_t n = recv(fd, chunk, sizeof(chunk), 0);
            if (n <= 0) {
                return false;
            }
            m_Buffer.append(chunk, static_cast<size_t>(n));
        }
        return false;
    }

    static void Say(int fd, const std::string& text) {
        send(fd, text.data(), text.size(), MSG_NOSIGNAL);
    }

    void Talk(int fd) {
        m_Buffer.clear();
        Say(fd, "220 test ESMTP\r\n");
        std::string line;
        std::string mail;
        while (ReadLine(fd, &line)) {
            {
                std::lock_guard<std::mutex> lock(m_Lock);
                m_Commands.push_back(line);
            }
            if (line.rfind("EHLO", 0) == 0) {
                Say(fd, m_Mode == Mode::NoAuth ? "250 test\r\n" : "250-test\r\n250 AUTH PLAIN\r\n");
            } else if (line.rfind("AUTH PLAIN", 0) == 0) {
                // The credentials come on the command or, asked for, on the next line.
                std::string credentials = line.size() > 11 ? line.substr(11) : "";
                if (credentials.empty()) {
                    Say(fd, "334 \r\n");
                    if (!ReadLine(fd, &credentials)) {
                        return;
                    }
                }
                // "\0user\0secret" in base64.
                const bool good = credentials == "AHVzZXIAc2VjcmV0" && m_Mode == Mode::Accept;
                if (good) {
                    ++m_Logins;
                }
                Say(fd, good ? "235 accepted\r\n" : "535 refused\r\n");
            } else if (line.rfind("MAIL FROM:", 0) == 0 || line.rfind("RCPT TO:", 0) == 0) {
                mail += line + "\n";
                Say(fd, "250 ok\r\n");
            } else if (line == "DATA") {
                Say(fd, "354 go on\r\n");
                while (ReadLine(fd, &line) && line != ".") {
                    mail += line + "\n";
                }
                {
                    std::lock_guard<std::mutex> lock(m_Lock);
                    m_Mails.push_back(mail);
                }
                mail.clear();
                Say(fd, "250 queued\r\n");
            } else if (line == "QUIT") {
                Say(fd, "221 bye\r\n");
                return;
            } else {
                Say(fd, "502 unknown\r\n");
            }
        }
    }

    Mode m_Mode;
    int m_Listen = -1;
    uint16_t m_Port = 0;
    std::atomic<bool> m_Stop{false};
    std::atomic<int> m_Connections{0};
    std::atomic<int> m_Logins{0};
    std::string m_Buffer;
    mutable std::mutex m_Lock;
    std::vector<std::string> m_Mails;
    std::vector<std::string> m_Commands;
    std::thread m_Thread;
};

} // namespace korvanta_test
