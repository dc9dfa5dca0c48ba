// The running service's own cost, read from the outside as an administrator would see it:
// `korvas -console` on a private home and a loopback port, driven through the client object.
//   (a) twenty counter monitors of ten counters each: CPU as a share of one core and resident
//       memory over the measured time, against fixed targets;
//   (b) the same plus one process monitor: the CPU it adds over (a), against a raw pass over
//       /proc made at the same rate by this program (the floor of that work).
// The reference pass runs on a thread of this program during (b), not after it: the machine
// has cores to spare, a pass costs milliseconds a second, and the run takes half the wall time.
// Its cost is that thread's own CPU time, so that nothing else of this program is counted.
//
// Usage: bench_service [--seconds N]   (or KORVANTA_BENCH_SECONDS=N; a reported run uses 60)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fstream>
#include <pthread.h>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "bench/RawProcPass.h"
#include "libtez/SCA_KorvantaInterface.h"
#include "model/SCA_SrvMonitor.h"
#include "model/SCA_TezVocabulary.h"
#include "tests/integration/KorvasProcess.h"
#include "tests/support/KorvantaTestSupport.h"

namespace {

using korvas_integration::KorvasProcess;
using Clock = std::chrono::steady_clock;

constexpr int kDefaultSeconds = 60;
constexpr char kSecondsOption[] = "--seconds";
constexpr char kSecondsVariable[] = "KORVANTA_BENCH_SECONDS";
// Long enough for every monitor's first samples (and the process monitor's first naming pass
// over all processes) to be behind the measured window.
constexpr auto kWarmUp = std::chrono::seconds(5);
// The process monitor's sample period, which the reference pass follows.
constexpr auto kScanPeriod = std::chrono::seconds(1);
constexpr auto kRssSamplePeriod = std::chrono::seconds(1);

constexpr uint32_t kCounterMonitors = 20;
constexpr uint32_t kSystemMode = 0;
// Ten counters that sample on any Linux machine: CPU (total, user, system), memory (usage,
// available), disk (activity, transfer rate), network transfer rate, processes and threads.
constexpr uint32_t kCounterTypes[] = {1, 2, 3, 4, 5, 7, 10, 16, 38, 39};

constexpr double kCpuTargetPercent = 0.3;
constexpr double kRssTargetMb = 30.0;
constexpr double kProcessRatioTarget = 1.5;

constexpr double kPercent = 100.0;
constexpr double kKbPerMb = 1024.0;
constexpr double kNsPerSecond = 1e9;
constexpr double kMsPerSecond = 1e3;

int MeasuredSeconds(int argc, char** argv) {
    const char* text = std::getenv(kSecondsVariable);
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], kSecondsOption) == 0) {
            text = argv[i + 1];
        }
    }
    const int seconds = text != nullptr ? std::atoi(text) : kDefaultSeconds;
    return seconds > 0 ? seconds : kDefaultSeconds;
}

std::string FirstLine(const std::string& path) {
    std::ifstream file(path);
    std::string line;
    std::getline(file, line);
    return line;
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

// utime + stime of the process, in clock ticks.
uint64_t CpuTicks(pid_t pid) {
    const std::string line = FirstLine("/proc/" + std::to_string(pid) + "/stat");
    const size_t paren = line.rfind(')');
    if (paren == std::string::npos) {
        return 0;
    }
    // After the name: state, then fields 4..13, then utime (14) and stime (15).
    std::istringstream fields(line.substr(paren + 2));
    std::string skipped;
    constexpr int kFieldsBeforeUtime = 11;
    for (int i = 0; i < kFieldsBeforeUtime; ++i) {
        fields >> skipped;
    }
    uint64_t user = 0;
    uint64_t system = 0;
    fields >> user >> system;
    return user + system;
}

// A numeric line of /proc/PID/status ("VmRSS:", "Threads:").
uint64_t StatusValue(pid_t pid, const char* key) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    const size_t keyLength = std::strlen(key);
    while (std::getline(file, line)) {
        if (line.compare(0, keyLength, key) == 0) {
            return std::strtoull(line.c_str() + keyLength, nullptr, 10);
        }
    }
    return 0;
}

double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / kNsPerSecond;
}

struct Phase {
    double CpuSeconds = 0.0;
    double WallSeconds = 0.0;
    double RssMbEnd = 0.0;
    double RssMbPeak = 0.0;
    double CpuPercent() const { return WallSeconds > 0 ? CpuSeconds / WallSeconds * kPercent : 0; }
};

// The service's CPU and resident memory over seconds of wall time.
Phase Measure(pid_t pid, int seconds) {
    const double ticksPerSecond = static_cast<double>(sysconf(_SC_CLK_TCK));
    Phase phase;
    const uint64_t startTicks = CpuTicks(pid);
    const auto start = Clock::now();
    const auto end = start + std::chrono::seconds(seconds);
    for (auto next = start + kRssSamplePeriod; next <= end; next += kRssSamplePeriod) {
        std::this_thread::sleep_until(next);
        const double rss = static_cast<double>(StatusValue(pid, "VmRSS:")) / kKbPerMb;
        phase.RssMbPeak = rss > phase.RssMbPeak ? rss : phase.RssMbPeak;
        phase.RssMbEnd = rss;
    }
    std::this_thread::sleep_until(end);
    phase.CpuSeconds = static_cast<double>(CpuTicks(pid) - startTicks) / ticksPerSecond;
    phase.WallSeconds = std::chrono::duration<double>(Clock::now() - start).count();
    return phase;
}

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

