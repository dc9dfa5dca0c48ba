// SPDX-License-Identifier: MIT
#include "net/SCA_NetSignature.h"

#include <cstring>
#include <string>

#include "libmor/SCA_Crypto.h"

int SCA_CalcSigSHA256(const char* text, uint32_t size, char* sig, uint32_t sigSize) {
    if (sig == nullptr || sigSize == 0) {
        return 0;
    }
    sig[0] = '\0';
    uint8_t digest[SCA_SHA256_SIZE];
    if (text == nullptr || sigSize < SCA_SIG_SHA256_SIZE || !SCA_Sha256(text, size, digest)) {
        return 0;
    }
    const std::string hex = SCA_ToHex(digest, sizeof(digest));
    std::memcpy(sig, hex.c_str(), hex.size() + 1);
    return 1;
}
