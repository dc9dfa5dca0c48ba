// SPDX-License-Identifier: MIT
#pragma once

// A stand-in for the service that the window tests connect to: every operation of the protocol
// table is answered from a table of answers per operation. Queued answers come first, one per
// call, then the operation's standing answer. An answer is a reply built fresh for each call
// (from the call's request when it needs to be), a refusal ("ERR"), a dropped connection, or
// any of them after a delay; a delay longer than the call's reply time-out is a time-out. The
// window's client objects cross the same field table as the real client, so a window sees
// exactly what it would see from a slow, failing or healthy service.
//
// Healthy() makes the standing answers of a service with the state below (status, monitors,
// log, sounds, configuration), which a test changes between polls.

#include <QTimer>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <poll.h>
#include <string>
#include <thread>
#include <vector>

#include "GuiTestSupport.h"
#include "libmor/SCA_Object.h"
#include "libmor/SCA_Report.h"
#include "libmor/SCA_Sync.h"
#include "libmor/SCA_Version.h"
#include "libtez/SCA_KorvantaCommands.h"
#include "libtez/SCA_KorvantaInterface.h"
#include "libtez/SCA_KorvantaMonitorRow.h"
#include "libtez/SCA_KorvantaServerStatus.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_DebugLog.h"
#include "model/SCA_SoundAction.h"
#include "model/SCA_SoundActions.h"
#include "model/SCA_TezConfig.h"
#include "model/SCA_TezConfigUser.h"
#include "net/SCA_KorvantaLogin.h"
#include "net/SCA_NetFrameWriter.h"
#include "net/SCA_NetMessage.h"
#include "net/SCA_NetProtocol.h"
#include "net/SCA_NetSocket.h"
#include "net/SCA_NetTransport.h"
#include "tests/support/WaitUntil.h"

namespace korvac_test {

// How the service answers one call.
struct Answer {
    enum class Kind { Reply, Refuse, Drop };
    Kind How = Kind::Reply;
    // The reply's fields as the service sends them, made for the call's request; null or
    // empty for an operation without outputs.
    std::function<void(SCA_ConfigObj* request, SCA_ConfigObj* reply)> Fill;
    // How late the answer comes: later than the caller's time-out is a time-out. Nothing sleeps
    // it out; the caller's time-out is in the call's record.
    uint32_t DelayMs = 0;
    // Holds the answer back until it says so: for a test that acts while a call is in flight.
    std::function<bool()> Held;
    // What the service does as it takes the call, before it answers (logs why it refuses).
    std::function<void()> Before;
    // On the wire (FakeService::ListenOnWire): what becomes of the reply's frame.
    enum class Wire {
        Whole,
        CutHalfWay,     // half the frame, then the connection closes
        LengthTooLong,  // the head promises more payload than comes
        LengthTooShort, // the head promises less payload than comes
        OtherRequest,   // the reply carries another request's number
        TooDeep,        // a payload nested deeper than any reader takes
        HugeString,     // a value of HugeBytes
        Drip,           // the whole frame in small pieces, the last well within a poll's wait
        Silence,        // nothing, the connection left open
        Close,          // the connection closes instead (at the greeting for "Connect")
    };
    Wire Frame = Wire::Whole;
    uint32_t HugeBytes = 10u << 20;

    static Answer Reply(std::function<void(SCA_ConfigObj* request, SCA_ConfigObj* reply)> fill) {
        Answer answer;
        answer.Fill = std::move(fill);
        return answer;
    }
    static Answer Ok() { return Reply(nullptr); }
    static Answer Refused() {
        Answer answer;
        answer.How = Kind::Refuse;
        return answer;
    }
    static Answer Dropped() {
        Answer answer;
        answer.How = Kind::Drop;
        return answer;
    }
    Answer After(uint32_t delayMs) const {
        Answer answer = *this;
        answer.DelayMs = delayMs;
        return answer;
    }
    static Answer OnWire(Wire frame) {
        Answer answer;
        answer.Frame = frame;
        return answer;
    }
    Answer HeldUntil(std::function<bool()> released) const {
        Answer answer = *this;
        answer.Held = std::move(released);
        return answer;
    }
    Answer Doing(std::function<void()> before) const {
        Answer answer = *this;
        answer.Before = std::move(before);
        return answer;
    }
};

class FakeService {
public:
    // One call as the service received it.
    struct Call {
        std::string Op;
        SCA_OwnedPtr<SCA_ConfigObj> Request;
        uint32_t TimeoutMs = 0;
    };

