// SPDX-License-Identifier: MIT
#include "net/SCA_VirtualCmdServer.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <new>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>
#include <utility>
#include <vector>

#include "libmor/SCA_Report.h"
#include "libmor/SCA_String.h"
#include "libmor/SCA_System.h"
#include "libmor/SCA_Time.h"
#include "net/SCA_NetServerAgent.h"
#include "net/SCA_NetSocket.h"

namespace {

// The listener sleeps until a connection comes or its wake descriptor is written (an event
// counter: no wake is lost), so an idle service does not wake at all.
constexpr int kListenerWaitForever = -1;
// Pause after accept failed for want of descriptors or memory, instead of spinning.
constexpr int kBackoffMs = 100;
// Strangers closed to make room are reported at most this often, so that a flood of
// connections does not flood the log too.
constexpr uint64_t kClosedReportMs = 60000;
// Connections taken from the kernel's queue at one wake of the listener, before any is served.
constexpr size_t kMaxAcceptBatch = 1024;

int Fail(uint32_t* error, uint32_t code) {
    if (error != nullptr) {
        *error = code;
    }
    return 0;
}

// Failures of accept that concern one connection only, not the listener.
bool IsTransientAcceptError(uint32_t code) {
    return code == EAGAIN || code == EINTR || code == ECONNABORTED || code == EPROTO ||
           code == EPERM;
}

struct ErrorText {
    explicit ErrorText(uint32_t code) { SCA_GetErrorDescr(code, Text, sizeof(Text)); }
    char Text[256];
};

} // namespace

SCA_VirtualCmdServer::SCA_VirtualCmdServer(const char* version, uint16_t port, uint32_t* error)
    : m_Port(port) {
    const bool baseBuilt = IsConstructed() != 0;
    SetConstructed(0);
    SCA_StrnCpy(m_ServerVersion, version, sizeof(m_ServerVersion));
    if (!SCA_GetHostName(m_ServerHostName, sizeof(m_ServerHostName))) {
        m_ServerHostName[0] = '\0';
    }
    if (!baseBuilt) {
        Fail(error, ENOMEM);
        return;
    }
    m_WakeDescriptor = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (m_WakeDescriptor < 0) {
        const uint32_t code = static_cast<uint32_t>(errno);
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_VirtualCmdServer::SCA_VirtualCmdServer: no wake descriptor: %s",
            ErrorText(code).Text);
        Fail(error, code);
        return;
    }
    SetConstructed();
}

SCA_VirtualCmdServer::~SCA_VirtualCmdServer() {
    StopForDestruction();
    if (m_WakeDescriptor >= 0) {
        close(m_WakeDescriptor);
    }
}

void SCA_VirtualCmdServer::StopForDestruction() {
    m_EventsOff.store(true);
    StopAll();
}

// --- control --------------------------------------------------------------------------------

int SCA_VirtualCmdServer::Lock(uint32_t* error) {
    std::lock_guard<std::recursive_mutex> control(m_ControlLock);
    if (m_Listener == nullptr && !Listen(error)) {
        return 0;
    }
    return m_DispatchStarted.load() ? StartListener(error) : 1;
}

int SCA_VirtualCmdServer::Listen(uint32_t* error) {
    if (m_WakeDescriptor < 0) {
        return Fail(error, EBADF);
    }
    uint32_t code = ENOMEM;
    auto* listener = new (std::nothrow) SCA_NetSocket();
    if (listener == nullptr || !listener->Listen(m_Port, &code)) {
        SCA_Object::Destroy(listener);
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_VirtualCmdServer::Lock: cannot listen on port %u: %s",
            static_cast<unsigned>(m_Port), ErrorText(code).Text);
        return Fail(error, code);
    }
    m_Listener = listener;
    m_BoundPort.store(listener->GetLocalPort());
    m_ServerStartTime.store(SCA_GetAbsTime());
    return 1;
}

int SCA_VirtualCmdServer::StartListener(uint32_t* error) {
    if (IsRunning()) {
        return 1;
    }
    return SCA_ThreadObj::Lock(error);
}

int SCA_VirtualCmdServer::StartDispatch(uint32_t* error) {
    std::lock_guard<std::recursive_mutex> control(m_ControlLock);
    m_DispatchStarted.store(true);
    return m_Listener != nullptr ? StartListener(error) : 1;
}

int SCA_VirtualCmdServer::Unlock(const char* sourceFile) {
    // The listener sees the stop only when it wakes: the event must be set before the wake.
    if (GetStopEvent() != nullptr) {
        GetStopEvent()->Set();
    }
    Wake();
    return SCA_ThreadObj::Unlock(sourceFile);
}

