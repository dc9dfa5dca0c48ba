// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>

#include "perf/SCA_ProcSample.h"

// The arithmetic of the counters, apart from any I/O: shares and rates from two readings of
// cumulative kernel counters. Every function answers "no value" (std::nullopt) rather than a
// number it cannot stand behind: a counter that went backwards (a reset or a wrap), no elapsed
// time, or nothing to divide by.
class SCA_PerfCalc {
public:
    // after - before, or nothing when the counter went backwards.
    static std::optional<uint64_t> Delta(uint64_t before, uint64_t after);
    // Seconds between two monotonic readings in nanoseconds; nothing unless time moved forward.
    static std::optional<double> Elapsed(uint64_t beforeNs, uint64_t afterNs);
    // (after - before) per second.
    static std::optional<double> Rate(uint64_t before, uint64_t after,
                                      std::optional<double> seconds);
    // part / whole as a percentage, held within 0..100; nothing when whole is 0.
    static std::optional<double> Percent(double part, double whole);
    // The growth of part as a share of the growth of whole, in percent.
    static std::optional<double> ShareOfDelta(uint64_t partBefore, uint64_t partAfter,
                                              uint64_t wholeBefore, uint64_t wholeAfter);
    // The used share of a file system the way df counts it: used / (used + available to users).
    static std::optional<double> SpaceUsage(uint64_t blocks, uint64_t freeBlocks,
                                            uint64_t availableBlocks);
    // numerator delta / denominator delta (average request size, average time per request).
    static std::optional<double> PerEvent(uint64_t amount, uint64_t events);

    // The figures of a process: the gauges from now alone; the shares and rates against before,
    // the same process at the previous reading (null for a process not seen then). A share is
    // the process's tick delta over the whole computer's (machineBefore to machineNow, every
    // processor together), so it stays within 0..100 however many processors there are; a rate
    // is a counter's delta over seconds. Both counter monitors and process monitors show these.
    static tagSCA_PROC_FIGURES ProcessFigures(const tagSCA_PROC_SAMPLE* before,
                                              const tagSCA_PROC_SAMPLE& now,
                                              std::optional<uint64_t> machineBefore,
                                              std::optional<uint64_t> machineNow,
                                              std::optional<double> seconds);
};
