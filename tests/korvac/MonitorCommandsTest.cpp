// SPDX-License-Identifier: MIT
// The main window's monitor commands against a stand-in for the service: every add command
// with its inventory choice, the commands on a selection, the context menu and the save run.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QStyle>
#include <QTest>
#include <QTextLayout>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <deque>
#include <gtest/gtest.h>
#include <limits>

#include "FakeInventory.h"
#include "FakeService.h"
#include "GuiTestSupport.h"
#include "korvac/main/SCA_AddMonitorCommands.h"
#include "korvac/main/SCA_MonitorsView.h"
#include "korvac/main/SCA_SideBar.h"
#include "korvac/main/SCA_SrvConnectView.h"
#include "korvac/main/SCA_SrvLogView.h"
#include "korvac/main/SCA_SrvMonDlg.h"
#include "korvac/main/SCA_SrvMonOptionsDlg.h"
#include "libvop/SCA_ErrorListDlg.h"
#include "libvop/SCA_ListDlg.h"
#include "libvop/SCA_SaveReportsDlg.h"
#include "libvop/SCA_StatusList.h"
#include "libvop/SCA_TreeRows.h"
#include "model/SCA_SrvMonitor.h"
#include "model/SCA_TezErrorList.h"
#include "model/SCA_TezMonitorKinds.h"
#include "model/SCA_TezProcessStatus.h"
#include "model/SCA_TezReport.h"
#include "model/SCA_TezReportFormat.h"
#include "model/SCA_TezTaskStatus.h"

using korvac_test::Answer;
using korvac_test::CommandsOf;
using korvac_test::ConnectionOf;
using korvac_test::FakeService;
using korvac_test::Inventory;
using korvac_test::Items;
using korvac_test::LayoutOf;
using korvac_test::PollOf;
using korvac_test::Presence;
using korvac_test::PrivateHome;
using korvac_test::RecordingHook;

namespace {

class MonitorCommands : public testing::Test {
protected:
    void SetUp() override {
        m_Window = korvac_test::StartWindowOn(&m_Service);
        ASSERT_NE(m_Window, nullptr);
        m_Service.Healthy();
        m_Service.Status.MonitorsStatusId = 1;
        m_Service.Monitors = {FakeService::Row(1, 9, 11, 12, 0, 0, "", "Processor"),
                              FakeService::Row(2, 7, 10, 0, 0, 0, "", "Nothing yet"),
                              FakeService::Row(3, 9, 11, 13, 0, 0, "", "Disks")};
        AnswerMonitorOperations();
        m_Hook.OnExec = [this](QDialog* dialog) { AnswerDialog(dialog); };
        ConnectionOf(m_Window)->DefaultConnect();
        ASSERT_EQ(m_Window->CheckConnected(0), 1);
    }

    void AnswerMonitorOperations() {
        m_Service.Standing("IsMonitorExists",
                           Answer::Reply([](SCA_ConfigObj*, SCA_ConfigObj* reply) {
                               reply->AddField("MonitorId", SCA_ALL_ONES);
                               reply->AddField("Exists", 0u);
                           }));
        m_Service.Standing(
            "AddMonitor", Answer::Reply([this](SCA_ConfigObj* request, SCA_ConfigObj* reply) {
                char description[256] = "";
                request->GetField("Description", description, sizeof(description));
                const uint32_t id = m_NextId++;
                m_Service.Monitors.push_back(FakeService::Row(id, 7, 10, 0, 0, 0, "", description));
                ++m_Service.Status.MonitorsStatusId;
                reply->AddField("MonitorId", id);
            }));
        for (const char* op :
             {"SetMonitorObj", "StartMonitor", "PauseMonitor", "ResetMonitor", "StopMonitor",
              "DeleteMonitor", "MoveMonitorUp", "MoveMonitorDown"}) {
            m_Service.Standing(op, Answer::Ok());
        }
        // A monitor's counters are those of its row.
        m_Service.Standing("GetMonitorStats",
                           Answer::Reply([this](SCA_ConfigObj* request, SCA_ConfigObj* reply) {
                               uint32_t id = 0;
                               request->GetField("MonitorId", &id);
                               uint32_t counters = 0;
                               for (const auto& row : m_Service.Monitors) {
                                   counters = row.MonitorId == id ? row.Counters : counters;
                               }
                               reply->AddField("Type", 0u);
                               reply->AddField("Status", 7u);
                               reply->AddField("RunState", 10u);
                               reply->AddField("Counters", counters);
                               reply->AddField("Errors", 0u);
                               reply->AddField("Warnings", 0u);
                           }));
        m_Service.Standing("GetServiceSystemAccountStatus",
                           Answer::Reply([this](SCA_ConfigObj*, SCA_ConfigObj* reply) {
                               reply->AddField("SystemAccount", m_SystemAccount);
                           }));
    }

    // The monitor dialog is accepted as filled in; a list dialog chooses the next row queued
    // (cancelled when none is).
    void AnswerDialog(QDialog* dialog) {
        if (auto* list = qobject_cast<SCA_ListDlg*>(dialog)) {
            QStringList rows;
            for (int i = 0; i < list->GetList()->count(); ++i) {
                rows.push_back(list->GetList()->item(i)->text());
            }
            m_ListRows.push_back(rows);
            if (m_Rows.empty()) {
                dialog->setResult(QDialog::Rejected);
                return;
            }
            list->GetList()->setCurrentRow(m_Rows.front());
            m_Rows.pop_front();
            dialog->setResult(QDialog::Accepted);
            return;
        }
        if (auto* monitor = qobject_cast<SCA_SrvMonDlg*>(dialog)) {
            if (m_EditMonitor) {
                m_EditMonitor(monitor);
            }
            dialog->setResult(m_AcceptMonitor ? QDialog::Accepted : QDialog::Rejected);
            return;
        }
        if (m_OtherDialog) {
            m_OtherDialog(dialog);
        }
    }

