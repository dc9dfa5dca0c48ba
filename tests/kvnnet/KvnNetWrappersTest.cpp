// SPDX-License-Identifier: MIT
// The typed wrappers of the network interface, over a real connection: every fetching wrapper
// reads the server's object into its record, every sending wrapper delivers its record, the
// scalar arguments travel unchanged, and a failed command is reported once in the wrapper's
// words.
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "KvnNetInterfaceSupport.h"
#include "libkvn/SCA_KvnCounter.h"
#include "libkvn/SCA_KvnCounterList.h"
#include "libkvn/SCA_KvnDeviceIndex.h"
#include "libkvn/SCA_KvnDeviceInfo.h"
#include "libkvn/SCA_KvnDeviceSession.h"
#include "libkvn/SCA_KvnDeviceSessions.h"
#include "libkvn/SCA_KvnReport.h"
#include "libkvn/SCA_KvnReportIndex.h"
#include "libkvn/SCA_KvnReportList.h"
#include "libkvn/SCA_KvnRule.h"
#include "libkvn/SCA_KvnRuleList.h"
#include "model/SCA_DebugLog.h"
#include "model/SCA_SrvMonitorList.h"
#include "model/SCA_TezConfig.h"
#include "model/SCA_TezConfigUser.h"
#include "model/SCA_TezVocabulary.h"

