// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>

#include "perf/SCA_PerfSnapshot.h"
#include "perf/SCA_PerfSourceTable.h"

// The value of one counter from the snapshots of two ticks: the readers' numbers put through
// the calculators. before is null at the first sample, when only gauges have a value.
class SCA_PerfCounterEval {
public:
    static std::optional<double> Evaluate(const tagSCA_PERF_SOURCE& source,
                                          const std::string& instance, SCA_PerfSnapshot* before,
                                          SCA_PerfSnapshot& now);
};