bool AddCounterMonitor(SCA_KorvantaInterface* client, uint32_t index) {
    uint32_t id = 0;
    const std::string name = "Bench counters " + std::to_string(index + 1);
    if (!client->AddMonitor(SCA_SRV_MONITOR_COUNTERS, kSystemMode, name.c_str(), &id) ||
        !client->DeleteAllCounters(id)) {
        return false;
    }
    for (const uint32_t type : kCounterTypes) {
        uint32_t counter = 0;
        if (!client->AddCounter(id, type, "", "", "", &counter)) {
            return false;
        }
    }
    return client->StartMonitor(id) == 1;
}

const char* Verdict(bool pass) {
    return pass ? "PASS" : "FAIL";
}

void PrintMachine(const char* when) {
    std::printf("load average (%s): %s\nprocesses on the machine (%s): %zu\n", when,
                FirstLine("/proc/loadavg").c_str(), when, ProcessCount());
}

} // namespace

int main(int argc, char** argv) {
    const int seconds = MeasuredSeconds(argc, argv);
    std::printf("measured window: %d s per phase (warm-up %lld s)\n", seconds,
                static_cast<long long>(kWarmUp.count()));
    PrintMachine("start");

    korvanta_test::TempDir home;
    if (home.Path().empty()) {
        std::fprintf(stderr, "cannot make a home folder\n");
        return 1;
    }
    KorvasProcess korvas(home.Path(), "0");
    const uint16_t port = korvas.WaitForPort();
    SCA_KorvantaInterface client;
    if (port == 0 || !korvas.LogIn(&client, port)) {
        std::fprintf(stderr, "the service did not start or refused the login\n");
        return 1;
    }
    for (uint32_t i = 0; i < kCounterMonitors; ++i) {
        if (!AddCounterMonitor(&client, i)) {
            std::fprintf(stderr, "cannot set up counter monitor %u\n", i + 1);
            return 1;
        }
    }
    std::this_thread::sleep_for(kWarmUp);
    const pid_t pid = korvas.Pid();
    std::printf("(a) %u counter monitors x %zu counters, service threads: %llu\n", kCounterMonitors,
                std::size(kCounterTypes),
                static_cast<unsigned long long>(StatusValue(pid, "Threads:")));
    const Phase counters = Measure(pid, seconds);
    std::printf("    CPU: %.3f s in %.1f s = %.3f %% of one core (target < %.1f %%) %s\n",
                counters.CpuSeconds, counters.WallSeconds, counters.CpuPercent(), kCpuTargetPercent,
                Verdict(counters.CpuPercent() < kCpuTargetPercent));
    std::printf("    RSS: %.1f MB at the end, %.1f MB peak (target < %.0f MB) %s\n",
                counters.RssMbEnd, counters.RssMbPeak, kRssTargetMb,
                Verdict(counters.RssMbPeak < kRssTargetMb));

    uint32_t processId = 0;
    if (!client.AddMonitor(SCA_SRV_MONITOR_PROCESS, kSystemMode, "Bench processes", &processId) ||
        !client.StartMonitor(processId)) {
        std::fprintf(stderr, "cannot start the process monitor\n");
        return 1;
    }
    std::this_thread::sleep_for(kWarmUp);
    std::printf("(b) the same plus one process monitor, service threads: %llu\n",
                static_cast<unsigned long long>(StatusValue(pid, "Threads:")));
    Reference reference;
    std::thread scanner([&reference, seconds] { reference.Run(seconds); });
    const Phase withProcesses = Measure(pid, seconds);
    scanner.join();
    const double extra = withProcesses.CpuSeconds -
                         counters.CpuSeconds * withProcesses.WallSeconds / counters.WallSeconds;
    const double ratio = reference.CpuSeconds > 0 ? extra / reference.CpuSeconds : 0.0;
    std::printf("    CPU: %.3f s in %.1f s = %.3f %% of one core; RSS %.1f MB at the end, "
                "%.1f MB peak\n",
                withProcesses.CpuSeconds, withProcesses.WallSeconds, withProcesses.CpuPercent(),
                withProcesses.RssMbEnd, withProcesses.RssMbPeak);
    std::printf("    process monitor's extra CPU: %.3f s (%.3f ms per second)\n", extra,
                extra / withProcesses.WallSeconds * kMsPerSecond);
    std::printf("    raw /proc pass in this program: %.3f s in %d passes (%.3f ms per pass)\n",
                reference.CpuSeconds, reference.Passes,
                reference.Passes != 0 ? reference.CpuSeconds / reference.Passes * kMsPerSecond
                                      : 0.0);
    std::printf("    ratio extra / raw: %.2f (target <= %.1f) %s\n", ratio, kProcessRatioTarget,
                Verdict(reference.CpuSeconds > 0 && ratio <= kProcessRatioTarget));

    client.StopMonitor(processId);
    PrintMachine("end");
    korvas.Terminate();
    return 0;
}
