// SPDX-License-Identifier: MIT
// The counter monitor's core end to end over captured /proc trees: sampling, conditions and
// rules, statuses and errors, the status texts the clients read, pauses, the live thread with
// counters added while it runs, and the report written at stop and read back from the index.
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "libmor/SCA_ManualClock.h"
#include "libtez/SCA_TezActionCtrl.h"
#include "libtez/SCA_TezActionRepeat.h"
#include "libtez/SCA_TezCondEval.h"
#include "libtez/SCA_TezLoader.h"
#include "libtez/SCA_TezManager.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezActionType.h"
#include "model/SCA_TezCondType.h"
#include "model/SCA_TezConfig.h"
#include "model/SCA_TezConfigUser.h"
#include "model/SCA_TezCounterStatus.h"
#include "model/SCA_TezReportIndex.h"
#include "model/SCA_TezVocabulary.h"
#include "tests/perf/PerfTestSupport.h"
#include "tests/support/KorvantaTestSupport.h"
#include "tests/support/ManualClockSupport.h"
#include "tests/support/WaitUntil.h"

namespace {

using perf_test::kSecond;

constexpr uint64_t kAbsSecond = 10000000;
constexpr uint32_t kTimeoutMs = 10000;

class ActionCtrl : public SCA_TezActionCtrl {
public:
    ActionCtrl() : SCA_TezActionCtrl(nullptr, nullptr, nullptr, nullptr, 1) {}
    int ThreadFunc() override { return 0; }
};

SCA_TezRule* NewRule(uint32_t counterType, uint32_t condType, uint32_t mode, double value,
                     uint32_t status) {
    auto* rule = new SCA_TezRule();
    rule->SetCounterType(counterType);
    rule->SetCondType(condType);
    rule->SetCondMode(mode);
    rule->SetCondValue(value);
    rule->SetRepStatus(status);
    rule->SetEnabled(1);
    return rule;
}

// A manager over the "two-cpu" capture, sampling a profile of its test's making.
class MonitoringCoreTest : public testing::Test {
protected:
    MonitoringCoreTest()
        : m_Config(SCA_PRODUCT_TYPE_KORVANTA), m_UserConfig(&m_Config),
          m_Store(perf_test::Store("two-cpu", "s1")),
          m_Manager(&m_Config, &m_UserConfig, nullptr, &m_Actions, nullptr, nullptr) {
        m_Manager.SetSnapshotStore(m_Store);
    }

    uint32_t AddCounter(uint32_t type) {
        uint32_t id = 0;
        EXPECT_EQ(1, m_Profile.GetCounterList()->AddCounter(type, "", "", "", &id));
        return id;
    }

    void Start() {
        uint32_t error = 0;
        ASSERT_EQ(1, m_Manager.PrepareProcess(&m_Profile, "Memory watch", nullptr, &error))
            << error;
        for (auto* node = m_Profile.GetCounterList()->GetHead(); node; node = node->GetNext()) {
            ASSERT_EQ(1, m_Manager.AddCounter(node->GetId()));
        }
    }

    void Sample(const char* sample, uint64_t second) {
        m_Store->SetRoots(perf_test::Roots("two-cpu", sample));
        ASSERT_EQ(1, m_Manager.SampleTick(second, second * kSecond, second * kAbsSecond));
    }

    tagSCA_TEZ_COUNTER_STATUS StatusOf(uint32_t counterId) {
        SCA_ConfigObj list("CSL", nullptr);
        EXPECT_EQ(1, m_Manager.BuildCountersStatusList(&list));
        char text[SCA_TEZ_COUNTER_STATUS_SIZE] = "";
        list.GetField(std::to_string(counterId).c_str(), text, sizeof(text));
        tagSCA_TEZ_COUNTER_STATUS status{};
        EXPECT_EQ(1, SCA_TezGetCounterStatus(text, &status)) << text;
        return status;
    }

