// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

// Status codes of the collector and its inventories. 1 is success everywhere, so no failure may
// ever be 1: an errno of 1 (EPERM) is reported as SCA_PERF_ERROR_PERMISSION instead.
inline constexpr uint32_t SCA_PERF_STATUS_OK = 1;
inline constexpr uint32_t SCA_PERF_ERROR_NOT_SUPPORTED = 100196; // not supported on this computer
inline constexpr uint32_t SCA_PERF_ERROR_REMOTE = 100400;        // only the local computer
inline constexpr uint32_t SCA_PERF_ERROR_NOT_INIT = 100401;      // Init was not called or failed
inline constexpr uint32_t SCA_PERF_ERROR_BAD_TYPE = 100402;      // not a counter type
inline constexpr uint32_t SCA_PERF_ERROR_PERMISSION = 100403;    // EPERM
inline constexpr uint32_t SCA_PERF_ERROR_ARGUMENT = 100404;      // null or invalid argument

// errno as a status: never 1 and never 0.
inline uint32_t SCA_PerfErrorFromErrno(int code) {
    if (code == 1) {
        return SCA_PERF_ERROR_PERMISSION;
    }
    return code > 0 ? static_cast<uint32_t>(code) : SCA_PERF_ERROR_ARGUMENT;
}
