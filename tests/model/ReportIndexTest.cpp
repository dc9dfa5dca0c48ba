// SPDX-License-Identifier: MIT
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include <gtest/gtest.h>

#include "libmor/SCA_FileSystem.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezReport.h"
#include "model/SCA_TezReportIndex.h"
#include "model/SCA_TezReportInfo.h"
#include "tests/model/RecordTestSupport.h"

using records_test::Repeat;
using records_test::StoredForm;
using records_test::Transfer;

namespace {

// A header whose times are set, as the report that owns a header sets them.
class TimedReportInfo : public SCA_TezReportInfo {
public:
    TimedReportInfo(uint64_t start, uint64_t report, uint64_t process) {
        SetTimes(start, report, process);
    }
};

TimedReportInfo MakeHeader(const char* title, uint64_t start) {
    TimedReportInfo info(start, start + 600, 600);
    info.SetReportTitle(title);
    info.SetHostName("host-a");
    info.SetUserName("ops");
    info.SetProfileName("System");
    info.SetMonitorId(4);
    info.SetMonitorMode(1);
    info.SetNumOfCounters(14);
    info.SetNumOfErrors(2);
    return info;
}

// Writes a stand-in for a stored report's file.
void WriteReportFile(const SCA_TezReportIndex& index, uint32_t id) {
    char path[4200];
    ASSERT_EQ(index.GetReportFilePath(id, path, sizeof(path)), 1);
    std::ofstream(path) << "report";
}

bool ReportFileExists(const SCA_TezReportIndex& index, uint32_t id) {
    char path[4200];
    return index.GetReportFilePath(id, path, sizeof(path)) && SCA_IsFileExists(path);
}

} // namespace

TEST(ReportHeaders, IdsAreSetOnlyByAFirstCharacter) {
    SCA_TezReportInfo info;
    EXPECT_EQ(info.IsGlobalIdSet(), 0);
    EXPECT_EQ(info.IsProfileIdSet(), 0);
    info.SetGlobalId(" ");
    info.SetProfileId(" ");
    EXPECT_EQ(info.IsGlobalIdSet(), 1);
    EXPECT_EQ(info.IsProfileIdSet(), 1);
    info.SetGlobalId(Repeat('g', 400).c_str());
    EXPECT_EQ(std::string(info.GetGlobalId()), Repeat('g', 255));
}

TEST(ReportHeaders, CopiesKeepIdTimesAndFlag) {
    TimedReportInfo info = MakeHeader("Daily", 1000);
    info.SetReportId(17);
    SCA_TezReportInfo copy(info);
    EXPECT_EQ(copy.IsConstructed(), 1u);
    EXPECT_EQ(copy.GetReportId(), 17u);
    EXPECT_EQ(copy.GetStartTime(), 1000u);
    EXPECT_EQ(copy.GetReportTime(), 1600u);
    EXPECT_EQ(copy.GetProcessTime(), 600u);
    EXPECT_EQ(StoredForm(copy), StoredForm(info));
}

TEST(ReportHeaders, RoundTripThroughAConfigurationObject) {
    TimedReportInfo info = MakeHeader("Daily", 0xFFFFFFFFFFFFull);
    info.SetGlobalId("host-a/17");
    info.SetProfileId("5");
    info.SetDescription("nightly run");
    SCA_TezReportInfo read;
    ASSERT_EQ(Transfer(info, &read), 1);
    EXPECT_EQ(StoredForm(read), StoredForm(info));
    EXPECT_EQ(read.GetStartTime(), 0xFFFFFFFFFFFFull);
    EXPECT_STREQ(read.GetUserName(), "ops");
}

TEST(ReportHeaders, SameReportByGlobalIdOrByHostMonitorAndTimes) {
    TimedReportInfo a = MakeHeader("A", 1000);
    TimedReportInfo b = MakeHeader("B", 1000); // titles do not count
    EXPECT_EQ(a.IsSameReport(b), 1);
    TimedReportInfo later = MakeHeader("A", 2000);
    EXPECT_EQ(a.IsSameReport(later), 0);
    a.SetGlobalId("g1");
    EXPECT_EQ(a.IsSameReport(b), 0);
    later.SetGlobalId("g1");
    EXPECT_EQ(a.IsSameReport(later), 1);
}

