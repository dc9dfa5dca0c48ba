// SPDX-License-Identifier: MIT
#include "perf/SCA_PerfMonCpuListEx.h"

#include <string>

#include "perf/SCA_PerfErrors.h"
#include "perf/SCA_PerfInventory.h"
#include "perf/SCA_PerfSnapshot.h"

int SCA_PerfMonCpuListEx::Init(SCA_PerfMonitor* perfMonitor, const char* computer,
                               uint32_t* error) {
    if (!SCA_PerfInventory::Begin("SCA_PerfMonCpuListEx::Init", perfMonitor, computer, this,
                                  error)) {
        return 0;
    }
    auto snapshot = SCA_PerfInventory::Snapshot(perfMonitor);
    const tagSCA_PROC_STAT* stat = snapshot->GetStat();
    if (stat != nullptr) {
        for (const auto& cpu : stat->Cpus) {
            if (snapshot->GetCpuFreq(cpu.first)) {
                SCA_PerfInventory::Add(this, std::to_string(cpu.first).c_str());
            }
        }
    }
    // An empty list must not read as "frequencies available".
    if (GetFieldCount() == 0) {
        *error = SCA_PERF_ERROR_NOT_SUPPORTED;
        return 0;
    }
    return 1;
}
