// SPDX-License-Identifier: MIT
// The running service's own cost, read from the outside as an administrator would see it:
// `korvas -console` on a private home and a loopback port, driven through the client object.
//   (a) the scale: a fresh service with 1, 20, 100 and 500 counter monitors of ten counters
//       each (--monitors picks others): the time to set them up, the time of one durable
//       counter change at that size, and the service's CPU (share of one core), resident memory
//       and proportional share (PSS, less this program's share of what it maps too) in
//       each of --runs measured windows, as min/median/max, with the load average.
//       Processes given with --peer NAME=PID are measured in the same windows and the ratios
//       printed (bench/peers.sh starts the peers and passes them);
//   (b) at 20 monitors, plus one process monitor: the CPU it adds over (a), against a raw pass
//       over /proc made at the same rate by this program (the floor of that work);
//   (c) the memory a monitor of ten counters holds once its ten minutes of samples are full,
//       in this program: monitors sampled 600 times back to back, heap in use before and after.
//       --steady also reads the service's memory after its rings filled (over ten minutes).
// The reference pass runs on a thread of this program during (b), not after it: the machine
// has cores to spare, a pass costs milliseconds a second, and the run takes half the wall time.
// Its cost is that thread's own CPU time, so that nothing else of this program is counted.
//
// Usage: bench_service [--seconds N] [--runs R] [--monitors 1,20,100,500] [--peer NAME=PID]...
//                      [--steady]
//        (or KORVANTA_BENCH_SECONDS=N; a reported run uses 60)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fstream>
#include <malloc.h>
#include <memory>
#include <pthread.h>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "bench/BenchSupport.h"
#include "bench/ProportionalShare.h"
#include "bench/RawProcPass.h"
#include "bench/ServiceMonitors.h"
#include "libmor/SCA_Time.h"
#include "libtez/SCA_KorvantaInterface.h"
#include "libtez/SCA_TezManager.h"
#include "model/SCA_SrvMonitor.h"
#include "model/SCA_TezConfig.h"
#include "model/SCA_TezConfigUser.h"
#include "model/SCA_TezSampleStore.h"
#include "model/SCA_TezVocabulary.h"
#include "tests/integration/KorvasProcess.h"
#include "tests/support/TestPaths.h"