TEST(ReportIndex, LooksUpByReportId) {
    SCA_TezReportIndex index(nullptr, nullptr);
    SCA_TezReportInfo* found = nullptr;
    EXPECT_EQ(index.GetReportInfo(1u, &found), 0);
    EXPECT_EQ(found, nullptr);

    uint32_t first = 0;
    uint32_t second = 0;
    ASSERT_EQ(index.AddReport(MakeHeader("A", 1000), 0, &first), 1);
    ASSERT_EQ(index.AddReport(MakeHeader("B", 2000), 0, &second), 1);
    EXPECT_EQ(first, 1u);
    EXPECT_EQ(second, 2u);
    EXPECT_EQ(index.GetNextReportId(), 3u);
    ASSERT_EQ(index.GetReportInfo(second, &found), 1);
    EXPECT_STREQ(found->GetReportTitle(), "B");
    EXPECT_EQ(found->GetReportId(), second);
    EXPECT_EQ(index.IsReportExists(MakeHeader("again", 2000)), 1);
    EXPECT_EQ(index.IsReportExists(MakeHeader("other", 3000)), 0);
}

TEST(ReportIndex, KeepsAtMostTheMaximumNumberOfReports) {
    model_test::TempDir dir;
    SCA_TezReportIndex index(nullptr, nullptr);
    index.SetReportsDir(dir.Path().c_str());
    for (uint64_t i = 0; i < 5; ++i) {
        uint32_t id = 0;
        ASSERT_EQ(index.AddReport(MakeHeader("R", 1000 * (i + 1)), 3, &id), 1);
        WriteReportFile(index, id);
    }
    ASSERT_EQ(index.Count(), 3u);
    EXPECT_EQ(index.GetHead()->GetId(), 3u);
    EXPECT_EQ(index.GetTail()->GetId(), 5u);
    // The reports dropped when 4 and 5 came in had their files deleted; the kept ones did not.
    EXPECT_FALSE(ReportFileExists(index, 1));
    EXPECT_FALSE(ReportFileExists(index, 2));
    EXPECT_TRUE(ReportFileExists(index, 3));
    EXPECT_TRUE(ReportFileExists(index, 4));
    EXPECT_TRUE(ReportFileExists(index, 5));

    // A smaller maximum trims the oldest at the next addition.
    uint32_t id = 0;
    ASSERT_EQ(index.AddReport(MakeHeader("R", 9000), 1, &id), 1);
    EXPECT_EQ(index.Count(), 1u);
    EXPECT_EQ(index.GetHead()->GetId(), id);
    EXPECT_FALSE(ReportFileExists(index, 3));
    EXPECT_FALSE(ReportFileExists(index, 5));
}

TEST(ReportIndex, DeletingRemovesHeaderAndFileButNotTheId) {
    model_test::TempDir dir;
    SCA_TezReportIndex index(nullptr, nullptr);
    index.SetReportsDir(dir.Path().c_str());
    uint32_t id = 0;
    ASSERT_EQ(index.AddReport(MakeHeader("A", 1000), 0, &id), 1);
    WriteReportFile(index, id);
    ASSERT_EQ(index.AddReport(MakeHeader("B", 2000), 0, nullptr), 1);

    ASSERT_EQ(index.DeleteReport(id), 1);
    EXPECT_FALSE(ReportFileExists(index, id));
    model_test::Reports reports;
    EXPECT_EQ(index.DeleteReport(id), 0);
    EXPECT_EQ(reports.TakeTexts(),
              std::vector<std::string>{"SCA_TezReportIndex::DeleteReport: invalid report ID - 1"});

    ASSERT_EQ(index.DeleteAllReports(), 1);
    EXPECT_EQ(index.Count(), 0u);
    EXPECT_EQ(index.GetNextReportId(), 3u);
}

