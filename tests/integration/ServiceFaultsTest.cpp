// SPDX-License-Identifier: MIT
// The service under hostile conditions, as a real `korvas -console` on 127.0.0.1: killed while
// clients change its monitors, polled by a crowd of clients at once, and fed broken frames.
#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <latch>
#include <map>
#include <memory>
#include <netinet/in.h>
#include <poll.h>
#include <random>
#include <semaphore>
#include <set>
#include <string>
#include <sys/inotify.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "korvas/SCA_KorvantaCtrl.h"
#include "libmor/SCA_FileSystem.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_SrvMonitorList.h"
#include "model/SCA_StringStor.h"
#include "model/SCA_TezConfigFiles.h"
#include "model/SCA_TezVocabulary.h"
#include "net/SCA_NetCommand.h"
#include "net/SCA_NetFrameReader.h"
#include "net/SCA_NetFrameWriter.h"
#include "net/SCA_NetMessage.h"
#include "net/SCA_NetProtocol.h"
#include "tests/integration/KorvasProcess.h"
#include "tests/support/KorvantaTestSupport.h"
#include "tests/support/WaitUntil.h"

namespace {

using korvas_integration::KorvasProcess;
using korvas_integration::RestartablePort;
using Clock = std::chrono::steady_clock;

constexpr uint32_t kReplyTimeoutMs = 10000;
// A reconnecting client tries again at once: it must not wait for the service's log line.
constexpr uint32_t kRetryConnectMs = 200;

struct ObjectRelease {
    void operator()(SCA_ConfigObj* object) const { SCA_Object::Destroy(object); }
};
using Reply = std::unique_ptr<SCA_ConfigObj, ObjectRelease>;

// A number from the service's /proc status ("Threads", "VmRSS" in kB); 0 when it is not there.
uint64_t ProcStatus(pid_t pid, const std::string& key) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(file, line)) {
        if (line.rfind(key + ":", 0) == 0) {
            return std::stoull(line.substr(key.size() + 1));
        }
    }
    return 0;
}

// The service's log lines tagged as errors.
std::vector<std::string> ErrorLines(const std::string& log) {
    std::ifstream file(log);
    std::vector<std::string> errors;
    for (std::string line; std::getline(file, line);) {
        if (line.rfind("ERR", 0) == 0) {
            errors.push_back(line);
        }
    }
    return errors;
}

// The last lines of the service's log, to tell why it did not serve.
std::string LogTail(const std::string& log) {
    constexpr size_t kLines = 30;
    std::ifstream file(log);
    std::deque<std::string> lines;
    for (std::string line; std::getline(file, line);) {
        lines.push_back(line);
        if (lines.size() > kLines) {
            lines.pop_front();
        }
    }
    std::string tail;
    for (const std::string& line : lines) {
        tail += line + "\n";
    }
    return tail;
}

bool LogHas(const std::string& log, const std::string& text) {
    std::ifstream file(log);
    for (std::string line; std::getline(file, line);) {
        if (line.find(text) != std::string::npos) {
            return true;
        }
    }
    return false;
}

// The port once the service has loaded its monitors and serves; 0 when it did not get there.
uint16_t WaitUntilServing(KorvasProcess* korvas) {
    return korvas->WaitUntilServing();
}

std::unique_ptr<SCA_KorvantaInterface> NewClient() {
    auto client = std::make_unique<SCA_KorvantaInterface>();
    client->SetReplyTimeout(kReplyTimeoutMs);
    return client;
}

// id -> description, as the service lists its monitors.
std::map<uint32_t, std::string> ListMonitors(SCA_KorvantaInterface* client) {
    std::map<uint32_t, std::string> monitors;
    SCA_ConfigObj* raw = nullptr;
    EXPECT_EQ(client->GetMonitorInfoList(&raw), 1);
    const Reply list(raw);
    for (uint32_t i = 0; list != nullptr && i < list->GetFieldCount(); ++i) {
        SCA_Field* field = nullptr;
        if (list->GetFieldByIndex(i, &field) && field->IsObject()) {
            auto* info = static_cast<SCA_ConfigObj*>(field);
            uint32_t id = 0;
            char description[SCA_NET_TEXT_SIZE] = "";
            EXPECT_EQ(info->GetField("MonitorId", &id), 1);
            EXPECT_EQ(info->GetField("Description", description, sizeof(description)), 1);
            monitors[id] = description;
        }
    }
    return monitors;
}

// --- crash during changes ---------------------------------------------------------------------

enum class Change { Add, Describe, Delete };

struct Step {
    Change Kind;
    uint32_t Id;
    std::string Description;
    bool Done;
};

constexpr int kWriters = 4;
constexpr int kCrashRounds = 5;
// Each writer keeps this many monitors of its own before it starts deleting some.
constexpr size_t kOwnedMonitors = 3;
// The kill comes after a random number of changes done by all writers together.
constexpr int kKillAfterMinChanges = 20;
constexpr int kKillAfterMaxChanges = 200;

void CountDone(std::atomic<int>* changesDone) {
    if (changesDone != nullptr) {
        ++*changesDone;
    }
}

