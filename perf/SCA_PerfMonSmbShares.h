#pragma once

#include "model/SCA_ConfigObj.h"

// The shared folders of a computer. The collector fills it, one field per item, for
// the counter picker; copies are whole trees.
class SCA_PerfMonSmbShares : public SCA_ConfigObj {
public:
    SCA_PerfMonSmbShares() : SCA_ConfigObj("SmbShares", nullptr) {}
    SCA_PerfMonSmbShares(const SCA_PerfMonSmbShares&) = default;
    ~SCA_PerfMonSmbShares() override = default;
};
