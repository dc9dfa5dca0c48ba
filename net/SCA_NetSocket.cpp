// SPDX-License-Identifier: MIT
#include "net/SCA_NetSocket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstdio>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "net/SCA_NetDeadline.h"
#include "net/SCA_NetProtocol.h"

namespace {

int Fail(uint32_t* error, uint32_t code) {
    if (error != nullptr) {
        *error = code;
    }
    return 0;
}

uint32_t LastError() {
    return static_cast<uint32_t>(errno);
}

// Request and reply are small and answered at once: waiting to coalesce them would only add
// latency.
void SetNoDelay(int descriptor) {
    const int on = 1;
    setsockopt(descriptor, IPPROTO_TCP, TCP_NODELAY, &on, sizeof(on));
}

} // namespace

SCA_NetSocket::SCA_NetSocket() {
    SetConstructed();
}

SCA_NetSocket::SCA_NetSocket(int descriptor) : m_Descriptor(descriptor) {
    m_Connected.store(descriptor >= 0 ? 1 : 0);
    SetConstructed();
}

SCA_NetSocket::~SCA_NetSocket() {
    Close();
}

void SCA_NetSocket::Close() {
    m_Connected.store(0);
    if (m_Descriptor >= 0) {
        close(m_Descriptor);
        m_Descriptor = -1;
    }
}

void SCA_NetSocket::Shutdown() {
    m_Connected.store(0, std::memory_order_release);
    if (m_Descriptor >= 0) {
        shutdown(m_Descriptor, SHUT_RDWR);
    }
}

int SCA_NetSocket::WaitFor(short events, uint32_t timeoutMs, uint32_t* error) {
    const SCA_NetDeadline deadline(timeoutMs);
    for (;;) {
        pollfd entry{m_Descriptor, events, 0};
        const int ready = poll(&entry, 1, SCA_NetDeadline::ForPoll(deadline.RemainingMs()));
        if (ready > 0) {
            return 1; // errors and hang-ups are read by the call that follows
        }
        if (ready == 0) {
            if (deadline.Passed()) {
                return Fail(error, SCA_NET_ERROR_TIMEOUT);
            }
            continue;
        }
        if (errno != EINTR) {
            return Fail(error, LastError());
        }
    }
}

