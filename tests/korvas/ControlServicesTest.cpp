// SPDX-License-Identifier: MIT#include <thread>

// What the control object does besides driving tasks, over a captured /proc tree: a rule on a
// counter firing in a running monitor, the self-test's life from start to delete, and the join
// of a network server of the test's own on 127.0.0.1.
#include <chrono>
#include <string>

#include <gtest/gtest.h>

#include "korvas/SCA_KorvantaCtrl.h"
#include "korvas/SCA_SrvTaskMonitor.h"
#include "libkvn/SCA_KorvantaNetServer.h"
#include "libmor/SCA_Limits.h"
#include "libtez/SCA_KorvantaInterface.h"
#include "libtez/SCA_TezSelfTest.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_SrvMonitorList.h"
#include "model/SCA_TezCondType.h"
#include "model/SCA_TezConfigFiles.h"
#include "model/SCA_TezProcessStatus.h"
#include "model/SCA_TezRepStatus.h"
#include "model/SCA_TezVocabulary.h"
#include "net/SCA_KorvantaLogin.h"
#include "tests/korvas/ControlTestFixture.h"
#include "tests/kvnnet/KvnNetTestSupport.h"
#include "tests/perf/PerfTestSupport.h"
#include "tests/support/KorvantaTestSupport.h"
#include "tests/support/WaitUntil.h"

