// SPDX-License-Identifier: MIT
#include "net/SCA_NetTransport.h"

#include <algorithm>
#include <cerrno>
#include <new>

#include "libmor/SCA_Heap.h"
#include "libmor/SCA_String.h"
#include "libmor/SCA_System.h"
#include "libmor/SCA_Time.h"
#include "model/SCA_ConfigObj.h"
#include "net/SCA_NetDeadline.h"
#include "net/SCA_NetMessage.h"
#include "net/SCA_NetProtocol.h"
#include "net/SCA_NetSocket.h"

namespace {

constexpr size_t kReceiveBuffer = 64u * 1024u;
constexpr uint64_t kMsPerSecond = 1000;
constexpr const char* kGreeting = "Greeting";
constexpr const char* kGreetingReply = "GreetingReply";

int Fail(uint32_t* error, uint32_t code) {
    if (error != nullptr) {
        *error = code;
    }
    return 0;
}

bool IsTransportCode(uint32_t code) {
    return code >= SCA_NET_CODE_FIRST_INTERNAL && code <= SCA_NET_CODE_LAST_INTERNAL;
}

} // namespace

SCA_NetTransport::SCA_NetTransport(SCA_NetSocket* link)
    : m_Link(link), m_ServerEnd(link != nullptr), m_ClientStartTime(SCA_GetAbsTime()) {
    SetConstructed();
}

SCA_NetTransport::~SCA_NetTransport() {
    CloseLink();
    SCA_HeapFree(m_Buffer);
}

int SCA_NetTransport::Connected() const {
    return m_Link != nullptr && m_Link->Connected() ? 1 : 0;
}

void SCA_NetTransport::Shutdown() {
    if (m_Link != nullptr) {
        m_Link->Shutdown();
    }
}

void SCA_NetTransport::CloseLink() {
    SCA_Object::Destroy(m_Link);
    m_Link = nullptr;
}

void SCA_NetTransport::ResetStream() {
    m_Reader.Reset();
    m_BufferStart = 0;
    m_BufferEnd = 0;
    m_AwaitedSequence = 0;
    m_RequestSequence = 0;
}

// --- greeting -------------------------------------------------------------------------------

int SCA_NetTransport::Connect(const char* host, uint16_t port, uint32_t timeoutMs,
                              uint32_t* error) {
    const SCA_NetDeadline deadline(timeoutMs);
    CloseLink();
    ResetStream();
    m_ServerEnd = false;
    m_ServerHostName[0] = '\0';
    m_ServerVersion[0] = '\0';
    uint32_t code = ENOMEM;
    m_Link = new (std::nothrow) SCA_NetSocket();
    if (m_Link == nullptr || !m_Link->Connect(host, port, timeoutMs, &code) ||
        !ReadGreeting(deadline, &code) || !SendGreetingReply(&code)) {
        CloseLink();
        return Fail(error, code);
    }
    return 1;
}

int SCA_NetTransport::ReadGreeting(const SCA_NetDeadline& deadline, uint32_t* error) {
    if (!ReceiveFrame(deadline, error)) {
        return 0;
    }
    SCA_NetMessage greeting;
    if (m_Reader.GetControlCode() != SCA_NET_CODE_GREETING || !m_Reader.TakeMessage(&greeting)) {
        return Fail(error, SCA_NET_ERROR_GREETING);
    }
    SCA_ConfigObj* data = greeting.GetData();
    char version[sizeof(m_ServerVersion)];
    char hostName[sizeof(m_ServerHostName)];
    uint32_t loginMode = 0;
    uint64_t startTime = 0;
    uint64_t connectTime = 0;
    if (!data->GetField("ServerVersion", version, sizeof(version)) ||
        !data->GetField("ServerHostName", hostName, sizeof(hostName)) ||
        !data->GetField("ServerLoginMode", &loginMode) ||
        !data->GetField("ServerStartTime", &startTime) ||
        !data->GetField("ServerConnectTime", &connectTime)) {
        return Fail(error, SCA_NET_ERROR_GREETING);
    }
    SCA_StrnCpy(m_ServerVersion, version, sizeof(m_ServerVersion));
    SCA_StrnCpy(m_ServerHostName, hostName, sizeof(m_ServerHostName));
    m_ServerLoginMode = loginMode;
    m_ServerStartTime = startTime;
    m_ServerConnectTime = connectTime;
    m_ClientConnectTime = SCA_GetAbsTime();
    return 1;
}