TEST(ReportIndexFile, SaveAndLoadKeepHeadersIdsAndNextId) {
    model_test::TempDir dir;
    SCA_TezReportIndex index(nullptr, nullptr);
    index.SetReportsDir(dir.Path().c_str());
    ASSERT_EQ(index.AddReport(MakeHeader("A", 1000), 0, nullptr), 1);
    ASSERT_EQ(index.AddReport(MakeHeader("B", 2000), 0, nullptr), 1);
    ASSERT_EQ(index.AddReport(MakeHeader("C", 3000), 0, nullptr), 1);
    ASSERT_EQ(index.DeleteReport(3u), 1);
    ASSERT_EQ(index.Save(), 1);

    SCA_TezReportIndex loaded(nullptr, nullptr);
    loaded.SetReportsDir(dir.Path().c_str());
    ASSERT_EQ(loaded.Load(), 1);
    EXPECT_EQ(StoredForm(loaded), StoredForm(index));
    EXPECT_EQ(loaded.Count(), 2u);
    EXPECT_EQ(loaded.GetNextReportId(), 4u);
    SCA_TezReportInfo* info = nullptr;
    ASSERT_EQ(loaded.GetReportInfo(2u, &info), 1);
    EXPECT_STREQ(info->GetReportTitle(), "B");
    EXPECT_EQ(info->GetStartTime(), 2000u);
}

TEST(ReportIndexFile, MissingIsEmptyWithoutReportFilesAndNeedsAFolder) {
    model_test::TempDir dir;
    SCA_TezReportIndex index(nullptr, nullptr);
    index.SetReportsDir(dir.Path().c_str());
    ASSERT_EQ(index.Load(), 1);
    EXPECT_EQ(index.Count(), 0u);
    EXPECT_EQ(index.GetNextReportId(), 1u);

    model_test::Reports reports;
    SCA_TezReportIndex homeless(nullptr, nullptr);
    EXPECT_EQ(homeless.Load(), 0);
    EXPECT_EQ(homeless.Save(), 0);
    char path[64];
    EXPECT_EQ(homeless.GetReportFilePath(1, path, sizeof(path)), 0);
}

namespace {

// A report stored with its file, as a stopping monitor stores it; its id.
uint32_t StoreReport(SCA_TezReportIndex* index, const char* title) {
    SCA_TezReport report;
    report.SetReportTitle(title);
    report.SetHostName("host-a");
    uint32_t error = 0;
    EXPECT_EQ(index->AddReport(&report, 1, SCA_TEZ_REPORT_SAVE_FILE, 0, &error), 1) << error;
    return report.GetReportId();
}

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Titles(const SCA_TezReportIndex& index) {
    std::string titles;
    for (auto* node = index.GetHead(); node != nullptr; node = node->GetNext()) {
        titles += std::to_string(node->GetId()) + ":" + node->GetItem()->GetReportTitle() + " ";
    }
    return titles;
}

// A folder with the reports 1 "first", 3 "third" and 12 "twelfth" (2 and 4-11 deleted), a
// damaged report file 13, what a killed writer left and the room kept for held reports, one
// reserve half filled with a report by a stop that was killed; the index saved after report 3
// only, as a service killed before it could save the index again leaves it.
class StoredReportsTest : public ::testing::Test {
protected:
    void SetUp() override {
        SCA_TezReportIndex index(nullptr, nullptr);
        index.SetReportsDir(m_Dir.Path().c_str());
        ASSERT_EQ(StoreReport(&index, "first"), 1u);
        ASSERT_EQ(StoreReport(&index, "second"), 2u);
        ASSERT_EQ(StoreReport(&index, "third"), 3u);
        ASSERT_EQ(index.DeleteReport(2), 1);
        ASSERT_EQ(index.Save(), 1);
        for (int i = 4; i <= 11; ++i) {
            StoreReport(&index, "gone");
            ASSERT_EQ(index.DeleteReport(static_cast<uint32_t>(i)), 1);
        }
        ASSERT_EQ(StoreReport(&index, "twelfth"), 12u);
        std::ofstream(m_Dir / "report_000013.hdx") << "damaged";
        std::ofstream(m_Dir / "report_000014.hdx.tmp.Ab12Cd") << "killed writer";
        for (const char* name : {"report_000001.hdx", "report_000003.hdx", "report_000012.hdx"}) {
            m_Stored[name] = FileBytes(m_Dir / name);
        }
        index.SetReserveSize(2, kReserveBytes);
        ASSERT_EQ(index.MakeReserve(), 1);
        const std::string& report = m_Stored["report_000012.hdx"];
        std::fstream(m_Dir / "room_for_reports_2.reserve", std::ios::in | std::ios::out)
            .write(report.data(), static_cast<std::streamsize>(report.size() / 2));
    }