    // Every call so far, in order.
    std::vector<Call> Calls;

    void Queue(const std::string& op, Answer answer) {
        const std::lock_guard<std::recursive_mutex> hold(m_Lock);
        m_Queued[op].push_back(std::move(answer));
    }
    void Standing(const std::string& op, Answer answer) {
        const std::lock_guard<std::recursive_mutex> hold(m_Lock);
        m_Standing[op] = std::move(answer);
    }

    // The standing answer to op (a refusal when there is none).
    Answer StandingOf(const std::string& op) const {
        const std::lock_guard<std::recursive_mutex> hold(m_Lock);
        auto standing = m_Standing.find(op);
        return standing != m_Standing.end() ? standing->second : Answer::Refused();
    }

    // The next answer to op: queued, standing, or a refusal of an operation nobody answers.
    // Clients on other threads (a window's worker) may ask at the same time.
    Answer Next(const std::string& op) {
        const std::lock_guard<std::recursive_mutex> hold(m_Lock);
        auto queued = m_Queued.find(op);
        if (queued != m_Queued.end() && !queued->second.empty()) {
            Answer answer = std::move(queued->second.front());
            queued->second.pop_front();
            return answer;
        }
        auto standing = m_Standing.find(op);
        return standing != m_Standing.end() ? standing->second : Answer::Refused();
    }

    void Record(const std::string& op, SCA_ConfigObj* request, uint32_t timeoutMs) {
        const std::lock_guard<std::recursive_mutex> hold(m_Lock);
        Call call;
        call.Op = op;
        call.Request.reset(request);
        call.TimeoutMs = timeoutMs;
        Calls.push_back(std::move(call));
    }
    int Count(const std::string& op) const {
        const std::lock_guard<std::recursive_mutex> hold(m_Lock);
        int count = 0;
        for (const Call& call : Calls) {
            count += call.Op == op ? 1 : 0;
        }
        return count;
    }
    // The request of the last call of op, or null.
    SCA_ConfigObj* LastRequest(const std::string& op) const {
        for (auto call = Calls.rbegin(); call != Calls.rend(); ++call) {
            if (call->Op == op) {
                return call->Request.get();
            }
        }
        return nullptr;
    }
    const Call* LastCall(const std::string& op) const {
        for (auto call = Calls.rbegin(); call != Calls.rend(); ++call) {
            if (call->Op == op) {
                return &*call;
            }
        }
        return nullptr;
    }

    // --- the service on the wire -------------------------------------------------------
    // From now on the window's client objects reach this service through the network library
    // on loopback: the transport, its frames and limits are the real ones, and an answer's
    // Frame says how the reply's bytes misbehave. The login stays the stand-in's.
    bool ListenOnWire() {
        uint32_t error = 0;
        if (!m_Listener.Listen(0, &error)) {
            return false;
        }
        m_WirePort = m_Listener.GetLocalPort();
        m_Accepting = std::thread([this] { Accept(); });
        return true;
    }
    uint16_t WirePort() const { return m_WirePort; }
    // A request on the wire is being answered: its reply is made or sent (a large one holds
    // the stand-in's memory meanwhile).
    bool Answering() const { return m_Answering.load() > 0; }
    // The payload size of a HugeString frame of hugeBytes.
    static uint32_t HugeStringPayload(uint32_t hugeBytes) {
        return static_cast<uint32_t>(sizeof(kHugeHead) - 1 + hugeBytes + sizeof(kHugeTail) - 1);
    }

    ~FakeService() {
        m_Stopping = true;
        m_Listener.Shutdown();
        if (m_Accepting.joinable()) {
            m_Accepting.join();
        }
        {
            const std::lock_guard<std::recursive_mutex> hold(m_Lock);
            for (SCA_NetSocket* link : m_Links) {
                link->Shutdown();
            }
        }
        for (std::thread& serving : m_Serving) {
            serving.join();
        }
    }

