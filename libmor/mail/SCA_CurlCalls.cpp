// SPDX-License-Identifier: MIT
#include "libmor/mail/SCA_CurlCalls.h"

#include <dlfcn.h>
#include <optional>

#include "libmor/SCA_Report.h"

namespace {

constexpr char kCurlLibrary[] = "libcurl.so.4";

template <typename Function>
bool Resolve(void* library, const char* name, Function* function) {
    *function = reinterpret_cast<Function>(dlsym(library, name));
    return *function != nullptr;
}

std::optional<SCA_CurlCalls> LoadCurlCalls() {
    void* library = dlopen(kCurlLibrary, RTLD_NOW | RTLD_LOCAL);
    SCA_CurlCalls calls{};
    decltype(&curl_global_init) globalInit = nullptr;
    if (library == nullptr || !Resolve(library, "curl_global_init", &globalInit) ||
        !Resolve(library, "curl_easy_init", &calls.EasyInit) ||
        !Resolve(library, "curl_easy_setopt", &calls.EasySetopt) ||
        !Resolve(library, "curl_easy_perform", &calls.EasyPerform) ||
        !Resolve(library, "curl_easy_getinfo", &calls.EasyGetinfo) ||
        !Resolve(library, "curl_easy_cleanup", &calls.EasyCleanup) ||
        !Resolve(library, "curl_slist_append", &calls.SlistAppend) ||
        !Resolve(library, "curl_slist_free_all", &calls.SlistFreeAll)) {
        const char* reason = dlerror();
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_CurlCalls: cannot use the transfer library %s: %s", kCurlLibrary,
            reason != nullptr ? reason : "a call is missing");
        if (library != nullptr) {
            dlclose(library);
        }
        return std::nullopt;
    }
    if (globalInit(CURL_GLOBAL_DEFAULT) != CURLE_OK) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_CurlCalls: cannot initialise the transfer library %s",
            kCurlLibrary);
        return std::nullopt; // the library stays loaded: its initialisation may be half done
    }
    return calls; // the library stays loaded for the rest of the run
}

} // namespace

const SCA_CurlCalls* SCA_GetCurlCalls() {
    static const std::optional<SCA_CurlCalls> calls = LoadCurlCalls();
    return calls ? &*calls : nullptr;
}