void SCA_VirtualCmdServer::StopAll() {
    std::unique_lock<std::recursive_mutex> control(m_ControlLock, std::defer_lock);
    const SCA_NetServerAgent* caller = SCA_NetServerAgent::Current();
    if (caller != nullptr && caller->m_Server == this) {
        // From one of our handlers: a StopAll already under way waits for this very handler,
        // so waiting for that one in turn would never end. It stops everything anyway.
        if (!control.try_lock()) {
            return;
        }
    } else {
        control.lock();
    }
    Unlock(__FILE__);
    SCA_Object::Destroy(m_Listener);
    m_Listener = nullptr;
    m_BoundPort.store(0);
    {
        // Wake every connection first, so that they end together rather than one by one.
        std::lock_guard<std::mutex> lock(m_AgentsLock);
        for (auto* node = m_Agents.GetHead(); node != nullptr; node = node->GetNext()) {
            node->GetItem()->Stop();
        }
    }
    while (SCA_NetServerAgent* agent = TakeAgent(false)) {
        DestroyAgent(agent);
    }
}

void SCA_VirtualCmdServer::SetConnectionLimits(uint32_t maxConnections, uint32_t strangerMaxPayload,
                                               uint32_t strangerIdleMs) {
    m_MaxConnections.store(maxConnections);
    m_StrangerMaxPayload.store(strangerMaxPayload);
    m_StrangerIdleMs.store(strangerIdleMs);
}

void SCA_VirtualCmdServer::SetStrangerLimits(uint32_t maxStrangers, uint32_t maxPerAddress) {
    m_MaxStrangers.store(maxStrangers);
    m_MaxStrangersPerAddress.store(maxPerAddress);
}

void SCA_VirtualCmdServer::SetPeerAddressHook(PeerAddressHook hook) {
    std::lock_guard<std::mutex> lock(m_AgentsLock);
    m_PeerAddressHook = std::move(hook);
}

uint32_t SCA_VirtualCmdServer::GetStrangerCount(const char* address) const {
    std::lock_guard<std::mutex> lock(m_AgentsLock);
    uint32_t count = 0;
    for (auto* node = m_Agents.GetHead(); node != nullptr; node = node->GetNext()) {
        SCA_NetServerAgent* agent = node->GetItem();
        if (IsStranger(agent) &&
            (address == nullptr || std::strcmp(agent->GetPeerAddress(), address) == 0)) {
            ++count;
        }
    }
    return count;
}

uint32_t SCA_VirtualCmdServer::GetAnsweringCount() const {
    std::lock_guard<std::mutex> lock(m_AgentsLock);
    uint32_t count = 0;
    for (auto* node = m_Agents.GetHead(); node != nullptr; node = node->GetNext()) {
        if (node->GetItem()->IsAnswering()) {
            ++count;
        }
    }
    return count;
}

uint32_t SCA_VirtualCmdServer::GetAgentCount() const {
    std::lock_guard<std::mutex> lock(m_AgentsLock);
    return m_Agents.Count();
}

// --- listener -------------------------------------------------------------------------------

int SCA_VirtualCmdServer::ThreadFunc() {
    bool pause = false;
    while (!GetStopEvent()->IsSignaled()) {
        pollfd entries[2] = {{m_WakeDescriptor, POLLIN, 0},
                             {m_Listener->GetDescriptor(), POLLIN, 0}};
        const int ready = poll(entries, pause ? 1 : 2, pause ? kBackoffMs : kListenerWaitForever);
        const bool accepting = !pause;
        pause = false;
        if (ready < 0) {
            continue; // EINTR; nothing else can fail for two valid descriptors
        }
        if (entries[0].revents != 0) {
            DrainWake();
        }
        while (SCA_NetServerAgent* agent = TakeAgent(true)) {
            DestroyAgent(agent);
        }
        if (accepting && (entries[1].revents & POLLIN) != 0 && !GetStopEvent()->IsSignaled()) {
            pause = !AcceptConnections();
        }
    }
    return 0;
}

bool SCA_VirtualCmdServer::AcceptConnections() {
    std::vector<Arrival> arrivals;
    uint32_t code = 0;
    bool resourcesLeft = true;
    while (arrivals.size() < kMaxAcceptBatch) {
        SCA_NetSocket* link = m_Listener->Accept(&code);
        if (link == nullptr) {
            if (!IsTransientAcceptError(code)) {
                SCA_GetReportFunction(__FILE__, __LINE__)(
                    SCA_LEVEL_ERROR, "SCA_VirtualCmdServer::ThreadFunc: cannot accept: %s",
                    ErrorText(code).Text);
                resourcesLeft = false;
            }
            break;
        }
        arrivals.push_back({link, PeerAddressOf(*link)});
    }
    DropDoomedArrivals(&arrivals);
    for (Arrival& arrival : arrivals) {
        if (arrival.Link != nullptr && !ServeConnection(arrival.Link, arrival.Address)) {
            resourcesLeft = false;
        }
    }
    return resourcesLeft;
}