int SCA_NetSocket::ConnectAddress(const void* address, uint32_t length, int family,
                                  uint32_t timeoutMs, uint32_t* error) {
    m_Descriptor = socket(family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (m_Descriptor < 0) {
        return Fail(error, LastError());
    }
    if (connect(m_Descriptor, static_cast<const sockaddr*>(address), length) != 0) {
        if (errno != EINPROGRESS && errno != EINTR) {
            const uint32_t code = LastError();
            Close();
            return Fail(error, code);
        }
        if (!WaitFor(POLLOUT, timeoutMs, error)) {
            Close();
            return 0;
        }
        int code = 0;
        socklen_t size = sizeof(code);
        if (getsockopt(m_Descriptor, SOL_SOCKET, SO_ERROR, &code, &size) != 0) {
            code = errno;
        }
        if (code != 0) {
            Close();
            return Fail(error, static_cast<uint32_t>(code));
        }
    }
    SetNoDelay(m_Descriptor);
    m_Connected.store(1, std::memory_order_release);
    return 1;
}

int SCA_NetSocket::Connect(const char* host, uint16_t port, uint32_t timeoutMs, uint32_t* error) {
    Close();
    if (host == nullptr || host[0] == '\0') {
        return Fail(error, SCA_NET_ERROR_ARGUMENT);
    }
    const SCA_NetDeadline deadline(timeoutMs);
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    char service[8];
    std::snprintf(service, sizeof(service), "%u", static_cast<unsigned>(port));
    addrinfo* addresses = nullptr;
    const int resolved = getaddrinfo(host, service, &hints, &addresses);
    if (resolved != 0) {
        return Fail(error, resolved == EAI_SYSTEM ? LastError() : SCA_NET_ERROR_HOST);
    }
    uint32_t code = SCA_NET_ERROR_HOST;
    for (const addrinfo* entry = addresses; entry != nullptr; entry = entry->ai_next) {
        if (deadline.Passed()) {
            code = SCA_NET_ERROR_TIMEOUT;
            break;
        }
        if (ConnectAddress(entry->ai_addr, entry->ai_addrlen, entry->ai_family,
                           deadline.RemainingMs(), &code)) {
            freeaddrinfo(addresses);
            return 1;
        }
    }
    freeaddrinfo(addresses);
    return Fail(error, code);
}

int SCA_NetSocket::Listen(uint16_t port, uint32_t* error) {
    Close();
    m_Descriptor = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (m_Descriptor < 0) {
        return Fail(error, LastError());
    }
    // A restarted server must not wait for the connections of its previous run to time out.
    const int on = 1;
    setsockopt(m_Descriptor, SOL_SOCKET, SO_REUSEADDR, &on, sizeof(on));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    address.sin_port = htons(port);
    if (bind(m_Descriptor, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0 ||
        listen(m_Descriptor, SOMAXCONN) != 0) {
        const uint32_t code = LastError();
        Close();
        return Fail(error, code);
    }
    return 1;
}

SCA_NetSocket* SCA_NetSocket::Accept(uint32_t* error) {
    const int descriptor = accept4(m_Descriptor, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (descriptor < 0) {
        Fail(error, errno == EWOULDBLOCK ? EAGAIN : LastError());
        return nullptr;
    }
    SetNoDelay(descriptor);
    auto* link = new (std::nothrow) SCA_NetSocket(descriptor);
    if (link == nullptr) {
        close(descriptor);
        Fail(error, ENOMEM);
    }
    return link;
}

int SCA_NetSocket::Send(const char* data, size_t size, uint32_t timeoutMs, uint32_t* error) {
    if (m_Descriptor < 0 || !Connected()) {
        return Fail(error, SCA_NET_ERROR_NOT_CONNECTED);
    }
    size_t sent = 0;
    while (sent < size) {
        const ssize_t count = send(m_Descriptor, data + sent, size - sent, MSG_NOSIGNAL);
        if (count > 0) {
            sent += static_cast<size_t>(count);
            continue;
        }
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (WaitFor(POLLOUT, timeoutMs, error)) {
                continue;
            }
        } else {
            Fail(error, LastError());
        }
        Shutdown();
        return 0;
    }
    return 1;
}

int SCA_NetSocket::Receive(char* buf, size_t size, uint32_t timeoutMs, size_t* received,
                           uint32_t* error, bool dataExpected) {
    if (m_Descriptor < 0 || !Connected()) {
        return Fail(error, SCA_NET_ERROR_NOT_CONNECTED);
    }
    const SCA_NetDeadline deadline(timeoutMs);
    bool wait = !dataExpected;
    for (;;) {
        if (wait && !WaitFor(POLLIN, deadline.RemainingMs(), error)) {
            return 0; // a time-out leaves the connection as it was
        }
        const ssize_t count = recv(m_Descriptor, buf, size, MSG_DONTWAIT);
        if (count > 0) {
            *received = static_cast<size_t>(count);
            m_ReceivedBytes.fetch_add(*received, std::memory_order_release);
            return 1;
        }
        if (count == 0) {
            Shutdown();
            return Fail(error, SCA_NET_ERROR_CLOSED);
        }
        if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
            const uint32_t code = LastError();
            Shutdown();
            return Fail(error, code);
        }
        wait = errno != EINTR;
    }
}

size_t SCA_NetSocket::Peek(char* buf, size_t size) const {
    if (m_Descriptor < 0 || !Connected()) {
        return 0;
    }
    const ssize_t count = recv(m_Descriptor, buf, size, MSG_PEEK | MSG_DONTWAIT);
    return count > 0 ? static_cast<size_t>(count) : 0;
}

int SCA_NetSocket::HasPeerLeft() const {
    if (m_Descriptor < 0 || !Connected()) {
        return 1;
    }
    pollfd entry{m_Descriptor, POLLRDHUP, 0};
    const int ready = poll(&entry, 1, 0);
    return ready > 0 && (entry.revents & (POLLRDHUP | POLLHUP | POLLERR)) != 0 ? 1 : 0;
}

uint16_t SCA_NetSocket::GetLocalPort() const {
    sockaddr_storage address{};
    socklen_t size = sizeof(address);
    if (m_Descriptor < 0 ||
        getsockname(m_Descriptor, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        return 0;
    }
    if (address.ss_family == AF_INET6) {
        return ntohs(reinterpret_cast<const sockaddr_in6*>(&address)->sin6_port);
    }
    return ntohs(reinterpret_cast<const sockaddr_in*>(&address)->sin_port);
}

int SCA_NetSocket::GetPeerAddress(char* text, size_t size) const {
    sockaddr_storage address{};
    socklen_t length = sizeof(address);
    if (text == nullptr || size == 0) {
        return 0;
    }
    text[0] = '\0';
    if (m_Descriptor < 0 ||
        getpeername(m_Descriptor, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        return 0;
    }
    const void* bytes =
        address.ss_family == AF_INET6
            ? static_cast<const void*>(&reinterpret_cast<const sockaddr_in6*>(&address)->sin6_addr)
            : &reinterpret_cast<const sockaddr_in*>(&address)->sin_addr;
    if (inet_ntop(address.ss_family, bytes, text, static_cast<socklen_t>(size)) == nullptr) {
        text[0] = '\0';
        return 0;
    }
    return 1;
}

int SCA_NetSocket::IsLoopbackAddress(const char* text) {
    in_addr v4{};
    in6_addr v6{};
    if (text != nullptr && inet_pton(AF_INET, text, &v4) == 1) {
        return (ntohl(v4.s_addr) >> 24) == IN_LOOPBACKNET ? 1 : 0;
    }
    if (text != nullptr && inet_pton(AF_INET6, text, &v6) == 1) {
        if (IN6_IS_ADDR_LOOPBACK(&v6)) {
            return 1;
        }
        if (IN6_IS_ADDR_V4MAPPED(&v6)) {
            return v6.s6_addr[12] == IN_LOOPBACKNET ? 1 : 0;
        }
    }
    return 0;
}
