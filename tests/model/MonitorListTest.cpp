#include <sys/stat.h>

#include <cstdint>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "model/SCA_ConfigObj.h"
#include "model/SCA_SrvMonitor.h"
#include "model/SCA_SrvMonitorList.h"
#include "model/SCA_TezMonitor.h"
#include "model/SCA_TezMonitorList.h"
#include "tests/model/RecordTestSupport.h"

using records_test::Repeat;
using records_test::StoredForm;
using records_test::Transfer;

namespace {

// A disk monitor of drive C: with two counters.
SCA_SrvMonitor* AddDiskMonitor(SCA_SrvMonitorList* list, const char* description) {
    SCA_SrvMonitor* monitor = nullptr;
    EXPECT_EQ(list->AddMonitor(SCA_SRV_MONITOR_COUNTERS, 7, description, &monitor), 1);
    if (monitor != nullptr) {
        EXPECT_EQ(monitor->GetProfile()->GetCounterList()->Init(4, nullptr, nullptr, "C:"), 1);
        monitor->SetSaveReports(1);
        monitor->SetSaveReportsDir("/srv/reports");
    }
    return monitor;
}

std::string MonitorsPath(const model_test::TempDir& dir) {
    return dir / SCA_SRV_MONITORS_FILE;
}

} // namespace

TEST(MonitorEntries, AreLocalExactlyWithoutAComputerName) {
    SCA_TezMonitor entry;
    EXPECT_EQ(entry.IsLocal(), 1);
    EXPECT_EQ(entry.IsRemote(), 0);
    entry.SetComputerName("db1");
    EXPECT_EQ(entry.IsLocal(), 0);
    EXPECT_EQ(entry.IsRemote(), 1);

    SCA_TezMonitorList entries;
    auto* stored = new SCA_TezMonitor(entry);
    uint32_t id = 0;
    ASSERT_EQ(entries.AddMonitor(stored, &id), 1);
    SCA_TezMonitorList read;
    ASSERT_EQ(Transfer(entries, &read), 1);
    SCA_TezMonitor* back = nullptr;
    ASSERT_EQ(read.GetMonitor(id, &back), 1);
    EXPECT_STREQ(back->GetComputerName(), "db1");
    EXPECT_EQ(back->GetMonitorId(), id);
}

TEST(MonitorDefinitions, LocalRemoteAndEmpty) {
    SCA_SrvMonitor monitor(nullptr, nullptr);
    monitor.SetComputerName("db1");
    monitor.SetRemoteMonitor(0);
    EXPECT_EQ(monitor.IsLocal(), 1);
    EXPECT_EQ(monitor.IsRemote(), 0);
    monitor.SetComputerName("");
    monitor.SetRemoteMonitor(1);
    EXPECT_EQ(monitor.IsLocal(), 0);
    EXPECT_EQ(monitor.IsRemote(), 0);
    monitor.SetComputerName("db1");
    EXPECT_EQ(monitor.IsRemote(), 1);

    EXPECT_EQ(monitor.IsEmpty(), 1);
    monitor.SetMonitorType(SCA_SRV_MONITOR_PROCESS);
    EXPECT_EQ(monitor.IsEmpty(), 0);
    monitor.SetMonitorType(SCA_SRV_MONITOR_COUNTERS);
    ASSERT_EQ(monitor.GetProfile()->GetCounterList()->AddCounter(1, "", "", "", nullptr), 1);
    EXPECT_EQ(monitor.IsEmpty(), 0);
}

TEST(MonitorDefinitions, ComputerNameIsCutToItsField) {
    SCA_SrvMonitor monitor(nullptr, nullptr);
    monitor.SetComputerName(Repeat('h', 70).c_str());
    EXPECT_EQ(std::string(monitor.GetComputerName()), Repeat('h', 63));
    monitor.SetDescription(Repeat('d', 256).c_str());
    EXPECT_EQ(std::string(monitor.GetDescription()), Repeat('d', 255));
    monitor.SetSaveReportsDir(nullptr);
    EXPECT_STREQ(monitor.GetSaveReportsDir(), "");

    // A stored name that is too long is cut the same way when read.
    SCA_ConfigObj object("Monitor", nullptr);
    object.AddField("ComputerName", Repeat('r', 70).c_str());
    ASSERT_EQ(monitor.Deserialize(&object), 1);
    EXPECT_EQ(std::string(monitor.GetComputerName()), Repeat('r', 63));
}