    // The reserves are neither reports nor leftovers to remove.
    void ExpectReservesKept() {
        for (const char* name : {"room_for_reports_1.reserve", "room_for_reports_2.reserve"}) {
            EXPECT_EQ(SCA_GetReservedRoom((m_Dir / name).c_str()), kReserveBytes) << name;
        }
    }

    // Adds a report after a load, and checks that no stored report was written over.
    void ExpectNewReportPastEveryFile(SCA_TezReportIndex* index) {
        EXPECT_EQ(StoreReport(index, "new"), 14u);
        for (const auto& [name, bytes] : m_Stored) {
            EXPECT_EQ(FileBytes(m_Dir / name), bytes) << name << " was written over";
        }
        EXPECT_EQ(FileBytes(m_Dir / "report_000013.hdx"), "damaged");
    }

    static constexpr uint64_t kReserveBytes = 64 << 10;
    model_test::TempDir m_Dir;
    std::map<std::string, std::string> m_Stored;
};

} // namespace

TEST_F(StoredReportsTest, AReadableIndexListsTheReportsItMissedAndHandsOutIdsPastThem) {
    model_test::Reports reports;
    SCA_TezReportIndex index(nullptr, nullptr);
    index.SetReportsDir(m_Dir.Path().c_str());
    ASSERT_EQ(index.Load(), 1);
    EXPECT_EQ(Titles(index), "1:first 3:third 12:twelfth ");
    EXPECT_EQ(reports.Count(SCA_LEVEL_WARNING, "1 report files in"), 1);
    EXPECT_FALSE(SCA_IsFileExists((m_Dir / "report_000014.hdx.tmp.Ab12Cd").c_str()))
        << "a killed writer's temporary file outlives the restart";
    ExpectReservesKept();
    ExpectNewReportPastEveryFile(&index);
}

TEST_F(StoredReportsTest, ADamagedIndexIsRebuiltFromTheReportFiles) {
    std::ofstream(m_Dir / SCA_TEZ_REPORT_INDEX_FILE) << "garbage";
    model_test::Reports reports;
    SCA_TezReportIndex index(nullptr, nullptr);
    index.SetReportsDir(m_Dir.Path().c_str());
    ASSERT_EQ(index.Load(), 1);
    EXPECT_EQ(Titles(index), "1:first 3:third 12:twelfth ");
    SCA_TezReportInfo* info = nullptr;
    ASSERT_EQ(index.GetReportInfo(12, &info), 1);
    EXPECT_STREQ(info->GetHostName(), "host-a");
    EXPECT_EQ(reports.Count(SCA_LEVEL_WARNING, "report_000013.hdx cannot be read"), 1);
    EXPECT_EQ(reports.Count(SCA_LEVEL_WARNING, "rebuilt from 3 report files"), 1);
    ExpectReservesKept();
    ExpectNewReportPastEveryFile(&index);

    // The damaged index is kept aside, and the rebuilt one is what the next start reads.
    ASSERT_EQ(index.Save(), 1);
    EXPECT_EQ(FileBytes(m_Dir / "report_index.hdx.unreadable"), "garbage");
    SCA_TezReportIndex again(nullptr, nullptr);
    again.SetReportsDir(m_Dir.Path().c_str());
    ASSERT_EQ(again.Load(), 1);
    EXPECT_EQ(Titles(again), "1:first 3:third 12:twelfth 14:new ");
}

TEST_F(StoredReportsTest, AMissingIndexBesideReportFilesIsRebuilt) {
    ASSERT_EQ(std::remove((m_Dir / SCA_TEZ_REPORT_INDEX_FILE).c_str()), 0);
    model_test::Reports reports;
    SCA_TezReportIndex index(nullptr, nullptr);
    index.SetReportsDir(m_Dir.Path().c_str());
    ASSERT_EQ(index.Load(), 1);
    EXPECT_EQ(Titles(index), "1:first 3:third 12:twelfth ");
    ExpectNewReportPastEveryFile(&index);
}
