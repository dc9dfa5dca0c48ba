// SPDX-License-Identifier: MIT
#pragma once

// One run of a built program with its standard output and error captured: for command lines
// that end by themselves. A run that outlives its time-out is killed and reported as such. And a
// port held by someone else, for runs that must find it taken.

#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <netinet/in.h>
#include <sstream>
#include <string>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "tests/support/KorvantaTestSupport.h"
#include "tests/support/WaitUntil.h"

namespace korvanta_test {

struct ProgramResult {
    int Status = -1; // the exit status; -1 when the program did not end by itself
    std::string Out;
    std::string Err;
};

inline std::string ReadWhole(const std::string& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// Runs program with words; `unset` names environment variables the child goes without.
inline ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& words,
                                const std::vector<std::string>& unset = {},
                                std::chrono::milliseconds timeout = kWaitDeadline) {
    TempDir dir;
    const std::string out = dir / "out";
    const std::string err = dir / "err";
    const pid_t pid = fork();
    if (pid == 0) {
        const int outFd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int errFd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int inFd = open("/dev/null", O_RDONLY);
        dup2(inFd, STDIN_FILENO);
        dup2(outFd, STDOUT_FILENO);
        dup2(errFd, STDERR_FILENO);
        setenv("KORVANTA_HOME", dir.Path().c_str(), 1);
        for (const auto& name : unset) {
            unsetenv(name.c_str());
        }
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const auto& word : words) {
            argv.push_back(const_cast<char*>(word.c_str()));
        }
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    ProgramResult result;
    int status = 0;
    if (!WaitUntil(
            "the program to end", [&] { return waitpid(pid, &status, WNOHANG) != 0; }, timeout)) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        status = -1;
    }
    if (status != -1 && WIFEXITED(status)) {
        result.Status = WEXITSTATUS(status);
    }
    result.Out = ReadWhole(out);
    result.Err = ReadWhole(err);
    return result;
}

// A TCP port that another program listens on for as long as this object lives.
class HeldPort {
public:
    HeldPort() {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_ANY);
        socklen_t size = sizeof(address);
        if (m_Socket >= 0 &&
            bind(m_Socket, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
            listen(m_Socket, 1) == 0 &&
            getsockname(m_Socket, reinterpret_cast<sockaddr*>(&address), &size) == 0) {
            m_Port = ntohs(address.sin_port);
        }
    }
    ~HeldPort() { close(m_Socket); }
    HeldPort(const HeldPort&) = delete;
    HeldPort& operator=(const HeldPort&) = delete;

    // 0 when no port could be taken.
    uint16_t Port() const { return m_Port; }

private:
    int m_Socket = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    uint16_t m_Port = 0;
};

} // namespace korvanta_test
