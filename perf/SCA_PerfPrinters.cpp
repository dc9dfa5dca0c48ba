// SPDX-License-Identifier: MIT
#include "perf/SCA_PerfPrinters.h"

#include <cups/cups.h>
#include <optional>

#include "libmor/SCA_LateLibrary.h"

namespace {

constexpr int kConnectTimeoutMs = 1000;

// The print library is loaded when a printer is first asked about, not with the program: most
// services sample no printer, and the library brings the resident pages of its own TLS, DNS-SD
// and D-Bus libraries, megabytes a service would carry for nothing.
constexpr char kPrintLibrary[] = "libcups.so.2";

struct PrintCalls {
    decltype(&cupsServer) Server;
    decltype(&ippPort) Port;
    decltype(&cupsEncryption) Encryption;
    decltype(&httpConnect2) Connect;
    decltype(&httpClose) Close;
    decltype(&cupsGetDests2) GetDests;
    decltype(&cupsFreeDests) FreeDests;
    decltype(&cupsGetJobs2) GetJobs;
    decltype(&cupsFreeJobs) FreeJobs;
};

std::optional<PrintCalls> LoadPrintCalls() {
    SCA_LateLibrary library(kPrintLibrary);
    PrintCalls calls{};
    if (!library.Resolve("cupsServer", &calls.Server) || !library.Resolve("ippPort", &calls.Port) ||
        !library.Resolve("cupsEncryption", &calls.Encryption) ||
        !library.Resolve("httpConnect2", &calls.Connect) ||
        !library.Resolve("httpClose", &calls.Close) ||
        !library.Resolve("cupsGetDests2", &calls.GetDests) ||
        !library.Resolve("cupsFreeDests", &calls.FreeDests) ||
        !library.Resolve("cupsGetJobs2", &calls.GetJobs) ||
        !library.Resolve("cupsFreeJobs", &calls.FreeJobs)) {
        library.Failed("SCA_PerfPrinters");
        return std::nullopt;
    }
    return calls;
}

// Null when the print library cannot be used: there are no printers then.
const PrintCalls* Print() {
    static const std::optional<PrintCalls> calls = LoadPrintCalls();
    return calls ? &*calls : nullptr;
}

// A connection of our own with a time-out: the library's default connection would wait much
// longer for a server named in the environment that does not answer.
http_t* Connect(const PrintCalls& print) {
    return print.Connect(print.Server(), print.Port(), nullptr, AF_UNSPEC, print.Encryption(), 1,
                         kConnectTimeoutMs, nullptr);
}

} // namespace

bool SCA_PerfPrinters::ListPrinters(std::vector<std::string>* printers) {
    printers->clear();
    const PrintCalls* print = Print();
    http_t* http = print != nullptr ? Connect(*print) : nullptr;
    if (http == nullptr) {
        return false;
    }
    cups_dest_t* dests = nullptr;
    const int count = print->GetDests(http, &dests);
    for (int i = 0; i < count; ++i) {
        if (dests[i].instance == nullptr) {
            printers->emplace_back(dests[i].name);
        }
    }
    print->FreeDests(count, dests);
    print->Close(http);
    return true;
}

bool SCA_PerfPrinters::CountActiveJobs(std::map<std::string, uint64_t>* jobs) {
    jobs->clear();
    const PrintCalls* print = Print();
    http_t* http = print != nullptr ? Connect(*print) : nullptr;
    if (http == nullptr) {
        return false;
    }
    cups_job_t* list = nullptr;
    const int count = print->GetJobs(http, &list, nullptr, 0, CUPS_WHICHJOBS_ACTIVE);
    for (int i = 0; i < count; ++i) {
        ++(*jobs)[list[i].dest != nullptr ? list[i].dest : ""];
    }
    print->FreeJobs(count, list);
    print->Close(http);
    return count >= 0;
}
