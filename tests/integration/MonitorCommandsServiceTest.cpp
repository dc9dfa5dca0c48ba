// SPDX-License-Identifier: MIT
// The main window's monitor commands against a real `korvas -console` on 127.0.0.1: every kind
// Linux can sample added through the window's own add commands (the modal hook answering the
// dialogs) and started, the kinds without a source on Linux answered with their messages, the
// service's monitors list matching the tree, and each report format saved and read back.
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>
#include <algorithm>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <set>
#include <string>

#include "../korvac/GuiTestSupport.h"
#include "korvac/main/SCA_AddMonitorCommands.h"
#include "korvac/main/SCA_MonitorsView.h"
#include "korvac/main/SCA_SrvMonDlg.h"
#include "libtez/reports/SCA_TezConfigWriter.h"
#include "libvop/SCA_ListDlg.h"
#include "libvop/SCA_SaveReportsDlg.h"
#include "libvop/SCA_TreeRows.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezProcessLog.h"
#include "model/SCA_TezProcessStatus.h"
#include "model/SCA_TezReport.h"
#include "model/SCA_TezReportFormat.h"
#include "model/SCA_TezReportIndex.h"
#include "net/SCA_KorvantaLogin.h"
#include "tests/integration/ServiceWindow.h"
#include "tests/support/WaitUntil.h"

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class MonitorCommandsService : public korvas_integration::ServiceWindowTest {
protected:
    SCA_AddMonitorCommands* AddCommands() const {
        return m_Main->findChild<SCA_AddMonitorCommands*>();
    }
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(ServiceWindowTest::SetUp());
        ASSERT_NO_FATAL_FAILURE(OpenMainWindow());
        // The monitor dialog is accepted as it is; a list takes its last item.
        m_Hook.OnExec = [this](QDialog* dialog) {
            if (auto* list = qobject_cast<SCA_ListDlg*>(dialog)) {
                list->GetList()->setCurrentRow(list->GetList()->count() - 1);
                m_Lists.push_back(dialog->windowTitle());
                dialog->setResult(QDialog::Accepted);
            } else if (qobject_cast<SCA_SrvMonDlg*>(dialog) != nullptr) {
                dialog->setResult(QDialog::Accepted);
            } else if (auto* save = qobject_cast<SCA_SaveReportsDlg*>(dialog)) {
                save->GetFolderEdit()->setText(m_Folder);
                save->GetFormatBox()->setCurrentIndex(save->GetFormatBox()->findData(m_Format));
                dialog->setResult(QDialog::Accepted);
            }
        };
    }
    QStringList BoxTexts() const {
        QStringList texts;
        for (const auto& box : m_Hook.Boxes) {
            texts.push_back(box.Text);
        }
        return texts;
    }
    uint32_t RunState(uint32_t id) {
        uint32_t type = 0, status = 0, state = 0, counters = 0, errors = 0, warnings = 0;
        m_Main->GetClientInterface()->GetMonitorStats(id, &type, &status, &state, &counters,
                                                      &errors, &warnings);
        return state;
    }

    QStringList m_Lists;
    QString m_Folder;
    uint32_t m_Format = 0;
};

