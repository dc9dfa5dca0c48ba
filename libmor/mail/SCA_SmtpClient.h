// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libmor/SCA_Heap.h"
#include "libmor/SCA_Object.h"

// Connect modes of a secure connection.
inline constexpr uint32_t SCA_SMTP_TLS_IF_AVAILABLE = 0; // STARTTLS when the server offers it
inline constexpr uint32_t SCA_SMTP_TLS = 1;              // STARTTLS, refused when not offered
inline constexpr uint32_t SCA_SMTP_SSL = 2;              // TLS from the first byte

// Error codes of the client beyond errno values.
inline constexpr uint32_t SCA_SMTP_ERR_SETTINGS = 100320; // a setting out of range
inline constexpr uint32_t SCA_SMTP_ERR_CONNECT = 100321;  // no connection or no greeting
inline constexpr uint32_t SCA_SMTP_ERR_LOGIN = 100322;    // the login was refused
inline constexpr uint32_t SCA_SMTP_ERR_SEND = 100323;     // the server refused the mail
inline constexpr uint32_t SCA_SMTP_ERR_HEADER = 100324;   // an address or subject with a line break

// The platform's SMTP client. Connect checks that a mail server accepts a connection with the
// given settings (and the login, when asked) and keeps the settings; SendMail then delivers
// one plain-text mail with them, each on a connection of its own. Plain members: copies are
// member by member and carry the settings.
class SCA_SmtpClient : public SCA_Object {
public:
    SCA_HEAP_OPERATORS

    SCA_SmtpClient() { SetConstructed(); }
    SCA_SmtpClient(const SCA_SmtpClient&) = default;
    SCA_SmtpClient& operator=(const SCA_SmtpClient&) = default;
    ~SCA_SmtpClient() override;

    // Nonzero only when the server at server:port greeted, the secure connection asked for
    // (secure nonzero, by connectMode) was made and, with login nonzero, the server accepted
    // user and password. A port of 0 or above 65535, or an unknown connect mode, is refused
    // without a connection attempt. *error gets the reason on failure.
    int Connect(const char* server, uint32_t port, const char* user, const char* password,
                uint32_t login, uint32_t secure, uint32_t connectMode, uint32_t* error);

    // Sends one mail from the address from to the address to with the settings of the last
    // successful Connect. Addresses and subject must not contain line breaks.
    int SendMail(const char* from, const char* to, const char* subject, const char* body,
                 uint32_t* error);

    // Bounds every connection and transfer (milliseconds).
    uint32_t GetTimeout() const { return m_Settings[kTimeout]; }
    void SetTimeout(uint32_t timeoutMs) { m_Settings[kTimeout] = timeoutMs; }
    int IsConnected() const { return m_State[kConnected] != 0 ? 1 : 0; }

private:
    enum { kConnected, kLastError };
    enum { kPort, kLogin, kSecure, kConnectMode, kTimeout, kReserved };
    enum { kUser, kPassword, kSpare };

    // One libcurl session with the kept settings: connect only, or a whole mail transaction.
    int Run(const char* from, const char* to, const char* message, uint32_t* error);
    // Overwrites the kept password.
    void WipeSecrets();

    uint32_t m_State[2] = {};
    char m_ServerName[256] = "";
    uint32_t m_Settings[6] = {0, 0, 0, 0, 10000, 0};
    char m_Buffers[3][256] = {};
};