// Adds, renames and deletes monitors of its own until a call fails; the log ends with the call
// that failed (not done), whose effect is unknown when the failure was the kill.
std::vector<Step> ChangeMonitors(SCA_KorvantaInterface* client, int writer, int round,
                                 unsigned seed, std::atomic<int>* changesDone = nullptr) {
    std::mt19937 random(seed);
    std::vector<Step> log;
    std::vector<uint32_t> owned;
    for (int n = 0;; ++n) {
        const std::string description =
            "w" + std::to_string(writer) + " r" + std::to_string(round) + " n" + std::to_string(n);
        if (owned.size() < kOwnedMonitors || random() % 4 == 0) {
            uint32_t id = 0;
            const bool done =
                client->AddMonitor(SCA_SRV_MONITOR_COUNTERS, 0, description.c_str(), &id) == 1;
            log.push_back({Change::Add, id, description, done});
            if (!done) {
                return log;
            }
            owned.push_back(id);
            CountDone(changesDone);
            continue;
        }
        const size_t pick = random() % owned.size();
        const uint32_t id = owned[pick];
        if (random() % 3 == 0) {
            const bool done = client->DeleteMonitor(id) == 1;
            log.push_back({Change::Delete, id, "", done});
            if (!done) {
                return log;
            }
            owned.erase(owned.begin() + static_cast<std::ptrdiff_t>(pick));
            CountDone(changesDone);
            continue;
        }
        SCA_ConfigObj* raw = nullptr;
        const Reply monitor(client->GetMonitorObj(id, &raw) == 1 ? raw : nullptr);
        SCA_Field* field = nullptr;
        const bool done = monitor != nullptr && monitor->GetFieldByName("Description", &field) &&
                          field->SetValue(description.c_str()) &&
                          client->SetMonitorObj(id, monitor.get()) == 1;
        log.push_back({Change::Describe, id, description, done});
        if (!done) {
            return log;
        }
        CountDone(changesDone);
    }
}

// What the monitors must look like after the crash, from the state before the round and the
// writers' logs: acknowledged changes are certain, the one change per writer that was cut off
// may or may not have reached the file.
struct Expected {
    std::map<uint32_t, std::string> Certain;
    std::map<uint32_t, std::string> OrDescribed;
    std::set<uint32_t> OrDeleted;
    std::set<std::string> OrAdded;
};

Expected Replay(std::map<uint32_t, std::string> before,
                const std::vector<std::vector<Step>>& logs) {
    Expected expected;
    for (const auto& log : logs) {
        for (const Step& step : log) {
            if (!step.Done) {
                if (step.Kind == Change::Add) {
                    expected.OrAdded.insert(step.Description);
                } else if (step.Kind == Change::Describe) {
                    expected.OrDescribed[step.Id] = step.Description;
                } else {
                    expected.OrDeleted.insert(step.Id);
                }
            } else if (step.Kind == Change::Delete) {
                before.erase(step.Id);
            } else {
                before[step.Id] = step.Description;
            }
        }
    }
    expected.Certain = std::move(before);
    return expected;
}

void CheckAgainst(const Expected& expected, const std::map<uint32_t, std::string>& found) {
    for (const auto& [id, description] : expected.Certain) {
        const auto at = found.find(id);
        if (at == found.end()) {
            EXPECT_TRUE(expected.OrDeleted.count(id) != 0)
                << "acknowledged monitor " << id << " (" << description << ") is lost";
            continue;
        }
        const auto other = expected.OrDescribed.find(id);
        EXPECT_TRUE(at->second == description ||
                    (other != expected.OrDescribed.end() && at->second == other->second))
            << "monitor " << id << " is described \"" << at->second << "\", acknowledged \""
            << description << "\"";
    }
    for (const auto& [id, description] : found) {
        EXPECT_TRUE(expected.Certain.count(id) != 0 || expected.OrAdded.count(description) != 0)
            << "monitor " << id << " (" << description << ") was never acknowledged or was deleted";
    }
}

// A restarted service loads every file without complaint and lists the acknowledged monitors;
// the first client asks as soon as the port accepts, as a reconnecting client would.
std::map<uint32_t, std::string> CheckRestart(KorvasProcess* korvas, uint16_t port,
                                             const Expected& expected, const std::string& home) {
    auto client = NewClient();
    EXPECT_TRUE(korvanta_test::WaitUntil("a connection to the restarted service", [&] {
        uint32_t error = 0;
        return client->Connect("127.0.0.1", port, kRetryConnectMs, &error) == 1;
    })) << LogTail(korvas->LogPath());
    uint32_t status = 0;
    EXPECT_EQ(client->Login("admin", korvas->InitialPassword().c_str(), &status), 1);
    EXPECT_EQ(status, SCA_KORVANTA_LOGGED_IN);
    const std::map<uint32_t, std::string> found = ListMonitors(client.get());
    CheckAgainst(expected, found);
    EXPECT_TRUE(korvanta_test::WaitUntil("the service's initialization", [&] {
        return LogHas(korvas->LogPath(), "Initialization Completed");
    }));
    EXPECT_EQ(ErrorLines(korvas->LogPath()), std::vector<std::string>());
    for (const auto& entry : std::filesystem::directory_iterator(home)) {
        EXPECT_EQ(entry.path().filename().string().find(SCA_TEZ_BAD_FILE_SUFFIX), std::string::npos)
            << entry.path() << " was moved aside as unreadable";
    }
    return found;
}

