// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "model/SCA_ConfigObj.h"

class SCA_PerfMonitor;

// The processors of a computer. The collector fills it, one field per item, for
// the counter picker; copies are whole trees.
class SCA_PerfMonCpuList : public SCA_ConfigObj {
public:
    SCA_PerfMonCpuList() : SCA_ConfigObj("CpuList", nullptr) {}
    SCA_PerfMonCpuList(const SCA_PerfMonCpuList&) = default;
    ~SCA_PerfMonCpuList() override = default;

    // Fills the list with the processors ("0", "1", ...). 1 on success, else 0 with *error.
    int Init(SCA_PerfMonitor* perfMonitor, const char* computer, uint32_t* error);
};
