// SPDX-License-Identifier: MIT
#pragma once

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
    static std::string Session();
    static std::string Replies();
    static std::string Enumerations();
};
