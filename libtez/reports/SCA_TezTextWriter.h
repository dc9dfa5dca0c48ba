// SPDX-License-Identifier: MIT
#pragma once

#include "libtez/reports/SCA_TezReportWriter.h"

// A plain-text report for reading: aligned name/value lines and one block per counter.
class SCA_TezTextWriter : public SCA_TezReportWriter {
public:
    int Write(const SCA_TezReportModel& model, const char* path, uint32_t* error) override;
};
