#pragma once

#include "model/SCA_ConfigObj.h"

// The web sites of a computer. The collector fills it, one field per item, for
// the counter picker; copies are whole trees.
class SCA_PerfMonWebSites : public SCA_ConfigObj {
public:
    SCA_PerfMonWebSites() : SCA_ConfigObj("WebSites", nullptr) {}
    SCA_PerfMonWebSites(const SCA_PerfMonWebSites&) = default;
    ~SCA_PerfMonWebSites() override = default;
};