namespace {

using Service = korvas_integration::LoggedInService;
using Clock = std::chrono::steady_clock;

constexpr int kDefaultSeconds = 60;
constexpr int kDefaultRuns = 3;
constexpr char kSecondsOption[] = "--seconds";
constexpr char kRunsOption[] = "--runs";
constexpr char kMonitorsOption[] = "--monitors";
constexpr char kPeerOption[] = "--peer";
constexpr char kSteadyOption[] = "--steady";
constexpr char kSecondsVariable[] = "KORVANTA_BENCH_SECONDS";
constexpr uint32_t kDefaultScale[] = {1, 20, 100, 500};
// Long enough for every monitor's first samples (and the process monitor's first naming pass
// over all processes) to be behind the measured window.
constexpr auto kWarmUp = std::chrono::seconds(5);
// The process monitor's sample period, which the reference pass follows.
constexpr auto kScanPeriod = std::chrono::seconds(1);
constexpr auto kRssSamplePeriod = std::chrono::seconds(1);
// Until every ring of a service's monitors is full: ten minutes of samples and a margin.
constexpr auto kRingsFull = std::chrono::seconds(SCA_TEZ_LIVE_SAMPLES + 10);

constexpr uint32_t kCounterMonitors = 20;
constexpr uint32_t kSystemMode = 0;
constexpr const auto& kCounterTypes = korvanta_bench::kServiceCounterTypes;
// Durable counter changes timed at each size.
constexpr int kTimedChanges = 20;
// Monitors sampled in this program until their rings are full (c).
constexpr uint32_t kInProcessMonitors = 50;
// Their sample times: up to 2 ms after the second, spread over that range.
constexpr uint64_t kLatestWakeUp = 2 * SCA_ABS_TIME_SECOND / 1000;
constexpr uint64_t kLatenessSpread = 7919;

constexpr double kCpuTargetPercent = 0.3;
constexpr double kRssTargetMb = 20.0;
constexpr double kRingMbPerMonitorTarget = 0.08;
constexpr double kProcessRatioTarget = 1.5;

constexpr double kPercent = 100.0;
constexpr double kKbPerMb = 1024.0;
constexpr double kBytesPerMb = 1024.0 * 1024.0;
constexpr double kNsPerSecond = 1e9;
constexpr double kMsPerSecond = 1e3;

struct Peer {
    std::string Name;
    pid_t Pid;
};

struct Options {
    int Seconds = kDefaultSeconds;
    int Runs = kDefaultRuns;
    std::vector<uint32_t> Scale{std::begin(kDefaultScale), std::end(kDefaultScale)};
    std::vector<Peer> Peers;
    bool Steady = false;
};

std::vector<uint32_t> ParseList(const char* text) {
    std::vector<uint32_t> list;
    std::istringstream items(text);
    std::string item;
    while (std::getline(items, item, ',')) {
        const long value = std::atol(item.c_str());
        if (value >= 0 && !item.empty()) { // 0: an idle service, measured as it is
            list.push_back(static_cast<uint32_t>(value));
        }
    }
    return list;
}

Options ParseOptions(int argc, char** argv) {
    Options options;
    if (const char* text = std::getenv(kSecondsVariable)) {
        options.Seconds = std::max(1, std::atoi(text));
    }
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::printf("usage: bench_service [--seconds N] [--runs R] [--monitors 1,20,100,500]\n"
                        "                     [--peer NAME=PID]... [--steady]\n");
            std::exit(0);
        }
        if (std::strcmp(argv[i], kSteadyOption) == 0) {
            options.Steady = true;
        } else if (hasValue && std::strcmp(argv[i], kSecondsOption) == 0) {
            options.Seconds = std::max(1, std::atoi(argv[++i]));
        } else if (hasValue && std::strcmp(argv[i], kRunsOption) == 0) {
            options.Runs = std::max(1, std::atoi(argv[++i]));
        } else if (hasValue && std::strcmp(argv[i], kMonitorsOption) == 0) {
            options.Scale = ParseList(argv[++i]);
        } else if (hasValue && std::strcmp(argv[i], kPeerOption) == 0) {
            const std::string peer = argv[++i];
            const size_t equals = peer.find('=');
            if (equals != std::string::npos) {
                options.Peers.push_back({peer.substr(0, equals),
                                         static_cast<pid_t>(std::atol(peer.c_str() + equals + 1))});
            }
        }
    }
    return options;
}

std::string FirstLine(const std::string& path) {
    std::ifstream file(path);
    std::string line;
    std::getline(file, line);
    return line;
}

// The 1-, 5- and 15-minute load averages.
std::string LoadAverage() {
    const std::string line = FirstLine("/proc/loadavg");
    size_t end = 0;
    for (int field = 0; field < 3 && end != std::string::npos; ++field) {
        end = line.find(' ', end + 1);
    }
    return line.substr(0, end);
}

size_t ProcessCount() {
    size_t count = 0;
    DIR* dir = opendir("/proc");
    if (dir == nullptr) {
        return 0;
    }
    while (const dirent* entry = readdir(dir)) {
        count += entry->d_name[0] >= '1' && entry->d_name[0] <= '9' ? 1u : 0u;
    }
    closedir(dir);
    return count;
}

// The CPU time of the process's threads in seconds, to the nanosecond (the first field of each
// thread's schedstat): the clock ticks of /proc/PID/stat are 10 ms, as much as a light process
// spends in seconds. Threads that end within a window take their time with them; the processes
// measured here keep theirs.
double CpuSeconds(pid_t pid) {
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    uint64_t nanos = 0;
    if (DIR* dir = opendir(tasks.c_str())) {
        while (const dirent* entry = readdir(dir)) {
            if (entry->d_name[0] != '.') {
                nanos += std::strtoull(
                    FirstLine(tasks + "/" + entry->d_name + "/schedstat").c_str(), nullptr, 10);
            }
        }
        closedir(dir);
    }
    return static_cast<double>(nanos) / kNsPerSecond;
}

