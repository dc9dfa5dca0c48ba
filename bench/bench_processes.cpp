// One pass of the process monitor over the real /proc (scan and records) against a
// hand-written pass that opens and reads the same files (stat, status, io, the fd folder,
// the owner) with no bookkeeping, in the same run. The summary gives the cost of one pass,
// the number of processes and the ratio to the raw pass.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include "libtez/SCA_TezProcessMonitor.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Totals {
    double Seconds = 0.0;
    uint64_t Passes = 0;
    double PerPass() const { return Passes != 0 ? Seconds / Passes : 0.0; }
};
Totals g_Monitor;
Totals g_Raw;
size_t g_Processes = 0;

size_t ReadFile(int dir, const char* name, char* buf, size_t size) {
    const int fd = openat(dir, name, O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return 0;
    }
    size_t total = 0;
    ssize_t got = 0;
    while ((got = read(fd, buf, size)) > 0) {
        total += static_cast<size_t>(got);
    }
    close(fd);
    return total;
}

size_t RawPass() {
    static char buf[65536];
    size_t bytes = 0;
    DIR* root = opendir("/proc");
    while (const dirent* entry = readdir(root)) {
        if (entry->d_name[0] < '1' || entry->d_name[0] > '9') {
            continue;
        }
        char path[300];
        std::snprintf(path, sizeof(path), "/proc/%s", entry->d_name);
        const int dir = open(path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dir < 0) {
            continue;
        }
        struct stat info {};
        fstat(dir, &info);
        const size_t statBytes = ReadFile(dir, "stat", buf, sizeof(buf) - 1);
        buf[statBytes] = '\0';
        // Kernel threads are skipped after their stat, as the monitor does.
        const char* paren = std::strrchr(buf, ')');
        unsigned flags = 0;
        if (paren == nullptr ||
            std::sscanf(paren + 1, " %*c %*d %*d %*d %*d %*d %u", &flags) != 1 ||
            (flags & 0x00200000u) != 0) {
            close(dir);
            continue;
        }
        bytes += statBytes;
        bytes += ReadFile(dir, "status", buf, sizeof(buf));
        bytes += ReadFile(dir, "io", buf, sizeof(buf));
        const int fdDir = openat(dir, "fd", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (DIR* fds = fdDir >= 0 ? fdopendir(fdDir) : nullptr) {
            while (readdir(fds) != nullptr) {
                ++bytes;
            }
            closedir(fds);
        } else if (fdDir >= 0) {
            close(fdDir);
        }
        close(dir);
    }
    closedir(root);
    return bytes;
}

void BM_MonitorPass(benchmark::State& state) {
    SCA_TezProcessMonitor monitor(nullptr, nullptr, nullptr, nullptr);
    uint64_t ns = 0;
    monitor.ScanOnce(ns, 0); // the first pass names every process once
    for (auto _ : state) {
        ns += 1000000000ull;
        const auto start = Clock::now();
        benchmark::DoNotOptimize(monitor.ScanOnce(ns, ns));
        g_Monitor.Seconds += std::chrono::duration<double>(Clock::now() - start).count();
        ++g_Monitor.Passes;
    }
    g_Processes = monitor.GetScanner()->GetCurrent().size();
}

void BM_RawPass(benchmark::State& state) {
    for (auto _ : state) {
        const auto start = Clock::now();
        benchmark::DoNotOptimize(RawPass());
        g_Raw.Seconds += std::chrono::duration<double>(Clock::now() - start).count();
        ++g_Raw.Passes;
    }
}

} // namespace

// Alternated so that both see the same load of the machine.
BENCHMARK(BM_RawPass)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_MonitorPass)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_RawPass)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_MonitorPass)->Unit(benchmark::kMillisecond)->MinTime(1.0);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("processes: %zu\nmonitor pass: %.3f ms\nraw pass: %.3f ms\nratio: %.2f\n",
                g_Processes, g_Monitor.PerPass() * 1e3, g_Raw.PerPass() * 1e3,
                g_Raw.PerPass() > 0 ? g_Monitor.PerPass() / g_Raw.PerPass() : 0.0);
    return 0;
}
