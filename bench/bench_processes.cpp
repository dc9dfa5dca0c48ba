// SPDX-License-Identifier: MIT
// One pass of the process monitor over the real /proc (scan and records) against a
// hand-written pass that opens, reads and parses the same files and fields (the computer's
// processor ticks; each process's stat, io, fd folder and owner) with no bookkeeping, in the
// same run. The two passes take turns, so that both see the same load of the machine from
// moment to moment; each is timed in processor time of its thread. Idle children are started
// until the computer has the asked number of processes, and ended by id at the end.
// Three windows, each with its load; min/median/max of the ratio over them.
//
// Usage: bench_processes [--processes N] [--passes N]   (defaults 2200 and 20 a window)
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <signal.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "bench/BenchSupport.h"
#include "bench/RawProcPass.h"
#include "libtez/SCA_TezProcessMonitor.h"

namespace {

using korvanta_bench::kWindows;
using korvanta_bench::Spread;
constexpr int kDefaultPasses = 20;
constexpr size_t kDefaultProcesses = 2200;
constexpr double kRatioTarget = 1.1;
constexpr uint64_t kSecondNs = 1000000000ull;

struct Options {
    size_t Processes = kDefaultProcesses;
    int Passes = kDefaultPasses;
};

Options ParseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::printf("usage: bench_processes [--processes N] [--passes N]\n"
                        "The process monitor's pass against a raw pass over /proc.\n");
            std::exit(0);
        }
        if (hasValue && std::strcmp(argv[i], "--processes") == 0) {
            options.Processes = static_cast<size_t>(std::max(1, std::atoi(argv[++i])));
        } else if (hasValue && std::strcmp(argv[i], "--passes") == 0) {
            options.Passes = std::max(1, std::atoi(argv[++i]));
        }
    }
    return options;
}

// Processor time of this thread: the machine is shared, and time spent waiting for a processor
// is nobody's cost here.
double ThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

std::string LoadAverage() {
    double load[3] = {0, 0, 0};
    char text[64] = "?";
    if (getloadavg(load, 3) == 3) {
        std::snprintf(text, sizeof(text), "%.2f %.2f %.2f", load[0], load[1], load[2]);
    }
    return text;
}

size_t CountProcesses() {
    size_t count = 0;
    if (DIR* dir = opendir("/proc")) {
        while (const dirent* entry = readdir(dir)) {
            count += entry->d_name[0] >= '1' && entry->d_name[0] <= '9' ? 1 : 0;
        }
        closedir(dir);
    }
    return count;
}

// Children that wait on a pipe until they are ended, so that /proc holds as many processes as
// a busy server has. They also end on their own when this program dies (the pipe closes).
class IdleChildren {
public:
    explicit IdleChildren(size_t wanted) {
        int hold[2];
        if (::pipe(hold) != 0) {
            return;
        }
        for (size_t have = CountProcesses(); have < wanted; ++have) {
            const pid_t child = ::fork();
            if (child == 0) {
                ::close(hold[1]);
                char byte = 0;
                while (::read(hold[0], &byte, 1) > 0) {
                }
                ::_exit(0);
            }
            if (child < 0) {
                std::fprintf(stderr, "could start only %zu children\n", m_Children.size());
                break;
            }
            m_Children.push_back(child);
        }
        ::close(hold[0]);
        m_Hold = hold[1];
    }
    ~IdleChildren() {
        ::close(m_Hold);
        for (const pid_t child : m_Children) {
            ::kill(child, SIGTERM);
        }
        for (const pid_t child : m_Children) {
            ::waitpid(child, nullptr, 0);
        }
    }
    IdleChildren(const IdleChildren&) = delete;
    IdleChildren& operator=(const IdleChildren&) = delete;

private:
    std::vector<pid_t> m_Children;
    int m_Hold = -1;
};

struct Window {
    double MonitorMs = 0;
    double RawMs = 0;
    double Ratio() const { return RawMs > 0 ? MonitorMs / RawMs : 0.0; }
};

// passes turns of one raw pass and one monitor pass; the processor time of each per pass.
Window MeasureWindow(SCA_TezProcessMonitor* monitor, uint64_t* ns, int passes) {
    double raw = 0;
    double ours = 0;
    size_t checksum = 0;
    for (int i = 0; i < passes; ++i) {
        double start = ThreadSeconds();
        checksum += korvanta_bench::RawProcPass();
        raw += ThreadSeconds() - start;
        *ns += kSecondNs;
        start = ThreadSeconds();
        checksum += static_cast<size_t>(monitor->ScanOnce(*ns, *ns));
        ours += ThreadSeconds() - start;
    }
    if (checksum == 0) {
        std::fprintf(stderr, "nothing was read\n");
    }
    return {ours * 1e3 / passes, raw * 1e3 / passes};
}

} // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const Options options = ParseOptions(argc, argv);
    const IdleChildren children(options.Processes);
    SCA_TezProcessMonitor monitor(nullptr, nullptr, nullptr, nullptr);
    uint64_t ns = kSecondNs;
    monitor.ScanOnce(ns, ns); // the first pass names every process once
    MeasureWindow(&monitor, &ns, 1);
    std::printf("process monitor pass against a raw pass, %zu entries in /proc, %zu processes "
                "kept, %d passes a window\n",
                CountProcesses(), monitor.GetScanner()->GetCurrent().size(), options.Passes);
    std::vector<double> ours, raw, ratios;
    for (int window = 0; window < kWindows; ++window) {
        const std::string before = LoadAverage();
        const Window measured = MeasureWindow(&monitor, &ns, options.Passes);
        std::printf(
            "  window %d (load %s -> %s): monitor %.3f ms, raw %.3f ms a pass, ratio %.2f\n",
            window + 1, before.c_str(), LoadAverage().c_str(), measured.MonitorMs, measured.RawMs,
            measured.Ratio());
        ours.push_back(measured.MonitorMs);
        raw.push_back(measured.RawMs);
        ratios.push_back(measured.Ratio());
    }
    const bool met = *std::max_element(ratios.begin(), ratios.end()) <= kRatioTarget;
    std::printf("  min/median/max: monitor %s ms, raw %s ms, ratio %s (target <= %.1f in every "
                "window) %s\n",
                Spread{ours}.Text(3).c_str(), Spread{raw}.Text(3).c_str(),
                Spread{ratios}.Text(2).c_str(), kRatioTarget, met ? "PASS" : "FAIL");
    return 0;
}
