// SPDX-License-Identifier: MIT
#include "perf/SCA_PerfMonSqlDbs.h"

#include "perf/SCA_PerfInventory.h"

int SCA_PerfMonSqlDbs::Init(SCA_PerfMonitor* perfMonitor, const char* computer,
                            const char* /*instance*/, SCA_ConfigObj* /*exclude*/, uint32_t* error) {
    return SCA_PerfInventory::NotSupported("SCA_PerfMonSqlDbs::Init", perfMonitor, computer, this,
                                           error);
}
