// SPDX-License-Identifier: MIT
#include "net/SCA_KorvantaLogin.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <string>

#include "net/SCA_NetSignature.h"
#include "net/SCA_NetTransport.h"

namespace {

void MakeKey(char* key, uint64_t first, uint64_t second, uint64_t third, uint64_t fourth) {
    std::snprintf(key, SCA_KorvantaLogin::kKeySize, "%" PRIu64 "%" PRIu64 "%" PRIu64 "%" PRIu64,
                  first, second, third, fourth);
}

} // namespace

void SCA_KorvantaLogin::RequestKey(const SCA_NetTransport& transport, char* key) {
    MakeKey(key, transport.GetClientStartTime(), transport.GetClientConnectTime(),
            transport.GetServerStartTime(), transport.GetServerConnectTime());
}

void SCA_KorvantaLogin::ReplyKey(const SCA_NetTransport& transport, char* key) {
    MakeKey(key, transport.GetServerStartTime(), transport.GetServerConnectTime(),
            transport.GetClientStartTime(), transport.GetClientConnectTime());
}

int SCA_KorvantaLogin::Signature(const SCA_NetTransport& transport, const char* user,
                                 const char* password, char* signature) {
    if (user == nullptr || password == nullptr ||
        std::strlen(user) + std::strlen(password) > kMaxSignedCredentials) {
        return 0;
    }
    const std::string text = std::string(user) + "_" +
                             std::to_string(transport.GetServerStartTime()) +
                             std::to_string(transport.GetServerConnectTime()) + "_" + password;
    return SCA_CalcSigSHA256(text.c_str(), static_cast<uint32_t>(text.size()), signature,
                             kSignatureSize);
}
