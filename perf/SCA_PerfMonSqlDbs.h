#pragma once

#include "model/SCA_ConfigObj.h"

// The databases of an SQL server instance. The collector fills it, one field per item, for
// the counter picker; copies are whole trees.
class SCA_PerfMonSqlDbs : public SCA_ConfigObj {
public:
    SCA_PerfMonSqlDbs() : SCA_ConfigObj("SqlDbs", nullptr) {}
    SCA_PerfMonSqlDbs(const SCA_PerfMonSqlDbs&) = default;
    ~SCA_PerfMonSqlDbs() override = default;
};
