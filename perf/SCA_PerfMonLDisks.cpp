// SPDX-License-Identifier: MIT
#include "perf/SCA_PerfMonLDisks.h"

#include "perf/SCA_PerfErrors.h"
#include "perf/SCA_PerfInventory.h"
#include "perf/SCA_PerfSnapshot.h"

int SCA_PerfMonLDisks::Init(SCA_PerfMonitor* perfMonitor, const char* computer, uint32_t* error) {
    if (!SCA_PerfInventory::Begin("SCA_PerfMonLDisks::Init", perfMonitor, computer, this, error)) {
        return 0;
    }
    const auto snapshot = SCA_PerfInventory::Snapshot(perfMonitor);
    const auto* mounts = snapshot->GetMounts();
    if (mounts == nullptr) {
        *error = SCA_PERF_ERROR_NOT_SUPPORTED;
        return 0;
    }
    for (const tagSCA_MOUNT_SPACE& mount : *mounts) {
        SCA_PerfInventory::Add(this, mount.Mount.MountPoint.c_str());
    }
    return 1;
}
