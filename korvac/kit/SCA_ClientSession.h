// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QThreadPool>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "korvac/kit/SCA_InputGate.h"
#include "libmor/SCA_HeapGiveBack.h"
#include "libtez/SCA_KorvantaInterface.h"

// The client's one connection to a service, which every window reaches it through. It owns the
// client object; a window asks for it at each use (Client) and never keeps it, since a
// disconnection deletes it.
//
// One rule for failures: a call that fails because the connection failed (a send, a wait, a
// reply that did not come in time) ends the session once, with one line in the user's words
// ("Connection to host:port lost - reconnecting") in the client's log and in ConnectionLost.
// A reply over the size limit ends it as well, and the line says the reply's size, the limit
// and -max_reply; the reconnections that meet such a reply again show the line but log it no
// more, until a poll is answered. A call the service refused leaves the session as it is;
// its caller says what failed.
//
// Polls wait briefly for their reply; commands the user gave wait longer. Either way the wait
// happens on the session's network thread, one call after the other. A window's timer asks
// (Ask) and goes on: its result comes back later as a queued call on the window, so the GUI
// thread neither waits nor holds the user's input while a poll is out, and a window closed
// meanwhile never hears of it. A command the user gave keeps its caller's frame (Command) and
// shows a busy cursor while it runs: the GUI thread keeps painting, running its timers and
// taking the input that types, scrolls or moves; input that acts is held by the input gate and
// handed back after it (a second command waits its turn, a closed window closes afterwards),
// as is a poll's result that comes meanwhile. A window's timer skips its tick while a call is
// out (IsWaiting): a poll still in flight is never sent again.
class SCA_ClientSession : public QObject {
    Q_OBJECT
public:
    static constexpr uint32_t kPollTimeoutMs = 1500;
    static constexpr uint32_t kCallTimeoutMs = 5000;
    // The largest reply taken from a service. The largest real one is well under 1 MB: a
    // bigger one is refused before it is read, and the connection renewed.
    static constexpr uint32_t kDefaultMaxReplyBytes = 4u << 20;
    // Blocks above this size (a reply's buffer, a long list's rows) are mapped on their own and
    // go back to the system when freed.
    static constexpr uint32_t kMappedAboveBytes = 1u << 20;
    // Once a call or an answer has freed more than this (a reply's tree, the rows a long list
    // showed), the free pages of every heap go back to the system.
    static constexpr size_t kGiveBackFreedBytes = 4u << 20;
    // A reply this large decodes into several times its size (the reply's tree, the records
    // read from it, what a window makes of them), which may free more than the above once
    // dropped; so does a lost connection, whose client object goes with what it held. The
    // heap is looked at after such a call and after the one that follows it, whose answer
    // replaces what it showed. A steady poll's replies stay far below it and pay no look.
    static constexpr uint32_t kLargeReplyBytes = 256u << 10;
    // The timer's answers look at the heap at least this often: for what the user dropped
    // meanwhile (a closed report, a dialog's lists) from replies of any size.
    static constexpr int kAnswersPerLook = 64;

    // The limit of the sessions opened from now on (-max_reply); 0 restores the default.
    static void SetMaxReplyBytes(uint32_t bytes);
    static uint32_t GetMaxReplyBytes();

    // Makes the client objects Open connects (tests put a stand-in for the service here).
    using ClientFactory = std::function<SCA_KorvantaInterface*()>;

    explicit SCA_ClientSession(QObject* parent = nullptr);
    ~SCA_ClientSession() override;

    void SetClientFactory(ClientFactory factory) { m_Factory = std::move(factory); }

    // No wait of this session for its service (connecting, a poll, a command) ends sooner than
    // this. The time-outs above suit a user's network; on a machine so busy that a healthy
    // answer comes seconds late, a test raises this so that only a service that never answers
    // runs a wait out. 0, the default, leaves each wait its own time-out.
    void SetLeastWaitMs(uint32_t ms) { m_LeastWaitMs = ms; }

    // Closes any session, makes a client object and opens its connection (no login yet). 1 when
    // connected; 0 with the transport's code in *error and no client object. Reports nothing:
    // whether a refused connection is worth telling is the caller's to decide.
    int Open(const char* host, uint16_t port, uint32_t timeoutMs, uint32_t* error);
    // Says that the opened session is logged in and ready: Connected.
    void Announce() { emit Connected(); }
    // Takes over a client object that is connected and logged in already (null closes the
    // session): Connected.
    void Adopt(SCA_KorvantaInterface* client);
    // Deletes the client object; Disconnected follows when there was one.
    void Close();

    // The client object, or null while disconnected. Only its address and login may be read
    // from the GUI thread; calls go through Run (or Await).
    SCA_KorvantaInterface* Client() const { return m_Client.get(); }
    int IsConnected() const { return m_Client != nullptr ? 1 : 0; }
    const QString& Host() const { return m_Host; }
    uint16_t Port() const { return m_Port; }

    // Runs call(client) with a reply time-out; 0 without a session or when the call failed
    // (after the rule above).
    template <typename Call>
    int Run(uint32_t timeoutMs, Call&& call) {
        return RunOn(timeoutMs, Wait::Poll, std::forward<Call>(call));
    }
    template <typename Call>
    int Poll(Call&& call) {
        return RunOn(kPollTimeoutMs, Wait::Poll, std::forward<Call>(call));
    }
    template <typename Call>
    int Command(Call&& call) {
        return RunOn(kCallTimeoutMs, Wait::Command, std::forward<Call>(call));
    }

