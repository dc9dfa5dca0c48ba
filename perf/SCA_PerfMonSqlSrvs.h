#pragma once

#include "model/SCA_ConfigObj.h"

// The SQL server instances of a computer. The collector fills it, one field per item, for
// the counter picker; copies are whole trees.
class SCA_PerfMonSqlSrvs : public SCA_ConfigObj {
public:
    SCA_PerfMonSqlSrvs() : SCA_ConfigObj("SqlSrvs", nullptr) {}
    SCA_PerfMonSqlSrvs(const SCA_PerfMonSqlSrvs&) = default;
    ~SCA_PerfMonSqlSrvs() override = default;
};
