// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "model/SCA_ConfigObj.h"

class SCA_PerfMonitor;

// The physical disks of a computer. The collector fills it, one field per item, for
// the counter picker; copies are whole trees.
class SCA_PerfMonPDisks : public SCA_ConfigObj {
public:
    SCA_PerfMonPDisks() : SCA_ConfigObj("PDisks", nullptr) {}
    SCA_PerfMonPDisks(const SCA_PerfMonPDisks&) = default;
    ~SCA_PerfMonPDisks() override = default;

    // Fills the list with the whole disks that have I/O statistics. 1 on success, else 0 with
    // *error.
    int Init(SCA_PerfMonitor* perfMonitor, const char* computer, uint32_t* error);
};
