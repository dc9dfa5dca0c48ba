// SPDX-License-Identifier: MIT
// One pass of the process monitor over the real /proc (scan and records) against a
// hand-written pass that opens and reads the same files (the computer's stat; each process's
// stat, io, fd folder and owner) with no bookkeeping, in the same run. The summary gives the cost
// of one pass, the number of processes and the ratio to the raw pass.
#include <chrono>
#include <cstdio>

#include <benchmark/benchmark.h>

#include "bench/RawProcPass.h"
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
        benchmark::DoNotOptimize(korvanta_bench::RawProcPass());
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
