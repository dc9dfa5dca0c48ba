// SPDX-License-Identifier: MIT
#pragma once

#include "libtez/reports/SCA_TezReportWriter.h"

// A self-contained HTML page of tables; every text is escaped.
class SCA_TezHtmlWriter : public SCA_TezReportWriter {
public:
    int Write(const SCA_TezReportModel& model, const char* path, uint32_t* error) override;
};
