// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

// The parts of the protocol reference that belong to the client-to-service protocol: the
// login with a worked example, the session rules, the shape of every object an operation
// hands back, and the numbers the replies use. Each part is written from the code that does
// the work (the codecs, the records' own serialisers, the constants), so the reference cannot
// drift from it.
class SCA_KorvantaProtocolDoc {
public:
    SCA_KorvantaProtocolDoc() = delete;

    // A worked login, every value in it computed by hand-independent means and checked by the
    // tests against this code.
    struct LoginExample {
        const char* ServerStart;
        const char* ServerConnect;
        const char* ClientStart;
        const char* ClientConnect;
        const char* HostName;
        const char* User;
        const char* Password;
        const char* Signature;
        const char* PlainHex; // the byte form of "LoginData"
        const char* Nonce;
        const char* Cipher;
        const char* Tag;
    };
    static const LoginExample& Example();

    static std::string Login();
    // What the service allows a connection; the service owns the numbers.
    struct SessionLimits {
        uint32_t Connections;
        const char* ConnectionsOption;
        uint32_t StrangerShare;
        uint32_t StrangersPerAddress;
        uint32_t StrangerMaxPayload;
        uint32_t StrangerIdleMs;
    };
    static std::string Session(const SessionLimits& limits);
    static std::string Replies();
    static std::string Enumerations();
};
