// SPDX-License-Identifier: MIT
#include "perf/SCA_PerfMonCpuList.h"

#include <string>

#include "perf/SCA_PerfErrors.h"
#include "perf/SCA_PerfInventory.h"
#include "perf/SCA_PerfSnapshot.h"

int SCA_PerfMonCpuList::Init(SCA_PerfMonitor* perfMonitor, const char* computer, uint32_t* error) {
    if (!SCA_PerfInventory::Begin("SCA_PerfMonCpuList::Init", perfMonitor, computer, this, error)) {
        return 0;
    }
    const auto snapshot = SCA_PerfInventory::Snapshot(perfMonitor);
    const tagSCA_PROC_STAT* stat = snapshot->GetStat();
    if (stat == nullptr) {
        *error = SCA_PERF_ERROR_NOT_SUPPORTED;
        return 0;
    }
    for (const auto& cpu : stat->Cpus) {
        SCA_PerfInventory::Add(this, std::to_string(cpu.first).c_str());
    }
    return 1;
}
