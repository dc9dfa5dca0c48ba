// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>

#include "libmor/SCA_Object.h"
#include "libmor/SCA_Sync.h"
#include "net/SCA_NetDeadline.h"
#include "net/SCA_NetFrameReader.h"
#include "net/SCA_NetFrameWriter.h"

class SCA_NetMessage;
class SCA_NetSocket;

// One connection, client or server end. The client end is made by Connect; the server end is
// given its accepted link and greets the client (Greet). The greeting tells the client the
// server's version, host name and login mode and both ends the four connection times.
//
// Requests carry rising sequence numbers and a reply carries the number of its request; the
// client end takes only the reply to its latest request, so a reply that arrives after its
// time-out is dropped instead of answering a later request.
//
// One thread uses a transport at a time; Shutdown alone may come from another thread.
// Failures close the connection, except a wait that timed out and a message refused before
// any byte was sent. A transport is not copyable: two copies would share one link.
//
// The transport reports nothing itself: every failure comes back as a code, and the caller,
// who knows what the connection was for, decides whether and how to tell anyone.
class SCA_NetTransport : public SCA_Object {
public:
    // A transport without a link (client end), or the server end of an accepted link, which
    // it owns from now on.
    explicit SCA_NetTransport(SCA_NetSocket* link = nullptr);
    ~SCA_NetTransport() override;
    SCA_NetTransport(const SCA_NetTransport&) = delete;
    SCA_NetTransport& operator=(const SCA_NetTransport&) = delete;

    // Opens a connection and waits for the server's greeting, all within timeoutMs; an open
    // connection is closed first. 0 with *error (errno or SCA_NET_ERROR_) on failure.
    int Connect(const char* host, uint16_t port, uint32_t timeoutMs, uint32_t* error);
    // Server end: sends the greeting and waits at most timeoutMs for the client's answer.
    int Greet(const char* version, const char* hostName, uint32_t loginMode,
              uint64_t serverStartTime, uint32_t timeoutMs, uint32_t* error);

    // Sends message (reserved: 0): a request from the client end, the reply to the last
    // request received at the server end. Messages with a transport control code (2 to 11)
    // are refused, as is a payload above the size limit; then nothing is sent and the
    // connection stays open.
    int SendMessageA(uint32_t reserved, SCA_NetMessage* message, uint32_t* error);
    // Waits at most timeoutMs (SCA_INFINITE: until a message comes or the connection ends)
    // for the next request (server end) or the reply to the latest request (client end), and
    // replaces code, flags, name and tree of message with it. A time-out gives
    // SCA_NET_ERROR_TIMEOUT and leaves the connection open, unless the frame time-out ran out
    // (then it is closed); message stays as it was on every failure.
    int WaitForMessage(uint32_t timeoutMs, SCA_NetMessage* message, uint32_t* error);

    // How long a frame may take from its first byte to its last (SCA_INFINITE, the default:
    // no limit), and a second more for every SCA_NET_SLOWEST_BYTES_PER_SECOND of its payload.
    // A frame begun that is not complete by then closes the connection, however long the wait
    // for the message was to be: a peer may idle between frames, never inside one.
    void SetFrameTimeout(uint32_t timeoutMs) { m_FrameTimeoutMs = timeoutMs; }
    uint32_t GetFrameTimeout() const { return m_FrameTimeoutMs; }

    // The largest payload of the frames received from now on (see SCA_NetFrameReader).
    void SetMaxPayload(uint32_t maxPayload) { m_Reader.SetMaxPayload(maxPayload); }
    uint32_t GetMaxPayload() const { return m_Reader.GetMaxPayload(); }
    // The payload size of the last message received (0 before).
    uint32_t GetLastPayload() const { return m_Reader.GetTakenPayload(); }
    // The payload size of a frame refused for its size, as its head announced it, until the
    // next Connect (0 for none): what the caller tells when it says why.
    uint32_t GetRefusedPayload() const { return m_Reader.GetRefusedPayload(); }

