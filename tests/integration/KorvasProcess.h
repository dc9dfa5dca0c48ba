// SPDX-License-Identifier: MIT
#pragma once

// `korvas -console` as a test runs it: its own configuration folder, its output (and errors) in
// a file of that folder, ended by its process id (SIGTERM for an orderly stop, SIGKILL for a
// crash).
#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <memory>
#include <netinet/in.h>
#include <random>
#include <string>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include "libtez/SCA_KorvantaInterface.h"
#include "net/SCA_KorvantaLogin.h"
#include "tests/support/KorvantaTestSupport.h"
#include "tests/support/TestPaths.h"
#include "tests/support/WaitUntil.h"

namespace korvas_integration {

constexpr uint32_t kConnectWaitMs = 5000;

// A port for a service that a test restarts on the same number. A port the kernel chose ("0")
// lies in its range for outgoing connections, where any client of a test running beside this one
// may take it while the service is down; a free port below that range cannot be taken that way.
inline std::string RestartablePort() {
    constexpr int kLowestPort = 10000;
    int outgoingLow = 32768;
    std::ifstream("/proc/sys/net/ipv4/ip_local_port_range") >> outgoingLow;
    std::mt19937 pick{std::random_device{}()};
    std::uniform_int_distribution<int> below(kLowestPort, std::max(kLowestPort, outgoingLow - 1));
    for (int attempt = 0; attempt < 200; ++attempt) {
        const int port = below(pick);
        const int probe = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const int on = 1;
        setsockopt(probe, SOL_SOCKET, SO_REUSEADDR, &on, sizeof(on));
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(port));
        const bool free =
            bind(probe, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
        close(probe);
        if (free) {
            return std::to_string(port);
        }
    }
    return "0";
}

class KorvasProcess {
public:
    // port "0" lets the service take any free port; WaitForPort tells which.
    KorvasProcess(const std::string& home, const std::string& port)
        : m_Home(home), m_Log(home + "/korvas.log") {
        // The log of an earlier run goes first: its start line must not stand for this run's.
        ::unlink(m_Log.c_str());
        int keys[2];
        if (pipe(keys) != 0) {
            return;
        }
        m_Pid = fork();
        if (m_Pid == 0) {
            dup2(keys[0], STDIN_FILENO);
            const int out = ::open(m_Log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            dup2(out, STDOUT_FILENO);
            // A sanitizer's findings land in the same log.
            dup2(out, STDERR_FILENO);
            setenv("KORVANTA_HOME", home.c_str(), 1);
            // A test's service reports to no service manager, even when the tests run under one.
            unsetenv("NOTIFY_SOCKET");
            execl(korvanta_test::KorvasProgram(), korvanta_test::KorvasProgram(), "-console",
                  "-control_port", port.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        close(keys[0]);
        m_Keys = keys[1];
    }
    ~KorvasProcess() { Kill(); }
    KorvasProcess(const KorvasProcess&) = delete;
    KorvasProcess& operator=(const KorvasProcess&) = delete;

    pid_t Pid() const { return m_Pid; }
    // The exit status of the last Terminate; -1 before or when the service did not exit.
    int ExitCode() const { return m_ExitCode; }
    const std::string& LogPath() const { return m_Log; }

    // A crash: nothing is saved on the way out.
    void Kill() { End(SIGKILL); }
    // An orderly stop (everything saved); 1 when the service ended by itself. ExitCode then
    // tells how (under the leak checker, not 0 when memory was leaked).
    int Terminate() {
        if (m_Pid <= 0) {
            return 0;
        }
        kill(m_Pid, SIGTERM);
        int status = 0;
        if (!korvanta_test::WaitUntil("the service to stop",
                                      [&] { return waitpid(m_Pid, &status, WNOHANG) == m_Pid; })) {
            Kill();
            return 0;
        }
        m_Pid = -1;
        CloseKeys();
        m_ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return WIFEXITED(status) ? 1 : 0;
    }

    // The port from the service's start line; 0 when it never started.
    uint16_t WaitForPort() {
        uint16_t port = 0;
        korvanta_test::WaitUntil("the service's start line", [&] {
            std::ifstream file(m_Log);
            std::string line;
            while (std::getline(file, line)) {
                if (line.find("Started on - ") != std::string::npos) {
                    port = static_cast<uint16_t>(std::stoi(line.substr(line.rfind(':') + 1)));
                    return true;
                }
            }
            return Ended();
        });
        return port;
    }

    // The port once the service has loaded its monitors and answers clients (its start line
    // comes before that); 0 when it never got there.
    uint16_t WaitUntilServing() {
        const uint16_t port = WaitForPort();
        return port != 0 &&
                       korvanta_test::WaitUntil(
                           "the service's initialization",
                           [&] { return Logged("Initialization Completed") || Ended(); }) &&
                       Logged("Initialization Completed")
                   ? port
                   : 0;
    }
    bool Logged(const std::string& text) const {
        std::ifstream file(m_Log);
        for (std::string line; std::getline(file, line);) {
            if (line.find(text) != std::string::npos) {
                return true;
            }
        }
        return false;
    }

    // The password the service wrote for "admin" at its first start.
    std::string InitialPassword() const {
        std::ifstream file(m_Home + "/initial-password");
        std::string password;
        std::getline(file, password);
        return password;
    }

    // Connects client to the service on port and logs in as "admin"; 1 when logged in.
    int LogIn(SCA_KorvantaInterface* client, uint16_t port) const {
        uint32_t error = 0;
        uint32_t status = 0;
        return client->Connect("127.0.0.1", port, kConnectWaitMs, &error) &&
                       client->Login("admin", InitialPassword().c_str(), &status) &&
                       status == SCA_KORVANTA_LOGGED_IN
                   ? 1
                   : 0;
    }

private:
    // Whether the service ended (and is not yet reaped): it will write no start line then.
    bool Ended() const {
        siginfo_t info{};
        return m_Pid <= 0 ||
               (waitid(P_PID, static_cast<id_t>(m_Pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
                info.si_pid == m_Pid);
    }
    void End(int signal) {
        if (m_Pid > 0) {
            kill(m_Pid, signal);
            waitpid(m_Pid, nullptr, 0);
            m_Pid = -1;
        }
        CloseKeys();
    }
    void CloseKeys() {
        if (m_Keys >= 0) {
            close(m_Keys);
            m_Keys = -1;
        }
    }

    std::string m_Home;
    std::string m_Log;
    pid_t m_Pid = -1;
    int m_Keys = -1;
    int m_ExitCode = -1;
};

// A korvas of its own in a temporary home, with Client logged in as "admin": for programs that
// only need a running service.
struct LoggedInService {
    korvanta_test::TempDir Home;
    std::unique_ptr<KorvasProcess> Korvas;
    SCA_KorvantaInterface Client;
    uint16_t Port = 0;

    // False when the service did not start or refused the login.
    bool Start() {
        if (Home.Path().empty()) {
            return false;
        }
        Korvas = std::make_unique<KorvasProcess>(Home.Path(), "0");
        Port = Korvas->WaitForPort();
        return Port != 0 && Korvas->LogIn(&Client, Port);
    }
};

} // namespace korvas_integration
