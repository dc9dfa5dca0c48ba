// The /proc readers and the scan over two fixture trees taken two seconds apart, with the
// arithmetic checked against hand-computed values (100 ticks a second, two CPUs).
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "libtez/SCA_TezProcCalc.h"
#include "libtez/SCA_TezProcParse.h"
#include "libtez/SCA_TezProcScanner.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_ExeModuleList.h"

namespace {

const std::string kFirst = std::string(KORVANTA_PROC_FIXTURES) + "/proc-a";
const std::string kSecond = std::string(KORVANTA_PROC_FIXTURES) + "/proc-b";
constexpr uint64_t kSecondNs = 1000000000ull;

const tagSCA_TEZ_PROC_ENTRY* Find(const std::vector<tagSCA_TEZ_PROC_ENTRY>& list, uint32_t pid) {
    auto it = std::find_if(list.begin(), list.end(), [pid](const tagSCA_TEZ_PROC_ENTRY& entry) {
        return entry.Sample.Pid == pid;
    });
    return it != list.end() ? &*it : nullptr;
}

// Two passes: the first tree at 1 s, the second at 3 s.
class ProcScanTest : public ::testing::Test {
protected:
    void SetUp() override {
        scanner.SetCpuCount(2);
        scanner.SetTicksPerSecond(100);
        scanner.GetReader()->SetRoot(kFirst.c_str());
        ASSERT_EQ(1, scanner.Scan(1 * kSecondNs));
        scanner.GetReader()->SetRoot(kSecond.c_str());
        ASSERT_EQ(1, scanner.Scan(3 * kSecondNs));
    }
    SCA_TezProcScanner scanner;
};

TEST_F(ProcScanTest, RatesAndSharesComeFromTheTwoSamples) {
    const tagSCA_TEZ_PROC_ENTRY* worker = Find(scanner.GetCurrent(), 100);
    ASSERT_NE(nullptr, worker);
    const tagSCA_TEZ_PROC_VALUES& v = worker->Values;
    EXPECT_FALSE(worker->IsNew);
    // 200 ticks of the 2 s x 100 ticks x 2 CPUs = 400 offered.
    EXPECT_DOUBLE_EQ(50.0, v.Value[SCA_PROC_CPU]);
    EXPECT_DOUBLE_EQ(4096.0 * 1024.0, v.Value[SCA_PROC_MEMORY]);
    EXPECT_DOUBLE_EQ(4.0, v.Value[SCA_PROC_THREADS]);
    EXPECT_DOUBLE_EQ(5.0, v.Value[SCA_PROC_HANDLES]);
    EXPECT_DOUBLE_EQ(2000.0, v.Value[SCA_PROC_READ_RATE]);  // (5000 - 1000) / 2
    EXPECT_DOUBLE_EQ(1000.0, v.Value[SCA_PROC_WRITE_RATE]); // 2000 / 2
    EXPECT_DOUBLE_EQ(3000.0, v.Value[SCA_PROC_DATA_RATE]);
    EXPECT_DOUBLE_EQ(11.0, v.Value[SCA_PROC_PAGE_FAULT_RATE]); // (30 + 2 - 10) / 2
    EXPECT_FALSE(v.Has(SCA_PROC_NON_PAGED)) << "no Linux source";
}

TEST_F(ProcScanTest, WhatCannotBeReadIsNotAvailableNotZero) {
    const tagSCA_TEZ_PROC_ENTRY* web = Find(scanner.GetCurrent(), 200);
    ASSERT_NE(nullptr, web);
    EXPECT_STREQ("Web Co) x", web->Sample.Name) << "the name runs to the last ')'";
    EXPECT_DOUBLE_EQ(10.0, web->Values.Value[SCA_PROC_CPU]); // 40 of 400 ticks
    for (uint32_t slot :
         {SCA_PROC_HANDLES, SCA_PROC_READ_RATE, SCA_PROC_WRITE_RATE, SCA_PROC_DATA_RATE}) {
        EXPECT_FALSE(web->Values.Has(slot)) << "slot " << slot;
    }
    EXPECT_TRUE(web->Values.Has(SCA_PROC_MEMORY));
}

TEST_F(ProcScanTest, AReusedPidIsAnEndAndAStartAndGoneOrKernelProcessesAreSkipped) {
    const auto& current = scanner.GetCurrent();
    EXPECT_EQ(nullptr, Find(current, 300)) << "kernel thread";
    EXPECT_EQ(nullptr, Find(current, 700)) << "vanished between listing and reading";
    const tagSCA_TEZ_PROC_ENTRY* reused = Find(current, 400);
    ASSERT_NE(nullptr, reused);
    EXPECT_TRUE(reused->IsNew);
    EXPECT_STREQ("new-prog", reused->Sample.Name);
    EXPECT_FALSE(reused->Values.Has(SCA_PROC_CPU)) << "no earlier sample of this process";
    ASSERT_EQ(2u, scanner.GetEnded().size());
    const tagSCA_TEZ_PROC_ENTRY* old = Find(scanner.GetEnded(), 400);
    ASSERT_NE(nullptr, old);
    EXPECT_STREQ("old-prog", old->Sample.Name);
    EXPECT_NE(nullptr, Find(scanner.GetEnded(), 500));
    EXPECT_EQ(4u, current.size());
    EXPECT_EQ(0, scanner.IsFirstPass());
}

TEST(ProcCalcTest, NoValueWithoutTimeOrWhenACounterGoesBack) {
    double out = -1.0;
    EXPECT_EQ(0, SCA_TezCalcCpuShare(10, 20, 0.0, 100, 1, &out));
    EXPECT_EQ(0, SCA_TezCalcCpuShare(20, 10, 1.0, 100, 1, &out));
    EXPECT_EQ(0, SCA_TezCalcCpuShare(10, 20, 1.0, 100, 0, &out));
    EXPECT_EQ(0, SCA_TezCalcRate(5, 4, 1.0, &out));
    EXPECT_EQ(0, SCA_TezCalcRate(4, 5, -1.0, &out));
    EXPECT_EQ(-1.0, out);
    EXPECT_EQ(1, SCA_TezCalcRate(4, 4, 0.5, &out));
    EXPECT_EQ(0.0, out);
}

TEST(ProcParseTest, StatNeedsAllItsFieldsAndKeepsOddNames) {
    tagSCA_TEZ_PROC_SAMPLE sample;
    const char cut[] = "12 (name) S 1 2 3";
    EXPECT_EQ(0, SCA_TezParseProcStat(cut, sizeof(cut) - 1, &sample));
    const char noClose[] = "12 (name S 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20";
    EXPECT_EQ(0, SCA_TezParseProcStat(noClose, sizeof(noClose) - 1, &sample));
    const char odd[] = "7 ((x) (y)) R 1 7 7 0 -1 0 0 0 0 0 3 4 0 0 -2 -5 1 0 99 0 0";
    ASSERT_EQ(1, SCA_TezParseProcStat(odd, sizeof(odd) - 1, &sample));
    EXPECT_STREQ("(x) (y)", sample.Name);
    EXPECT_EQ(-2, sample.Priority);
    EXPECT_EQ(-5, sample.Nice);
    EXPECT_EQ(99u, sample.StartTicks);
    const char badNumber[] = "7 (x) R 1 7 7 0 -1 0 0 0 0 0 3x 4 0 0 20 0 1 0 99";
    EXPECT_EQ(0, SCA_TezParseProcStat(badNumber, sizeof(badNumber) - 1, &sample));
}

TEST(ProcReaderTest, ModulesAreTheFileBackedMappingsOnceEach) {
    SCA_TezProcReader reader(kFirst.c_str());
    SCA_ExeModuleList modules;
    uint32_t error = 0;
    ASSERT_EQ(1, reader.ReadModules(100, &modules, &error));
    ASSERT_EQ(2u, modules.Count());
    EXPECT_STREQ("/usr/bin/korva worker", modules.GetHead()->GetItem()->GetFileName());
    EXPECT_STREQ("libc.so.6", modules.GetTail()->GetItem()->GetModuleName());
    EXPECT_EQ(0, reader.ReadModules(200, &modules, &error)) << "no maps file";
    EXPECT_NE(0u, error);
}

TEST(ProcReaderTest, InfoOfTheProcessThatStartedThenNotOfAnother) {
    SCA_TezProcReader reader(kFirst.c_str());
    SCA_ConfigObj info("ProcessInfo", nullptr);
    EXPECT_EQ(0, reader.LoadInfo(100, 999, 100, &info)) << "another start time";
    ASSERT_EQ(1, reader.LoadInfo(100, 1000, 100, &info));
    uint32_t parent = 0;
    int nice = 1;
    char state[64] = "";
    char start[64] = "";
    EXPECT_EQ(1, info.GetField("Parent PID", &parent));
    EXPECT_EQ(1u, parent);
    EXPECT_EQ(1, info.GetField("Nice", &nice));
    EXPECT_EQ(0, nice);
    EXPECT_EQ(1, info.GetField("State", state, sizeof(state)));
    EXPECT_STREQ("S (Sleeping)", state);
    EXPECT_EQ(1, info.GetField("Start Time", start, sizeof(start))) << "boot time + 10 s";
    EXPECT_EQ(1, info.IsFieldExists("User"));
    EXPECT_EQ(0, info.IsFieldExists("Command Line")) << "fixture has none";
}

} // namespace
