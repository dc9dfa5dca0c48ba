// SPDX-License-Identifier: MIT
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <linux/capability.h>
#include <map>
#include <poll.h>
#include <sstream>
#include <string>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

#include "korvas/SCA_SrvTaskMonitor.h"
#include "libmor/SCA_Limits.h"
#include "libmor/SCA_Version.h"
#include "libmor/auth/SCA_LogonUser.h"
#include "libtez/SCA_KorvantaInterface.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezProcessStatus.h"
#include "model/SCA_TezVocabulary.h"
#include "net/SCA_KorvantaLogin.h"
#include "tests/support/KorvantaTestSupport.h"
#include "tests/support/TestPaths.h"
#include "tests/support/WaitUntil.h"

namespace {

constexpr uint32_t kConnectMs = 5000;
constexpr int kLineWaitMs = 20000;
// The exit status of a child that could not give up the rights to read every file.
constexpr int kRightsKept = 126;

// What the service may read. Root reads any file whatever its mode; a service that runs as
// root without the capabilities that override file modes reads only what its modes allow, as
// a service run by another user does.
enum class Reading { AsTheUser, ByModesOnly };

// `korvas -console` as a child process with its own configuration folder; its standard input
// is a pipe (the keys), its standard output and error are read line by line.
class Korvas {
public:
    Korvas(const std::string& home, std::vector<std::string> words,
           Reading reading = Reading::AsTheUser) {
        int in[2];
        int out[2];
        if (pipe(in) != 0 || pipe(out) != 0) {
            return;
        }
        m_Pid = fork();
        if (m_Pid == 0) {
            dup2(in[0], STDIN_FILENO);
            dup2(out[1], STDOUT_FILENO);
            // Errors go to standard error; the lines are read in one stream here.
            dup2(out[1], STDERR_FILENO);
            close(in[1]);
            close(out[0]);
            if (reading == Reading::ByModesOnly && geteuid() == 0 &&
                (prctl(PR_CAPBSET_DROP, CAP_DAC_OVERRIDE, 0, 0, 0) != 0 ||
                 prctl(PR_CAPBSET_DROP, CAP_DAC_READ_SEARCH, 0, 0, 0) != 0)) {
                _exit(kRightsKept);
            }
            setenv("KORVANTA_HOME", home.c_str(), 1);
            std::vector<char*> argv;
            argv.push_back(const_cast<char*>(korvanta_test::KorvasProgram()));
            argv.push_back(const_cast<char*>("-console"));
            for (auto& word : words) {
                argv.push_back(word.data());
            }
            argv.push_back(nullptr);
            execv(korvanta_test::KorvasProgram(), argv.data());
            _exit(127);
        }
        close(in[0]);
        close(out[1]);
        m_Keys = in[1];
        m_Output = out[0];
    }
    ~Korvas() {
        if (m_Pid > 0 && !m_Reaped) {
            kill(m_Pid, SIGKILL);
            waitpid(m_Pid, nullptr, 0);
        }
        if (m_Keys >= 0) {
            close(m_Keys);
        }
        if (m_Output >= 0) {
            close(m_Output);
        }
    }

