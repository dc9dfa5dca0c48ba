// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

#include "libmor/SCA_Heap.h"

class SCA_ConfigObj;
class SCA_TezConfig;
class SCA_TezConfigUser;
class SCA_TezProcess;
class SCA_TezProcessList;
class SCA_TezProcessLog;

// Saves a process monitor's processes (and its event log, when given) in one of the save
// formats.
class SCA_TezProcessReporter {
public:
    SCA_HEAP_OPERATORS

    SCA_TezProcessReporter(SCA_TezConfig* config, SCA_TezConfigUser* userConfig,
                           SCA_ConfigObj* params)
        : m_Config(config), m_UserConfig(userConfig), m_Params(params) {}

    // Writes the process with id selector (every process for the all-ones value) in format into
    // path; option chooses the counters shown (IsCounterIncluded). Errors as
    // SCA_TezReporter::SaveReport.
    int Save(SCA_TezProcessList* list, uint32_t selector, uint32_t format, uint32_t option,
             const char* path, uint32_t* error = nullptr, SCA_TezProcessLog* log = nullptr);

    // Writes a text report of the process: for each of its process ids (every one when all is
    // nonzero) its parent, start time, the statistics of its counters and the further
    // properties. 0 with the reason in *error when the file cannot be written.
    int SavePids(SCA_TezProcess* process, int all, const char* path, uint32_t* error = nullptr);
    // The same text, for a caller that shows or sends it.
    static std::string BuildPidsText(SCA_TezProcess* process);

    // Mode 2 every counter, 1 only CPU usage, memory usage and data transfer, 0 none, any
    // other every counter.
    static int IsCounterIncluded(uint32_t mode, uint32_t counterType);
    static bool IsRepStatusFondBold(uint32_t repStatus);

private:
    SCA_TezConfig* m_Config;
    SCA_TezConfigUser* m_UserConfig;
    SCA_ConfigObj* m_Params;
};
