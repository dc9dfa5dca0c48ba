// SPDX-License-Identifier: MIT
// One process, two windows: on the same two captured trees (two seconds apart) a counter
// monitor and a process monitor show the same figures for a process name and for a process id,
// and agree on which figures are not available.
#include <map>
#include <memory>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "libmor/SCA_Time.h"
#include "libtez/SCA_TezProcCounters.h"
#include "libtez/SCA_TezProcessMonitor.h"
#include "model/SCA_TezSampleStore.h"
#include "perf/SCA_PerfMonitor.h"
#include "tests/perf/PerfTestSupport.h"

namespace {

using perf_test::kSecond;

constexpr uint64_t kFirstSecond = 10;
constexpr uint64_t kSecondSecond = 12;
constexpr uint64_t kStart = 1700000100ull * SCA_ABS_TIME_SECOND;

class ProcessFiguresAgreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        uint32_t error = 0;
        ASSERT_EQ(1, m_Counters.Init(m_Store, &error));
        for (const char* instance : {"worker", "100", "200"}) {
            for (const uint32_t type : SCA_TEZ_PROC_COUNTER_TYPES) {
                uint32_t id = 0;
                ASSERT_EQ(1, m_Counters.OpenCounter(type, instance, &id, &error));
                m_Ids[Key(type, instance)] = id;
            }
        }
        ASSERT_EQ(1u, m_Processes.IsConstructed());
        Pass("s1", 1, kFirstSecond);
        Pass("s2", 2, kSecondSecond);
    }

    void Pass(const char* sample, uint64_t tick, uint64_t seconds) {
        const tagSCA_PERF_ROOTS roots = perf_test::Roots("two-cpu", sample);
        m_Store->SetRoots(roots);
        ASSERT_EQ(1, m_Counters.Sample(tick, seconds * kSecond));
        m_Processes.SetProcRoot(roots.Proc.c_str());
        ASSERT_EQ(1,
                  m_Processes.ScanOnce(seconds * kSecond, kStart + seconds * SCA_ABS_TIME_SECOND));
    }

    std::optional<double> CounterValue(uint32_t type, const std::string& instance) {
        double value = 0.0;
        if (!m_Counters.GetCounterValue(m_Ids.at(Key(type, instance)), &value)) {
            return std::nullopt;
        }
        return value;
    }

    // The last value of the process monitor's series of a process name.
    std::optional<double> NameValue(uint32_t type, const char* name) {
        SCA_TezProcess* process = nullptr;
        EXPECT_EQ(1, m_Processes.GetProcessList()->GetProcess(name, &process));
        for (auto* node = process->GetDataCounters()->GetHead(); node != nullptr;
             node = node->GetNext()) {
            if (node->GetItem()->GetCounterType() == type) {
                auto* store = static_cast<SCA_TezSampleStore*>(node->GetItem()->GetCounterData());
                return store->HasLastValue() ? std::optional(store->GetLastValue()) : std::nullopt;
            }
        }
        ADD_FAILURE() << "no series of type " << type;
        return std::nullopt;
    }

    // The value of the second pass in the statistics of one process id.
    std::optional<double> PidValue(uint32_t type, const char* name, uint32_t processId) {
        SCA_TezProcess* process = nullptr;
        SCA_TezProcessPid* pid = nullptr;
        tagSCA_TEZ_PROCESS_COUNTER* counter = nullptr;
        EXPECT_EQ(1, m_Processes.GetProcessList()->GetProcess(name, &process));
        EXPECT_EQ(1, process->GetPids()->GetPid(processId, &pid));
        if (!pid->GetCounter(type, &counter)) {
            return std::nullopt;
        }
        const bool gauge = type == SCA_COUNTER_PROCESS_MEM_USED ||
                           type == SCA_COUNTER_PROCESS_THREADS ||
                           type == SCA_COUNTER_PROCESS_HANDLES;
        // Gauges count from the first pass; shares and rates from the second.
        EXPECT_EQ(gauge ? 2u : 1u, counter->ValueCount) << type;
        return counter->LastValue;
    }

    static std::string Key(uint32_t type, const std::string& instance) {
        return std::to_string(type) + "/" + instance;
    }

    std::shared_ptr<SCA_PerfSnapshotStore> m_Store = perf_test::Store("two-cpu", "s1");
    SCA_PerfMonitor m_Counters;
    std::map<std::string, uint32_t> m_Ids;
    SCA_TezProcessMonitor m_Processes{nullptr, nullptr, nullptr, nullptr};
};

void ExpectSame(std::optional<double> counter, std::optional<double> process,
                const std::string& what) {
    ASSERT_EQ(counter.has_value(), process.has_value()) << what;
    if (counter) {
        EXPECT_DOUBLE_EQ(*counter, *process) << what;
    }
}

TEST_F(ProcessFiguresAgreeTest, ANameAndAPidShowTheSameFiguresInBothMonitors) {
    for (const uint32_t type : SCA_TEZ_PROC_COUNTER_TYPES) {
        ExpectSame(CounterValue(type, "worker"), NameValue(type, "worker"),
                   "worker, type " + std::to_string(type));
        ExpectSame(CounterValue(type, "100"), PidValue(type, "worker", 100),
                   "pid 100, type " + std::to_string(type));
        ExpectSame(CounterValue(type, "200"), PidValue(type, "worker", 200),
                   "pid 200, type " + std::to_string(type));
    }
    // The figures themselves, so that agreeing on nothing cannot pass.
    EXPECT_DOUBLE_EQ(20.0, *NameValue(SCA_COUNTER_PROCESS_CPU_USAGE, "worker"))
        << "200 of the computer's 1000 ticks";
    EXPECT_DOUBLE_EQ(15.0, *PidValue(SCA_COUNTER_PROCESS_CPU_USAGE, "worker", 100));
    EXPECT_DOUBLE_EQ(3000.0 * 4096, *NameValue(SCA_COUNTER_PROCESS_MEM_USED, "worker"));
    EXPECT_DOUBLE_EQ(12000.0, *PidValue(SCA_COUNTER_PROCESS_DATA_RATE, "worker", 100));
    EXPECT_FALSE(NameValue(SCA_COUNTER_PROCESS_HANDLES, "worker"))
        << "pid 200's descriptors cannot be read: the name has no count, not pid 100's alone";
    EXPECT_FALSE(NameValue(SCA_COUNTER_PROCESS_NPP_USED, "worker")) << "no Linux source";
}

} // namespace
