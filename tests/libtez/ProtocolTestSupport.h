// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "libtez/SCA_KorvantaVirtual.h"
#include "libtez/SCA_KorvantaVirtualFactory.h"
#include "model/SCA_ConfigObj.h"

class SCA_NetServerAgent;

namespace korvanta_test {

// The protocol as the tests know it, one line per operation in slot order:
// "<name> <Y|N login> <argument>...", an argument "[>]kind:Field[=Root]" with ">" for outputs.
extern const char* const kProtocol[];
inline constexpr size_t kOperationCount = 120;

struct Arg {
    std::string Kind; // u32, u64, text, obj
    std::string Field;
    std::string Root;
    bool Out = false;
};

struct Operation {
    std::string Name;
    bool Login = false;
    std::vector<Arg> Args;
};

const std::vector<Operation>& Protocol();
const Operation& Find(const std::string& name);

// One call's arguments by position.
struct Slots {
    uint32_t U32[16] = {};
    uint64_t U64[16] = {};
    char Text[16][256] = {};
    SCA_ConfigObj* Obj[16] = {};
};

// Calls the operation of that name on target with the slots of its positions.
int CallOperation(const std::string& name, SCA_KorvantaVirtual* target, Slots& slots);

// What the agent answers for output i of operation number op, and what the tests send.
uint32_t OutU32(size_t op, size_t i);
uint64_t OutU64(size_t op, size_t i);
std::string OutText(const std::string& op, size_t i);
uint32_t InU32(size_t op, size_t i);
uint64_t InU64(size_t op, size_t i);
std::string InText(const std::string& op, size_t i);
// An object named name with one value field "Tag".
SCA_ConfigObj* MakeObject(const char* name, const std::string& tag);
std::string TagOf(SCA_ConfigObj* object);

// How the agents behave and what they saw.
struct Journal {
    struct Call {
        std::string Op;
        std::vector<std::string> Inputs; // "Field=value", "Field{tag}" for objects
        bool OutputsZeroed = true;       // every output was 0, empty or null on arrival
    };
    std::mutex Lock;
    std::vector<Call> Calls;
    std::atomic<int> Result{1};
    std::atomic<bool> HoldStatus{false}; // GetStatus answers once it is let go
    // The login: mode and the one account the agent accepts.
    std::atomic<uint32_t> LoginMode{0};
    std::string User = "admin";
    std::string Password = "s3cret";

    std::vector<Call> Take() {
        std::lock_guard<std::mutex> lock(Lock);
        return std::exchange(Calls, {});
    }
};

// Records every operation with its inputs and answers with OutU32, OutU64, OutText and new
// objects named "Made" tagged with OutText; LoginEx2 checks the login as a service does.
class RecordingAgent : public SCA_KorvantaVirtual {
public:
    RecordingAgent(Journal* journal, SCA_NetServerAgent* connection)
        : m_Journal(journal), m_Connection(connection) {}

