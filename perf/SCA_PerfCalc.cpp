// SPDX-License-Identifier: MIT
#include "perf/SCA_PerfCalc.h"

#include <unistd.h>

namespace {

constexpr double kPercent = 100.0;
constexpr double kNsPerSecond = 1e9;

double PageSize() {
    static const long size = sysconf(_SC_PAGESIZE);
    return static_cast<double>(size > 0 ? size : 0);
}

std::optional<double> Sum(std::optional<double> a, std::optional<double> b) {
    return a && b ? std::optional(*a + *b) : std::nullopt;
}

} // namespace

std::optional<uint64_t> SCA_PerfCalc::Delta(uint64_t before, uint64_t after) {
    if (after < before) {
        return std::nullopt;
    }
    return after - before;
}

std::optional<double> SCA_PerfCalc::Elapsed(uint64_t beforeNs, uint64_t afterNs) {
    if (afterNs <= beforeNs) {
        return std::nullopt;
    }
    return static_cast<double>(afterNs - beforeNs) / kNsPerSecond;
}

std::optional<double> SCA_PerfCalc::Rate(uint64_t before, uint64_t after,
                                         std::optional<double> seconds) {
    const auto delta = Delta(before, after);
    if (!delta || !seconds || *seconds <= 0.0) {
        return std::nullopt;
    }
    return static_cast<double>(*delta) / *seconds;
}

std::optional<double> SCA_PerfCalc::Percent(double part, double whole) {
    if (!(whole > 0.0) || !(part >= 0.0)) {
        return std::nullopt;
    }
    const double share = part / whole * kPercent;
    return share > kPercent ? kPercent : share;
}

std::optional<double> SCA_PerfCalc::ShareOfDelta(uint64_t partBefore, uint64_t partAfter,
                                                 uint64_t wholeBefore, uint64_t wholeAfter) {
    const auto part = Delta(partBefore, partAfter);
    const auto whole = Delta(wholeBefore, wholeAfter);
    if (!part || !whole) {
        return std::nullopt;
    }
    return Percent(static_cast<double>(*part), static_cast<double>(*whole));
}

std::optional<double> SCA_PerfCalc::SpaceUsage(uint64_t blocks, uint64_t freeBlocks,
                                               uint64_t availableBlocks) {
    if (freeBlocks > blocks || availableBlocks > freeBlocks) {
        return std::nullopt;
    }
    const uint64_t used = blocks - freeBlocks;
    return Percent(static_cast<double>(used), static_cast<double>(used + availableBlocks));
}

std::optional<double> SCA_PerfCalc::PerEvent(uint64_t amount, uint64_t events) {
    if (events == 0) {
        return std::nullopt;
    }
    return static_cast<double>(amount) / static_cast<double>(events);
}

tagSCA_PROC_FIGURES SCA_PerfCalc::ProcessFigures(const tagSCA_PROC_SAMPLE* before,
                                                 const tagSCA_PROC_SAMPLE& now,
                                                 std::optional<uint64_t> machineBefore,
                                                 std::optional<uint64_t> machineNow,
                                                 std::optional<double> seconds) {
    const tagSCA_PID_STAT& b = now.Stat;
    tagSCA_PROC_FIGURES figures;
    figures.Memory = static_cast<double>(b.RssPages) * PageSize();
    figures.Threads = static_cast<double>(b.Threads);
    if (now.Handles) {
        figures.Handles = static_cast<double>(*now.Handles);
    }
    if (before == nullptr) {
        return figures;
    }
    const tagSCA_PID_STAT& a = before->Stat;
    if (machineBefore && machineNow) {
        auto share = [&](uint64_t partBefore, uint64_t partNow) {
            return ShareOfDelta(partBefore, partNow, *machineBefore, *machineNow);
        };
        figures.Cpu = share(a.UserTicks + a.SystemTicks, b.UserTicks + b.SystemTicks);
        figures.CpuUser = share(a.UserTicks, b.UserTicks);
        figures.CpuSystem = share(a.SystemTicks, b.SystemTicks);
    }
    figures.FaultRate = Rate(a.MinorFaults + a.MajorFaults, b.MinorFaults + b.MajorFaults, seconds);
    if (before->Io && now.Io) {
        const tagSCA_PID_IO& x = *before->Io;
        const tagSCA_PID_IO& y = *now.Io;
        figures.ReadRate = Rate(x.ReadChars, y.ReadChars, seconds);
        figures.WriteRate = Rate(x.WriteChars, y.WriteChars, seconds);
        figures.DataRate = Sum(figures.ReadRate, figures.WriteRate);
        figures.ReadIops = Rate(x.ReadCalls, y.ReadCalls, seconds);
        figures.WriteIops = Rate(x.WriteCalls, y.WriteCalls, seconds);
        figures.DataIops = Sum(figures.ReadIops, figures.WriteIops);
    }
    return figures;
}
