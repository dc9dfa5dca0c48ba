// SPDX-License-Identifier: MIT
// Whole counter families on captured trees, checked against hand arithmetic. The two-cpu
// machine's second sample is 2 s after the first; its third sample is a counter reset.
#include <cmath>
#include <map>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezCounterMeta.h"
#include "perf/SCA_PerfErrors.h"
#include "perf/SCA_PerfMonitor.h"
#include "perf/SCA_PerfSourceTable.h"
#include "tests/perf/PerfTestSupport.h"

namespace {

using perf_test::kSecond;

constexpr double kKiB = 1024.0;

// A collector over the two-cpu fixture with one counter per (type, instance) asked.
class TwoSamples {
public:
    explicit TwoSamples(std::vector<std::pair<uint32_t, std::string>> counters)
        : m_Store(perf_test::Store("two-cpu", "s1")) {
        uint32_t error = 0;
        EXPECT_EQ(1, m_Monitor.Init(m_Store, &error));
        for (const auto& [type, instance] : counters) {
            uint32_t id = 0;
            EXPECT_EQ(1, m_Monitor.OpenCounter(type, instance.c_str(), &id, &error));
            m_Ids[{type, instance}] = id;
        }
    }

    void Sample(const char* sample, uint64_t tick, uint64_t seconds) {
        m_Store->SetRoots(perf_test::Roots("two-cpu", sample));
        ASSERT_EQ(1, m_Monitor.Sample(tick, seconds * kSecond));
    }

    std::optional<double> Value(uint32_t type, const std::string& instance = "") {
        double value = 0.0;
        if (!m_Monitor.GetCounterValue(m_Ids.at({type, instance}), &value)) {
            return std::nullopt;
        }
        return value;
    }

