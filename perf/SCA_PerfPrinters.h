// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// The print server, asked through the CUPS library, which is loaded on the first question.
// When no print server runs (or the library is missing), the printer list is empty and job
// counts are unknown; nothing waits longer than a short connect time-out.
class SCA_PerfPrinters {
public:
    // The print queues; false when the print server cannot be reached.
    static bool ListPrinters(std::vector<std::string>* printers);
    // Active (pending, held or printing) jobs per queue; false when the server cannot be reached.
    static bool CountActiveJobs(std::map<std::string, uint64_t>* jobs);
};
