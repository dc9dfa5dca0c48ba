#include <cstdint>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "libmor/SCA_FileSystem.h"
#include "model/SCA_ConfigObj.h"
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

TEST(ReportIndexFile, MissingIsEmptyAndBrokenChangesNothing) {
    model_test::TempDir dir;
    SCA_TezReportIndex index(nullptr, nullptr);
    index.SetReportsDir(dir.Path().c_str());
    ASSERT_EQ(index.Load(), 1);
    EXPECT_EQ(index.Count(), 0u);

    ASSERT_EQ(index.AddReport(MakeHeader("A", 1000), 0, nullptr), 1);
    std::ofstream(dir / SCA_TEZ_REPORT_INDEX_FILE) << "garbage";
    model_test::Reports reports;
    EXPECT_EQ(index.Load(), 0);
    EXPECT_EQ(index.Count(), 1u);

    SCA_TezReportIndex homeless(nullptr, nullptr);
    EXPECT_EQ(homeless.Load(), 0);
    EXPECT_EQ(homeless.Save(), 0);
    char path[64];
    EXPECT_EQ(homeless.GetReportFilePath(1, path, sizeof(path)), 0);
}
