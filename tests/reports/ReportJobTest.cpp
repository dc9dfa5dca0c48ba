// SPDX-License-Identifier: MIT
// Saving many stored reports on the job's thread, into temporary folders.
#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "libmor/SCA_Sync.h"
#include "libtez/reports/SCA_TezReportJob.h"
#include "libtez/reports/SCA_TezReportWriter.h"
#include "model/SCA_Dir.h"
#include "model/SCA_TezRepStatus.h"
#include "model/SCA_TezReportIndex.h"
#include "tests/reports/ReportTestSupport.h"
#include "tests/support/KorvantaTestSupport.h"

namespace {

constexpr uint32_t kEndWaitMs = 60000;

class ReportJobTest : public ::testing::Test {
protected:
    void SetUp() override { m_Index.SetReportsDir(m_Stored.Path().c_str()); }

    // Stores count reports; their ids.
    std::vector<uint32_t> Store(uint32_t count, const char* description = "Web/../../etc") {
        std::vector<uint32_t> ids;
        for (uint32_t i = 0; i < count; ++i) {
            SCA_TezReport report(nullptr, nullptr, 1);
            korvanta_test::FillReport(&report);
            report.SetDescription(description);
            uint32_t error = 0;
            EXPECT_EQ(m_Index.AddReport(&report, 1, SCA_TEZ_REPORT_SAVE_FILE, 0, &error), 1);
            ids.push_back(report.GetReportId());
        }
        return ids;
    }

    std::vector<std::string> Saved(const char* extension) {
        SCA_Dir dir;
        uint32_t error = 0;
        EXPECT_EQ(dir.Read(m_Out.Path().c_str(), extension, &error), 1);
        std::vector<std::string> names;
        for (auto* node = dir.GetHead(); node != nullptr; node = node->GetNext()) {
            names.emplace_back(node->GetItem()->GetName());
            EXPECT_GT(node->GetItem()->GetSize(), 0);
        }
        return names;
    }

    korvanta_test::TempDir m_Stored;
    korvanta_test::TempDir m_Out;
    SCA_TezReportIndex m_Index{nullptr, nullptr};
};

} // namespace

TEST_F(ReportJobTest, SavesEveryReportIntoTheFolderWithFullProgress) {
    const auto ids = Store(3);
    SCA_TezReportJob job(nullptr, nullptr, nullptr, &m_Index);
    uint32_t error = 0;
    ASSERT_EQ(job.SaveReports(ids, SCA_TEZ_FORMAT_CSV, 0, m_Out.Path().c_str(), &error), 1);
    ASSERT_EQ(job.Wait(kEndWaitMs), SCA_WAIT_OK);
    EXPECT_EQ(job.GetProcessStatus(), SCA_PROCESS_STOPPED);
    EXPECT_EQ(job.GetRepStatus(), SCA_PROCESS_STOPPED);
    EXPECT_EQ(job.GetProgress(), 100u);
    EXPECT_EQ(job.GetSavedCount(), 3u);
    EXPECT_EQ(job.GetStatusCode(), 0u);
    EXPECT_STREQ(job.GetStatusString(), "3 of 3 reports saved");
    const auto names = Saved(".csv");
    ASSERT_EQ(names.size(), 3u);
    // The report's text never leads a file out of the folder.
    EXPECT_EQ(m_Out.Names(), names);
    for (const auto& name : names) {
        EXPECT_EQ(name.rfind("Korvanta Web_", 0), 0u) << name;
    }
}

TEST_F(ReportJobTest, AReportThatCannotBeLoadedFailsTheJobButNotTheOthers) {
    auto ids = Store(2);
    const uint32_t missing = 999;
    ids.insert(ids.begin() + 1, missing);
    SCA_TezReportJob job(nullptr, nullptr, nullptr, &m_Index);
    uint32_t error = 0;
    ASSERT_EQ(job.SaveReports(ids, SCA_TEZ_FORMAT_JSON, 0, m_Out.Path().c_str(), &error), 1);
    ASSERT_EQ(job.Wait(kEndWaitMs), SCA_WAIT_OK);
    EXPECT_EQ(job.GetProcessStatus(), SCA_PROCESS_FAILED);
    EXPECT_EQ(job.GetRepStatus(), SCA_REP_STATUS_ERROR);
    EXPECT_EQ(job.GetStatusCode(), 1u);
    EXPECT_EQ(job.GetProgress(), 100u);
    EXPECT_STREQ(job.GetStatusString(), "2 of 3 reports saved");
    EXPECT_EQ(Saved(".json").size(), 2u);
}

TEST_F(ReportJobTest, RefusesWhatCannotBeSavedBeforeStarting) {
    const auto ids = Store(1);
    SCA_TezReportJob job(nullptr, nullptr, nullptr, &m_Index);
    uint32_t error = 0;
    EXPECT_EQ(job.SaveReports(ids, 4, 0, m_Out.Path().c_str(), &error), 0);
    EXPECT_EQ(error, SCA_TEZ_ERR_FORMAT);
    EXPECT_EQ(job.SaveReports({}, SCA_TEZ_FORMAT_CSV, 0, m_Out.Path().c_str(), &error), 0);
    EXPECT_EQ(error, static_cast<uint32_t>(EINVAL));
    EXPECT_EQ(job.SaveReports(ids, SCA_TEZ_FORMAT_CSV, 0, "", &error), 0);
    EXPECT_EQ(job.GetProcessStatus(), SCA_PROCESS_IDLE);
    EXPECT_TRUE(m_Out.Names().empty());
}

TEST_F(ReportJobTest, StoppingKeepsTheCountAndTheFilesInStep) {
    const auto ids = Store(40);
    SCA_TezReportJob job(nullptr, nullptr, nullptr, &m_Index);
    uint32_t error = 0;
    ASSERT_EQ(job.SaveReports(ids, SCA_TEZ_FORMAT_TEXT, 0, m_Out.Path().c_str(), &error), 1);
    EXPECT_EQ(job.StopAll(), 1);
    EXPECT_EQ(job.GetProcessStatus(), SCA_PROCESS_STOPPED);
    const uint32_t saved = job.GetSavedCount();
    EXPECT_EQ(Saved(nullptr).size(), saved);
    if (saved < ids.size()) {
        EXPECT_EQ(std::string(job.GetStatusString()),
                  "Saving reports stopped - " + std::to_string(saved) + " of 40 reports saved");
        EXPECT_LT(job.GetProgress(), 100u);
    }
    // The job can run again once stopped.
    ASSERT_EQ(job.SaveReports({ids[0]}, SCA_TEZ_FORMAT_HTML, 0, m_Out.Path().c_str(), &error), 1);
    ASSERT_EQ(job.Wait(kEndWaitMs), SCA_WAIT_OK);
    EXPECT_EQ(Saved(".html").size(), 1u);
}
