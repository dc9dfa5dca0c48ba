// SPDX-License-Identifier: MIT
#include "net/SCA_NetServerAgent.h"

#include <cstring>
#include <new>

#include "libmor/SCA_Report.h"
#include "libmor/SCA_String.h"
#include "libmor/SCA_Sync.h"
#include "libmor/SCA_System.h"
#include "net/SCA_NetProtocol.h"
#include "net/SCA_NetSocket.h"
#include "net/SCA_NetTransport.h"
#include "net/SCA_VirtualCmdServer.h"

namespace {

// Stop releases the start signal, so this only bounds a wait that missed it.
constexpr uint32_t kStartSliceMs = 1000;

thread_local SCA_NetServerAgent* t_CurrentAgent = nullptr;

// A client that leaves, a stranger that idles out and a server that stops end connections
// every day; only a peer that broke the protocol is worth a line in the log.
void ReportBrokenPeer(uint32_t id, const char* what, uint32_t code) {
    if (!SCA_NetIsProtocolFault(code)) {
        return;
    }
    char text[256];
    SCA_GetErrorDescr(code, text, sizeof(text));
    SCA_GetReportFunction(__FILE__, __LINE__)(
        SCA_LEVEL_ERROR, "SCA_NetServerAgent: connection %u closed, %s: %s", id, what, text);
}

} // namespace

SCA_NetServerAgent::SCA_NetServerAgent(SCA_VirtualCmdServer* server, uint32_t id,
                                       SCA_NetSocket* link)
    : m_Id(id), m_StartSignal(1, 0), m_Server(server) {
    const bool baseBuilt = IsConstructed() != 0;
    SetConstructed(0);
    m_Transport = new (std::nothrow) SCA_NetTransport(link);
    if (m_Transport == nullptr) {
        SCA_Object::Destroy(link);
        return;
    }
    if (baseBuilt && server != nullptr && m_StartSignal.IsConstructed() &&
        m_Request.IsConstructed() && m_Reply.IsConstructed()) {
        SetConstructed();
    }
}

SCA_NetServerAgent::~SCA_NetServerAgent() {
    Stop();
    Unlock(__FILE__);
    SCA_Object::Destroy(m_Transport);
}

int SCA_NetServerAgent::Start() {
    m_StartSignal.Set();
    return 1;
}

void SCA_NetServerAgent::Stop() {
    {
        std::lock_guard<std::mutex> lock(m_StopLock);
        m_StopRequested = true;
        if (!m_Answering && m_Transport != nullptr) {
            m_Transport->Shutdown();
        }
    }
    m_StartSignal.Set();
    // A login held for its turn is answering: it ends now, unchecked, not when its turn comes.
    if (m_Server != nullptr) {
        m_Server->GetLoginThrottle()->Wake();
    }
}

bool SCA_NetServerAgent::IsStopping() {
    std::lock_guard<std::mutex> lock(m_StopLock);
    return m_StopRequested;
}

bool SCA_NetServerAgent::IsAnswering() {
    std::lock_guard<std::mutex> lock(m_StopLock);
    return m_Answering;
}

int SCA_NetServerAgent::HasSpoken() const {
    return m_Transport != nullptr && m_Transport->HasPeerSent();
}

int SCA_NetServerAgent::StopIfIdle() {
    {
        std::lock_guard<std::mutex> lock(m_StopLock);
        if (m_Answering || m_StopRequested ||
            (m_Transport != nullptr && m_Transport->HasUnreadFrame())) {
            return 0;
        }
        m_StopRequested = true;
        if (m_Transport != nullptr) {
            m_Transport->Shutdown();
        }
    }
    m_StartSignal.Set();
    return 1;
}

void SCA_NetServerAgent::SetPeerAddress(const char* address) {
    SCA_StrnCpy(m_PeerAddress, address, sizeof(m_PeerAddress));
}

int SCA_NetServerAgent::IsLoopbackPeer() const {
    return SCA_NetSocket::IsLoopbackAddress(m_PeerAddress);
}

int SCA_NetServerAgent::AwaitLoginTurn(uint64_t* startMs) {
    // A login whose client has gone is not checked when its turn comes: its result would
    // still change what the address's next logins meet, and tell it to nobody.
    return m_Server->GetLoginThrottle()->AwaitTurn(
               m_PeerAddress, [this] { return IsStopping() || m_Transport->HasPeerLeft() != 0; },
               startMs)
               ? 1
               : 0;
}

bool SCA_NetServerAgent::BeginAnswer() {
    std::lock_guard<std::mutex> lock(m_StopLock);
    m_Answering = !m_StopRequested;
    return m_Answering;
}

void SCA_NetServerAgent::EndAnswer() {
    std::lock_guard<std::mutex> lock(m_StopLock);
    m_Answering = false;
    if (m_StopRequested) {
        m_Transport->Shutdown();
    }
}

