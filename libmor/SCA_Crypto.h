// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Hashing, randomness and authenticated encryption (OpenSSL).

inline constexpr size_t SCA_SHA256_SIZE = 32;
inline constexpr size_t SCA_AES_KEY_SIZE = 32;
inline constexpr size_t SCA_GCM_NONCE_SIZE = 12;
inline constexpr size_t SCA_GCM_TAG_SIZE = 16;

// The SHA-256 digest of size bytes. 1 on success.
int SCA_Sha256(const void* data, size_t size, uint8_t digest[SCA_SHA256_SIZE]);
// Bytes from the system's cryptographic random source. 1 on success.
int SCA_RandomBytes(void* out, size_t size);

// AES-256-GCM: cipher receives as many bytes as plain has; tag authenticates them.
int SCA_AesGcmEncrypt(const uint8_t key[SCA_AES_KEY_SIZE], const uint8_t nonce[SCA_GCM_NONCE_SIZE],
                      const void* plain, size_t size, std::string* cipher,
                      uint8_t tag[SCA_GCM_TAG_SIZE]);
// 0, with plain untouched, when the tag does not match (wrong key or altered bytes).
int SCA_AesGcmDecrypt(const uint8_t key[SCA_AES_KEY_SIZE], const uint8_t nonce[SCA_GCM_NONCE_SIZE],
                      const void* cipher, size_t size, const uint8_t tag[SCA_GCM_TAG_SIZE],
                      std::string* plain);

// Lowercase hex of size bytes.
std::string SCA_ToHex(const void* data, size_t size);
// Bytes of a hex text (either case); 0 on an odd length or a character that is not hex.
int SCA_FromHex(const char* text, size_t length, std::string* out);