int SCA_NetTransport::SendGreetingReply(uint32_t* error) {
    SCA_NetMessage reply;
    reply.Init(kGreetingReply);
    reply.SetControlCode(SCA_NET_CODE_GREETING_REPLY);
    if (!reply.GetData()->AddField("ClientStartTime", m_ClientStartTime) ||
        !reply.GetData()->AddField("ClientConnectTime", m_ClientConnectTime)) {
        return Fail(error, ENOMEM);
    }
    return SendFrame(&reply, 0, error);
}

int SCA_NetTransport::Greet(const char* version, const char* hostName, uint32_t loginMode,
                            uint64_t serverStartTime, uint32_t timeoutMs, uint32_t* error) {
    const SCA_NetDeadline deadline(timeoutMs);
    m_ServerEnd = true;
    SCA_StrnCpy(m_ServerVersion, version, sizeof(m_ServerVersion));
    SCA_StrnCpy(m_ServerHostName, hostName, sizeof(m_ServerHostName));
    m_ServerLoginMode = loginMode;
    m_ServerStartTime = serverStartTime;
    m_ServerConnectTime = SCA_GetAbsTime();
    m_ClientStartTime = 0;
    m_ClientConnectTime = 0;

    uint32_t code = ENOMEM;
    SCA_NetMessage greeting;
    greeting.Init(kGreeting);
    greeting.SetControlCode(SCA_NET_CODE_GREETING);
    SCA_ConfigObj* data = greeting.GetData();
    const bool built = data->AddField("ServerVersion", m_ServerVersion) &&
                       data->AddField("ServerHostName", m_ServerHostName) &&
                       data->AddField("ServerLoginMode", m_ServerLoginMode) &&
                       data->AddField("ServerStartTime", m_ServerStartTime) &&
                       data->AddField("ServerConnectTime", m_ServerConnectTime);
    if (!Connected()) {
        code = SCA_NET_ERROR_NOT_CONNECTED;
    } else if (built && SendFrame(&greeting, 0, &code) && ReadGreetingReply(deadline, &code)) {
        return 1;
    }
    Shutdown();
    return Fail(error, code);
}

int SCA_NetTransport::ReadGreetingReply(const SCA_NetDeadline& deadline, uint32_t* error) {
    if (!ReceiveFrame(deadline, error)) {
        return 0;
    }
    SCA_NetMessage reply;
    uint64_t startTime = 0;
    uint64_t connectTime = 0;
    if (m_Reader.GetControlCode() != SCA_NET_CODE_GREETING_REPLY || !m_Reader.TakeMessage(&reply) ||
        !reply.GetData()->GetField("ClientStartTime", &startTime) ||
        !reply.GetData()->GetField("ClientConnectTime", &connectTime)) {
        return Fail(error, SCA_NET_ERROR_GREETING);
    }
    m_ClientStartTime = startTime;
    m_ClientConnectTime = connectTime;
    return 1;
}

// --- messages -------------------------------------------------------------------------------

int SCA_NetTransport::SendFrame(SCA_NetMessage* message, uint32_t sequence, uint32_t* error) {
    if (!m_Writer.Encode(message, sequence, error)) {
        return 0;
    }
    const int sent =
        m_Link->Send(m_Writer.GetData(), m_Writer.GetSize(), SCA_NET_SEND_TIMEOUT_MS, error);
    m_Writer.Trim();
    return sent;
}

int SCA_NetTransport::SendMessageA(uint32_t /*reserved*/, SCA_NetMessage* message,
                                   uint32_t* error) {
    uint32_t code = SCA_NET_ERROR_ARGUMENT;
    if (message != nullptr && !IsTransportCode(message->GetControlCode())) {
        if (!Connected()) {
            code = SCA_NET_ERROR_NOT_CONNECTED;
        } else {
            const uint32_t sequence = m_ServerEnd ? m_RequestSequence : m_NextSequence;
            if (SendFrame(message, sequence, &code)) {
                if (!m_ServerEnd) {
                    m_AwaitedSequence = sequence;
                    // 0 is the greeting's number, never a request's.
                    m_NextSequence = sequence + 1 != 0 ? sequence + 1 : 1;
                }
                return 1;
            }
        }
    }
    return Fail(error, code);
}

