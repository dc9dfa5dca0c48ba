// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

class SCA_TezReportWriter;

// Makes the writer of each save format of the format table (model/SCA_TezReportFormat.h). The
// writers of XML, PDF and Excel live in a module (libtez/reports/formats/) beside this library,
// loaded at the first writer of one of them: their libraries stay out of a process that never
// writes those formats.
class SCA_TezReportWriterFactory {
public:
    SCA_TezReportWriterFactory() = delete;

    // The writer of format, which the caller deletes; null with *error (when given) set to
    // SCA_TEZ_ERR_FORMAT for a code that is not a save format, ELIBACC when the module of its
    // writer cannot be loaded (reported at error level with the reason), ENOMEM when it cannot be
    // made.
    static SCA_TezReportWriter* Create(uint32_t format, uint32_t* error = nullptr);
};

// The module's one entry point, looked up by this name: the writer of a format the module holds,
// null for another format or when it cannot be made.
extern "C" SCA_TezReportWriter* SCA_TezCreateModuleWriter(uint32_t format);
