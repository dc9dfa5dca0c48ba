// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

#include "libmor/SCA_Heap.h"
#include "model/SCA_TezReportFormat.h"

class SCA_TezReportModel;

// Error code of an invalid format (beyond errno values).
inline constexpr uint32_t SCA_TEZ_ERR_FORMAT = 100601;

// Writes a report model in one save format (SCA_TezReportWriterFactory makes the writer of a
// format). The writers hold no state between reports.
class SCA_TezReportWriter {
public:
    SCA_HEAP_OPERATORS

    virtual ~SCA_TezReportWriter() = default;
    SCA_TezReportWriter(const SCA_TezReportWriter&) = delete;
    SCA_TezReportWriter& operator=(const SCA_TezReportWriter&) = delete;

    // Writes model into the file at path, replacing it whole or leaving it as it was. 0 with
    // *error set on failure.
    virtual int Write(const SCA_TezReportModel& model, const char* path, uint32_t* error) = 0;

protected:
    SCA_TezReportWriter() = default;
    // Puts text at path atomically.
    static int WriteText(const std::string& text, const char* path, uint32_t* error);
};
