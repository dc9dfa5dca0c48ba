#pragma once

#include "model/SCA_ConfigObj.h"

// The printers of a computer. The collector fills it, one field per item, for
// the counter picker; copies are whole trees.
class SCA_PerfMonPrinters : public SCA_ConfigObj {
public:
    SCA_PerfMonPrinters() : SCA_ConfigObj("Printers", nullptr) {}
    SCA_PerfMonPrinters(const SCA_PerfMonPrinters&) = default;
    ~SCA_PerfMonPrinters() override = default;
};
