// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "libmor/SCA_Heap.h"
#include "libmor/SCA_Object.h"

// One TCP socket: the link under a transport, or a server's listening socket. The descriptor
// is non-blocking; every wait is a poll with the time left, retried on EINTR, and sends use
// MSG_NOSIGNAL.
//
// Shutdown may be called from another thread while a wait runs: it ends the wait at once. The
// descriptor itself is closed only by the destructor (or a new Connect), so that a number the
// system hands out again never reaches a thread still holding this socket.
class SCA_NetSocket : public SCA_Object {
public:
    SCA_HEAP_OPERATORS

    SCA_NetSocket();
    // Adopts a connected descriptor (non-blocking, close-on-exec), as Accept makes them.
    explicit SCA_NetSocket(int descriptor);
    ~SCA_NetSocket() override;
    SCA_NetSocket(const SCA_NetSocket&) = delete;
    SCA_NetSocket& operator=(const SCA_NetSocket&) = delete;

    // Connects to host:port, trying each address the name resolves to, all within timeoutMs
    // (name resolution itself is the resolver's and not bounded here). 0 with *error: an errno
    // value, SCA_NET_ERROR_HOST, SCA_NET_ERROR_TIMEOUT or SCA_NET_ERROR_ARGUMENT.
    int Connect(const char* host, uint16_t port, uint32_t timeoutMs, uint32_t* error);
    // Listens on every IPv4 interface; port 0 lets the kernel choose (GetLocalPort tells).
    int Listen(uint16_t port, uint32_t* error);
    // The next connection waiting on a listening socket, or null with *error (EAGAIN when
    // none waits).
    SCA_NetSocket* Accept(uint32_t* error);

    // Sends every byte, waiting at most timeoutMs at a time for room. A failure leaves the
    // socket shut down: part of the bytes may have gone out.
    int Send(const char* data, size_t size, uint32_t timeoutMs, uint32_t* error);
    // Waits at most timeoutMs for bytes and reads what is there, up to size. 0 with *error
    // SCA_NET_ERROR_TIMEOUT (the socket stays usable), SCA_NET_ERROR_CLOSED when the peer
    // closed, or an errno value; the last two leave the socket shut down. With dataExpected
    // (the rest of a frame begun) it reads before it waits: a wait costs a system call that
    // bytes already there do not need, and a read costs one that a wait for the peer does.
    int Receive(char* buf, size_t size, uint32_t timeoutMs, size_t* received, uint32_t* error,
                bool dataExpected = false);

    // Copies up to size of the bytes that wait to be read, without taking them or waiting;
    // how many (0 when none wait or the socket is closed). Safe from any thread.
    size_t Peek(char* buf, size_t size) const;

    // 1 once the peer has closed its end or the connection failed, whether or not bytes still
    // wait to be read; without waiting. Safe from any thread.
    int HasPeerLeft() const;

    // How many bytes Receive has read. Safe from any thread.
    uint64_t GetReceivedBytes() const { return m_ReceivedBytes.load(std::memory_order_acquire); }

    // Ends both directions; a wait in progress returns. Safe from any thread.
    void Shutdown();
    // 1 while the connection is open.
    int Connected() const { return m_Connected.load(std::memory_order_acquire); }
    int GetDescriptor() const { return m_Descriptor; }
    // The local port of a bound socket, 0 when there is none.
    uint16_t GetLocalPort() const;
    // The connected peer's address as text ("192.0.2.7"); 0 (text empty) when there is none.
    int GetPeerAddress(char* text, size_t size) const;
    // 1 for an address of this computer's loopback (127.0.0.0/8, ::1 and ::ffff:127.x.y.z).
    static int IsLoopbackAddress(const char* text);

private:
    void Close();
    int WaitFor(short events, uint32_t timeoutMs, uint32_t* error);
    int ConnectAddress(const void* address, uint32_t length, int family, uint32_t timeoutMs,
                       uint32_t* error);

    int m_Descriptor = -1;
    std::atomic<int> m_Connected{0};
    std::atomic<uint64_t> m_ReceivedBytes{0};
};