    // Asks fetch(client, result) on the network thread with the poll time-out and returns at
    // once; done(ok, result) runs later on the GUI thread, unless context is gone by then or the
    // session was closed meanwhile. A failed fetch follows the rule above before done hears of
    // it. 0 (nothing asked) without a session.
    template <typename Result>
    int Ask(QObject* context, std::function<int(SCA_KorvantaInterface&, Result&)> fetch,
            std::function<void(int ok, Result& result)> done) {
        auto result = std::make_shared<Result>();
        return AskWork(
            context,
            [fetch = std::move(fetch), result](SCA_KorvantaInterface& client) {
                return fetch(client, *result);
            },
            [done = std::move(done), result](int ok) { done(ok, *result); });
    }

    // A step of connecting (login, server info): call(client) with the command time-out, on the
    // network thread, without the rule above; the step's caller says what failed.
    template <typename Call>
    int Step(Call&& call) {
        const std::shared_ptr<SCA_KorvantaInterface> client = m_Client;
        if (client == nullptr) {
            return 0;
        }
        const uint32_t timeoutMs = WithLeastWait(kCallTimeoutMs);
        return Await(Wait::Command, [&call, &client, timeoutMs]() {
            client->SetReplyTimeout(timeoutMs);
            return call(*client) ? 1 : 0;
        });
    }

    // How a wait shows: a poll quietly, a command with a busy cursor.
    enum class Wait { Poll, Command };
    // Runs work on the network thread and answers its result; the calling thread's event loop
    // goes on meanwhile (input that acts held back). Called off the GUI thread, it runs work
    // there.
    int Await(Wait how, const std::function<int()>& work);
    // 1 while a call is in flight or its result waits to be handed over: timers skip their
    // polls then.
    int IsWaiting() const { return m_Waiting > 0 || m_Asked > 0 ? 1 : 0; }

    // Ends the session after its connection failed: reports and signals once, then closes.
    void HandleLostConnection();
    // The line a lost connection shows, e.g. "Connection to localhost:24503 lost - reconnecting".
    QString LostText() const;
    // The line a reply of size bytes over the limit shows.
    QString RefusedText(uint32_t size) const;

signals:
    void Connected();
    void Disconnected();
    void ConnectionLost(const QString& text);

private:
    template <typename Call>
    int RunOn(uint32_t ownTimeoutMs, Wait how, Call&& call) {
        // The call holds its client: a disconnection while it runs deletes it after the call.
        const std::shared_ptr<SCA_KorvantaInterface> client = m_Client;
        if (client == nullptr) {
            return 0;
        }
        const uint32_t timeoutMs = WithLeastWait(ownTimeoutMs);
        if (Await(how, [this, &call, &client, timeoutMs]() {
                client->SetReplyTimeout(timeoutMs);
                const int done = call(*client) ? 1 : 0;
                GiveBackAfterCall(*client);
                return done;
            })) {
            if (how == Wait::Poll) {
                m_RefusalTold = false;
            }
            return 1;
        }
        if (client == m_Client && client->LostConnection()) {
            HandleLostConnection();
        }
        return 0;
    }

    // On the thread that made the call, after it: looks at the heap after a call that frees
    // much (see kLargeReplyBytes) and after the call that follows one. Whether this one does.
    bool GiveBackAfterCall(SCA_KorvantaInterface& client);

    uint32_t WithLeastWait(uint32_t timeoutMs) const {
        return timeoutMs > m_LeastWaitMs ? timeoutMs : m_LeastWaitMs;
    }

    // A result of Ask on its way to the window that asked.
    struct Answer {
        QPointer<QObject> Context;
        uint64_t Generation = 0;
        std::function<void()> Apply;
        // The call frees much: its replies were large, or its connection was lost.
        bool FreesMuch = false;
    };
    int AskWork(QObject* context, std::function<int(SCA_KorvantaInterface&)> work,
                std::function<void(int ok)> done);
    // On the GUI thread: hands an answer over, or keeps it while a command waits.
    void Deliver(Answer answer);
    void DeliverKept();

    // Takes over a connected client object with the reply limit set.
    void Keep(std::unique_ptr<SCA_KorvantaInterface> client);

    ClientFactory m_Factory;
    uint32_t m_LeastWaitMs = 0;
    std::shared_ptr<SCA_KorvantaInterface> m_Client;
    // The network thread: one thread, so calls are carried in the order they were asked.
    QThreadPool m_Network;
    int m_Waiting = 0;
    // Asked and not yet handed over.
    int m_Asked = 0;
    std::vector<Answer> m_Kept;
    SCA_InputGate m_Gate;
    // Counts the sessions closed: an answer from an earlier one is dropped.
    uint64_t m_Generation = 0;
    // The last call freed much (the calls of any thread, one after the other).
    std::atomic<bool> m_LastCallFreedMuch{false};
    // On the GUI thread: the last answer handed over freed much, and how many were handed
    // over since the last look at the heap.
    bool m_LastAnswerFreedMuch = false;
    int m_AnswersSinceLook = 0;
    QString m_Host;
    uint16_t m_Port = 0;
    // A reply over the limit was logged, and no poll has been answered since.
    std::atomic<bool> m_RefusalTold{false};
};