namespace {

using kvnnet_test::Children;
using kvnnet_test::InterfaceTest;
using kvnnet_test::OutU32;
using kvnnet_test::ReportCapture;
using Texts = std::vector<std::string>;
using Iface = SCA_KorvantaNetInterface;
using Obj = SCA_ConfigObj;

constexpr uint32_t kAll = 0xFFFFFFFFu;

// --- records with something in them --------------------------------------------------------

void FillDevice(SCA_KvnDeviceInfo* device) {
    device->SetDeviceId(7);
    device->SetHostName("web-07");
    device->SetPortNumber(9100);
    device->SetUserName("agent");
    device->SetDevUpdatePeriod(30);
    device->SetOnline(1);
}

void FillCounter(SCA_KvnCounter* counter) {
    counter->SetCounterId(2);
    counter->SetCounterType(SCA_COUNTER_DISK_TRANSFER_WRITE);
    counter->SetUnits(3);
    counter->AddValue(nullptr, 600, 5.5);
    counter->AddValue(nullptr, 661, 7.25);
}

void FillReport(SCA_KvnReportInfo* report) {
    report->SetDeviceId(7);
    report->SetAbsDay(20000);
    report->SetHostName("web-07");
    report->SetNumOfErrors(2);
}

void FillSession(SCA_KvnDeviceSession* session) {
    session->SetStartTime(1000);
    session->SetOsMajor(6);
    session->SetTotalMemory(1ull << 34);
}

void FillRule(SCA_KvnRule* rule) {
    rule->SetRuleId(4);
    rule->SetCounterType(SCA_COUNTER_DISK_TRANSFER_WRITE);
    rule->SetCondValue(90.5);
    rule->SetActionValue("notify");
}

int ServeIndex(Obj* object) {
    SCA_KvnReportIndex index(nullptr, nullptr, nullptr);
    SCA_KvnReportInfo* info = nullptr;
    index.AddReport(&info);
    index.AddReport(&info);
    FillReport(info);
    return index.Serialize(object, kAll);
}

int ReadIndex(Obj* out, const std::function<int(SCA_KvnReportIndex*)>& call) {
    SCA_KvnReportIndex index(nullptr, nullptr, nullptr);
    return call(&index) && index.Serialize(out, kAll);
}

int ServeCounter(Obj* object) {
    SCA_KvnCounter counter;
    FillCounter(&counter);
    return counter.Serialize(object);
}

int ReadCounter(Obj* out, const std::function<int(SCA_KvnCounter*)>& call) {
    SCA_KvnCounter counter;
    return call(&counter) && counter.Serialize(out);
}

// --- the cases ---------------------------------------------------------------------------------

// Serve writes the server's record (fetching wrappers; null for sending ones). Call runs the
// wrapper and writes the record it read, or the one it sent, into its object.
struct WrapperCase {
    const char* Command;
    std::function<int(Obj*)> Serve;
    std::function<int(Iface*, Obj*)> Call;
    Texts Inputs;        // what the server's agent received, by field
    const char* Failure; // the report of a failed command
};

std::vector<WrapperCase> Cases() {
    return {
        {"GetProductConfig",
         [](Obj* o) {
             SCA_TezConfig config(SCA_PRODUCT_TYPE_KORVANTA);
             config.SetRootDir("/opt/korvanta");
             return config.Serialize(o);
         },
         [](Iface* i, Obj* out) {
             SCA_TezConfig config(SCA_PRODUCT_TYPE_KORVANTA);
             return i->GetProductConfig(&config) && config.Serialize(out);
         },
         {},
         "SCA_KorvantaNetInterface::GetProductConfig: cannot get product configuration"},
        {"GetUserConfig",
         [](Obj* o) {
             SCA_TezConfigUser user(nullptr);
             user.SetReportsDir("/var/reports");
             return user.Serialize(o);
         },
         [](Iface* i, Obj* out) {
             SCA_TezConfigUser user(nullptr);
             return i->GetUserConfig(nullptr, &user) && user.Serialize(out);
         },
         {},
         "SCA_KorvantaNetInterface::GetUserConfig: cannot get user configuration"},
        {"GetDebugLog",
         [](Obj* o) {
             SCA_DebugLog log(10);
             tagSCA_ERROR_DESCR message{5, 1234, "disk full"};
             log.AddMessage(&message, kAll);
             log.AddMessage(&message, kAll);
             return log.Serialize(kAll, kAll, kAll, o);
         },
         [](Iface* i, Obj* out) {
             SCA_DebugLog log(10);
             uint32_t session = 0;
             const int done = i->GetDebugLog(5, 20, &session, &log);
             EXPECT_EQ(session, done ? OutU32(2) : 0u);
             return done && log.Serialize(kAll, kAll, kAll, out);
         },
         {"LastMessageId=5", "Count=20"},
         "SCA_KorvantaNetInterface::GetDebugLog: Cannot get server debug log"},
        {"GetDeviceIndexObj",
         [](Obj* o) {
             SCA_KvnDeviceIndex index(nullptr, nullptr);
             SCA_KvnDeviceInfo* device = nullptr;
             index.AddDevice("web-07", &device);
             device->SetOnline(1);
             return index.Serialize(o, 1);
         },
         [](Iface* i, Obj* out) {
             SCA_KvnDeviceIndex index(nullptr, nullptr);
             return i->GetDeviceIndex(&index, 1) && index.Serialize(out, 1);
         },
         {"IncludeRuntimeInfo=1"},
         "SCA_KorvantaNetInterface::GetDeviceIndex: Cannot get device index"},
        {"GetDeviceInfo",
         [](Obj* o) {
             SCA_KvnDeviceInfo device;
             FillDevice(&device);
             return device.Serialize(o, 1);
         },
         [](Iface* i, Obj* out) {
             SCA_KvnDeviceInfo device;
             return i->GetDeviceInfo(7, 1, &device) && device.Serialize(out, 1);
         },
         {"DeviceId=7", "IncludeRuntimeInfo=1"},
         "SCA_KorvantaNetInterface::GetDeviceInfo: Cannot get device info - 7"},
        {"GetDeviceMonitors",
         [](Obj* o) {
             SCA_SrvMonitorList monitors(nullptr, nullptr);
             monitors.AddMonitor(SCA_SRV_MONITOR_COUNTERS, 1, "System", nullptr);
             return monitors.Serialize(o);
         },
         [](Iface* i, Obj* out) {
             SCA_SrvMonitorList monitors(nullptr, nullptr);
             return i->GetDeviceMonitors(7, &monitors) && monitors.Serialize(out);
         },
         {"DeviceId=7"},
         "SCA_KorvantaNetInterface::GetDeviceMonitors: Cannot get monitors for device - 7"},
        {"GetDeviceReportIndex",
         ServeIndex,
         [](Iface* i, Obj* out) {
             return ReadIndex(out,
                              [i](SCA_KvnReportIndex* x) { return i->GetDeviceReportIndex(7, x); });
         },
         {"DeviceId=7"},
         "SCA_KorvantaNetInterface::GetDeviceReportIndex: Cannot get report index for device - 7"},
        {"GetDeviceReportList",
         [](Obj* o) {
             SCA_KvnReportList reports(nullptr, nullptr);
             SCA_KvnReport* report = nullptr;
             reports.AddReport(3, &report);
             FillReport(report);
             return reports.Serialize(o);
         },
         [](Iface* i, Obj* out) {
             SCA_KvnReportList reports(nullptr, nullptr);
             return i->GetDeviceReportList(7, &reports) && reports.Serialize(out);
         },
         {"DeviceId=7"},
         "SCA_KorvantaNetInterface::GetDeviceReportList: Cannot get report list for device - 7"},
        {"GetDeviceReportCounter",
         ServeCounter,
         [](Iface* i, Obj* out) {
             return ReadCounter(
                 out, [i](SCA_KvnCounter* c) { return i->GetDeviceReportCounter(7, 3, 12, c); });
         },
         {"DeviceId=7", "ReportId=3", "CounterType=12"},
         "SCA_KorvantaNetInterface::GetDeviceReportCounter: Cannot get counter 12 for device - 7"},
        {"GetDeviceMonitorCounter",
         ServeCounter,
         [](Iface* i, Obj* out) {
             return ReadCounter(
                 out, [i](SCA_KvnCounter* c) { return i->GetDeviceMonitorCounter(7, 12, c); });
         },
         {"DeviceId=7", "CounterType=12"},
         "SCA_KorvantaNetInterface::GetDeviceMonitorCounter: Cannot get counter 12 for device - "
         "7"},
        {"GetDeviceMonitorReportIndex",
         ServeIndex,
         [](Iface* i, Obj* out) {
             return ReadIndex(out, [i](SCA_KvnReportIndex* x) {
                 return i->GetDeviceMonitorReportIndex(7, 5, x);
             });
         },
         {"DeviceId=7", "MaxReports=5"},
         "SCA_KorvantaNetInterface::GetDeviceMonitorReportIndex: Cannot get monitor report index "
         "for device - 7"},
        {"GetDeviceMonitorReport",
         [](Obj* o) {
             SCA_KvnReport report;
             FillReport(&report);
             SCA_KvnCounter* counter = nullptr;
             report.GetCounterList()->AddCounter(2, &counter);
             FillCounter(counter);
             return report.Serialize(o);
         },
         [](Iface* i, Obj* out) {
             SCA_KvnReport report;
             return i->GetDeviceMonitorReport(7, &report) && report.Serialize(out);
         },
         {"DeviceId=7"},
         "SCA_KorvantaNetInterface::GetDeviceMonitorReport: Cannot get device 7 monitor report"},
        {"GetDeviceSessions",
         [](Obj* o) {
             SCA_KvnDeviceSessions sessions(nullptr, nullptr, nullptr);
             SCA_KvnDeviceSession* session = nullptr;
             sessions.OpenSession(&session);
             FillSession(session);
             return sessions.Serialize(o);
         },
         [](Iface* i, Obj* out) {
             SCA_KvnDeviceSessions sessions(nullptr, nullptr, nullptr);
             return i->GetDeviceSessions(7, &sessions) && sessions.Serialize(out);
         },
         {"DeviceId=7"},
         "SCA_KorvantaNetInterface::GetDeviceSessions: Cannot get sessions for device - 7"},
        {"GetDeviceLastSession",
         [](Obj* o) {
             SCA_KvnDeviceSession session;
             FillSession(&session);
             return session.Serialize(o);
         },
         [](Iface* i, Obj* out) {
             SCA_KvnDeviceSession session;
             return i->GetDeviceLastSession(7, &session) && session.Serialize(out);
         },
         {"DeviceId=7"},
         "SCA_KorvantaNetInterface::GetDeviceLastSession: Cannot get last session for device - 7"},
        {"GetRules",
         [](Obj* o) {
             SCA_KvnRuleList rules;
             rules.InitDefaultRules();
             return rules.Serialize(o);
         },
         [](Iface* i, Obj* out) {
             SCA_KvnRuleList rules;
             return i->GetRules("Web", &rules) && rules.Serialize(out);
         },
         {"GroupName=Web"},
         "SCA_KorvantaNetInterface::GetRules: Cannot get rules for device group - Web"},
        {"SetProductConfig",
         nullptr,
         [](Iface* i, Obj* out) {
             SCA_TezConfig config(SCA_PRODUCT_TYPE_KORVANTA);
             config.SetRootDir("/opt/korvanta");
             return config.Serialize(out) && i->SetProductConfig(&config);
         },
         {"Config{<none>}"},
         "SCA_KorvantaNetInterface::SetProductConfig: cannot set product configuration"},
        {"SetUserConfig",
         nullptr,
         [](Iface* i, Obj* out) {
             SCA_TezConfigUser user(nullptr);
             user.SetReportsDir("/var/reports");
             return user.Serialize(out) && i->SetUserConfig(&user, 33);
         },
         {"Config{<none>}", "Flags=33"},
         "SCA_KorvantaNetInterface::SetUserConfig: cannot set user configuration"},
        {"IsRuleExists",
         nullptr,
         [](Iface* i, Obj* out) {
             SCA_KvnRule rule;
             FillRule(&rule);
             uint32_t status = 0;
             const int done = rule.Serialize(out) && i->IsRuleExists("Web", &rule, &status);
             EXPECT_EQ(status, done ? OutU32(2) : 0u);
             return done;
         },
         {"GroupName=Web", "RuleObj{<none>}"},
         "SCA_KorvantaNetInterface::IsRuleExists: cannot check rule status for device group - "
         "Web"},
        {"AddRule",
         nullptr,
         [](Iface* i, Obj* out) {
             SCA_KvnRule rule;
             FillRule(&rule);
             uint32_t ruleId = 0;
             const int done = rule.Serialize(out) && i->AddRule("Web", &rule, &ruleId);
             EXPECT_EQ(ruleId, done ? OutU32(2) : 0u);
             return done;
         },
         {"GroupName=Web", "RuleObj{<none>}"},
         "SCA_KorvantaNetInterface::AddRule: cannot add rule to device group - Web"},
        {"SetRule",
         nullptr,
         [](Iface* i, Obj* out) {
             SCA_KvnRule rule;
             FillRule(&rule);
             return rule.Serialize(out) && i->SetRule("Web", 9, &rule);
         },
         {"GroupName=Web", "RuleId=9", "RuleObj{<none>}"},
         "SCA_KorvantaNetInterface::SetRule: cannot set rule 9 for device group - Web"},
    };
}

// The same content: the children of both objects, compared in order and in depth.
::testing::AssertionResult SameContent(Obj* expected, Obj* actual) {
    if (actual == nullptr) {
        return ::testing::AssertionFailure() << "nothing arrived";
    }
    Obj left(*expected);
    Obj right(*actual);
    left.SetName("Record");
    right.SetName("Record");
    if (left.Compare(&right)) {
        return ::testing::AssertionSuccess();
    }
    auto failure = ::testing::AssertionFailure() << "expected:";
    for (const std::string& child : Children(&left)) {
        failure << " " << child;
    }
    failure << "\nactual:";
    for (const std::string& child : Children(&right)) {
        failure << " " << child;
    }
    return failure;
}

using WrapperTest = InterfaceTest;

TEST_F(WrapperTest, EveryWrapperCarriesItsRecordAndReportsAFailedCommandOnce) {
    Connect(1);
    for (const WrapperCase& row : Cases()) {
        SCOPED_TRACE(row.Command);
        Obj served("Record", nullptr);
        if (row.Serve) {
            ASSERT_EQ(row.Serve(&served), 1);
            ASSERT_GT(served.GetFieldCount(), 0u);
            std::lock_guard<std::mutex> lock(m_State.Lock);
            SCA_Object::Destroy(m_State.Answer);
            m_State.Answer = static_cast<Obj*>(served.Clone());
        }
        m_Journal.Result = 1;
        m_Journal.Take();
        Obj carried("Record", nullptr);
        ReportCapture reports;
        ASSERT_EQ(row.Call(&m_Interface, &carried), 1);
        if (row.Serve) {
            EXPECT_TRUE(SameContent(&served, &carried));
        } else {
            std::lock_guard<std::mutex> lock(m_State.Lock);
            EXPECT_TRUE(SameContent(&carried, m_State.Received.get()));
        }
        const auto calls = m_Journal.Take();
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].Op, row.Command);
        EXPECT_EQ(calls[0].Inputs, row.Inputs);
        EXPECT_EQ(reports.Count(5, ""), 0);

