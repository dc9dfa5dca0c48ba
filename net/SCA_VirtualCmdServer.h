// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "containers/SCA_List.h"
#include "libmor/SCA_ThreadObj.h"
#include "net/SCA_NetLoginThrottle.h"
#include "net/SCA_NetProtocol.h"

class SCA_NetMessage;
class SCA_NetServerAgent;
class SCA_NetSocket;

// The command-server base: a listener thread that accepts connections, and one
// SCA_NetServerAgent thread per connection that greets the client and hands every request to
// DoCommand. A derived server implements the four operations below; they are called on the
// connection threads, several at a time.
//
// Life of a server:
// - Lock binds and listens at once (port 0: the kernel chooses, GetServerPort tells) and
//   fails when it cannot. Connections that arrive now wait in the kernel's queue.
// - StartDispatch, called by the owner once it is complete (its commands registered), starts
//   the listener: from then on connections are accepted, greeted and served. No request is
//   dispatched and no event fires before.
// - StopAll ends the listener and every connection and returns when no handler runs any more;
//   no event fires once it has returned. Calling it again does nothing; Lock may listen anew.
// - The most-derived server calls StopAll first thing in its destructor, while its operations
//   still exist. The destructors below stop everything again with the events switched off, so
//   a connection never reaches an operation of a part already destroyed.
//
// Connection ids rise from 1 and are never reused while the server lives. A handler may call
// StopAll: its own connection then ends once it returns. It must not destroy the server.
class SCA_VirtualCmdServer : public SCA_ThreadObj {
public:
    // The version text goes into every greeting. The flag stays 0, with *error set, when the
    // server's own resources cannot be made.
    SCA_VirtualCmdServer(const char* version, uint16_t port, uint32_t* error);
    ~SCA_VirtualCmdServer() override;

    // Binds and listens (if not listening yet); starts the listener when dispatch has been
    // started. 0 with *error (an errno value) when it cannot listen; reported at level 5.
    int Lock(uint32_t* error) override;
    // Stops the listener thread only (StopAll stops the connections too).
    int Unlock(const char* sourceFile) override;
    // The listener's body.
    int ThreadFunc() override;

    // Handles one request; the reply goes out named "OK" only when the handler named it so.
    virtual int DoCommand(SCA_NetServerAgent* connection, SCA_NetMessage* request,
                          SCA_NetMessage* reply) = 0;
    // A client has connected and answered the greeting; its requests follow.
    virtual int ConnectEvent(SCA_NetServerAgent* connection) = 0;
    // The connection of an earlier ConnectEvent has ended.
    virtual int DisconnectEvent(SCA_NetServerAgent* connection) = 0;
    // The server's login mode.
    virtual uint32_t GetServerLoginMode() = 0;
    // The login mode announced in the greeting of connection: by default the server's; a
    // server that serves some modes to some peers only announces to each one it may use.
    virtual uint32_t GetLoginModeFor(SCA_NetServerAgent* connection);

    // Lets connections in. 1, or 0 with *error when the listener thread cannot start.
    int StartDispatch(uint32_t* error = nullptr);
    void StopAll();

    // What a listening service lets strangers take. maxConnections: connections served at
    // once; one more is closed as soon as it is accepted (0: no cap). A connection that has not
    // logged in may send payloads of at most strangerMaxPayload bytes (0: the protocol's
    // limit) and is closed after strangerIdleMs without a request (0: never). Set before
    // StartDispatch; connections already served keep what they had.
    void SetConnectionLimits(uint32_t maxConnections, uint32_t strangerMaxPayload,
                             uint32_t strangerIdleMs);
    uint32_t GetMaxConnections() const { return m_MaxConnections.load(); }
    uint32_t GetStrangerMaxPayload() const { return m_StrangerMaxPayload.load(); }
    uint32_t GetStrangerIdleMs() const { return m_StrangerIdleMs.load(); }
    // How long a frame may take from its first byte to its last on every connection, logged in
    // or not, before the connection is closed (SCA_NET_FRAME_TIMEOUT_MS unless set; SCA_INFINITE:
    // no limit); a large payload has longer (SCA_NetTransport::SetFrameTimeout). Between frames
    // a logged-in connection may idle as long as it likes.
    void SetFrameTimeout(uint32_t timeoutMs) { m_FrameTimeoutMs.store(timeoutMs); }
    uint32_t GetFrameTimeoutMs() const { return m_FrameTimeoutMs.load(); }

    // How many connections that have not logged in (strangers) are served at once, in all
    // (maxStrangers) and from one peer address (maxPerAddress), loopback addresses too, each
    // on its own; 0: no such limit. A connection that would pass a limit, or the connection
    // cap, takes the place of the stranger that has waited longest, from its own address when
    // that address is at its limit, else from the address that holds the most strangers; one
    // that has not answered the greeting gives way before one that has, and one whose request
    // has arrived (a login held for its turn too) never does. So strangers never lock out a
    // client that logs in from another address: a new connection is refused only when
    // logged-in clients fill the cap, or its own address's strangers all have requests.
    void SetStrangerLimits(uint32_t maxStrangers, uint32_t maxPerAddress);
    uint32_t GetMaxStrangers() const { return m_MaxStrangers.load(); }
    uint32_t GetMaxStrangersPerAddress() const { return m_MaxStrangersPerAddress.load(); }
    // Connections served now that have not logged in; with an address, those from it.
    uint32_t GetStrangerCount(const char* address = nullptr) const;
    // Connections answering a request now. A client holds its reply a moment before its agent
    // is done with it, and only an agent that is done may be closed to make room.
    uint32_t GetAnsweringCount() const;