int SCA_NetTransport::ReceiveFrame(const SCA_NetDeadline& deadline, uint32_t* error) {
    // The first read waits for the peer; the rest of a frame that came in parts is mostly
    // there already.
    bool restOfFrame = false;
    for (;;) {
        if (m_Reader.IsComplete()) {
            return 1;
        }
        if (m_Reader.GetError() != 0) {
            Shutdown();
            return Fail(error, m_Reader.GetError());
        }
        if (m_BufferStart < m_BufferEnd) {
            FeedReader();
            continue;
        }
        if (m_Link == nullptr) {
            return Fail(error, SCA_NET_ERROR_NOT_CONNECTED);
        }
        if (m_Buffer == nullptr) {
            m_Buffer = static_cast<char*>(SCA_HeapAlloc(kReceiveBuffer));
            if (m_Buffer == nullptr) {
                return Fail(error, ENOMEM);
            }
        }
        uint32_t waitMs = deadline.RemainingMs();
        const bool frameBound =
            m_Reader.IsBegun() && m_FrameDeadline.RemainingMs() <= deadline.RemainingMs();
        if (frameBound) {
            waitMs = m_FrameDeadline.RemainingMs();
        }
        size_t received = 0;
        if (!m_Link->Receive(m_Buffer, kReceiveBuffer, waitMs, &received, error, restOfFrame)) {
            if (frameBound && m_Link->Connected()) {
                // The rest of a frame begun never came: what follows can no longer be trusted.
                Shutdown();
            }
            return 0;
        }
        restOfFrame = true;
        m_BufferStart = 0;
        m_BufferEnd = received;
    }
}

void SCA_NetTransport::FeedReader() {
    const bool begun = m_Reader.IsBegun() != 0;
    const bool payloadKnown = m_Reader.GetPayloadLength() != 0;
    m_BufferStart +=
        m_Reader.Feed(m_Buffer + m_BufferStart, static_cast<uint32_t>(m_BufferEnd - m_BufferStart));
    if (!begun && m_Reader.IsBegun()) {
        m_FrameDeadline = SCA_NetDeadline(m_FrameTimeoutMs);
    }
    if (!payloadKnown && m_Reader.IsBegun() && m_Reader.GetPayloadLength() != 0 &&
        !m_FrameDeadline.IsInfinite()) {
        const uint64_t extraMs =
            uint64_t{m_Reader.GetPayloadLength()} * kMsPerSecond / SCA_NET_SLOWEST_BYTES_PER_SECOND;
        m_FrameDeadline = SCA_NetDeadline(static_cast<uint32_t>(
            std::min<uint64_t>(m_FrameDeadline.RemainingMs() + extraMs, SCA_INFINITE - 1)));
    }
}

int SCA_NetTransport::HasPeerSent() const {
    if (m_Link == nullptr) {
        return 0;
    }
    // Bytes leave the socket's queue before the count of those read grows: a look at the count
    // after the queue misses them only for the few instructions between.
    char byte = 0;
    return m_Link->GetReceivedBytes() != 0 || m_Link->Peek(&byte, 1) != 0 ||
           m_Link->GetReceivedBytes() != 0;
}

int SCA_NetTransport::HasPeerLeft() const {
    return m_Link == nullptr || m_Link->HasPeerLeft() != 0 ? 1 : 0;
}

int SCA_NetTransport::HasUnreadFrame() const {
    if (m_Link == nullptr) {
        return 0;
    }
    char bytes[SCA_NET_PEEK_LIMIT];
    const size_t waiting = m_Link->Peek(bytes, sizeof(bytes));
    if (waiting == 0) {
        return 0;
    }
    SCA_NetFrameReader reader;
    reader.Feed(bytes, static_cast<uint32_t>(waiting));
    return reader.IsComplete();
}

int SCA_NetTransport::WaitForMessage(uint32_t timeoutMs, SCA_NetMessage* message, uint32_t* error) {
    const SCA_NetDeadline deadline(timeoutMs);
    uint32_t code = SCA_NET_ERROR_ARGUMENT;
    while (message != nullptr && ReceiveFrame(deadline, &code)) {
        if (IsTransportCode(m_Reader.GetControlCode())) {
            code = SCA_NET_ERROR_UNEXPECTED;
            Shutdown();
            break;
        }
        const uint32_t sequence = m_Reader.GetSequence();
        if (!m_ServerEnd && sequence != m_AwaitedSequence) {
            m_Reader.SkipFrame(); // the late reply to a request that timed out
            continue;
        }
        if (!m_Reader.TakeMessage(message)) {
            code = m_Reader.GetError();
            Shutdown();
            break;
        }
        if (m_ServerEnd) {
            m_RequestSequence = sequence;
        } else {
            m_AwaitedSequence = 0;
        }
        return 1;
    }
    return Fail(error, code);
}