    // Reads lines until one starts with tag and holds text; that line, or "" after the
    // time-out.
    std::string WaitFor(const std::string& tag, const std::string& text) {
        for (;;) {
            const size_t end = m_Buffer.find('\n');
            if (end != std::string::npos) {
                m_LastLine = m_Buffer.substr(0, end);
                m_Buffer.erase(0, end + 1);
                m_Lines.push_back(m_LastLine);
                if (m_LastLine.rfind(tag, 0) == 0 && m_LastLine.find(text) != std::string::npos) {
                    return m_LastLine;
                }
                continue;
            }
            pollfd entry{m_Output, POLLIN, 0};
            if (poll(&entry, 1, kLineWaitMs) <= 0) {
                return "";
            }
            char chunk[4096];
            const ssize_t got = read(m_Output, chunk, sizeof(chunk));
            if (got <= 0) {
                return "";
            }
            m_Buffer.append(chunk, static_cast<size_t>(got));
        }
    }
    uint16_t WaitForPort() {
        const std::string line =
            WaitFor(" I ", std::string("Korvanta v") + SCA_PRODUCT_VERSION + " Started on - ");
        return line.empty() ? 0
                            : static_cast<uint16_t>(std::stoi(line.substr(line.rfind(':') + 1)));
    }
    void Press(char key) { ASSERT_EQ(write(m_Keys, &key, 1), 1); }
    void Signal(int signal) { kill(m_Pid, signal); }
    // The exit status, or -1 when it did not end in time.
    int Wait() {
        int status = 0;
        if (!korvanta_test::WaitUntil("the awaited state",
                                      [&] { return waitpid(m_Pid, &status, WNOHANG) == m_Pid; })) {
            return -1;
        }
        m_Reaped = true;
        // Whatever was printed last stays readable.
        char chunk[4096];
        ssize_t got = 0;
        while ((got = read(m_Output, chunk, sizeof(chunk))) > 0) {
            m_Buffer.append(chunk, static_cast<size_t>(got));
        }
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    const std::vector<std::string>& Lines() const { return m_Lines; }
    const std::string& Rest() const { return m_Buffer; }

private:
    pid_t m_Pid = -1;
    bool m_Reaped = false;
    int m_Keys = -1;
    int m_Output = -1;
    std::string m_Buffer;
    std::string m_LastLine;
    std::vector<std::string> m_Lines;
};

std::string ReadFile(const std::string& path) {
    std::ifstream in(path);
    std::string text;
    std::getline(in, text);
    return text;
}

class ConsoleRunTest : public ::testing::Test {
protected:
    std::string Password() { return ReadFile(m_Home / "initial-password"); }
    // Connects client to the service on port and logs it in as the administrator.
    void LogIn(SCA_KorvantaInterface* client, uint16_t port) {
        uint32_t error = 0;
        uint32_t loginStatus = 0;
        ASSERT_EQ(client->Connect("127.0.0.1", port, kConnectMs, &error), 1);
        ASSERT_EQ(client->Login("admin", Password().c_str(), &loginStatus), 1);
        ASSERT_EQ(loginStatus, SCA_KORVANTA_LOGGED_IN);
    }
    korvanta_test::TempDir m_Home;
};

TEST_F(ConsoleRunTest, StartsLogsInWithTheInitialPasswordAndEndsOnEsc) {
    Korvas korvas(m_Home.Path(), {"-control_port", "0"});
    EXPECT_NE(
        korvas.WaitFor(" W ", "The password of the login user \"admin\" is in " + m_Home.Path()),
        "");
    const uint16_t port = korvas.WaitForPort();
    ASSERT_NE(port, 0);
    EXPECT_NE(korvas.WaitFor(" I ", " Korvanta 0 System Monitors Loaded"), "");
    EXPECT_NE(korvas.WaitFor(" I ", " Korvanta Initialization Completed"), "");
    struct stat info {};
    ASSERT_EQ(stat((m_Home / "initial-password").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    SCA_KorvantaInterface client;
    uint32_t error = 0;
    ASSERT_EQ(client.Connect("127.0.0.1", port, kConnectMs, &error), 1);
    // Read-only status is open; what reveals the configuration is not.
    uint32_t status = 0;
    EXPECT_EQ(client.GetStatus(&status), 1);
    EXPECT_EQ(status, 1u);
    SCA_ConfigObj* config = nullptr;
    EXPECT_EQ(client.GetUserConfig(&config), 0);
    EXPECT_EQ(config, nullptr);
    EXPECT_NE(korvas.WaitFor("ERR", " Korvanta Server authentication failed."), "");
    EXPECT_EQ(client.StopServer(), 0) << "stopping the service needs a login";

    uint32_t loginStatus = 0;
    ASSERT_EQ(client.Login("admin", "wrong", &loginStatus), 1);
    EXPECT_EQ(loginStatus, 0u);
    ASSERT_EQ(client.Login("admin", Password().c_str(), &loginStatus), 1);
    EXPECT_EQ(loginStatus, SCA_KORVANTA_LOGGED_IN);
    EXPECT_NE(korvas.WaitFor(" I ", " Connected: admin@"), "");

    SCA_ConfigObj* server = nullptr;
    SCA_ConfigObj* monitors = nullptr;
    ASSERT_EQ(client.GetStatusEx(&server, &monitors), 1);
    uint32_t count = SCA_ALL_ONES;
    EXPECT_TRUE(server->GetField("MonitorCount", &count));
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(server->GetFieldCount(), 10u);
    EXPECT_EQ(monitors->GetFieldCount(), 0u);
    server->Destroy();
    monitors->Destroy();
    char version[256] = "";
    char host[256] = "";
    uint32_t product = 0;
    EXPECT_EQ(client.GetServerInfo(&product, version, host), 1);
    EXPECT_EQ(product, 503u);
    EXPECT_STREQ(version, SCA_PRODUCT_VERSION);

    std::remove((m_Home / "monitors.hdx").c_str());
    korvas.Press('x');
    korvas.Press('\x1b');
    EXPECT_EQ(korvas.Wait(), 0);
    struct stat saved {};
    EXPECT_EQ(stat((m_Home / "monitors.hdx").c_str(), &saved), 0) << "the monitors list is saved";
}

TEST_F(ConsoleRunTest, ClientTextCannotWriteALineOfItsOwn) {
    Korvas korvas(m_Home.Path(), {"-control_port", "0"});
    const uint16_t port = korvas.WaitForPort();
    ASSERT_NE(port, 0);
    SCA_KorvantaInterface client;
    ASSERT_NO_FATAL_FAILURE(LogIn(&client, port));
    uint32_t id = 0;
    ASSERT_EQ(client.AddMonitor(0, 0, "Disk\nERR 01/01/2024 00:00:00 forged\x1b[2J", &id), 1);
    const std::string line = korvas.WaitFor(" I ", "Add Monitor: Disk");
    EXPECT_NE(line.find("Add Monitor: Disk\\nERR 01/01/2024 00:00:00 forged\\x1B[2J (Type=0"),
              std::string::npos)
        << line;
    korvas.Signal(SIGTERM);
    EXPECT_EQ(korvas.Wait(), 0);
    std::vector<std::string> printed = korvas.Lines();
    std::istringstream rest(korvas.Rest());
    for (std::string more; std::getline(rest, more);) {
        printed.push_back(more);
    }
    for (const std::string& each : printed) {
        EXPECT_NE(each.rfind("ERR 01/01/2024", 0), 0u) << "a forged line";
    }
}

TEST_F(ConsoleRunTest, SigtermOrAClosedTerminalEndsTheRunWithEverythingSaved) {
    for (int signal : {SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal);
        Korvas korvas(m_Home.Path(), {"-control_port", "0"});
        ASSERT_NE(korvas.WaitForPort(), 0);
        // The monitors file is read after the port is announced: removed only once read.
        ASSERT_NE(korvas.WaitFor(" I ", "Initialization Completed"), "");
        std::remove((m_Home / "monitors.hdx").c_str());
        std::remove((m_Home / "korva_user.hdx").c_str());
        korvas.Signal(signal);
        EXPECT_EQ(korvas.Wait(), 0);
        struct stat saved {};
        EXPECT_EQ(stat((m_Home / "monitors.hdx").c_str(), &saved), 0);
        EXPECT_EQ(stat((m_Home / "korva_user.hdx").c_str(), &saved), 0);
    }
}

TEST_F(ConsoleRunTest, ABusyPortEndsTheRunWithTheMessageAndExitOne) {
    Korvas first(m_Home.Path(), {"-control_port", "0"});
    const uint16_t port = first.WaitForPort();
    ASSERT_NE(port, 0);
    korvanta_test::TempDir otherHome;
    Korvas second(otherHome.Path(), {"-control_port", std::to_string(port)});
    const std::string line = second.WaitFor("ERR", " SCA_KorvantaCtrl::DoStartServer: ");
    const std::string expected =
        " SCA_KorvantaCtrl::DoStartServer: Cannot start server on port - " + std::to_string(port);
    ASSERT_GE(line.size(), expected.size());
    EXPECT_EQ(line.substr(line.size() - expected.size()), expected);
    EXPECT_EQ(second.Wait(), 1);
    first.Signal(SIGTERM);
    EXPECT_EQ(first.Wait(), 0);
}

// Every file below the folder, by its path there, with its bytes; a folder as its path alone.
std::map<std::string, std::string> Contents(const korvanta_test::TempDir& home) {
    std::map<std::string, std::string> contents;
    const std::filesystem::path root = home.Path();
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        std::string& bytes = contents[entry.path().lexically_relative(root).string()];
        if (entry.is_regular_file()) {
            std::ifstream in(entry.path(), std::ios::binary);
            bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
    }
    return contents;
}

// The printed codes that lack their words: every "(ERR:<code>)" must be followed by " - " and
// the error text's description, not by the number again.
std::vector<std::string> CodesWithoutWords(const std::string& output) {
    std::vector<std::string> bare;
    const std::string mark = "(ERR:";
    for (size_t at = output.find(mark); at != std::string::npos; at = output.find(mark, at + 1)) {
        const size_t close = output.find(')', at);
        const std::string words = close == std::string::npos ? "" : output.substr(close + 1, 40);
        if (words.rfind(" - ", 0) != 0 || words.size() <= 3 || words[3] == '\n' ||
            words.find("protocol error") == 3) {
            bare.push_back(output.substr(at, 60));
        }
    }
    return bare;
}

TEST_F(ConsoleRunTest, AStartOnAFileItCannotUseSaysWhichAndWhyInWordsAndChangesNoFile) {
    struct Row {
        const char* File;
        bool Unreadable; // by its mode; else damaged in its last byte
        // The error line of the cause holds Before, the file's path and After; then the start
        // fails with Failure.
        const char* Before;
        std::string After;
        const char* Failure;
    };
    const std::string denied = " (ERR:" + std::to_string(EACCES) + ") - " + std::strerror(EACCES) +
                               "; it is left as it is";
    const std::vector<Row> rows = {
        {"monitors.hdx", false, "SCA_SrvMonitorList::Load: cannot load monitors file ",
         " (ERR:100012) - configuration file truncated or altered",
         "SCA_KorvantaCtrl::DoStartServer: cannot load server monitors"},
        {"korva_user.hdx", true, "SCA_TezConfigUser::LoadConfig: cannot read ", denied,
         "Unable to load user configuration file."},
        {"korva.hdx", true, "SCA_TezConfig::LoadConfig: cannot read ", denied,
         "Unable to load product configuration."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.File);
        korvanta_test::TempDir home;
        const std::string path = home / row.File;
        {
            Korvas first(home.Path(), {"-control_port", "0"});
            ASSERT_NE(first.WaitFor(" I ", "Initialization Completed"), "");
            first.Signal(SIGTERM);
            ASSERT_EQ(first.Wait(), 0);
        }
        if (!row.Unreadable) {
            std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
            file.seekp(-1, std::ios::end);
            file.put('\x7f');
        }
        const std::map<std::string, std::string> before = Contents(home);
        ASSERT_EQ(before.count(row.File), 1u);
        ASSERT_EQ(before.count("initial-password"), 1u);
        if (row.Unreadable) {
            ASSERT_EQ(chmod(path.c_str(), 0), 0);
        }
        Korvas second(home.Path(), {"-control_port", "0"},
                      row.Unreadable ? Reading::ByModesOnly : Reading::AsTheUser);
        const int status = second.Wait();
        chmod(path.c_str(), 0600);
        if (status == kRightsKept) {
            GTEST_SKIP() << "the service cannot be made to read by file modes only";
        }
        EXPECT_EQ(status, 1);
        EXPECT_EQ(Contents(home), before) << "a file was moved, reset or written";
        const std::string& output = second.Rest();
        for (const std::string& text : {row.Before + path + row.After, std::string(row.Failure)}) {
            bool found = false;
            std::istringstream lines(output);
            for (std::string line; std::getline(lines, line);) {
                found =
                    found || (line.rfind("ERR ", 0) == 0 && line.find(text) != std::string::npos);
            }
            EXPECT_TRUE(found) << "no error line holds \"" << text << "\" in:\n" << output;
        }
        EXPECT_EQ(CodesWithoutWords(output), std::vector<std::string>()) << output;
        EXPECT_NE(output.find("korvas: stopped after an error"), std::string::npos) << output;
    }
}

TEST_F(ConsoleRunTest, RestartServerRebuildsTheServerAndStopServerEndsTheRun) {
    Korvas korvas(m_Home.Path(), {"-control_port", "0"});
    const uint16_t port = korvas.WaitForPort();
    ASSERT_NE(port, 0);
    {
        SCA_KorvantaInterface client;
        uint32_t error = 0;
        uint32_t loginStatus = 0;
        ASSERT_EQ(client.Connect("127.0.0.1", port, kConnectMs, &error), 1);
        EXPECT_EQ(client.RestartServer(), 0) << "a restart needs a login";
        ASSERT_EQ(client.Login("admin", Password().c_str(), &loginStatus), 1);
        ASSERT_EQ(loginStatus, SCA_KORVANTA_LOGGED_IN);
        EXPECT_EQ(client.RestartServer(), 1);
    }
    EXPECT_NE(korvas.WaitFor(" W ", "------------ SERVER RESTART COMMAND ------------"), "");
    const uint16_t again = korvas.WaitForPort();
    ASSERT_NE(again, 0);
    SCA_KorvantaInterface client;
    uint32_t error = 0;
    uint32_t loginStatus = 0;
    ASSERT_EQ(client.Connect("127.0.0.1", again, kConnectMs, &error), 1);
    ASSERT_EQ(client.Login("admin", Password().c_str(), &loginStatus), 1);
    ASSERT_EQ(loginStatus, SCA_KORVANTA_LOGGED_IN);
    EXPECT_EQ(client.StopServer(), 1);
    EXPECT_EQ(korvas.Wait(), 0);
}

TEST_F(ConsoleRunTest, MonitorsRunFromAClientAndTheStopLeavesAReportInTheIndex) {
    constexpr uint32_t kSystemMode = 0;
    Korvas korvas(m_Home.Path(), {"-control_port", "0"});
    const uint16_t port = korvas.WaitForPort();
    ASSERT_NE(port, 0);
    SCA_KorvantaInterface client;
    ASSERT_NO_FATAL_FAILURE(LogIn(&client, port));

    uint32_t counters = SCA_ALL_ONES;
    uint32_t processes = SCA_ALL_ONES;
    ASSERT_EQ(
        client.AddMonitor(SCA_SRV_MONITOR_COUNTERS, kSystemMode, "Console counters", &counters), 1);
    ASSERT_EQ(
        client.AddMonitor(SCA_SRV_MONITOR_PROCESS, kSystemMode, "Console processes", &processes),
        1);
    EXPECT_NE(counters, processes);
    EXPECT_NE(korvas.WaitFor(" I ", "Add Monitor: Console counters (Type=0, Mode=0)"), "");
    uint32_t counterId = 0;
    ASSERT_EQ(client.AddCounter(counters, SCA_COUNTER_CPU_USAGE, "", "", "", &counterId), 1);
    ASSERT_EQ(client.AddCounter(counters, SCA_COUNTER_MEMORY_USAGE, "", "", "", &counterId), 1);

    ASSERT_EQ(client.StartMonitor(counters), 1);
    ASSERT_EQ(client.StartMonitor(processes), 1);
    for (const uint32_t id : {counters, processes}) {
        uint32_t type = 9, status = 0, state = 0, count = 0, errors = 0, warnings = 0;
        ASSERT_EQ(client.GetMonitorStats(id, &type, &status, &state, &count, &errors, &warnings),
                  1);
        EXPECT_EQ(type, id == counters ? SCA_SRV_MONITOR_COUNTERS : SCA_SRV_MONITOR_PROCESS);
        EXPECT_EQ(state, SCA_PROCESS_RUNNING) << id;
    }
    // The process monitor lists this machine's processes, this test among them (by name: the
    // service may see another process-id namespace than the test).
    const std::string self = program_invocation_short_name;
    const bool listed = static_cast<bool>(korvanta_test::WaitUntil("the listed monitor", [&] {
        uint32_t type = 0, status = 0, processStatus = 0, listStatus = 0;
        uint64_t startTime = 0;
        SCA_ConfigObj* list = nullptr;
        EXPECT_EQ(client.GetMonitorProcessListStatus(processes, &type, &status, &processStatus,
                                                     &startTime, &listStatus, &list),
                  1);
        // One field per process, named by the process.
        bool found = false;
        for (uint32_t i = 0; list != nullptr && i < list->GetFieldCount(); ++i) {
            SCA_Field* process = nullptr;
            found = found || (list->GetFieldByIndex(i, &process) && process->GetName() == self);
        }
        SCA_Object::Destroy(list);
        return found;
    }));
    EXPECT_TRUE(listed) << "process " << self << " is not in the list";
    uint32_t type = 0, status = 0, state = 0, statusId = 0;
    SCA_ConfigObj* countersStatus = nullptr;
    ASSERT_EQ(client.GetMonitorStatus(counters, &type, &status, &state, &statusId, &countersStatus),
              1);
    ASSERT_NE(countersStatus, nullptr);
    EXPECT_EQ(countersStatus->GetFieldCount(), 2u) << "one status per counter";
    SCA_Object::Destroy(countersStatus);
    EXPECT_EQ(state, SCA_PROCESS_RUNNING);

    // Only a run that sampled long enough leaves a report; the service says how long it has.
    ASSERT_TRUE(korvanta_test::WaitUntil("a run long enough for a report", [&] {
        SCA_KorvantaInterface::MonitorStatus run;
        return client.GetMonitorStatusEx(counters, 0, 0, 0, &run) == 1 &&
               run.ProcessTime >= SCA_TASK_MIN_REPORT_SECONDS;
    }));
    ASSERT_EQ(client.StopMonitor(counters), 1);
    ASSERT_EQ(client.StopMonitor(processes), 1);
    uint32_t count = 0, errors = 0, warnings = 0;
    ASSERT_EQ(client.GetMonitorStats(counters, &type, &status, &state, &count, &errors, &warnings),
              1);
    EXPECT_EQ(state, SCA_PROCESS_STOPPED);
    EXPECT_EQ(count, 2u);

    SCA_ConfigObj* index = nullptr;
    ASSERT_EQ(client.GetReportIndexObj(&index), 1);
    ASSERT_NE(index, nullptr);
    // The next id and one object per report, named by its id: the counter monitor's run.
    EXPECT_EQ(index->GetFieldCount(), 2u);
    SCA_ConfigObj* entry = nullptr;
    EXPECT_EQ(index->GetField("1", &entry), 1);
    SCA_Object::Destroy(index);
    SCA_ConfigObj* report = nullptr;
    ASSERT_EQ(client.GetReportObj(1, &report), 1);
    ASSERT_NE(report, nullptr);
    EXPECT_STREQ(report->GetName(), "Report");
    SCA_Object::Destroy(report);

    korvas.Signal(SIGTERM);
    EXPECT_EQ(korvas.Wait(), 0);
}

} // namespace