    // --- the state of a healthy service -------------------------------------------------
    uint32_t ProductType = SCA_PRODUCT_TYPE_KORVANTA;
    SCA_KorvantaServerStatus Status;
    std::vector<SCA_KorvantaMonitorRow> Monitors;
    // GetDebugLog: its session and MessageCount messages numbered from FirstMessageId, each
    // "message <index>" at level 3 unless Log gave it a level and text.
    uint32_t SessionId = 1;
    uint32_t FirstMessageId = 1;
    uint32_t MessageCount = 0;
    struct Message {
        uint32_t Level;
        std::string Text;
    };
    std::map<uint32_t, Message> MessageTexts;
    // Adds a message to the log, as the service logs one.
    void Log(uint32_t level, const std::string& text) {
        const std::lock_guard<std::recursive_mutex> hold(m_Lock);
        MessageTexts[MessageCount] = {level, text};
        ++MessageCount;
        Status.LastDebugMessageId = FirstMessageId + MessageCount - 1;
    }
    // GetSoundActions: these names, one action each, at the status's last sound time.
    std::vector<std::string> SoundNames;
    // GetUserConfig: the service's configuration; SetUserConfig replaces it and keeps its mask.
    uint16_t ServerPort = 8000;
    uint32_t LogonMode = SCA_KORVANTA_LOGIN_SIGNATURE;
    uint32_t EnableOsLogon = 0;
    std::string ServerUser = "admin";
    std::string ServerPassword = "service-secret";
    uint32_t SetMask = 0;

    // A monitor row of the standing GetStatusEx.
    static SCA_KorvantaMonitorRow Row(uint32_t id, uint32_t state, uint32_t runState,
                                      uint32_t counters, uint32_t errors, uint32_t warnings,
                                      const char* host, const char* description) {
        SCA_KorvantaMonitorRow row;
        row.MonitorId = id;
        row.State = state;
        row.RunState = runState;
        row.Counters = counters;
        row.Errors = errors;
        row.Warnings = warnings;
        row.SetHost(host);
        row.SetDescription(description);
        return row;
    }

    // The standing GetStatusEx lists count monitors that describe themselves so; no room of an
    // earlier, longer list stays with the stand-in.
    void List(uint32_t count, const std::string& description) {
        // A reply still being made (one its client gave up waiting for) reads the list.
        EXPECT_TRUE(korvanta_test::WaitUntil("the stand-in to be done answering",
                                             [this] { return !Answering(); }));
        std::vector<SCA_KorvantaMonitorRow> rows;
        rows.reserve(count);
        for (uint32_t id = 1; id <= count; ++id) {
            rows.push_back(Row(id, 9, 11, 12, 0, 1, id % 3 == 0 ? "db1" : "", description.c_str()));
        }
        Monitors.swap(rows);
        Status.MonitorCount = count;
        Status.ActiveMonitors = count;
        ++Status.MonitorsStatusId;
    }