    int GetDebugLog(uint32_t a, uint32_t b, uint32_t* c, SCA_ConfigObj** d) override {
        return Take("GetDebugLog", a, b, c, d);
    }
    int ClearDebugLog() override { return Take("ClearDebugLog"); }
    // Waits while HoldStatus is set, as a slow service would.
    int GetStatus(uint32_t* a) override;
    int GetStatusObj(SCA_ConfigObj** a) override { return Take("GetStatusObj", a); }
    int GetStatusEx(SCA_ConfigObj** a, SCA_ConfigObj** b) override {
        return Take("GetStatusEx", a, b);
    }
    int GetServerInfo(uint32_t* a, char* b, char* c) override {
        return Take("GetServerInfo", a, b, c);
    }
    int GetServerInfoEx(uint32_t* a, char* b, char* c, uint32_t* d, uint32_t* e) override {
        return Take("GetServerInfoEx", a, b, c, d, e);
    }
    int GetServiceInfo(char* a, char* b) override { return Take("GetServiceInfo", a, b); }
    int GetServiceSystemAccountStatus(uint32_t* a) override {
        return Take("GetServiceSystemAccountStatus", a);
    }
    int GetOsVersion(uint32_t* a, uint32_t* b, uint32_t* c, uint32_t* d) override {
        return Take("GetOsVersion", a, b, c, d);
    }
    int GetProductConfig(SCA_ConfigObj** a) override { return Take("GetProductConfig", a); }
    int SetProductConfig(SCA_ConfigObj* a) override { return Take("SetProductConfig", a); }
    int GetUserConfig(SCA_ConfigObj** a) override { return Take("GetUserConfig", a); }
    int SetUserConfig(SCA_ConfigObj* a, uint32_t b) override { return Take("SetUserConfig", a, b); }
    int GetProcessMonitorRules(SCA_ConfigObj** a) override {
        return Take("GetProcessMonitorRules", a);
    }
    int SetProcessMonitorRules(SCA_ConfigObj* a) override {
        return Take("SetProcessMonitorRules", a);
    }
    int SetupSmtpServer(const char* a, const char* b, const char* c, const char* d, uint32_t e,
                        uint32_t f, uint32_t g, uint32_t h, uint32_t i, uint32_t* j) override {
        return Take("SetupSmtpServer", a, b, c, d, e, f, g, h, i, j);
    }
    int GetSmtpServerSetup(SCA_ConfigObj** a) override { return Take("GetSmtpServerSetup", a); }
    int TestSmtpServer(uint32_t* a) override { return Take("TestSmtpServer", a); }
    int StopServer() override { return Take("StopServer"); }
    int RestartServer() override { return Take("RestartServer"); }
    int Suspend() override { return Take("Suspend"); }
    int GetProfileCount(uint32_t* a) override { return Take("GetProfileCount", a); }
    int GetProfileInfo(uint32_t a, uint32_t* b, char* c) override {
        return Take("GetProfileInfo", a, b, c);
    }
    int GetProfileInfoList(SCA_ConfigObj** a) override { return Take("GetProfileInfoList", a); }
    int GetProfiles(SCA_ConfigObj** a) override { return Take("GetProfiles", a); }
    int GetProfile(uint32_t a, SCA_ConfigObj** b) override { return Take("GetProfile", a, b); }
    int SetProfile(uint32_t a, SCA_ConfigObj* b) override { return Take("SetProfile", a, b); }
    int IsProfileExists(const char* a, uint32_t* b, uint32_t* c) override {
        return Take("IsProfileExists", a, b, c);
    }
    int AddProfile(const char* a, uint32_t b, uint32_t* c) override {
        return Take("AddProfile", a, b, c);
    }
    int CopyProfile(uint32_t a, const char* b, uint32_t* c) override {
        return Take("CopyProfile", a, b, c);
    }
    int RenameProfile(uint32_t a, const char* b) override { return Take("RenameProfile", a, b); }
    int MoveProfileUp(uint32_t a) override { return Take("MoveProfileUp", a); }
    int MoveProfileDown(uint32_t a) override { return Take("MoveProfileDown", a); }
    int DeleteProfile(uint32_t a) override { return Take("DeleteProfile", a); }
    int DeleteProfileByName(const char* a) override { return Take("DeleteProfileByName", a); }
    int PerfMonitorConnect(const char* a, uint32_t* b) override {
        return Take("PerfMonitorConnect", a, b);
    }
    int PerfMonitorGetCpuList(const char* a, SCA_ConfigObj** b, uint32_t* c) override {
        return Take("PerfMonitorGetCpuList", a, b, c);
    }
    int PerfMonitorGetCpuListEx(const char* a, SCA_ConfigObj** b, uint32_t* c) override {
        return Take("PerfMonitorGetCpuListEx", a, b, c);
    }
    int PerfMonitorGetTotalMemory(const char* a, uint64_t* b, uint32_t* c) override {
        return Take("PerfMonitorGetTotalMemory", a, b, c);
    }
    int PerfMonitorGetUsbDevList(const char* a, SCA_ConfigObj** b, uint32_t* c) override {
        return Take("PerfMonitorGetUsbDevList", a, b, c);
    }
    int PerfMonitorGetNicList(const char* a, SCA_ConfigObj** b, uint32_t* c) override {
        return Take("PerfMonitorGetNicList", a, b, c);
    }
    int PerfMonitorGetDiskList(const char* a, SCA_ConfigObj** b, uint32_t* c) override {
        return Take("PerfMonitorGetDiskList", a, b, c);
    }
    int PerfMonitorGetPDiskList(const char* a, SCA_ConfigObj** b, uint32_t* c) override {
        return Take("PerfMonitorGetPDiskList", a, b, c);
    }
    int PerfMonitorGetProcessList(const char* a, SCA_ConfigObj* b, SCA_ConfigObj** c,
                                  uint32_t* d) override {
        return Take("PerfMonitorGetProcessList", a, b, c, d);
    }
    int PerfMonitorGetSmbShareList(const char* a, uint32_t b, SCA_ConfigObj* c, SCA_ConfigObj** d,
                                   uint32_t* e) override {
        return Take("PerfMonitorGetSmbShareList", a, b, c, d, e);
    }
    int PerfMonitorGetSqlInstances(const char* a, SCA_ConfigObj** b, uint32_t* c) override {
        return Take("PerfMonitorGetSqlInstances", a, b, c);
    }
    int PerfMonitorGetSqlDatabases(const char* a, const char* b, SCA_ConfigObj* c,
                                   SCA_ConfigObj** d, uint32_t* e) override {
        return Take("PerfMonitorGetSqlDatabases", a, b, c, d, e);
    }
    int PerfMonitorGetWebSiteList(const char* a, SCA_ConfigObj* b, SCA_ConfigObj** c,
                                  uint32_t* d) override {
        return Take("PerfMonitorGetWebSiteList", a, b, c, d);
    }
    int PerfMonitorGetISCSITargets(const char* a, SCA_ConfigObj* b, SCA_ConfigObj** c,
                                   uint32_t* d) override {
        return Take("PerfMonitorGetISCSITargets", a, b, c, d);
    }
    int PerfMonitorGetPrinters(const char* a, SCA_ConfigObj** b, uint32_t* c) override {
        return Take("PerfMonitorGetPrinters", a, b, c);
    }
    int PerfMonitorGetCpuFreqStatus(const char* a, uint32_t* b, uint32_t* c) override {
        return Take("PerfMonitorGetCpuFreqStatus", a, b, c);
    }
    int PerfMonitorGetTCPv6Status(const char* a, uint32_t* b, uint32_t* c) override {
        return Take("PerfMonitorGetTCPv6Status", a, b, c);
    }
    int PerfMonitorGetUDPv6Status(const char* a, uint32_t* b, uint32_t* c) override {
        return Take("PerfMonitorGetUDPv6Status", a, b, c);
    }
    int PerfMonitorGetWFPv4Status(const char* a, uint32_t* b, uint32_t* c) override {
        return Take("PerfMonitorGetWFPv4Status", a, b, c);
    }
    int PerfMonitorGetWFPv6Status(const char* a, uint32_t* b, uint32_t* c) override {
        return Take("PerfMonitorGetWFPv6Status", a, b, c);
    }
    int PerfMonitorGetADStatus(const char* a, uint32_t* b, uint32_t* c) override {
        return Take("PerfMonitorGetADStatus", a, b, c);
    }
    int PerfMonitorGetCounters(uint32_t a, SCA_ConfigObj** b) override {
        return Take("PerfMonitorGetCounters", a, b);
    }
    int GetMonitorCount(uint32_t* a) override { return Take("GetMonitorCount", a); }
    int GetMonitorsStatus(uint32_t* a, uint32_t* b, uint32_t* c, uint32_t* d) override {
        return Take("GetMonitorsStatus", a, b, c, d);
    }
    int GetMonitorInfo(uint32_t a, uint32_t* b, char* c) override {
        return Take("GetMonitorInfo", a, b, c);
    }
    int GetMonitorInfoEx(uint32_t a, uint32_t* b, uint32_t* c, uint32_t* d, char* e,
                         char* f) override {
        return Take("GetMonitorInfoEx", a, b, c, d, e, f);
    }
    int GetMonitorInfoList(SCA_ConfigObj** a) override { return Take("GetMonitorInfoList", a); }
    int IsMonitorExists(SCA_ConfigObj* a, uint32_t* b, uint32_t* c) override {
        return Take("IsMonitorExists", a, b, c);
    }
    int GetMonitors(SCA_ConfigObj** a) override { return Take("GetMonitors", a); }
    int AddMonitor(uint32_t a, uint32_t b, const char* c, uint32_t* d) override {
        return Take("AddMonitor", a, b, c, d);
    }
    int GetMonitorObj(uint32_t a, SCA_ConfigObj** b) override {
        return Take("GetMonitorObj", a, b);
    }
    int SetMonitorObj(uint32_t a, SCA_ConfigObj* b) override { return Take("SetMonitorObj", a, b); }
    int MoveMonitorUp(uint32_t a) override { return Take("MoveMonitorUp", a); }
    int MoveMonitorDown(uint32_t a) override { return Take("MoveMonitorDown", a); }
    int StartMonitor(uint32_t a) override { return Take("StartMonitor", a); }
    int PauseMonitor(uint32_t a) override { return Take("PauseMonitor", a); }
    int ResetMonitor(uint32_t a) override { return Take("ResetMonitor", a); }
    int RestartMonitor(uint32_t a) override { return Take("RestartMonitor", a); }
    int StopMonitor(uint32_t a) override { return Take("StopMonitor", a); }
    int StartAllMonitors() override { return Take("StartAllMonitors"); }
    int StopAllMonitors() override { return Take("StopAllMonitors"); }
    int GetMonitorProfile(uint32_t a, uint32_t* b, uint32_t* c, SCA_ConfigObj** d) override {
        return Take("GetMonitorProfile", a, b, c, d);
    }
    int GetMonitorStats(uint32_t a, uint32_t* b, uint32_t* c, uint32_t* d, uint32_t* e, uint32_t* f,
                        uint32_t* g) override {
        return Take("GetMonitorStats", a, b, c, d, e, f, g);
    }
    int GetMonitorStatus(uint32_t a, uint32_t* b, uint32_t* c, uint32_t* d, uint32_t* e,
                         SCA_ConfigObj** f) override {
        return Take("GetMonitorStatus", a, b, c, d, e, f);
    }
    int GetMonitorStatusEx(uint32_t a, uint32_t* b, uint32_t* c, uint32_t* d, uint32_t* e,
                           uint32_t* f, uint64_t* g, uint32_t* h, SCA_ConfigObj** i, uint32_t j,
                           uint64_t k, uint32_t l, SCA_ConfigObj** m, uint64_t* n) override {
        return Take("GetMonitorStatusEx", a, b, c, d, e, f, g, h, i, j, k, l, m, n);
    }
    int GetCounterStatusEx(uint32_t a, uint32_t b, uint64_t c, uint32_t d, SCA_ConfigObj** e,
                           char* f) override {
        return Take("GetCounterStatusEx", a, b, c, d, e, f);
    }
    int GetMonitorReport(uint32_t a, SCA_ConfigObj** b) override {
        return Take("GetMonitorReport", a, b);
    }
    int GetMonitorErrors(uint32_t a, SCA_ConfigObj** b) override {
        return Take("GetMonitorErrors", a, b);
    }
    int DeleteMonitor(uint32_t a) override { return Take("DeleteMonitor", a); }
    int DeleteAllMonitors() override { return Take("DeleteAllMonitors"); }
    int AddCounter(uint32_t a, uint32_t b, const char* c, const char* d, const char* e,
                   uint32_t* f) override {
        return Take("AddCounter", a, b, c, d, e, f);
    }
    int IsCounterExists(uint32_t a, uint32_t b, const char* c, const char* d, const char* e,
                        uint32_t* f) override {
        return Take("IsCounterExists", a, b, c, d, e, f);
    }
    int GetCounterData(uint32_t a, uint32_t b, uint64_t c, uint32_t d, SCA_ConfigObj** e) override {
        return Take("GetCounterData", a, b, c, d, e);
    }
    int GetCounterInfo(uint32_t a, uint32_t b, SCA_ConfigObj** c) override {
        return Take("GetCounterInfo", a, b, c);
    }
    int SetCounterInfo(uint32_t a, uint32_t b, SCA_ConfigObj* c) override {
        return Take("SetCounterInfo", a, b, c);
    }
    int MoveCounterUp(uint32_t a, uint32_t b) override { return Take("MoveCounterUp", a, b); }
    int MoveCounterDown(uint32_t a, uint32_t b) override { return Take("MoveCounterDown", a, b); }
    int DeleteCounter(uint32_t a, uint32_t b) override { return Take("DeleteCounter", a, b); }
    int DeleteAllCounters(uint32_t a) override { return Take("DeleteAllCounters", a); }
    int GetSoundActions(uint64_t a, uint64_t* b, SCA_ConfigObj** c) override {
        return Take("GetSoundActions", a, b, c);
    }
    int GetMonitorProcessLog(uint32_t a, SCA_ConfigObj** b) override {
        return Take("GetMonitorProcessLog", a, b);
    }
    int GetMonitorProcessList(uint32_t a, uint32_t b, SCA_ConfigObj** c) override {
        return Take("GetMonitorProcessList", a, b, c);
    }
    int GetMonitorProcessListStatus(uint32_t a, uint32_t* b, uint32_t* c, uint32_t* d, uint64_t* e,
                                    uint32_t* f, SCA_ConfigObj** g) override {
        return Take("GetMonitorProcessListStatus", a, b, c, d, e, f, g);
    }
    int GetMonitorProcessListStatusEx(uint32_t a, uint32_t* b, uint32_t* c, uint32_t* d,
                                      uint64_t* e, uint32_t* f, SCA_ConfigObj** g, uint32_t h,
                                      SCA_ConfigObj** i) override {
        return Take("GetMonitorProcessListStatusEx", a, b, c, d, e, f, g, h, i);
    }
    int GetMonitorProcessCounterList(uint32_t a, uint32_t* b, uint32_t c, uint32_t* d, uint32_t* e,
                                     uint32_t* f, uint32_t* g, uint32_t* h, uint64_t* i,
                                     SCA_ConfigObj** j) override {
        return Take("GetMonitorProcessCounterList", a, b, c, d, e, f, g, h, i, j);
    }
    int GetMonitorProcessCountersStatus(uint32_t a, uint32_t* b, uint32_t c, uint32_t* d,
                                        uint32_t* e, uint32_t* f, uint32_t* g, uint32_t* h,
                                        SCA_ConfigObj** i) override {
        return Take("GetMonitorProcessCountersStatus", a, b, c, d, e, f, g, h, i);
    }
    int GetMonitorProcessCountersStatusEx(uint32_t a, uint32_t* b, uint32_t c, uint32_t* d,
                                          uint32_t* e, uint32_t* f, uint32_t* g, uint32_t* h,
                                          SCA_ConfigObj** i, uint32_t j, uint64_t k, uint32_t l,
                                          SCA_ConfigObj** m, uint64_t* n) override {
        return Take("GetMonitorProcessCountersStatusEx", a, b, c, d, e, f, g, h, i, j, k, l, m, n);
    }
    int GetMonitorProcess(uint32_t a, uint32_t b, uint32_t c, SCA_ConfigObj** d) override {
        return Take("GetMonitorProcess", a, b, c, d);
    }
    int GetMonitorProcessModules(uint32_t a, uint32_t b, uint32_t c, char* d, SCA_ConfigObj** e,
                                 uint32_t* f, uint32_t* g) override {
        return Take("GetMonitorProcessModules", a, b, c, d, e, f, g);
    }
    int GetMonitorProcessExcludeList(uint32_t a, SCA_ConfigObj** b) override {
        return Take("GetMonitorProcessExcludeList", a, b);
    }
    int SetMonitorProcessExcludeList(uint32_t a, SCA_ConfigObj* b) override {
        return Take("SetMonitorProcessExcludeList", a, b);
    }
    int GetReportIndexObj(SCA_ConfigObj** a) override { return Take("GetReportIndexObj", a); }
    int IsReportExists(SCA_ConfigObj* a, uint32_t* b) override {
        return Take("IsReportExists", a, b);
    }
    int AddReportObj(SCA_ConfigObj* a, uint32_t* b) override { return Take("AddReportObj", a, b); }
    int GetReportObj(uint32_t a, SCA_ConfigObj** b) override { return Take("GetReportObj", a, b); }
    int DeleteReport(uint32_t a) override { return Take("DeleteReport", a); }
    int DeleteAllReports() override { return Take("DeleteAllReports"); }
    int ConnectToNetwork(const char* a, const char* b, uint32_t* c) override {
        return Take("ConnectToNetwork", a, b, c);
    }
    int DisconnectFromNetwork() override { return Take("DisconnectFromNetwork"); }
    int StartSelfTest(uint32_t a, uint32_t* b, char* c) override {
        return Take("StartSelfTest", a, b, c);
    }
    int GetSelfTestStatus(uint32_t* a, uint32_t* b, char* c) override {
        return Take("GetSelfTestStatus", a, b, c);
    }
    int GetSelfTestLog(SCA_ConfigObj** a) override { return Take("GetSelfTestLog", a); }
    int DeleteSelfTest() override { return Take("DeleteSelfTest"); }
    int LoginEx2(SCA_ConfigObj* data, SCA_ConfigObj** results) override;

private:
    template <typename... Args>
    int Take(const char* op, Args... args);

