// SPDX-License-Identifier: MIT
// Changes are answered as done only once stored: with every file write failing (a full disk),
// each change a client makes is answered ERR and leaves the service as it was, in memory and on
// disk; a report that cannot be stored waits, shows, and is stored once the disk takes it; a
// stop on a full disk keeps such reports in the room kept for them; and a stop that cannot save
// says so.
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <functional>
#include <ostream>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "korvas/SCA_SrvTaskMonitor.h"
#include "libmor/SCA_FileSystem.h"
#include "model/SCA_SrvMonitorList.h"
#include "model/SCA_TezActionType.h"
#include "model/SCA_TezProfileList.h"
#include "model/SCA_TezReportIndex.h"
#include "model/SCA_TezRule.h"
#include "model/SCA_TezRuleList.h"
#include "model/SCA_TezTaskStatus.h"
#include "tests/korvas/AgentClientTest.h"
#include "tests/perf/PerfTestSupport.h"
#include "tests/support/KorvantaTestSupport.h"

namespace korvas_test {
namespace {

constexpr uint32_t kMemoryUsage = 4;
constexpr uint32_t kSampleMs = 10;

// Every file write fails while it lives, as on a full disk.
class FullDisk {
public:
    FullDisk() { SCA_SetWriteFailure(ENOSPC); }
    ~FullDisk() { SCA_SetWriteFailure(0); }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;
};

class StoredChangesTest : public AgentClientTest {
protected:
    // The monitors as the service's file holds them.
    std::unique_ptr<SCA_SrvMonitorList> StoredMonitors() {
        auto stored = std::make_unique<SCA_SrvMonitorList>(m_Ctrl.GetConfig(), nullptr);
        stored->SetConfigDir(m_Ctrl.GetMonitorList()->GetConfigDir());
        EXPECT_EQ(1, stored->Load());
        return stored;
    }
    // Starts that many counter monitors sampling a fixture tree and lets them run long enough
    // to leave a report when they stop, moving clock; their ids (fewer when one could not start).
    std::vector<uint32_t> RunLongEnoughForReports(SCA_ManualClock& clock, uint32_t monitors) {
        m_Ctrl.SetTaskHook([](SCA_SrvTask* task) {
            auto* counters = static_cast<SCA_SrvTaskMonitor*>(task);
            counters->GetManager()->SetSnapshotStore(perf_test::Store("two-cpu", "s1"));
            counters->GetManager()->SetSampleInterval(kSampleMs);
        });
        std::vector<uint32_t> ids;
        for (uint32_t n = 0; n < monitors; ++n) {
            uint32_t id = 0;
            uint32_t counter = 0;
            if (m_Client.AddMonitor(SCA_SRV_MONITOR_COUNTERS, 0, "Long run", &id) != 1 ||
                m_Client.AddCounter(id, kMemoryUsage, "", "", "", &counter) != 1 ||
                m_Client.StartMonitor(id) != 1) {
                ADD_FAILURE() << "monitor " << n << " did not start";
                break;
            }
            ids.push_back(id);
        }
        // A run leaves a report once it sampled this long.
        for (uint32_t id : ids) {
            EXPECT_TRUE(SampleFor(clock, id, SCA_TASK_MIN_REPORT_SECONDS + 1)) << id;
        }
        return ids;
    }
    std::string Description(uint32_t id) {
        SCA_ConfigObj* object = nullptr;
        if (!m_Client.GetMonitorObj(id, &object)) {
            return "(none)";
        }
        SCA_SrvMonitor monitor(nullptr, nullptr);
        monitor.Deserialize(object);
        SCA_Object::Destroy(object);
        return monitor.GetDescription();
    }
};

TEST_F(StoredChangesTest, AChangeThatCannotBeStoredIsAnsweredErrAndUndone) {
    uint32_t kept = 0;
    ASSERT_EQ(1, m_Client.AddMonitor(SCA_SRV_MONITOR_COUNTERS, 0, "Kept", &kept));
    uint32_t counter = 0;
    ASSERT_EQ(1, m_Client.AddCounter(kept, kMemoryUsage, "", "", "", &counter));
    uint32_t profiles = 0;
    ASSERT_EQ(1, m_Client.GetProfileCount(&profiles));
    const std::string password = m_Ctrl.GetUserConfig()->GetServerPassword();
    SCA_ConfigObj* exported = nullptr;
    ASSERT_EQ(1, m_Client.GetUserConfig(&exported));
    SCA_OwnedPtr<SCA_ConfigObj> configuration(exported);
    {
        FullDisk disk;
        uint32_t added = 0;
        EXPECT_EQ(0, m_Client.AddMonitor(SCA_SRV_MONITOR_COUNTERS, 0, "Lost", &added));
        uint32_t count = 0;
        ASSERT_EQ(1, m_Client.GetMonitorCount(&count));
        EXPECT_EQ(1u, count) << "a retry would make a duplicate";

        EXPECT_EQ(0, m_Client.DeleteMonitor(kept));
        EXPECT_EQ("Kept", Description(kept));

        SCA_SrvMonitor changed(nullptr, nullptr);
        SCA_ConfigObj* object = nullptr;
        ASSERT_EQ(1, m_Client.GetMonitorObj(kept, &object));
        changed.Deserialize(object);
        SCA_Object::Destroy(object);
        changed.SetDescription("Renamed");
        SCA_ConfigObj form("Monitor", nullptr);
        ASSERT_EQ(1, changed.Serialize(&form));
        EXPECT_EQ(0, m_Client.SetMonitorObj(kept, &form));
        EXPECT_EQ("Kept", Description(kept));

        uint32_t another = 0;
        EXPECT_EQ(0, m_Client.AddCounter(kept, 1, "", "", "", &another));
        EXPECT_EQ(0, m_Client.DeleteCounter(kept, counter));
        uint32_t exists = 0;
        ASSERT_EQ(1, m_Client.IsCounterExists(kept, kMemoryUsage, "", "", "", &exists));
        EXPECT_EQ(counter, exists);

        SCA_TezConfigUser edited(m_Ctrl.GetConfig());
        ASSERT_EQ(1, edited.Deserialize(m_Ctrl.GetConfig(), configuration.get(), SCA_TEZ_USER_ALL));
        edited.SetServerPassword("changed-but-not-stored");
        SCA_ConfigObj settings(SCA_TEZ_USER_CONFIG_ROOT, nullptr);
        ASSERT_EQ(1, edited.Serialize(&settings));
        EXPECT_EQ(0, m_Client.SetUserConfig(&settings, SCA_TEZ_USER_SETTINGS));
        EXPECT_EQ(password, m_Ctrl.GetUserConfig()->GetServerPassword());
        EXPECT_EQ(password, m_Ctrl.GetUserConfig()->GetSnapshot()->Settings.ServerPassword);

        uint32_t profile = 0;
        EXPECT_EQ(0, m_Client.AddProfile("Lost profile", 1, &profile));
        ASSERT_EQ(1, m_Client.GetProfileCount(&count));
        EXPECT_EQ(profiles, count);

        uint32_t result = 9;
        ASSERT_EQ(1, m_Client.SetupSmtpServer("smtp.example", "user", "secret", "from@example", 25,
                                              0, 0, 0, 0, &result));
        EXPECT_EQ(0u, result);
        EXPECT_EQ(0, m_Ctrl.GetUserConfig()->GetEnableEmail());
    }
    // Nothing of the refused changes reached the files, and later saves do not bring them in.
    uint32_t profile = 0;
    ASSERT_EQ(1, m_Client.AddProfile("Stored profile", 1, &profile));
    auto stored = Stored();
    EXPECT_EQ(password, stored->GetServerPassword());
    EXPECT_STREQ("", stored->GetEmailServer());
    EXPECT_EQ(profiles + 1, stored->GetProfiles()->Count());
    auto monitors = StoredMonitors();
    ASSERT_EQ(1u, monitors->Count());
    SCA_SrvMonitor* onDisk = nullptr;
    ASSERT_EQ(1, monitors->GetMonitor(kept, &onDisk));
    EXPECT_STREQ("Kept", onDisk->GetDescription());
    EXPECT_EQ(1u, onDisk->GetProfile()->GetCounterList()->Count());
}

TEST_F(StoredChangesTest, AReportThatCannotBeStoredWaitsShowsAndIsStoredLater) {
    SCA_ManualClock clock;
    const std::vector<uint32_t> ids = RunLongEnoughForReports(clock, 1);
    ASSERT_EQ(1u, ids.size());
    const uint32_t id = ids[0];
    const uint32_t before = m_Ctrl.GetReportIndex()->Count();
    {
        FullDisk disk;
        EXPECT_EQ(1, m_Client.StopMonitor(id));
        uint32_t type = 0, status = 0, state = 0, counters = 0, errors = 0, warnings = 0;
        ASSERT_EQ(
            1, m_Client.GetMonitorStats(id, &type, &status, &state, &counters, &errors, &warnings));
        EXPECT_EQ(SCA_TASK_STATUS_ERROR, status) << "the waiting report shows";
        EXPECT_EQ(0, m_Ctrl.RetryPendingReports());
        EXPECT_EQ(before, m_Ctrl.GetReportIndex()->Count());
    }
    EXPECT_EQ(1, m_Ctrl.RetryPendingReports());
    EXPECT_EQ(before + 1, m_Ctrl.GetReportIndex()->Count());
    uint32_t type = 0, status = 0, state = 0, counters = 0, errors = 0, warnings = 0;
    ASSERT_EQ(1,
              m_Client.GetMonitorStats(id, &type, &status, &state, &counters, &errors, &warnings));
    EXPECT_NE(SCA_TASK_STATUS_ERROR, status);
}

// A stop on a full disk with the reports of three monitors held: the room the service keeps
// for them takes what fits, and a new start with room has every report that the stop said it
// kept; a stop that cannot keep one says so within its bounded wait.
struct HeldReportsRow {
    const char* Name;
    uint32_t Reserves;
    uint64_t ReserveBytes;
    // The reserves are made while the disk is full already (they cannot be).
    bool MadeOnFullDisk;
    // The disk takes writes again once the stop waits for room.
    bool RoomDuringWait;
    uint32_t Kept;
    // What the stop answers: with the disk full to its end, the monitors file is not saved.
    int Stopped;
    uint32_t Level;
    const char* Said;
};

// A row goes by its name in the test's report, not as its bytes.
void PrintTo(const HeldReportsRow& row, std::ostream* out) {
    *out << row.Name;
}

class HeldReportsAtStopTest : public StoredChangesTest,
                              public ::testing::WithParamInterface<HeldReportsRow> {
protected:
    std::string ReservePath(uint32_t slot) {
        return std::string(m_Ctrl.GetReportIndex()->GetReportsDir()) + "/room_for_reports_" +
               std::to_string(slot) + ".reserve";
    }
    // The monitor ids of the reports a new start of the service finds.
    std::multiset<uint32_t> ReportsOfANewStart() {
        SCA_KorvantaCtrl restarted;
        char program[] = "korvas";
        char* args[] = {program};
        uint32_t code = 0;
        EXPECT_EQ(1, restarted.Init(1, args, &code)) << code;
        SCA_List<SCA_TezReportInfo*> headers;
        EXPECT_EQ(1, restarted.GetReportIndex()->FilterReports(0, SCA_TEZ_FILTER_TITLE, 0, nullptr,
                                                               &headers));
        std::multiset<uint32_t> monitors;
        for (auto* node = headers.GetHead(); node != nullptr; node = node->GetNext()) {
            monitors.insert(node->GetItem()->GetMonitorId());
        }
        return monitors;
    }
};

TEST_P(HeldReportsAtStopTest, ANewStartHasEveryReportTheStopKept) {
    const HeldReportsRow& row = GetParam();
    constexpr uint32_t kMonitors = 3;
    for (uint32_t slot = 1; slot <= SCA_TEZ_REPORT_RESERVES; ++slot) {
        EXPECT_EQ(SCA_TEZ_REPORT_RESERVE_BYTES, SCA_GetReservedRoom(ReservePath(slot).c_str()))
            << "the start keeps room for reserve " << slot;
    }
    SCA_ManualClock clock;
    const std::vector<uint32_t> ids = RunLongEnoughForReports(clock, kMonitors);
    ASSERT_EQ(kMonitors, ids.size());
    ASSERT_EQ(0u, m_Ctrl.GetReportIndex()->Count());
    korvanta_test::ReportCapture reports;
    SCA_TezReportIndex* index = m_Ctrl.GetReportIndex();
    index->FreeReserve();
    index->SetReserveSize(row.Reserves, row.ReserveBytes);
    SCA_SetWriteFailure(row.MadeOnFullDisk ? ENOSPC : 0);
    EXPECT_EQ(row.MadeOnFullDisk ? 0 : 1, index->MakeReserve());
    SCA_SetWriteFailure(ENOSPC);
    for (uint32_t id : ids) {
        EXPECT_EQ(1, m_Client.StopMonitor(id)) << "the report is held";
    }
    const SCA_Clock::Monotonic began = clock.Now();
    int stopped = -1;
    std::atomic<bool> ended{false};
    std::thread stop([&] {
        stopped = m_Ctrl.DoStopServer();
        ended = true;
    });
    if (row.RoomDuringWait) {
        EXPECT_TRUE(korvanta_test::WaitUntil("the stop to wait for room", [&] {
            return reports.Count(SCA_LEVEL_WARNING, "for room to save the reports") == 1;
        }));
        SCA_SetWriteFailure(0);
    }
    EXPECT_TRUE(
        korvanta_test::AdvanceUntil(clock, std::chrono::seconds(1), [&] { return ended.load(); }));
    stop.join();
    SCA_SetWriteFailure(0);
    EXPECT_LE(clock.Now() - began, std::chrono::seconds(31)) << "the stop's wait is bounded";
    EXPECT_EQ(row.Stopped, stopped);
    EXPECT_NE(0, reports.Count(row.Level, row.Said)) << row.Said;
    const uint32_t notKept = kMonitors - row.Kept;
    const std::string lost = "reports of " + std::to_string(notKept) + " monitor" +
                             (notKept == 1 ? "" : "s") + " not saved";
    EXPECT_EQ(row.Kept < kMonitors ? 1 : 0, reports.Count(SCA_LEVEL_ERROR, lost));
    for (uint32_t slot = 1; slot <= row.Reserves; ++slot) {
        EXPECT_FALSE(SCA_IsFileExists(ReservePath(slot).c_str())) << "room given back " << slot;
    }

    const std::multiset<uint32_t> kept = ReportsOfANewStart();
    EXPECT_EQ(row.Kept, kept.size());
    for (uint32_t id : kept) {
        EXPECT_EQ(1u, kept.count(id));
        EXPECT_NE(ids.end(), std::find(ids.begin(), ids.end(), id)) << id;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, HeldReportsAtStopTest,
    ::testing::Values(
        HeldReportsRow{"AllFit", SCA_TEZ_REPORT_RESERVES, SCA_TEZ_REPORT_RESERVE_BYTES, false,
                       false, 3, 0, SCA_LEVEL_WARNING,
                       "reports of monitors saved, the report index not"},
        HeldReportsRow{"FewerReservesThanReports", 2, SCA_TEZ_REPORT_RESERVE_BYTES, false, true, 3,
                       1, SCA_LEVEL_WARNING, "for room to save the reports of 1 monitor"},
        HeldReportsRow{"ReportsLargerThanTheRoom", SCA_TEZ_REPORT_RESERVES, 1024, false, false, 0,
                       0, SCA_LEVEL_ERROR, "bytes, more than the 1024 bytes of room kept"},
        HeldReportsRow{"NoRoomCouldBeKept", SCA_TEZ_REPORT_RESERVES, SCA_TEZ_REPORT_RESERVE_BYTES,
                       true, false, 0, 0, SCA_LEVEL_WARNING, "cannot keep room for held reports"}),
    [](const ::testing::TestParamInfo<HeldReportsRow>& row) { return row.param.Name; });

TEST_F(StoredChangesTest, AStopThatCannotSaveTheMonitorsSaysSo) {
    uint32_t id = 0;
    ASSERT_EQ(1, m_Client.AddMonitor(SCA_SRV_MONITOR_COUNTERS, 0, "Any", &id));
    FullDisk disk;
    EXPECT_EQ(0, m_Ctrl.DoStopServer());
}

TEST_F(StoredChangesTest, FoldersOutsideTheReportsFolderAreRefused) {
    SCA_ConfigObj* exported = nullptr;
    ASSERT_EQ(1, m_Client.GetUserConfig(&exported));
    SCA_OwnedPtr<SCA_ConfigObj> configuration(exported);
    const std::string reports = m_Ctrl.GetUserConfig()->GetReportsDir();
    // Sends the service's configuration with one change; 1 when it was taken.
    const auto sendChanged = [&](const std::function<void(SCA_TezConfigUser*)>& change,
                                 uint32_t mask) {
        SCA_TezConfigUser edited(m_Ctrl.GetConfig());
        EXPECT_EQ(1, edited.Deserialize(m_Ctrl.GetConfig(), configuration.get(), SCA_TEZ_USER_ALL));
        change(&edited);
        SCA_ConfigObj settings(SCA_TEZ_USER_CONFIG_ROOT, nullptr);
        EXPECT_EQ(1, edited.Serialize(&settings));
        return m_Client.SetUserConfig(&settings, mask);
    };
    const auto reportRule = [](const char* folder) {
        return [folder](SCA_TezConfigUser* config) {
            auto* rule = new SCA_TezRule();
            rule->SetExecuteAction(1);
            rule->SetActionType(SCA_ACTION_SAVE_REPORT);
            rule->SetActionValue(folder);
            config->GetRules()->AddRule(rule, nullptr);
        };
    };
    EXPECT_EQ(0, sendChanged([](SCA_TezConfigUser* c) { c->SetReportsDir("/etc"); },
                             SCA_TEZ_USER_SETTINGS));
    EXPECT_EQ(0, sendChanged([](SCA_TezConfigUser* c) { c->SetSaveReportsDir("../../.."); },
                             SCA_TEZ_USER_SETTINGS));
    EXPECT_EQ(0, sendChanged(reportRule("/tmp"), SCA_TEZ_USER_RULES));
    EXPECT_EQ(0, sendChanged(reportRule("Web/../../.."), SCA_TEZ_USER_RULES));
    EXPECT_EQ(reports, m_Ctrl.GetUserConfig()->GetReportsDir());
    EXPECT_EQ(1, sendChanged(reportRule("Web/Daily"), SCA_TEZ_USER_RULES));
    EXPECT_EQ(1, sendChanged(reportRule((reports + "/Web").c_str()), SCA_TEZ_USER_RULES));

    uint32_t id = 0;
    ASSERT_EQ(1, m_Client.AddMonitor(SCA_SRV_MONITOR_COUNTERS, 0, "Web", &id));
    SCA_ConfigObj* object = nullptr;
    ASSERT_EQ(1, m_Client.GetMonitorObj(id, &object));
    SCA_SrvMonitor monitor(nullptr, nullptr);
    monitor.Deserialize(object);
    SCA_Object::Destroy(object);
    for (const auto& [folder, taken] : {std::pair{"/var/tmp", 0}, {"../x", 0}, {"Saved/Web", 1}}) {
        monitor.SetSaveReportsDir(folder);
        SCA_ConfigObj form("Monitor", nullptr);
        ASSERT_EQ(1, monitor.Serialize(&form));
        EXPECT_EQ(taken, m_Client.SetMonitorObj(id, &form)) << folder;
    }
    EXPECT_FALSE(SCA_IsPathExists("/var/tmp/Web"));
}

} // namespace
} // namespace korvas_test
