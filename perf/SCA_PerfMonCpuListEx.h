// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "model/SCA_ConfigObj.h"

class SCA_PerfMonitor;

// The processors of a computer with their frequencies. The collector fills it, one field per item,
// for the counter picker; copies are whole trees.
class SCA_PerfMonCpuListEx : public SCA_ConfigObj {
public:
    SCA_PerfMonCpuListEx() : SCA_ConfigObj("CpuListEx", nullptr) {}
    SCA_PerfMonCpuListEx(const SCA_PerfMonCpuListEx&) = default;
    ~SCA_PerfMonCpuListEx() override = default;

    // Fills the list with the processors whose frequency can be read; 0 with
    // 100196 when none can. 1 on success, else 0 with *error.
    int Init(SCA_PerfMonitor* perfMonitor, const char* computer, uint32_t* error);
};