TEST_F(MonitorCommandsService, EveryKindLinuxSamplesIsAddedStartedListedAndReported) {
    using Add = void (SCA_AddMonitorCommands::*)();
    struct Sampled {
        Add Slot;
        const char* Name;
    };
    const Sampled sampled[] = {
        {&SCA_AddMonitorCommands::AddSystemMonitor, "System Monitor"},
        {&SCA_AddMonitorCommands::AddProcessMonitor, "Process Monitor"},
        {&SCA_AddMonitorCommands::AddCpuUsageMonitor, "CPU Monitor"},
        {&SCA_AddMonitorCommands::AddMemoryUsageMonitor, "Memory Monitor"},
        {&SCA_AddMonitorCommands::AddDiskActivityMonitor, "Disk Monitor - "},
        {&SCA_AddMonitorCommands::AddPhysicalDisksMonitor, "Physical Disks - "},
        {&SCA_AddMonitorCommands::AddNetworkActivityMonitor, "Network Monitor - "},
        {&SCA_AddMonitorCommands::AddTcpProtocolMonitor, "TCP/IP Monitor"},
        {&SCA_AddMonitorCommands::AddUdpProtocolMonitor, "UDP/IP Monitor"},
    };
    std::vector<uint32_t> added;
    for (const Sampled& kind : sampled) {
        SCOPED_TRACE(kind.Name);
        m_Hook.Boxes.clear();
        m_Hook.Dialogs.clear();
        (AddCommands()->*kind.Slot)();
        // The new monitor's window is the one opened, and the monitor runs.
        EXPECT_TRUE(m_Hook.Boxes.empty()) << BoxTexts().join('|').toStdString();
        ASSERT_FALSE(m_Hook.Dialogs.empty());
        EXPECT_TRUE(m_Hook.Dialogs.back().startsWith(QLatin1String(kind.Name)))
            << m_Hook.Dialogs.back().toStdString();
        const std::vector<uint32_t> ids = m_Main->findChild<SCA_MonitorsView*>()->AllMonitorIds();
        ASSERT_FALSE(ids.empty());
        const uint32_t id = *std::max_element(ids.begin(), ids.end());
        EXPECT_EQ(RunState(id), SCA_PROCESS_RUNNING);
        added.push_back(id);
    }
    // An empty monitor is added but has nothing to run.
    AddCommands()->AddEmptyMonitor();
    const std::vector<uint32_t> ids = m_Main->findChild<SCA_MonitorsView*>()->AllMonitorIds();
    ASSERT_FALSE(ids.empty());
    const uint32_t empty = *std::max_element(ids.begin(), ids.end());
    EXPECT_EQ(RunState(empty), SCA_PROCESS_IDLE);
    added.push_back(empty);

    // The kinds Linux has no source of say so and add nothing.
    struct Absent {
        Add Slot;
        const char* Text;
    };
    const Absent absent[] = {
        {&SCA_AddMonitorCommands::AddNetworkFilterMonitor,
         "There is no network filter on the computer"},
        {&SCA_AddMonitorCommands::AddActiveDirMonitor,
         "No Active Directory services detected on the machine."},
        {&SCA_AddMonitorCommands::AddSqlServerMonitor, "No SQL Servers detected on the computer."},
        {&SCA_AddMonitorCommands::AddWebServiceMonitor, "No IIS servers detected on the computer."},
        {&SCA_AddMonitorCommands::AddISCSITargetMonitor,
         "No iSCSI targets detected on the computer."},
    };
    for (const Absent& kind : absent) {
        m_Hook.Boxes.clear();
        (AddCommands()->*kind.Slot)();
        EXPECT_EQ(BoxTexts(), QStringList{QString::fromLatin1(kind.Text)});
    }

    // The service's list is the tree's, in order.
    ASSERT_EQ(korvac_test::PollOf(m_Main)->UpdateStatus(1), 1);
    SCA_KorvantaServerStatus status;
    std::vector<SCA_KorvantaMonitorRow> rows;
    int read = 0;
    ASSERT_EQ(m_Main->GetClientInterface()->GetStatusEx(&status, &rows, &read), 1);
    ASSERT_EQ(read, 1);
    const std::vector<uint32_t> shown = m_Main->findChild<SCA_MonitorsView*>()->AllMonitorIds();
    ASSERT_EQ(shown, added);
    ASSERT_EQ(rows.size(), shown.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].MonitorId, shown[i]);
        EXPECT_EQ(
            m_Main->findChild<SCA_MonitorsView*>()->topLevelItem(static_cast<int>(i))->text(1),
            QString::fromUtf8(rows[i].Description));
    }

    // Samples for the reports, then the CPU and the process monitor saved in every format.
    const uint32_t processMonitor = added[1];
    const uint32_t cpuMonitor = added[2];
    ASSERT_EQ(m_Korvas->LogIn(&m_Probe, m_Port), 1);
    EXPECT_TRUE(korvanta_test::WaitUntil("a value of the CPU monitor", [&] {
        SCA_KorvantaInterface::MonitorStatus cpu;
        return m_Probe.GetMonitorStatusEx(cpuMonitor, SCA_ALL_ONES, 0, 0, &cpu) == 1 &&
               std::any_of(cpu.Counters.begin(), cpu.Counters.end(),
                           [](const auto& counter) { return counter.Status.ValueCount > 0; });
    }));
    EXPECT_TRUE(korvanta_test::WaitUntil("the process monitor's list", [&] {
        SCA_KorvantaInterface::ProcessListStatus list;
        SCA_TezProcessLog log;
        return m_Probe.GetMonitorProcessListStatusEx(processMonitor, SCA_ALL_ONES, &list, &log) ==
                   1 &&
               !list.Processes.empty();
    }));
    korvanta_test::TempDir folder;
    m_Folder = QString::fromStdString(folder.Path());
    m_Main->findChild<SCA_MonitorsView*>()->Rows()->Select(
        {QVariant(added[1]), QVariant(added[2])});
    const tagSCA_TEZ_REPORT_FORMAT* formats = SCA_TezGetReportFormats();
    for (uint32_t i = 0; i < SCA_TEZ_REPORT_FORMATS; ++i) {
        const tagSCA_TEZ_REPORT_FORMAT& format = formats[i];
        SCOPED_TRACE(format.Extension);
        QDir(m_Folder).removeRecursively();
        QDir().mkpath(m_Folder);
        m_Format = format.Format;
        m_Main->findChild<SCA_MonitorsView*>()->Rows()->Select(
            {QVariant(added[1]), QVariant(added[2])});
        m_Hook.Boxes.clear();
        korvac_test::CommandsOf(m_Main)->SaveReport();
        EXPECT_EQ(BoxTexts(), QStringList{QStringLiteral("Operation Successfully Completed")});
        const QStringList files = QDir(m_Folder).entryList(QDir::Files, QDir::Name);
        ASSERT_EQ(files.size(), 2) << files.join('|').toStdString();
        ASSERT_TRUE(files[0].startsWith(QLatin1String("Korvanta CPU Monitor ")));
        ASSERT_TRUE(files[1].startsWith(QLatin1String("Korvanta Process Monitor ")));
        const QString cpu = m_Folder + QLatin1Char('/') + files[0];
        const QByteArray bytes = ReadAll(cpu);
        ASSERT_FALSE(bytes.isEmpty());
        EXPECT_FALSE(ReadAll(m_Folder + QLatin1Char('/') + files[1]).isEmpty());
        EXPECT_TRUE(cpu.endsWith(QLatin1Char('.') + QLatin1String(format.Extension)));
        switch (format.Format) {
        case SCA_TEZ_FORMAT_PDF:
            EXPECT_TRUE(bytes.startsWith("%PDF"));
            break;
        case SCA_TEZ_FORMAT_EXCEL:
            EXPECT_TRUE(bytes.startsWith("PK"));
            break;
        case SCA_TEZ_FORMAT_JSON: {
            const auto json = nlohmann::json::parse(bytes.toStdString(), nullptr, false);
            ASSERT_FALSE(json.is_discarded());
            EXPECT_NE(json.dump().find("Korvanta CPU Monitor Report"), std::string::npos);
            break;
        }
        case SCA_TEZ_FORMAT_REPORT:
        case SCA_TEZ_FORMAT_DATA: {
            SCA_ConfigObj root(SCA_TEZ_REPORT_ROOT, nullptr);
            uint32_t error = 0;
            uint32_t fileType = 0;
            ASSERT_EQ(root.Load(cpu.toUtf8().constData(), &error, &fileType), 1) << error;
            if (format.Format == SCA_TEZ_FORMAT_REPORT) {
                EXPECT_EQ(fileType, SCA_TEZ_OWN_REPORT_FILE_TYPE);
                char title[256] = "";
                ASSERT_EQ(root.GetField("Title", title, sizeof(title)), 1);
                EXPECT_STREQ(title, "Korvanta CPU Monitor Report");
            } else {
                EXPECT_EQ(fileType, SCA_TEZ_REPORT_FILE_TYPE);
                SCA_TezReport report;
                ASSERT_EQ(report.Deserialize(&root), 1);
                EXPECT_STREQ(report.GetReportTitle(), "Korvanta CPU Monitor Report");
                EXPECT_GT(report.GetCounterList()->Count(), 0u);
            }
            break;
        }
        default:
            // The readable formats carry the title the window gave the report.
            EXPECT_TRUE(bytes.contains("Korvanta CPU Monitor Report")) << bytes.left(400).data();
            break;
        }
    }
    EXPECT_EQ(korvac_test::CommandsOf(m_Main)->SaveReportFormat(),
              formats[SCA_TEZ_REPORT_FORMATS - 1].Format);
}

} // namespace
