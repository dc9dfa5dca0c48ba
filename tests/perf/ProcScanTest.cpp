// SPDX-License-Identifier: MIT
// The process reader and the scan over two fixture trees taken two seconds apart, with the
// arithmetic checked against hand-computed values (100 ticks a second, two CPUs: the
// computer's ticks grow by 400 between the trees).
#include <algorithm>
#include <string>
#include <unistd.h>

#include <gtest/gtest.h>

#include "model/SCA_ConfigObj.h"
#include "model/SCA_ExeModuleList.h"
#include "perf/SCA_PerfCalc.h"
#include "perf/SCA_ProcParser.h"
#include "perf/SCA_ProcScanner.h"
#include "tests/support/TestPaths.h"

namespace {

const std::string kFirst = korvanta_test::PerfFixtures() + "/processes/proc-a";
const std::string kSecond = korvanta_test::PerfFixtures() + "/processes/proc-b";
constexpr uint64_t kSecondNs = 1000000000ull;
constexpr double kPageBytes = 4096.0;

const tagSCA_PROC_ENTRY* Find(const std::vector<tagSCA_PROC_ENTRY>& list, uint32_t pid) {
    auto it = std::find_if(list.begin(), list.end(), [pid](const tagSCA_PROC_ENTRY& entry) {
        return entry.Sample.Stat.Pid == pid;
    });
    return it != list.end() ? &*it : nullptr;
}

// Two passes: the first tree at 1 s, the second at 3 s.
class ProcScanTest : public ::testing::Test {
protected:
    void SetUp() override {
        scanner.SetTicksPerSecond(100);
        scanner.GetReader()->SetRoot(kFirst.c_str());
        ASSERT_EQ(1, scanner.Scan(1 * kSecondNs));
        scanner.GetReader()->SetRoot(kSecond.c_str());
        ASSERT_EQ(1, scanner.Scan(3 * kSecondNs));
    }
    SCA_ProcScanner scanner;
};

TEST_F(ProcScanTest, RatesAndSharesComeFromTheTwoSamples) {
    const tagSCA_PROC_ENTRY* worker = Find(scanner.GetCurrent(), 100);
    ASSERT_NE(nullptr, worker);
    const tagSCA_PROC_FIGURES& f = worker->Figures;
    EXPECT_FALSE(worker->IsNew);
    // 200 ticks of the 400 the computer's two CPUs counted.
    EXPECT_DOUBLE_EQ(50.0, *f.Cpu);
    EXPECT_DOUBLE_EQ(4096.0 * 1024.0, *f.Memory);
    EXPECT_DOUBLE_EQ(4.0, *f.Threads);
    EXPECT_DOUBLE_EQ(5.0, *f.Handles);
    EXPECT_DOUBLE_EQ(2000.0, *f.ReadRate);  // (5000 - 1000) / 2
    EXPECT_DOUBLE_EQ(1000.0, *f.WriteRate); // 2000 / 2
    EXPECT_DOUBLE_EQ(3000.0, *f.DataRate);
    EXPECT_DOUBLE_EQ(11.0, *f.FaultRate); // (30 + 2 - 10) / 2
}

TEST_F(ProcScanTest, WhatCannotBeReadIsNotAvailableNotZero) {
    const tagSCA_PROC_ENTRY* web = Find(scanner.GetCurrent(), 200);
    ASSERT_NE(nullptr, web);
    EXPECT_EQ("Web Co) x", web->Sample.Stat.Name) << "the name runs to the last ')'";
    EXPECT_DOUBLE_EQ(10.0, *web->Figures.Cpu); // 40 of 400 ticks
    EXPECT_FALSE(web->Figures.Handles);
    EXPECT_FALSE(web->Figures.ReadRate);
    EXPECT_FALSE(web->Figures.WriteRate);
    EXPECT_FALSE(web->Figures.DataRate);
    EXPECT_TRUE(web->Figures.Memory);
}

TEST_F(ProcScanTest, AReusedPidIsAnEndAndAStartAndGoneOrKernelProcessesAreSkipped) {
    const auto& current = scanner.GetCurrent();
    EXPECT_EQ(nullptr, Find(current, 300)) << "kernel thread";
    EXPECT_EQ(nullptr, Find(current, 700)) << "vanished between listing and reading";
    EXPECT_EQ(nullptr, Find(current, 500)) << "exited, its parent yet to take its status";
    const tagSCA_PROC_ENTRY* reused = Find(current, 400);
    ASSERT_NE(nullptr, reused);
    EXPECT_TRUE(reused->IsNew);
    EXPECT_EQ("new-prog", reused->Sample.Stat.Name);
    EXPECT_FALSE(reused->Figures.Cpu) << "no earlier sample of this process";
    ASSERT_EQ(2u, scanner.GetEnded().size());
    const tagSCA_PROC_ENTRY* old = Find(scanner.GetEnded(), 400);
    ASSERT_NE(nullptr, old);
    EXPECT_EQ("old-prog", old->Sample.Stat.Name);
    EXPECT_NE(nullptr, Find(scanner.GetEnded(), 500));
    EXPECT_EQ(4u, current.size());
    EXPECT_EQ(0, scanner.IsFirstPass());
}

// A process that exited has no memory, files or I/O left: it has ended, and is never read as
// zeros. A group whose first thread alone exited still runs.
TEST(ProcReaderTest, AnExitedProcessHasEndedWhileItsLiveThreadsKeepItRunning) {
    const struct {
        const char* Name;
        char State;
        uint32_t Flags;
        uint64_t Threads;
        int Ended;
    } cases[] = {
        {"sleeping", 'S', 0x00400100u, 1, 0},
        {"running, many threads", 'R', 0x00400100u, 8, 0},
        {"zombie", 'Z', 0x0040014Cu, 1, 1},
        {"dead", 'X', 0x0040014Cu, 1, 1},
        {"exiting, not yet a zombie", 'R', 0x00400104u, 1, 1},
        {"first thread exited, two others run", 'Z', 0x0040014Cu, 3, 0},
    };
    for (const auto& c : cases) {
        tagSCA_PID_STAT stat;
        stat.State = c.State;
        stat.Flags = c.Flags;
        stat.Threads = c.Threads;
        EXPECT_EQ(c.Ended, SCA_ProcReader::HasEnded(stat)) << c.Name;
    }
}

TEST(ProcFiguresTest, NoValueWithoutTimeOrWhenACounterGoesBack) {
    tagSCA_PROC_SAMPLE before;
    before.Stat.UserTicks = 10;
    before.Stat.MinorFaults = 5;
    before.Stat.RssPages = 3;
    tagSCA_PROC_SAMPLE after = before;
    after.Stat.UserTicks = 20;
    EXPECT_FALSE(SCA_PerfCalc::ProcessFigures(&before, after, 100, 200, 0.0).FaultRate);
    EXPECT_FALSE(SCA_PerfCalc::ProcessFigures(&before, after, 100, 100, 1.0).Cpu)
        << "the computer counted no ticks";
    EXPECT_FALSE(SCA_PerfCalc::ProcessFigures(&after, before, 100, 200, 1.0).Cpu)
        << "the process's ticks went back: another process took its pid";
    EXPECT_FALSE(SCA_PerfCalc::ProcessFigures(&before, after, 100, 200, std::nullopt).FaultRate);
    const tagSCA_PROC_FIGURES figures = SCA_PerfCalc::ProcessFigures(&before, after, 100, 200, 0.5);
    EXPECT_DOUBLE_EQ(0.0, *figures.FaultRate);
    EXPECT_DOUBLE_EQ(10.0, *figures.Cpu);
    EXPECT_DOUBLE_EQ(3 * kPageBytes, *figures.Memory);
    const tagSCA_PROC_FIGURES first =
        SCA_PerfCalc::ProcessFigures(nullptr, after, std::nullopt, 200, 0.5);
    EXPECT_FALSE(first.Cpu || first.FaultRate) << "nothing to compare with";
    EXPECT_TRUE(first.Memory && first.Threads) << "gauges need one sample";
}

TEST(ProcParseTest, StatNeedsAllItsFieldsAndKeepsOddNames) {
    EXPECT_FALSE(SCA_ProcParser::ParsePidStat("12 (name) S 1 2 3"));
    EXPECT_FALSE(SCA_ProcParser::ParsePidStat(
        "12 (name S 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20"));
    const auto odd =
        SCA_ProcParser::ParsePidStat("7 ((x) (y)) R 1 7 7 0 -1 0 0 0 0 0 3 4 0 0 -2 -5 1 0 99 0 0");
    ASSERT_TRUE(odd);
    EXPECT_EQ("(x) (y)", odd->Name);
    EXPECT_EQ('R', odd->State);
    EXPECT_EQ(-2, odd->Priority);
    EXPECT_EQ(-5, odd->Nice);
    EXPECT_EQ(99u, odd->StartTicks);
    EXPECT_FALSE(SCA_ProcParser::ParsePidStat("7 (x) R 1 7 7 0 -1 0 0 0 0 0 3x 4 0 0 20 0 1 0 99"));
}

TEST(ProcReaderTest, ModulesAreTheFileBackedMappingsOnceEach) {
    SCA_ProcReader reader(kFirst.c_str());
    SCA_ExeModuleList modules;
    uint32_t error = 0;
    ASSERT_EQ(1, reader.ReadModules(100, &modules, &error));
    ASSERT_EQ(2u, modules.Count());
    EXPECT_STREQ("/usr/bin/korva worker", modules.GetHead()->GetItem()->GetFileName());
    EXPECT_STREQ("libc.so.6", modules.GetTail()->GetItem()->GetModuleName());
    EXPECT_EQ(0, reader.ReadModules(200, &modules, &error)) << "no maps file";
    EXPECT_NE(0u, error);
    // The running test program's own modules: the real files, with their sizes.
    SCA_ProcReader live("/proc");
    SCA_ExeModuleList own;
    ASSERT_EQ(1, live.ReadModules(static_cast<uint32_t>(getpid()), &own, &error));
    ASSERT_GE(own.Count(), 2u);
    EXPECT_EQ(1u, own.GetHead()->GetItem()->GetId());
    EXPECT_GT(own.GetHead()->GetItem()->GetFileSize(), 0u);
}

TEST(ProcReaderTest, InfoOfTheProcessThatStartedThenNotOfAnother) {
    SCA_ProcReader reader(kFirst.c_str());
    SCA_ConfigObj info("ProcessInfo", nullptr);
    EXPECT_EQ(0, reader.LoadInfo(100, 999, 100, &info)) << "another start time";
    ASSERT_EQ(1, reader.LoadInfo(100, 1000, 100, &info));
    int nice = 1;
    char state[64] = "";
    char start[64] = "";
    // The parent id is the record's own: no second "Parent PID" beside it.
    EXPECT_EQ(0, info.IsFieldExists("Parent PID"));
    EXPECT_EQ(1, info.GetField("Nice", &nice));
    EXPECT_EQ(0, nice);
    EXPECT_EQ(1, info.GetField("State", state, sizeof(state)));
    EXPECT_STREQ("S (Sleeping)", state);
    EXPECT_EQ(1, info.GetField("Process Started", start, sizeof(start))) << "boot time + 10 s";
    EXPECT_EQ(0, info.IsFieldExists("Start Time")) << "the record's first-seen time has that name";
    EXPECT_EQ(1, info.IsFieldExists("User"));
    EXPECT_EQ(0, info.IsFieldExists("Command Line")) << "fixture has none";
}

} // namespace
