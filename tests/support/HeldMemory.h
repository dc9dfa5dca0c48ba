// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>

#include "libmor/SCA_HeapGiveBack.h"

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer's runtime answers it; its header does not come with every compiler.
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace korvanta_test {

// The memory this process holds, in MB: its resident pages; under AddressSanitizer, whose
// allocator keeps what is freed in quarantine, the bytes handed out and not yet freed. Either
// grows when something keeps what a large reply made: the resident pages also when a heap
// keeps freed pages from the system.
inline double HeldMegabytes() {
    constexpr double kMegabyte = 1024.0 * 1024.0;
#if defined(__SANITIZE_ADDRESS__)
    return static_cast<double>(__sanitizer_get_current_allocated_bytes()) / kMegabyte;
#else
    return static_cast<double>(SCA_HeapResidentBytes()) / kMegabyte;
#endif
}

} // namespace korvanta_test