TEST(ServiceFaults, AcknowledgedMonitorChangesSurviveKillsDuringChanges) {
    // The clients report every call the kill cut off; those reports are expected.
    korvanta_test::ReportCapture reports;
    korvanta_test::TempDir home;
    auto korvas = std::make_unique<KorvasProcess>(home.Path(), RestartablePort());
    const uint16_t port = korvas->WaitForPort();
    ASSERT_NE(port, 0);
    const std::string samePort = std::to_string(port);
    std::map<uint32_t, std::string> state;
    std::random_device entropy;
    for (int round = 0; round < kCrashRounds; ++round) {
        const unsigned seed = entropy();
        SCOPED_TRACE("round " + std::to_string(round) + ", seed " + std::to_string(seed));
        std::vector<std::unique_ptr<SCA_KorvantaInterface>> clients;
        for (int w = 0; w < kWriters; ++w) {
            clients.push_back(NewClient());
            ASSERT_EQ(korvas->LogIn(clients.back().get(), port), 1);
        }
        std::atomic<bool> killed{false};
        std::atomic<int> failedBeforeKill{0};
        std::vector<std::vector<Step>> logs(kWriters);
        std::atomic<int> changesDone{0};
        std::vector<std::thread> writers;
        for (int w = 0; w < kWriters; ++w) {
            writers.emplace_back([&, w] {
                logs[w] = ChangeMonitors(clients[w].get(), w, round, seed + w, &changesDone);
                if (!killed.load()) {
                    ++failedBeforeKill;
                }
            });
        }
        std::mt19937 random(seed);
        std::uniform_int_distribution<int> killAfter(kKillAfterMinChanges, kKillAfterMaxChanges);
        const int changesBeforeKill = killAfter(random);
        EXPECT_TRUE(korvanta_test::WaitUntil("the changes before the kill",
                                             [&] { return changesDone >= changesBeforeKill; }));
        killed.store(true);
        korvas->Kill();
        for (auto& writer : writers) {
            writer.join();
        }
        EXPECT_EQ(failedBeforeKill.load(), 0) << "a change failed while the service ran";
        size_t done = 0;
        for (const auto& log : logs) {
            done += static_cast<size_t>(
                std::count_if(log.begin(), log.end(), [](const Step& s) { return s.Done; }));
        }
        EXPECT_GT(done, 0u);
        clients.clear();

        const Expected expected = Replay(state, logs);
        korvas = std::make_unique<KorvasProcess>(home.Path(), samePort);
        state = CheckRestart(korvas.get(), port, expected, home.Path());
        if (HasFailure()) {
            return;
        }
    }
    // What survived the last crash also survives an orderly stop.
    ASSERT_EQ(korvas->Terminate(), 1);
    korvas = std::make_unique<KorvasProcess>(home.Path(), samePort);
    CheckRestart(korvas.get(), port, Replay(state, {}), home.Path());
    korvas->Kill();
}

// --- crash during a fold of the monitors journal -------------------------------------------

constexpr int kFoldWaitMs = 30000;