TEST(MonitorDefinitions, CopiesOwnTheirProfile) {
    SCA_SrvMonitorList list(nullptr, nullptr);
    SCA_SrvMonitor* source = AddDiskMonitor(&list, "Disk Monitor - C:\\");
    ASSERT_NE(source, nullptr);

    SCA_SrvMonitor copy(*source);
    ASSERT_EQ(copy.IsConstructed(), 1u);
    EXPECT_EQ(StoredForm(copy), StoredForm(*source));
    EXPECT_NE(copy.GetProfile()->GetCounterList()->GetHead()->GetItem(),
              source->GetProfile()->GetCounterList()->GetHead()->GetItem());
    list.ClearAll();
    EXPECT_EQ(copy.GetProfile()->GetCounterList()->Count(), 13u);
}

TEST(MonitorDefinitions, RoundTripEveryField) {
    SCA_SrvMonitor monitor(nullptr, nullptr);
    monitor.SetMonitorId(12);
    monitor.SetMonitorType(1);
    monitor.SetMonitorMode(5);
    monitor.SetProfileMode(19);
    monitor.SetDescription("Process Monitor");
    monitor.SetComputerName("web1");
    monitor.SetRemoteMonitor(1);
    monitor.SetAutoStart(0);
    monitor.SetAbsTime(0xFEDCBA9876543210ull);
    monitor.SetSaveReports(1);
    monitor.SetSaveReportsTime(77);
    monitor.SetSaveReportsPeriod(900);
    monitor.SetSaveReportsFormat(22);
    monitor.SetSaveReportsMode(2);
    monitor.SetSaveReportsHistory(30);
    monitor.SetSaveReportsDir("/var/lib/korvanta/reports");

    SCA_SrvMonitor read(nullptr, nullptr);
    ASSERT_EQ(Transfer(monitor, &read), 1);
    EXPECT_EQ(StoredForm(read), StoredForm(monitor));
    EXPECT_EQ(read.GetAbsTime(), 0xFEDCBA9876543210ull);
    EXPECT_EQ(read.GetSaveReportsFormat(), 22u);
    EXPECT_EQ(read.GetAutoStart(), 0);
    EXPECT_EQ(read.IsRemote(), 1);
}

TEST(MonitorList, HandsOutIdsOnceAndCountsChanges) {
    SCA_SrvMonitorList list(nullptr, nullptr);
    const uint32_t status = list.GetMonitorsStatus();
    SCA_SrvMonitor* first = AddDiskMonitor(&list, "first");
    SCA_SrvMonitor* second = AddDiskMonitor(&list, "second");
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(first->GetMonitorId(), 1u);
    EXPECT_EQ(second->GetMonitorId(), 2u);
    EXPECT_EQ(second->GetProfile()->GetMonitorId(), 2u);
    EXPECT_EQ(list.GetMonitorsStatus(), status + 2);

    SCA_SrvMonitor* found = nullptr;
    ASSERT_EQ(list.GetMonitor(2u, &found), 1);
    EXPECT_EQ(found, second);
    ASSERT_EQ(list.DeleteMonitor(2u), 1);
    EXPECT_EQ(list.GetMonitorsStatus(), status + 3);
    EXPECT_EQ(list.DeleteMonitor(2u), 0);
    EXPECT_EQ(list.GetMonitorsStatus(), status + 3);

    list.ClearAll();
    EXPECT_EQ(list.GetMonitorsStatus(), status + 4);
    SCA_SrvMonitor* third = AddDiskMonitor(&list, "third");
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(third->GetMonitorId(), 3u);
}

TEST(MonitorList, FindsAnExistingDefinition) {
    SCA_SrvMonitorList list(nullptr, nullptr);
    SCA_SrvMonitor* disk = AddDiskMonitor(&list, "Disk Monitor - C:\\");
    ASSERT_NE(disk, nullptr);

    SCA_SrvMonitor candidate(*disk);
    candidate.SetMonitorId(0xFFFFFFFFu);
    candidate.SetSaveReports(0);
    uint32_t id = 0;
    ASSERT_EQ(list.IsMonitorExists(&candidate, &id), 1);
    EXPECT_EQ(id, disk->GetMonitorId());

    // Another drive is another monitor.
    ASSERT_EQ(candidate.GetProfile()->GetCounterList()->Init(4, nullptr, nullptr, "D:"), 1);
    id = 77;
    EXPECT_EQ(list.IsMonitorExists(&candidate, &id), 0);
    EXPECT_EQ(id, 77u);

    // A computer name counts only for a remote monitor.
    SCA_SrvMonitor local(*disk);
    local.SetComputerName("db1");
    EXPECT_EQ(list.IsMonitorExists(&local, &id), 1);
    local.SetRemoteMonitor(1);
    EXPECT_EQ(list.IsMonitorExists(&local, &id), 0);
    EXPECT_EQ(list.IsMonitorExists(nullptr, &id), 0);
}

