// SPDX-License-Identifier: MIT
// The counter picker against a stand-in for the service: its categories and counter lists on
// computers with and without the optional counters, the instances each inventory gives and
// the names given back for them, what each category without instances says, the remote
// computer commands, and the monitor window's "add counter" that runs it.
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QTimerEvent>
#include <QToolButton>
#include <QTreeWidgetItem>
#include <gtest/gtest.h>

#include "FakeInventory.h"
#include "FakeMonitor.h"
#include "FakeService.h"
#include "GuiTestSupport.h"
#include "korvac/monitor/SCA_CountersView.h"
#include "korvac/monitor/SCA_HintTree.h"
#include "korvac/monitor/SCA_SrvAddCounterDlg.h"
#include "korvac/monitor/SCA_SrvMonStatusDlg.h"
#include "libvop/SCA_EntryDlg.h"
#include "libvop/SCA_TreeRows.h"
#include "model/SCA_TezConfigUser.h"

using korvac_test::Answer;
using korvac_test::ConnectionOf;
using korvac_test::FakeMonitor;
using korvac_test::FakeService;
using korvac_test::Inventory;
using korvac_test::NamedInventory;
using korvac_test::Presence;

namespace {

constexpr uint32_t kNotPresent = 100196;
constexpr uint32_t kRemoteRefused = 100400;
constexpr int kText = SCA_SrvAddCounterDlg::kTextColumn;

class CounterPicker : public testing::Test {
protected:
    void SetUp() override {
        m_Main = korvac_test::StartWindowOn(&m_Service);
        ASSERT_NE(m_Main, nullptr);
        m_Service.Healthy();
        ConnectionOf(m_Main)->DefaultConnect();
        ASSERT_EQ(m_Main->CheckConnected(0), 1);
        Offer(1, 1, 1);
        m_Service.Standing("PerfMonitorGetADStatus", Presence(1, 0));
        m_Service.Standing("PerfMonitorGetCpuList", NamedInventory({"0", "1"}));
        m_Service.Standing("PerfMonitorGetCpuListEx", NamedInventory({"2", "10", "0", "1"}));
        m_Service.Standing("PerfMonitorGetDiskList",
                           NamedInventory({"/", "/home", "/mnt/backup disk"}));
        m_Service.Standing("PerfMonitorGetNicList", NamedInventory({"enp3s0", "wlp2s0"}));
        m_Service.Standing("PerfMonitorGetPDiskList", NamedInventory({"nvme0n1", "sda"}));
        m_Service.Standing("PerfMonitorGetProcessList", NamedInventory({"zsh", "bash", "korvas"}));
        m_Service.Standing("PerfMonitorGetPrinters", NamedInventory({"Office"}));
        for (const char* op : {"PerfMonitorGetSqlInstances", "PerfMonitorGetWebSiteList",
                               "PerfMonitorGetSmbShareList", "PerfMonitorGetISCSITargets"}) {
            m_Service.Standing(op, Inventory({}, kNotPresent));
        }
    }

    // What the computer offers: the processor's frequency, TCP/IP v6 and a network filter.
    void Offer(uint32_t cpuFrequency, uint32_t tcpV6, uint32_t networkFilter) {
        m_Service.Standing("PerfMonitorGetCpuFreqStatus", Presence(cpuFrequency, 0));
        m_Service.Standing("PerfMonitorGetTCPv6Status", Presence(tcpV6, 0));
        m_Service.Standing("PerfMonitorGetWFPv4Status", Presence(networkFilter, 0));
    }

    std::unique_ptr<SCA_SrvAddCounterDlg> Picker(const char* computer = nullptr) {
        return std::make_unique<SCA_SrvAddCounterDlg>(m_Main.get(), m_Main->GetServerConfig(),
                                                      m_Main->GetServerUserConfig(),
                                                      m_Main->GetSession(), computer);
    }