// Waits until the service, folding its journal into the monitors file, makes the file's
// temporary copy (atRename false) or renames it over the file (atRename true); 1 when it did.
bool WaitForFold(int inotify, bool atRename) {
    const std::string file = SCA_SRV_MONITORS_FILE;
    const std::string temporary = file + ".tmp.";
    const auto deadline = Clock::now() + std::chrono::milliseconds(kFoldWaitMs);
    alignas(inotify_event) char buffer[4096];
    while (Clock::now() < deadline) {
        pollfd entry{inotify, POLLIN, 0};
        if (poll(&entry, 1, 100) <= 0) {
            continue;
        }
        const ssize_t length = read(inotify, buffer, sizeof(buffer));
        for (ssize_t at = 0; at < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            const std::string name = event->len != 0 ? event->name : "";
            if ((!atRename && (event->mask & IN_CREATE) != 0 && name.rfind(temporary, 0) == 0) ||
                (atRename && (event->mask & IN_MOVED_TO) != 0 && name == file)) {
                return true;
            }
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
    return false;
}

TEST(ServiceFaults, AcknowledgedMonitorChangesSurviveKillsDuringJournalFolds) {
    korvanta_test::ReportCapture reports;
    korvanta_test::TempDir home;
    auto korvas = std::make_unique<KorvasProcess>(home.Path(), RestartablePort());
    const uint16_t port = korvas->WaitForPort();
    ASSERT_NE(port, 0);
    const std::string samePort = std::to_string(port);
    const int inotify = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(inotify, 0);
    ASSERT_GE(inotify_add_watch(inotify, home.Path().c_str(), IN_CREATE | IN_MOVED_TO), 0);
    std::map<uint32_t, std::string> state;
    std::random_device entropy;
    // Killed while the new file is written, then between its rename and the journal's emptying.
    int round = 0;
    for (const bool atRename : {false, true, false, true}) {
        ++round;
        const unsigned seed = entropy();
        SCOPED_TRACE(std::string(atRename ? "at the rename" : "while writing") + ", seed " +
                     std::to_string(seed));
        auto client = NewClient();
        ASSERT_EQ(korvas->LogIn(client.get(), port), 1);
        std::vector<std::vector<Step>> logs(1);
        // Only the events of this round's changes count.
        alignas(inotify_event) char stale[4096];
        while (read(inotify, stale, sizeof(stale)) > 0) {
        }
        std::thread writer([&] { logs[0] = ChangeMonitors(client.get(), 0, round, seed); });
        const bool folded = WaitForFold(inotify, atRename);
        korvas->Kill();
        writer.join();
        ASSERT_TRUE(folded) << "no fold of the journal while monitors changed";
        client.reset();
        korvas = std::make_unique<KorvasProcess>(home.Path(), samePort);
        state = CheckRestart(korvas.get(), port, Replay(state, logs), home.Path());
        if (HasFailure()) {
            break;
        }
    }
    close(inotify);
    korvas->Kill();
}

// --- a damaged record in the monitors journal ------------------------------------------------

// Where each record of a monitors journal starts: each begins with its u64 length.
std::vector<size_t> RecordStarts(const std::string& journal) {
    std::vector<size_t> starts;
    for (size_t at = 0; at + sizeof(uint64_t) <= journal.size();) {
        uint64_t length = 0;
        std::memcpy(&length, journal.data() + at, sizeof(length));
        starts.push_back(at);
        at += sizeof(uint64_t) + length;
    }
    return starts;
}

TEST(ServiceFaults, AServiceStartedOnADamagedJournalKeepsEveryOtherAcknowledgedMonitor) {
    constexpr uint32_t kAdded = 10;
    constexpr size_t kDamagedRecord = 4;
    korvanta_test::ReportCapture reports;
    korvanta_test::TempDir home;
    auto korvas = std::make_unique<KorvasProcess>(home.Path(), RestartablePort());
    const uint16_t port = WaitUntilServing(korvas.get());
    ASSERT_NE(port, 0);
    std::map<uint32_t, std::string> acknowledged;
    {
        auto client = NewClient();
        ASSERT_EQ(korvas->LogIn(client.get(), port), 1);
        for (uint32_t n = 1; n <= kAdded; ++n) {
            uint32_t id = 0;
            const std::string description = "acknowledged " + std::to_string(n);
            ASSERT_EQ(client->AddMonitor(SCA_SRV_MONITOR_COUNTERS, 0, description.c_str(), &id), 1);
            acknowledged[id] = description;
        }
    }
    // Killed, so that the changes are in the journal only.
    korvas->Kill();
    const std::string path = home / SCA_SRV_MONITORS_JOURNAL;
    std::string journal;
    uint32_t error = 0;
    ASSERT_EQ(SCA_ReadFile(path.c_str(), &journal, 1 << 24, &error), 1);
    const std::vector<size_t> starts = RecordStarts(journal);
    ASSERT_EQ(starts.size(), kAdded);
    const size_t flipped = (starts[kDamagedRecord] + starts[kDamagedRecord + 1]) / 2;
    journal[flipped] = static_cast<char>(journal[flipped] ^ 0x10);
    ASSERT_EQ(SCA_WriteFileAtomic(path.c_str(), journal.data(), journal.size(), &error), 1);
    const uint32_t lostId = std::next(acknowledged.begin(), kDamagedRecord)->first;

    korvas = std::make_unique<KorvasProcess>(home.Path(), std::to_string(port));
    ASSERT_EQ(WaitUntilServing(korvas.get()), port);
    auto client = NewClient();
    ASSERT_EQ(korvas->LogIn(client.get(), port), 1);
    std::map<uint32_t, std::string> expected = acknowledged;
    expected.erase(lostId);
    EXPECT_EQ(ListMonitors(client.get()), expected);
    uint32_t id = 0;
    ASSERT_EQ(client->AddMonitor(SCA_SRV_MONITOR_COUNTERS, 0, "after the damage", &id), 1);
    EXPECT_GT(id, acknowledged.rbegin()->first) << "an id handed out again";
    std::string kept;
    ASSERT_EQ(SCA_ReadFile((path + ".damaged").c_str(), &kept, 1 << 24, &error), 1);
    EXPECT_EQ(kept, journal);
    EXPECT_TRUE(LogHas(korvas->LogPath(), "the journal as it was is kept in " + path + ".damaged"));
    EXPECT_EQ(korvas->Terminate(), 1);
    EXPECT_EQ(korvas->ExitCode(), 0);
}

// --- a crowd of clients ---------------------------------------------------------------------

constexpr int kCrowd = 200;
// Threads of this test, each driving its share of the crowd's connections.
constexpr int kCrowdDrivers = 20;
// Each client polls once a period, as the client's windows do, until it has been answered
// this often.
constexpr auto kPollPeriod = std::chrono::milliseconds(100);
constexpr uint64_t kPollsPerClient = 300;
// Thirty seconds of polls take this long at most even with the sanitizer on a machine at load 20.
constexpr auto kCrowdDeadline = std::chrono::minutes(4);
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
// Under the address sanitizer every thread holds up to 1 MiB of freed memory back from reuse
// (and the process 256 MiB): with a thread per connection that alone grows the service by
// about 200 MiB over the run and hides any leak. The service's sanitizer keeps little back
// here instead.
constexpr const char* kSmallQuarantine = "quarantine_size_mb=4:thread_local_quarantine_size_kb=16";
// Growth allowed over the second half of the run, after the first half warmed every cache up.
// Without the sanitizer the service's resident memory does not move at all under this load, so
// 2 MiB catches a leak of 70 bytes per reply (30000 replies per half). The sanitizer's own
// allocator keeps per-thread caches for every size class; with 200 threads and replies whose
// size changes as monitors come and go they fill slowly, by about 11 MiB over the second half:
// the bound then catches a leak of 1 KiB per reply, and the leak checker at the orderly stop
// catches every lost block.
constexpr uint64_t kRssGrowthBoundKb = (kSanitized ? 32 : 2) * 1024;

// Sets the sanitizer options of the processes started while it lives.
class ChildSanitizerOptions {
public:
    explicit ChildSanitizerOptions(const char* options) {
        const char* old = std::getenv(kVariable);
        if (old != nullptr) {
            m_Old = old;
            m_Had = true;
        }
        setenv(kVariable, (m_Had && !m_Old.empty() ? m_Old + ":" : "").append(options).c_str(), 1);
    }
    ~ChildSanitizerOptions() {
        if (m_Had) {
            setenv(kVariable, m_Old.c_str(), 1);
        } else {
            unsetenv(kVariable);
        }
    }
    ChildSanitizerOptions(const ChildSanitizerOptions&) = delete;
    ChildSanitizerOptions& operator=(const ChildSanitizerOptions&) = delete;

private:
    static constexpr const char* kVariable = "ASAN_OPTIONS";
    std::string m_Old;
    bool m_Had = false;
};

struct Tally {
    std::atomic<uint64_t> Done{0};
    std::atomic<uint64_t> Failed{0};
    void Count(bool done) { ++(done ? Done : Failed); }
};

TEST(ServiceFaults, ACrowdOfPollingClientsIsAnsweredAndLeavesNoThreadsOrMemoryBehind) {
    korvanta_test::ReportCapture reports;
    korvanta_test::TempDir home;
    const ChildSanitizerOptions sanitizer(kSmallQuarantine);
    KorvasProcess korvas(home.Path(), "0");
    const uint16_t port = WaitUntilServing(&korvas);
    ASSERT_NE(port, 0);
    const uint64_t threadsBefore = ProcStatus(korvas.Pid(), "Threads");

    Tally polls;
    Tally changes;
    std::atomic<int> connectFailures{0};
    std::atomic<bool> stop{false};
    std::latch connected(kCrowdDrivers + 1);
    std::latch released(1);
    // Connections that have not logged in may take only a share of the service's connections,
    // and of those only a share from one address: the crowd, all on 127.0.0.1, logs in at
    // most that many at a time. More would take each other's places.
    std::counting_semaphore<SCA_KORVAS_STRANGERS_PER_ADDRESS> loggingIn(
        SCA_KORVAS_STRANGERS_PER_ADDRESS);
    const auto logIn = [&](SCA_KorvantaInterface* client) {
        loggingIn.acquire();
        const int done = korvas.LogIn(client, port);
        loggingIn.release();
        return done;
    };
    std::vector<std::thread> drivers;
    for (int d = 0; d < kCrowdDrivers; ++d) {
        drivers.emplace_back([&] {
            std::vector<std::unique_ptr<SCA_KorvantaInterface>> clients;
            // Logged in, as the client logs in.
            for (int c = 0; c < kCrowd / kCrowdDrivers; ++c) {
                clients.push_back(NewClient());
                if (!logIn(clients.back().get())) {
                    ++connectFailures;
                }
            }
            connected.arrive_and_wait();
            for (auto tick = Clock::now(); !stop.load(); tick += kPollPeriod) {
                for (auto& client : clients) {
                    SCA_ConfigObj* server = nullptr;
                    SCA_ConfigObj* monitors = nullptr;
                    polls.Count(client->GetStatusEx(&server, &monitors) == 1);
                    SCA_Object::Destroy(server);
                    SCA_Object::Destroy(monitors);
                }
                std::this_thread::sleep_until(tick + kPollPeriod);
            }
            // Every connection stays open until the last measurement under load.
            released.wait();
        });
    }
    std::thread writer([&] {
        auto client = NewClient();
        changes.Count(logIn(client.get()) == 1);
        connected.arrive_and_wait();
        while (!stop.load()) {
            uint32_t id = 0;
            const bool added = client->AddMonitor(SCA_SRV_MONITOR_COUNTERS, 0, "Crowd", &id) == 1;
            changes.Count(added);
            if (added) {
                changes.Count(client->DeleteMonitor(id) == 1);
            }
        }
    });
    connected.wait();
    const uint64_t threadsUnderLoad = ProcStatus(korvas.Pid(), "Threads");
    // The crowd is really served, not just connected: every call is answered until each client
    // was answered as often as asked, however long that takes on a busy machine.
    const uint64_t allPolls = kCrowd * kPollsPerClient;
    const auto polled = [&](uint64_t share) {
        return polls.Done.load() >= share || polls.Failed.load() != 0;
    };
    EXPECT_TRUE(korvanta_test::WaitUntil(
        "half the crowd's polls", [&] { return polled(allPolls / 2); }, kCrowdDeadline));
    const uint64_t rssHalf = ProcStatus(korvas.Pid(), "VmRSS");
    EXPECT_TRUE(korvanta_test::WaitUntil(
        "all the crowd's polls", [&] { return polled(allPolls); }, kCrowdDeadline));
    const uint64_t rssEnd = ProcStatus(korvas.Pid(), "VmRSS");
    stop.store(true);
    writer.join();
    released.count_down();
    for (auto& driver : drivers) {
        driver.join();
    }
    for (const auto& [name, value] :
         {std::pair<const char*, uint64_t>{"threads_before", threadsBefore},
          {"threads_under_load", threadsUnderLoad},
          {"rss_half_kb", rssHalf},
          {"rss_end_kb", rssEnd},
          {"polls", polls.Done.load()},
          {"changes", changes.Done.load()}}) {
        RecordProperty(name, std::to_string(value));
    }
    EXPECT_EQ(connectFailures.load(), 0);
    EXPECT_GE(threadsUnderLoad, threadsBefore + kCrowd) << "the crowd was not connected at once";
    EXPECT_EQ(polls.Failed.load(), 0u);
    EXPECT_EQ(changes.Failed.load(), 0u);
    EXPECT_LE(rssEnd, rssHalf + kRssGrowthBoundKb)
        << "resident memory grew from " << rssHalf << " kB to " << rssEnd << " kB";
    EXPECT_TRUE(korvanta_test::WaitUntil(
        "the service's threads to fall back",
        [&] { return ProcStatus(korvas.Pid(), "Threads") == threadsBefore; }))
        << ProcStatus(korvas.Pid(), "Threads") << " threads, " << threadsBefore << " before";
    ASSERT_EQ(korvas.Terminate(), 1);
    EXPECT_EQ(korvas.ExitCode(), 0);
}

// --- broken frames ----------------------------------------------------------------------------

constexpr int kReadWaitMs = 5000;
constexpr int kGarbagePasses = 3;
constexpr size_t kGarbageBytes = 200;
constexpr int kMutatedFrames = 20;
constexpr uint32_t kHugeLength = 0xFFFFFFFFu;

std::string U32(uint32_t value) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<char>(value >> (8 * i));
    }
    return bytes;
}