    uint32_t QueuedActions() {
        std::vector<uint32_t> types;
        m_Actions.GetActionQueue()->Drain([&types](SCA_TezAction* action) {
            types.push_back(action->GetActionType());
            SCA_Object::Destroy(action);
        });
        return static_cast<uint32_t>(types.size());
    }

    // First, so that it outlives every thread the manager starts.
    SCA_ManualClock m_Clock;
    SCA_TezConfig m_Config;
    SCA_TezConfigUser m_UserConfig;
    ActionCtrl m_Actions;
    std::shared_ptr<SCA_PerfSnapshotStore> m_Store;
    SCA_TezProfile m_Profile;
    SCA_TezManager m_Manager;
};

TEST_F(MonitoringCoreTest, ARuleThatHoldsThreeSamplesInARowActsOnTheThird) {
    m_UserConfig.GetRules()->ClearAll();
    SCA_TezRule* rule = NewRule(SCA_COUNTER_MEMORY_USAGE, SCA_COND_ABOVE, 3, 20.0, 5);
    rule->SetExecuteAction(1);
    rule->SetActionType(SCA_ACTION_PLAY_SOUND);
    rule->SetActionValue("Alarm");
    ASSERT_EQ(1, m_UserConfig.GetRules()->AddRule(rule, nullptr));
    ASSERT_EQ(1, m_UserConfig.PublishSnapshot());
    const uint32_t memory = AddCounter(SCA_COUNTER_MEMORY_USAGE);
    const uint32_t cpu = AddCounter(SCA_COUNTER_CPU_USAGE);
    Start();

    Sample("s1", 10);
    Sample("s2", 12);
    EXPECT_EQ(0u, m_Manager.GetErrorCounters());
    EXPECT_EQ(0u, m_Manager.GetReport()->GetErrorList()->Count());
    EXPECT_EQ(0u, QueuedActions());
    Sample("s3", 14);

    const tagSCA_TEZ_COUNTER_STATUS memoryStatus = StatusOf(memory);
    EXPECT_EQ(SCA_COUNTER_MEMORY_USAGE, memoryStatus.CounterType);
    EXPECT_EQ(5u, memoryStatus.Status);
    EXPECT_EQ(3u, memoryStatus.ValueCount);
    EXPECT_DOUBLE_EQ(25.0, memoryStatus.Current);
    EXPECT_DOUBLE_EQ(25.0, memoryStatus.Average);
    EXPECT_EQ(1u, m_Manager.GetErrorCounters());
    EXPECT_EQ(0u, m_Manager.GetWarningCounters());
    ASSERT_EQ(1u, m_Manager.GetReport()->GetErrorList()->Count());
    SCA_TezError* error = m_Manager.GetReport()->GetErrorList()->GetHead()->GetItem();
    EXPECT_EQ(memory, error->GetCounterId());
    EXPECT_EQ(14 * kAbsSecond, error->GetAbsTime());
    EXPECT_DOUBLE_EQ(25.0, error->GetCounterValue());
    EXPECT_EQ(1u, QueuedActions());

    // CPU has no rule: normal. A rate needs two samples, and the capture's third sample is a
    // counter reset: one value (from the second), and no current value rather than a huge one.
    const tagSCA_TEZ_COUNTER_STATUS cpuStatus = StatusOf(cpu);
    EXPECT_EQ(3u, cpuStatus.Status);
    EXPECT_EQ(1u, cpuStatus.ValueCount);
    EXPECT_FALSE(cpuStatus.HasCurrent);
    EXPECT_GE(cpuStatus.Maximum, 0.0);
    EXPECT_LE(cpuStatus.Maximum, 100.0);

    // The streak acted once; it acts again only after it is broken and held three times more.
    Sample("s3", 16);
    EXPECT_EQ(1u, m_Manager.GetReport()->GetErrorList()->Count());
    EXPECT_EQ(5u, StatusOf(memory).Status);
    EXPECT_EQ(1, m_Manager.ResetAll());
    EXPECT_EQ(0u, StatusOf(memory).ValueCount);
    EXPECT_EQ(0u, m_Manager.GetReport()->GetErrorList()->Count());
}

// One rule that acts on every sample, over twelve samples a second apart: with its kind's repeat
// switch on it acts at 1, 6 and 11 s; the other kinds' switches do not hold it back.
TEST_F(MonitoringCoreTest, RepeatSettingsLimitHowOftenOneConditionRepeatsEachKind) {
    using Settings = SCA_TezUserSettings;
    struct Kind {
        uint32_t ActionType;
        int Settings::*Repeat;
        uint32_t Settings::*Time;
    };
    const Kind kinds[] = {
        {SCA_ACTION_PLAY_SOUND, &Settings::RepeatSoundActions, &Settings::RepeatSoundActionsTime},
        {SCA_ACTION_SEND_MAIL, &Settings::RepeatEmailActions, &Settings::RepeatEmailActionsTime},
        {SCA_ACTION_SAVE_REPORT, &Settings::RepeatReportActions,
         &Settings::RepeatReportActionsTime},
        {SCA_ACTION_REPORT_FIRST, &Settings::RepeatReportActions,
         &Settings::RepeatReportActionsTime},
    };
    constexpr uint32_t kRepeatSeconds = 5;
    constexpr uint64_t kSamples = 12;
    AddCounter(SCA_COUNTER_MEMORY_USAGE);
    Start();
    // Sets the switches (on: kinds whose action type is onFor) and counts the actions of kind.
    const auto actionsWith = [&](const Kind& kind, bool on, bool othersOn) {
        SCA_TezUserSettings settings = m_UserConfig.GetSnapshot()->Settings;
        for (const Kind& each : kinds) {
            const bool same = each.Repeat == kind.Repeat;
            settings.*each.Repeat = same ? on : othersOn;
            settings.*each.Time = kRepeatSeconds;
        }
        settings.RepeatLogActions = othersOn;
        settings.RepeatLogActionsTime = kRepeatSeconds;
        settings.RepeatUserActions = othersOn;
        settings.RepeatUserActionsTime = kRepeatSeconds;
        m_UserConfig.SetRepeatSoundActions(settings.RepeatSoundActions);
        m_UserConfig.SetRepeatSoundActionsTime(settings.RepeatSoundActionsTime);
        m_UserConfig.SetRepeatEmailActions(settings.RepeatEmailActions);
        m_UserConfig.SetRepeatEmailActionsTime(settings.RepeatEmailActionsTime);
        m_UserConfig.SetRepeatReportActions(settings.RepeatReportActions);
        m_UserConfig.SetRepeatReportActionsTime(settings.RepeatReportActionsTime);
        m_UserConfig.SetRepeatLogActions(settings.RepeatLogActions);
        m_UserConfig.SetRepeatLogActionsTime(settings.RepeatLogActionsTime);
        m_UserConfig.SetRepeatUserActions(settings.RepeatUserActions);
        m_UserConfig.SetRepeatUserActionsTime(settings.RepeatUserActionsTime);
        m_UserConfig.GetRules()->ClearAll();
        SCA_TezRule* rule =
            NewRule(SCA_COUNTER_MEMORY_USAGE, SCA_COND_ABOVE, SCA_COND_MODE_EVERY_TIME, 20.0, 5);
        rule->SetExecuteAction(1);
        rule->SetActionType(kind.ActionType);
        EXPECT_EQ(1, m_UserConfig.GetRules()->AddRule(rule, nullptr));
        EXPECT_EQ(1, m_UserConfig.PublishSnapshot());
        EXPECT_EQ(1, m_Manager.ResetAll());
        for (uint64_t second = 1; second <= kSamples; ++second) {
            Sample("s1", second);
        }
        return QueuedActions();
    };
    for (const Kind& kind : kinds) {
        SCOPED_TRACE(SCA_TezGetActionTypeDescr(kind.ActionType));
        EXPECT_EQ(3u, actionsWith(kind, true, false));
        EXPECT_EQ(kSamples, actionsWith(kind, false, true));
        EXPECT_EQ(kSamples, actionsWith(kind, false, false));
    }
}

TEST(ActionRepeatTest, ThePeriodCountsFromTheLastActionTaken) {
    SCA_TezUserSettings settings;
    settings.RepeatSoundActions = 1;
    settings.RepeatSoundActionsTime = 60;
    tagSCA_TEZ_ACTION_REPEAT repeat;
    EXPECT_TRUE(SCA_TezMayRepeatAction(&settings, SCA_ACTION_PLAY_SOUND, 100 * kSecond, &repeat));
    EXPECT_FALSE(SCA_TezMayRepeatAction(&settings, SCA_ACTION_PLAY_SOUND, 159 * kSecond, &repeat));
    EXPECT_TRUE(SCA_TezMayRepeatAction(&settings, SCA_ACTION_PLAY_SOUND, 160 * kSecond, &repeat));
    EXPECT_FALSE(SCA_TezMayRepeatAction(&settings, SCA_ACTION_PLAY_SOUND, 219 * kSecond, &repeat));
    EXPECT_TRUE(SCA_TezMayRepeatAction(nullptr, SCA_ACTION_PLAY_SOUND, 219 * kSecond, &repeat));
    EXPECT_EQ(0u, SCA_TezActionRepeatSeconds(settings, SCA_ACTION_NONE));
}

TEST_F(MonitoringCoreTest, APauseHoldsTheProcessTime) {
    AddCounter(SCA_COUNTER_MEMORY_USAGE);
    Start();
    Sample("s1", 10);
    Sample("s2", 12);
    EXPECT_EQ(2u, m_Manager.GetProcessTime());
    ASSERT_EQ(1, m_Manager.Pause());
    Sample("s3", 40);
    EXPECT_EQ(2u, m_Manager.GetProcessTime());
    EXPECT_EQ(2u, StatusOf(1).ValueCount) << "no sample while paused";
    ASSERT_EQ(1, m_Manager.Resume());
    Sample("s3", 50);
    Sample("s3", 53);
    EXPECT_EQ(5u, m_Manager.GetProcessTime()) << "the paused 38 seconds do not count";
    char text[32];
    ASSERT_EQ(1, m_Manager.GetStatusValue(1, text, sizeof(text)));
    EXPECT_STREQ("00:00:05", text);
}

TEST_F(MonitoringCoreTest, SamplesTravelSinceAPositionAndStatusTextsRoundTrip) {
    const uint32_t memory = AddCounter(SCA_COUNTER_MEMORY_USAGE);
    Start();
    for (uint64_t second = 1; second <= 5; ++second) {
        Sample("s1", second);
    }
    SCA_ConfigObj list("CSL", nullptr);
    SCA_ConfigObj data("CCD", nullptr);
    ASSERT_EQ(1, m_Manager.GetStatusEx(&list, memory, 2 * kAbsSecond, 2, &data));
    EXPECT_EQ(1u, list.GetFieldCount());
    // After second 2, the newest two: seconds 4 and 5.
    SCA_TezCounter history;
    uint64_t lastTime = 0;
    ASSERT_EQ(1, history.AddData(&data, &lastTime));
    EXPECT_EQ(2u, history.GetValueCount());
    EXPECT_EQ(5 * kAbsSecond, lastTime);
    EXPECT_EQ(4 * kAbsSecond, history.GetFirstTime());

    SCA_ConfigObj counterData("CD", nullptr);
    char text[SCA_TEZ_COUNTER_STATUS_SIZE];
    ASSERT_EQ(
        1, m_Manager.GetCounterStatusEx(memory, lastTime, 600, &counterData, text, sizeof(text)));
    EXPECT_EQ(0u, counterData.GetFieldCount()) << "nothing newer than what the client holds";
    EXPECT_STREQ("4 3 5 25 25 25 25", text);
    EXPECT_EQ(0,
              m_Manager.GetCounterStatusEx(memory + 100, 0, 10, &counterData, text, sizeof(text)));
}

TEST_F(MonitoringCoreTest, AClientKeepsGettingSamplesAfterTheWallClockStepsBack) {
    const uint32_t memory = AddCounter(SCA_COUNTER_MEMORY_USAGE);
    Start();
    // The tick and the monotonic time go on; the wall clock jumps from 3405 back to 1006.
    uint64_t tick = 1;
    const auto sampleAt = [&](uint64_t wallSecond) {
        ASSERT_EQ(1, m_Manager.SampleTick(tick, tick * kSecond, wallSecond * kAbsSecond));
        ++tick;
    };
    // Samples newer than since, as the client object keeps them: their times and the last.
    const auto newer = [&](uint64_t since) {
        SCA_ConfigObj data("CCD", nullptr);
        EXPECT_EQ(1, m_Manager.GetCounterStatusEx(memory, since, 3, &data, nullptr, 0));
        std::vector<uint64_t> seconds;
        for (SCA_Field* field = data.GetHead(); field != nullptr; field = field->GetNext()) {
            tagSCA_TEZ_SAMPLE sample{};
            EXPECT_EQ(1, SCA_TezReadSampleField(field, &sample));
            seconds.push_back(sample.AbsTime / kAbsSecond);
        }
        return seconds;
    };
    for (uint64_t second = 3401; second <= 3405; ++second) {
        sampleAt(second);
    }
    const uint64_t clientLast = 3405 * kAbsSecond;
    EXPECT_EQ(newer(clientLast), std::vector<uint64_t>{});
    sampleAt(1006);
    sampleAt(1007);
    EXPECT_EQ(newer(clientLast), (std::vector<uint64_t>{1006, 1007}))
        << "the samples after the client's last, not nothing for the hour the clock went back";
    EXPECT_EQ(newer(5000 * kAbsSecond), (std::vector<uint64_t>{3405, 1006, 1007}))
        << "a time no sample has: the newest samples";
    EXPECT_EQ(newer(1007 * kAbsSecond), std::vector<uint64_t>{});
    sampleAt(1008);
    EXPECT_EQ(newer(1007 * kAbsSecond), std::vector<uint64_t>{1008});
}

TEST_F(MonitoringCoreTest, TheThreadSamplesCountersAddedWhileItRunsAndStopWaitsForIt) {
    AddCounter(SCA_COUNTER_MEMORY_USAGE);
    std::atomic<int> samples{0};
    m_Manager.SetSampleCallback(
        [](SCA_TezProfile*, SCA_TezReport*, uint64_t, void* count) {
            ++*static_cast<std::atomic<int>*>(count);
            return 1;
        },
        &samples);
    m_Manager.SetSampleInterval(10);
    uint32_t error = 0;
    ASSERT_EQ(1, m_Manager.StartProcess(&m_Profile, "Live", "", 1, &error)) << error;
    SCA_TezLoader loader(&m_Config, &m_UserConfig, nullptr);
    ASSERT_EQ(1, loader.LoadProfile(&m_Manager));
    ASSERT_EQ(SCA_WAIT_OK, loader.GetEvent()->Wait(kTimeoutMs));
    EXPECT_EQ(100u, loader.GetProgress());
    EXPECT_EQ(SCA_PROCESS_IDLE, loader.GetProcessStatus());
    EXPECT_EQ(0u, loader.GetErrorCount());

    // One tick per move of the clock, and none under way between them: the sampling thread
    // sleeps on the clock (it is the only thread that does) before the clock moves past the
    // next boundary, and the tick has ended when its sample arrived.
    auto tick = [&] {
        const int before = samples;
        ASSERT_TRUE(korvanta_test::SleepersOn(m_Clock));
        m_Clock.Advance(std::chrono::milliseconds(10));
        ASSERT_TRUE(
            korvanta_test::WaitUntil("the awaited state", [&] { return samples == before + 1; }));
    };
    tick();
    tick();
    // The owner adds to the shared profile, then makes the counter live.
    const uint32_t cpu = AddCounter(SCA_COUNTER_CPU_USAGE);
    ASSERT_EQ(1, m_Manager.AddCounter(cpu));
    tick();
    tick();
    // The capture does not move, so the processor's rate has no value: the samples are gaps,
    // but they are there.
    SCA_ConfigObj data("CD", nullptr);
    char text[SCA_TEZ_COUNTER_STATUS_SIZE];
    ASSERT_EQ(1, m_Manager.GetCounterStatusEx(cpu, 0, 600, &data, text, sizeof(text)));
    EXPECT_EQ(data.GetFieldCount(), 2u) << "the new counter is sampled at each tick";
    EXPECT_EQ(std::string("1 3 0 - - - -"), text);
    ASSERT_EQ(1, m_Manager.StopAll(0));
    EXPECT_EQ(SCA_PROCESS_STOPPED, m_Manager.GetProcessStatus());
    const int after = samples;
    m_Clock.Advance(std::chrono::milliseconds(50));
    EXPECT_EQ(after, samples.load()) << "no sample after StopAll returned";
    EXPECT_EQ(1, m_Manager.DeleteCounter(cpu));
    EXPECT_EQ(1u, m_Manager.GetActiveCounters());
}

TEST_F(MonitoringCoreTest, TheReportWrittenAtStopComesBackFromTheIndex) {
    korvanta_test::TempDir dir;
    SCA_TezReportIndex index(&m_Config, &m_UserConfig);
    index.SetReportsDir(dir.Path().c_str());
    AddCounter(SCA_COUNTER_MEMORY_USAGE);
    Start();
    for (uint64_t second = 1; second <= 3; ++second) {
        Sample("s1", second);
    }
    ASSERT_EQ(1, m_Manager.StopAll(0));
    ASSERT_EQ(1, m_Manager.UpdateReport());
    uint32_t error = 0;
    // Three runs into an index of two: the first run's entry and file go, no other.
    for (uint32_t run = 0; run < 3; ++run) {
        ASSERT_EQ(1, index.AddReport(m_Manager.GetReport(), 1, SCA_TEZ_REPORT_SAVE_FILE, 2, &error))
            << error;
    }
    ASSERT_EQ(1, index.Save());
    EXPECT_EQ(
        (std::vector<std::string>{"report_000002.hdx", "report_000003.hdx", "report_index.hdx"}),
        dir.Names());

    SCA_TezReportIndex reread(&m_Config, &m_UserConfig);
    reread.SetReportsDir(dir.Path().c_str());
    ASSERT_EQ(1, reread.Load());
    SCA_TezReport report(&m_Config, &m_UserConfig);
    ASSERT_EQ(1, reread.LoadReport(3, &report));
    EXPECT_EQ(3u, report.GetReportId());
    EXPECT_STREQ("Memory watch", report.GetDescription());
    EXPECT_EQ(2u, report.GetProcessTime() / kAbsSecond);
    SCA_TezCounter* counter = nullptr;
    ASSERT_EQ(1, report.GetCounterByType(SCA_COUNTER_MEMORY_USAGE, &counter));
    EXPECT_EQ(3u, counter->GetValueCount());
    EXPECT_DOUBLE_EQ(25.0, counter->GetAverageValue());
    EXPECT_EQ(3u, counter->GetHistoryLength()) << "the samples travel with the report";
    SCA_ConfigObj* statistics = nullptr;
    ASSERT_EQ(1, report.GetSummary()->GetField("Statistics", &statistics));
    EXPECT_EQ(1u, statistics->GetFieldCount());
    EXPECT_EQ(0, reread.LoadReport(1, &report)) << "the oldest report is gone";

    // A run's report is titled as the main window titles a monitor's saved report, so that the
    // reports window finds it by its title.
    EXPECT_STREQ("Korvanta Memory watch Report", report.GetReportTitle());
    SCA_List<SCA_TezReportInfo*> found;
    ASSERT_EQ(1, reread.FilterReports(1, SCA_TEZ_FILTER_TITLE, SCA_TEZ_FILTER_EQUALS,
                                      "Korvanta Memory watch Report", &found));
    EXPECT_EQ(2u, found.Count());
}

TEST(ReportIndexFileTest, AnUnreadableIndexIsMovedAsideBeforeItIsWritten) {
    korvanta_test::TempDir dir;
    korvanta_test::ReportCapture reports;
    const std::string path = dir / "report_index.hdx";
    FILE* file = std::fopen(path.c_str(), "w");
    ASSERT_NE(nullptr, file);
    std::fputs("not an index", file);
    std::fclose(file);
    SCA_TezReportIndex index(nullptr, nullptr);
    index.SetReportsDir(dir.Path().c_str());
    EXPECT_EQ(1, index.Load()) << "rebuilt from the report files (none)";
    EXPECT_EQ(1, index.IsIndexFileDamaged());
    ASSERT_EQ(1, index.Save());
    EXPECT_EQ((std::vector<std::string>{"report_index.hdx", "report_index.hdx.unreadable"}),
              dir.Names());
    EXPECT_EQ(1, index.Load());
    EXPECT_EQ(0, index.IsIndexFileDamaged());
}

struct CondCase {
    uint32_t Type;
    uint32_t Mode;
    std::vector<double> Values;
    std::string Holds; // one letter per value: h holds, a holds and acts, - neither
};

TEST(CondEvalTest, TypesAndModesAsTheTableSays) {
    const CondCase cases[] = {
        {SCA_COND_ABOVE, SCA_COND_MODE_EVERY_TIME, {5, 15, 25, 8}, "-aa-"},
        {SCA_COND_BELOW, SCA_COND_MODE_ONCE, {5, 15, 2, 1}, "a-hh"},
        {SCA_COND_EQUAL, SCA_COND_MODE_EVERY_TIME, {10, 10.0000000001, 11}, "aa-"},
        {SCA_COND_NOT_EQUAL, SCA_COND_MODE_EVERY_TIME, {10, 11}, "-a"},
        {SCA_COND_ABOVE, 2, {11, 12, 13, 1, 12, 12}, "-ah--a"},
        // The average of the run: 5, 10, 15 -> 5, 7.5, 10; above 9 only on the third.
        {4 + SCA_COND_ABOVE, SCA_COND_MODE_EVERY_TIME, {5, 10, 15}, "--a"},
        // The change: none on the first value, then +10, -20.
        {8 + SCA_COND_BELOW, SCA_COND_MODE_EVERY_TIME, {0, 10, -10}, "--a"},
        {SCA_COND_TYPES, SCA_COND_MODE_EVERY_TIME, {100}, "-"},
    };
    for (const CondCase& c : cases) {
        SCA_TezCond cond;
        cond.SetCondType(c.Type);
        cond.SetCondMode(c.Mode);
        cond.SetCondValue(c.Type >= 8 ? -5.0 : c.Type >= 4 ? 9.0 : 10.0);
        cond.SetEnabled(1);
        tagSCA_TEZ_COND_STATE state;
        double total = 0.0;
        std::string got;
        for (size_t i = 0; i < c.Values.size(); ++i) {
            total += c.Values[i];
            const tagSCA_TEZ_COND_INPUT input{c.Values[i], total / (i + 1),
                                              i > 0 ? c.Values[i] - c.Values[i - 1] : 0.0, i > 0};
            const auto result = SCA_TezEvalCond(cond, input, &state);
            got += result.Acts ? 'a' : result.Holds ? 'h' : '-';
        }
        EXPECT_EQ(c.Holds, got) << "type " << c.Type << " mode " << c.Mode;
    }
    SCA_TezCond disabled;
    disabled.SetEnabled(0);
    tagSCA_TEZ_COND_STATE state;
    EXPECT_FALSE(SCA_TezEvalCond(disabled, {100, 100, 0, false}, &state).Holds);
}

} // namespace
