#pragma once

#include "model/SCA_ConfigObj.h"

// The iSCSI targets of a computer. The collector fills it, one field per item, for
// the counter picker; copies are whole trees.
class SCA_PerfMonIScsiTrgs : public SCA_ConfigObj {
public:
    SCA_PerfMonIScsiTrgs() : SCA_ConfigObj("IScsiTrgs", nullptr) {}
    SCA_PerfMonIScsiTrgs(const SCA_PerfMonIScsiTrgs&) = default;
    ~SCA_PerfMonIScsiTrgs() override = default;
};