// A numeric line of /proc/PID/<file> ("VmRSS:", "Threads:" of status, "Pss:" of
// smaps_rollup).
uint64_t StatusValue(pid_t pid, const char* key, const char* fileName = "status") {
    std::ifstream file("/proc/" + std::to_string(pid) + "/" + fileName);
    std::string line;
    const size_t keyLength = std::strlen(key);
    while (std::getline(file, line)) {
        if (line.compare(0, keyLength, key) == 0) {
            return std::strtoull(line.c_str() + keyLength, nullptr, 10);
        }
    }
    return 0;
}

// Mappings the size of a thread's stack (the default stack less its guard page): each is a
// thread that lives, or one that ended and was never joined.
size_t StackMappings(pid_t pid) {
    constexpr uint64_t kStackBytes = 8u << 20;
    constexpr uint64_t kGuardBytes = 4096;
    std::ifstream maps("/proc/" + std::to_string(pid) + "/maps");
    size_t count = 0;
    for (std::string line; std::getline(maps, line);) {
        const uint64_t start = std::strtoull(line.c_str(), nullptr, 16);
        const uint64_t end = std::strtoull(line.c_str() + line.find('-') + 1, nullptr, 16);
        const uint64_t size = end - start;
        count += size == kStackBytes - kGuardBytes || size == kStackBytes ? 1 : 0;
    }
    return count;
}

double RssMb(pid_t pid) {
    return static_cast<double>(StatusValue(pid, "VmRSS:")) / kKbPerMb;
}

double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / kNsPerSecond;
}

// One process over one window.
struct Phase {
    double CpuSeconds = 0.0;
    double WallSeconds = 0.0;
    double RssMbEnd = 0.0;
    double RssMbPeak = 0.0;
    double PssMbEnd = 0.0;
    double CpuPercent() const { return WallSeconds > 0 ? CpuSeconds / WallSeconds * kPercent : 0; }
};

// The CPU and resident memory of every pid over the same seconds of wall time.
std::vector<Phase> Measure(const std::vector<pid_t>& pids, int seconds) {
    std::vector<Phase> phases(pids.size());
    std::vector<double> startCpu;
    for (const pid_t pid : pids) {
        startCpu.push_back(CpuSeconds(pid));
    }
    const auto start = Clock::now();
    const auto end = start + std::chrono::seconds(seconds);
    for (auto next = start + kRssSamplePeriod; next <= end; next += kRssSamplePeriod) {
        std::this_thread::sleep_until(next);
        for (size_t i = 0; i < pids.size(); ++i) {
            const double rss = RssMb(pids[i]);
            phases[i].RssMbPeak = std::max(rss, phases[i].RssMbPeak);
            phases[i].RssMbEnd = rss;
        }
    }
    std::this_thread::sleep_until(end);
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    for (size_t i = 0; i < pids.size(); ++i) {
        phases[i].CpuSeconds = CpuSeconds(pids[i]) - startCpu[i];
        phases[i].PssMbEnd = korvanta_bench::ProportionalShareMb(pids[i]);
        phases[i].WallSeconds = wall;
    }
    return phases;
}

using korvanta_bench::Spread;

// The raw /proc pass once per scan period, as many times as the service scans in the measured
// window (the first half a period in, so that none falls outside it), and its thread's CPU time.
struct Reference {
    double CpuSeconds = 0.0;
    int Passes = 0;

    void Run(int passes) {
        const double before = ThreadCpuSeconds();
        auto next = Clock::now() + kScanPeriod / 2;
        for (; Passes < passes; ++Passes, next += kScanPeriod) {
            std::this_thread::sleep_until(next);
            korvanta_bench::RawProcPass();
        }
        CpuSeconds = ThreadCpuSeconds() - before;
    }
};

