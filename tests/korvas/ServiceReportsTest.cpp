// SPDX-License-Identifier: MIT
// What the service does with a monitor's reports and counters for clients over the wire: the
// periodic saves of a running monitor and the reports kept of them, the host and user a stored
// report names, the service computer's own counters, and the lines an unknown monitor writes.
#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "korvas/SCA_SrvTaskMonitor.h"
#include "libmor/SCA_Time.h"
#include "libtez/SCA_TezActionCtrl.h"
#include "model/SCA_SrvMonitor.h"
#include "model/SCA_TezActionType.h"
#include "model/SCA_TezCond.h"
#include "model/SCA_TezCondType.h"
#include "model/SCA_TezCounter.h"
#include "model/SCA_TezReportIndex.h"
#include "model/SCA_TezSampleStore.h"
#include "model/SCA_TezVocabulary.h"
#include "perf/SCA_PerfSourceTable.h"
#include "tests/korvas/AgentClientTest.h"
#include "tests/perf/PerfTestSupport.h"
#include "tests/support/KorvantaTestSupport.h"
#include "tests/support/WaitUntil.h"

namespace {

constexpr uint32_t kSampleMs = 10;
constexpr uint32_t kTextFormat = 1;
constexpr uint32_t kKept = 2;
constexpr uint32_t kUnknown = 4242;

class ServiceReportsTest : public korvas_test::AgentClientTest {
protected:
    void SetUp() override {
        korvas_test::AgentClientTest::SetUp();
        m_Ctrl.SetTaskHook([](SCA_SrvTask* task) {
            auto* counters = static_cast<SCA_SrvTaskMonitor*>(task);
            counters->GetManager()->SetSnapshotStore(perf_test::Store("two-cpu", "s1"));
            counters->GetManager()->SetSampleInterval(kSampleMs);
        });
    }

    // Turns the monitor's periodic saving on: every second, in text, into folder.
    void SavePeriodically(uint32_t id, const char* folder) {
        SCA_ConfigObj* object = nullptr;
        ASSERT_EQ(1, m_Client.GetMonitorObj(id, &object));
        SCA_SrvMonitor monitor(nullptr, nullptr);
        ASSERT_EQ(1, monitor.Deserialize(object));
        SCA_Object::Destroy(object);
        monitor.SetSaveReports(1);
        monitor.SetSaveReportsPeriod(1);
        monitor.SetSaveReportsFormat(kTextFormat);
        monitor.SetSaveReportsHistory(kKept);
        monitor.SetSaveReportsDir(folder);
        SCA_ConfigObj form("Monitor", nullptr);
        ASSERT_EQ(1, monitor.Serialize(&form));
        ASSERT_EQ(1, m_Client.SetMonitorObj(id, &form));
    }