    static QStringList Texts(QTreeWidget* tree) {
        QStringList texts;
        for (int i = 0; i < tree->topLevelItemCount(); ++i) {
            texts << tree->topLevelItem(i)->text(kText);
        }
        return texts;
    }
    static std::vector<uint32_t> Ids(QTreeWidget* tree) {
        std::vector<uint32_t> ids;
        for (int i = 0; i < tree->topLevelItemCount(); ++i) {
            ids.push_back(tree->topLevelItem(i)->data(0, SCA_SrvAddCounterDlg::kDataRole).toUInt());
        }
        return ids;
    }
    // Clicks the row, as the user does; false when there is none.
    static bool Click(QTreeWidget* tree, QTreeWidgetItem* row) {
        if (row == nullptr) {
            return false;
        }
        tree->setCurrentItem(row);
        emit tree->itemClicked(row, kText);
        return true;
    }
    static bool Click(QTreeWidget* tree, const QString& text) {
        const auto rows = tree->findItems(text, Qt::MatchExactly, kText);
        return Click(tree, rows.isEmpty() ? nullptr : rows.front());
    }
    static bool ClickCounter(SCA_SrvAddCounterDlg* picker, uint32_t counterType) {
        QTreeWidget* tree = picker->GetCounterTree();
        for (int i = 0; i < tree->topLevelItemCount(); ++i) {
            QTreeWidgetItem* row = tree->topLevelItem(i);
            if (row->data(0, SCA_SrvAddCounterDlg::kDataRole).toUInt() == counterType) {
                return Click(tree, row);
            }
        }
        return false;
    }
    // The picked counter as "type|computer|instance|sql instance", or "none".
    static std::string Picked(SCA_SrvAddCounterDlg* picker) {
        uint32_t type = 0;
        char computer[SCA_TEZ_NAME_SIZE] = "x";
        char instance[256] = "x";
        char sql[256] = "x";
        if (!picker->GetSelectedCounter(&type, computer, sizeof(computer), instance,
                                        sizeof(instance), sql, sizeof(sql))) {
            return "none";
        }
        return std::to_string(type) + "|" + computer + "|" + instance + "|" + sql;
    }
    std::string Sent(const char* op, const char* field) const {
        char text[256] = "";
        SCA_ConfigObj* request = m_Service.LastRequest(op);
        return request != nullptr && request->GetField(field, text, sizeof(text)) ? text : "?";
    }
    QStringList Excluded(const char* op) const {
        QStringList names;
        SCA_ConfigObj* filter = nullptr;
        SCA_ConfigObj* request = m_Service.LastRequest(op);
        if (request != nullptr && request->GetField("Filter", &filter)) {
            for (const SCA_Field* field = filter->GetHead(); field != nullptr;
                 field = field->GetNext()) {
                names << QString::fromUtf8(field->GetName());
            }
        }
        return names;
    }
    QString LastBox() const {
        if (m_Hook.Boxes.empty()) {
            return QString();
        }
        const auto& box = m_Hook.Boxes.back();
        return QString::number(box.Type) + " " + box.Title + ": " + box.Text;
    }

