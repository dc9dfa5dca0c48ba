// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <cstdint>

#include "korvac/kit/SCA_ReportSave.h"
#include "libmor/SCA_Limits.h"

// The "Save" of a live window: the monitor's report fetched from the service, the user's choice
// of title, format, mode and file in the save dialog, the report written there. Each failure is
// reported at level 5 with a text that begins with Caller, and ends the save: nothing is
// written after a report that could not be fetched, and a file that could not be written says
// why.
class SCA_MonitorReportSave : public SCA_ReportSave {
public:
    using SCA_ReportSave::SCA_ReportSave;

    // One counter's report; all ones: the whole monitor's.
    uint32_t CounterId = SCA_ALL_ONES;

    // The dialog's title; what is saved (the default file name; empty: the report's profile
    // name); the title it offers first; the report's description (empty: the service's).
    QString Caption;
    QString Name;
    QString Title;
    QString Description;
    // What the box says once the report is saved.
    QString SavedText;

    // 1 when the report was saved, 0 when it failed or the user cancelled.
    int Run();
};
