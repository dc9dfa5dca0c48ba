// SPDX-License-Identifier: MIT
#include "perf/SCA_PerfMonWebSites.h"

#include "perf/SCA_PerfInventory.h"

int SCA_PerfMonWebSites::Init(SCA_PerfMonitor* perfMonitor, const char* computer,
                              SCA_ConfigObj* /*exclude*/, uint32_t* error) {
    return SCA_PerfInventory::NotSupported("SCA_PerfMonWebSites::Init", perfMonitor, computer, this,
                                           error);
}