    korvac_test::PrivateHome m_Home;
    korvac_test::RecordingHook m_Hook;
    FakeService m_Service;
    std::unique_ptr<SCA_SrvGui> m_Main;
};

TEST_F(CounterPicker, CategoriesListTheirCountersInOrderForWhatTheComputerOffers) {
    struct Case {
        uint32_t Optional; // CPU frequency, TCP/IP v6 and the network filter alike
        size_t All, Cpu, Protocols;
        uint32_t FirstProtocol;
    };
    const QStringList standard = {"CPU Usage",        "Memory Usage",      "Disk Activity",
                                  "Network Activity", "Network Protocols", "Operating System",
                                  "Process Status",   "File System"};
    for (const Case& c : {Case{1, 134, 10, 28, 170}, Case{0, 118, 8, 14, 161}}) {
        Offer(c.Optional, c.Optional, c.Optional);
        auto picker = Picker();
        ASSERT_EQ(picker->FillDialog(), 1);
        QStringList categories = {"All Counters",      "CPU Usage",      "Memory Usage",
                                  "Disk Activity",     "Physical Disks", "Network Activity",
                                  "Network Protocols", "Network Filter", "Operating System",
                                  "Process Status",    "File System",    "Active Directory",
                                  "NAS Server",        "SQL Server",     "IIS Server",
                                  "iSCSI Target",      "Printer Status"};
        if (c.Optional == 0) {
            categories.removeAll(QStringLiteral("Network Filter"));
        }
        EXPECT_EQ(Texts(picker->GetCategoryTree()), categories);
        EXPECT_TRUE(picker->GetCategoryTree()->topLevelItem(0)->isSelected());
        const std::vector<uint32_t> all = Ids(picker->GetCounterTree());
        EXPECT_EQ(all.size(), c.All);
        EXPECT_TRUE(picker->GetCounterTree()->topLevelItem(0)->isSelected());
        // "All Counters" is the standard categories' lists one after the other.
        std::vector<uint32_t> joined;
        std::map<QString, std::vector<uint32_t>> lists;
        for (const QString& category : standard) {
            ASSERT_TRUE(Click(picker->GetCategoryTree(), category));
            lists[category] = Ids(picker->GetCounterTree());
            joined.insert(joined.end(), lists[category].begin(), lists[category].end());
        }
        EXPECT_EQ(joined, all);
        EXPECT_EQ(lists["CPU Usage"].size(), c.Cpu);
        EXPECT_EQ(lists["CPU Usage"].back(), c.Optional ? 81u : 77u);
        EXPECT_EQ(lists["Network Protocols"].size(), c.Protocols);
        EXPECT_EQ(lists["Network Protocols"].front(), c.FirstProtocol);
        EXPECT_EQ(std::vector<uint32_t>(lists["Disk Activity"].begin(),
                                        lists["Disk Activity"].begin() + 3),
                  (std::vector<uint32_t>{59, 57, 7}));
        EXPECT_EQ(std::vector<uint32_t>(lists["Operating System"].end() - 3,
                                        lists["Operating System"].end()),
                  (std::vector<uint32_t>{40, 41, 42}));
        EXPECT_EQ(lists["Process Status"].size(), 19u);
        EXPECT_EQ(lists["File System"].size(), 7u);
    }
    // The categories with instances of their own.
    Offer(1, 1, 1);
    auto picker = Picker();
    ASSERT_EQ(picker->FillDialog(), 1);
    ASSERT_TRUE(Click(picker->GetCategoryTree(), QStringLiteral("Active Directory")));
    const std::vector<uint32_t> directory = Ids(picker->GetCounterTree());
    ASSERT_EQ(directory.size(), 57u);
    EXPECT_EQ(directory.front(), 349u);
    EXPECT_EQ(directory.back(), 341u);
    EXPECT_EQ(Texts(picker->GetInstanceTree()), QStringList{"Active Directory"});
    ASSERT_TRUE(Click(picker->GetCategoryTree(), QStringLiteral("Network Filter")));
    EXPECT_EQ(Ids(picker->GetCounterTree()).size(), 13u);
    EXPECT_EQ(Texts(picker->GetInstanceTree()), QStringList{"Windows Filtering Platform"});
    ASSERT_TRUE(Click(picker->GetCategoryTree(), QStringLiteral("Printer Status")));
    EXPECT_EQ(Ids(picker->GetCounterTree()).size(), 13u);
    EXPECT_EQ(Texts(picker->GetInstanceTree()), (QStringList{"All Printers", "Office"}));
    EXPECT_TRUE(m_Hook.Boxes.empty());
}

TEST_F(CounterPicker, InstancesComeFromTheCountersInventoryAndAreGivenBackWhole) {
    struct Case {
        const char* Category;
        uint32_t CounterType;
        QStringList Rows;
        const char* Pick;
        const char* Instance;
    };
    const Case cases[] = {
        {"CPU Usage", 1, {"All CPUs", "CPU 0", "CPU 1"}, "CPU 1", "1"},
        {"CPU Usage", 2, {"All CPUs", "CPU 0", "CPU 1"}, "All CPUs", ""},
        // The frequency list in name order.
        {"CPU Usage", 80, {"All CPUs", "CPU 0", "CPU 1", "CPU 10", "CPU 2"}, "CPU 10", "10"},
        {"Memory Usage", 5, {"System Memory"}, "System Memory", ""},
        {"Disk Activity",
         57,
         {"All Disks", "Disk /", "Disk /home", "Disk /mnt/backup disk"},
         "Disk /mnt/backup disk",
         "/mnt/backup disk"},
        {"Disk Activity",
         7,
         {"All Disks", "Disk /", "Disk /home", "Disk /mnt/backup disk"},
         "Disk /",
         "/"},
        {"Network Activity", 16, {"All Network Cards", "enp3s0", "wlp2s0"}, "wlp2s0", "wlp2s0"},
        {"Network Protocols", 170, {"Network Protocols"}, "Network Protocols", ""},
        {"Operating System", 38, {"Operating System"}, "Operating System", ""},
        {"Process Status", 43, {"bash", "korvas", "zsh"}, "korvas", "korvas"},
        {"File System", 24, {"File System"}, "File System", ""},
        {"Physical Disks", 248, {"All Physical Disks", "nvme0n1", "sda"}, "sda", "sda"},
        {"Printer Status", 268, {"All Printers", "Office"}, "Office", "Office"},
    };
    auto picker = Picker();
    ASSERT_EQ(picker->FillDialog(), 1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.CounterType);
        ASSERT_TRUE(Click(picker->GetCategoryTree(), QString::fromLatin1(c.Category)));
        ASSERT_TRUE(ClickCounter(picker.get(), c.CounterType));
        EXPECT_EQ(Texts(picker->GetInstanceTree()), c.Rows);
        ASSERT_TRUE(Click(picker->GetInstanceTree(), QString::fromUtf8(c.Pick)));
        picker->setResult(QDialog::Rejected);
        picker->Accept();
        EXPECT_EQ(picker->result(), QDialog::Accepted);
        EXPECT_EQ(Picked(picker.get()),
                  std::to_string(c.CounterType) + "||" + std::string(c.Instance) + "|");
    }
    // Each inventory was asked once for the computer, whatever was chosen how often.
    for (const char* op :
         {"PerfMonitorGetCpuList", "PerfMonitorGetCpuListEx", "PerfMonitorGetDiskList",
          "PerfMonitorGetNicList", "PerfMonitorGetProcessList", "PerfMonitorGetPDiskList",
          "PerfMonitorGetPrinters"}) {
        EXPECT_EQ(m_Service.Count(op), 1) << op;
        EXPECT_EQ(Sent(op, "Computer"), "") << op;
    }
    EXPECT_EQ(Excluded("PerfMonitorGetProcessList"), (QStringList{"_Total", "Idle"}));
    EXPECT_TRUE(m_Hook.Boxes.empty());
    // A new computer asks again.
    ASSERT_EQ(picker->FillDialog(), 1);
    EXPECT_EQ(m_Service.Count("PerfMonitorGetCpuList"), 2);
}

