// SPDX-License-Identifier: MIT
#include "libmor/SCA_Crypto.h"

#include <memory>

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

namespace {

struct CipherContextFree {
    void operator()(EVP_CIPHER_CTX* context) const { EVP_CIPHER_CTX_free(context); }
};
using CipherContext = std::unique_ptr<EVP_CIPHER_CTX, CipherContextFree>;

constexpr int kEncrypt = 1;
constexpr int kDecrypt = 0;

// OpenSSL otherwise loads its error texts at its first use: half a megabyte of its code and
// tables made resident and a table of them on the heap, in a process that only checks results
// and never shows those texts. Every entry point here comes through this first.
void StartOpenSsl() {
    static const bool started =
        OPENSSL_init_crypto(OPENSSL_INIT_NO_LOAD_CRYPTO_STRINGS, nullptr) == 1;
    static_cast<void>(started);
}

CipherContext StartGcm(const uint8_t* key, const uint8_t* nonce, int direction) {
    StartOpenSsl();
    CipherContext context(EVP_CIPHER_CTX_new());
    if (!context ||
        EVP_CipherInit_ex(context.get(), EVP_aes_256_gcm(), nullptr, nullptr, nullptr, direction) !=
            1 ||
        EVP_CIPHER_CTX_ctrl(context.get(), EVP_CTRL_GCM_SET_IVLEN,
                            static_cast<int>(SCA_GCM_NONCE_SIZE), nullptr) != 1 ||
        EVP_CipherInit_ex(context.get(), nullptr, nullptr, key, nonce, direction) != 1) {
        return nullptr;
    }
    return context;
}

// Runs the cipher over size bytes into out (same length).
bool Transform(EVP_CIPHER_CTX* context, const void* in, size_t size, std::string* out) {
    std::string result(size, '\0');
    int length = 0;
    size_t done = 0;
    const auto* bytes = static_cast<const unsigned char*>(in);
    // EVP works on int lengths: feed large inputs in pieces.
    while (done < size) {
        const size_t piece = size - done < (1u << 30) ? size - done : (1u << 30);
        if (EVP_CipherUpdate(context, reinterpret_cast<unsigned char*>(result.data()) + done,
                             &length, bytes + done, static_cast<int>(piece)) != 1) {
            return false;
        }
        done += static_cast<size_t>(length);
    }
    *out = std::move(result);
    return true;
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
    StartOpenSsl();
    unsigned int length = 0;
    return EVP_Digest(data, size, digest, &length, EVP_sha256(), nullptr) == 1 ? 1 : 0;
}

int SCA_RandomBytes(void* out, size_t size) {
    StartOpenSsl();
    return RAND_bytes(static_cast<unsigned char*>(out), static_cast<int>(size)) == 1 ? 1 : 0;
}

int SCA_AesGcmEncrypt(const uint8_t key[SCA_AES_KEY_SIZE], const uint8_t nonce[SCA_GCM_NONCE_SIZE],
                      const void* plain, size_t size, std::string* cipher,
                      uint8_t tag[SCA_GCM_TAG_SIZE]) {
    CipherContext context = StartGcm(key, nonce, kEncrypt);
    std::string result;
    unsigned char tail[EVP_MAX_BLOCK_LENGTH]; // GCM writes nothing here; OpenSSL wants room
    int length = 0;
    if (!context || !Transform(context.get(), plain, size, &result) ||
        EVP_CipherFinal_ex(context.get(), tail, &length) != 1 ||
        EVP_CIPHER_CTX_ctrl(context.get(), EVP_CTRL_GCM_GET_TAG, static_cast<int>(SCA_GCM_TAG_SIZE),
                            tag) != 1) {
        return 0;
    }
    *cipher = std::move(result);
    return 1;
}

int SCA_AesGcmDecrypt(const uint8_t key[SCA_AES_KEY_SIZE], const uint8_t nonce[SCA_GCM_NONCE_SIZE],
                      const void* cipher, size_t size, const uint8_t tag[SCA_GCM_TAG_SIZE],
                      std::string* plain) {
    CipherContext context = StartGcm(key, nonce, kDecrypt);
    std::string result;
    unsigned char tail[EVP_MAX_BLOCK_LENGTH]; // GCM writes nothing here; OpenSSL wants room
    int length = 0;
    if (!context || !Transform(context.get(), cipher, size, &result) ||
        EVP_CIPHER_CTX_ctrl(context.get(), EVP_CTRL_GCM_SET_TAG, static_cast<int>(SCA_GCM_TAG_SIZE),
                            const_cast<uint8_t*>(tag)) != 1 ||
        EVP_CipherFinal_ex(context.get(), tail, &length) != 1) {
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
