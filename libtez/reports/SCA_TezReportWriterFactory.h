// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

class SCA_TezReportWriter;

// Makes the writer of each save format of the format table (model/SCA_TezReportFormat.h).
class SCA_TezReportWriterFactory {
public:
    SCA_TezReportWriterFactory() = delete;

    // The writer of format, which the caller deletes; null with *error (when given) set to
    // SCA_TEZ_ERR_FORMAT for a code that is not a save format, ENOMEM when it cannot be made.
    static SCA_TezReportWriter* Create(uint32_t format, uint32_t* error = nullptr);
};