TEST_F(CounterPicker, AddWaitsForACounterAndAnInstance) {
    auto picker = Picker();
    ASSERT_EQ(picker->FillDialog(), 1);
    ASSERT_TRUE(Click(picker->GetCategoryTree(), QStringLiteral("Process Status")));
    // Processes have no row for all of them: none is chosen until the user chooses.
    EXPECT_EQ(picker->GetInstanceTree()->currentItem(), nullptr);
    picker->Accept();
    EXPECT_NE(picker->result(), QDialog::Accepted);
    EXPECT_EQ(LastBox(), "3 Message: Please, select a counter instance to add.");
    picker->GetCounterTree()->clearSelection();
    picker->Accept();
    EXPECT_EQ(LastBox(), "3 Message: Please, select a counter to add.");
    EXPECT_EQ(Picked(picker.get()), "none");
    EXPECT_EQ(LastBox(), "3 Message: Select a counter to add.");
    EXPECT_NE(picker->result(), QDialog::Accepted);
    // A double click on an instance adds it.
    ASSERT_TRUE(ClickCounter(picker.get(), 46));
    QTreeWidgetItem* bash =
        picker->GetInstanceTree()->findItems("bash", Qt::MatchExactly, kText)[0];
    picker->GetInstanceTree()->setCurrentItem(bash);
    emit picker->GetInstanceTree()->itemDoubleClicked(bash, kText);
    EXPECT_EQ(picker->result(), QDialog::Accepted);
    EXPECT_EQ(Picked(picker.get()), "46||bash|");
}

