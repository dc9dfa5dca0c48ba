// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

// Room for a SHA-256 signature text: 64 hex digits and the NUL.
inline constexpr uint32_t SCA_SIG_SHA256_SIZE = 65;

// The SHA-256 signature of size bytes of text, as 64 lowercase hex digits, into sig (sigSize
// bytes). 1 on success; 0 for a null text or buffer or a buffer of fewer than
// SCA_SIG_SHA256_SIZE bytes, and then sig is empty when it has room for that.
int SCA_CalcSigSHA256(const char* text, uint32_t size, char* sig, uint32_t sigSize);