std::string Head(uint32_t code, uint32_t sequence, const std::string& name, uint32_t length,
                 uint8_t version = SCA_NET_FRAME_VERSION) {
    return std::string(SCA_NET_MAGIC, sizeof(SCA_NET_MAGIC)) + static_cast<char>(version) +
           U32(code) + U32(0) + U32(sequence) + static_cast<char>(name.size()) + name + U32(length);
}

std::string TreeBytes(SCA_ConfigObj* tree) {
    SCA_StringStor bytes;
    EXPECT_EQ(tree->Serialize(&bytes), 1);
    return bytes.GetBytes();
}

std::string Request(uint32_t sequence, const std::string& name, SCA_ConfigObj* fields) {
    const std::string payload = TreeBytes(fields);
    return Head(SCA_NET_CODE_COMMAND, sequence, name, static_cast<uint32_t>(payload.size())) +
           payload;
}

std::string GreetingReply() {
    SCA_ConfigObj data("Data", nullptr);
    data.AddField("ClientStartTime", uint64_t{1});
    data.AddField("ClientConnectTime", uint64_t{2});
    const std::string payload = TreeBytes(&data);
    return Head(SCA_NET_CODE_GREETING_REPLY, 0, "GreetingReply",
                static_cast<uint32_t>(payload.size())) +
           payload;
}