namespace {

constexpr double kBelowFixtureUsage = 10.0;
constexpr uint32_t kTextSize = 256;
constexpr uint32_t kDone = 100;

// Self-tests read the captured tree too and write their report into the test's folder.
class ControlServicesTest : public korvas_test::ControlTestFixture {
protected:
    void SetUp() override {
        ControlTestFixture::SetUp();
        const std::string reports = m_Home.Path();
        m_Ctrl.SetSelfTestHook([reports](SCA_TezSelfTest* test) {
            test->SetPerfStore(perf_test::Store("two-cpu", "s1"));
            test->SetReportsDir(reports.c_str());
        });
    }
};

TEST_F(ControlServicesTest, ARuleOnACounterFiresInTheRunningMonitor) {
    uint32_t counterId = 0;
    const uint32_t id =
        AddMonitor(SCA_SRV_MONITOR_COUNTERS, "Memory rule", SCA_COUNTER_MEMORY_USAGE, &counterId);
    SCA_ConfigObj info("CounterInfo", nullptr);
    ASSERT_EQ(1, m_Ctrl.GetCounterInfo(id, counterId, &info));
    // The rule is given the way a client gives it: the counter's information sent back.
    SCA_SrvMonitor* monitor = nullptr;
    ASSERT_EQ(1, m_Ctrl.GetMonitorList()->GetMonitor(id, &monitor));
    SCA_TezCounterInfo* counter = nullptr;
    ASSERT_EQ(1, monitor->GetProfile()->GetCounterList()->GetCounter(counterId, &counter));
    SCA_TezCounterInfo changed(*counter);
    auto* rule = new SCA_TezCond();
    rule->SetCondType(SCA_COND_ABOVE);
    rule->SetCondMode(SCA_COND_MODE_EVERY_TIME);
    rule->SetCondValue(kBelowFixtureUsage);
    rule->SetRepStatus(SCA_REP_STATUS_ERROR);
    rule->SetEnabled(1);
    uint32_t ruleId = 0;
    ASSERT_EQ(1, changed.GetCondList()->AddCond(rule, &ruleId));
    SCA_ConfigObj object("CounterInfo", nullptr);
    ASSERT_EQ(1, changed.Serialize(&object));
    ASSERT_EQ(1, m_Ctrl.SetCounterInfo(id, counterId, &object));

    EXPECT_EQ(0u, m_Ctrl.GetTotalErrors());
    ASSERT_EQ(1, m_Ctrl.StartMonitor(id));
    ASSERT_TRUE(korvanta_test::WaitUntil("an error of the monitor", [&] {
        return m_Ctrl.GetTotalErrors() >= 1;
    })) << Shown(id);
    EXPECT_EQ("5 11 1", Shown(id).substr(0, 6)) << "a counter in error shows the monitor in error";
    SCA_ConfigObj errors("Errors", nullptr);
    ASSERT_EQ(1, m_Ctrl.GetMonitorErrors(id, &errors));
    EXPECT_GE(errors.GetFieldCount(), 1u) << "the error is listed";
    EXPECT_EQ(0u, m_Ctrl.GetTotalWarnings());
    ASSERT_EQ(1, m_Ctrl.StopMonitor(id));
}

TEST_F(ControlServicesTest, ASelfTestRunsAloneAndIsGoneWhenDeleted) {
    char text[kTextSize] = "";
    uint32_t started = 9;
    uint32_t progress = 7;
    uint32_t status = 0;
    ASSERT_EQ(1, m_Ctrl.GetSelfTestStatus(&progress, &status, text, sizeof(text)));
    EXPECT_STREQ("Korvanta self-test is not active.", text);
    EXPECT_EQ(SCA_PROCESS_IDLE, status);
    EXPECT_EQ(7u, progress) << "no test, no progress written";
    SCA_ConfigObj none("Log", nullptr);
    EXPECT_EQ(0, m_Ctrl.GetSelfTestLog(&none));
    EXPECT_EQ(1, m_Reports.Count(SCA_LEVEL_ERROR, "GetSelfTestLog: self-test is not active"));

    // A paused monitor is active: no self-test beside it.
    uint32_t counterId = 0;
    const uint32_t id =
        AddMonitor(SCA_SRV_MONITOR_COUNTERS, "Memory", SCA_COUNTER_MEMORY_USAGE, &counterId);
    ASSERT_EQ(1, m_Ctrl.StartMonitor(id));
    ASSERT_EQ(1, m_Ctrl.PauseMonitor(id));
    ASSERT_EQ(1, m_Ctrl.StartSelfTest(SCA_SELF_TEST_COLLECTOR, &started, text, sizeof(text)));
    EXPECT_EQ(0u, started);
    EXPECT_STREQ("Cannot start self-test, one or more monitors are active.", text);
    ASSERT_EQ(1, m_Ctrl.StopMonitor(id));

    const uint32_t noSuchCheck = SCA_SELF_TEST_ALL + 1;
    ASSERT_EQ(1, m_Ctrl.StartSelfTest(noSuchCheck, &started, text, sizeof(text)));
    EXPECT_EQ(0u, started);
    EXPECT_STREQ("Cannot initialize Korvanta self-test", text);
    ASSERT_EQ(1, m_Ctrl.GetSelfTestStatus(&progress, &status, text, sizeof(text)));
    EXPECT_STREQ("Korvanta self-test is not active.", text) << "a failed start keeps nothing";

    const uint32_t mode = SCA_SELF_TEST_COLLECTOR | SCA_SELF_TEST_REPORT_INDEX;
    ASSERT_EQ(1, m_Ctrl.StartSelfTest(mode, &started, text, sizeof(text)));
    EXPECT_EQ(1u, started);
    EXPECT_STREQ("Korvanta self-test started ...", text);
    ASSERT_EQ(1, m_Ctrl.StartSelfTest(mode, &started, text, sizeof(text)));
    EXPECT_EQ(0u, started);
    EXPECT_STREQ("Korvanta self-test is already active.", text);
    ASSERT_TRUE(korvanta_test::WaitUntil("the self test to end", [&] {
        m_Ctrl.GetSelfTestStatus(&progress, &status, text, sizeof(text));
        return status == SCA_PROCESS_STOPPED || status == SCA_PROCESS_FAILED;
    }));
    EXPECT_EQ(SCA_PROCESS_STOPPED, status) << text;
    EXPECT_EQ(kDone, progress);
    SCA_ConfigObj log("Log", nullptr);
    ASSERT_EQ(1, m_Ctrl.GetSelfTestLog(&log));
    EXPECT_GE(log.GetFieldCount(), 2u) << "one entry per check";

    ASSERT_EQ(1, m_Ctrl.DeleteSelfTest());
    ASSERT_EQ(1, m_Ctrl.GetSelfTestStatus(&progress, &status, text, sizeof(text)));
    EXPECT_STREQ("Korvanta self-test is not active.", text);
    EXPECT_EQ(SCA_PROCESS_IDLE, status);
    ASSERT_EQ(1, m_Ctrl.StartSelfTest(mode, &started, text, sizeof(text)));
    EXPECT_EQ(1u, started) << "deleted, a new one may start";
    ASSERT_EQ(1, m_Ctrl.DeleteSelfTest()) << "deleted while it may still run";
}

// A network server of the test's own, with agents that record what they were asked, and the
// service's command server, which a client object reaches as a client would.
class ControlJoinTest : public ControlServicesTest {
protected:
    void SetUp() override {
        ControlServicesTest::SetUp();
        char program[] = "korvas";
        char option[] = "-control_port";
        char any[] = "0";
        char* args[] = {program, option, any};
        uint32_t code = 0;
        ASSERT_EQ(1, m_Ctrl.Init(3, args, &code)) << code;
        m_Ctrl.ChangeUserConfig([this] {
            m_Ctrl.GetUserConfig()->SetEnableOsLogon(1);
            m_Ctrl.GetUserConfig()->SetServerLogonMode(SCA_KORVANTA_LOGIN_NAMES);
            return 1;
        });
        ASSERT_EQ(1, m_Ctrl.DoStartServer());
        uint32_t error = 0;
        ASSERT_EQ(1, m_Client.Connect("127.0.0.1", m_Ctrl.GetServerPort(), kWaitMs, &error));
        uint32_t status = 0;
        ASSERT_EQ(1, m_Client.Login("tester", "any", &status));
        ASSERT_EQ(1u, status);
        m_Network = std::make_unique<SCA_KorvantaNetServer>(&m_Factory, 0, &error);
        ASSERT_EQ(1u, m_Network->IsConstructed()) << error;
        m_Ctrl.SetNetworkPort(m_Network->GetServerPort());
    }
    void TearDown() override {
        m_Ctrl.DoStopServer();
        m_Network.reset();
        ControlServicesTest::TearDown();
    }