    Journal* m_Journal;
    SCA_NetServerAgent* m_Connection;
};

// Inputs as they arrived; outputs checked for zero, then filled.
void Note(Journal::Call* call, const Arg& arg, size_t op, size_t i, uint32_t value);
void Note(Journal::Call* call, const Arg& arg, size_t op, size_t i, uint64_t value);
void Note(Journal::Call* call, const Arg& arg, size_t op, size_t i, const char* value);
void Note(Journal::Call* call, const Arg& arg, size_t op, size_t i, SCA_ConfigObj* value);
void Note(Journal::Call* call, const Arg& arg, size_t op, size_t i, uint32_t* out);
void Note(Journal::Call* call, const Arg& arg, size_t op, size_t i, uint64_t* out);
void Note(Journal::Call* call, const Arg& arg, size_t op, size_t i, char* out);
void Note(Journal::Call* call, const Arg& arg, size_t op, size_t i, SCA_ConfigObj** out);
size_t IndexOf(const std::string& name);

template <typename... Args>
int RecordingAgent::Take(const char* op, Args... args) {
    Journal::Call call{op, {}, true};
    const size_t index = IndexOf(op);
    [[maybe_unused]] const Operation& operation = Protocol().at(index);
    [[maybe_unused]] size_t position = 0;
    ((Note(&call, operation.Args.at(position), index, position, args), ++position), ...);
    std::lock_guard<std::mutex> lock(m_Journal->Lock);
    m_Journal->Calls.push_back(call);
    return m_Journal->Result;
}

class TestFactory : public SCA_KorvantaVirtualFactory {
public:
    explicit TestFactory(Journal* journal) : m_Journal(journal) {}

    SCA_KorvantaVirtual* CreateAgent(SCA_NetServerAgent* connection) override;
    SCA_KorvantaVirtual* GetAgent(uint32_t connectionId) override;
    int DeleteAgent(uint32_t connectionId) override;
    uint32_t GetServerLoginMode() override { return m_Journal->LoginMode; }

private:
    Journal* m_Journal;
    std::mutex m_Lock;
    std::map<uint32_t, std::unique_ptr<RecordingAgent>> m_Agents;
};

} // namespace korvanta_test
