// SPDX-License-Identifier: MIT
#include <arpa/inet.h>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <netinet/in.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

#include "libmor/SCA_SystemLog.h"
#include "tests/integration/ProgramRun.h"
#include "tests/support/KorvantaTestSupport.h"
#include "tests/support/TestPaths.h"

namespace {

constexpr int kMessageWaitMs = 20000;
constexpr const char* kReady = "READY=1";
constexpr const char* kPortStatus = "STATUS=Listening on port ";

// The service run of korvas as systemd starts it: no terminal, its notifications to a socket
// of the test's own (NOTIFY_SOCKET), its configuration in a temporary folder (or in home),
// its standard error kept.
class NotifiedService {
public:
    explicit NotifiedService(const std::string& port, const std::string& home = "") {
        const std::string socketPath = m_Dir / "notify";
        m_Socket = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        socketPath.copy(address.sun_path, sizeof(address.sun_path) - 1);
        if (bind(m_Socket, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) {
            return;
        }
        const std::string errPath = m_Dir / "err";
        m_Pid = fork();
        if (m_Pid == 0) {
            const int errFd = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            dup2(errFd, STDERR_FILENO);
            setenv("NOTIFY_SOCKET", socketPath.c_str(), 1);
            setenv("KORVANTA_HOME", home.empty() ? m_Dir.Path().c_str() : home.c_str(), 1);
            execl(korvanta_test::KorvasProgram(), korvanta_test::KorvasProgram(), "-control_port",
                  port.c_str(), nullptr);
            _exit(127);
        }
    }
    ~NotifiedService() {
        if (m_Pid > 0 && m_Status == kRunning) {
            kill(m_Pid, SIGKILL);
            waitpid(m_Pid, nullptr, 0);
        }
        close(m_Socket);
    }
    NotifiedService(const NotifiedService&) = delete;
    NotifiedService& operator=(const NotifiedService&) = delete;

    // The next notification, or "" when none came in time.
    std::string Next() {
        pollfd entry{m_Socket, POLLIN, 0};
        if (poll(&entry, 1, kMessageWaitMs) <= 0) {
            return "";
        }
        char text[512] = {};
        const ssize_t size = recv(m_Socket, text, sizeof(text) - 1, 0);
        return size > 0 ? std::string(text, static_cast<size_t>(size)) : "";
    }
    // Notifications until one holds text; all of them, the last one holding it (or not).
    std::vector<std::string> Until(const std::string& text) {
        std::vector<std::string> seen;
        for (std::string message = Next(); !message.empty(); message = Next()) {
            seen.push_back(message);
            if (message.find(text) != std::string::npos) {
                break;
            }
        }
        return seen;
    }
    int Stop() {
        kill(m_Pid, SIGTERM);
        return Wait();
    }
    int Wait() {
        int status = 0;
        waitpid(m_Pid, &status, 0);
        m_Status = WIFEXITED(status) ? WEXITSTATUS(status) : kKilled;
        return m_Status;
    }
    std::string Err() const { return korvanta_test::ReadWhole(m_Dir / "err"); }

private:
    static constexpr int kRunning = -1;
    static constexpr int kKilled = -2;
    korvanta_test::TempDir m_Dir;
    int m_Socket = -1;
    pid_t m_Pid = -1;
    int m_Status = kRunning;
};

bool Connects(uint16_t port) {
    const int client = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool connected =
        connect(client, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
    close(client);
    return connected;
}

TEST(ReadinessTest, ReadyComesOnlyOnceTheServerListensAndNamesItsPort) {
    NotifiedService service("0");
    const auto seen = service.Until(kReady);
    ASSERT_FALSE(seen.empty());
    for (size_t i = 0; i + 1 < seen.size(); ++i) {
        EXPECT_EQ(seen[i].find(kReady), std::string::npos) << seen[i];
    }
    const std::string& ready = seen.back();
    const size_t at = ready.find(kPortStatus);
    ASSERT_NE(at, std::string::npos) << ready;
    const int port = std::atoi(ready.c_str() + at + std::string(kPortStatus).size());
    ASSERT_GT(port, 0);
    EXPECT_TRUE(Connects(static_cast<uint16_t>(port))) << "ready, but nothing listens on " << port;

    EXPECT_EQ(service.Stop(), 0);
    const auto stopping = service.Until("STOPPING=1");
    ASSERT_FALSE(stopping.empty());
    EXPECT_EQ(stopping.back(), "STOPPING=1\nSTATUS=Stopped");
}

// A start that fails is never reported ready, ends with its code and says why: in the system
// log, or on standard error where no log daemon listens (an init that starts none).
TEST(ReadinessTest, AStartThatFailsIsNeverReadyEndsWithItsCodeAndSaysWhy) {
    const korvanta_test::HeldPort held;
    ASSERT_NE(held.Port(), 0);
    const korvanta_test::TempDir dir;
    std::ofstream(dir / "file") << "a file, not a folder\n";
    struct Row {
        const char* Name;
        std::string Port;
        std::string Home;
        int Status;
        const char* Reason;
    };
    const Row rows[] = {
        {"a taken port", std::to_string(held.Port()), "", 1, "korvas: Cannot start server on port"},
        {"a state folder that cannot be made", "0", dir / "file/home", 103,
         "korvas: Unable to load product configuration."},
    };
    const bool onStandardError = !SCA_SystemLog("korvas").HasSocket();
    for (const Row& row : rows) {
        NotifiedService service(row.Port, row.Home);
        const auto seen = service.Until("STOPPING=1");
        ASSERT_FALSE(seen.empty()) << row.Name;
        for (const auto& message : seen) {
            EXPECT_EQ(message.find(kReady), std::string::npos) << row.Name << ": " << message;
        }
        EXPECT_EQ(seen.back(),
                  "STOPPING=1\nSTATUS=Stopped (code " + std::to_string(row.Status) + ")");
        EXPECT_EQ(service.Wait(), row.Status) << row.Name;
        const std::string err = service.Err();
        if (onStandardError) {
            EXPECT_NE(err.find(row.Reason), std::string::npos) << row.Name << ": " << err;
        } else {
            EXPECT_EQ(err, "") << row.Name << ": written to the system log and again here";
        }
    }
}

} // namespace