bool AddCounterMonitor(SCA_KorvantaInterface* client, uint32_t index, bool start) {
    return korvanta_bench::AddCounterMonitor(client, "Bench counters " + std::to_string(index + 1),
                                             start);
}

// Milliseconds of one durable AddCounter on an idle monitor, median of kTimedChanges, at the
// service's present size.
double TimeAddCounter(SCA_KorvantaInterface* client) {
    uint32_t id = 0;
    if (!client->AddMonitor(SCA_SRV_MONITOR_COUNTERS, kSystemMode, "Bench changes", &id) ||
        !client->DeleteAllCounters(id)) {
        return -1.0;
    }
    Spread times;
    for (int i = 0; i < kTimedChanges; ++i) {
        const uint32_t type = kCounterTypes[static_cast<size_t>(i) % std::size(kCounterTypes)];
        uint32_t counter = 0;
        const auto start = Clock::now();
        const int added = client->AddCounter(id, type, "", "", "", &counter);
        times.Add(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        if (!added || !client->DeleteCounter(id, counter)) {
            return -1.0;
        }
    }
    client->DeleteMonitor(id);
    return times.Median();
}

const char* Verdict(bool pass) {
    return pass ? "PASS" : "FAIL";
}

// (b): the process monitor's extra CPU on top of the counter monitors' measured in counters.
bool MeasureProcessMonitor(Service* service, const Phase& counters, int seconds) {
    uint32_t processId = 0;
    if (!service->Client.AddMonitor(SCA_SRV_MONITOR_PROCESS, kSystemMode, "Bench processes",
                                    &processId) ||
        !service->Client.StartMonitor(processId)) {
        std::fprintf(stderr, "cannot start the process monitor\n");
        return false;
    }
    std::this_thread::sleep_for(kWarmUp);
    const pid_t pid = service->Korvas->Pid();
    std::printf("(b) %u counter monitors plus one process monitor, service threads: %llu, load "
                "%s\n",
                kCounterMonitors, static_cast<unsigned long long>(StatusValue(pid, "Threads:")),
                LoadAverage().c_str());
    Reference reference;
    std::thread scanner([&reference, seconds] { reference.Run(seconds); });
    const Phase withProcesses = Measure({pid}, seconds).front();
    scanner.join();
    const double extra = withProcesses.CpuSeconds -
                         counters.CpuSeconds * withProcesses.WallSeconds / counters.WallSeconds;
    const double ratio = reference.CpuSeconds > 0 ? extra / reference.CpuSeconds : 0.0;
    std::printf("    CPU: %.3f s in %.1f s = %.3f %% of one core; RSS %.1f MB at the end\n",
                withProcesses.CpuSeconds, withProcesses.WallSeconds, withProcesses.CpuPercent(),
                withProcesses.RssMbEnd);
    std::printf("    process monitor's extra CPU: %.3f s (%.3f ms per second)\n", extra,
                extra / withProcesses.WallSeconds * kMsPerSecond);
    std::printf("    raw /proc pass in this program: %.3f s in %d passes (%.3f ms per pass)\n",
                reference.CpuSeconds, reference.Passes,
                reference.Passes != 0 ? reference.CpuSeconds / reference.Passes * kMsPerSecond
                                      : 0.0);
    std::printf("    ratio extra / raw: %.2f (target <= %.1f) %s\n", ratio, kProcessRatioTarget,
                Verdict(reference.CpuSeconds > 0 && ratio <= kProcessRatioTarget));
    service->Client.StopMonitor(processId);
    return true;
}

// (a) at one size: set up, time a change, measure the windows side by side with the peers.
bool MeasureScale(const Options& options, uint32_t monitors) {
    Service service;
    if (!service.Start()) {
        std::fprintf(stderr, "the service did not start or refused the login\n");
        return false;
    }
    const auto setupStart = Clock::now();
    for (uint32_t i = 0; i < monitors; ++i) {
        if (!AddCounterMonitor(&service.Client, i, true)) {
            std::fprintf(stderr, "cannot set up counter monitor %u\n", i + 1);
            return false;
        }
    }
    const double setupSeconds = std::chrono::duration<double>(Clock::now() - setupStart).count();
    const double addCounterMs = TimeAddCounter(&service.Client);
    std::this_thread::sleep_for(kWarmUp);
    const pid_t pid = service.Korvas->Pid();
    std::printf("(a) %u counter monitors x %zu counters: set up in %.1f s, AddCounter %.2f ms "
                "(median of %d), service threads: %llu, stack-sized mappings: %zu, virtual "
                "memory %.0f MB\n",
                monitors, std::size(kCounterTypes), setupSeconds, addCounterMs, kTimedChanges,
                static_cast<unsigned long long>(StatusValue(pid, "Threads:")), StackMappings(pid),
                static_cast<double>(StatusValue(pid, "VmSize:")) / kKbPerMb);
    std::vector<pid_t> pids{pid};
    for (const Peer& peer : options.Peers) {
        pids.push_back(peer.Pid);
    }
    std::vector<Spread> cpu(pids.size());
    std::vector<Spread> rss(pids.size());
    std::vector<Spread> cpuRatio(options.Peers.size());
    std::vector<Spread> rssRatio(options.Peers.size());
    std::vector<Spread> pss(pids.size());
    std::vector<Spread> pssRatio(options.Peers.size());
    Phase first;
    for (int run = 0; run < options.Runs; ++run) {
        const std::string loadBefore = LoadAverage();
        const std::vector<Phase> phases = Measure(pids, options.Seconds);
        std::printf("    run %d (load %s -> %s):", run + 1, loadBefore.c_str(),
                    LoadAverage().c_str());
        for (size_t i = 0; i < pids.size(); ++i) {
            cpu[i].Add(phases[i].CpuPercent());
            rss[i].Add(phases[i].RssMbEnd);
            pss[i].Add(phases[i].PssMbEnd);
            std::printf(" %s %.3f %% %.1f MB (PSS %.1f MB)",
                        i == 0 ? "korvas" : options.Peers[i - 1].Name.c_str(),
                        phases[i].CpuPercent(), phases[i].RssMbEnd, phases[i].PssMbEnd);
            if (i != 0) {
                pssRatio[i - 1].Add(phases[i].PssMbEnd > 0 ? phases[0].PssMbEnd / phases[i].PssMbEnd
                                                           : 0.0);
                cpuRatio[i - 1].Add(
                    phases[i].CpuSeconds > 0 ? phases[0].CpuSeconds / phases[i].CpuSeconds : 0.0);
                rssRatio[i - 1].Add(phases[i].RssMbEnd > 0 ? phases[0].RssMbEnd / phases[i].RssMbEnd
                                                           : 0.0);
            }
        }
        std::printf("\n");
        if (run == 0) {
            first = phases.front();
        }
    }
    // An idle service (0 monitors) is given per monitor as its whole.
    const uint32_t divisor = std::max(monitors, 1u);
    std::printf("    korvas CPU %% of one core (min/median/max): %s, per monitor %s\n",
                cpu[0].Text(3).c_str(),
                [&] {
                    Spread perMonitor;
                    for (const double value : cpu[0].Values) {
                        perMonitor.Add(value / divisor);
                    }
                    return perMonitor.Text(4);
                }()
                    .c_str());
    std::printf("    korvas RSS MB (min/median/max): %s, per monitor %.3f MB; PSS MB %s\n",
                rss[0].Text(1).c_str(), rss[0].Median() / divisor, pss[0].Text(1).c_str());
    if (monitors == kCounterMonitors) {
        std::printf("    targets at %u monitors: CPU < %.1f %% %s, RSS < %.0f MB %s\n", monitors,
                    kCpuTargetPercent, Verdict(cpu[0].Median() < kCpuTargetPercent), kRssTargetMb,
                    Verdict(rss[0].Median() < kRssTargetMb));
    }
    for (size_t i = 0; i < options.Peers.size(); ++i) {
        std::printf("    %s: CPU %% %s, RSS MB %s, PSS MB %s; korvas / %s: CPU %s, RSS %s, "
                    "PSS %s\n",
                    options.Peers[i].Name.c_str(), cpu[i + 1].Text(3).c_str(),
                    rss[i + 1].Text(1).c_str(), pss[i + 1].Text(1).c_str(),
                    options.Peers[i].Name.c_str(), cpuRatio[i].Text(2).c_str(),
                    rssRatio[i].Text(2).c_str(), pssRatio[i].Text(2).c_str());
    }
    if (options.Steady) {
        std::this_thread::sleep_for(kRingsFull);
        std::printf("    after %lld s, every ring full: korvas RSS %.1f MB (%.3f MB per monitor)\n",
                    static_cast<long long>(kRingsFull.count()), RssMb(pid),
                    RssMb(pid) / std::max(monitors, 1u));
    }
    if (monitors == kCounterMonitors && !MeasureProcessMonitor(&service, first, options.Seconds)) {
        return false;
    }
    service.Korvas->Terminate();
    return true;
}

// (c): the heap a monitor of ten counters holds with its rings full, in this program.
void MeasureFullRings() {
    SCA_TezConfig config(SCA_PRODUCT_TYPE_KORVANTA);
    SCA_TezConfigUser userConfig(&config);
    std::vector<std::unique_ptr<SCA_TezProfile>> profiles;
    std::vector<std::unique_ptr<SCA_TezManager>> managers;
    const size_t before = mallinfo2().uordblks;
    for (uint32_t m = 0; m < kInProcessMonitors; ++m) {
        auto profile = std::make_unique<SCA_TezProfile>();
        auto manager = std::make_unique<SCA_TezManager>(&config, &userConfig, nullptr, nullptr,
                                                        nullptr, nullptr);
        uint32_t error = 0;
        if (!manager->PrepareProcess(profile.get(), "Bench rings", nullptr, &error)) {
            std::fprintf(stderr, "cannot prepare an in-process monitor (%u)\n", error);
            return;
        }
        for (const uint32_t type : kCounterTypes) {
            uint32_t id = 0;
            profile->GetCounterList()->AddCounter(type, "", "", "", &id);
            manager->AddCounter(id);
        }
        profiles.push_back(std::move(profile));
        managers.push_back(std::move(manager));
    }
    const uint64_t second = static_cast<uint64_t>(kNsPerSecond);
    for (uint64_t tick = 1; tick <= SCA_TEZ_LIVE_SAMPLES + 1; ++tick) {
        // The service reads the wall clock when the tick's thread wakes: up to a few ms late.
        const uint64_t lateness = (tick * kLatenessSpread) % kLatestWakeUp;
        for (auto& manager : managers) {
            manager->SampleTick(tick, tick * second, tick * SCA_ABS_TIME_SECOND + lateness);
        }
    }
    const size_t after = mallinfo2().uordblks;
    const double perMonitor =
        static_cast<double>(after - before) / kInProcessMonitors / kBytesPerMb;
    std::printf("(c) %u monitors x %zu counters sampled %u times in this program: heap %.3f MB "
                "per monitor (target <= %.2f MB) %s\n",
                kInProcessMonitors, std::size(kCounterTypes), SCA_TEZ_LIVE_SAMPLES + 1, perMonitor,
                kRingMbPerMonitorTarget, Verdict(perMonitor <= kRingMbPerMonitorTarget));
}

} // namespace

int main(int argc, char** argv) {
    const Options options = ParseOptions(argc, argv);
    std::printf("measured window: %d s, %d runs per size (warm-up %lld s); the machine is "
                "shared, so CPU figures are noisy: compare the ratios of one window\n",
                options.Seconds, options.Runs, static_cast<long long>(kWarmUp.count()));
    std::printf("load average (start): %s, processes on the machine: %zu\n", LoadAverage().c_str(),
                ProcessCount());
    MeasureFullRings();
    for (const uint32_t monitors : options.Scale) {
        if (!MeasureScale(options, monitors)) {
            return 1;
        }
    }
    std::printf("load average (end): %s\n", LoadAverage().c_str());
    return 0;
}