TEST_F(CounterPicker, CategoriesWithoutInstancesSayWhyAndOfferNothing) {
    struct Case {
        const char* Op;
        Answer Reply;
        const char* Category;
        const char* Box;
    };
    const Case cases[] = {
        {"PerfMonitorGetSqlInstances", Inventory({}, kNotPresent), "SQL Server",
         "3 Message: No SQL Servers detected on the computer."},
        {"PerfMonitorGetWebSiteList", Inventory({}, kNotPresent), "IIS Server",
         "4 Message: No IIS servers detected on the computer."},
        {"PerfMonitorGetWebSiteList", Inventory({}, 2), "IIS Server",
         "4 Message: Cannot get IIS server web sites (ERR:2)"},
        {"PerfMonitorGetWebSiteList", Inventory({}, 1), "IIS Server",
         "4 Message: No IIS web sites to monitor."},
        {"PerfMonitorGetSmbShareList", Inventory({}, kNotPresent), "NAS Server",
         "3 Message: NAS Monitor Requires Windows Server 2012 or Newer"},
        {"PerfMonitorGetSmbShareList", Answer::Refused(), "NAS Server",
         "3 Message: No Network Shares To Monitor"},
        {"PerfMonitorGetISCSITargets", Inventory({}, kNotPresent), "iSCSI Target",
         "3 Message: No iSCSI Targets detected on the computer."},
        {"PerfMonitorGetPrinters", Inventory({}), "Printer Status",
         "3 Message: No printers detected on the computer."},
        {"PerfMonitorGetADStatus", Presence(0, kNotPresent), "Active Directory",
         "3 Message: No Active Directory services detected on the machine."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Box);
        m_Service.Standing(c.Op, c.Reply);
        auto picker = Picker();
        ASSERT_EQ(picker->FillDialog(), 1);
        const size_t boxes = m_Hook.Boxes.size();
        ASSERT_TRUE(Click(picker->GetCategoryTree(), QString::fromLatin1(c.Category)));
        EXPECT_EQ(m_Hook.Boxes.size(), boxes + 1);
        EXPECT_EQ(LastBox(), QString::fromLatin1(c.Box));
        EXPECT_EQ(picker->GetCounterTree()->topLevelItemCount(), 0);
        EXPECT_EQ(picker->GetInstanceTree()->topLevelItemCount(), 0);
        // The empty lists say why they are empty.
        EXPECT_FALSE(picker->GetCounterTree()->GetHint().isEmpty());
        EXPECT_FALSE(picker->GetInstanceTree()->GetHint().isEmpty());
        picker->Accept();
        EXPECT_EQ(LastBox(), "3 Message: Please, select a counter to add.");
    }
}

TEST_F(CounterPicker, SqlServerOffersItsInstancesAndTheDatabasesOfTheOneChosen) {
    m_Service.Standing("PerfMonitorGetSqlInstances", NamedInventory({"MSSQL", "REPORTS"}));
    m_Service.Standing("PerfMonitorGetSqlDatabases",
                       Answer::Reply([](SCA_ConfigObj* request, SCA_ConfigObj* reply) {
                           char instance[64] = "";
                           request->GetField("Instance", instance, sizeof(instance));
                           SCA_ConfigObj* list = reply->AddConfigObj("List");
                           list->AddField((std::string(instance) + "-sales").c_str(), 0u);
                           list->AddField((std::string(instance) + "-hr").c_str(), 1u);
                           reply->AddField("Status", 1u);
                       }));
    auto picker = Picker();
    ASSERT_EQ(picker->FillDialog(), 1);
    ASSERT_TRUE(Click(picker->GetCategoryTree(), QStringLiteral("SQL Server")));
    QComboBox* servers = picker->GetSqlInstanceCombo();
    ASSERT_NE(servers, nullptr);
    EXPECT_EQ(servers->count(), 2);
    EXPECT_EQ(Ids(picker->GetCounterTree()).size(), 35u);
    EXPECT_EQ(Texts(picker->GetInstanceTree()),
              (QStringList{"All Databases", "MSSQL-sales", "MSSQL-hr"}));
    EXPECT_EQ(m_Service.Count("PerfMonitorGetSqlDatabases"), 1);
    EXPECT_EQ(Excluded("PerfMonitorGetSqlDatabases"), QStringList{"_Total"});
    // Another server: its databases are asked for.
    servers->setCurrentIndex(1);
    EXPECT_EQ(Sent("PerfMonitorGetSqlDatabases", "Instance"), "REPORTS");
    EXPECT_EQ(Texts(picker->GetInstanceTree()),
              (QStringList{"All Databases", "REPORTS-sales", "REPORTS-hr"}));
    ASSERT_TRUE(Click(picker->GetInstanceTree(), QStringLiteral("REPORTS-hr")));
    picker->Accept();
    EXPECT_EQ(Picked(picker.get()), "116||REPORTS-hr|REPORTS");
    // Any other category drops the server's combo.
    ASSERT_TRUE(Click(picker->GetCategoryTree(), QStringLiteral("CPU Usage")));
    EXPECT_EQ(picker->GetSqlInstanceCombo(), nullptr);
    EXPECT_EQ(Picked(picker.get()), "1|||");
    EXPECT_EQ(m_Service.Count("PerfMonitorGetSqlInstances"), 1);
}

