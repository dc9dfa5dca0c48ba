#pragma once

#include "model/SCA_ConfigObj.h"

// The processors of a computer with their frequencies. The collector fills it, one field per item,
// for the counter picker; copies are whole trees.
class SCA_PerfMonCpuListEx : public SCA_ConfigObj {
public:
    SCA_PerfMonCpuListEx() : SCA_ConfigObj("CpuListEx", nullptr) {}
    SCA_PerfMonCpuListEx(const SCA_PerfMonCpuListEx&) = default;
    ~SCA_PerfMonCpuListEx() override = default;
};
