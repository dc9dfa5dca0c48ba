// SPDX-License-Identifier: MIT
#include "perf/SCA_PerfPrinters.h"

#include <cups/cups.h>

namespace {

constexpr int kConnectTimeoutMs = 1000;

// A connection of our own with a time-out: the library's default connection would wait much
// longer for a server named in the environment that does not answer.
http_t* Connect() {
    return httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                        kConnectTimeoutMs, nullptr);
}

} // namespace

bool SCA_PerfPrinters::ListPrinters(std::vector<std::string>* printers) {
    printers->clear();
    http_t* http = Connect();
    if (http == nullptr) {
        return false;
    }
    cups_dest_t* dests = nullptr;
    const int count = cupsGetDests2(http, &dests);
    for (int i = 0; i < count; ++i) {
        if (dests[i].instance == nullptr) {
            printers->emplace_back(dests[i].name);
        }
    }
    cupsFreeDests(count, dests);
    httpClose(http);
    return true;
}

bool SCA_PerfPrinters::CountActiveJobs(std::map<std::string, uint64_t>* jobs) {
    jobs->clear();
    http_t* http = Connect();
    if (http == nullptr) {
        return false;
    }
    cups_job_t* list = nullptr;
    const int count = cupsGetJobs2(http, &list, nullptr, 0, CUPS_WHICHJOBS_ACTIVE);
    for (int i = 0; i < count; ++i) {
        ++(*jobs)[list[i].dest != nullptr ? list[i].dest : ""];
    }
    cupsFreeJobs(count, list);
    httpClose(http);
    return count >= 0;
}
