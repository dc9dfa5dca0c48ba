// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <string>

#include "libmor/SCA_Crypto.h"

namespace {

std::string Sha256Hex(const std::string& text) {
    uint8_t digest[SCA_SHA256_SIZE] = {};
    EXPECT_EQ(SCA_Sha256(text.data(), text.size(), digest), 1);
    return SCA_ToHex(digest, sizeof(digest));
}

TEST(CryptoTest, DigestsMatchTheStandardVectors) {
    EXPECT_EQ(Sha256Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(Sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}

// Every entry point starts OpenSSL without its error texts: loaded, they would stay resident in
// the service for the whole run although nothing shows them. A sealed text still opens, and a
// wrong tag is still refused, without them.
TEST(CryptoTest, SealingWorksWithoutLoadingOpenSslErrorTexts) {
    uint8_t key[SCA_AES_KEY_SIZE] = {};
    uint8_t nonce[SCA_GCM_NONCE_SIZE] = {};
    ASSERT_EQ(SCA_RandomBytes(key, sizeof(key)), 1);
    ASSERT_EQ(SCA_RandomBytes(nonce, sizeof(nonce)), 1);
    const std::string plain = "the monitors of this computer";
    std::string cipher;
    uint8_t tag[SCA_GCM_TAG_SIZE] = {};
    ASSERT_EQ(SCA_AesGcmEncrypt(key, nonce, plain.data(), plain.size(), &cipher, tag), 1);
    std::string opened;
    ASSERT_EQ(SCA_AesGcmDecrypt(key, nonce, cipher.data(), cipher.size(), tag, &opened), 1);
    EXPECT_EQ(opened, plain);
    tag[0] ^= 1;
    std::string refused = "untouched";
    EXPECT_EQ(SCA_AesGcmDecrypt(key, nonce, cipher.data(), cipher.size(), tag, &refused), 0);
    EXPECT_EQ(refused, "untouched");

    EXPECT_EQ(ERR_reason_error_string(ERR_PACK(ERR_LIB_EVP, 0, EVP_R_BAD_DECRYPT)), nullptr);
    EXPECT_EQ(ERR_lib_error_string(ERR_PACK(ERR_LIB_EVP, 0, 0)), nullptr);
}

} // namespace
