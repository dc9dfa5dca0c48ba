// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "libkvn/SCA_KorvantaNetVirtual.h"
#include "libkvn/SCA_KorvantaNetVirtualFactory.h"
#include "libmor/SCA_Report.h"
#include "model/SCA_ConfigObj.h"
#include "net/SCA_NetMessage.h"
#include "net/SCA_NetServer.h"
#include "net/SCA_NetServerAgent.h"
#include "tests/support/WaitUntil.h"

namespace kvnnet_test {

// --- the protocol as the tests know it -------------------------------------------------------

enum class Kind { U32, U64, Text, Object };

struct Field {
    std::string Name;
    Kind Type;
    bool Out;
};

// One call's arguments by position: inputs set by the test, outputs filled by the call.
struct Slots {
    uint32_t U32[6] = {};
    uint64_t U64[6] = {};
    char Text[6][256] = {};
    SCA_ConfigObj* Obj[6] = {};
};

// A command: its fields in argument order (inputs are request fields, outputs reply fields)
// and the typed call of its operation with the slots of those positions.
struct Command {
    std::string Name;
    std::vector<Field> Fields;
    int (*Call)(SCA_KorvantaNetVirtual* target, Slots& slots);
};

// The 52 commands as the protocol describes them, in registration order.
const std::vector<Command>& Protocol();
const Command& FindCommand(const std::string& name);

// An object named name with one value field "Tag".
SCA_ConfigObj* MakeObject(const char* name, const std::string& tag);
std::string TagOf(SCA_ConfigObj* object);
// What agents and wire servers answer for output position i of command op.
inline uint32_t OutU32(size_t i) {
    return 4000 + static_cast<uint32_t>(i);
}
inline std::string OutText(const std::string& op, size_t i) {
    return op + "#" + std::to_string(i);
}

// Fills the inputs of command number index: numbers that differ by command and position,
// texts "<command>.<field>", objects named "Caller" tagged with that text.
void FillInputs(const Command& command, size_t index, Slots* slots);
void ReleaseObjects(const Command& command, Slots* slots);
// A field as it travels: "Name=value", or "Name{tag}" for an object.
std::string Describe(const Field& field, const Slots& slots, size_t i);
std::string Describe(SCA_Field* field);
// The fields of a payload, in order.
std::vector<std::string> Children(SCA_ConfigObj* data);
// The inputs (or outputs, as answered) of a call, in order, as they should travel.
std::vector<std::string> Expected(const Command& command, const Slots& slots, bool out);
// The same from the slots as they are: objects under their own names, "null" for none and
// marked " linked" while in a tree.
std::vector<std::string> Actual(const Command& command, const Slots& slots, bool out);
// Adds input or output position i to data as its sender would.
void AddField(SCA_ConfigObj* data, const Command& command, const Slots& slots, size_t i);

// Collects the reports made while it lives.
class ReportCapture {
public:
    ReportCapture() { SCA_SetErrorCallback(&ReportCapture::Collect, this); }
    ~ReportCapture() { SCA_SetErrorCallback(nullptr, nullptr); }
    ReportCapture(const ReportCapture&) = delete;
    ReportCapture& operator=(const ReportCapture&) = delete;

    int Count(uint32_t level, const std::string& text) const;

private:
    static int Collect(tagSCA_ERROR_DESCR* record, void* context);

    mutable std::mutex m_Lock;
    std::vector<std::pair<uint32_t, std::string>> m_Records;
};

// --- the host side: agents and their factory ---------------------------------------------------

// How the test agents behave, and what they were asked.
struct Journal {
    struct Call {
        std::string Op;
        std::vector<std::string> Inputs; // "Name=value" or "Name{tag}"
        uint32_t Connection;
    };

