// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "model/SCA_ConfigObj.h"

class SCA_PerfMonitor;

// The logical disks of a computer. The collector fills it, one field per item, for
// the counter picker; copies are whole trees.
class SCA_PerfMonLDisks : public SCA_ConfigObj {
public:
    SCA_PerfMonLDisks() : SCA_ConfigObj("LDisks", nullptr) {}
    SCA_PerfMonLDisks(const SCA_PerfMonLDisks&) = default;
    ~SCA_PerfMonLDisks() override = default;

    // Fills the list with the mount points of the real (not pseudo) file systems. 1 on success,
    // else 0 with *error.
    int Init(SCA_PerfMonitor* perfMonitor, const char* computer, uint32_t* error);
};
