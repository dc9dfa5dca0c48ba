// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libtez/reports/SCA_TezReportWriter.h"

// File types of the configuration-object files the writer makes (beside the stored report's
// SCA_TEZ_REPORT_FILE_TYPE, which a counter report's data file shares so that it imports).
inline constexpr uint32_t SCA_TEZ_PROCESS_DATA_FILE_TYPE = 1019;
inline constexpr uint32_t SCA_TEZ_OWN_REPORT_FILE_TYPE = 1020;

// The product's own formats as configuration-object files. The data file (21) holds the source
// records whole: a counter report's stored form with its samples, which imports as a report, or
// a process list with its details and log. The report format (3) holds what the other writers
// show: header, summary, counter statistics, errors, processes and log.
class SCA_TezConfigWriter : public SCA_TezReportWriter {
public:
    explicit SCA_TezConfigWriter(uint32_t format) : m_Format(format) {}
    int Write(const SCA_TezReportModel& model, const char* path, uint32_t* error) override;

private:
    int WriteData(const SCA_TezReportModel& model, const char* path, uint32_t* error);
    int WriteReport(const SCA_TezReportModel& model, const char* path, uint32_t* error);

    uint32_t m_Format;
};
