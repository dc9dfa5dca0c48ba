// SPDX-License-Identifier: MIT
#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

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

namespace {

// id -> description of a list, in list order.
std::vector<std::pair<uint32_t, std::string>> Described(const SCA_SrvMonitorList& list) {
    std::vector<std::pair<uint32_t, std::string>> rows;
    for (auto* node = list.GetHead(); node != nullptr; node = node->GetNext()) {
        rows.emplace_back(node->GetId(), node->GetItem()->GetDescription());
    }
    return rows;
}

uint64_t FileSize(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? static_cast<uint64_t>(info.st_size) : 0;
}

} // namespace

TEST(MonitorJournal, ChangesOfOneMonitorAreStoredWithoutTheFileAndReplayedInOrder) {
    model_test::TempDir dir;
    SCA_SrvMonitorList list(nullptr, nullptr);
    list.SetConfigDir(dir.Path().c_str());
    AddDiskMonitor(&list, "one");
    AddDiskMonitor(&list, "two");
    ASSERT_EQ(list.Save(), 1);
    const uint64_t fileBytes = FileSize(MonitorsPath(dir));
    ASSERT_GT(fileBytes, 0u);

    SCA_SrvMonitor* third = AddDiskMonitor(&list, "three");
    ASSERT_NE(third, nullptr);
    ASSERT_EQ(list.StoreChange(3u), 1);
    SCA_SrvMonitor* first = nullptr;
    ASSERT_EQ(list.GetMonitor(1u, &first), 1);
    first->SetDescription("one, renamed");
    ASSERT_EQ(list.StoreChange(1u), 1);
    ASSERT_EQ(list.DeleteMonitor(2u), 1);
    ASSERT_EQ(list.StoreChange(2u), 1);
    // Added and deleted before any fold: its id must stay used after a restart.
    AddDiskMonitor(&list, "four");
    ASSERT_EQ(list.StoreChange(4u), 1);
    ASSERT_EQ(list.DeleteMonitor(4u), 1);
    ASSERT_EQ(list.StoreChange(4u), 1);
    EXPECT_EQ(FileSize(MonitorsPath(dir)), fileBytes) << "a change does not rewrite the file";
    EXPECT_GT(list.GetJournalSize(), 0u);

    SCA_SrvMonitorList read(nullptr, nullptr);
    read.SetConfigDir(dir.Path().c_str());
    ASSERT_EQ(read.Load(), 1);
    EXPECT_EQ(Described(read), Described(list));
    SCA_SrvMonitor* back = nullptr;
    ASSERT_EQ(read.GetMonitor(3u, &back), 1);
    EXPECT_EQ(back->GetMonitorId(), 3u);
    EXPECT_EQ(back->GetProfile()->GetCounterList()->Count(),
              third->GetProfile()->GetCounterList()->Count());
    EXPECT_GT(back->GetProfile()->GetCounterList()->Count(), 0u);
    SCA_SrvMonitor* fifth = AddDiskMonitor(&read, "five");
    ASSERT_NE(fifth, nullptr);
    EXPECT_EQ(fifth->GetMonitorId(), 5u) << "id 4 was handed out before the restart";

    // A fold writes the file and empties the journal; loading gives the same monitors again.
    ASSERT_EQ(read.StoreChange(5u), 1);
    ASSERT_EQ(read.Save(), 1);
    EXPECT_EQ(read.GetJournalSize(), 0u);
    EXPECT_EQ(FileSize(dir / SCA_SRV_MONITORS_JOURNAL), 0u);
    SCA_SrvMonitorList again(nullptr, nullptr);
    again.SetConfigDir(dir.Path().c_str());
    ASSERT_EQ(again.Load(), 1);
    EXPECT_EQ(Described(again), Described(read));
}

TEST(MonitorJournal, ARecordCutOffByACrashIsDroppedAndTheJournalGoesOnAfterTheWholeOnes) {
    model_test::TempDir dir;
    SCA_SrvMonitorList list(nullptr, nullptr);
    list.SetConfigDir(dir.Path().c_str());
    AddDiskMonitor(&list, "kept");
    ASSERT_EQ(list.StoreChange(1u), 1);
    const uint64_t whole = FileSize(dir / SCA_SRV_MONITORS_JOURNAL);
    AddDiskMonitor(&list, "cut off");
    ASSERT_EQ(list.StoreChange(2u), 1);
    const uint64_t both = FileSize(dir / SCA_SRV_MONITORS_JOURNAL);
    // The second record, cut in the middle, as a crash during its write would leave it.
    ASSERT_EQ(::truncate((dir / SCA_SRV_MONITORS_JOURNAL).c_str(),
                         static_cast<off_t>(whole + (both - whole) / 2)),
              0);

    SCA_SrvMonitorList read(nullptr, nullptr);
    read.SetConfigDir(dir.Path().c_str());
    ASSERT_EQ(read.Load(), 1);
    EXPECT_EQ(Described(read), (std::vector<std::pair<uint32_t, std::string>>{{1u, "kept"}}));
    // What was whole is folded into the file; the journal as it was stays beside it.
    EXPECT_EQ(FileSize(dir / SCA_SRV_MONITORS_JOURNAL), 0u);
    EXPECT_EQ(FileSize(dir / SCA_SRV_MONITORS_JOURNAL + ".damaged"), whole + (both - whole) / 2);
    AddDiskMonitor(&read, "after");
    ASSERT_EQ(read.StoreChange(read.GetTail()->GetId()), 1);
    SCA_SrvMonitorList again(nullptr, nullptr);
    again.SetConfigDir(dir.Path().c_str());
    ASSERT_EQ(again.Load(), 1);
    EXPECT_EQ(Described(again), Described(read));
}

TEST(MonitorJournal, AChangeCostsTheSameWhateverTheNumberOfMonitorsAndTheJournalStaysBounded) {
    auto journalGrowth = [](uint32_t monitors) {
        model_test::TempDir dir;
        SCA_SrvMonitorList list(nullptr, nullptr);
        list.SetConfigDir(dir.Path().c_str());
        for (uint32_t i = 0; i < monitors; ++i) {
            AddDiskMonitor(&list, "same");
        }
        EXPECT_EQ(list.Save(), 1);
        EXPECT_EQ(list.StoreChange(1u), 1);
        return list.GetJournalSize();
    };
    // The same record but for the digits of the list's next id.
    const uint64_t few = journalGrowth(5);
    const uint64_t many = journalGrowth(300);
    EXPECT_LE(many - few, 4u) << few << " bytes for one change among 5, " << many << " among 300";

    model_test::TempDir dir;
    SCA_SrvMonitorList list(nullptr, nullptr);
    list.SetConfigDir(dir.Path().c_str());
    AddDiskMonitor(&list, "changed often");
    uint64_t largest = 0;
    for (int change = 0; change < 400; ++change) {
        ASSERT_EQ(list.StoreChange(1u), 1);
        largest = std::max(largest, list.GetJournalSize());
    }
    EXPECT_LT(largest, 2 * SCA_SRV_MONITORS_MIN_FOLD_BYTES) << "folded as it grew";
    SCA_SrvMonitorList read(nullptr, nullptr);
    read.SetConfigDir(dir.Path().c_str());
    ASSERT_EQ(read.Load(), 1);
    EXPECT_EQ(Described(read), Described(list));
}
