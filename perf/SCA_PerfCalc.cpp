#include "perf/SCA_PerfCalc.h"

namespace {

constexpr double kPercent = 100.0;
constexpr double kNsPerSecond = 1e9;

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