std::string RandomBytes(std::mt19937* random, size_t count) {
    std::string bytes(count, '\0');
    for (char& byte : bytes) {
        byte = static_cast<char>((*random)());
    }
    // Never the magic's first byte: random bytes must not pass for a frame head by chance.
    bytes[0] = static_cast<char>(bytes[0] == SCA_NET_MAGIC[0] ? 0 : bytes[0]);
    return bytes;
}

// A plain socket to the service that speaks the frames as given, right or wrong.
class RawConnection {
public:
    explicit RawConnection(uint16_t port)
        : m_Socket(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        m_Connected = m_Socket >= 0 && connect(m_Socket, reinterpret_cast<sockaddr*>(&address),
                                               sizeof(address)) == 0;
    }
    ~RawConnection() {
        if (m_Socket >= 0) {
            close(m_Socket);
        }
    }
    RawConnection(const RawConnection&) = delete;
    RawConnection& operator=(const RawConnection&) = delete;

    bool Connected() const { return m_Connected; }

    // The service may close the connection before all of it is sent: that is its answer.
    void Send(const std::string& bytes) {
        for (size_t sent = 0; sent < bytes.size();) {
            const ssize_t n =
                send(m_Socket, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
            if (n <= 0) {
                return;
            }
            sent += static_cast<size_t>(n);
        }
    }

    // The next frame from the service; false when it closed the connection or sent nothing whole
    // within the wait.
    bool Receive(SCA_NetMessage* message, uint32_t* sequence) {
        for (;;) {
            if (m_Reader.IsComplete()) {
                *sequence = m_Reader.GetSequence();
                return m_Reader.TakeMessage(message) == 1;
            }
            if (m_Reader.GetError() != 0) {
                return false;
            }
            if (m_Used < m_Pending.size()) {
                m_Used += m_Reader.Feed(m_Pending.data() + m_Used,
                                        static_cast<uint32_t>(m_Pending.size() - m_Used));
                continue;
            }
            if (!ReadMore()) {
                return false;
            }
        }
    }

    // The greeting, then the reply to the request of that number: its name ("OK", "ERR"), or
    // empty when the connection ended instead.
    std::string Answer(const std::string& request, uint32_t sequence) {
        Send(request);
        SCA_NetMessage reply;
        uint32_t got = 0;
        while (Receive(&reply, &got)) {
            if (reply.GetControlCode() == SCA_NET_CODE_COMMAND) {
                return got == sequence ? reply.GetCommandName() : "wrong sequence";
            }
        }
        return "";
    }

    // Whether the service closed the connection within the wait; what it sent is dropped.
    bool ClosedByService() {
        while (ReadMore()) {
        }
        return m_Closed;
    }

private:
    bool ReadMore() {
        pollfd entry{m_Socket, POLLIN, 0};
        if (poll(&entry, 1, kReadWaitMs) <= 0) {
            return false;
        }
        char buffer[4096];
        const ssize_t n = recv(m_Socket, buffer, sizeof(buffer), 0);
        if (n <= 0) {
            m_Closed = true;
            return false;
        }
        m_Pending.erase(0, m_Used);
        m_Used = 0;
        m_Pending.append(buffer, static_cast<size_t>(n));
        return true;
    }

    int m_Socket;
    bool m_Connected = false;
    bool m_Closed = false;
    SCA_NetFrameReader m_Reader;
    std::string m_Pending;
    size_t m_Used = 0;
};

// A tree nested one level deeper than any reader takes.
std::string TooDeepTree() {
    std::string bytes;
    for (uint32_t i = 0; i <= SCA_CONFIG_MAX_DEPTH; ++i) {
        bytes += "2\x01n\x01";
    }
    for (uint32_t i = 0; i <= SCA_CONFIG_MAX_DEPTH; ++i) {
        bytes += "0\x01";
    }
    return bytes;
}

// Login data that is not what the agreed key encrypts: the decryption must refuse it.
std::string ForgedLogin(std::mt19937* random, uint32_t sequence) {
    SCA_ConfigObj fields("Data", nullptr);
    SCA_ConfigObj* login = fields.AddConfigObj("LoginData");
    std::string text;
    for (int i = 0; i < 40; ++i) {
        text += static_cast<char>('!' + (*random)() % 90);
    }
    login->AddField("HostName", text.c_str());
    login->AddField("UserName", "admin");
    login->AddField("AuthSig", text.c_str());
    return Request(sequence, "LoginEx2", &fields);
}

// Frames that must make the service close the connection, after a proper greeting.
std::vector<std::string> FramesThatEndTheConnection(std::mt19937* random) {
    SCA_ConfigObj empty("Data", nullptr);
    const std::string emptyTree = TreeBytes(&empty);
    const std::string deep = TooDeepTree();
    return {
        RandomBytes(random, kGarbageBytes),
        Head(SCA_NET_CODE_COMMAND, 1, "GetStatusEx", SCA_KORVAS_STRANGER_MAX_PAYLOAD + 1),
        Head(SCA_NET_CODE_COMMAND, 1, "GetStatusEx", kHugeLength),
        Head(SCA_NET_CODE_COMMAND, 1, "GetStatusEx", kGarbageBytes) +
            RandomBytes(random, kGarbageBytes),
        Head(SCA_NET_CODE_COMMAND, 1, "GetStatusEx", static_cast<uint32_t>(deep.size())) + deep,
        Head(SCA_NET_CODE_COMMAND, 1, "GetStatusEx", static_cast<uint32_t>(2 * emptyTree.size())) +
            emptyTree + emptyTree,
        Head(SCA_NET_CODE_GREETING, 1, "Greeting", static_cast<uint32_t>(emptyTree.size())) +
            emptyTree,
        Head(SCA_NET_CODE_COMMAND, 1, std::string(SCA_NET_MAX_NAME + 1, 'G'), 0),
        Head(SCA_NET_CODE_COMMAND, 1, std::string("Get\0Status", 10), 0),
        Head(SCA_NET_CODE_COMMAND, 1, "GetStatusEx", static_cast<uint32_t>(emptyTree.size()),
             SCA_NET_FRAME_VERSION + 1) +
            emptyTree,
    };
}

TEST(ServiceFaults, BrokenFramesEndOnlyTheirOwnConnection) {
    korvanta_test::ReportCapture reports;
    korvanta_test::TempDir home;
    KorvasProcess korvas(home.Path(), "0");
    const uint16_t port = WaitUntilServing(&korvas);
    ASSERT_NE(port, 0);
    const uint64_t threadsBefore = ProcStatus(korvas.Pid(), "Threads");

    Tally calls;
    std::atomic<bool> stop{false};
    std::thread user([&] {
        auto client = NewClient();
        calls.Count(korvas.LogIn(client.get(), port) == 1);
        uint32_t id = 0;
        calls.Count(client->AddMonitor(SCA_SRV_MONITOR_COUNTERS, 0, "Beside the garbage", &id) ==
                    1);
        while (!stop.load()) {
            SCA_ConfigObj* server = nullptr;
            SCA_ConfigObj* monitors = nullptr;
            uint32_t count = 0;
            calls.Count(client->GetStatusEx(&server, &monitors) == 1 &&
                        server->GetField("MonitorCount", &count) == 1 && count == 1);
            SCA_Object::Destroy(server);
            SCA_Object::Destroy(monitors);
            SCA_ConfigObj* list = nullptr;
            calls.Count(client->GetMonitors(&list) == 1);
            SCA_Object::Destroy(list);
        }
    });

    // The garbage goes in while the user polls, however slowly a busy machine lets it log in.
    EXPECT_TRUE(korvanta_test::WaitUntil(
        "the user to poll", [&] { return calls.Done.load() > 2 || calls.Failed.load() > 0; }));
    std::random_device entropy;
    const unsigned seed = entropy();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    SCA_ConfigObj none("Data", nullptr);
    const std::string statusRequest = Request(5, "GetStatusEx", &none);
    for (int pass = 0; pass < kGarbagePasses; ++pass) {
        {
            RawConnection raw(port);
            ASSERT_TRUE(raw.Connected());
            raw.Send(RandomBytes(&random, kGarbageBytes));
            EXPECT_TRUE(raw.ClosedByService()) << "garbage instead of the greeting's answer";
        }
        {
            RawConnection raw(port);
            ASSERT_TRUE(raw.Connected());
            raw.Send(Head(SCA_NET_CODE_GREETING_REPLY, 0, "GreetingReply", kHugeLength));
            EXPECT_TRUE(raw.ClosedByService()) << "a greeting's answer of 4 GiB";
        }
        const std::vector<std::string> closing = FramesThatEndTheConnection(&random);
        for (size_t i = 0; i < closing.size(); ++i) {
            RawConnection raw(port);
            ASSERT_TRUE(raw.Connected());
            // The connection works before the broken frame: the frames here are the service's.
            raw.Send(GreetingReply());
            ASSERT_EQ(raw.Answer(statusRequest, 5), "OK");
            raw.Send(closing[i]);
            EXPECT_TRUE(raw.ClosedByService()) << "broken frame " << i;
        }
        {
            // Cut off in the middle of a frame: the service must not wait for the rest forever
            // nor take the half for a request.
            RawConnection raw(port);
            ASSERT_TRUE(raw.Connected());
            raw.Send(GreetingReply() + statusRequest.substr(0, statusRequest.size() / 2));
        }
        {
            // Well-formed requests that make no sense are refused one by one, on a connection
            // that stays usable and never logs in.
            RawConnection raw(port);
            ASSERT_TRUE(raw.Connected());
            raw.Send(GreetingReply());
            EXPECT_EQ(raw.Answer(Request(6, "NoSuchCommand", &none), 6), "ERR");
            EXPECT_EQ(raw.Answer(ForgedLogin(&random, 7), 7), "ERR");
            SCA_ConfigObj flat("Data", nullptr);
            flat.AddField("LoginData", "not an object");
            EXPECT_EQ(raw.Answer(Request(8, "LoginEx2", &flat), 8), "ERR");
            SCA_ConfigObj badId("Data", nullptr);
            badId.AddField("MonitorId", "not a number");
            EXPECT_EQ(raw.Answer(Request(9, "GetMonitorStats", &badId), 9), "ERR");
            EXPECT_EQ(raw.Answer(Request(10, "GetMonitors", &none), 10), "ERR");
            EXPECT_EQ(raw.Answer(statusRequest, 5), "OK");
        }
        for (int i = 0; i < kMutatedFrames; ++i) {
            // A login with bytes of its payload changed: refused or closed, but answered.
            RawConnection raw(port);
            ASSERT_TRUE(raw.Connected());
            raw.Send(GreetingReply());
            std::string frame = ForgedLogin(&random, 11);
            const size_t payloadAt = Head(0, 0, "LoginEx2", 0).size();
            for (int flips = 0; flips < 3; ++flips) {
                frame[payloadAt + random() % (frame.size() - payloadAt)] =
                    static_cast<char>(random());
            }
            const std::string answer = raw.Answer(frame, 11);
            EXPECT_TRUE(answer == "ERR" || (answer.empty() && raw.ClosedByService()))
                << "mutated login " << i << " answered " << answer;
        }
    }
    // The user's connection still answers after all of it.
    const uint64_t doneBeforeTheEnd = calls.Done.load();
    EXPECT_TRUE(korvanta_test::WaitUntil("the user's next call", [&] {
        return calls.Done.load() > doneBeforeTheEnd || calls.Failed.load() > 0;
    }));
    stop.store(true);
    user.join();
    EXPECT_EQ(calls.Failed.load(), 0u);
    EXPECT_GT(calls.Done.load(), doneBeforeTheEnd);
    ASSERT_EQ(kill(korvas.Pid(), 0), 0);
    {
        auto client = NewClient();
        EXPECT_EQ(korvas.LogIn(client.get(), port), 1);
    }
    EXPECT_TRUE(korvanta_test::WaitUntil(
        "the service's threads to fall back",
        [&] { return ProcStatus(korvas.Pid(), "Threads") == threadsBefore; }))
        << ProcStatus(korvas.Pid(), "Threads") << " threads, " << threadsBefore << " before";
    ASSERT_EQ(korvas.Terminate(), 1);
    EXPECT_EQ(korvas.ExitCode(), 0);
}

TEST(ServiceFaults, AProfileAndAMailSetupAnsweredAsDoneSurviveAKill) {
    korvanta_test::TempDir home;
    uint32_t profile = 0;
    {
        KorvasProcess korvas(home.Path(), "0");
        const uint16_t port = WaitUntilServing(&korvas);
        ASSERT_NE(port, 0);
        auto client = NewClient();
        ASSERT_EQ(1, korvas.LogIn(client.get(), port));
        ASSERT_EQ(1, client->AddProfile("Kept through a kill", 1, &profile));
        uint32_t result = 0;
        ASSERT_EQ(1, client->SetupSmtpServer("smtp.example", "mailer", "secret", "from@example",
                                             587, 0, 0, 1, 0, &result));
        ASSERT_EQ(1u, result);
        client.reset();
        korvas.Kill();
    }
    KorvasProcess korvas(home.Path(), "0");
    const uint16_t port = WaitUntilServing(&korvas);
    ASSERT_NE(port, 0);
    auto client = NewClient();
    ASSERT_EQ(1, korvas.LogIn(client.get(), port));
    uint32_t exists = 0;
    uint32_t id = 0;
    ASSERT_EQ(1, client->IsProfileExists("Kept through a kill", &exists, &id));
    EXPECT_EQ(1u, exists);
    EXPECT_EQ(profile, id);
    SCA_ConfigObj* setup = nullptr;
    ASSERT_EQ(1, client->GetSmtpServerSetup(&setup));
    Reply owned(setup);
    char server[256] = "";
    ASSERT_EQ(1, setup->GetField("SMTP Server", server, sizeof(server)));
    EXPECT_STREQ("smtp.example", server);
    client.reset();
    ASSERT_EQ(korvas.Terminate(), 1);
    EXPECT_EQ(korvas.ExitCode(), 0);
}

} // namespace
