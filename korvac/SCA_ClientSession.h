// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

#include "libtez/SCA_KorvantaInterface.h"

// The client's one connection to a service, which every window reaches it through. It owns the
// client object; a window asks for it at each use (Client) and never keeps it, since a
// disconnection deletes it.
//
// One rule for failures: a call that fails because the connection failed (a send, a wait, a
// reply that did not come in time) ends the session once, with one line in the user's words
// ("Connection to host:port lost - reconnecting") in the client's log and in ConnectionLost.
// A call the service refused leaves the session as it is; its caller says what failed.
//
// Polls wait briefly for their reply, so a stalled service holds the window up for a moment
// only; commands the user gave wait longer.
class SCA_ClientSession : public QObject {
    Q_OBJECT
public:
    static constexpr uint32_t kPollTimeoutMs = 1500;
    static constexpr uint32_t kCallTimeoutMs = 5000;

    // Makes the client objects Open connects (tests put a stand-in for the service here).
    using ClientFactory = std::function<SCA_KorvantaInterface*()>;

    explicit SCA_ClientSession(QObject* parent = nullptr);
    ~SCA_ClientSession() override;

    void SetClientFactory(ClientFactory factory) { m_Factory = std::move(factory); }

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

    // The client object, or null while disconnected.
    SCA_KorvantaInterface* Client() const { return m_Client.get(); }
    int IsConnected() const { return m_Client != nullptr ? 1 : 0; }
    const QString& Host() const { return m_Host; }
    uint16_t Port() const { return m_Port; }

    // Runs call(client) with a reply time-out; 0 without a session or when the call failed
    // (after the rule above).
    template <typename Call>
    int Run(uint32_t timeoutMs, Call&& call) {
        SCA_KorvantaInterface* client = Client();
        if (client == nullptr) {
            return 0;
        }
        client->SetReplyTimeout(timeoutMs);
        if (call(*client)) {
            return 1;
        }
        if (client == Client() && client->LostConnection()) {
            HandleLostConnection();
        }
        return 0;
    }
    template <typename Call>
    int Poll(Call&& call) {
        return Run(kPollTimeoutMs, std::forward<Call>(call));
    }
    template <typename Call>
    int Command(Call&& call) {
        return Run(kCallTimeoutMs, std::forward<Call>(call));
    }

    // Ends the session after its connection failed: reports and signals once, then closes.
    void HandleLostConnection();
    // The line a lost connection shows, e.g. "Connection to localhost:24503 lost - reconnecting".
    QString LostText() const;

signals:
    void Connected();
    void Disconnected();
    void ConnectionLost(const QString& text);

private:
    ClientFactory m_Factory;
    std::unique_ptr<SCA_KorvantaInterface> m_Client;
    QString m_Host;
    uint16_t m_Port = 0;
};