    void Healthy() {
        Standing("Connect", Answer::Ok());
        Standing("Login", Answer::Ok());
        Standing("GetServerInfo", Answer::Reply([this](SCA_ConfigObj*, SCA_ConfigObj* reply) {
                     reply->AddField("ProductType", ProductType);
                     reply->AddField("Version", SCA_PRODUCT_VERSION);
                     reply->AddField("HostName", "scripted-host");
                 }));
        Standing("GetServiceInfo", Answer::Reply([](SCA_ConfigObj*, SCA_ConfigObj* reply) {
                     reply->AddField("HostName", "scripted-host");
                     reply->AddField("UserName", "root");
                 }));
        Standing("GetProductConfig", Answer::Reply([this](SCA_ConfigObj*, SCA_ConfigObj* reply) {
                     SCA_TezConfig config(ProductType);
                     config.Serialize(reply->AddConfigObj("Config"));
                 }));
        Standing("GetUserConfig", Answer::Reply([this](SCA_ConfigObj*, SCA_ConfigObj* reply) {
                     SCA_TezConfig config(ProductType);
                     SCA_TezConfigUser user(&config);
                     user.InitDefConfig(&config);
                     user.SetServerControlPort(ServerPort);
                     user.SetServerLogonMode(LogonMode);
                     user.SetEnableOsLogon(static_cast<int>(EnableOsLogon));
                     user.SetServerUserName(ServerUser.c_str());
                     user.SetServerPassword(ServerPassword.c_str());
                     user.Serialize(reply->AddConfigObj("Config"));
                 }));
        Standing("SetUserConfig", Answer::Reply([this](SCA_ConfigObj* request, SCA_ConfigObj*) {
                     request->GetField("Mask", &SetMask);
                     SCA_ConfigObj* config = nullptr;
                     if (request->GetField("Config", &config)) {
                         config->GetField("ServerControlPort", &ServerPort);
                         config->GetField("ServerLogonMode", &LogonMode);
                         config->GetField("EnableOsLogon", &EnableOsLogon);
                         char text[256] = "";
                         if (config->GetField("ServerUserName", text, sizeof(text))) {
                             ServerUser = text;
                         }
                         if (config->GetField("ServerPassword", text, sizeof(text))) {
                             ServerPassword = text;
                         }
                     }
                 }));
        Standing("StopAllMonitors", Answer::Ok());
        Standing("ClearDebugLog", Answer::Ok());
        Standing("GetStatusEx", Answer::Reply([this](SCA_ConfigObj*, SCA_ConfigObj* reply) {
                     Status.Write(reply->AddConfigObj("ServerStatus"));
                     SCA_ConfigObj* monitors = reply->AddConfigObj("MonitorsStatus");
                     for (const SCA_KorvantaMonitorRow& row : Monitors) {
                         row.Write(monitors);
                     }
                 }));
        Standing("GetDebugLog", Answer::Reply([this](SCA_ConfigObj* request, SCA_ConfigObj* reply) {
                     WriteLog(request, reply);
                 }));
        Standing("GetSoundActions", Answer::Reply([this](SCA_ConfigObj*, SCA_ConfigObj* reply) {
                     SCA_SoundActions actions;
                     uint32_t id = 1;
                     for (const std::string& name : SoundNames) {
                         auto* action = new SCA_SoundAction();
                         action->SetActionId(id++);
                         action->SetActionTime(Status.LastSoundActionTime);
                         action->SetSoundName(name.c_str());
                         actions.AddAction(action);
                     }
                     reply->AddField("LastActionTime", Status.LastSoundActionTime);
                     actions.Serialize(0, reply->AddConfigObj("Actions"));
                 }));
    }

private:
    // As the service's log: a reader of an earlier session gets everything kept.
    void WriteLog(SCA_ConfigObj* request, SCA_ConfigObj* reply) {
        const std::lock_guard<std::recursive_mutex> hold(m_Lock);
        uint32_t from = SCA_ALL_ONES;
        uint32_t count = 0;
        request->GetField("LastMessageId", &from);
        request->GetField("Count", &count);
        if (from != SCA_ALL_ONES && from >= FirstMessageId + MessageCount) {
            from = SCA_ALL_ONES;
        }
        SCA_DebugLog log(MessageCount + 1);
        for (uint32_t i = 0; i < MessageCount && log.GetMessageCount() < count; ++i) {
            if (from != SCA_ALL_ONES && FirstMessageId + i <= from) {
                continue;
            }
            tagSCA_ERROR_DESCR message{};
            message.Level = SCA_LEVEL_INFO;
            message.AbsTime = 133000000000000000ull;
            std::snprintf(message.Text, sizeof(message.Text), "message %u", i);
            const auto text = MessageTexts.find(i);
            if (text != MessageTexts.end()) {
                message.Level = text->second.Level;
                std::snprintf(message.Text, sizeof(message.Text), "%s", text->second.Text.c_str());
            }
            log.AddMessage(&message, FirstMessageId + i);
        }
        reply->AddField("LogSessionId", SessionId);
        log.Serialize(SCA_ALL_ONES, SCA_ALL_ONES, SCA_ALL_ONES, reply->AddConfigObj("DebugLog"));
    }

    void Accept() {
        constexpr int kLookMs = 20;
        while (!m_Stopping) {
            pollfd waiting{m_Listener.GetDescriptor(), POLLIN, 0};
            uint32_t error = 0;
            SCA_NetSocket* link =
                poll(&waiting, 1, kLookMs) > 0 ? m_Listener.Accept(&error) : nullptr;
            if (link == nullptr) {
                continue;
            }
            const std::lock_guard<std::recursive_mutex> hold(m_Lock);
            m_Links.push_back(link);
            m_Serving.emplace_back([this, link] { Serve(link); });
        }
    }

