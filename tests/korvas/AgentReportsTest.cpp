// SPDX-License-Identifier: MIT
// The client's report worker against the service's control object over loopback, on a
// connection of its own: reports exported into data files, deleted, imported back (once) and
// compared, while the caller reads its progress from another thread as a window does.
#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "AgentClientTest.h"
#include "libmor/SCA_Sync.h"
#include "libtez/reports/SCA_SrvReportManager.h"
#include "model/SCA_TezConfig.h"
#include "model/SCA_TezConfigUser.h"
#include "model/SCA_TezDeltaReport.h"
#include "model/SCA_TezReportFormat.h"
#include "model/SCA_TezReportIndex.h"
#include "tests/model/ReportFixtures.h"

namespace korvas_test {
namespace {

namespace fs = std::filesystem;

constexpr uint64_t kHour = 3600 * SCA_ABS_TIME_SECOND;
constexpr uint32_t kRuns = 3;

class AgentReports : public AgentClientTest {
protected:
    void SetUp() override {
        AgentClientTest::SetUp();
        m_User.InitDefConfig(&m_Config);
    }

    // The service's report ids, in its order.
    std::vector<uint32_t> Index() {
        SCA_TezReportIndex index(nullptr, nullptr);
        std::vector<uint32_t> ids;
        EXPECT_EQ(m_Client.GetReportIndex(&index), 1);
        for (auto* node = index.GetHead(); node != nullptr; node = node->GetNext()) {
            ids.push_back(node->GetId());
            m_Headers.push_back(*node->GetItem());
        }
        return ids;
    }

    // Runs the worker to its end, reading its progress and texts meanwhile; its last state.
    uint32_t Follow(SCA_SrvReportManager* worker) {
        uint32_t progress = 0;
        while (worker->Wait(5) != SCA_WAIT_OK) {
            EXPECT_GE(worker->GetProgress(), progress);
            progress = worker->GetProgress();
            EXPECT_NE(worker->GetStatusString(), nullptr);
        }
        worker->StopAll();
        return worker->GetProcessStatus();
    }

    SCA_List<SCA_TezReportInfo*>* Selection() {
        m_Selection.Clear();
        for (SCA_TezReportInfo& header : m_Headers) {
            m_Selection.AddItemToTail(&header);
        }
        return &m_Selection;
    }

    // The worker's own configurations, as a window holds copies of the service's.
    SCA_TezConfig m_Config{SCA_PRODUCT_TYPE_KORVANTA};
    SCA_TezConfigUser m_User{&m_Config};
    std::vector<SCA_TezReportInfo> m_Headers;
    SCA_List<SCA_TezReportInfo*> m_Selection;
};

TEST_F(AgentReports, ExportDeleteImportAndCompareOnTheWorkersConnection) {
    for (uint32_t run = 0; run < kRuns; ++run) {
        SCA_TezReport report;
        korvanta_test::SetReportHeader(&report, "Run", "Web", "web-1", 3,
                                       korvanta_test::kFixtureStart + run * kHour, 60);
        korvanta_test::AddFixtureCounter(&report, korvanta_test::kFixtureCpu, "0",
                                         {10.0 * (run + 1), 20.0 * (run + 1)});
        uint32_t id = 0;
        ASSERT_EQ(m_Client.AddReport(&report, &id), 1);
    }
    const std::vector<uint32_t> runs = Index();
    ASSERT_EQ(runs.size(), kRuns);
    const fs::path folder = fs::path(m_Home.Path()) / "exported";
    fs::create_directory(folder);

    SCA_SrvReportManager exporter(&m_Config, &m_User, nullptr, &m_Client);
    ASSERT_EQ(exporter.ExportReports(Selection(), SCA_TEZ_FORMAT_DATA, 0, folder.c_str()), 1);
    ASSERT_EQ(Follow(&exporter), SCA_PROCESS_STOPPED) << exporter.GetStatusString();
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        files.push_back(entry.path().string());
        SCA_TezReport read;
        uint32_t error = 0;
        EXPECT_EQ(SCA_SrvReportManager::ReadReportFile(files.back().c_str(), &read, &error), 1)
            << error;
        EXPECT_EQ(read.GetCounterList()->Count(), 1u);
    }
    ASSERT_EQ(files.size(), kRuns);
    // The names carry the report ids in the same number of digits: imported in run order.
    std::sort(files.begin(), files.end());

    SCA_SrvReportManager deleter(&m_Config, &m_User, nullptr, &m_Client);
    ASSERT_EQ(deleter.DeleteReports(Selection()), 1);
    ASSERT_EQ(Follow(&deleter), SCA_PROCESS_STOPPED) << deleter.GetStatusString();
    EXPECT_STREQ(deleter.GetStatusString(), "3 of 3 reports deleted");
    m_Headers.clear();
    EXPECT_TRUE(Index().empty());

    SCA_List<uint32_t> chosen;
    for (uint32_t i = 0; i < files.size(); ++i) {
        chosen.AddItemToTail(i, files[i].c_str());
    }
    for (const char* expected :
         {"3 of 3 reports imported", "0 of 3 reports imported, 3 already there"}) {
        SCA_SrvReportManager importer(&m_Config, &m_User, nullptr, &m_Client);
        ASSERT_EQ(importer.ImportReports(&chosen), 1);
        ASSERT_EQ(Follow(&importer), SCA_PROCESS_STOPPED) << importer.GetStatusString();
        EXPECT_STREQ(importer.GetStatusString(), expected);
    }
    m_Headers.clear();
    const std::vector<uint32_t> imported = Index();
    ASSERT_EQ(imported.size(), kRuns);
    EXPECT_GT(imported.front(), runs.back()) << "ids are never handed out twice";

    // The first run against the last: its CPU doubled and then some.
    m_Headers.erase(m_Headers.begin() + 1);
    SCA_TezDeltaReport delta;
    SCA_SrvReportManager comparer(&m_Config, &m_User, nullptr, &m_Client);
    ASSERT_EQ(comparer.CompareReports(Selection(), &delta), 1);
    ASSERT_EQ(Follow(&comparer), SCA_PROCESS_STOPPED) << comparer.GetStatusString();
    ASSERT_EQ(delta.Count(), 1u);
    EXPECT_EQ(delta.GetMajorChanges(), 1u);
    EXPECT_EQ(delta.GetReportInfo2()->GetStartTime(), korvanta_test::kFixtureStart + 2 * kHour);
}

} // namespace
} // namespace korvas_test
