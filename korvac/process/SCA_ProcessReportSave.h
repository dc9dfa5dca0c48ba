// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "korvac/kit/SCA_ReportSave.h"

// The "Save" of the process windows: the monitor's processes fetched from the service, the
// user's choice of title, format, mode and file, the report of one process (or of all) written
// there. A failure is reported at level 5 with a text that begins with Caller and says why; a
// saved report says so in a box.
class SCA_ProcessReportSave : public SCA_ReportSave {
public:
    using SCA_ReportSave::SCA_ReportSave;

    // The process of processId (all ones: every process); 1 when saved.
    int Run(uint32_t processId);
};