    std::mutex Lock;
    std::vector<Call> Calls;
    std::atomic<int> Result{1};
    std::atomic<bool> NullObjects{false}; // succeed without object results
    std::atomic<int> NullObjectAt{-1};    // ... or without the one at that argument position
    std::atomic<bool> EchoInput{false};   // hand the request's own object back as every result
    std::atomic<bool> Block{false};       // wait for Release (at most 5 s) before answering
    std::atomic<bool> Release{false};
    std::atomic<int> Blocked{0};

    std::vector<Call> Take() {
        std::lock_guard<std::mutex> lock(Lock);
        return std::exchange(Calls, {});
    }
};

// Records every operation with its inputs and answers with OutU32, OutText and new objects
// named "Made" (the server sends them under their field names).
class RecordingAgent : public SCA_KorvantaNetVirtual {
public:
    RecordingAgent(Journal* journal, uint32_t connection)
        : m_Journal(journal), m_Connection(connection) {}

    using U32 = uint32_t;
    using U64 = uint64_t;
    using Str = const char*;
    using Buf = char*;
    using Obj = SCA_ConfigObj*;

    int GetDebugLog(U32 a, U32 b, U32* c, Obj* d) override {
        return Take("GetDebugLog", a, b, c, d);
    }
    int ClearDebugLog() override { return Take("ClearDebugLog"); }
    int LoginEx2(Obj a, Obj* b) override { return Take("LoginEx2", a, b); }
    int GetStatus(Obj* a) override { return Take("GetStatus", a); }
    int GetStatusEx(U32 a, U64 b, Obj* c, Obj* d) override {
        return Take("GetStatusEx", a, b, c, d);
    }
    int GetServerInfo(U32* a, Buf b, Buf c) override { return Take("GetServerInfo", a, b, c); }
    int GetServerInfoEx(U32* a, Buf b, Buf c, U32* d, U32* e) override {
        return Take("GetServerInfoEx", a, b, c, d, e);
    }
    int GetServiceInfo(Buf a, Buf b) override { return Take("GetServiceInfo", a, b); }
    int GetProductConfig(Obj* a) override { return Take("GetProductConfig", a); }
    int SetProductConfig(Obj a) override { return Take("SetProductConfig", a); }
    int GetUserConfig(Obj* a) override { return Take("GetUserConfig", a); }
    int SetUserConfig(Obj a, U32 b) override { return Take("SetUserConfig", a, b); }
    int StopServer() override { return Take("StopServer"); }
    int RestartServer() override { return Take("RestartServer"); }
    int Suspend() override { return Take("Suspend"); }
    int GetGroupIndex(Obj* a) override { return Take("GetGroupIndex", a); }
    int AddGroup(Str a) override { return Take("AddGroup", a); }
    int DeleteGroup(Str a) override { return Take("DeleteGroup", a); }
    int ConnectToNetwork(Str a, U32 b, Str c, Str d, U32* e) override {
        return Take("ConnectToNetwork", a, b, c, d, e);
    }
    int GetDeviceIndexObj(Obj* a, U32 b) override { return Take("GetDeviceIndexObj", a, b); }
    int AddDevice(Str a, U32* b) override { return Take("AddDevice", a, b); }
    int GetDeviceInfo(U32 a, U32 b, Obj* c) override { return Take("GetDeviceInfo", a, b, c); }
    int GetDeviceStatus(U32 a, Obj* b) override { return Take("GetDeviceStatus", a, b); }
    int GetDeviceStatusEx(U32 a, Str b, Obj* c, Obj* d) override {
        return Take("GetDeviceStatusEx", a, b, c, d);
    }
    int GetDeviceDebugStatus(U32 a, Obj* b) override { return Take("GetDeviceDebugStatus", a, b); }
    int GetDeviceListStatus(Obj a, Obj* b, Obj* c) override {
        return Take("GetDeviceListStatus", a, b, c);
    }
    int DeviceLogin(U32 a, Str b, Obj c, Obj* d, U32* e) override {
        return Take("DeviceLogin", a, b, c, d, e);
    }
    int UpdateDeviceStatus(U32 a, Obj b, U32* c) override {
        return Take("UpdateDeviceStatus", a, b, c);
    }
    int UpdateDeviceStatusEx(U32 a, U32 b, U32 c, U32 d, Obj e, U32* f) override {
        return Take("UpdateDeviceStatusEx", a, b, c, d, e, f);
    }
    int DeviceLogout(U32 a) override { return Take("DeviceLogout", a); }
    int GetDeviceMonitors(U32 a, Obj* b) override { return Take("GetDeviceMonitors", a, b); }
    int GetDeviceSessions(U32 a, Obj* b) override { return Take("GetDeviceSessions", a, b); }
    int GetDeviceLastSession(U32 a, Obj* b) override { return Take("GetDeviceLastSession", a, b); }
    int GetDeviceReportIndex(U32 a, Obj* b) override { return Take("GetDeviceReportIndex", a, b); }
    int GetDeviceReportList(U32 a, Obj* b) override { return Take("GetDeviceReportList", a, b); }
    int GetDeviceReportCounter(U32 a, U32 b, U32 c, Obj* d) override {
        return Take("GetDeviceReportCounter", a, b, c, d);
    }
    int GetDeviceMonitorCounter(U32 a, U32 b, Obj* c) override {
        return Take("GetDeviceMonitorCounter", a, b, c);
    }
    int GetDeviceMonitorReportIndex(U32 a, U32 b, Obj* c) override {
        return Take("GetDeviceMonitorReportIndex", a, b, c);
    }
    int GetDeviceMonitorReport(U32 a, Obj* b) override {
        return Take("GetDeviceMonitorReport", a, b);
    }
    int DeleteDeviceReports(U32 a) override { return Take("DeleteDeviceReports", a); }
    int SetNetworkUpdatePeriod(U32 a) override { return Take("SetNetworkUpdatePeriod", a); }
    int SetDeviceUpdatePeriod(U32 a, U32 b) override { return Take("SetDeviceUpdatePeriod", a, b); }
    int SetNetworkMaxPendingStatus(U32 a) override { return Take("SetNetworkMaxPendingStatus", a); }
    int SetDeviceMaxPendingStatus(U32 a, U32 b) override {
        return Take("SetDeviceMaxPendingStatus", a, b);
    }
    int DeleteDevice(U32 a) override { return Take("DeleteDevice", a); }
    int DeleteAllReports() override { return Take("DeleteAllReports"); }
    int GetRules(Str a, Obj* b) override { return Take("GetRules", a, b); }
    int IsRuleExists(Str a, Obj b, U32* c) override { return Take("IsRuleExists", a, b, c); }
    int AddRule(Str a, Obj b, U32* c) override { return Take("AddRule", a, b, c); }
    int SetRule(Str a, U32 b, Obj c) override { return Take("SetRule", a, b, c); }
    int GetRule(Str a, U32 b, Obj* c) override { return Take("GetRule", a, b, c); }
    int DeleteRule(Str a, U32 b) override { return Take("DeleteRule", a, b); }

private:
    template <typename... Args>
    int Take(const char* op, Args... args) {
        Journal::Call call{op, {}, m_Connection};
        const Command& command = FindCommand(op);
        size_t position = 0;
        (Note(&call, command, position++, args), ...);
        if (m_Journal->Block) {
            ++m_Journal->Blocked;
            korvanta_test::WaitUntil("the test to release the call",
                                     [this] { return m_Journal->Release.load(); });
        }
        std::lock_guard<std::mutex> lock(m_Journal->Lock);
        m_Journal->Calls.push_back(call);
        return m_Journal->Result;
    }