    // The monitor the last SetMonitorObj since the call numbered from sent.
    bool SentMonitor(size_t from, SCA_SrvMonitor* monitor) {
        for (size_t i = m_Service.Calls.size(); i > from; --i) {
            const FakeService::Call& call = m_Service.Calls[i - 1];
            SCA_ConfigObj* object = nullptr;
            if (call.Op == "SetMonitorObj" && call.Request->GetField("Monitor", &object)) {
                return monitor->Deserialize(object) != 0;
            }
        }
        return false;
    }
    // The monitor whose live window was opened since call from: the window asks for its
    // definition first (the stand-in has none to give, which the window tells the user).
    uint32_t OpenedMonitor(size_t from) const {
        uint32_t id = 0;
        for (size_t i = from; i < m_Service.Calls.size(); ++i) {
            if (m_Service.Calls[i].Op == "GetMonitorObj") {
                m_Service.Calls[i].Request->GetField("MonitorId", &id);
            }
        }
        return id;
    }
    // The boxes other than the opened window's "cannot get monitor".
    QStringList BoxesBesideTheWindow() const {
        QStringList texts;
        for (const QString& text : BoxTexts()) {
            if (!text.contains(QStringLiteral("cannot get monitor"))) {
                texts << text;
            }
        }
        return texts;
    }
    int CountSince(size_t from, const std::string& op) const {
        int count = 0;
        for (size_t i = from; i < m_Service.Calls.size(); ++i) {
            count += m_Service.Calls[i].Op == op ? 1 : 0;
        }
        return count;
    }
    std::vector<uint32_t> IdsSent(const std::string& op) const {
        std::vector<uint32_t> ids;
        for (const auto& call : m_Service.Calls) {
            uint32_t id = 0;
            if (call.Op == op && call.Request->GetField("MonitorId", &id)) {
                ids.push_back(id);
            }
        }
        return ids;
    }
    bool Logged(const char* text) {
        SCA_DebugLog* log = m_Window->GetClientLog();
        for (uint32_t i = 0; i < log->GetMessageCount(); ++i) {
            tagSCA_ERROR_DESCR* message = nullptr;
            if (log->GetMessageByPos(i, &message) && std::string(message->Text) == text) {
                return true;
            }
        }
        return false;
    }
    QStringList BoxTexts() const {
        QStringList texts;
        for (const auto& box : m_Hook.Boxes) {
            texts.push_back(box.Text);
        }
        return texts;
    }
    // Selects the rows of the ids; the first becomes the current row.
    void Select(std::initializer_list<uint32_t> ids) {
        QList<QVariant> list;
        for (uint32_t id : ids) {
            list.push_back(QVariant(id));
        }
        m_Window->findChild<SCA_MonitorsView*>()->Rows()->Select(list);
    }

    PrivateHome m_Home;
    RecordingHook m_Hook;
    FakeService m_Service;
    SCA_AddMonitorCommands* AddCommands() const {
        return m_Window->findChild<SCA_AddMonitorCommands*>();
    }

