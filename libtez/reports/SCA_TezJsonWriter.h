// SPDX-License-Identifier: MIT
#pragma once

#include "libtez/reports/SCA_TezReportWriter.h"

// A JSON document (nlohmann-json); a sample without a value is null.
class SCA_TezJsonWriter : public SCA_TezReportWriter {
public:
    int Write(const SCA_TezReportModel& model, const char* path, uint32_t* error) override;
};
