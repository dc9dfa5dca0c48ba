#pragma once

#include "model/SCA_ConfigObj.h"

// The USB devices of a computer. The collector fills it, one field per item, for
// the counter picker; copies are whole trees.
class SCA_PerfMonUsbList : public SCA_ConfigObj {
public:
    SCA_PerfMonUsbList() : SCA_ConfigObj("UsbList", nullptr) {}
    SCA_PerfMonUsbList(const SCA_PerfMonUsbList&) = default;
    ~SCA_PerfMonUsbList() override = default;
};
