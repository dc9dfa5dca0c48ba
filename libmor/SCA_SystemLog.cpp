// SPDX-License-Identifier: MIT
#include "libmor/SCA_SystemLog.h"

#include <cerrno>
#include <cstring>
#include <string_view>
#include <sys/socket.h>
#include <sys/un.h>
#include <syslog.h>
#include <unistd.h>

static_assert(std::string_view(SCA_SYSTEM_LOG_SOCKET) == _PATH_LOG);

namespace {

// Whether a socket of this type connects to path; the error of the attempt otherwise.
int ConnectError(const char* path, int type) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (std::strlen(path) >= sizeof(address.sun_path)) {
        return ENAMETOOLONG;
    }
    std::memcpy(address.sun_path, path, std::strlen(path));
    const int descriptor = socket(AF_UNIX, type | SOCK_CLOEXEC, 0);
    if (descriptor < 0) {
        return errno;
    }
    const int error =
        connect(descriptor, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0
            ? 0
            : errno;
    close(descriptor);
    return error;
}

} // namespace

SCA_SystemLog::SCA_SystemLog(const char* ident, const char* socketPath, std::FILE* fallback)
    : m_Ident(ident), m_SocketPath(socketPath), m_Fallback(fallback) {}

bool SCA_SystemLog::HasSocket() const {
    // As syslog(3) connects: a datagram socket, or a stream one where the daemon listens so.
    const int error = ConnectError(m_SocketPath, SOCK_DGRAM);
    return error == 0 || (error == EPROTOTYPE && ConnectError(m_SocketPath, SOCK_STREAM) == 0);
}

void SCA_SystemLog::Write(int priority, const char* text) const {
    if (HasSocket()) {
        openlog(m_Ident, LOG_PID, LOG_DAEMON);
        syslog(priority, "%s", text);
        return;
    }
    std::fprintf(m_Fallback, "%s: %s\n", m_Ident, text);
    std::fflush(m_Fallback);
}
