// SPDX-License-Identifier: MIT
#pragma once

// libkvn.so is built with hidden visibility: only the classes marked with this are its
// interface, everything else stays inside the library.
#define SCA_KVN_EXPORT __attribute__((visibility("default")))
// For the private helpers of an exported class that nothing outside the library can call.
#define SCA_KVN_LOCAL __attribute__((visibility("hidden")))