    // Answers one connection until it ends; the transport owns link.
    void Serve(SCA_NetSocket* link) {
        SCA_NetTransport transport(link);
        AnswerConnection(link, &transport);
        const std::lock_guard<std::recursive_mutex> hold(m_Lock);
        m_Links.erase(std::find(m_Links.begin(), m_Links.end(), link));
        link->Shutdown();
    }

    void AnswerConnection(SCA_NetSocket* link, SCA_NetTransport* transport) {
        uint32_t error = 0;
        if (Next("Connect").Frame == Answer::Wire::Close ||
            !transport->Greet("13.5.48", "scripted-host", SCA_KORVANTA_LOGIN_SIGNATURE, 1,
                              kWireTimeoutMs, &error)) {
            return;
        }
        // A fresh client numbers its requests from 1.
        for (uint32_t sequence = 1; !m_Stopping; ++sequence) {
            SCA_NetMessage request;
            if (!transport->WaitForMessage(SCA_INFINITE, &request, &error)) {
                return;
            }
            const std::string op = request.GetCommandName();
            const Counted answering(&m_Answering);
            Record(op, static_cast<SCA_ConfigObj*>(request.GetData()->Clone()), 0);
            const Answer answer = Next(op);
            if (answer.Before) {
                answer.Before();
            }
            if (answer.Held) {
                EXPECT_TRUE(
                    korvanta_test::WaitUntil("the test to release the answer", answer.Held));
            }
            if (answer.How == Answer::Kind::Drop || answer.Frame == Answer::Wire::Close) {
                return;
            }
            if (answer.Frame == Answer::Wire::Silence) {
                continue;
            }
            SCA_NetMessage reply;
            reply.Init(answer.How == Answer::Kind::Reply ? "OK" : "ERR");
            if (answer.Fill) {
                answer.Fill(request.GetData(), reply.GetData());
            }
            if (!SendFrame(link, &reply, sequence, answer.Frame, answer.HugeBytes)) {
                return;
            }
        }
    }

    // A HugeString reply's tree: one text field "S" around its characters.
    static constexpr char kHugeHead[] = "1\x01S\x01";
    static constexpr char kHugeTail[] = "\x01";

    // Writes reply's frame as frame says; false when the connection is to close after it.
    static bool SendFrame(SCA_NetSocket* link, SCA_NetMessage* reply, uint32_t sequence,
                          Answer::Wire frame, uint32_t hugeBytes) {
        constexpr int kTooDeep = 100;
        // "KVNT", the version, the control code, the flags and the sequence come first.
        constexpr size_t kSequenceAt = 13;
        constexpr size_t kNameLengthAt = 17;
        SCA_NetFrameWriter writer;
        uint32_t error = 0;
        const bool other = frame == Answer::Wire::OtherRequest;
        if (!writer.Encode(reply, other ? sequence + 1000 : sequence, &error)) {
            return false;
        }
        std::string bytes(writer.GetData(), writer.GetSize());
        static_assert(kNameLengthAt == kSequenceAt + 4);
        const size_t lengthAt = kNameLengthAt + 1 + static_cast<uint8_t>(bytes[kNameLengthAt]);
        const auto setLength = [&bytes, lengthAt](uint32_t length) {
            for (int i = 0; i < 4; ++i) {
                bytes[lengthAt + i] = static_cast<char>((length >> (8 * i)) & 0xFF);
            }
        };
        const auto payload = [&bytes, lengthAt](const std::string& tree) {
            bytes.resize(lengthAt + 4);
            bytes += tree;
        };
        switch (frame) {
        case Answer::Wire::CutHalfWay:
            bytes.resize(bytes.size() / 2);
            break;
        case Answer::Wire::LengthTooLong:
            setLength(static_cast<uint32_t>(bytes.size() - lengthAt - 4) + 64);
            break;
        case Answer::Wire::LengthTooShort:
            setLength(static_cast<uint32_t>(bytes.size() - lengthAt - 4) / 2);
            break;
        case Answer::Wire::TooDeep: {
            std::string tree;
            for (int i = 0; i < kTooDeep; ++i) {
                tree += "2\x01L\x01";
            }
            for (int i = 0; i < kTooDeep; ++i) {
                tree += "0\x01";
            }
            payload(tree);
            setLength(static_cast<uint32_t>(tree.size()));
            break;
        }
        case Answer::Wire::HugeString:
            payload(kHugeHead + std::string(hugeBytes, 'x') + kHugeTail);
            setLength(static_cast<uint32_t>(bytes.size() - lengthAt - 4));
            break;
        default:
            break;
        }
        if (frame == Answer::Wire::Drip) {
            return Drip(link, bytes);
        }
        const bool sent = link->Send(bytes.data(), bytes.size(), kWireTimeoutMs, &error) != 0;
        return sent && frame != Answer::Wire::CutHalfWay;
    }

