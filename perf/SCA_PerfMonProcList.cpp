// SPDX-License-Identifier: MIT
#include "perf/SCA_PerfMonProcList.h"

#include "perf/SCA_PerfErrors.h"
#include "perf/SCA_PerfInventory.h"
#include "perf/SCA_PerfSnapshot.h"

int SCA_PerfMonProcList::Init(SCA_PerfMonitor* perfMonitor, const char* computer,
                              SCA_ConfigObj* exclude, uint32_t* error) {
    m_TotalInstances = 0;
    m_ExcludedInstances = 0;
    if (!SCA_PerfInventory::Begin("SCA_PerfMonProcList::Init", perfMonitor, computer, this,
                                  error)) {
        return 0;
    }
    const auto snapshot = SCA_PerfInventory::Snapshot(perfMonitor);
    const auto* processes = snapshot->GetProcesses();
    if (processes == nullptr) {
        *error = SCA_PERF_ERROR_NOT_SUPPORTED;
        return 0;
    }
    SCA_ConfigObj excluded("Excluded", nullptr);
    for (const tagSCA_PID_STAT& process : *processes) {
        const char* name = process.Name.c_str();
        if (IsFieldExists(name) || excluded.IsFieldExists(name)) {
            continue; // one instance per name
        }
        ++m_TotalInstances;
        if (SCA_PerfInventory::IsExcluded(exclude, name)) {
            ++m_ExcludedInstances;
            excluded.AddField(name, 0);
            continue;
        }
        SCA_PerfInventory::Add(this, name);
    }
    return 1;
}
