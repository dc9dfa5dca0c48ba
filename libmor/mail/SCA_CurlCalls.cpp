// SPDX-License-Identifier: MIT
#include "libmor/mail/SCA_CurlCalls.h"

#include <optional>

#include "libmor/SCA_LateLibrary.h"
#include "libmor/SCA_Report.h"

namespace {

constexpr char kCurlLibrary[] = "libcurl.so.4";

std::optional<SCA_CurlCalls> LoadCurlCalls() {
    SCA_LateLibrary library(kCurlLibrary);
    SCA_CurlCalls calls{};
    decltype(&curl_global_init) globalInit = nullptr;
    if (!library.Resolve("curl_global_init", &globalInit) ||
        !library.Resolve("curl_easy_init", &calls.EasyInit) ||
        !library.Resolve("curl_easy_setopt", &calls.EasySetopt) ||
        !library.Resolve("curl_easy_perform", &calls.EasyPerform) ||
        !library.Resolve("curl_easy_getinfo", &calls.EasyGetinfo) ||
        !library.Resolve("curl_easy_cleanup", &calls.EasyCleanup) ||
        !library.Resolve("curl_slist_append", &calls.SlistAppend) ||
        !library.Resolve("curl_slist_free_all", &calls.SlistFreeAll)) {
        library.Failed("SCA_CurlCalls");
        return std::nullopt;
    }
    if (globalInit(CURL_GLOBAL_DEFAULT) != CURLE_OK) {
        // The library stays loaded: its initialisation may be half done.
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_CurlCalls: cannot initialise the library %s", kCurlLibrary);
        return std::nullopt;
    }
    return calls;
}

} // namespace

const SCA_CurlCalls* SCA_GetCurlCalls() {
    static const std::optional<SCA_CurlCalls> calls = LoadCurlCalls();
    return calls ? &*calls : nullptr;
}
