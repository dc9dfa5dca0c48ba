// SPDX-License-Identifier: MIT
#pragma once

#include <curl/curl.h>

// The transfer library's calls, resolved when the first transfer asks for them rather than when
// the program starts: a service sends mail and checks for updates rarely or never, and the
// library brings its TLS, Kerberos and directory libraries, megabytes resident in every service.
struct SCA_CurlCalls {
    decltype(&curl_easy_init) EasyInit;
    decltype(&curl_easy_setopt) EasySetopt;
    decltype(&curl_easy_perform) EasyPerform;
    decltype(&curl_easy_getinfo) EasyGetinfo;
    decltype(&curl_easy_cleanup) EasyCleanup;
    decltype(&curl_slist_append) SlistAppend;
    decltype(&curl_slist_free_all) SlistFreeAll;
};

// The calls, with the library loaded and initialised once for the whole program; null when it
// cannot be loaded (a transfer then fails as if nothing answered). Any thread may call it.
const SCA_CurlCalls* SCA_GetCurlCalls();
