// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "model/SCA_ConfigObj.h"

class SCA_PerfMonitor;

// The processes of a computer as the collector lists them for the counter picker, one field
// per instance, with the number of instances seen and of those left out by the filter. Copies
// are whole trees.
class SCA_PerfMonProcList : public SCA_ConfigObj {
public:
    SCA_PerfMonProcList() : SCA_ConfigObj("ProcList", nullptr) {}
    SCA_PerfMonProcList(const SCA_PerfMonProcList&) = default;
    ~SCA_PerfMonProcList() override = default;

    // Fills the list with the names of the running processes, less the excluded
    // ones; counts the names seen and those left out. 1 on success, else 0 with *error.
    int Init(SCA_PerfMonitor* perfMonitor, const char* computer, SCA_ConfigObj* exclude,
             uint32_t* error);

    uint32_t GetTotalInstances() const { return m_TotalInstances; }
    uint32_t GetExcludedInstances() const { return m_ExcludedInstances; }

private:
    uint32_t m_TotalInstances = 0;
    uint32_t m_ExcludedInstances = 0;
};