TEST_F(CounterPicker, RemoteComputersAreAskedForByNameAndARefusalIsToldInWords) {
    SCA_ConfigObj* remote = m_Main->GetServerUserConfig()->GetRemoteComputers();
    remote->AddField("lab1", 0);
    remote->AddField("lab2", 0);
    std::deque<QString> typed;
    m_Hook.OnExec = [&](QDialog* dialog) {
        auto* entry = qobject_cast<SCA_EntryDlg*>(dialog);
        if (entry != nullptr && !typed.empty()) {
            entry->GetEdit()->setText(typed.front());
            typed.pop_front();
            dialog->accept();
        }
    };
    // The monitor's own computer is among the known ones: listed once, and the target.
    auto picker = Picker("lab1");
    ASSERT_EQ(picker->FillDialog(), 1);
    QComboBox* combo = picker->GetComputerCombo();
    QStringList entries;
    for (int i = 0; i < combo->count(); ++i) {
        entries << combo->itemText(i);
    }
    EXPECT_EQ(entries, (QStringList{"Local Computer", "lab1", "lab2"}));
    EXPECT_EQ(combo->currentText(), "lab1");
    EXPECT_EQ(Sent("PerfMonitorGetCpuList", "Computer"), "lab1");

    // The service monitors its own computer only, and says so.
    m_Service.Standing("PerfMonitorConnect", Answer::Reply([](SCA_ConfigObj*, SCA_ConfigObj* r) {
                           r->AddField("Status", kRemoteRefused);
                       }));
    typed = {"db7"};
    picker->AddComputer();
    EXPECT_EQ(LastBox(), "4 Error: Cannot connect to the remote computer - db7 (remote "
                         "computers are not supported)");
    EXPECT_EQ(combo->count(), 3);
    EXPECT_FALSE(remote->IsFieldExists("db7"));
    // A name the counters could not carry is refused before anything is asked.
    typed = {QString(64, QLatin1Char('a'))};
    picker->AddComputer();
    EXPECT_TRUE(LastBox().contains("too long"));
    EXPECT_EQ(m_Service.Count("PerfMonitorConnect"), 1);
    // The combo still works: the local computer, then a known one without asking again.
    combo->setCurrentIndex(0);
    EXPECT_STREQ(picker->GetComputer(), "");
    EXPECT_EQ(Sent("PerfMonitorGetCpuList", "Computer"), "");
    typed = {"lab2"};
    picker->AddComputer();
    EXPECT_EQ(combo->currentText(), "lab2");
    EXPECT_EQ(m_Service.Count("PerfMonitorConnect"), 1);
    EXPECT_EQ(Picked(picker.get()), "1|lab2||");

    // A computer that answers is added and becomes the target; one whose memory cannot be
    // read is not.
    m_Service.Standing("PerfMonitorConnect", Answer::Reply([](SCA_ConfigObj*, SCA_ConfigObj* r) {
                           r->AddField("Status", 1u);
                       }));
    m_Service.Queue("PerfMonitorGetTotalMemory",
                    Answer::Reply([](SCA_ConfigObj*, SCA_ConfigObj* r) {
                        r->AddField("TotalBytes", uint64_t{1} << 34);
                        r->AddField("Status", 1u);
                    }));
    m_Service.Queue("PerfMonitorGetTotalMemory", Answer::Refused());
    typed = {"db8", "db9"};
    picker->AddComputer();
    EXPECT_EQ(combo->currentText(), "db8");
    EXPECT_STREQ(picker->GetComputer(), "db8");
    EXPECT_TRUE(remote->IsFieldExists("db8"));
    picker->AddComputer();
    EXPECT_TRUE(LastBox().startsWith("5 Error: Cannot connect to the remote computer ("));
    EXPECT_FALSE(remote->IsFieldExists("db9"));
    EXPECT_EQ(combo->count(), 4);
}