    // The user configuration as the service's file holds it.
    std::unique_ptr<SCA_TezConfigUser> Stored() {
        auto stored = std::make_unique<SCA_TezConfigUser>(m_Ctrl.GetConfig());
        EXPECT_EQ(1, stored->Init(m_Ctrl.GetConfig(), nullptr));
        EXPECT_EQ(1, stored->LoadConfig(m_Ctrl.GetConfig()));
        return stored;
    }

    static constexpr uint32_t kWaitMs = 5000;
    SCA_KorvantaInterface m_Client;
    kvnnet_test::Journal m_Journal;
    kvnnet_test::TestFactory m_Factory{&m_Journal};
    std::unique_ptr<SCA_KorvantaNetServer> m_Network;
};

TEST_F(ControlJoinTest, TheDeviceJoinsUnderTheClientsHostNameAndLeavesAgain) {
    uint32_t deviceId = 0;
    ASSERT_EQ(1, m_Client.ConnectToNetwork("127.0.0.1", "device-of-the-client", &deviceId));
    ASSERT_NE(SCA_ALL_ONES, deviceId);
    const auto calls = m_Journal.Take();
    bool registered = false;
    for (const auto& call : calls) {
        if (call.Op == "AddDevice") {
            registered = call.Inputs.at(0) == "HostName=device-of-the-client";
        }
    }
    EXPECT_TRUE(registered) << "the device goes by the name the client gave";
    EXPECT_EQ(1, m_Reports.Count(SCA_LEVEL_INFO, "Connected To: Korvanta Network v"));

    // The settings are stored, in memory and in the file.
    SCA_TezConfigUser* user = m_Ctrl.GetUserConfig();
    EXPECT_STREQ("127.0.0.1", user->GetNetHostName());
    EXPECT_STREQ("device-of-the-client", user->GetDevHostName());
    EXPECT_EQ(deviceId, user->GetDeviceId());
    EXPECT_EQ(deviceId, Stored()->GetDeviceId());
    EXPECT_STREQ("device-of-the-client", Stored()->GetDevHostName());
    EXPECT_EQ(1, m_Ctrl.GetNetworkJoined());
    EXPECT_EQ(0, m_Ctrl.HasNetworkSession()) << "the join keeps no connection open";

    ASSERT_EQ(1, m_Client.DisconnectFromNetwork());
    EXPECT_STREQ("", user->GetNetHostName());
    EXPECT_EQ(SCA_ALL_ONES, user->GetDeviceId());
    EXPECT_EQ(SCA_ALL_ONES, Stored()->GetDeviceId()) << "the leave is saved";
    EXPECT_EQ(1, m_Reports.Count(SCA_LEVEL_INFO, "Disconnected from Korvanta Network"));
    for (const auto& call : m_Journal.Take()) {
        EXPECT_NE("DeviceLogout", call.Op) << "no session was open, so none is logged out";
    }
}

TEST_F(ControlJoinTest, AnOpenSessionIsLoggedOutByItsInterfaceAndAFailedJoinStoresNothing) {
    // A session is what the interface says, not what the joined flag says.
    m_Ctrl.SetNetworkJoined(1);
    m_Ctrl.CloseNetworkSession();
    EXPECT_EQ(0, m_Reports.Count(SCA_LEVEL_INFO, "Disconnected from the Korvanta Network"));
    SCA_KorvantaNetInterface* session = nullptr;
    ASSERT_EQ(1, m_Ctrl.DoConnect("127.0.0.1", &session, 1));
    m_Ctrl.GetUserConfig()->SetDeviceId(42);
    m_Ctrl.KeepNetworkSession(session);
    m_Journal.Take();
    m_Ctrl.SetNetworkJoined(0);
    m_Ctrl.CloseNetworkSession();
    EXPECT_EQ(0, m_Ctrl.HasNetworkSession());
    ASSERT_TRUE(korvanta_test::WaitUntil("a call in the journal", [&] {
        std::lock_guard<std::mutex> lock(m_Journal.Lock);
        return !m_Journal.Calls.empty();
    }));
    const auto calls = m_Journal.Take();
    EXPECT_EQ("DeviceLogout", calls.at(0).Op);
    EXPECT_EQ("DeviceId=42", calls.at(0).Inputs.at(0));
    EXPECT_EQ(1, m_Reports.Count(SCA_LEVEL_INFO, "Disconnected from the Korvanta Network"));

    // Nobody listens any more: the join fails through the device id and changes nothing.
    const uint16_t port = m_Network->GetServerPort();
    m_Network.reset();
    m_Ctrl.SetNetworkPort(port);
    m_Ctrl.GetUserConfig()->SetNetHostName("kept.example");
    uint32_t deviceId = 0;
    ASSERT_EQ(1, m_Client.ConnectToNetwork("127.0.0.1", "device", &deviceId));
    EXPECT_EQ(SCA_ALL_ONES, deviceId);
    EXPECT_STREQ("kept.example", m_Ctrl.GetUserConfig()->GetNetHostName());
    EXPECT_EQ(1,
              m_Reports.Count(SCA_LEVEL_ERROR, "Cannot connect to Korvanta Network @ 127.0.0.1"));
}

} // namespace

