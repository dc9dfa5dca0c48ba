// SPDX-License-Identifier: MIT
// One pass of the process monitor over the real /proc (scan and records) against a
// hand-written pass that opens, reads and parses the same files and fields (the computer's
// processor ticks; each process's stat, io, fd folder and owner) with no bookkeeping, in the
// same run. The summary gives the processor time of one pass, the number of processes and the
// ratio to the raw pass.
#include <cstdio>
#include <ctime>

#include <benchmark/benchmark.h>

#include "bench/RawProcPass.h"
#include "libtez/SCA_TezProcessMonitor.h"

namespace {

// Processor time of this thread: the machine is shared, and time spent waiting for a processor
// is nobody's cost here.
double ThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

struct Totals {
    double Seconds = 0.0;
    uint64_t Passes = 0;
    double PerPass() const { return Passes != 0 ? Seconds / Passes : 0.0; }
    template <typename Pass>
    void Time(Pass pass) {
        const double start = ThreadSeconds();
        pass();
        Seconds += ThreadSeconds() - start;
        ++Passes;
    }
};
Totals g_Monitor;
Totals g_Raw;
size_t g_Processes = 0;

// One raw pass and one monitor pass in turn, so that both see the same load of the machine
// from moment to moment.
void BM_Passes(benchmark::State& state) {
    SCA_TezProcessMonitor monitor(nullptr, nullptr, nullptr, nullptr);
    uint64_t ns = 0;
    monitor.ScanOnce(ns, 0); // the first pass names every process once
    for (auto _ : state) {
        g_Raw.Time([] { benchmark::DoNotOptimize(korvanta_bench::RawProcPass()); });
        ns += 1000000000ull;
        g_Monitor.Time([&] { benchmark::DoNotOptimize(monitor.ScanOnce(ns, ns)); });
    }
    g_Processes = monitor.GetScanner()->GetCurrent().size();
}

} // namespace

BENCHMARK(BM_Passes)->Unit(benchmark::kMillisecond)->MinTime(4.0);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("processes: %zu\nmonitor pass: %.3f ms\nraw pass: %.3f ms\nratio: %.2f\n",
                g_Processes, g_Monitor.PerPass() * 1e3, g_Raw.PerPass() * 1e3,
                g_Raw.PerPass() > 0 ? g_Monitor.PerPass() / g_Raw.PerPass() : 0.0);
    return 0;
}