    SCA_PerfMonitor& Monitor() { return m_Monitor; }

private:
    std::shared_ptr<SCA_PerfSnapshotStore> m_Store;
    SCA_PerfMonitor m_Monitor;
    std::map<std::pair<uint32_t, std::string>, uint32_t> m_Ids;
};

void ExpectValue(double expected, std::optional<double> value, const char* what) {
    ASSERT_TRUE(value) << what << " has no value";
    EXPECT_NEAR(expected, *value, 1e-9) << what;
}

TEST(CollectorFixtureTest, ProcessorSharesRatesAndFrequencies) {
    TwoSamples cpu({{1, ""},
                    {1, "0"},
                    {1, "1"},
                    {1, "7"},
                    {2, ""},
                    {3, ""},
                    {60, ""},
                    {61, ""},
                    {41, ""},
                    {40, ""},
                    {75, ""},
                    {75, "1"},
                    {80, ""},
                    {81, ""},
                    {81, "0"}});
    cpu.Sample("s1", 1, 10);
    // One sample: only gauges have a value.
    EXPECT_FALSE(cpu.Value(1));
    ExpectValue(3.0, cpu.Value(40), "processor queue");
    ExpectValue(2250.0, cpu.Value(80), "mean MHz");
    cpu.Sample("s2", 2, 12);
    // All: user 200, system 100, idle 600, iowait 50, irq 25, softirq 25 of 1000 jiffies.
    ExpectValue(35.0, cpu.Value(1), "total");
    ExpectValue(40.0, cpu.Value(1, "0"), "cpu0: 300 idle of 500");
    ExpectValue(30.0, cpu.Value(1, "1"), "cpu1: 350 idle and iowait of 500");
    EXPECT_FALSE(cpu.Value(1, "7")) << "a processor this computer does not have";
    ExpectValue(20.0, cpu.Value(2), "user");
    ExpectValue(15.0, cpu.Value(3), "system with interrupts");
    ExpectValue(5.0, cpu.Value(60), "interrupt time");
    ExpectValue(1000.0, cpu.Value(61), "2000 interrupts in 2 s");
    ExpectValue(3000.0, cpu.Value(41), "6000 switches in 2 s");
    ExpectValue(4.0, cpu.Value(40), "processor queue");
    ExpectValue(37.5, cpu.Value(75), "C1: 0.5 s and 1 s of 2 s, averaged");
    ExpectValue(50.0, cpu.Value(75, "1"), "C1 of cpu1");
    ExpectValue(75.0, cpu.Value(81), "50 % and 100 % of the maximum");
    ExpectValue(50.0, cpu.Value(81, "0"), "1.5 of 3 GHz");
}

TEST(CollectorFixtureTest, MemoryFiguresAndPagingRates) {
    TwoSamples mem({{4, ""},
                    {5, ""},
                    {6, ""},
                    {19, ""},
                    {72, ""},
                    {73, ""},
                    {74, ""},
                    {78, ""},
                    {84, ""},
                    {85, ""}});
    mem.Sample("s1", 1, 10);
    mem.Sample("s2", 2, 12);
    ExpectValue(25.0, mem.Value(4), "2 of 8 GB used");
    ExpectValue(6000000 * kKiB, mem.Value(5), "available");
    ExpectValue(2000000 * kKiB, mem.Value(19), "used");
    ExpectValue(2200000 * kKiB, mem.Value(6), "cache and buffers");
    ExpectValue(2000.0, mem.Value(72), "4000 faults in 2 s");
    ExpectValue(10.0, mem.Value(73), "20 pages in");
    ExpectValue(20.0, mem.Value(74), "40 pages out");
    ExpectValue(25.0, mem.Value(78), "0.5 of 2 GB swap");
    ExpectValue(6000000 * kKiB, mem.Value(84), "commit limit");
    ExpectValue(100000 * kKiB, mem.Value(85), "unreclaimable kernel memory");
}

TEST(CollectorFixtureTest, DisksLogicalAndPhysical) {
    TwoSamples disk(
        {{248, ""},    {248, "sda"},         {249, "sda"},   {250, "sda"}, {251, "sda"},
         {252, "sda"}, {253, "sda"},         {254, "sda"},   {255, "sda"}, {256, "sda"},
         {257, "sda"}, {258, "sda"},         {260, "sda"},   {261, "sda"}, {263, "sda"},
         {264, "sda"}, {266, "sda"},         {248, "loop0"}, {7, "/"},     {7, ""},
         {13, "/"},    {57, "/mnt/my data"}, {57, "/"},      {59, "/"},    {57, "/proc"}});
    disk.Sample("s1", 1, 10);
    disk.Sample("s2", 2, 12);
    // sda: +200 reads of 4000 sectors in 300 ms, +100 writes of 2000 sectors in 100 ms,
    // busy 1000 of 2000 ms, weighted 1600 ms, 2 in flight.
    ExpectValue(50.0, disk.Value(248, "sda"), "activity");
    ExpectValue(50.0, disk.Value(248), "the only whole disk");
    ExpectValue(37.5, disk.Value(249, "sda"), "read share of the busy time");
    ExpectValue(12.5, disk.Value(250, "sda"), "write share");
    ExpectValue(6000 * 512 / 2.0, disk.Value(251, "sda"), "bytes per second");
    ExpectValue(4000 * 512 / 2.0, disk.Value(252, "sda"), "read bytes per second");
    ExpectValue(2000 * 512 / 2.0, disk.Value(253, "sda"), "write bytes per second");
    ExpectValue(150.0, disk.Value(254, "sda"), "IOPS");
    ExpectValue(100.0, disk.Value(255, "sda"), "read IOPS");
    ExpectValue(50.0, disk.Value(256, "sda"), "write IOPS");
    ExpectValue(10240.0, disk.Value(257, "sda"), "request size");
    ExpectValue(10240.0, disk.Value(258, "sda"), "read request size");
    ExpectValue(400.0 / 300.0, disk.Value(260, "sda"), "ms per request");
    ExpectValue(1.5, disk.Value(261, "sda"), "ms per read");
    ExpectValue(0.8, disk.Value(263, "sda"), "average queue");
    ExpectValue(0.15, disk.Value(264, "sda"), "average read queue");
    ExpectValue(2.0, disk.Value(266, "sda"), "in flight");
    EXPECT_FALSE(disk.Value(248, "loop0")) << "loop devices are not physical disks";
    // "/" is sda1: busy 500 of 2000 ms, 150 requests in 2 s; the bind mount is the same device.
    ExpectValue(25.0, disk.Value(7, "/"), "logical activity");
    ExpectValue(25.0, disk.Value(7), "all logical disks count each device once");
    ExpectValue(75.0, disk.Value(13, "/"), "logical IOPS");
    EXPECT_FALSE(disk.Value(57, "/mnt/my data")) << "a mount point that is not on this machine";
    EXPECT_FALSE(disk.Value(57, "/proc")) << "pseudo file systems are left out";
    ASSERT_TRUE(disk.Value(57, "/")) << "statvfs of the real /";
    ASSERT_TRUE(disk.Value(59, "/"));
    EXPECT_GE(*disk.Value(59, "/"), 0.0);
    EXPECT_LE(*disk.Value(59, "/"), 100.0);
}

TEST(CollectorFixtureTest, NetworkAndProtocols) {
    TwoSamples net({{16, ""},     {16, "eth0"},  {17, "eth0"}, {18, "eth0"}, {62, "eth0"},
                    {63, "eth0"}, {64, "eth0"},  {65, "eth0"}, {66, "eth0"}, {67, "eth0"},
                    {68, "eth0"}, {300, "eth0"}, {300, "lo"},  {16, "lo"},   {16, "wlan9"},
                    {161, ""},    {162, ""},     {169, ""},    {171, ""},    {180, ""},
                    {165, ""},    {281, ""},     {286, ""},    {291, ""},    {282, ""},
                    {285, ""},    {170, ""}});
    net.Sample("s1", 1, 10);
    net.Sample("s2", 2, 12);
    ExpectValue(150000.0, net.Value(16, "eth0"), "200 kB in, 100 kB out in 2 s");
    ExpectValue(150000.0, net.Value(16), "all adapters but loopback");
    ExpectValue(10000.0, net.Value(16, "lo"), "loopback when asked by name");
    EXPECT_FALSE(net.Value(16, "wlan9"));
    ExpectValue(50000.0, net.Value(17, "eth0"), "send");
    ExpectValue(100000.0, net.Value(18, "eth0"), "receive");
    ExpectValue(300.0, net.Value(62, "eth0"), "packets");
    ExpectValue(100.0, net.Value(63, "eth0"), "packets sent");
    ExpectValue(200.0, net.Value(64, "eth0"), "packets received");
    ExpectValue(3.0, net.Value(65, "eth0"), "send errors");
    ExpectValue(1.0, net.Value(66, "eth0"), "receive errors");
    ExpectValue(4.0, net.Value(67, "eth0"), "send drops");
    ExpectValue(2.0, net.Value(68, "eth0"), "receive drops");
    ExpectValue(1e9, net.Value(300, "eth0"), "a gigabit link");
    EXPECT_FALSE(net.Value(300, "lo")) << "a link without a speed";
    ExpectValue(900.0, net.Value(161), "1800 segments in 2 s");
    ExpectValue(7.0, net.Value(162), "established");
    ExpectValue(2.0, net.Value(169), "retransmits");
    ExpectValue(2.0, net.Value(171), "established over v4");
    ExpectValue(1.0, net.Value(180), "established over v6");
    ExpectValue(5.0, net.Value(165), "failures");
    EXPECT_FALSE(net.Value(170)) << "the kernel does not count segments per version";
    ExpectValue(450.0, net.Value(281), "v4 and v6 datagrams");
    ExpectValue(300.0, net.Value(286), "v4 datagrams");
    ExpectValue(150.0, net.Value(291), "v6 datagrams");
    ExpectValue(3.0, net.Value(282), "no-port datagrams");
    ExpectValue(1.0, net.Value(285), "receive errors");
}

TEST(CollectorFixtureTest, ProcessesAndTheSystem) {
    TwoSamples proc({{43, "worker"},
                     {43, "100"},
                     {44, "100"},
                     {45, "100"},
                     {46, "worker"},
                     {47, "100"},
                     {48, "worker"},
                     {51, "100"},
                     {53, "100"},
                     {54, "100"},
                     {56, "100"},
                     {114, "100"},
                     {245, "worker"},
                     {247, "100"},
                     {246, "100"},
                     {43, "my (odd) app"},
                     {46, "my (odd) app"},
                     {48, "my (odd) app"},
                     {43, "newbie"},
                     {46, "newbie"},
                     {38, ""},
                     {39, ""},
                     {115, ""},
                     {83, ""},
                     {82, ""}});
    proc.Sample("s1", 1, 10);
    ExpectValue(1.0, proc.Value(48, "my (odd) app"), "the process is there at first");
    proc.Sample("s2", 2, 12);
    ExpectValue(20.0, proc.Value(43, "worker"), "two processes, 200 of 1000 jiffies");
    ExpectValue(15.0, proc.Value(43, "100"), "by process id");
    ExpectValue(10.0, proc.Value(44, "100"), "user");
    ExpectValue(5.0, proc.Value(45, "100"), "system");
    ExpectValue(3000.0 * 4096, proc.Value(46, "worker"), "resident pages");
    ExpectValue(3.0, proc.Value(47, "100"), "open descriptors");
    ExpectValue(6.0, proc.Value(48, "worker"), "threads");
    ExpectValue(12000.0, proc.Value(51, "100"), "24000 bytes in 2 s");
    ExpectValue(10000.0, proc.Value(53, "100"), "read bytes");
    ExpectValue(100.0, proc.Value(54, "100"), "read calls");
    ExpectValue(20.0, proc.Value(56, "100"), "write calls");
    ExpectValue(100.0, proc.Value(114, "100"), "200 faults in 2 s");
    ExpectValue(100.0, proc.Value(245, "worker"), "the first process id");
    ExpectValue(1.0, proc.Value(247, "100"), "parent");
    ExpectValue(10000.0 - 500.0 / 100.0, proc.Value(246, "100"), "run time at 100 ticks/s");
    // A process that ended and one that just started: no value, no error.
    EXPECT_FALSE(proc.Value(43, "my (odd) app"));
    EXPECT_FALSE(proc.Value(46, "my (odd) app"));
    EXPECT_FALSE(proc.Value(43, "newbie")) << "no earlier sample to compare with";
    ExpectValue(50.0 * 4096, proc.Value(46, "newbie"), "gauges need one sample only");
    ExpectValue(3.0, proc.Value(38), "process folders");
    ExpectValue(345.0, proc.Value(39), "threads of loadavg");
    ExpectValue(2048.0, proc.Value(115), "file handles");
    ExpectValue(2.0, proc.Value(83), "logind sessions");
    ExpectValue(1.0, proc.Value(82), "inactive sessions");
}

TEST(CollectorFixtureTest, ResetsAndStandingTimeGiveNoValue) {
    TwoSamples all(
        {{1, ""}, {16, "eth0"}, {251, "sda"}, {72, ""}, {161, ""}, {43, "worker"}, {4, ""}});
    all.Sample("s2", 1, 10);
    all.Sample("s3", 2, 12); // every counter smaller than before
    EXPECT_FALSE(all.Value(1));
    EXPECT_FALSE(all.Value(16, "eth0"));
    EXPECT_FALSE(all.Value(251, "sda"));
    EXPECT_FALSE(all.Value(72));
    EXPECT_FALSE(all.Value(161));
    EXPECT_FALSE(all.Value(43, "worker"));
    ExpectValue(25.0, all.Value(4), "gauges are not affected");
    // The next sample compares with the reset one and has values again.
    all.Sample("s2", 3, 14);
    ExpectValue((104000 - 50) / 2.0, all.Value(72), "faults since the reset");
    // A second tick at the same moment: no time passed, so no rate.
    all.Sample("s2", 4, 14);
    EXPECT_FALSE(all.Value(72));
    EXPECT_FALSE(all.Value(1));
    ExpectValue(25.0, all.Value(4), "gauges still are");
}

} // namespace
