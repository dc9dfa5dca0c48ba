// SPDX-License-Identifier: MIT
#pragma once

#include "libtez/reports/SCA_TezReportWriter.h"

// An Excel workbook (libxlsxwriter): a report sheet with the figures, a sheet of samples (one
// column per counter) with a line chart of them, and the errors; for processes their sheets.
class SCA_TezExcelWriter : public SCA_TezReportWriter {
public:
    int Write(const SCA_TezReportModel& model, const char* path, uint32_t* error) override;
};
