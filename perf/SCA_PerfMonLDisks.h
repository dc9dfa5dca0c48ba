#pragma once

#include "model/SCA_ConfigObj.h"

// The logical disks of a computer. The collector fills it, one field per item, for
// the counter picker; copies are whole trees.
class SCA_PerfMonLDisks : public SCA_ConfigObj {
public:
    SCA_PerfMonLDisks() : SCA_ConfigObj("LDisks", nullptr) {}
    SCA_PerfMonLDisks(const SCA_PerfMonLDisks&) = default;
    ~SCA_PerfMonLDisks() override = default;
};
