#pragma once

#include "model/SCA_ConfigObj.h"

// The processors of a computer. The collector fills it, one field per item, for
// the counter picker; copies are whole trees.
class SCA_PerfMonCpuList : public SCA_ConfigObj {
public:
    SCA_PerfMonCpuList() : SCA_ConfigObj("CpuList", nullptr) {}
    SCA_PerfMonCpuList(const SCA_PerfMonCpuList&) = default;
    ~SCA_PerfMonCpuList() override = default;
};
