// SPDX-License-Identifier: MIT
#include "libmor/SCA_Crypto.h"

#include <cerrno>
#include <sys/random.h>

#include <nettle/gcm.h>
#include <nettle/memops.h>
#include <nettle/sha2.h>

namespace {

static_assert(SCA_GCM_NONCE_SIZE == GCM_IV_SIZE && SCA_GCM_TAG_SIZE == GCM_DIGEST_SIZE &&
              SCA_AES_KEY_SIZE == AES256_KEY_SIZE && SCA_SHA256_SIZE == SHA256_DIGEST_SIZE);

void StartGcm(gcm_aes256_ctx* context, const uint8_t* key, const uint8_t* nonce) {
    gcm_aes256_set_key(context, key);
    gcm_aes256_set_iv(context, SCA_GCM_NONCE_SIZE, nonce);
}

uint8_t* Bytes(std::string* text) {
    return reinterpret_cast<uint8_t*>(text->data());
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

} // namespace

int SCA_Sha256(const void* data, size_t size, uint8_t digest[SCA_SHA256_SIZE]) {
    sha256_ctx context;
    sha256_init(&context);
    sha256_update(&context, size, static_cast<const uint8_t*>(data));
    sha256_digest(&context, SCA_SHA256_SIZE, digest);
    return 1;
}

int SCA_RandomBytes(void* out, size_t size) {
    auto* bytes = static_cast<uint8_t*>(out);
    size_t done = 0;
    while (done < size) {
        const ssize_t got = getrandom(bytes + done, size - done, 0);
        if (got < 0 && errno != EINTR) {
            return 0;
        }
        done += got > 0 ? static_cast<size_t>(got) : 0u;
    }
    return 1;
}

int SCA_AesGcmEncrypt(const uint8_t key[SCA_AES_KEY_SIZE], const uint8_t nonce[SCA_GCM_NONCE_SIZE],
                      const void* plain, size_t size, std::string* cipher,
                      uint8_t tag[SCA_GCM_TAG_SIZE]) {
    gcm_aes256_ctx context;
    StartGcm(&context, key, nonce);
    std::string result(size, '\0');
    gcm_aes256_encrypt(&context, size, Bytes(&result), static_cast<const uint8_t*>(plain));
    gcm_aes256_digest(&context, SCA_GCM_TAG_SIZE, tag);
    *cipher = std::move(result);
    return 1;
}

int SCA_AesGcmDecrypt(const uint8_t key[SCA_AES_KEY_SIZE], const uint8_t nonce[SCA_GCM_NONCE_SIZE],
                      const void* cipher, size_t size, const uint8_t tag[SCA_GCM_TAG_SIZE],
                      std::string* plain) {
    gcm_aes256_ctx context;
    StartGcm(&context, key, nonce);
    std::string result(size, '\0');
    gcm_aes256_decrypt(&context, size, Bytes(&result), static_cast<const uint8_t*>(cipher));
    uint8_t expected[SCA_GCM_TAG_SIZE];
    gcm_aes256_digest(&context, SCA_GCM_TAG_SIZE, expected);
    if (memeql_sec(expected, tag, SCA_GCM_TAG_SIZE) == 0) {
        return 0;
    }
    *plain = std::move(result);
    return 1;
}

std::string SCA_ToHex(const void* data, size_t size) {
    static const char kDigits[] = "0123456789abcdef";
    std::string hex(size * 2, '\0');
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < size; ++i) {
        hex[2 * i] = kDigits[bytes[i] >> 4];
        hex[2 * i + 1] = kDigits[bytes[i] & 0x0F];
    }
    return hex;
}

int SCA_FromHex(const char* text, size_t length, std::string* out) {
    if (length % 2 != 0) {
        return 0;
    }
    std::string bytes(length / 2, '\0');
    for (size_t i = 0; i < length; i += 2) {
        const int high = HexDigit(text[i]);
        const int low = HexDigit(text[i + 1]);
        if (high < 0 || low < 0) {
            return 0;
        }
        bytes[i / 2] = static_cast<char>(high << 4 | low);
    }
    *out = std::move(bytes);
    return 1;
}