TEST_F(CounterPicker, AFailedRefillTellsTheUserAndKeepsThePreviousComputer) {
    m_Main->GetServerUserConfig()->GetRemoteComputers()->AddField("lab1", 0);
    m_Main->GetServerUserConfig()->GetRemoteComputers()->AddField("lab2", 0);
    auto picker = Picker();
    ASSERT_EQ(picker->FillDialog(), 1);
    QComboBox* combo = picker->GetComputerCombo();
    m_Service.Queue("PerfMonitorGetCpuFreqStatus", Answer::Refused());
    combo->setCurrentIndex(1);
    EXPECT_EQ(LastBox(), "5 Error: Cannot get the counters of lab1 from the Korvanta Server.");
    EXPECT_STREQ(picker->GetComputer(), "");
    EXPECT_EQ(combo->currentText(), "Local Computer");
    EXPECT_EQ(picker->IsFilled(), 1u);
    EXPECT_EQ(Texts(picker->GetCategoryTree()).front(), "All Counters");
    EXPECT_EQ(Ids(picker->GetCounterTree()).size(), 134u);
    // The combo still answers.
    combo->setCurrentIndex(2);
    EXPECT_STREQ(picker->GetComputer(), "lab2");
    EXPECT_EQ(Sent("PerfMonitorGetTCPv6Status", "Computer"), "lab2");
    EXPECT_EQ(Picked(picker.get()), "1|lab2||");
}

TEST_F(CounterPicker, TheMonitorWindowAddsThePickedCounterWithItsPollsHeld) {
    FakeMonitor monitor;
    monitor.AddCounter(1, "", 3, 12.5);
    monitor.Install(&m_Service);
    m_Service.Standing("AddCounter",
                       Answer::Reply([&monitor](SCA_ConfigObj* request, SCA_ConfigObj* reply) {
                           uint32_t type = 0;
                           char instance[256] = "";
                           request->GetField("CounterType", &type);
                           request->GetField("Instance", instance, sizeof(instance));
                           reply->AddField("CounterId", monitor.AddCounter(type, instance, 3, 1));
                       }));
    auto window =
        korvac_test::MonitorWindowOf<SCA_SrvMonStatusDlg>(m_Main.get(), monitor.MonitorId);
    ASSERT_EQ(window->StartProcess(), 1);
    EXPECT_TRUE(window->GetMonitorButton()->isEnabled());
    int pollsDuringPicker = -1;
    m_Hook.OnExec = [&](QDialog* dialog) {
        auto* picker = qobject_cast<SCA_SrvAddCounterDlg*>(dialog);
        ASSERT_NE(picker, nullptr);
        const int before = m_Service.Count("GetMonitorStatusEx");
        QTimerEvent tick(window->GetTimerId());
        QCoreApplication::sendEvent(window.get(), &tick);
        pollsDuringPicker = m_Service.Count("GetMonitorStatusEx") - before;
        ASSERT_TRUE(Click(picker->GetCategoryTree(), QStringLiteral("Disk Activity")));
        ASSERT_TRUE(ClickCounter(picker, 57));
        ASSERT_TRUE(Click(picker->GetInstanceTree(), QStringLiteral("Disk /home")));
        picker->Accept();
    };
    window->GetMonitorButton()->click();
    EXPECT_EQ(pollsDuringPicker, 0);
    SCA_ConfigObj* sent = m_Service.LastRequest("AddCounter");
    ASSERT_NE(sent, nullptr);
    uint32_t monitorId = 0;
    uint32_t type = 0;
    sent->GetField("MonitorId", &monitorId);
    sent->GetField("CounterType", &type);
    EXPECT_EQ(monitorId, monitor.MonitorId);
    EXPECT_EQ(type, 57u);
    EXPECT_EQ(Sent("AddCounter", "Instance"), "/home");
    EXPECT_EQ(Sent("AddCounter", "Computer"), "");
    // The refresh after the add shows the new counter's row.
    ASSERT_EQ(window->GetCountersView()->topLevelItemCount(), 2);
    EXPECT_TRUE(m_Hook.Boxes.empty());

    // A refused add is logged, no box: the window shows the counters as they are; a cancelled
    // picker sends nothing.
    m_Service.Queue("AddCounter", Answer::Refused());
    window->AddCounter();
    EXPECT_EQ(korvac_test::Logged(m_Main.get(),
                                  "SCA_SrvMonStatusDlg::AddCounter: cannot add counter - 57"),
              1);
    EXPECT_TRUE(m_Hook.Boxes.empty());
    m_Hook.OnExec = [](QDialog* dialog) { dialog->reject(); };
    window->AddCounter();
    EXPECT_EQ(m_Service.Count("AddCounter"), 2);
}

} // namespace
