// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "model/SCA_ConfigObj.h"

class SCA_PerfMonitor;

// The iSCSI targets of a computer. The collector fills it, one field per item, for
// the counter picker; copies are whole trees.
class SCA_PerfMonIScsiTrgs : public SCA_ConfigObj {
public:
    SCA_PerfMonIScsiTrgs() : SCA_ConfigObj("IScsiTrgs", nullptr) {}
    SCA_PerfMonIScsiTrgs(const SCA_PerfMonIScsiTrgs&) = default;
    ~SCA_PerfMonIScsiTrgs() override = default;

    // iSCSI targets have no counters on Linux: 0 with 100196. 1 on success, else 0 with *error.
    int Init(SCA_PerfMonitor* perfMonitor, const char* computer, SCA_ConfigObj* exclude,
             uint32_t* error);
};
