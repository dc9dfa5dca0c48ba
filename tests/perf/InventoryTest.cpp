// SPDX-License-Identifier: MIT
// The inventory lists on the captured two-cpu machine: what each lists, what it leaves out, and
// statuses that can never read as success by accident.
#include <dlfcn.h>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "perf/SCA_PerfErrors.h"
#include "perf/SCA_PerfMonCpuList.h"
#include "perf/SCA_PerfMonCpuListEx.h"
#include "perf/SCA_PerfMonIScsiTrgs.h"
#include "perf/SCA_PerfMonLDisks.h"
#include "perf/SCA_PerfMonNicList.h"
#include "perf/SCA_PerfMonPDisks.h"
#include "perf/SCA_PerfMonPrinters.h"
#include "perf/SCA_PerfMonProcList.h"
#include "perf/SCA_PerfMonSmbShares.h"
#include "perf/SCA_PerfMonSqlDbs.h"
#include "perf/SCA_PerfMonSqlSrvs.h"
#include "perf/SCA_PerfMonUsbList.h"
#include "perf/SCA_PerfMonWebSites.h"
#include "perf/SCA_PerfMonitor.h"
#include "tests/perf/PerfTestSupport.h"

namespace {

std::vector<std::string> Names(SCA_ConfigObj& list) {
    std::vector<std::string> names;
    for (SCA_Field* field = list.GetHead(); field != nullptr; field = field->GetNext()) {
        names.emplace_back(field->GetName());
    }
    return names;
}

using Names_t = std::vector<std::string>;

class InventoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        uint32_t error = 0;
        ASSERT_EQ(1, m_Collector.Init(perf_test::Store("two-cpu", "s1"), &error));
    }
    SCA_PerfMonitor m_Collector;
    uint32_t m_Error = 0;
};

TEST_F(InventoryTest, ListsOfTheMachine) {
    SCA_PerfMonCpuList cpus;
    ASSERT_EQ(1, cpus.Init(&m_Collector, "", &m_Error));
    EXPECT_EQ((Names_t{"0", "1"}), Names(cpus));
    SCA_PerfMonCpuListEx freq;
    ASSERT_EQ(1, freq.Init(&m_Collector, "localhost", &m_Error));
    EXPECT_EQ((Names_t{"0", "1"}), Names(freq));
    SCA_PerfMonNicList nics;
    ASSERT_EQ(1, nics.Init(&m_Collector, "", &m_Error));
    EXPECT_EQ((Names_t{"eth0"}), Names(nics));
    SCA_PerfMonLDisks disks;
    ASSERT_EQ(1, disks.Init(&m_Collector, "", &m_Error));
    EXPECT_EQ((Names_t{"/", "/mnt/my data"}), Names(disks)) << "no proc, tmpfs or cgroup2";
    SCA_PerfMonPDisks physical;
    ASSERT_EQ(1, physical.Init(&m_Collector, "", &m_Error));
    EXPECT_EQ((Names_t{"sda"}), Names(physical)) << "no partitions, no loop devices";
    SCA_PerfMonUsbList usb;
    ASSERT_EQ(1, usb.Init(&m_Collector, "", &m_Error));
    EXPECT_EQ((Names_t{"1-1 USB Keyboard"}), Names(usb));
    SCA_PerfMonSmbShares shares;
    SCA_ConfigObj exclude("ExcludeList", nullptr);
    exclude.AddField("_Total", 0);
    exclude.AddField("Media", 0);
    ASSERT_EQ(1, shares.Init(&m_Collector, "", 1, &exclude, &m_Error));
    EXPECT_EQ((Names_t{"public"}), Names(shares));
    SCA_PerfMonProcList processes;
    SCA_ConfigObj skip("ExcludeList", nullptr);
    skip.AddField("newbie", 0);
    ASSERT_EQ(1, processes.Init(&m_Collector, "", &skip, &m_Error));
    EXPECT_EQ((Names_t{"worker", "my (odd) app"}), Names(processes));
    EXPECT_EQ(2u, processes.GetTotalInstances());
    EXPECT_EQ(0u, processes.GetExcludedInstances());
    // Printers answer whatever the print server has, and never fail for want of one.
    SCA_PerfMonPrinters printers;
    EXPECT_EQ(1, printers.Init(&m_Collector, "", &m_Error));
    // The print library is loaded for that question: a name that finds no library would leave
    // every machine without printers.
    void* printLibrary = dlopen("libcups.so.2", RTLD_NOW | RTLD_NOLOAD);
    EXPECT_NE(nullptr, printLibrary) << "the print library was not loaded";
    if (printLibrary != nullptr) {
        dlclose(printLibrary);
    }
}

TEST_F(InventoryTest, CategoriesLinuxDoesNotHaveAnswerNotSupported) {
    SCA_PerfMonSqlSrvs sql;
    SCA_PerfMonSqlDbs databases;
    SCA_PerfMonWebSites sites;
    SCA_PerfMonIScsiTrgs targets;
    m_Error = 1;
    EXPECT_EQ(0, sql.Init(&m_Collector, "", &m_Error));
    EXPECT_EQ(SCA_PERF_ERROR_NOT_SUPPORTED, m_Error);
    m_Error = 1;
    EXPECT_EQ(0, databases.Init(&m_Collector, "", "MSSQL", nullptr, &m_Error));
    EXPECT_EQ(SCA_PERF_ERROR_NOT_SUPPORTED, m_Error);
    m_Error = 1;
    EXPECT_EQ(0, sites.Init(&m_Collector, "", nullptr, &m_Error));
    EXPECT_EQ(SCA_PERF_ERROR_NOT_SUPPORTED, m_Error);
    m_Error = 1;
    EXPECT_EQ(0, targets.Init(&m_Collector, "", nullptr, &m_Error));
    EXPECT_EQ(SCA_PERF_ERROR_NOT_SUPPORTED, m_Error);
    // A machine without a file server, and one without CPU frequencies.
    SCA_PerfMonitor bare;
    ASSERT_EQ(1, bare.Init(perf_test::Store("vm-real", "s1"), &m_Error));
    SCA_PerfMonSmbShares shares;
    m_Error = 1;
    EXPECT_EQ(0, shares.Init(&bare, "", 1, nullptr, &m_Error));
    EXPECT_EQ(SCA_PERF_ERROR_NOT_SUPPORTED, m_Error);
    SCA_PerfMonCpuListEx freq;
    m_Error = 1;
    EXPECT_EQ(0, freq.Init(&bare, "", &m_Error)) << "an empty list must not mean 'available'";
    EXPECT_EQ(SCA_PERF_ERROR_NOT_SUPPORTED, m_Error);
}

TEST_F(InventoryTest, RemoteComputersFailAndLeaveTheListEmpty) {
    SCA_PerfMonNicList nics;
    nics.AddField("stale", 0);
    EXPECT_EQ(0, nics.Init(&m_Collector, "remote-host", &m_Error));
    EXPECT_EQ(SCA_PERF_ERROR_REMOTE, m_Error);
    EXPECT_EQ(0u, nics.GetFieldCount());
    SCA_PerfMonCpuList cpus;
    EXPECT_EQ(0, cpus.Init(nullptr, "", &m_Error));
    EXPECT_EQ(SCA_PERF_ERROR_ARGUMENT, m_Error);
}

} // namespace