    // Sends bytes in kDripPieces pieces, kDripPauseMs apart: the reader sees every piece alone.
    static bool Drip(SCA_NetSocket* link, const std::string& bytes) {
        const size_t piece = std::max<size_t>(1, (bytes.size() + kDripPieces - 1) / kDripPieces);
        uint32_t error = 0;
        for (size_t at = 0; at < bytes.size(); at += piece) {
            if (at != 0) {
                std::this_thread::sleep_for(std::chrono::milliseconds(kDripPauseMs));
            }
            const size_t size = std::min(piece, bytes.size() - at);
            if (link->Send(bytes.data() + at, size, kWireTimeoutMs, &error) == 0) {
                return false;
            }
        }
        return true;
    }

    // Counts a request as answered for as long as it lives.
    class Counted {
    public:
        explicit Counted(std::atomic<int>* count) : m_Count(*count) { ++m_Count; }
        ~Counted() { --m_Count; }
        Counted(const Counted&) = delete;
        Counted& operator=(const Counted&) = delete;

    private:
        std::atomic<int>& m_Count;
    };

    static constexpr uint32_t kWireTimeoutMs = 5000;
    static constexpr size_t kDripPieces = 6;
    static constexpr int kDripPauseMs = 80;
    SCA_NetSocket m_Listener;
    uint16_t m_WirePort = 0;
    std::atomic<bool> m_Stopping{false};
    std::atomic<int> m_Answering{0};
    std::thread m_Accepting;
    std::vector<SCA_NetSocket*> m_Links;
    std::vector<std::thread> m_Serving;

    std::map<std::string, std::deque<Answer>> m_Queued;
    std::map<std::string, Answer> m_Standing;
    mutable std::recursive_mutex m_Lock;
};

// The client object a window makes: it crosses the protocol table as the real one does, and
// the service's answers come from the fake.
class FakeClient : public SCA_KorvantaInterface {
public:
    explicit FakeClient(FakeService* service) : m_Service(*service) {}

    // A second connection to the same stand-in.
    SCA_KorvantaInterface* NewClient() const override { return new FakeClient(&m_Service); }

    int Connect(const char* host, uint16_t port, uint32_t timeoutMs, uint32_t* error) override {
        if (m_Service.WirePort() != 0) {
            m_OnWire = true;
            if (!SCA_KorvantaInterface::Connect("127.0.0.1", m_Service.WirePort(), timeoutMs,
                                                error)) {
                return 0;
            }
            SetAddress(host, port);
            return 1;
        }
        m_Service.Record("Connect", nullptr, timeoutMs);
        const Answer answer = m_Service.Next("Connect");
        if (!Wait(answer, timeoutMs) || answer.How != Answer::Kind::Reply) {
            *error = answer.DelayMs > timeoutMs ? SCA_NET_ERROR_TIMEOUT : ECONNREFUSED;
            return 0;
        }
        SetAddress(host, port);
        return 1;
    }

