#pragma once

#include "model/SCA_ConfigObj.h"

// The physical disks of a computer. The collector fills it, one field per item, for
// the counter picker; copies are whole trees.
class SCA_PerfMonPDisks : public SCA_ConfigObj {
public:
    SCA_PerfMonPDisks() : SCA_ConfigObj("PDisks", nullptr) {}
    SCA_PerfMonPDisks(const SCA_PerfMonPDisks&) = default;
    ~SCA_PerfMonPDisks() override = default;
};
