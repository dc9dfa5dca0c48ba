// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "model/SCA_ConfigObj.h"

class SCA_PerfMonitor;

// The shared folders of a computer. The collector fills it, one field per item, for
// the counter picker; copies are whole trees.
class SCA_PerfMonSmbShares : public SCA_ConfigObj {
public:
    SCA_PerfMonSmbShares() : SCA_ConfigObj("SmbShares", nullptr) {}
    SCA_PerfMonSmbShares(const SCA_PerfMonSmbShares&) = default;
    ~SCA_PerfMonSmbShares() override = default;

    // Fills the list with the shares of the Samba configuration and the user
    // shares; 0 with 100196 when Samba is not installed. 1 on success, else 0 with *error.
    int Init(SCA_PerfMonitor* perfMonitor, const char* computer, uint32_t kind,
             SCA_ConfigObj* exclude, uint32_t* error);
};