namespace {

using ClientOperationsTest = ControlJoinTest;

// The monitors file as a restarted service would read it.
uint32_t StoredMonitors(SCA_KorvantaCtrl* ctrl, const std::string& home, uint32_t id,
                        uint32_t* counters) {
    SCA_SrvMonitorList stored(ctrl->GetConfig(), ctrl->GetUserConfig());
    stored.SetConfigDir(home.c_str());
    EXPECT_EQ(1, stored.Load());
    SCA_SrvMonitor* monitor = nullptr;
    *counters = stored.GetMonitor(id, &monitor) ? monitor->GetProfile()->GetCounterList()->Count()
                                                : SCA_ALL_ONES;
    return stored.Count();
}

TEST_F(ClientOperationsTest, MonitorChangesAreStoredAtOnceAndTheListReadsAsTheClientSeesIt) {
    uint32_t first = 0;
    uint32_t second = 0;
    ASSERT_EQ(1, m_Client.AddMonitor(SCA_SRV_MONITOR_COUNTERS, 0, "First", &first));
    uint32_t counters = 0;
    EXPECT_EQ(1u, StoredMonitors(&m_Ctrl, m_Home.Path(), first, &counters))
        << "an added monitor is in the file before the service stops";
    ASSERT_EQ(1, m_Client.AddMonitor(SCA_SRV_MONITOR_COUNTERS, 0, "Second", &second));
    uint32_t counterId = 0;
    ASSERT_EQ(1, m_Client.AddCounter(first, SCA_COUNTER_MEMORY_USAGE, "", "", "", &counterId));
    ASSERT_EQ(1, m_Client.AddCounter(first, SCA_COUNTER_CPU_USAGE, "", "", "", &counterId));
    const uint32_t before = counters;
    EXPECT_EQ(2u, StoredMonitors(&m_Ctrl, m_Home.Path(), first, &counters));
    EXPECT_EQ(before + 2, counters) << "so is a counter added to it";
    ASSERT_EQ(1, m_Client.DeleteCounter(first, counterId));
    EXPECT_EQ(2u, StoredMonitors(&m_Ctrl, m_Home.Path(), first, &counters));
    EXPECT_EQ(before + 1, counters);

    // A move that moves nothing still tells clients to read the list again.
    const uint32_t status = m_Ctrl.GetMonitorList()->GetMonitorsStatus();
    ASSERT_EQ(1, m_Client.MoveMonitorUp(first));
    EXPECT_EQ(status + 1, m_Ctrl.GetMonitorList()->GetMonitorsStatus());
    ASSERT_EQ(1, m_Client.MoveMonitorUp(second));
    uint32_t id = 0;
    char description[kTextSize] = "";
    ASSERT_EQ(1, m_Client.GetMonitorInfo(0, &id, description));
    EXPECT_EQ(second, id);
    EXPECT_STREQ("Second", description);
    EXPECT_EQ(0, m_Client.GetMonitorInfo(2, &id, description));
    EXPECT_EQ(1, m_Reports.Count(SCA_LEVEL_ERROR, "GetMonitorInfo: invalid monitor index - 2"));

    uint32_t type = 9, state = 0, code = 0;
    char computer[kTextSize] = "x";
    ASSERT_EQ(1, m_Client.GetMonitorInfoEx(first, &type, &code, &state, description, computer));
    EXPECT_EQ(SCA_SRV_MONITOR_COUNTERS, type);
    EXPECT_EQ(SCA_TASK_STATUS_IDLE, code) << "never started";
    EXPECT_EQ(SCA_PROCESS_IDLE, state);
    EXPECT_STREQ("", computer);

    SCA_ConfigObj* object = nullptr;
    ASSERT_EQ(1, m_Client.GetMonitorObj(first, &object));
    uint32_t found = 0, exists = 9;
    ASSERT_EQ(1, m_Client.IsMonitorExists(object, &found, &exists));
    EXPECT_EQ(1u, exists);
    EXPECT_EQ(first, found);
    SCA_SrvMonitor other(m_Ctrl.GetConfig(), m_Ctrl.GetUserConfig());
    ASSERT_EQ(1, other.Deserialize(object));
    SCA_Object::Destroy(object);
    other.SetDescription("Nobody has this one");
    SCA_ConfigObj unknown("Monitor", nullptr);
    ASSERT_EQ(1, other.Serialize(&unknown));
    ASSERT_EQ(1, m_Client.IsMonitorExists(&unknown, &found, &exists));
    EXPECT_EQ(0u, exists);
    EXPECT_EQ(SCA_ALL_ONES, found);

    ASSERT_EQ(1, m_Client.StartMonitor(first));
    uint32_t errors = 0, warnings = 0, statusId = 0;
    uint64_t processTime = 0, soundTime = 0;
    SCA_ConfigObj* list = nullptr;
    SCA_ConfigObj* data = nullptr;
    // The task loads its counters on its own thread: one status per counter once it has.
    EXPECT_TRUE(korvanta_test::WaitUntil("the process list", [&] {
        list = nullptr;
        data = nullptr;
        const int read =
            m_Client.GetMonitorStatusEx(first, &type, &code, &state, &errors, &warnings,
                                        &processTime, &statusId, &list, 1, 0, 1, &data, &soundTime);
        const bool loaded = read == 1 && list != nullptr && list->GetFieldCount() == before + 1;
        SCA_Object::Destroy(list);
        SCA_Object::Destroy(data);
        return loaded;
    }));
    EXPECT_EQ(SCA_PROCESS_RUNNING, state);
    EXPECT_EQ(0, m_Client.GetMonitorStatusEx(first + 100, &type, &code, &state, &errors, &warnings,
                                             &processTime, &statusId, &list, 1, 0, 1, &data,
                                             &soundTime));
    EXPECT_EQ(1, m_Reports.Count(SCA_LEVEL_ERROR, "GetMonitorStatusEx: invalid monitor ID - " +
                                                      std::to_string(first + 100)));

    ASSERT_EQ(1, m_Client.DeleteMonitor(second));
    EXPECT_EQ(1u, StoredMonitors(&m_Ctrl, m_Home.Path(), first, &counters));
}

} // namespace
