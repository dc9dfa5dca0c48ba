// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>

#include "model/SCA_TezLogonMode.h"

class SCA_NetTransport;

// The keys and the signature of a login, built the same way on both ends of a connection from
// the four times that the greeting gave both transports: the server's start and connect times
// and the client's start and connect times.
//
// The login data travels encrypted under the request key (client times first), the login
// results under the reply key (server times first), so neither key opens the other direction.
// The signature binds a password to this connection's server times, so a recorded login does
// not open another connection.
class SCA_KorvantaLogin {
public:
    SCA_KorvantaLogin() = delete;

    // Four times of up to 20 digits each, and the NUL.
    static constexpr size_t kKeySize = 4 * 20 + 1;
    // Signatures are SHA-256 in lowercase hex, read into buffers of this size.
    static constexpr uint32_t kSignatureSize = 256;
    // The longest user name and password together that a signature text carries:
    // "<user>_<n><n>_<password>" holds two numbers of up to 20 digits and must fit 256 bytes
    // with its NUL. Longer pairs are refused, never cut, whatever the times are now.
    static constexpr uint32_t kMaxSignedCredentials = 256 - 1 - 2 * 20 - 2;

    static void RequestKey(const SCA_NetTransport& transport, char* key);
    static void ReplyKey(const SCA_NetTransport& transport, char* key);
    // The signature of user and password for this connection into signature (kSignatureSize
    // bytes); 0 when the pair is longer than kMaxSignedCredentials.
    static int Signature(const SCA_NetTransport& transport, const char* user, const char* password,
                         char* signature);
};

// "LoginStatus" of a login the service accepted.
inline constexpr uint32_t SCA_KORVANTA_LOGGED_IN = 1;
// The text field of the login results that says why a login was refused.
inline constexpr const char* SCA_KORVANTA_LOGIN_MESSAGE = "LoginMessage";
