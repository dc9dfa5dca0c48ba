// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "model/SCA_ConfigObj.h"

class SCA_PerfMonitor;

// The SQL server instances of a computer. The collector fills it, one field per item, for
// the counter picker; copies are whole trees.
class SCA_PerfMonSqlSrvs : public SCA_ConfigObj {
public:
    SCA_PerfMonSqlSrvs() : SCA_ConfigObj("SqlSrvs", nullptr) {}
    SCA_PerfMonSqlSrvs(const SCA_PerfMonSqlSrvs&) = default;
    ~SCA_PerfMonSqlSrvs() override = default;

    // SQL servers have no counters on Linux: 0 with 100196. 1 on success, else 0 with *error.
    int Init(SCA_PerfMonitor* perfMonitor, const char* computer, uint32_t* error);
};