void SCA_VirtualCmdServer::DropDoomedArrivals(std::vector<Arrival>* arrivals) {
    // Strangers arrive faster than the listener starts threads in a flood: it drains the queue
    // in one go, and of the newcomers from one address only as many as that address may keep
    // get a thread; the older ones would be closed at once by the newer to make room anyway.
    const uint32_t maxPerAddress = m_MaxStrangersPerAddress.load();
    const uint32_t maxStrangers = m_MaxStrangers.load();
    std::map<std::string, uint32_t> newer;
    uint32_t kept = 0;
    for (auto arrival = arrivals->rbegin(); arrival != arrivals->rend(); ++arrival) {
        uint32_t& fromAddress = newer[arrival->Address];
        const bool addressFull = maxPerAddress != 0 && fromAddress >= maxPerAddress;
        if (addressFull || (maxStrangers != 0 && kept >= maxStrangers)) {
            SCA_Object::Destroy(arrival->Link);
            arrival->Link = nullptr;
            ++m_ClosedStrangers;
            continue;
        }
        ++fromAddress;
        ++kept;
    }
}

bool SCA_VirtualCmdServer::ServeConnection(SCA_NetSocket* link, const std::string& address) {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    if (!MakeRoom(address)) {
        // Refused before any thread or buffer is spent on it, so that a flood of connections
        // costs the server nothing beyond the accept.
        SCA_Object::Destroy(link);
        report(SCA_LEVEL_WARNING,
               "SCA_VirtualCmdServer::ThreadFunc: connection refused, %u connections are served",
               m_MaxConnections.load());
        return true;
    }
    ReportClosedStrangers();
    const uint32_t id = m_NextAgentId++;
    auto* agent = new (std::nothrow) SCA_NetServerAgent(this, id, link); // owns link from here
    if (agent == nullptr) {
        SCA_Object::Destroy(link);
    }
    bool listed = false;
    if (agent != nullptr && agent->IsConstructed()) {
        agent->SetPeerAddress(address.c_str());
        std::lock_guard<std::mutex> lock(m_AgentsLock);
        listed = m_Agents.AddItemToTail(agent, id) != 0;
    }
    uint32_t code = 0;
    if (listed && agent->Lock(&code)) {
        agent->Start();
        return true;
    }
    if (listed) {
        std::lock_guard<std::mutex> lock(m_AgentsLock);
        m_Agents.DeleteItem(id);
    }
    SCA_Object::Destroy(agent);
    report(SCA_LEVEL_ERROR, "SCA_VirtualCmdServer::ThreadFunc: cannot serve connection %u", id);
    return false;
}

std::string SCA_VirtualCmdServer::PeerAddressOf(const SCA_NetSocket& link) {
    char peer[64] = "";
    link.GetPeerAddress(peer, sizeof(peer));
    std::lock_guard<std::mutex> lock(m_AgentsLock);
    return m_PeerAddressHook ? m_PeerAddressHook(peer) : std::string(peer);
}

bool SCA_VirtualCmdServer::MakeRoom(const std::string& address) {
    // The strangers of each address: how many, and the oldest's place in the list (which
    // runs from the oldest connection).
    struct Strangers {
        uint32_t Count = 0;
        uint32_t Oldest = 0;
    };
    const uint32_t cap = m_MaxConnections.load();
    const uint32_t maxStrangers = m_MaxStrangers.load();
    const uint32_t maxPerAddress = m_MaxStrangersPerAddress.load();
    std::lock_guard<std::mutex> lock(m_AgentsLock);
    uint32_t loggedIn = 0;
    uint32_t strangers = 0;
    uint32_t place = 0;
    std::map<std::string, Strangers> byAddress;
    for (auto* node = m_Agents.GetHead(); node != nullptr; node = node->GetNext(), ++place) {
        SCA_NetServerAgent* agent = node->GetItem();
        if (IsStranger(agent)) {
            Strangers& of = byAddress[agent->GetPeerAddress()];
            of.Oldest = of.Count++ == 0 ? place : of.Oldest;
            ++strangers;
        } else if (!agent->IsFinished() && !agent->IsStopping()) {
            ++loggedIn;
        }
    }
    if (cap != 0 && loggedIn >= cap) {
        return false;
    }
    // Loopback addresses are held to their share as any other: a flood from one of them would
    // otherwise take the places of this computer's other clients, the more so the busier it
    // keeps the computer. Those clients are strangers only until their login.
    const auto own = byAddress.find(address);
    const bool addressFull =
        maxPerAddress != 0 && own != byAddress.end() && own->second.Count >= maxPerAddress;
    const bool full = (cap != 0 && loggedIn + strangers >= cap) ||
                      (maxStrangers != 0 && strangers >= maxStrangers);
    if (!addressFull && !full) {
        return true;
    }
    // Whom to close: the own address's oldest stranger when that address is at its limit,
    // else one of the address with the most strangers (among equals, the one whose oldest
    // waited longest), where a flood comes from rather than a client that logs in.
    std::vector<std::pair<std::string, Strangers>> order(byAddress.begin(), byAddress.end());
    std::sort(order.begin(), order.end(), [&](const auto& a, const auto& b) {
        const bool aOwn = addressFull && a.first == address;
        const bool bOwn = addressFull && b.first == address;
        if (aOwn != bOwn) {
            return aOwn;
        }
        return a.second.Count != b.second.Count ? a.second.Count > b.second.Count
                                                : a.second.Oldest < b.second.Oldest;
    });
    for (const auto& [peer, count] : order) {
        if (CloseStrangerOf(peer, false) || CloseStrangerOf(peer, true)) {
            ++m_ClosedStrangers;
            return true;
        }
        if (addressFull) {
            return false; // an address at its limit never takes the place of another's
        }
    }
    return false;
}