        m_Journal.Result = 0;
        Obj ignored("Record", nullptr);
        EXPECT_EQ(row.Call(&m_Interface, &ignored), 0);
        EXPECT_EQ(reports.Count(5, ""), 1);
        EXPECT_EQ(reports.Count(5, row.Failure), 1);
    }
}

TEST_F(WrapperTest, ARecordThatCannotBeReadIsReportedAndAFailedCommandLeavesItAlone) {
    Connect(1);
    {
        std::lock_guard<std::mutex> lock(m_State.Lock);
        m_State.Answer = new Obj("DebugLogObj", nullptr);
        m_State.Answer->AddConfigObj("1")->AddField("Text", "no id, level or time");
    }
    SCA_DebugLog log(10);
    uint32_t session = 0;
    ReportCapture reports;
    EXPECT_EQ(m_Interface.GetDebugLog(0, 10, &session, &log), 0);
    EXPECT_EQ(reports.Count(
                  5, "SCA_KorvantaNetInterface::GetDebugLog: Cannot deserialize server debug log"),
              1);

    SCA_KvnDeviceInfo device;
    FillDevice(&device);
    m_Journal.Result = 0;
    EXPECT_EQ(m_Interface.GetDeviceInfo(7, 1, &device), 0);
    EXPECT_STREQ(device.GetHostName(), "web-07");
    EXPECT_EQ(device.GetPortNumber(), 9100u);
}

} // namespace
