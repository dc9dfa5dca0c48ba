// SPDX-License-Identifier: MIT
#include "perf/SCA_PerfMonPrinters.h"

#include <string>
#include <vector>

#include "perf/SCA_PerfInventory.h"
#include "perf/SCA_PerfPrinters.h"

int SCA_PerfMonPrinters::Init(SCA_PerfMonitor* perfMonitor, const char* computer, uint32_t* error) {
    if (!SCA_PerfInventory::Begin("SCA_PerfMonPrinters::Init", perfMonitor, computer, this,
                                  error)) {
        return 0;
    }
    // No print server running is a computer without printers, not a failure.
    std::vector<std::string> printers;
    SCA_PerfPrinters::ListPrinters(&printers);
    for (const std::string& printer : printers) {
        SCA_PerfInventory::Add(this, printer.c_str());
    }
    return 1;
}