    // 1 when a whole, well-formed frame of at most SCA_NET_PEEK_LIMIT bytes waits in the
    // link, not yet read. Looks without taking, so it may come from another thread than the
    // one that reads; a frame begun in what was read already is not seen.
    int HasUnreadFrame() const;

    // 1 once the peer sent any byte, read or still waiting. Safe from any thread.
    int HasPeerSent() const;
    // 1 once the peer has closed its end (or the connection has ended). Safe from any thread.
    int HasPeerLeft() const;

    // 0 before the first Connect and once the connection has ended.
    int Connected() const;
    // Ends the connection; a wait in another thread returns at once.
    void Shutdown();

    uint32_t GetServerLoginMode() const { return m_ServerLoginMode; }
    void SetServerLoginMode(uint32_t mode) { m_ServerLoginMode = mode; }
    uint64_t GetServerStartTime() const { return m_ServerStartTime; }
    void SetServerStartTime(uint64_t time) { m_ServerStartTime = time; }
    uint64_t GetServerConnectTime() const { return m_ServerConnectTime; }
    void SetServerConnectTime(uint64_t time) { m_ServerConnectTime = time; }
    uint64_t GetClientStartTime() const { return m_ClientStartTime; }
    void SetClientStartTime(uint64_t time) { m_ClientStartTime = time; }
    uint64_t GetClientConnectTime() const { return m_ClientConnectTime; }
    void SetClientConnectTime(uint64_t time) { m_ClientConnectTime = time; }
    // Carried for the caller; the transport does not interpret them.
    uint32_t GetMsgControlFlags() const { return m_MsgControlFlags; }
    void SetMsgControlFlags(uint32_t flags) { m_MsgControlFlags = flags; }
    uint32_t GetBlockRetryCount() const { return m_BlockRetryCount; }
    void SetBlockRetryCount(uint32_t count) { m_BlockRetryCount = count; }
    // What the greeting said (empty before).
    const char* GetServerHostName() const { return m_ServerHostName; }
    const char* GetServerVersion() const { return m_ServerVersion; }

private:
    int SendFrame(SCA_NetMessage* message, uint32_t sequence, uint32_t* error);
    // Waits until the reader holds a complete frame. 0 with *error; protocol errors close, as
    // does a frame begun that runs out of its frame time-out.
    int ReceiveFrame(const SCA_NetDeadline& deadline, uint32_t* error);
    // Gives the reader the bytes received and not yet taken, starting the frame's clock when
    // they begin one.
    void FeedReader();
    int ReadGreeting(const SCA_NetDeadline& deadline, uint32_t* error);
    int ReadGreetingReply(const SCA_NetDeadline& deadline, uint32_t* error);
    int SendGreetingReply(uint32_t* error);
    void CloseLink();
    void ResetStream();

    SCA_NetSocket* m_Link;
    bool m_ServerEnd;
    uint32_t m_NextSequence = 1;
    uint32_t m_AwaitedSequence = 0; // client end: the request whose reply is due, 0 for none
    uint32_t m_RequestSequence = 0; // server end: the request being answered
    char m_ServerHostName[256] = "";
    char m_ServerVersion[64] = "";
    uint32_t m_ServerLoginMode = 0;
    uint64_t m_ServerStartTime = 0;
    uint64_t m_ServerConnectTime = 0;
    uint64_t m_ClientStartTime;
    uint64_t m_ClientConnectTime = 0;
    uint32_t m_MsgControlFlags = 0;
    uint32_t m_BlockRetryCount = 0;

    SCA_NetFrameReader m_Reader;
    SCA_NetFrameWriter m_Writer;
    uint32_t m_FrameTimeoutMs = SCA_INFINITE;
    // When the frame the reader has begun must be complete.
    SCA_NetDeadline m_FrameDeadline{SCA_INFINITE};
    // Bytes received and not yet given to the reader: a read may bring the start of the next
    // frame.
    char* m_Buffer = nullptr;
    size_t m_BufferStart = 0;
    size_t m_BufferEnd = 0;
};
