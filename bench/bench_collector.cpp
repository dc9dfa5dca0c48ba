// SPDX-License-Identifier: MIT
// One sample of the system preset's counters (processor, memory, disks, network, processes)
// against reading and parsing the same /proc and /sys files by hand in the same run, and twenty
// monitors of that preset sampling in one tick against one monitor. The summary at the end
// gives both ratios.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <memory>
#include <string>
#include <sys/statvfs.h>
#include <unistd.h>
#include <vector>

#include <benchmark/benchmark.h>

#include "libmor/SCA_System.h"
#include "perf/SCA_PerfMonitor.h"
#include "perf/SCA_PerfSnapshotStore.h"

namespace {

constexpr int kMonitors = 20;

// The system preset: processor, memory, disk, network and process counters, all instances.
constexpr uint32_t kPreset[] = {1, 2, 3, 4, 5, 6, 19, 72, 7, 10, 13, 59, 248, 16, 17, 18, 38, 39};

// ---- the reference: the same files read and parsed by hand ----------------------------------

std::string Slurp(const char* path) {
    std::string text;
    const int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return text;
    }
    char buf[65536];
    ssize_t got = 0;
    while ((got = read(fd, buf, sizeof(buf))) > 0) {
        text.append(buf, static_cast<size_t>(got));
    }
    close(fd);
    return text;
}

uint64_t SumNumbers(const std::string& text) {
    // Every number of every line, as a parser must look at each of them.
    uint64_t sum = 0;
    const char* p = text.c_str();
    while (*p != '\0') {
        if (*p >= '0' && *p <= '9') {
            char* end = nullptr;
            sum += std::strtoull(p, &end, 10);
            p = end;
        } else {
            ++p;
        }
    }
    return sum;
}

uint64_t CountNumericEntries(const char* path) {
    uint64_t count = 0;
    if (DIR* dir = opendir(path)) {
        while (const dirent* entry = readdir(dir)) {
            count += entry->d_name[0] >= '0' && entry->d_name[0] <= '9' ? 1 : 0;
        }
        closedir(dir);
    }
    return count;
}

uint64_t RawSample() {
    uint64_t sum = 0;
    for (const char* file : {"/proc/stat", "/proc/meminfo", "/proc/vmstat", "/proc/diskstats",
                             "/proc/net/dev", "/proc/loadavg"}) {
        sum += SumNumbers(Slurp(file));
    }
    const std::string mounts = Slurp("/proc/self/mountinfo");
    size_t at = 0;
    while (at < mounts.size()) {
        const size_t end = mounts.find('\n', at);
        const std::string line = mounts.substr(at, end - at);
        at = end == std::string::npos ? mounts.size() : end + 1;
        char point[4096];
        char type[256];
        const size_t dash = line.find(" - ");
        if (dash == std::string::npos ||
            std::sscanf(line.c_str(), "%*s %*s %*s %*s %4095s", point) != 1 ||
            std::sscanf(line.c_str() + dash + 3, "%255s", type) != 1 ||
            std::strcmp(type, "proc") == 0 || std::strcmp(type, "sysfs") == 0 ||
            std::strcmp(type, "tmpfs") == 0 || std::strncmp(type, "cgroup", 6) == 0 ||
            std::strcmp(type, "devpts") == 0 || std::strcmp(type, "devtmpfs") == 0) {
            continue;
        }
        struct statvfs space {};
        if (statvfs(point, &space) == 0) {
            sum += space.f_bavail;
        }
    }
    sum += CountNumericEntries("/proc");
    sum += CountNumericEntries("/sys/block");
    return sum;
}

void BM_RawRead(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(RawSample());
    }
}
BENCHMARK(BM_RawRead)->Unit(benchmark::kMicrosecond);

// ---- the collector -------------------------------------------------------------------------

std::unique_ptr<SCA_PerfMonitor> MakeMonitor(const std::shared_ptr<SCA_PerfSnapshotStore>& store) {
    auto monitor = std::make_unique<SCA_PerfMonitor>();
    uint32_t error = 0;
    monitor->Init(store, &error);
    for (uint32_t type : kPreset) {
        uint32_t id = 0;
        monitor->OpenCounter(type, "", &id, &error);
    }
    return monitor;
}

void SampleMonitors(benchmark::State& state, int count) {
    auto store = std::make_shared<SCA_PerfSnapshotStore>(tagSCA_PERF_ROOTS{});
    std::vector<std::unique_ptr<SCA_PerfMonitor>> monitors;
    for (int i = 0; i < count; ++i) {
        monitors.push_back(MakeMonitor(store));
    }
    uint64_t tick = 0;
    for (auto _ : state) {
        ++tick;
        for (auto& monitor : monitors) {
            monitor->Sample(tick);
        }
    }
}

void BM_OneMonitor(benchmark::State& state) {
    SampleMonitors(state, 1);
}
BENCHMARK(BM_OneMonitor)->Unit(benchmark::kMicrosecond);

void BM_TwentyMonitors(benchmark::State& state) {
    SampleMonitors(state, kMonitors);
}
BENCHMARK(BM_TwentyMonitors)->Unit(benchmark::kMicrosecond);

// Keeps each benchmark's time per iteration for the summary.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.iterations > 0) {
                m_Seconds[run.benchmark_name()] =
                    run.real_accumulated_time / static_cast<double>(run.iterations);
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void PrintSummary() {
        const double raw = m_Seconds["BM_RawRead"];
        const double one = m_Seconds["BM_OneMonitor"];
        const double twenty = m_Seconds["BM_TwentyMonitors"];
        if (raw <= 0 || one <= 0 || twenty <= 0) {
            return;
        }
        std::printf("(a) one sample %.1f us, raw read %.1f us, ratio %.2f (limit 2)\n", one * 1e6,
                    raw * 1e6, one / raw);
        std::printf("(b) %d monitors %.1f us, one monitor %.1f us, ratio %.2f (limit 3)\n",
                    kMonitors, twenty * 1e6, one * 1e6, twenty / one);
    }

private:
    std::map<std::string, double> m_Seconds;
};

} // namespace

int main(int argc, char** argv) {
    SCA_InitSystem(0xFFFFFFFFu);
    benchmark::Initialize(&argc, argv);
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintSummary();
    benchmark::Shutdown();
    return 0;
}