TEST(MonitorFile, SaveAndLoadKeepOrderIdsAndFields) {
    model_test::TempDir dir;
    SCA_SrvMonitorList list(nullptr, nullptr);
    list.SetConfigDir(dir.Path().c_str());
    AddDiskMonitor(&list, "one");
    AddDiskMonitor(&list, "two");
    AddDiskMonitor(&list, "three");
    ASSERT_EQ(list.DeleteMonitor(3u), 1);
    ASSERT_EQ(list.MoveItemUp(2u), 1);
    ASSERT_EQ(list.Save(), 1);

    struct stat info {};
    ASSERT_EQ(stat(MonitorsPath(dir).c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    SCA_SrvMonitorList loaded(nullptr, nullptr);
    loaded.SetConfigDir(dir.Path().c_str());
    const uint32_t status = loaded.GetMonitorsStatus();
    ASSERT_EQ(loaded.Load(), 1);
    EXPECT_NE(loaded.GetMonitorsStatus(), status);
    EXPECT_EQ(StoredForm(loaded), StoredForm(list));
    ASSERT_EQ(loaded.Count(), 2u);
    EXPECT_STREQ(loaded.GetHead()->GetItem()->GetDescription(), "two");
    EXPECT_EQ(loaded.GetHead()->GetId(), 2u);

    // The deleted monitor's id is not handed out again after the reload.
    SCA_SrvMonitor* added = AddDiskMonitor(&loaded, "four");
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->GetMonitorId(), 4u);
}

TEST(MonitorFile, IdsStayUsedAfterClearSaveAndLoad) {
    model_test::TempDir dir;
    SCA_SrvMonitorList list(nullptr, nullptr);
    list.SetConfigDir(dir.Path().c_str());
    AddDiskMonitor(&list, "one");
    AddDiskMonitor(&list, "two");
    list.ClearAll();
    ASSERT_EQ(list.Save(), 1);

    SCA_SrvMonitorList loaded(nullptr, nullptr);
    loaded.SetConfigDir(dir.Path().c_str());
    ASSERT_EQ(loaded.Load(), 1);
    EXPECT_EQ(loaded.Count(), 0u);
    SCA_SrvMonitor* added = AddDiskMonitor(&loaded, "new");
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->GetMonitorId(), 3u);
}

TEST(MonitorFile, MissingFileIsAnEmptyListAndABrokenOneChangesNothing) {
    model_test::TempDir dir;
    SCA_SrvMonitorList list(nullptr, nullptr);
    list.SetConfigDir(dir.Path().c_str());
    ASSERT_EQ(list.Load(), 1);
    EXPECT_EQ(list.Count(), 0u);

    AddDiskMonitor(&list, "kept");
    const std::string before = StoredForm(list);
    std::ofstream(MonitorsPath(dir)) << "not a configuration file";
    model_test::Reports reports;
    EXPECT_EQ(list.Load(), 0);
    EXPECT_EQ(StoredForm(list), before);
    EXPECT_FALSE(reports.TakeTexts().empty());

    // A configuration file of another kind is refused too.
    SCA_ConfigObj other(SCA_SRV_MONITORS_ROOT, nullptr);
    uint32_t error = 0;
    ASSERT_EQ(other.Save(MonitorsPath(dir).c_str(), 1011, 0, &error), 1);
    EXPECT_EQ(list.Load(), 0);
    EXPECT_EQ(StoredForm(list), before);
}

TEST(MonitorList, AStoredMonitorTakesItsListId) {
    SCA_ConfigObj object(SCA_SRV_MONITORS_ROOT, nullptr);
    SCA_ConfigObj* stored = object.AddConfigObj("8");
    ASSERT_NE(stored, nullptr);
    stored->AddField("MonitorId", 3u);
    stored->AddField("Description", "renumbered");
    SCA_SrvMonitorList list(nullptr, nullptr);
    ASSERT_EQ(list.Deserialize(&object), 1);
    SCA_SrvMonitor* monitor = nullptr;
    ASSERT_EQ(list.GetMonitor(8u, &monitor), 1);
    EXPECT_EQ(monitor->GetMonitorId(), 8u);
    EXPECT_EQ(monitor->GetProfile()->GetMonitorId(), 8u);
    EXPECT_EQ(list.GetNextItemId(), 9u);
}

TEST(MonitorFile, NeedsAFolder) {
    SCA_SrvMonitorList list(nullptr, nullptr);
    model_test::Reports reports;
    EXPECT_EQ(list.Load(), 0);
    EXPECT_EQ(list.Save(), 0);
    EXPECT_EQ(reports.TakeTexts(),
              (std::vector<std::string>{"SCA_SrvMonitorList::Load: no configuration folder",
                                        "SCA_SrvMonitorList::Save: no configuration folder"}));
}
