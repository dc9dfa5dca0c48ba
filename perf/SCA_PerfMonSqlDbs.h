// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "model/SCA_ConfigObj.h"

class SCA_PerfMonitor;

// The databases of an SQL server instance. The collector fills it, one field per item, for
// the counter picker; copies are whole trees.
class SCA_PerfMonSqlDbs : public SCA_ConfigObj {
public:
    SCA_PerfMonSqlDbs() : SCA_ConfigObj("SqlDbs", nullptr) {}
    SCA_PerfMonSqlDbs(const SCA_PerfMonSqlDbs&) = default;
    ~SCA_PerfMonSqlDbs() override = default;

    // SQL servers have no counters on Linux: 0 with 100196. 1 on success, else 0 with *error.
    int Init(SCA_PerfMonitor* perfMonitor, const char* computer, const char* instance,
             SCA_ConfigObj* exclude, uint32_t* error);
};
