// SPDX-License-Identifier: MIT
#include "perf/SCA_PerfMonSqlSrvs.h"

#include "perf/SCA_PerfInventory.h"

int SCA_PerfMonSqlSrvs::Init(SCA_PerfMonitor* perfMonitor, const char* computer, uint32_t* error) {
    return SCA_PerfInventory::NotSupported("SCA_PerfMonSqlSrvs::Init", perfMonitor, computer, this,
                                           error);
}