    int Login(const char* user, const char* password, uint32_t* status) override {
        SCA_ConfigObj* request = new SCA_ConfigObj("LoginData", nullptr);
        request->AddField("UserName", user);
        request->AddField("Password", password);
        m_Service.Record("Login", request, GetReplyTimeout());
        const Answer answer = m_Service.Next("Login");
        if (m_OnWire && answer.Frame == Answer::Wire::Close) {
            GetNetTransport()->Shutdown();
            SetLastFailure(SCA_NetCallFailure::Connection);
            return 0;
        }
        if (!Deliver(answer)) {
            return 0;
        }
        // A refused login is a login that answers "not logged in".
        *status = answer.How == Answer::Kind::Reply ? SCA_KORVANTA_LOGGED_IN : 0;
        // As the real client keeps them: the credentials of the last successful login.
        if (*status == SCA_KORVANTA_LOGGED_IN) {
            SetLoginUser(user);
            SetLoginPassword(password);
        }
        return 1;
    }

protected:
    int Exchange(const tagSCA_NET_COMMAND_SHAPE& command, tagSCA_NET_VALUE* values) override {
        if (m_OnWire) {
            return SCA_KorvantaInterface::Exchange(command, values);
        }
        if (!SCA_NetCommandFields::CheckArguments(command, "FakeClient", values)) {
            SetLastFailure(SCA_NetCallFailure::Argument);
            return 0;
        }
        auto* request = new SCA_ConfigObj(command.Name, nullptr);
        SCA_NetCommandFields::WriteInputs(command, values, request);
        // The caller's objects go back to it; the journal keeps copies.
        auto* kept = static_cast<SCA_ConfigObj*>(request->Clone());
        SCA_NetCommandFields::DetachInputs(command, values, request);
        SCA_Object::Destroy(request);
        m_Service.Record(command.Name, kept, GetReplyTimeout());
        const Answer answer = m_Service.Next(command.Name);
        if (answer.Before) {
            answer.Before();
        }
        if (!Deliver(answer)) {
            return 0;
        }
        if (answer.How == Answer::Kind::Refuse) {
            SetLastFailure(SCA_NetCallFailure::Refused);
            return 0;
        }
        SCA_ConfigObj reply("OK", nullptr);
        if (answer.Fill) {
            answer.Fill(kept, &reply);
        }
        if (!SCA_NetCommandFields::ReadOutputs(command, values, &reply)) {
            SetLastFailure(SCA_NetCallFailure::Reply);
            return 0;
        }
        SetLastFailure(SCA_NetCallFailure::None);
        return 1;
    }

private:
    // Waits while the answer is held; false when the answer comes after the time-out.
    static bool Wait(const Answer& answer, uint32_t timeoutMs) {
        if (answer.Held) {
            EXPECT_TRUE(korvanta_test::WaitUntil("the test to release the answer", answer.Held));
        }
        return answer.DelayMs <= timeoutMs;
    }
    // The connection's part of an answer: a time-out, a dropped connection, or a dropped one
    // earlier, fail as a lost connection does.
    bool Deliver(const Answer& answer) {
        if (m_Dropped || !Wait(answer, GetReplyTimeout()) || answer.How == Answer::Kind::Drop) {
            m_Dropped = m_Dropped || answer.How == Answer::Kind::Drop;
            SetLastFailure(SCA_NetCallFailure::Connection);
            return false;
        }
        return true;
    }

    FakeService& m_Service;
    bool m_Dropped = false;
    bool m_OnWire = false;
};

// Whether the main window's timer polls service: two ticks (it polls on every second one) ask
// for the service's status unless a command holds the poll.
inline bool WindowPolls(FakeService* service, SCA_SrvGui* window) {
    const int before = service->Count("GetStatusEx");
    for (int tick = 0; tick < 2; ++tick) {
        TickWindow(window);
    }
    WaitForPolls(window->GetSession());
    return service->Count("GetStatusEx") > before;
}

// A main window started as StartWindow does whose connections reach service, with the saved
// connection "admin" on server-a:8000. The start's own connection attempt is the test's to make.
inline std::unique_ptr<SCA_SrvGui> StartWindowOn(FakeService* service) {
    auto window = StartWindow();
    if (window == nullptr) {
        return nullptr;
    }
    window->findChild<QTimer*>(QStringLiteral("ReconnectTimer"))->stop();
    // The test ticks the window itself: a tick of the real timer while a test waits for a poll
    // would move the window's count of ticks under it.
    window->findChild<QTimer*>(QStringLiteral("UpdateTimer"))->stop();
    window->SetClientFactory([service]() { return new FakeClient(service); });
    SCA_TezConfigUser* user = window->GetUserConfig();
    user->SetConnectHostName("server-a");
    user->SetConnectControlPort(8000);
    user->SetConnectUserName("admin");
    user->SetConnectPassword("secret");
    return window;
}

} // namespace korvac_test
