// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "model/SCA_ConfigObj.h"

class SCA_PerfMonitor;

// The printers of a computer. The collector fills it, one field per item, for
// the counter picker; copies are whole trees.
class SCA_PerfMonPrinters : public SCA_ConfigObj {
public:
    SCA_PerfMonPrinters() : SCA_ConfigObj("Printers", nullptr) {}
    SCA_PerfMonPrinters(const SCA_PerfMonPrinters&) = default;
    ~SCA_PerfMonPrinters() override = default;

    // Fills the list with the print queues; empty when no print server runs. 1 on success, else 0
    // with *error.
    int Init(SCA_PerfMonitor* perfMonitor, const char* computer, uint32_t* error);
};
