// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <mutex>

#include "net/SCA_NetCommand.h"
#include "net/SCA_NetMessage.h"
#include "net/SCA_NetTransport.h"

// The client end of a command table: one connection that carries one command at a time as a
// request and its reply.
//
// Exchange writes the inputs into the request in table order, sends it, waits for the reply
// (up to the reply time-out) and reads the outputs from it in table order. It fails (0) when
// an argument is unusable (nothing is sent then), when the send or the wait fails (the
// transport's code goes to the last status code), when the reply is named "ERR", or when an
// output field is missing. An object argument is renamed to its field name and linked into the
// request only for the call; it stays the caller's. Object outputs are detached from the reply
// and handed over; after a failure none is.
//
// Calls from several threads are served one after the other.

// Why the last exchange failed, for the caller's one report: a connection that failed wants a
// reconnection, a refused command an answer in the words of what the user asked for.
enum class SCA_NetCallFailure : uint32_t {
    None,       // the last exchange succeeded
    Argument,   // an argument was unusable; nothing was sent
    Connection, // the send or the wait failed (the last status code says why)
    Refused,    // the server answered "ERR"
    Reply,      // the reply lacked an output
};

class SCA_NetCommandChannel {
public:
    static constexpr uint32_t kDefaultReplyTimeoutMs = 60000;

    // className names the client in reports: "<className>::<command>: ...".
    explicit SCA_NetCommandChannel(const char* className) : m_ClassName(className) {}
    SCA_NetCommandChannel(const SCA_NetCommandChannel&) = delete;
    SCA_NetCommandChannel& operator=(const SCA_NetCommandChannel&) = delete;

    // The command in row Index of the table Commands (a class with Get and Fits), with the
    // caller's arguments, which are checked against the row at compile time.
    template <typename Commands, uint32_t Index, typename... Args>
    int Call(Args... args) {
        return sca_net::CallCommand<Commands, Index>(
            [this](const tagSCA_NET_COMMAND_SHAPE& command, tagSCA_NET_VALUE* values) {
                return Exchange(command, values);
            },
            args...);
    }

    int Exchange(const tagSCA_NET_COMMAND_SHAPE& command, tagSCA_NET_VALUE* values);

    SCA_NetTransport* GetTransport() { return &m_Transport; }
    uint32_t GetLastStatusCode() const { return m_LastStatusCode; }
    SCA_NetCallFailure GetLastFailure() const { return m_LastFailure; }
    void SetLastStatusCode(uint32_t code) { m_LastStatusCode = code; }
    uint32_t GetReplyTimeout() const { return m_ReplyTimeoutMs; }
    void SetReplyTimeout(uint32_t timeoutMs) { m_ReplyTimeoutMs = timeoutMs; }
    // The payload size of the largest reply taken since the last call of this (0 for none),
    // for a caller that cares what a series of exchanges made it hold.
    uint32_t TakeLargestReply();

private:
    SCA_NetCallFailure Carry(const tagSCA_NET_COMMAND_SHAPE& command, tagSCA_NET_VALUE* values);

    const char* m_ClassName;
    std::mutex m_Lock;
    uint32_t m_ReplyTimeoutMs = kDefaultReplyTimeoutMs;
    SCA_NetTransport m_Transport;
    uint32_t m_LastStatusCode = 0;
    SCA_NetCallFailure m_LastFailure = SCA_NetCallFailure::None;
    uint32_t m_LargestReply = 0;
    SCA_NetMessage m_Request;
    SCA_NetMessage m_Reply;
};
