// SPDX-License-Identifier: MIT
// The reports window against a real `korvas -console` that ran three monitors long enough to
// leave a report each: the list and its filter, a comparison of two runs, a save in every format,
// an export, a delete of every report and the import of the exported files; after each step the
// window's list is the service's index.
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTreeWidget>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

#include "../korvac/GuiTestSupport.h"
#include "korvac/kit/SCA_ClientSession.h"
#include "korvac/reports/SCA_SrvReportsDlg.h"
#include "korvac/reports/SCA_SrvReportsView.h"
#include "libmor/SCA_Time.h"
#include "libtez/reports/SCA_SrvReportManager.h"
#include "libvop/SCA_DeltaReportDlg.h"
#include "libvop/SCA_ProgressDlg.h"
#include "libvop/SCA_SaveReportsDlg.h"
#include "model/SCA_SrvMonitor.h"
#include "model/SCA_TezDeltaReport.h"
#include "model/SCA_TezMonitorKinds.h"
#include "model/SCA_TezMonitorMode.h"
#include "model/SCA_TezReport.h"
#include "model/SCA_TezReportFormat.h"
#include "net/SCA_KorvantaLogin.h"
#include "tests/integration/ServiceWindow.h"
#include "tests/support/WaitUntil.h"

namespace {

using korvac_test::FollowProgress;
namespace fs = std::filesystem;

constexpr uint32_t kCpuUsage = 1;
constexpr uint32_t kMemoryUsage = 4;
// A stopped run leaves a report only when it sampled this long (seconds, as the status says).
constexpr uint64_t kRunSeconds = 11;

// The service's report ids, in its order.
std::vector<uint32_t> ServiceIndex(SCA_KorvantaInterface* client) {
    SCA_TezReportIndex index(nullptr, nullptr);
    std::vector<uint32_t> ids;
    if (client->GetReportIndex(&index)) {
        for (auto* node = index.GetHead(); node != nullptr; node = node->GetNext()) {
            ids.push_back(node->GetId());
        }
    }
    return ids;
}

std::vector<uint32_t> Rows(SCA_SrvReportsDlg* window) {
    std::vector<uint32_t> ids;
    for (int i = 0; i < window->GetView()->topLevelItemCount(); ++i) {
        ids.push_back(window->GetView()->topLevelItem(i)->data(0, Qt::UserRole).toUInt());
    }
    return ids;
}

void SelectAll(SCA_SrvReportsDlg* window) {
    window->GetView()->selectAll();
    window->GetView()->setCurrentItem(window->GetView()->topLevelItem(0), 0,
                                      QItemSelectionModel::Select);
}

std::set<std::string> Files(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

// Three counter monitors, two of them alike, run together until each has sampled long enough,
// then stopped: three reports.
void RunThreeMonitors(SCA_KorvantaInterface* client) {
    struct Monitor {
        uint32_t Mode;
        const char* Description;
        std::vector<uint32_t> Counters;
        uint32_t Id = 0;
    };
    std::vector<Monitor> monitors = {
        {SCA_TEZ_MODE_CPU, "Web front", {kCpuUsage, kMemoryUsage}},
        {SCA_TEZ_MODE_MEMORY, "Database", {kMemoryUsage}},
        {SCA_TEZ_MODE_CPU, "Web back", {kCpuUsage, kMemoryUsage}},
    };
    for (Monitor& monitor : monitors) {
        ASSERT_EQ(client->AddMonitor(SCA_SRV_MONITOR_COUNTERS, monitor.Mode, monitor.Description,
                                     &monitor.Id),
                  1);
        for (uint32_t type : monitor.Counters) {
            uint32_t counterId = 0;
            ASSERT_EQ(client->AddCounter(monitor.Id, type, "", "", "", &counterId), 1);
        }
        ASSERT_EQ(client->StartMonitor(monitor.Id), 1);
    }
    for (const Monitor& monitor : monitors) {
        ASSERT_TRUE(korvanta_test::WaitUntil("a run long enough for a report", [&] {
            SCA_KorvantaInterface::MonitorStatus status;
            return client->GetMonitorStatusEx(monitor.Id, 0, 0, 0, &status) == 1 &&
                   status.ProcessTime >= kRunSeconds;
        })) << monitor.Description;
    }
    for (const Monitor& monitor : monitors) {
        ASSERT_EQ(client->StopMonitor(monitor.Id), 1);
    }
}

class ReportsWindow : public korvas_integration::ServiceWindowTest {};

TEST_F(ReportsWindow, FiltersComparesSavesExportsDeletesAndImportsAgainstTheService) {
    ASSERT_EQ(m_Korvas->LogIn(&m_Probe, m_Port), 1);
    ASSERT_NO_FATAL_FAILURE(RunThreeMonitors(&m_Probe));
    const std::vector<uint32_t> runs = ServiceIndex(&m_Probe);
    ASSERT_EQ(runs.size(), 3u);

    SCA_ClientSession session;
    session.SetLeastWaitMs(korvas_integration::kLoadedServiceWaitMs);
    uint32_t error = 0;
    ASSERT_EQ(session.Open("127.0.0.1", m_Port, korvas_integration::kConnectWaitMs, &error), 1);
    uint32_t status = 0;
    ASSERT_EQ(session.Client()->Login("admin", m_Korvas->InitialPassword().c_str(), &status), 1);
    ASSERT_EQ(status, SCA_KORVANTA_LOGGED_IN);
    SCA_TezConfig config(SCA_PRODUCT_TYPE_KORVANTA);
    SCA_TezConfigUser user(&config);
    user.InitDefConfig(&config);
    SCA_ConfigObj params("Params", nullptr);
    SCA_SrvReportsDlg window(nullptr, &config, &user, &params, "korva", &session);
    ASSERT_EQ(window.StartProcess(), 1);
    EXPECT_EQ(Rows(&window), runs);
    EXPECT_EQ(window.GetReportsLabel()->text(), QStringLiteral("Reports: 3"));

    // The filter: the two web runs by mode; among the runs whose profile (the monitor's name)
    // holds an "A", the one of mode memory.
    window.GetModeBox()->setCurrentIndex(window.GetModeBox()->findData(SCA_TEZ_MODE_CPU));
    EXPECT_EQ(Rows(&window), (std::vector<uint32_t>{runs[0], runs[2]}));
    window.GetModeBox()->setCurrentIndex(window.GetModeBox()->findData(SCA_TEZ_MODE_MEMORY));
    window.GetFieldBox()->setCurrentIndex(window.GetFieldBox()->findData(SCA_TEZ_FILTER_PROFILE));
    window.GetFilterEdit()->setText(QStringLiteral("A"));
    window.FilterReports();
    EXPECT_EQ(Rows(&window), std::vector<uint32_t>{runs[1]});
    EXPECT_EQ(window.GetReportsLabel()->text(), QStringLiteral("Reports: 2"));
    EXPECT_EQ(window.GetDisplayedLabel()->text(), QStringLiteral("Displayed: 1"));
    window.GetModeBox()->setCurrentIndex(0);
    window.ResetFilter();
    ASSERT_EQ(Rows(&window), runs);

    // The two web runs compared: their two counters paired.
    int paired = -1;
    m_Hook.OnExec = [&paired](QDialog* dialog) {
        FollowProgress(dialog);
        if (auto* delta = qobject_cast<SCA_DeltaReportDlg*>(dialog)) {
            paired = delta->GetView()->topLevelItemCount();
        }
    };
    window.GetView()->clearSelection();
    window.GetView()->setCurrentItem(window.GetView()->topLevelItem(0));
    window.GetView()->topLevelItem(2)->setSelected(true);
    window.CompareReports();
    EXPECT_EQ(paired, 2);
    EXPECT_TRUE(m_Hook.Boxes.empty());

    // Every report in every format, each format in a folder of its own.
    const fs::path saved = fs::path(m_Home.Path()) / "saved";
    fs::path folder;
    m_Hook.OnExec = [&folder](QDialog* dialog) {
        if (auto* save = qobject_cast<SCA_SaveReportsDlg*>(dialog)) {
            save->GetFolderEdit()->setText(QString::fromStdString(folder.string()));
            save->accept();
        }
        FollowProgress(dialog);
    };
    SelectAll(&window);
    const tagSCA_TEZ_REPORT_FORMAT* formats = SCA_TezGetReportFormats();
    for (uint32_t i = 0; i < SCA_TEZ_REPORT_FORMATS; ++i) {
        folder = saved / formats[i].Extension;
        fs::create_directories(folder);
        EXPECT_EQ(window.SaveReport(formats[i].Format), 1) << formats[i].Name;
        const std::set<std::string> names = Files(folder);
        EXPECT_EQ(names.size(), 3u) << formats[i].Name;
        for (const std::string& name : names) {
            EXPECT_EQ(fs::path(name).extension().string(), std::string(".") + formats[i].Extension);
            EXPECT_GT(fs::file_size(folder / name), 0u) << name;
        }
    }
    EXPECT_TRUE(m_Hook.Boxes.empty());

    // Export, then delete every report: the window and the service are empty.
    const fs::path exported = fs::path(m_Home.Path()) / "exported";
    fs::create_directories(exported);
    m_Hook.FileAnswer = QString::fromStdString(exported.string());
    window.ExportReports();
    ASSERT_EQ(Files(exported).size(), 3u);
    m_Hook.Answer = QMessageBox::Yes;
    SelectAll(&window);
    window.DeleteReports();
    EXPECT_EQ(m_Hook.Boxes.size(), 1u) << "the question only";
    EXPECT_TRUE(Rows(&window).empty());
    EXPECT_TRUE(ServiceIndex(&m_Probe).empty());

    // The exported files import back as the same runs, under new ids; a second import adds
    // nothing.
    for (const std::string& name : Files(exported)) {
        m_Hook.FilesAnswer << QString::fromStdString((exported / name).string());
    }
    window.ImportReports();
    const std::vector<uint32_t> imported = ServiceIndex(&m_Probe);
    ASSERT_EQ(imported.size(), 3u);
    EXPECT_EQ(Rows(&window), imported);
    for (uint32_t id : imported) {
        EXPECT_EQ(std::count(runs.begin(), runs.end(), id), 0);
        SCA_TezReport report;
        ASSERT_EQ(m_Probe.GetReport(id, &report), 1);
        EXPECT_GE(report.GetProcessTime(), (kRunSeconds - 1) * SCA_ABS_TIME_SECOND);
        EXPECT_GE(report.GetCounterList()->Count(), 1u);
    }
    // The same files again: nothing is added, and the user is told so.
    window.ImportReports();
    EXPECT_EQ(ServiceIndex(&m_Probe), imported);
    ASSERT_EQ(m_Hook.Boxes.size(), 2u);
    EXPECT_EQ(m_Hook.Boxes.back().Text,
              QStringLiteral("The 3 reports are already on the service: nothing was imported."));
    m_Korvas->Terminate();
}

} // namespace
