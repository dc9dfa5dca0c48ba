// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libmor/SCA_Heap.h"

class SCA_ConfigObj;
class SCA_TezConfig;
class SCA_TezConfigUser;
class SCA_TezReport;

// Saves a counter monitor's report in one of the save formats.
class SCA_TezReporter {
public:
    SCA_HEAP_OPERATORS

    // The configurations and parameters are the caller's and outlive the reporter.
    SCA_TezReporter(SCA_TezConfig* config, SCA_TezConfigUser* userConfig, SCA_ConfigObj* params)
        : m_Config(config), m_UserConfig(userConfig), m_Params(params) {}

    // Writes report in format into path. option is the save dialog's report mode
    // (SCA_TEZ_REPORT_MODE_*): a short summary, a compact report with the counters' statistics
    // and the errors recorded, or a detailed one with every sample as well (any other value is
    // detailed); the own formats (3, 21) always hold the whole report. 0 with *error set for an
    // invalid format (SCA_TEZ_ERR_FORMAT, no file written) or a failed write (the file is then left
    // as it was).
    int SaveReport(SCA_TezReport* report, uint32_t format, uint32_t option, const char* path,
                   uint32_t* error);

    // SaveReport of a reporter without configurations: what report actions save with
    // (SCA_TezActionCtrl::SetReportSaver).
    static int Save(SCA_TezReport* report, uint32_t format, uint32_t option, const char* path,
                    uint32_t* error);

    // The report of one counter: report keeps only the counter of that list item id and its
    // errors, its summary and statistics are brought up to date, then it is written as above.
    // 0 with *error ENOENT when the report has no such counter (nothing written).
    int SaveReport(SCA_TezReport* report, uint32_t counterId, uint32_t format, uint32_t option,
                   const char* path, uint32_t* error);

    // Statuses shown in bold: warning, error and failure.
    static bool IsRepStatusFondBold(uint32_t repStatus);

private:
    SCA_TezConfig* m_Config;
    SCA_TezConfigUser* m_UserConfig;
    SCA_ConfigObj* m_Params;
};
