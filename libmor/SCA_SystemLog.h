// SPDX-License-Identifier: MIT
#pragma once

#include <cstdio>

// syslog(3)'s socket (_PATH_LOG).
inline constexpr const char* SCA_SYSTEM_LOG_SOCKET = "/dev/log";

// The system log of a service: syslog(3) while a log daemon takes messages at its socket,
// standard error while none does. Where no daemon listens (a container, an init that starts
// none) syslog drops every message without a sign, and a service that cannot start would end
// without a word. Under systemd the journal's socket always listens, so nothing is written
// twice. The socket is looked at for each message: a daemon started later is used from then on.
class SCA_SystemLog {
public:
    // ident names the program in each line; the socket path and the stream are for tests.
    explicit SCA_SystemLog(const char* ident, const char* socketPath = SCA_SYSTEM_LOG_SOCKET,
                           std::FILE* fallback = stderr);

    // One message at a syslog priority (LOG_ERR, ...); on the stream as "ident: text".
    void Write(int priority, const char* text) const;
    // Whether a log daemon takes messages at the socket now.
    bool HasSocket() const;

private:
    const char* m_Ident;
    const char* m_SocketPath;
    std::FILE* m_Fallback;
};
