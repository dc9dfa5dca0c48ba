// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

#include "libmor/SCA_Event.h"
#include "libmor/SCA_ThreadObj.h"
#include "net/SCA_NetMessage.h"

class SCA_NetSocket;
class SCA_NetTransport;
class SCA_VirtualCmdServer;

// The server side of one connection, with a thread of its own. Once started it greets the
// client, reports the connection to its server, then answers request after request until the
// connection ends, and reports the end. Every request gets exactly one reply: "OK" when the
// handler named it so, "ERR" otherwise.
//
// Its server creates, starts, stops and destroys it; handlers only read it (and may set the
// authentication flag, from the connection's own thread).
class SCA_NetServerAgent : public SCA_ThreadObj {
public:
    // Takes ownership of link, also when construction fails.
    SCA_NetServerAgent(SCA_VirtualCmdServer* server, uint32_t id, SCA_NetSocket* link);
    ~SCA_NetServerAgent() override;

    int ThreadFunc() override;
    // Lets the thread begin serving. Answers 1.
    int Start();
    // Ends the connection from another thread: the thread stops waiting and ends; a request
    // being answered is answered first, reply included, so that a client never loses the reply
    // of a request the server carried out (a stop asked for by that very request above all).
    // Unlock then waits for it.
    void Stop();
    // 1 once the thread is done with the connection.
    int IsFinished() const { return m_Finished.load(std::memory_order_acquire); }

    uint32_t GetId() const { return m_Id; }
    int SetId(uint32_t id) {
        m_Id = id;
        return 1;
    }
    int IsAuthenticated() const { return m_Authenticated.load(); }
    void SetAuthenticated(int authenticated) { m_Authenticated.store(authenticated); }
    SCA_NetTransport* GetTransport() const { return m_Transport; }
    // What the server's owner keeps for this connection (not owned), so that each request finds
    // it without a lookup under a lock shared by every connection. Set and read only on the
    // connection's own thread: by the connect event, the handlers and the disconnect event.
    SCA_Object* GetSession() const { return m_Session; }
    void SetSession(SCA_Object* session) { m_Session = session; }
    SCA_VirtualCmdServer* GetServer() const { return m_Server; }
    // The peer's address as text, as the server took it when it accepted the connection.
    const char* GetPeerAddress() const { return m_PeerAddress; }
    // 1 when the peer is on this computer's loopback.
    int IsLoopbackPeer() const;
    // For a login handler, on the connection's thread: holds the login until the login
    // throttle lets its address's next login be checked (SCA_NetLoginThrottle). 1 with *startMs,
    // when the check may begin; 0 when the connection stops or its peer leaves first: the login
    // is then dropped unchecked.
    int AwaitLoginTurn(uint64_t* startMs);

    // Nonzero for the transport's own control codes, 2 to 11.
    static int IsInternalCommand(uint32_t code);
    // Writes path, '/', name into dst; a path that already ends in '/' gets no second one and
    // an empty (or null) path gives the name alone. When the result does not fit in size bytes
    // dst is left empty (never a cut path, which would name another file) and the answer is 0.
    static int BuildFullName(const char* path, const char* name, char* dst, uint32_t size);

private:
    friend class SCA_VirtualCmdServer;

    // The agent whose thread calls, or null on any other thread.
    static SCA_NetServerAgent* Current();

    void SetPeerAddress(const char* address);
    // 1 once Stop was called.
    bool IsStopping();
    // Whether a request is being answered: from its arrival until its reply went out.
    bool IsAnswering();
    // 1 once the client sent a byte (its answer to the greeting, read or not): a client that
    // speaks, not a connection merely held open.
    int HasSpoken() const;
    // Stops the connection when it is not answering a request (whose reply would then go out
    // to a client that is closed on right after) and no whole request waits to be read (a
    // login that has arrived is answered, however late its thread runs); 0 when it is, or is
    // stopping already.
    int StopIfIdle();

    bool WaitForStart();
    void Serve();
    bool Answer(uint32_t* error);
    // Marks the start and end of answering a request; false when the connection is to stop.
    bool BeginAnswer();
    void EndAnswer();
    // The limits of the next request by the login state; answers how long to wait for it. A
    // wait that times out ends the connection, as does a frame begun that is not complete
    // within the server's frame time-out, logged in or not.
    uint32_t PrepareWait();

    uint32_t m_Id;
    std::atomic<int> m_Authenticated{0};
    char m_PeerAddress[64] = "";
    SCA_Event m_StartSignal;
    SCA_NetTransport* m_Transport = nullptr;
    SCA_VirtualCmdServer* m_Server;
    SCA_Object* m_Session = nullptr;
    std::atomic<int> m_Finished{0};
    std::mutex m_StopLock; // guards the two below
    bool m_StopRequested = false;
    bool m_Answering = false;
    SCA_NetMessage m_Request;
    SCA_NetMessage m_Reply;
};