bool SCA_VirtualCmdServer::CloseStrangerOf(const std::string& peer, bool spoken) {
    // One whose request has arrived is left alone (StopIfIdle): it is answered, and may log in.
    for (auto* node = m_Agents.GetHead(); node != nullptr; node = node->GetNext()) {
        SCA_NetServerAgent* agent = node->GetItem();
        if (IsStranger(agent) && peer == agent->GetPeerAddress() &&
            (spoken || !agent->HasSpoken()) && agent->StopIfIdle()) {
            return true;
        }
    }
    return false;
}

bool SCA_VirtualCmdServer::IsStranger(SCA_NetServerAgent* agent) {
    return !agent->IsAuthenticated() && !agent->IsFinished() && !agent->IsStopping();
}

void SCA_VirtualCmdServer::ReportClosedStrangers() {
    const uint64_t now = SCA_NetLoginThrottle::NowMs();
    if (m_ClosedStrangers == 0 ||
        (m_ClosedStrangersReportMs != 0 && now - m_ClosedStrangersReportMs < kClosedReportMs)) {
        return;
    }
    SCA_GetReportFunction(__FILE__, __LINE__)(
        SCA_LEVEL_WARNING,
        "SCA_VirtualCmdServer::ThreadFunc: connections that had not logged in, closed to make "
        "room for new ones: %u",
        m_ClosedStrangers);
    m_ClosedStrangers = 0;
    m_ClosedStrangersReportMs = now;
}

SCA_NetServerAgent* SCA_VirtualCmdServer::TakeAgent(bool finishedOnly) {
    SCA_NetServerAgent* const caller = SCA_NetServerAgent::Current();
    std::lock_guard<std::mutex> lock(m_AgentsLock);
    for (auto* node = m_Agents.GetHead(); node != nullptr; node = node->GetNext()) {
        SCA_NetServerAgent* agent = node->GetItem();
        if (agent == caller || (finishedOnly && !agent->IsFinished())) {
            continue;
        }
        m_Agents.DeleteListItem(node);
        return agent;
    }
    return nullptr;
}

void SCA_VirtualCmdServer::DestroyAgent(SCA_NetServerAgent* agent) {
    agent->Stop();
    agent->Unlock(__FILE__);
    agent->Destroy();
}

void SCA_VirtualCmdServer::Wake() {
    if (m_WakeDescriptor >= 0) {
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = write(m_WakeDescriptor, &one, sizeof(one));
    }
}

void SCA_VirtualCmdServer::DrainWake() {
    uint64_t count = 0;
    [[maybe_unused]] const ssize_t got = read(m_WakeDescriptor, &count, sizeof(count));
}

// --- called by the agents -------------------------------------------------------------------

void SCA_VirtualCmdServer::NotifyConnect(SCA_NetServerAgent* agent) {
    if (!m_EventsOff.load()) {
        ConnectEvent(agent);
    }
}

void SCA_VirtualCmdServer::NotifyDisconnect(SCA_NetServerAgent* agent) {
    if (!m_EventsOff.load()) {
        DisconnectEvent(agent);
    }
}

int SCA_VirtualCmdServer::Dispatch(SCA_NetServerAgent* agent, SCA_NetMessage* request,
                                   SCA_NetMessage* reply) {
    return m_EventsOff.load() ? 0 : DoCommand(agent, request, reply);
}

uint32_t SCA_VirtualCmdServer::GetLoginModeFor(SCA_NetServerAgent* /*connection*/) {
    return GetServerLoginMode();
}

uint32_t SCA_VirtualCmdServer::LoginModeForGreeting(SCA_NetServerAgent* agent) {
    return m_EventsOff.load() ? 0 : GetLoginModeFor(agent);
}

void SCA_VirtualCmdServer::AgentEnded() {
    Wake();
}
