// SPDX-License-Identifier: MIT
#include "perf/SCA_PerfMonNicList.h"

#include "perf/SCA_PerfErrors.h"
#include "perf/SCA_PerfInventory.h"
#include "perf/SCA_PerfSnapshot.h"

int SCA_PerfMonNicList::Init(SCA_PerfMonitor* perfMonitor, const char* computer, uint32_t* error) {
    if (!SCA_PerfInventory::Begin("SCA_PerfMonNicList::Init", perfMonitor, computer, this, error)) {
        return 0;
    }
    const auto snapshot = SCA_PerfInventory::Snapshot(perfMonitor);
    const auto* devices = snapshot->GetNetDev();
    if (devices == nullptr) {
        *error = SCA_PERF_ERROR_NOT_SUPPORTED;
        return 0;
    }
    for (const tagSCA_NET_DEV& nic : *devices) {
        if (nic.Name != "lo") {
            SCA_PerfInventory::Add(this, nic.Name.c_str());
        }
    }
    return 1;
}