    // Failed logins by peer address, which the login path keeps and consults.
    SCA_NetLoginThrottle* GetLoginThrottle() { return &m_LoginThrottle; }

    // For tests: gives every connection accepted from now on the address the hook makes of
    // its peer's, so that one machine can stand for peers elsewhere.
    using PeerAddressHook = std::function<std::string(const std::string& peer)>;
    void SetPeerAddressHook(PeerAddressHook hook);

    uint32_t GetAgentCount() const;
    const char* GetServerHostName() const { return m_ServerHostName; }
    const char* GetServerVersion() const { return m_ServerVersion; }
    // The port listened on, 0 while not listening.
    uint16_t GetServerPort() const { return m_BoundPort.load(); }
    // When listening began.
    uint64_t GetServerStartTime() const { return m_ServerStartTime.load(); }

protected:
    // For destructors: switches the events and dispatch off, then stops everything.
    void StopForDestruction();

private:
    friend class SCA_NetServerAgent;

    // Called by the agents on their own threads.
    void NotifyConnect(SCA_NetServerAgent* agent);
    void NotifyDisconnect(SCA_NetServerAgent* agent);
    int Dispatch(SCA_NetServerAgent* agent, SCA_NetMessage* request, SCA_NetMessage* reply);
    uint32_t LoginModeForGreeting(SCA_NetServerAgent* agent);
    void AgentEnded();

    int Listen(uint32_t* error);
    int StartListener(uint32_t* error);
    // A connection taken from the kernel's queue, with its peer's address.
    struct Arrival {
        SCA_NetSocket* Link;
        std::string Address;
    };
    // Takes the connections waiting and serves them; false when accepting or serving failed
    // for want of resources: the listener then pauses.
    bool AcceptConnections();
    // Closes the arrivals that the newer ones of the same batch would close to make room
    // (their Link becomes null).
    void DropDoomedArrivals(std::vector<Arrival>* arrivals);
    // Serves link, after making room for it; false when no thread could be started for it.
    bool ServeConnection(SCA_NetSocket* link, const std::string& address);
    // The peer's address of link, as the hook has it.
    std::string PeerAddressOf(const SCA_NetSocket& link);
    // Whether a new connection from address is served, after closing a stranger to make room
    // when it needs one (SetStrangerLimits).
    bool MakeRoom(const std::string& address);
    // Closes the stranger of peer that has waited longest, of those that have not spoken yet
    // unless spoken (then of all), under m_AgentsLock; whether there was one to close.
    bool CloseStrangerOf(const std::string& peer, bool spoken);
    void ReportClosedStrangers();
    // Serving, and not logged in.
    static bool IsStranger(SCA_NetServerAgent* agent);
    // Unlinks the first agent (the first finished one) from the list, or null; never the
    // agent of the calling thread.
    SCA_NetServerAgent* TakeAgent(bool finishedOnly);
    void DestroyAgent(SCA_NetServerAgent* agent);
    void Wake();
    void DrainWake();

    SCA_List<SCA_NetServerAgent*> m_Agents;
    char m_ServerHostName[256] = "";
    char m_ServerVersion[64] = "";
    uint16_t m_Port;
    std::atomic<uint16_t> m_BoundPort{0};
    std::atomic<uint64_t> m_ServerStartTime{0};
    SCA_NetSocket* m_Listener = nullptr;
    int m_WakeDescriptor = -1;
    uint32_t m_NextAgentId = 1;
    std::atomic<bool> m_DispatchStarted{false};
    std::atomic<bool> m_EventsOff{false};
    std::atomic<uint32_t> m_MaxConnections{0};
    std::atomic<uint32_t> m_StrangerMaxPayload{0};
    std::atomic<uint32_t> m_StrangerIdleMs{0};
    std::atomic<uint32_t> m_FrameTimeoutMs{SCA_NET_FRAME_TIMEOUT_MS};
    std::atomic<uint32_t> m_MaxStrangers{0};
    std::atomic<uint32_t> m_MaxStrangersPerAddress{0};
    // Strangers closed to make room since the last report of them, and when that was (the
    // listener's own).
    uint32_t m_ClosedStrangers = 0;
    uint64_t m_ClosedStrangersReportMs = 0;
    SCA_NetLoginThrottle m_LoginThrottle;
    PeerAddressHook m_PeerAddressHook; // under m_AgentsLock
    mutable std::mutex m_AgentsLock;
    // Lock, StartDispatch and StopAll one at a time.
    std::recursive_mutex m_ControlLock;
};
