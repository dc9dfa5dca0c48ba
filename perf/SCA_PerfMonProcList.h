#pragma once

#include <cstdint>

#include "model/SCA_ConfigObj.h"

// The processes of a computer as the collector lists them for the counter picker, one field
// per instance, with the number of instances seen and of those left out by the filter. Copies
// are whole trees.
class SCA_PerfMonProcList : public SCA_ConfigObj {
public:
    SCA_PerfMonProcList() : SCA_ConfigObj("ProcList", nullptr) {}
    SCA_PerfMonProcList(const SCA_PerfMonProcList&) = default;
    ~SCA_PerfMonProcList() override = default;

    uint32_t GetTotalInstances() const { return m_TotalInstances; }
    uint32_t GetExcludedInstances() const { return m_ExcludedInstances; }

private:
    uint32_t m_TotalInstances = 0;
    uint32_t m_ExcludedInstances = 0;
};