SCA_NetServerAgent* SCA_NetServerAgent::Current() {
    return t_CurrentAgent;
}

int SCA_NetServerAgent::ThreadFunc() {
    t_CurrentAgent = this;
    if (WaitForStart()) {
        Serve();
    }
    m_Transport->Shutdown();
    m_Finished.store(1, std::memory_order_release);
    m_Server->AgentEnded();
    return 0;
}

bool SCA_NetServerAgent::WaitForStart() {
    while (!GetStopEvent()->IsSignaled()) {
        if (m_StartSignal.Wait(kStartSliceMs) == SCA_WAIT_OK) {
            return GetStopEvent()->IsSignaled() == 0 && m_Transport->Connected() != 0;
        }
    }
    return false;
}

void SCA_NetServerAgent::Serve() {
    uint32_t error = 0;
    if (!m_Transport->Greet(m_Server->GetServerVersion(), m_Server->GetServerHostName(),
                            m_Server->LoginModeForGreeting(this), m_Server->GetServerStartTime(),
                            SCA_NET_GREETING_TIMEOUT_MS, &error)) {
        ReportBrokenPeer(m_Id, "no valid answer to the greeting", error);
        return;
    }
    m_Server->NotifyConnect(this);
    while (m_Transport->WaitForMessage(PrepareWait(), &m_Request, &error) && BeginAnswer()) {
        const bool answered = Answer(&error);
        EndAnswer();
        if (!answered) {
            break;
        }
        // A large request or reply is not kept while the connection idles.
        m_Request.GetData()->Clear();
        m_Reply.GetData()->Clear();
    }
    ReportBrokenPeer(m_Id, "a request that cannot be read", error);
    m_Server->NotifyDisconnect(this);
}

uint32_t SCA_NetServerAgent::PrepareWait() {
    m_Transport->SetFrameTimeout(m_Server->GetFrameTimeoutMs());
    if (IsAuthenticated()) {
        m_Transport->SetMaxPayload(SCA_NET_MAX_PAYLOAD);
        return SCA_INFINITE;
    }
    const uint32_t maxPayload = m_Server->GetStrangerMaxPayload();
    const uint32_t idleMs = m_Server->GetStrangerIdleMs();
    m_Transport->SetMaxPayload(maxPayload != 0 ? maxPayload : SCA_NET_MAX_PAYLOAD);
    return idleMs != 0 ? idleMs : SCA_INFINITE;
}

bool SCA_NetServerAgent::Answer(uint32_t* error) {
    m_Reply.SetControlCode(SCA_NET_CODE_COMMAND);
    m_Reply.SetControlFlags(0);
    m_Reply.Init("ERR");
    m_Server->Dispatch(this, &m_Request, &m_Reply);
    if (std::strcmp(m_Reply.GetCommandName(), "OK") != 0) {
        m_Reply.SetCommandName("ERR");
    }
    if (m_Transport->SendMessageA(0, &m_Reply, error)) {
        return true;
    }
    if (!m_Transport->Connected()) {
        return false;
    }
    // The handler's reply cannot go out as it is (too large, a transport control code): the
    // request is still answered, as a failure.
    char text[256];
    SCA_GetErrorDescr(*error, text, sizeof(text));
    SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                              "SCA_NetServerAgent: cannot send the reply to %s: %s",
                                              m_Request.GetCommandName(), text);
    m_Reply.SetControlCode(SCA_NET_CODE_COMMAND);
    m_Reply.Init("ERR");
    return m_Transport->SendMessageA(0, &m_Reply, error) != 0;
}

int SCA_NetServerAgent::IsInternalCommand(uint32_t code) {
    return code >= SCA_NET_CODE_FIRST_INTERNAL && code <= SCA_NET_CODE_LAST_INTERNAL ? 1 : 0;
}

int SCA_NetServerAgent::BuildFullName(const char* path, const char* name, char* dst,
                                      uint32_t size) {
    if (dst == nullptr || size == 0) {
        return 0;
    }
    dst[0] = '\0';
    if (name == nullptr) {
        return 0;
    }
    const size_t pathLength = path != nullptr ? std::strlen(path) : 0;
    const size_t join = pathLength > 0 && path[pathLength - 1] == '/' ? pathLength - 1 : pathLength;
    const size_t separator = pathLength > 0 ? 1 : 0;
    const size_t nameLength = std::strlen(name);
    const size_t total = join + separator + nameLength;
    if (total >= size) {
        return 0;
    }
    if (separator != 0) {
        std::memcpy(dst, path, join);
        dst[join] = '/';
    }
    std::memcpy(dst + join + separator, name, nameLength);
    dst[total] = '\0';
    return 1;
}
