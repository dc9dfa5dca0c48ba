// SPDX-License-Identifier: MIT
#pragma once

#include "libtez/reports/SCA_TezReportWriter.h"

// A PDF document (cairo) on A4 pages: the header and summary, then per counter a table of its
// statistics and a chart of its samples, then the errors; for processes a table and the log.
class SCA_TezPdfWriter : public SCA_TezReportWriter {
public:
    int Write(const SCA_TezReportModel& model, const char* path, uint32_t* error) override;
};
