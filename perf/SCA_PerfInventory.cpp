// SPDX-License-Identifier: MIT
#include "perf/SCA_PerfInventory.h"

#include "model/SCA_ConfigObj.h"
#include "perf/SCA_PerfErrors.h"
#include "perf/SCA_PerfMonitor.h"

int SCA_PerfInventory::Begin(const char* operation, SCA_PerfMonitor* perfMonitor,
                             const char* computer, SCA_ConfigObj* list, uint32_t* error) {
    if (list != nullptr) {
        list->Clear();
    }
    if (perfMonitor == nullptr || list == nullptr) {
        if (error != nullptr) {
            *error = SCA_PERF_ERROR_ARGUMENT;
        }
        return 0;
    }
    return perfMonitor->CheckComputer(operation, computer, error);
}

std::shared_ptr<SCA_PerfSnapshot> SCA_PerfInventory::Snapshot(SCA_PerfMonitor* perfMonitor) {
    return perfMonitor->GetStore()->MakeSnapshot();
}

bool SCA_PerfInventory::IsExcluded(SCA_ConfigObj* exclude, const char* name) {
    SCA_Field* field = nullptr;
    return exclude != nullptr && exclude->GetFieldByName(name, &field) != 0;
}

int SCA_PerfInventory::Add(SCA_ConfigObj* list, const char* name) {
    SCA_Field* field = nullptr;
    if (list->GetFieldByName(name, &field)) {
        return 1;
    }
    return list->AddField(name, static_cast<int>(list->GetFieldCount()));
}

int SCA_PerfInventory::NotSupported(const char* operation, SCA_PerfMonitor* perfMonitor,
                                    const char* computer, SCA_ConfigObj* list, uint32_t* error) {
    if (Begin(operation, perfMonitor, computer, list, error) && error != nullptr) {
        *error = SCA_PERF_ERROR_NOT_SUPPORTED;
    }
    return 0;
}