    static std::vector<std::string> Names(const std::filesystem::path& folder) {
        std::vector<std::string> names;
        std::error_code ignored;
        for (const auto& item : std::filesystem::directory_iterator(folder, ignored)) {
            names.push_back(item.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }
};

// A monitor saving every second that keeps two: after a run of several periods its folder holds
// its two newest saves, beside a file of the user's and a condition's report, which stay; the
// run's report in the index names this computer and the user the service runs as.
TEST_F(ServiceReportsTest, PeriodicSavesKeepTheNewestAndTheRunsReportNamesHostAndUser) {
    const std::filesystem::path folder =
        std::filesystem::path(m_Ctrl.GetUserConfig()->GetReportsDir()) / "Periodic";
    std::filesystem::create_directories(folder);
    const std::string notes = "notes.txt";
    const std::string conditions = "Korvanta Watched 1-3 2020-01-01 00-00-00.txt";
    std::ofstream(folder / notes) << "kept";
    std::ofstream(folder / conditions) << "kept";
    SCA_ManualClock clock;
    uint32_t id = 0;
    ASSERT_EQ(1, m_Client.AddMonitor(SCA_SRV_MONITOR_COUNTERS, 0, "Watched", &id));
    ASSERT_EQ(1u, id) << "the condition's file above names this monitor";
    uint32_t counter = 0;
    ASSERT_EQ(1, m_Client.AddCounter(id, SCA_COUNTER_MEMORY_USAGE, "", "", "", &counter));
    SavePeriodically(id, "Periodic");
    ASSERT_EQ(1, m_Client.StartMonitor(id));
    const auto saves = [&] {
        std::vector<std::string> names = Names(folder);
        std::erase(names, notes);
        std::erase(names, conditions);
        return names;
    };
    // Saves come every second; after the third one at most two are left.
    std::vector<std::string> seen;
    ASSERT_TRUE(korvanta_test::AdvanceUntil(clock, std::chrono::seconds(1), [&] {
        for (const std::string& name : saves()) {
            if (std::find(seen.begin(), seen.end(), name) == seen.end()) {
                seen.push_back(name);
            }
        }
        return seen.size() > kKept + 1;
    })) << seen.size();
    ASSERT_TRUE(SampleFor(clock, id, SCA_TASK_MIN_REPORT_SECONDS));
    ASSERT_EQ(1, m_Client.StopMonitor(id));
    // The worker may still be writing the last save; it prunes right after.
    ASSERT_TRUE(
        korvanta_test::WaitUntil("the kept saves alone", [&] { return saves().size() == kKept; }));
    for (const std::string& name : saves()) {
        EXPECT_TRUE(name.starts_with("Korvanta Watched 1 ") && name.ends_with(".txt")) << name;
    }
    const std::vector<std::string> all = Names(folder);
    EXPECT_NE(all.end(), std::find(all.begin(), all.end(), notes));
    EXPECT_NE(all.end(), std::find(all.begin(), all.end(), conditions));

    SCA_TezReportIndex* index = m_Ctrl.GetReportIndex();
    ASSERT_GE(index->Count(), 1u);
    const SCA_TezReportInfo* info = index->GetTail()->GetItem();
    char host[256] = "";
    ASSERT_EQ(0, gethostname(host, sizeof(host)));
    const passwd* user = getpwuid(geteuid());
    ASSERT_NE(nullptr, user);
    EXPECT_STREQ(host, info->GetHostName());
    EXPECT_STREQ(user->pw_name, info->GetUserName());
}

// A condition that holds at every sample with a report action into folder: by default it
// writes one report an hour; with repeats allowed each time, its folder keeps the newest few.
TEST_F(ServiceReportsTest, AReportActionWritesOneReportAnHourByDefaultAndKeepsTheNewestFew) {
    const std::filesystem::path folder =
        std::filesystem::path(m_Ctrl.GetUserConfig()->GetReportsDir()) / "Alerts";
    SCA_ManualClock clock;
    uint32_t id = 0;
    ASSERT_EQ(1, m_Client.AddMonitor(SCA_SRV_MONITOR_COUNTERS, 0, "Alerting", &id));
    uint32_t counter = 0;
    ASSERT_EQ(1, m_Client.AddCounter(id, SCA_COUNTER_MEMORY_USAGE, "", "", "", &counter));
    SCA_ConfigObj* object = nullptr;
    ASSERT_EQ(1, m_Client.GetMonitorObj(id, &object));
    SCA_SrvMonitor monitor(nullptr, nullptr);
    ASSERT_EQ(1, monitor.Deserialize(object));
    SCA_Object::Destroy(object);
    SCA_TezCounterInfo* info = nullptr;
    ASSERT_EQ(1, monitor.GetProfile()->GetCounterList()->GetCounter(counter, &info));
    auto* cond = new SCA_TezCond();
    cond->SetCondType(SCA_COND_SUBJECT_VALUE * SCA_COND_COMPARISONS + SCA_COND_ABOVE);
    cond->SetCondMode(SCA_COND_MODE_EVERY_TIME);
    cond->SetCondValue(-1.0); // a share of memory is never below zero
    cond->SetRepStatus(SCA_REP_STATUS_ERROR);
    cond->SetEnabled(1);
    cond->SetExecuteAction(1);
    cond->SetActionType(SCA_ACTION_SAVE_REPORT);
    cond->SetActionValue(folder.c_str());
    ASSERT_EQ(1, info->GetCondList()->AddCond(cond, nullptr));
    SCA_ConfigObj form("Monitor", nullptr);
    ASSERT_EQ(1, monitor.Serialize(&form));
    ASSERT_EQ(1, m_Client.SetMonitorObj(id, &form));
    ASSERT_EQ(1, m_Client.StartMonitor(id));

    // A report is written to a temporary file first, then renamed.
    const auto reports = [&] {
        std::vector<std::string> names = Names(folder);
        std::erase_if(names, [](const std::string& name) { return !name.ends_with(".hdr"); });
        return names;
    };
    constexpr uint64_t kSeconds = 30;
    ASSERT_TRUE(SampleFor(clock, id, kSeconds));
    ASSERT_TRUE(korvanta_test::WaitUntil("the first report", [&] { return !reports().empty(); }));
    EXPECT_EQ(1u, reports().size()) << "one report in " << kSeconds << " s by default";

    m_Ctrl.ChangeUserConfig([&] {
        m_Ctrl.GetUserConfig()->SetRepeatReportActions(0);
        return 1;
    });
    std::vector<std::string> seen;
    ASSERT_TRUE(korvanta_test::AdvanceUntil(clock, std::chrono::seconds(1), [&] {
        for (const std::string& name : reports()) {
            if (std::find(seen.begin(), seen.end(), name) == seen.end()) {
                seen.push_back(name);
            }
        }
        return seen.size() > SCA_TEZ_REPORT_ACTION_HISTORY + 2;
    })) << seen.size();
    ASSERT_EQ(1, m_Client.StopMonitor(id));
    // The worker may still be writing the last report; it prunes right after.
    std::vector<std::string> kept;
    ASSERT_TRUE(korvanta_test::WaitUntil("the newest reports alone", [&] {
        kept = reports();
        std::sort(seen.begin(), seen.end());
        return kept.size() == SCA_TEZ_REPORT_ACTION_HISTORY && kept.back() >= seen.back();
    })) << testing::PrintToString(kept);
    // The names sort as their times do: every report older than the kept ones is gone.
    for (const std::string& name : seen) {
        if (name < kept.front()) {
            EXPECT_FALSE(std::filesystem::exists(folder / name)) << name;
        }
    }
    EXPECT_EQ(0u, kept.front().rfind("Korvanta Alerting " + std::to_string(id) + "-", 0))
        << kept.front();
}

// The wall clock steps back two hours, back exactly one sample interval and forward an hour in
// the middle of a run: a client that polls with the time of the last sample it holds, as the
// windows do, by the monitor status and by the counter status alike, gets each sample once -
// never again all those since a step, never one skipped. The replies are kept as they came, so
// that a sample sent twice shows even where a window would skip it.
TEST_F(ServiceReportsTest, AfterTheWallClockStepsRepliesCarryEachSampleOnce) {
    constexpr uint32_t kRange = 100;
    constexpr uint64_t kSamplesPerStep = 8;
    // The clock moves a second at a time: one interval of the run between samples.
    constexpr int64_t kInterval = SCA_ABS_TIME_SECOND;
    constexpr int64_t kSteps[] = {-2 * 3600 * kInterval, -kInterval, 3600 * kInterval};
    SCA_ManualClock clock;
    uint32_t id = 0;
    ASSERT_EQ(1, m_Client.AddMonitor(SCA_SRV_MONITOR_COUNTERS, 0, "Stepped", &id));
    uint32_t counter = 0;
    ASSERT_EQ(1, m_Client.AddCounter(id, SCA_COUNTER_MEMORY_USAGE, "", "", "", &counter));
    ASSERT_EQ(1, m_Client.StartMonitor(id));
    // What each way of asking was sent, and the time of the last sample, as a window keeps it.
    std::vector<tagSCA_TEZ_SAMPLE> byMonitor;
    std::vector<tagSCA_TEZ_SAMPLE> byCounter;
    uint64_t monitorLast = 0;
    uint64_t counterLast = 0;
    SCA_TezCounter monitorWindow;
    SCA_TezCounter counterWindow;
    const auto poll = [&] {
        SCA_KorvantaInterface::MonitorStatus status;
        ASSERT_EQ(1, m_Client.GetMonitorStatusEx(id, counter, monitorLast, kRange, &status));
        byMonitor.insert(byMonitor.end(), status.Samples.begin(), status.Samples.end());
        ASSERT_EQ(1, monitorWindow.AddSamples(status.Samples, &monitorLast));
        tagSCA_TEZ_COUNTER_STATUS counterStatus{};
        std::vector<tagSCA_TEZ_SAMPLE> samples;
        ASSERT_EQ(1, m_Client.GetCounterStatusEx(id, counter, counterLast, kRange, &counterStatus,
                                                 &samples));
        byCounter.insert(byCounter.end(), samples.begin(), samples.end());
        ASSERT_EQ(1, counterWindow.AddSamples(samples, &counterLast));
    };
    // Every sample the service holds, in the order it took them: none before the counter opens.
    const auto taken = [&] {
        tagSCA_TEZ_COUNTER_STATUS counterStatus{};
        std::vector<tagSCA_TEZ_SAMPLE> samples;
        if (m_Client.GetCounterStatusEx(id, counter, 0, SCA_TEZ_LIVE_SAMPLES, &counterStatus,
                                        &samples) != 1) {
            samples.clear();
        }
        return samples;
    };
    // The counter opens on the loader's thread while the monitor's clock runs already, so on a
    // busy machine the monitor may have run some seconds before the counter's first sample: the
    // run counts the counter's samples, not the seconds the monitor has run.
    const auto sampleUntil = [&](size_t count) {
        return korvanta_test::AdvanceUntil(clock, std::chrono::seconds(1),
                                           [&] { return taken().size() >= count; });
    };
    ASSERT_TRUE(sampleUntil(5));
    poll();
    for (const int64_t step : kSteps) {
        clock.SetAbsTime(clock.AbsTime() + static_cast<uint64_t>(step));
        for (uint64_t sample = 0; sample < kSamplesPerStep; ++sample) {
            ASSERT_TRUE(sampleUntil(taken().size() + 1));
            poll();
        }
    }
    // A tick the last move of the clock began may end after the last poll: the service's
    // samples are taken once they stay the same across a poll.
    std::vector<tagSCA_TEZ_SAMPLE> all;
    ASSERT_TRUE(korvanta_test::WaitUntil("the service to take no more samples", [&] {
        const size_t known = all.size();
        poll();
        all = taken();
        return all.size() == known;
    }));
    for (const auto* sent : {&byMonitor, &byCounter}) {
        ASSERT_EQ(all.size(), sent->size());
        for (size_t i = 0; i < all.size(); ++i) {
            EXPECT_EQ(all[i].AbsTime, (*sent)[i].AbsTime) << i;
        }
    }
}

// A folder that leads out of the reports folder (stored before such folders were refused)
// saves nothing and says why, every period.
TEST_F(ServiceReportsTest, APeriodicSaveIntoAFolderOutsideSavesNothing) {
    uint32_t id = 0;
    ASSERT_EQ(1, m_Client.AddMonitor(SCA_SRV_MONITOR_COUNTERS, 0, "Outside", &id));
    uint32_t counter = 0;
    ASSERT_EQ(1, m_Client.AddCounter(id, SCA_COUNTER_MEMORY_USAGE, "", "", "", &counter));
    SavePeriodically(id, "Inside");
    m_Ctrl.WithData([&] {
        SCA_SrvMonitor* monitor = nullptr;
        EXPECT_EQ(1, m_Ctrl.GetMonitorList()->GetMonitor(id, &monitor));
        monitor->SetSaveReportsDir("../Escaped");
        return 1;
    });
    ASSERT_EQ(1, m_Client.StartMonitor(id));
    ASSERT_TRUE(korvanta_test::WaitUntil("two reports of the escaping folder", [&] {
        return m_Reports.Count(SCA_LEVEL_ERROR, "must lie below the reports folder - ../Escaped") >=
               2;
    }));
    ASSERT_EQ(1, m_Client.StopMonitor(id));
    const std::filesystem::path reports = m_Ctrl.GetUserConfig()->GetReportsDir();
    EXPECT_FALSE(std::filesystem::exists(reports.parent_path() / "Escaped"));
}

// All ones asks for the service computer's own counters: every type it has a source for, over
// all instances, processes aside, with values from the second request on for rates.
TEST_F(ServiceReportsTest, AllOnesListsTheServiceComputersCounters) {
    std::vector<uint32_t> types;
    int validRates = 0;
    const auto request = [&] {
        SCA_ConfigObj* list = nullptr;
        EXPECT_EQ(1, m_Client.PerfMonitorGetCounters(SCA_ALL_ONES, &list));
        SCA_OwnedPtr<SCA_ConfigObj> owned(list);
        types.clear();
        validRates = 0;
        for (uint32_t i = 0; list != nullptr && i < list->GetFieldCount(); ++i) {
            SCA_Field* field = nullptr;
            SCA_ConfigObj* counter = nullptr;
            EXPECT_EQ(1, list->GetFieldByIndex(i, &field));
            EXPECT_EQ(1, list->GetField(field->GetName(), &counter));
            uint32_t type = 0;
            int valid = 0;
            char instance[256] = "?";
            EXPECT_EQ(1, counter->GetField("Type", &type));
            EXPECT_EQ(1, counter->GetField("Valid", &valid));
            EXPECT_EQ(1, counter->GetField("Instance", instance, sizeof(instance)));
            EXPECT_STREQ("", instance);
            const tagSCA_PERF_SOURCE& source = SCA_PerfSourceTable::Find(type);
            EXPECT_NE(SCA_PerfSource::None, source.Source) << type;
            EXPECT_NE(SCA_PerfInstanceKind::Process, source.Instance) << type;
            types.push_back(type);
            validRates += type == SCA_COUNTER_CPU_USAGE && valid ? 1 : 0;
        }
        return validRates;
    };
    request(); // a rate needs a read before
    // The machine's own tick counts must move between the reads, which takes real time.
    EXPECT_TRUE(korvanta_test::WaitUntil("the awaited state", [&] { return request() == 1; }))
        << "a later request has a CPU usage";
    EXPECT_NE(types.end(), std::find(types.begin(), types.end(), SCA_COUNTER_MEMORY_USAGE));
    EXPECT_NE(types.end(), std::find(types.begin(), types.end(), SCA_COUNTER_CPU_USAGE));
    EXPECT_EQ(types.end(), std::find(types.begin(), types.end(), SCA_COUNTER_PROCESS_CPU_USAGE));
}

// Each operation names itself when the monitor is unknown, and only itself.
TEST_F(ServiceReportsTest, AnUnknownMonitorIsNamedByTheOperationAsked) {
    SCA_ConfigObj* object = nullptr;
    uint32_t type = 0, status = 0, state = 0, statusId = 0;
    EXPECT_EQ(0, m_Client.GetMonitorReport(kUnknown, &object));
    EXPECT_EQ(0, m_Client.GetMonitorErrors(kUnknown, &object));
    EXPECT_EQ(0, m_Client.GetMonitorStatus(kUnknown, &type, &status, &state, &statusId, &object));
    EXPECT_EQ(nullptr, object);
    const std::string id = std::to_string(kUnknown);
    for (const char* operation : {"GetMonitorReport", "GetMonitorErrors", "GetMonitorStatus"}) {
        EXPECT_EQ(1,
                  m_Reports.Count(SCA_LEVEL_ERROR, std::string("SCA_KorvantaAgent::") + operation +
                                                       ": invalid monitor ID - " + id))
            << operation;
    }
    EXPECT_EQ(0, m_Reports.Count(SCA_LEVEL_ERROR, "GetMonitorStats"));
    EXPECT_EQ(0, m_Reports.Count(SCA_LEVEL_ERROR, "SCA_KorvantaCtrl::"));
}

} // namespace
