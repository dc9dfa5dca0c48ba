// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "model/SCA_ConfigObj.h"

class SCA_PerfMonitor;

// The USB devices of a computer. The collector fills it, one field per item, for
// the counter picker; copies are whole trees.
class SCA_PerfMonUsbList : public SCA_ConfigObj {
public:
    SCA_PerfMonUsbList() : SCA_ConfigObj("UsbList", nullptr) {}
    SCA_PerfMonUsbList(const SCA_PerfMonUsbList&) = default;
    ~SCA_PerfMonUsbList() override = default;

    // Fills the list with the USB devices ("1-2 Product"), hubs of the buses left out. 1 on
    // success, else 0 with *error.
    int Init(SCA_PerfMonitor* perfMonitor, const char* computer, uint32_t* error);
};
