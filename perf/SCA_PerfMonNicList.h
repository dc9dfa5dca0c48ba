#pragma once

#include "model/SCA_ConfigObj.h"

// The network interfaces of a computer. The collector fills it, one field per item, for
// the counter picker; copies are whole trees.
class SCA_PerfMonNicList : public SCA_ConfigObj {
public:
    SCA_PerfMonNicList() : SCA_ConfigObj("NicList", nullptr) {}
    SCA_PerfMonNicList(const SCA_PerfMonNicList&) = default;
    ~SCA_PerfMonNicList() override = default;
};
