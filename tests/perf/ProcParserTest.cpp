// SPDX-License-Identifier: MIT
// The readers on texts as the kernel writes them, and on texts it never writes.
#include <gtest/gtest.h>

#include "perf/SCA_ProcParser.h"

namespace {

TEST(ProcParserTest, StatGivesEveryProcessorAndTheSystemCounters) {
    // An old kernel's lines with only four columns, no trailing newline at the end.
    const auto stat =
        SCA_ProcParser::ParseStat("cpu  10 1 5 80\ncpu0 10 1 5 80\ncpu3 1 2 3 4 5 "
                                  "6 7 8 9 10\nctxt 77\nintr 12 0 0\nprocs_running 2");
    ASSERT_TRUE(stat);
    EXPECT_EQ(96u, stat->All.Total());
    ASSERT_EQ(2u, stat->Cpus.size());
    EXPECT_EQ(3u, stat->Cpus[1].first);
    EXPECT_EQ(36u, stat->Cpus[1].second.Total()); // guest columns are inside user already
    EXPECT_EQ(77u, *stat->ContextSwitches);
    EXPECT_EQ(12u, *stat->Interrupts);
    EXPECT_EQ(2u, *stat->ProcsRunning);
    EXPECT_FALSE(SCA_ProcParser::ParseStat("cpu0 1 2 3 4\n")); // no total line
    EXPECT_FALSE(SCA_ProcParser::ParseStat("cpu 1 2 x 4\n"));
    EXPECT_FALSE(SCA_ProcParser::ParseStat(""));
}

TEST(ProcParserTest, KeyValuesMakeKibibytesBytesAndSkipBrokenLines) {
    const auto values = SCA_ProcParser::ParseKeyValues(
        "MemTotal:  100 kB\nbroken\nHugePages_Total: 3\npgfault 99\nHuge: 18446744073709551615 "
        "kB\n: 5\n");
    ASSERT_EQ(3u, values.size());
    EXPECT_EQ(102400u, *SCA_ProcParser::Find(values, "MemTotal"));
    EXPECT_EQ(3u, *SCA_ProcParser::Find(values, "HugePages_Total"));
    EXPECT_EQ(99u, *SCA_ProcParser::Find(values, "pgfault"));
    EXPECT_EQ(nullptr, SCA_ProcParser::Find(values, "Huge")); // would overflow as bytes
}

TEST(ProcParserTest, SnmpPairsHeadersWithValuesAndDropsNegativeGauges) {
    const auto values = SCA_ProcParser::ParseSnmp(
        "Tcp: MaxConn InSegs\nTcp: -1 42\nUdp: InDatagrams\nIp: 5\nUdp: NoPorts\nUdp: 7\n");
    EXPECT_EQ(42u, *SCA_ProcParser::Find(values, "Tcp.InSegs"));
    EXPECT_EQ(nullptr, SCA_ProcParser::Find(values, "Tcp.MaxConn"));
    EXPECT_EQ(nullptr, SCA_ProcParser::Find(values, "Udp.InDatagrams")); // mismatched pair
    EXPECT_EQ(7u, *SCA_ProcParser::Find(values, "Udp.NoPorts"));
}

TEST(ProcParserTest, DiskNetAndMountTablesKeepOnlyWholeLines) {
    const auto disks = SCA_ProcParser::ParseDiskStats(
        " 8 0 sda 1 2 3 4 5 6 7 8 9 10 11\n 8 1 sdb 1 2 3\n253 0 dm-0 1 2 3 4 5 6 7 8 9 10 11 "
        "12 13 14 15 16 17\n");
    ASSERT_EQ(2u, disks.size());
    EXPECT_EQ("sda", disks[0].Name);
    EXPECT_EQ(3u, disks[0].ReadSectors);
    EXPECT_EQ(9u, disks[0].InProgress);
    EXPECT_EQ(11u, disks[1].WeightedMs);

    const auto nics = SCA_ProcParser::ParseNetDev(
        "h1\nh2 | x\n eth0: 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16\nwlan0:1 2\n");
    ASSERT_EQ(1u, nics.size());
    EXPECT_EQ(9u, nics[0].TxBytes);
    EXPECT_EQ(12u, nics[0].TxDrops);

    const auto mounts = SCA_ProcParser::ParseMountInfo(
        "27 1 8:1 / /mnt/a\\040b rw shared:1 master:2 - ext4 /dev/sda1 rw\n"
        "28 1 bad / /x rw - ext4 /dev/x rw\n29 1 0:5 / /y rw\n");
    ASSERT_EQ(1u, mounts.size());
    EXPECT_EQ("/mnt/a b", mounts[0].MountPoint);
    EXPECT_EQ("ext4", mounts[0].FsType);
    EXPECT_EQ(8u, mounts[0].Major);
}

TEST(ProcParserTest, ProcessNamesMayHoldBlanksAndParentheses) {
    const auto stat = SCA_ProcParser::ParsePidStat(
        "42 (a) b (c)) S 7 42 42 0 -1 0 11 0 13 0 15 16 0 0 20 0 3 0 22 100 24 0\n");
    ASSERT_TRUE(stat);
    EXPECT_EQ(42u, stat->Pid);
    EXPECT_EQ("a) b (c)", stat->Name);
    EXPECT_EQ(7u, stat->ParentPid);
    EXPECT_EQ(11u, stat->MinorFaults);
    EXPECT_EQ(13u, stat->MajorFaults);
    EXPECT_EQ(15u, stat->UserTicks);
    EXPECT_EQ(16u, stat->SystemTicks);
    EXPECT_EQ(3u, stat->Threads);
    EXPECT_EQ(22u, stat->StartTicks);
    EXPECT_EQ(24u, stat->RssPages);
    EXPECT_FALSE(SCA_ProcParser::ParsePidStat("42 (cut) S 7 42"));
    EXPECT_FALSE(SCA_ProcParser::ParsePidStat(") 42 (x"));
}

TEST(ProcParserTest, SmallFilesAndModuleMaps) {
    EXPECT_EQ(345u, *SCA_ProcParser::ParseLoadAvgThreads("0.1 0.2 0.3 2/345 99\n"));
    EXPECT_FALSE(SCA_ProcParser::ParseLoadAvgThreads("0.1 0.2\n"));
    EXPECT_FALSE(SCA_ProcParser::ParseFirstNumber("-1\n")); // a link without a speed
    EXPECT_EQ(0u, *SCA_ProcParser::ParseNthNumber("2048\t0\t9\n", 1));
    EXPECT_EQ(1u, SCA_ProcParser::CountEstablished("hdr\n 0: a b 01 x\n 1: a b 0A x\n 2: a\n"));
    const auto paths = SCA_ProcParser::ParseMapsPaths(
        "1-2 r--p 0 08:01 5 /bin/a\n2-3 r-xp 0 08:01 5 /bin/a\n3-4 rw-p 0 00:00 0 \n"
        "4-5 rw-p 0 00:00 0 [heap]\n5-6 r--p 0 08:01 7 /lib/my lib.so\n");
    ASSERT_EQ(2u, paths.size());
    EXPECT_EQ("/bin/a", paths[0]);
    EXPECT_EQ("/lib/my lib.so", paths[1]);
    const auto shares =
        SCA_ProcParser::ParseSambaShares("[Global]\n[data]\n [x y] \n[]\n[PRINT$]\n");
    ASSERT_EQ(2u, shares.size());
    EXPECT_EQ("x y", shares[1]);
}

} // namespace
