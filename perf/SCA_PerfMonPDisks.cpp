// SPDX-License-Identifier: MIT
#include "perf/SCA_PerfMonPDisks.h"

#include <algorithm>

#include "perf/SCA_PerfErrors.h"
#include "perf/SCA_PerfInventory.h"
#include "perf/SCA_PerfSnapshot.h"

int SCA_PerfMonPDisks::Init(SCA_PerfMonitor* perfMonitor, const char* computer, uint32_t* error) {
    if (!SCA_PerfInventory::Begin("SCA_PerfMonPDisks::Init", perfMonitor, computer, this, error)) {
        return 0;
    }
    auto snapshot = SCA_PerfInventory::Snapshot(perfMonitor);
    const auto* disks = snapshot->GetPhysicalDisks();
    const auto* stats = snapshot->GetDiskStats();
    if (disks == nullptr || stats == nullptr) {
        *error = SCA_PERF_ERROR_NOT_SUPPORTED;
        return 0;
    }
    for (const tagSCA_DISK_STAT& stat : *stats) {
        if (std::find(disks->begin(), disks->end(), stat.Name) != disks->end()) {
            SCA_PerfInventory::Add(this, stat.Name.c_str());
        }
    }
    return 1;
}
