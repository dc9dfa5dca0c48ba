// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "model/SCA_ConfigObj.h"

class SCA_PerfMonitor;

// The network interfaces of a computer. The collector fills it, one field per item, for
// the counter picker; copies are whole trees.
class SCA_PerfMonNicList : public SCA_ConfigObj {
public:
    SCA_PerfMonNicList() : SCA_ConfigObj("NicList", nullptr) {}
    SCA_PerfMonNicList(const SCA_PerfMonNicList&) = default;
    ~SCA_PerfMonNicList() override = default;

    // Fills the list with the network interfaces, loopback left out. 1 on success, else 0 with
    // *error.
    int Init(SCA_PerfMonitor* perfMonitor, const char* computer, uint32_t* error);
};
