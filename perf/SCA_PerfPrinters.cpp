// SPDX-License-Identifier: MIT
#include "perf/SCA_PerfPrinters.h"

#include <cups/cups.h>
#include <dlfcn.h>
#include <optional>

#include "libmor/SCA_Report.h"

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

template <typename Function>
bool Resolve(void* library, const char* name, Function* function) {
    *function = reinterpret_cast<Function>(dlsym(library, name));
    return *function != nullptr;
}

std::optional<PrintCalls> LoadPrintCalls() {
    void* library = dlopen(kPrintLibrary, RTLD_NOW | RTLD_LOCAL);
    PrintCalls calls{};
    if (library == nullptr || !Resolve(library, "cupsServer", &calls.Server) ||
        !Resolve(library, "ippPort", &calls.Port) ||
        !Resolve(library, "cupsEncryption", &calls.Encryption) ||
        !Resolve(library, "httpConnect2", &calls.Connect) ||
        !Resolve(library, "httpClose", &calls.Close) ||
        !Resolve(library, "cupsGetDests2", &calls.GetDests) ||
        !Resolve(library, "cupsFreeDests", &calls.FreeDests) ||
        !Resolve(library, "cupsGetJobs2", &calls.GetJobs) ||
        !Resolve(library, "cupsFreeJobs", &calls.FreeJobs)) {
        const char* reason = dlerror();
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_PerfPrinters: cannot use the print library %s: %s", kPrintLibrary,
            reason != nullptr ? reason : "a call is missing");
        if (library != nullptr) {
            dlclose(library);
        }
        return std::nullopt;
    }
    return calls; // the library stays loaded for the rest of the run
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
