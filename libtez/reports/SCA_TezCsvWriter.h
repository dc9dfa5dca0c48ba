// SPDX-License-Identifier: MIT
#pragma once

#include "libtez/reports/SCA_TezReportWriter.h"

// RFC 4180 CSV: one section per part of the report, each with its own heading row, sections
// apart by an empty line. Text that a spreadsheet would run as a formula is neutralised.
class SCA_TezCsvWriter : public SCA_TezReportWriter {
public:
    int Write(const SCA_TezReportModel& model, const char* path, uint32_t* error) override;
};