    std::unique_ptr<SCA_SrvGui> m_Window;
    uint32_t m_NextId = 10;
    uint32_t m_SystemAccount = 0;
    std::deque<int> m_Rows;
    std::vector<QStringList> m_ListRows;
    bool m_AcceptMonitor = true;
    std::function<void(SCA_SrvMonDlg*)> m_EditMonitor;
    std::function<void(QDialog*)> m_OtherDialog;
};

// Every kind: what reaches the service, with the inventory choice and the name it makes.
TEST_F(MonitorCommands, EveryKindIsAddedWithItsModesPresetAndChoice) {
    m_Service.Standing("PerfMonitorGetDiskList", Inventory({{"/", 0}, {"/home", 1}}));
    m_Service.Standing("PerfMonitorGetPDiskList", Inventory({{"sda", 0}, {"nvme0n1", 1}}));
    m_Service.Standing("PerfMonitorGetNicList", Inventory({{"eth0", 0}, {"wlan0", 2}}));
    m_Service.Standing("PerfMonitorGetWFPv4Status", Presence(1, 0));
    m_Service.Standing("PerfMonitorGetTCPv6Status", Presence(1, 0));
    m_Service.Standing("PerfMonitorGetUDPv6Status", Presence(0, 100196));
    m_Service.Standing("PerfMonitorGetADStatus", Presence(1, 0));
    m_Service.Standing("PerfMonitorGetSmbShareList",
                       Inventory({{"\\\\*\\public", 0}, {"docs", 1}}));
    m_Service.Standing("PerfMonitorGetSqlInstances", Inventory({{"MSSQL", 0}}));
    m_Service.Standing("PerfMonitorGetSqlDatabases", Inventory({{"sales", 0}}));
    m_Service.Standing("PerfMonitorGetWebSiteList",
                       Inventory({{"_Total", 0}, {"Default Web Site", 1}}));
    m_Service.Standing("PerfMonitorGetISCSITargets", Inventory({{"iqn.2024:t1", 0}}));
    m_Service.Standing("PerfMonitorGetPrinters", Inventory({{"Office", 0}}));

    struct Case {
        void (SCA_AddMonitorCommands::*Slot)();
        std::vector<int> Rows;
        const char* Description;
        uint32_t Type, Mode, ProfileMode, Preset;
        const char* Instance;
        const char* SqlInstance;
        QStringList Offered; // the rows of the last list shown
    };
    const Case cases[] = {
        {&SCA_AddMonitorCommands::AddSystemMonitor, {}, "System Monitor", 0, 1, 1, 1, "", "", {}},
        {&SCA_AddMonitorCommands::AddProcessMonitor,
         {},
         "Process Monitor",
         1,
         5,
         19,
         0,
         "",
         "",
         {}},
        {&SCA_AddMonitorCommands::AddCpuUsageMonitor, {}, "CPU Monitor", 0, 3, 2, 2, "", "", {}},
        {&SCA_AddMonitorCommands::AddMemoryUsageMonitor,
         {},
         "Memory Monitor",
         0,
         4,
         3,
         3,
         "",
         "",
         {}},
        {&SCA_AddMonitorCommands::AddDiskActivityMonitor,
         {2},
         "Disk Monitor - /home",
         0,
         7,
         4,
         4,
         "/home",
         "",
         {"All Disks", "Disk /", "Disk /home"}},
        {&SCA_AddMonitorCommands::AddPhysicalDisksMonitor,
         {0},
         "Physical Disks - All Disks",
         0,
         14,
         12,
         12,
         "",
         "",
         {"All Physical Disks", "sda", "nvme0n1"}},
        {&SCA_AddMonitorCommands::AddNetworkActivityMonitor,
         {2},
         "Network Monitor - NIC 2",
         0,
         6,
         5,
         5,
         "wlan0",
         "",
         {"All Network Cards", "eth0", "wlan0"}},
        {&SCA_AddMonitorCommands::AddNetworkFilterMonitor,
         {},
         "Network Filter Monitor",
         0,
         19,
         18,
         18,
         "",
         "",
         {}},
        {&SCA_AddMonitorCommands::AddTcpProtocolMonitor,
         {1},
         "TCP/IP Monitor",
         0,
         16,
         6,
         13,
         "",
         "",
         {"TCP/IP v4", "TCP/IP v6"}},
        {&SCA_AddMonitorCommands::AddUdpProtocolMonitor,
         {},
         "UDP/IP Monitor",
         0,
         20,
         15,
         15,
         "",
         "",
         {}},
        {&SCA_AddMonitorCommands::AddActiveDirMonitor,
         {},
         "Active Directory Monitor",
         0,
         17,
         21,
         21,
         "",
         "",
         {}},
        {&SCA_AddMonitorCommands::AddSmbServerMonitor,
         {1},
         "NAS Monitor - public",
         0,
         8,
         9,
         9,
         "\\\\*\\public",
         "",
         {"All Network Shares", "\\\\*\\public", "docs"}},
        {&SCA_AddMonitorCommands::AddSqlServerMonitor,
         {0, 1},
         "MSSQL - sales",
         0,
         11,
         10,
         10,
         "sales",
         "MSSQL",
         {"All Databases", "sales"}},
        {&SCA_AddMonitorCommands::AddWebServiceMonitor,
         {0},
         "IIS Monitor - All Web Sites",
         0,
         12,
         8,
         8,
         "",
         "",
         {"All Web Sites", "Default Web Site"}},
        {&SCA_AddMonitorCommands::AddISCSITargetMonitor,
         {1},
         "iSCSI Monitor - iqn.2024:t1",
         0,
         13,
         11,
         11,
         "iqn.2024:t1",
         "",
         {"All Targets", "iqn.2024:t1"}},
        {&SCA_AddMonitorCommands::AddPrinterMonitor,
         {1},
         "Printer Monitor - Office",
         0,
         15,
         14,
         14,
         "Office",
         "",
         {"All Printers", "Office"}},
        {&SCA_AddMonitorCommands::AddEmptyMonitor, {}, "System Monitor", 0, 0, 0, 0, "", "", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Description);
        m_Rows.assign(c.Rows.begin(), c.Rows.end());
        m_ListRows.clear();
        m_Hook.Boxes.clear();
        const size_t from = m_Service.Calls.size();
        const uint32_t id = m_NextId;
        (AddCommands()->*c.Slot)();
        EXPECT_TRUE(BoxesBesideTheWindow().empty()) << BoxTexts().join('|').toStdString();
        EXPECT_TRUE(m_Rows.empty());
        if (!c.Offered.isEmpty()) {
            ASSERT_FALSE(m_ListRows.empty());
            EXPECT_EQ(m_ListRows.back(), c.Offered);
        } else {
            EXPECT_TRUE(m_ListRows.empty());
        }
        ASSERT_EQ(CountSince(from, "AddMonitor"), 1);
        SCA_SrvMonitor sent(nullptr, nullptr);
        ASSERT_TRUE(SentMonitor(from, &sent));
        EXPECT_EQ(sent.GetMonitorId(), id);
        EXPECT_STREQ(sent.GetDescription(), c.Description);
        EXPECT_EQ(sent.GetMonitorType(), c.Type);
        EXPECT_EQ(sent.GetMonitorMode(), c.Mode);
        EXPECT_EQ(sent.GetProfileMode(), c.ProfileMode);
        const SCA_TezProfile* profile = sent.GetProfile();
        EXPECT_EQ(profile->GetProfileMode(), c.Preset);
        EXPECT_STREQ(profile->GetProfileName(), c.Type == 1 ? "" : c.Description);
        // The counters are the preset's, each watching the item chosen.
        SCA_TezCounterList preset;
        if (c.Preset != 0) {
            ASSERT_TRUE(preset.Init(c.Preset, nullptr, nullptr, nullptr));
        }
        ASSERT_EQ(profile->GetCounterList()->Count(), preset.Count());
        auto* expected = preset.GetHead();
        for (auto* node = profile->GetCounterList()->GetHead(); node != nullptr;
             node = node->GetNext(), expected = expected->GetNext()) {
            EXPECT_EQ(node->GetItem()->GetCounterType(), expected->GetItem()->GetCounterType());
            EXPECT_STREQ(node->GetItem()->GetInstance(), c.Instance);
            EXPECT_STREQ(node->GetItem()->GetNamePrefix(), c.SqlInstance);
        }
        // Started when it can sample (it starts by itself by default), then opened.
        EXPECT_EQ(CountSince(from, "StartMonitor"), c.Type == 1 || c.Preset != 0 ? 1 : 0);
        EXPECT_EQ(OpenedMonitor(from), id);
    }
    // A composed name longer than the description field is cut on a character boundary.
    std::string umlauts;
    for (int i = 0; i < 150; ++i) {
        umlauts += "\xC3\xBC";
    }
    m_Service.Queue("PerfMonitorGetPrinters", Inventory({{umlauts, 0}}));
    m_Rows = {1};
    const size_t from = m_Service.Calls.size();
    AddCommands()->AddPrinterMonitor();
    SCA_SrvMonitor sent(nullptr, nullptr);
    ASSERT_TRUE(SentMonitor(from, &sent));
    const QByteArray description(sent.GetDescription());
    EXPECT_EQ(description.size(), 254);
    EXPECT_TRUE(QString::fromUtf8(description).startsWith(QStringLiteral("Printer Monitor - ")));
    EXPECT_EQ(QString::fromUtf8(description).toUtf8(), description);
    EXPECT_STREQ(sent.GetProfile()->GetCounterList()->GetHead()->GetItem()->GetInstance(),
                 umlauts.substr(0, 254).c_str());

    // The read-only queries carry the service's own computer and the exclusions.
    SCA_ConfigObj* filter = nullptr;
    ASSERT_TRUE(m_Service.LastRequest("PerfMonitorGetISCSITargets")->GetField("Filter", &filter));
    EXPECT_EQ(filter->GetFieldCount(), 2u);
    EXPECT_EQ(m_Service.Count("PerfMonitorConnect"), 0);
}

TEST_F(MonitorCommands, AStopBeforeTheServiceChangesNothingAndSaysWhy) {
    struct Case {
        void (SCA_AddMonitorCommands::*Slot)();
        const char* Op;
        Answer Reply;
        const char* Text;
    };
    // A list the service could not read; a call that failed says so, never a stale status.
    const Case cases[] = {
        {&SCA_AddMonitorCommands::AddDiskActivityMonitor, "PerfMonitorGetDiskList",
         Inventory({}, 2), "Cannot get logical disks (No such file or directory)"},
        {&SCA_AddMonitorCommands::AddDiskActivityMonitor, "PerfMonitorGetDiskList",
         Answer::Refused(), "Cannot get logical disks (the request to the service failed)"},
        {&SCA_AddMonitorCommands::AddWebServiceMonitor, "PerfMonitorGetWebSiteList",
         Inventory({}, 100196), "No IIS servers detected on the computer."},
        {&SCA_AddMonitorCommands::AddSqlServerMonitor, "PerfMonitorGetSqlInstances",
         Inventory({}, 100196), "No SQL Servers detected on the computer."},
        {&SCA_AddMonitorCommands::AddPrinterMonitor, "PerfMonitorGetPrinters", Inventory({}),
         "No printers detected on the computer."},
        {&SCA_AddMonitorCommands::AddNetworkFilterMonitor, "PerfMonitorGetWFPv4Status",
         Presence(0, 100196), "There is no network filter on the computer"},
        {&SCA_AddMonitorCommands::AddActiveDirMonitor, "PerfMonitorGetADStatus",
         Presence(0, 100196), "No Active Directory services detected on the machine."},
        {&SCA_AddMonitorCommands::AddTcpProtocolMonitor, "PerfMonitorGetTCPv6Status",
         Presence(0, 5), "Cannot get TCP/IP protocol status (Input/output error)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Text);
        m_Service.Queue(c.Op, c.Reply);
        m_Hook.Boxes.clear();
        (AddCommands()->*c.Slot)();
        EXPECT_TRUE(BoxTexts().contains(QString::fromUtf8(c.Text)))
            << BoxTexts().join('|').toStdString();
    }
    // A cancelled list, a cancelled dialog, a remote computer the service cannot reach.
    m_Service.Standing("PerfMonitorGetNicList", Inventory({{"eth0", 0}, {"eth1", 1}}));
    AddCommands()->AddNetworkActivityMonitor();
    m_AcceptMonitor = false;
    AddCommands()->AddSystemMonitor();
    m_AcceptMonitor = true;
    m_Service.Standing("PerfMonitorConnect", Answer::Reply([](SCA_ConfigObj*, SCA_ConfigObj* r) {
                           r->AddField("Status", 100400u);
                       }));
    m_EditMonitor = [](SCA_SrvMonDlg* dialog) {
        dialog->GetRemoteCheck()->setChecked(true);
        dialog->GetComputerEdit()->setText(QStringLiteral("far-away"));
    };
    m_Hook.Boxes.clear();
    AddCommands()->AddCpuUsageMonitor();
    EXPECT_EQ(BoxTexts(), QStringList{QStringLiteral(
                              "Cannot connect to the remote computer (remote computers are not "
                              "supported)")});
    EXPECT_EQ(m_Service.Count("AddMonitor"), 0);
    EXPECT_EQ(m_Service.Count("SetMonitorObj"), 0);
}

TEST_F(MonitorCommands, AHalfMadeMonitorIsRemovedAndAnExistingOneOnlyAsked) {
    m_Service.Queue("SetMonitorObj", Answer::Refused());
    AddCommands()->AddCpuUsageMonitor();
    EXPECT_EQ(IdsSent("DeleteMonitor"), std::vector<uint32_t>{10});
    EXPECT_TRUE(Logged("Cannot set monitor - CPU Monitor"));
    EXPECT_EQ(m_Service.Count("StartMonitor"), 0);

    m_Service.Queue("IsMonitorExists", Answer::Reply([](SCA_ConfigObj*, SCA_ConfigObj* reply) {
                        reply->AddField("MonitorId", 3u);
                        reply->AddField("Exists", 1u);
                    }));
    m_Hook.Answer = QMessageBox::Yes;
    m_Hook.Boxes.clear();
    const size_t asked = m_Service.Calls.size();
    AddCommands()->AddMemoryUsageMonitor();
    EXPECT_EQ(m_Service.Count("AddMonitor"), 1);
    EXPECT_EQ(BoxesBesideTheWindow(),
              QStringList{QStringLiteral("The selected monitor already exists.\nDo you want to "
                                         "open the existing monitor?")});
    // Yes opens the one the service has.
    EXPECT_EQ(OpenedMonitor(asked), 3u);
}

TEST_F(MonitorCommands, CommandsVisitTheSelectionInTreeOrder) {
    // Starting skips the monitor without counters and goes on.
    Select({3, 2, 1});
    CommandsOf(m_Window)->StartMonitor();
    EXPECT_EQ(IdsSent("StartMonitor"), (std::vector<uint32_t>{1, 3}));
    EXPECT_TRUE(Logged("Cannot start monitor 2, no counters configured"));
    EXPECT_EQ(m_Window->findChild<SCA_MonitorsView*>()->SelectedMonitorIds(),
              std::vector<uint32_t>{});

    // A failed pause stops at once: the second monitor is untouched, the selection stays.
    Select({1, 3});
    m_Service.Queue("PauseMonitor", Answer::Refused());
    CommandsOf(m_Window)->PauseMonitor();
    EXPECT_EQ(IdsSent("PauseMonitor"), std::vector<uint32_t>{1});
    EXPECT_TRUE(Logged("Cannot pause monitor - 1"));
    EXPECT_EQ(m_Window->findChild<SCA_MonitorsView*>()->SelectedMonitorIds(),
              (std::vector<uint32_t>{1, 3}));

    // Moving acts on the current row only.
    CommandsOf(m_Window)->MoveMonitorDown();
    EXPECT_EQ(IdsSent("MoveMonitorDown"), std::vector<uint32_t>{1});

    // Deleting asks; No changes nothing, Yes deletes every selected monitor.
    m_Hook.Answer = QMessageBox::No;
    CommandsOf(m_Window)->DeleteMonitor();
    EXPECT_TRUE(IdsSent("DeleteMonitor").empty());
    m_Hook.Answer = QMessageBox::Yes;
    CommandsOf(m_Window)->DeleteMonitor();
    EXPECT_EQ(IdsSent("DeleteMonitor"), (std::vector<uint32_t>{1, 3}));

    // A deselected current row is no selection.
    m_Window->findChild<SCA_MonitorsView*>()->setCurrentItem(
        m_Window->findChild<SCA_MonitorsView*>()->Rows()->Find(QVariant(2u)));
    m_Window->findChild<SCA_MonitorsView*>()->clearSelection();
    m_Hook.Boxes.clear();
    CommandsOf(m_Window)->ResetMonitor();
    EXPECT_EQ(BoxTexts(), QStringList{QStringLiteral("Please, select a monitor to reset.")});
    EXPECT_EQ(m_Service.Count("ResetMonitor"), 0);
}

// Every state text is whole in the Status column: at layout 0's default size, its smallest,
// and wider. A cell elides a text whose laid-out width, a fraction of a pixel included, is more
// than its room: "Stopped - Warnings" is 117.3 pixels in the default font.
TEST_F(MonitorCommands, TheStatusColumnShowsEveryStateWholeAtAnyWindowWidth) {
    m_Service.Monitors.clear();
    uint32_t id = 0;
    for (const uint32_t run : {SCA_PROCESS_FAILED, SCA_PROCESS_STOPPED, SCA_PROCESS_IDLE,
                               SCA_PROCESS_RUNNING, SCA_PROCESS_PAUSED}) {
        for (const uint32_t state : {SCA_TASK_STATUS_WARNING, SCA_TASK_STATUS_ERROR}) {
            ++id;
            m_Service.Monitors.push_back(FakeService::Row(id, state, run, 2, 1, 1, "", "Watched"));
        }
    }
    ++m_Service.Status.MonitorsStatusId;
    PollOf(m_Window)->UpdateStatus(1);
    SCA_MonitorsView* view = m_Window->findChild<SCA_MonitorsView*>();
    ASSERT_EQ(view->topLevelItemCount(), static_cast<int>(id));
    ASSERT_EQ(LayoutOf(m_Window)->CurrentLayout(), 0u);
    constexpr int kStatus = 6;
    // The margins the item delegate keeps on each side before it elides a text.
    const int margins =
        2 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1);
    const auto laidOutWidth = [view](const QString& text) {
        QTextLayout layout(text, view->font());
        layout.beginLayout();
        QTextLine line = layout.createLine();
        line.setLineWidth(std::numeric_limits<int>::max() / 2);
        layout.endLayout();
        return line.naturalTextWidth();
    };
    QStringList texts;
    for (const int width : {m_Window->minimumWidth(), 1024, 1580}) {
        m_Window->resize(width, m_Window->minimumHeight());
        m_Window->show();
        QCoreApplication::processEvents();
        ASSERT_EQ(m_Window->width(), width);
        for (int row = 0; row < view->topLevelItemCount(); ++row) {
            const QString text = view->topLevelItem(row)->text(kStatus);
            SCOPED_TRACE(text.toStdString() + " at " + std::to_string(width));
            texts.append(text);
            ASSERT_TRUE(view->visualItemRect(view->topLevelItem(row)).isValid());
            EXPECT_LE(laidOutWidth(text), view->header()->sectionSize(kStatus) - margins);
        }
    }
    EXPECT_TRUE(texts.contains(QStringLiteral("Stopped - Warnings")));
    EXPECT_TRUE(texts.contains(QStringLiteral("Running - Errors")));
    m_Window->hide();
}

TEST_F(MonitorCommands, TheKeyboardOpensDeletesPausesResumesAndOpensTheMenu) {
    SCA_MonitorsView* view = m_Window->findChild<SCA_MonitorsView*>();
    m_Window->show();
    QApplication::setActiveWindow(m_Window.get());
    view->setFocus();

    // Return and Enter open the current monitor, as a double click does.
    Select({3});
    size_t from = m_Service.Calls.size();
    QTest::keyClick(view, Qt::Key_Return);
    EXPECT_EQ(OpenedMonitor(from), 3u);
    Select({1});
    from = m_Service.Calls.size();
    QTest::keyClick(view, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(OpenedMonitor(from), 1u);

    // Ctrl+P pauses the running monitor; once the poll shows it paused, Ctrl+P resumes it.
    Select({1});
    QTest::keyClick(view, Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(IdsSent("PauseMonitor"), std::vector<uint32_t>{1});
    m_Service.Monitors[0] = FakeService::Row(1, 8, 12, 12, 0, 0, "", "Processor");
    ++m_Service.Status.MonitorsStatusId;
    PollOf(m_Window)->UpdateStatus(1);
    Select({1});
    QTest::keyClick(view, Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(IdsSent("StartMonitor"), std::vector<uint32_t>{1});
    EXPECT_EQ(IdsSent("PauseMonitor"), std::vector<uint32_t>{1});

    // Shift+F10 and the menu key open the context menu.
    m_Hook.OnMenu = [](QMenu*) -> QAction* { return nullptr; };
    QTest::keyClick(view, Qt::Key_F10, Qt::ShiftModifier);
    QTest::keyClick(view, Qt::Key_Menu);
    EXPECT_EQ(m_Hook.Menus.size(), 2u);

    // Delete asks, then deletes the selected monitor.
    Select({3});
    m_Hook.Answer = QMessageBox::Yes;
    QTest::keyClick(view, Qt::Key_Delete);
    EXPECT_EQ(IdsSent("DeleteMonitor"), std::vector<uint32_t>{3});

    // Tab goes through the tool bar's buttons, the side bar, the monitors and the log, in that
    // order.
    QToolBar* toolBar = m_Window->findChild<QToolBar*>(QStringLiteral("ToolBar"));
    QWidget* first = toolBar->widgetForAction(toolBar->actions().first());
    ASSERT_NE(first, nullptr);
    first->setFocus(Qt::TabFocusReason);
    QList<QWidget*> visited{QApplication::focusWidget()};
    for (int step = 0; step < 20 && visited.back() != m_Window->findChild<SCA_SrvLogView*>();
         ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited.append(QApplication::focusWidget());
    }
    const auto at = [&](QWidget* widget) { return visited.indexOf(widget); };
    int buttons = 0;
    int separators = 0;
    for (QAction* action : toolBar->actions()) {
        QWidget* button = toolBar->widgetForAction(action);
        if (action->isSeparator()) {
            // A separator shows no focus: Tab never stops on one.
            ASSERT_NE(button, nullptr);
            EXPECT_EQ(at(button), -1);
            EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);
            ++separators;
        } else if (button != nullptr && button->isVisible() && button->isEnabled()) {
            EXPECT_GE(at(button), 0) << action->text().toStdString();
            EXPECT_LT(at(button), at(m_Window->findChild<SCA_SideBar*>()->GetStatusList()));
            ++buttons;
        }
    }
    EXPECT_GE(buttons, 5);
    EXPECT_EQ(separators, 4);
    EXPECT_LT(at(m_Window->findChild<SCA_SideBar*>()->GetStatusList()),
              at(m_Window->findChild<SCA_SideBar*>()->GetConnectView()));
    EXPECT_LT(at(m_Window->findChild<SCA_SideBar*>()->GetConnectView()), at(view));
    EXPECT_LT(at(view), at(m_Window->findChild<SCA_SrvLogView*>()));
    m_Window->hide();
}

TEST_F(MonitorCommands, EditSendsTheDialogsValuesAndViewErrorsCollectsEachMonitorOnce) {
    m_Service.Standing("GetMonitorObj",
                       Answer::Reply([](SCA_ConfigObj* request, SCA_ConfigObj* reply) {
                           SCA_SrvMonitor monitor(nullptr, nullptr);
                           uint32_t id = 0;
                           request->GetField("MonitorId", &id);
                           monitor.SetMonitorId(id);
                           monitor.SetDescription("Disks");
                           monitor.Serialize(reply->AddConfigObj("Monitor"));
                       }));
    m_EditMonitor = [](SCA_SrvMonDlg* dialog) {
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Edit Monitor"));
        dialog->GetDescriptionEdit()->setText(QStringLiteral("Disks of the build farm"));
    };
    Select({3});
    const size_t from = m_Service.Calls.size();
    CommandsOf(m_Window)->EditMonitor();
    SCA_SrvMonitor sent(nullptr, nullptr);
    ASSERT_TRUE(SentMonitor(from, &sent));
    EXPECT_STREQ(sent.GetDescription(), "Disks of the build farm");
    EXPECT_EQ(IdsSent("SetMonitorObj"), std::vector<uint32_t>{3});

    // Monitor 1 has two errors, the others none: nothing selected lists them once.
    m_Service.Standing("GetMonitorErrors",
                       Answer::Reply([](SCA_ConfigObj* request, SCA_ConfigObj* reply) {
                           uint32_t id = 0;
                           request->GetField("MonitorId", &id);
                           SCA_TezErrorList errors;
                           for (uint32_t i = 0; id == 1 && i < 2; ++i) {
                               auto* error = new SCA_TezError();
                               error->SetErrorId(i + 1);
                               error->SetDescription("too busy");
                               errors.AddError(error);
                           }
                           errors.Serialize(reply->AddConfigObj("Errors"));
                       }));
    int listed = -1;
    m_OtherDialog = [&listed](QDialog* dialog) {
        if (auto* errors = qobject_cast<SCA_ErrorListDlg*>(dialog)) {
            listed = errors->GetView()->topLevelItemCount();
        }
    };
    m_Window->findChild<SCA_MonitorsView*>()->ClearMonitorSelection();
    CommandsOf(m_Window)->ViewErrors();
    EXPECT_EQ(IdsSent("GetMonitorErrors"), (std::vector<uint32_t>{1, 2, 3}));
    EXPECT_EQ(listed, 2);
}

TEST_F(MonitorCommands, TheContextMenuOffersEveryCommandAndRunsTheOneChosen) {
    Select({3});
    m_Hook.OnMenu = [](QMenu* menu) -> QAction* {
        for (QAction* action : menu->actions()) {
            if (action->text() == QLatin1String("Stop Monitor")) {
                return action;
            }
        }
        return nullptr;
    };
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(10, 10), QPoint(10, 10));
    EXPECT_EQ(CommandsOf(m_Window)->BuildMonitorContextMenu(&event), 1);
    ASSERT_EQ(m_Hook.Menus.size(), 1u);
    const QStringList& entries = m_Hook.Menus[0];
    // The add submenu, then the commands; two screens give one detached entry each.
    ASSERT_GE(entries.size(), 20);
    EXPECT_EQ(entries[0], QStringLiteral("Add Monitor"));
    EXPECT_EQ(entries[1], QStringLiteral("> System Monitor ..."));
    const QStringList tail =
        entries.mid(entries.indexOf(QStringLiteral("> Empty Monitor ...")) + 1);
    EXPECT_EQ(tail, (QStringList{"-",
                                 "Start Monitor",
                                 "Pause Monitor",
                                 "Reset Monitor",
                                 "Stop Monitor",
                                 "-",
                                 "View Monitor ...",
                                 "-",
                                 "View Detached on Monitor 1",
                                 "View Detached on Monitor 2",
                                 "View Errors ...",
                                 "-",
                                 "Save Report ...",
                                 "-",
                                 "Edit Monitor ...",
                                 "Create Desktop Shortcut",
                                 "-",
                                 "Move Monitor Up",
                                 "Move Monitor Down",
                                 "-",
                                 "Delete Monitor"}));
    EXPECT_EQ(IdsSent("StopMonitor"), std::vector<uint32_t>{3});

    // Not connected: no menu, no message.
    ConnectionOf(m_Window)->Disconnect();
    m_Hook.Boxes.clear();
    EXPECT_EQ(CommandsOf(m_Window)->BuildMonitorContextMenu(&event), 0);
    EXPECT_EQ(m_Hook.Menus.size(), 1u);
    EXPECT_TRUE(m_Hook.Boxes.empty());
}

TEST_F(MonitorCommands, ASaveRunNamesEachFileSafelyAndNeverOverwrites) {
    // Two running monitors of one name (with a '/'), a remote one, and an idle one.
    struct Info {
        uint32_t Id, RunState;
        const char* Description;
        const char* Computer;
    };
    const std::vector<Info> infos = {{1, 11, "Disk / load", ""},
                                     {2, 10, "Idle", ""},
                                     {3, 12, "Disk / load", ""},
                                     {4, 1, "Far", "db/1"}};
    m_Service.Monitors.push_back(FakeService::Row(4, 9, 1, 3, 0, 0, "db/1", "Far"));
    m_Service.Status.MonitorsStatusId = 2;
    PollOf(m_Window)->UpdateStatus(1);
    m_Service.Standing("GetMonitorsStatus", Answer::Reply([](SCA_ConfigObj*, SCA_ConfigObj* r) {
                           r->AddField("Count", 4u);
                           r->AddField("Active", 2u);
                           r->AddField("Stopped", 1u);
                           r->AddField("Failed", 0u);
                       }));
    m_Service.Standing("GetMonitorInfoEx",
                       Answer::Reply([infos](SCA_ConfigObj* request, SCA_ConfigObj* reply) {
                           uint32_t id = 0;
                           request->GetField("MonitorId", &id);
                           for (const Info& info : infos) {
                               if (info.Id == id) {
                                   reply->AddField("Type", 0u);
                                   reply->AddField("Status", 9u);
                                   reply->AddField("RunState", info.RunState);
                                   reply->AddField("Description", info.Description);
                                   reply->AddField("Computer", info.Computer);
                               }
                           }
                       }));
    m_Service.Standing("GetMonitorReport", Answer::Reply([](SCA_ConfigObj*, SCA_ConfigObj* reply) {
                           SCA_TezReport report;
                           report.SetDescription("scripted");
                           report.Serialize(reply->AddConfigObj("Report"));
                       }));
    korvanta_test::TempDir folder;
    QString chosenFolder = QString::fromStdString(folder.Path());
    uint32_t chosenFormat = SCA_TEZ_FORMAT_CSV;
    m_OtherDialog = [&](QDialog* dialog) {
        if (auto* save = qobject_cast<SCA_SaveReportsDlg*>(dialog)) {
            save->GetFolderEdit()->setText(chosenFolder);
            save->GetFormatBox()->setCurrentIndex(save->GetFormatBox()->findData(chosenFormat));
            dialog->setResult(QDialog::Accepted);
        }
    };
    m_Window->findChild<SCA_MonitorsView*>()->ClearMonitorSelection();
    m_Hook.Boxes.clear();
    CommandsOf(m_Window)->SaveReport();
    EXPECT_EQ(BoxTexts(), QStringList{QStringLiteral("Operation Successfully Completed")});
    QStringList files = QDir(chosenFolder).entryList(QDir::Files, QDir::Name);
    ASSERT_EQ(files.size(), 3) << files.join('|').toStdString();
    const QString stamp = files[0].mid(QStringLiteral("Korvanta Disk _ load ").size(), 17);
    EXPECT_EQ(files, (QStringList{QStringLiteral("Korvanta Disk _ load %1 (2).csv").arg(stamp),
                                  QStringLiteral("Korvanta Disk _ load %1.csv").arg(stamp),
                                  QStringLiteral("Korvanta Far db_1 %1.csv").arg(stamp)}));
    EXPECT_EQ(CommandsOf(m_Window)->SaveReportFormat(), SCA_TEZ_FORMAT_CSV);

    // Only the idle monitor selected: nothing saved is not a success.
    Select({2});
    m_Hook.Boxes.clear();
    CommandsOf(m_Window)->SaveReport();
    EXPECT_EQ(BoxTexts(), QStringList{QStringLiteral("No active monitors to save reports.")});

    // A folder the writer cannot write to: logged, and no success.
    chosenFolder = QString::fromStdString(folder.Path() + "/missing");
    chosenFormat = SCA_TEZ_FORMAT_PDF;
    Select({1});
    m_Hook.Boxes.clear();
    const uint32_t logged = m_Window->GetClientLog()->GetErrorCount();
    CommandsOf(m_Window)->SaveReport();
    EXPECT_TRUE(m_Hook.Boxes.empty());
    EXPECT_EQ(m_Window->GetClientLog()->GetErrorCount(), logged + 1);
    EXPECT_EQ(QDir(chosenFolder).exists(), false);
}

} // namespace

namespace {

TEST_F(MonitorCommands, TheMonitorDialogChecksItsInputAndCutsTextsOnCharacters) {
    SCA_SrvMonitor monitor(nullptr, nullptr);
    monitor.SetDescription("Old name");
    monitor.SetComputerName("kept");
    SCA_SrvMonDlg dialog(m_Window.get(), m_Window->GetServerUserConfig(), m_Window->GetSession(),
                         &monitor, QStringLiteral("Add Monitor"));
    ASSERT_EQ(dialog.FillDialog(), 1);
    EXPECT_EQ(dialog.size(), QSize(380, 128));
    EXPECT_EQ(dialog.GetDescriptionEdit()->text(), QStringLiteral("Old name"));
    EXPECT_FALSE(dialog.GetComputerEdit()->isEnabled());

    auto accepted = [&dialog]() {
        dialog.setResult(QDialog::Rejected);
        dialog.Accept();
        return dialog.result() == QDialog::Accepted;
    };
    dialog.GetDescriptionEdit()->clear();
    EXPECT_FALSE(accepted());
    dialog.GetDescriptionEdit()->setText(QStringLiteral("   "));
    dialog.GetRemoteCheck()->click();
    EXPECT_TRUE(dialog.GetComputerEdit()->isEnabled());
    dialog.GetComputerEdit()->clear();
    EXPECT_FALSE(accepted());
    EXPECT_EQ(BoxTexts(), (QStringList{"Please, enter a monitor description.",
                                       "Please, enter a remote computer name."}));

    // Under the system account the service is asked about on every acceptance; No stays.
    dialog.GetComputerEdit()->setText(QString(60, QChar(0x00FC)));
    m_SystemAccount = 1;
    m_Hook.Answer = QMessageBox::No;
    EXPECT_FALSE(accepted());
    EXPECT_EQ(m_Hook.Boxes.size(), 3u);
    m_Hook.Answer = QMessageBox::Yes;
    dialog.setResult(QDialog::Rejected);
    emit dialog.GetComputerEdit()->returnPressed();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(m_Hook.Boxes.size(), 4u);

    ASSERT_EQ(dialog.SaveDialog(), 1);
    EXPECT_STREQ(monitor.GetDescription(), "   ");
    EXPECT_EQ(monitor.IsRemoteMonitor(), 1);
    // 120 bytes into a 64-byte field: 31 whole characters, never half of one.
    EXPECT_EQ(QString::fromUtf8(monitor.GetComputerName()), QString(31, QChar(0x00FC)));
    dialog.GetRemoteCheck()->click();
    EXPECT_FALSE(dialog.GetComputerEdit()->isEnabled());
    dialog.SaveDialog();
    EXPECT_EQ(monitor.IsRemoteMonitor(), 0);
    EXPECT_EQ(QString::fromUtf8(monitor.GetComputerName()), QString(31, QChar(0x00FC)));
}

TEST_F(MonitorCommands, TheOptionsDialogKeepsValuesItCannotShow) {
    SCA_SrvMonitor monitor(nullptr, nullptr);
    monitor.SetSaveReports(1);
    monitor.SetSaveReportsPeriod(90);
    monitor.SetSaveReportsHistory(20);
    monitor.SetSaveReportsFormat(SCA_TEZ_FORMAT_REPORT);
    monitor.SetSaveReportsMode(SCA_TEZ_REPORT_MODE_DETAILED);
    monitor.SetSaveReportsDir("/srv/reports");
    monitor.SetAutoStart(0);
    SCA_SrvMonOptionsDlg options(nullptr, nullptr, QStringLiteral("Monitor Options"));
    ASSERT_EQ(options.FillDialog(&monitor), 1);
    EXPECT_EQ(options.size(), QSize(400, 238));
    QList<uint32_t> formats;
    for (int i = 0; i < options.GetFormatBox()->count(); ++i) {
        formats.push_back(options.GetFormatBox()->itemData(i).toUInt());
    }
    EXPECT_EQ(formats, (QList<uint32_t>{6, 0, 15, 1, 22, 2, 5, 3}));
    // A period no item has shows nothing; the product's own format holds mode and folder.
    EXPECT_EQ(options.GetIntervalBox()->currentIndex(), -1);
    EXPECT_EQ(options.GetHistoryBox()->currentText(), QStringLiteral("20 Reports"));
    EXPECT_TRUE(options.GetFormatBox()->isEnabled());
    EXPECT_FALSE(options.GetModeBox()->isEnabled());
    EXPECT_FALSE(options.GetFolderEdit()->isEnabled());
    options.GetFormatBox()->setCurrentIndex(options.GetFormatBox()->findData(SCA_TEZ_FORMAT_PDF));
    EXPECT_TRUE(options.GetModeBox()->isEnabled());
    options.GetSaveReportsCheck()->click();
    for (QWidget* widget : {static_cast<QWidget*>(options.GetIntervalBox()),
                            static_cast<QWidget*>(options.GetHistoryBox()),
                            static_cast<QWidget*>(options.GetFormatBox()),
                            static_cast<QWidget*>(options.GetModeBox()),
                            static_cast<QWidget*>(options.GetFolderEdit())}) {
        EXPECT_FALSE(widget->isEnabled());
    }
    ASSERT_EQ(options.SaveDialog(&monitor), 1);
    EXPECT_EQ(monitor.GetSaveReports(), 0);
    EXPECT_EQ(monitor.GetSaveReportsPeriod(), 90u);
    EXPECT_EQ(monitor.GetSaveReportsFormat(), SCA_TEZ_FORMAT_PDF);
    EXPECT_EQ(monitor.GetSaveReportsMode(), SCA_TEZ_REPORT_MODE_DETAILED);
    EXPECT_STREQ(monitor.GetSaveReportsDir(), "/srv/reports");

    monitor.SetSaveReportsPeriod(86400);
    options.FillDialog(&monitor);
    EXPECT_EQ(options.GetIntervalBox()->currentText(), QStringLiteral("24 Hours"));
    // A folder longer than the record holds is refused rather than cut into another one.
    options.GetFolderEdit()->setText(QString(200, QChar(0x00FC)));
    options.setResult(QDialog::Rejected);
    options.Accept();
    EXPECT_EQ(options.result(), QDialog::Rejected);
    EXPECT_EQ(BoxTexts(), QStringList{QStringLiteral("The reports folder name is too long.")});
}

} // namespace

namespace {

// A command the service refuses is logged in the words of its failure and raises the status
// bar's badge; no box interrupts the user, who sees the state at the next poll. The commands
// are chosen from the Monitor menu with the first monitor selected.
TEST_F(MonitorCommands, RefusedCommandsAreLoggedNotBoxed) {
    struct Case {
        const char* Entry;
        const char* Refused;
        const char* Logged;
    };
    const Case cases[] = {
        {"Start Monitor", "GetMonitorStats", "Cannot get monitor status - 1"},
        {"Pause Monitor", "PauseMonitor", "Cannot pause monitor - 1"},
        {"Reset Monitor", "ResetMonitor", "Cannot reset monitor - 1"},
        {"Stop Monitor", "StopMonitor", "Cannot stop monitor - 1"},
        {"Move Monitor Up ...", "MoveMonitorUp", "Cannot move monitor - 1"},
        {"Edit Monitor ...", "GetMonitorObj", "Cannot get monitor - 1"},
        {"View Errors ...", "GetMonitorErrors", "Cannot get errors for monitor - 1"},
        {"Save Report ...", "GetMonitorsStatus",
         "SCA_SrvGui::SaveReport: Cannot get monitors status"},
    };
    // Nothing was seen in the message console during this test.
    uint32_t errors = m_Window->GetClientLog()->GetErrorCount();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Entry);
        Select({1});
        m_Hook.Boxes.clear();
        m_Service.Queue(c.Refused, Answer::Refused());
        ASSERT_TRUE(korvac_test::ChooseMenuEntry(m_Window.get(), "Monitor", c.Entry));
        EXPECT_EQ(Logged(c.Logged), true);
        EXPECT_TRUE(m_Hook.Boxes.empty()) << BoxTexts().join('|').toStdString();
        m_Window->UpdateErrorBadge();
        // The badge counts what the log holds unseen: at least this failure more.
        EXPECT_FALSE(m_Window->findChild<QToolButton*>(QStringLiteral("ErrorBadge"))->isHidden());
        const uint32_t now = m_Window->GetClientLog()->GetErrorCount();
        EXPECT_GT(now, errors);
        errors = now;
        EXPECT_EQ(m_Window->findChild<QToolButton*>(QStringLiteral("ErrorBadge"))->text(),
                  errors == 1 ? QStringLiteral("1 error")
                              : QStringLiteral("%1 errors").arg(errors));
    }
    // Adding and opening: the failure to add, and a window that cannot open, are logged too.
    m_Hook.Boxes.clear();
    m_Service.Queue("AddMonitor", Answer::Refused());
    AddCommands()->AddCpuUsageMonitor();
    EXPECT_TRUE(Logged("Cannot add monitor - CPU Monitor"));
    Select({3});
    m_Service.Queue("GetMonitorStats", Answer::Refused());
    QTest::keyClick(m_Window->findChild<SCA_MonitorsView*>(), Qt::Key_Return);
    EXPECT_TRUE(Logged("SCA_SrvGui::ViewMonitor: Cannot get monitor status - 3"));
    EXPECT_TRUE(m_Hook.Boxes.empty()) << BoxTexts().join('|').toStdString();
}

} // namespace