    // Inputs as they arrived: numbers and texts under the protocol's field names, objects under
    // their own names.
    void Note(Journal::Call* call, const Command& command, size_t i, U32 value) {
        call->Inputs.push_back(command.Fields.at(i).Name + "=" + std::to_string(value));
    }
    void Note(Journal::Call* call, const Command& command, size_t i, U64 value) {
        call->Inputs.push_back(command.Fields.at(i).Name + "=" + std::to_string(value));
    }
    void Note(Journal::Call* call, const Command& command, size_t i, Str value) {
        call->Inputs.push_back(command.Fields.at(i).Name + "=" + value);
    }
    void Note(Journal::Call* call, const Command&, size_t, Obj value) {
        call->Inputs.push_back(Describe(value));
        m_Echo = value;
    }
    void Note(Journal::Call*, const Command&, size_t i, U32* out) { *out = OutU32(i); }
    void Note(Journal::Call* call, const Command&, size_t i, Buf out) {
        std::snprintf(out, 256, "%s", OutText(call->Op, i).c_str());
    }
    void Note(Journal::Call* call, const Command&, size_t i, Obj* out) {
        const bool none = m_Journal->NullObjects || m_Journal->NullObjectAt == static_cast<int>(i);
        *out = m_Journal->EchoInput ? m_Echo
               : none               ? nullptr
                                    : MakeObject("Made", OutText(call->Op, i));
    }

    Journal* m_Journal;
    uint32_t m_Connection;
    SCA_ConfigObj* m_Echo = nullptr;
};

class TestFactory : public SCA_KorvantaNetVirtualFactory {
public:
    explicit TestFactory(Journal* journal) : m_Journal(journal) {}

    int CreateAgent(SCA_NetServerAgent* connection) override {
        ++Creates;
        if (connection == nullptr) {
            return 0;
        }
        std::lock_guard<std::mutex> lock(m_Lock);
        m_Agents[connection->GetId()] =
            std::make_unique<RecordingAgent>(m_Journal, connection->GetId());
        return 1;
    }
    SCA_KorvantaNetVirtual* GetAgent(uint32_t connectionId) override {
        std::lock_guard<std::mutex> lock(m_Lock);
        const auto found = m_Agents.find(connectionId);
        return found != m_Agents.end() && !NoAgents ? found->second.get() : nullptr;
    }
    int DeleteAgent(uint32_t connectionId) override {
        ++Deletes;
        std::lock_guard<std::mutex> lock(m_Lock);
        return m_Agents.erase(connectionId) == 1 ? 1 : 0;
    }
    uint32_t GetServerLoginMode() override { return LoginMode; }

    std::atomic<int> Creates{0};
    std::atomic<int> Deletes{0};
    std::atomic<uint32_t> LoginMode{2};
    std::atomic<bool> NoAgents{false};

private:
    Journal* m_Journal;
    std::mutex m_Lock;
    std::map<uint32_t, std::unique_ptr<RecordingAgent>> m_Agents;
};

// --- a bare server for looking at what the client sends -----------------------------------------

// Answers every command with the outputs of Expected and keeps each request's name and fields.
// It names the reply ReplyName ("OK" unless told otherwise); Omit leaves one field out.
class WireServer : public SCA_NetServer<WireServer> {
public:
    struct Request {
        std::string Name;
        std::vector<std::string> Fields;
    };

    WireServer(uint16_t port, uint32_t* error);
    ~WireServer() override { StopAll(); }

    int ConnectEvent(SCA_NetServerAgent*) override { return 1; }
    int DisconnectEvent(SCA_NetServerAgent*) override { return 1; }
    uint32_t GetLoginMode() const { return 0; }

    std::vector<Request> Take() {
        std::lock_guard<std::mutex> lock(m_Lock);
        return std::exchange(m_Requests, {});
    }

    std::string ReplyName = "OK";
    std::string Omit;

private:
    int Answer(SCA_NetServerAgent*, SCA_NetMessage* request, SCA_NetMessage* reply);

    std::mutex m_Lock;
    std::vector<Request> m_Requests;
};

} // namespace kvnnet_test
