// SPDX-License-Identifier: MIT
// The reports window against a stand-in for the service that keeps its reports in memory: the
// filter as a table, the selection rules and their messages, a refresh that fails, the switch
// that forbids deleting, the context menu, and the report worker on its own connection with its
// progress, a stop part-way, a report that went missing, import and comparison.
#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QProgressBar>
#include <QToolButton>
#include <QTreeWidgetItem>
#include <atomic>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <set>
#include <type_traits>

#include "FakeService.h"
#include "GuiTestSupport.h"
#include "korvac/reports/SCA_SrvReportsDlg.h"
#include "korvac/reports/SCA_SrvReportsView.h"
#include "libmor/SCA_Sync.h"
#include "libtez/reports/SCA_SrvReportManager.h"
#include "libvop/SCA_ListDlg.h"
#include "libvop/SCA_ProgressDlg.h"
#include "libvop/SCA_SaveReportsDlg.h"
#include "libvop/SCA_ToolButton.h"
#include "model/SCA_TezDeltaReport.h"
#include "model/SCA_TezMonitorKinds.h"
#include "model/SCA_TezMonitorMode.h"
#include "model/SCA_TezReportFormat.h"
#include "tests/model/ReportFixtures.h"

using korvac_test::Answer;
using korvac_test::FakeClient;
using korvac_test::FakeService;
using korvac_test::FollowProgress;
using korvac_test::PrivateHome;
using korvac_test::RecordingHook;
namespace fs = std::filesystem;

namespace {

static_assert(!std::is_copy_constructible_v<SCA_SrvReportManager>);
static_assert(!std::is_copy_assignable_v<SCA_SrvReportManager>);

constexpr uint64_t kDay = 86400 * SCA_ABS_TIME_SECOND;
// Noon UTC, so that each report's local date is its UTC date in every time zone near it.
constexpr uint64_t kNoon = 12 * 3600 * SCA_ABS_TIME_SECOND;
constexpr uint64_t kJan2 = korvanta_test::kFixtureStart - 3 * 3600 * SCA_ABS_TIME_SECOND + kNoon;
constexpr int kProgressWaitMs = 20000;

// The service's side of the report operations, in memory: its index and its reports.
class ReportShelf {
public:
    SCA_TezReportIndex Index{nullptr, nullptr};
    std::map<uint32_t, std::unique_ptr<SCA_TezReport>> Reports;

    uint32_t Add(std::unique_ptr<SCA_TezReport> report) {
        uint32_t id = 0;
        Index.AddReport(*report, 0, &id);
        report->SetReportId(id);
        Reports[id] = std::move(report);
        return id;
    }
    uint32_t Add(const char* title, const char* profile, const char* host, uint32_t mode,
                 uint64_t start) {
        auto report = std::make_unique<SCA_TezReport>();
        korvanta_test::SetReportHeader(report.get(), title, profile, host, mode, start, 60);
        korvanta_test::AddFixtureCounter(report.get(), korvanta_test::kFixtureCpu, "0",
                                         {10.0 + mode, 20.0, 30.0});
        korvanta_test::AddFixtureCounter(report.get(), korvanta_test::kFixtureMemory, "",
                                         {40.0, 50.0});
        report->SetNumOfCounters(2);
        return Add(std::move(report));
    }

    // Answers as the service does; GetReportObj answers once released says so.
    void Install(FakeService* service, const std::function<bool()>& released = {}) {
        service->Standing("GetReportIndexObj",
                          Answer::Reply([this](SCA_ConfigObj*, SCA_ConfigObj* reply) {
                              Index.Serialize(reply->AddConfigObj("ReportIndex"));
                          }));
        service->Standing("GetReportObj",
                          Answer::Reply([this](SCA_ConfigObj* request, SCA_ConfigObj* reply) {
                              uint32_t id = 0;
                              request->GetField("ReportId", &id);
                              Reports.at(id)->Serialize(reply->AddConfigObj("Report"));
                          }).HeldUntil(released));
        service->Standing("IsReportExists",
                          Answer::Reply([this](SCA_ConfigObj* request, SCA_ConfigObj* reply) {
                              SCA_ConfigObj* object = nullptr;
                              SCA_TezReportInfo info;
                              request->GetField("ReportInfo", &object);
                              info.Deserialize(object);
                              reply->AddField("Exists", Index.IsReportExists(info) ? 1u : 0u);
                          }));
        service->Standing("DeleteReport",
                          Answer::Reply([this](SCA_ConfigObj* request, SCA_ConfigObj*) {
                              uint32_t id = 0;
                              request->GetField("ReportId", &id);
                              Index.DeleteReport(id);
                              Reports.erase(id);
                          }));
        service->Standing("AddReportObj",
                          Answer::Reply([this](SCA_ConfigObj* request, SCA_ConfigObj* reply) {
                              SCA_ConfigObj* object = nullptr;
                              request->GetField("Report", &object);
                              auto report = std::make_unique<SCA_TezReport>();
                              report->Deserialize(object);
                              reply->AddField("ReportId", Add(std::move(report)));
                          }));
    }
};

QStringList BoxTexts(const RecordingHook& hook) {
    QStringList texts;
    for (const auto& box : hook.Boxes) {
        texts << box.Text;
    }
    return texts;
}

class ReportsWindow : public testing::Test {
protected:
    void SetUp() override {
        m_Service.Healthy();
        m_Session.SetClientFactory([this] { return new FakeClient(&m_Service); });
        uint32_t error = 0;
        ASSERT_EQ(m_Session.Open("server-a", 8000, 1000, &error), 1);
        m_Session.Client()->SetLoginUser("admin");
        m_Session.Client()->SetLoginPassword("secret");
    }

    // The window as the main window builds it, filled once.
    std::unique_ptr<SCA_SrvReportsDlg> Open() {
        m_Shelf.Install(&m_Service, m_ReportsReleased);
        auto window = std::make_unique<SCA_SrvReportsDlg>(nullptr, &m_Config, &m_User, &m_Params,
                                                          "korva", &m_Session);
        window->SetLauncher([this](const QString& program, const QStringList& arguments,
                                   const QProcessEnvironment& environment, uint32_t*) {
            m_Launched = {program, arguments, environment};
            return true;
        });
        EXPECT_EQ(window->StartProcess(), 1);
        return window;
    }

    // The ids of the rows, in view order.
    static std::vector<uint32_t> Rows(SCA_SrvReportsDlg* window) {
        std::vector<uint32_t> ids;
        for (int i = 0; i < window->GetView()->topLevelItemCount(); ++i) {
            ids.push_back(window->GetView()->topLevelItem(i)->data(0, Qt::UserRole).toUInt());
        }
        return ids;
    }

    // Selects the rows of ids, the first one current.
    static void Select(SCA_SrvReportsDlg* window, const std::vector<uint32_t>& ids) {
        window->GetView()->clearSelection();
        bool first = true;
        for (int i = 0; i < window->GetView()->topLevelItemCount(); ++i) {
            QTreeWidgetItem* row = window->GetView()->topLevelItem(i);
            const uint32_t id = row->data(0, Qt::UserRole).toUInt();
            if (std::find(ids.begin(), ids.end(), id) == ids.end()) {
                continue;
            }
            if (first) {
                window->GetView()->setCurrentItem(row);
                first = false;
            }
            row->setSelected(true);
        }
    }

    struct Launch {
        QString Program;
        QStringList Arguments;
        QProcessEnvironment Environment;
    };

    PrivateHome m_Home;
    RecordingHook m_Hook;
    FakeService m_Service;
    SCA_ClientSession m_Session;
    SCA_TezConfig m_Config{SCA_PRODUCT_TYPE_KORVANTA};
    SCA_TezConfigUser m_User{&m_Config};
    SCA_ConfigObj m_Params{"Params", nullptr};
    ReportShelf m_Shelf;
    std::function<bool()> m_ReportsReleased;
    Launch m_Launched;
};

// Every field with every operator, case-insensitive, with and without a monitor mode: which
// rows the list shows and what its two counts say.
TEST_F(ReportsWindow, FiltersByFieldOperatorTextAndMode) {
    const uint32_t a = m_Shelf.Add("Nightly web", "Web Servers", "web-1", SCA_TEZ_MODE_CPU, kJan2);
    const uint32_t b =
        m_Shelf.Add("Weekly DB", "Database", "DB-1", SCA_TEZ_MODE_MEMORY, kJan2 + kDay);
    const uint32_t c =
        m_Shelf.Add("web check", "Web Servers", "web-2", SCA_TEZ_MODE_CPU, kJan2 + kDay);
    const uint32_t d =
        m_Shelf.Add("Ünïcode", "Café", "web-1", SCA_TEZ_MODE_PROCESS, kJan2 + 39 * kDay);
    const uint32_t e = m_Shelf.Add("Idle", "Idle", "db-2", SCA_TEZ_MODE_EMPTY, kJan2 + 39 * kDay);
    auto window = Open();

    struct Case {
        int Mode; // item data of the mode box
        uint32_t Field;
        uint32_t Operator;
        const char* Text;
        std::vector<uint32_t> Shown;
        uint32_t Passed; // "Reports:"
    };
    const Case cases[] = {
        {-1, SCA_TEZ_FILTER_PROFILE, SCA_TEZ_FILTER_CONTAINS, "", {a, b, c, d, e}, 5},
        {-1, SCA_TEZ_FILTER_PROFILE, SCA_TEZ_FILTER_CONTAINS, "web", {a, c}, 2},
        {-1, SCA_TEZ_FILTER_PROFILE, SCA_TEZ_FILTER_BEGINS, "WEB", {a, c}, 2},
        {-1, SCA_TEZ_FILTER_PROFILE, SCA_TEZ_FILTER_ENDS, "servers", {a, c}, 2},
        {-1, SCA_TEZ_FILTER_PROFILE, SCA_TEZ_FILTER_EQUALS, "web", {}, 0},
        {-1, SCA_TEZ_FILTER_PROFILE, SCA_TEZ_FILTER_CONTAINS, "fé", {d}, 1},
        {-1, SCA_TEZ_FILTER_TITLE, SCA_TEZ_FILTER_EQUALS, "weekly db", {b}, 1},
        {-1, SCA_TEZ_FILTER_TITLE, SCA_TEZ_FILTER_BEGINS, "ün", {}, 0}, // ASCII letters only
        {-1, SCA_TEZ_FILTER_HOST, SCA_TEZ_FILTER_ENDS, "-1", {a, b, d}, 3},
        {SCA_TEZ_MODE_CPU, SCA_TEZ_FILTER_HOST, SCA_TEZ_FILTER_ENDS, "-1", {a}, 3},
        {SCA_TEZ_MODE_CPU, SCA_TEZ_FILTER_HOST, SCA_TEZ_FILTER_CONTAINS, "", {a, c}, 5},
        {SCA_TEZ_MODE_PRINTERS, SCA_TEZ_FILTER_HOST, SCA_TEZ_FILTER_CONTAINS, "", {}, 5},
        {-1, SCA_TEZ_FILTER_DATE, SCA_TEZ_FILTER_BEGINS, "2024-02", {d, e}, 2},
        {-1, SCA_TEZ_FILTER_DATE, SCA_TEZ_FILTER_EQUALS, "2024-01-03", {b, c}, 2},
        {-1, SCA_TEZ_FILTER_DATE, SCA_TEZ_FILTER_ENDS, "-02", {a}, 1},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(std::string(test.Text) + " field " + std::to_string(test.Field) + " op " +
                     std::to_string(test.Operator) + " mode " + std::to_string(test.Mode));
        window->GetModeBox()->setCurrentIndex(window->GetModeBox()->findData(test.Mode));
        window->GetFieldBox()->setCurrentIndex(window->GetFieldBox()->findData(test.Field));
        window->GetOperatorBox()->setCurrentIndex(
            window->GetOperatorBox()->findData(test.Operator));
        window->GetFilterEdit()->setText(QString::fromUtf8(test.Text));
        window->FilterReports();
        EXPECT_EQ(Rows(window.get()), test.Shown);
        EXPECT_EQ(window->GetReportsLabel()->text(),
                  QStringLiteral("Reports: %1").arg(test.Passed));
        EXPECT_EQ(window->GetDisplayedLabel()->text(),
                  QStringLiteral("Displayed: %1").arg(test.Shown.size()));
    }

    // A change of field or operator starts the text again; a change of mode keeps it.
    window->GetFilterEdit()->setText(QStringLiteral("web"));
    window->GetModeBox()->setCurrentIndex(0);
    EXPECT_EQ(window->GetFilterEdit()->text(), QStringLiteral("web"));
    window->GetOperatorBox()->setCurrentIndex(0);
    EXPECT_TRUE(window->GetFilterEdit()->text().isEmpty());
    window->GetFilterEdit()->setText(QStringLiteral("web"));
    window->GetFieldBox()->setCurrentIndex(0);
    EXPECT_TRUE(window->GetFilterEdit()->text().isEmpty());
    EXPECT_EQ(Rows(window.get()).size(), 5u);

    // The date values offered are the ones the filter compares with: picking the second one
    // lists that day's reports.
    window->GetFieldBox()->setCurrentIndex(window->GetFieldBox()->findData(SCA_TEZ_FILTER_DATE));
    window->GetOperatorBox()->setCurrentIndex(
        window->GetOperatorBox()->findData(SCA_TEZ_FILTER_EQUALS));
    QStringList offered;
    m_Hook.OnExec = [&offered](QDialog* dialog) {
        auto* list = qobject_cast<SCA_ListDlg*>(dialog);
        ASSERT_NE(list, nullptr);
        for (int i = 0; i < list->GetList()->count(); ++i) {
            offered << list->GetList()->item(i)->text();
        }
        list->GetList()->setCurrentRow(1);
        dialog->accept();
    };
    window->SelectFilter();
    EXPECT_EQ(offered, (QStringList{"2024-01-02", "2024-01-03", "2024-02-10"}));
    EXPECT_EQ(m_Hook.Dialogs.last(), QStringLiteral("Select Report Date"));
    EXPECT_EQ(window->GetFilterEdit()->text(), QStringLiteral("2024-01-03"));
    EXPECT_EQ(Rows(window.get()), (std::vector<uint32_t>{b, c}));
    // Another filter's rows keep the user's choice where it still shows.
    Select(window.get(), {c});
    window->ResetFilter();
    ASSERT_EQ(Rows(window.get()).size(), 5u);
    ASSERT_NE(window->GetView()->currentItem(), nullptr);
    EXPECT_EQ(window->GetView()->currentItem()->data(0, Qt::UserRole).toUInt(), c);
    EXPECT_EQ(window->GetView()->selectedItems().size(), 1);
    EXPECT_TRUE(window->GetView()->currentItem()->isSelected());

    // A full box of two-byte characters is 256 bytes: 255 are handed on, in whole characters.
    window->GetFilterEdit()->setText(QString(SCA_SrvReportsDlg::kMaxFilterLength, QChar(0xE9)));
    const QByteArray handed = window->FilterText();
    EXPECT_EQ(handed.size(), 254);
    EXPECT_EQ(QString::fromUtf8(handed), QString(127, QChar(0xE9)));
}

// Each row's texts, in view order, icons left out.
std::vector<QStringList> RowTexts(SCA_SrvReportsDlg* window) {
    std::vector<QStringList> rows;
    for (int i = 0; i < window->GetView()->topLevelItemCount(); ++i) {
        QStringList texts;
        for (int column = 0; column < SCA_SrvReportsView::kColumns; ++column) {
            texts << window->GetView()->topLevelItem(i)->text(column);
        }
        rows.push_back(texts);
    }
    return rows;
}

// A refresh keeps each row of a report that stays (the same item, with its selection), writes
// only the row of the report that changed, and adds and removes rows where reports came and
// went - with a few changes and with many, through a filter and a mode - always showing what a
// window opened afresh on the same reports and filter shows.
TEST_F(ReportsWindow, ARefreshTouchesOnlyTheReportsThatChangedAndShowsWhatAFreshWindowShows) {
    std::vector<uint32_t> ids;
    for (int i = 0; i < 80; ++i) {
        ids.push_back(m_Shelf.Add("Run", i % 2 == 0 ? "Web" : "Database",
                                  i % 3 == 0 ? "web-1" : "db-2",
                                  i % 4 == 0 ? SCA_TEZ_MODE_CPU : SCA_TEZ_MODE_MEMORY,
                                  kJan2 + static_cast<uint64_t>(i) * kDay));
    }
    auto window = Open();
    QTreeWidget* view = window->GetView();
    std::map<uint32_t, QTreeWidgetItem*> items;
    for (int i = 0; i < view->topLevelItemCount(); ++i) {
        items[view->topLevelItem(i)->data(0, Qt::UserRole).toUInt()] = view->topLevelItem(i);
    }
    Select(window.get(), {ids[10], ids[40]});
    std::set<QTreeWidgetItem*> written;
    QObject::connect(view, &QTreeWidget::itemChanged,
                     [&written](QTreeWidgetItem* item, int) { written.insert(item); });
    const auto expectFresh = [this, &window](const char* step) {
        SCOPED_TRACE(step);
        auto fresh = Open();
        fresh->GetModeBox()->setCurrentIndex(window->GetModeBox()->currentIndex());
        fresh->GetFieldBox()->setCurrentIndex(window->GetFieldBox()->currentIndex());
        fresh->GetFilterEdit()->setText(window->GetFilterEdit()->text());
        fresh->FilterReports();
        EXPECT_EQ(Rows(window.get()), Rows(fresh.get()));
        EXPECT_EQ(RowTexts(window.get()), RowTexts(fresh.get()));
        EXPECT_EQ(window->GetReportsLabel()->text(), fresh->GetReportsLabel()->text());
        EXPECT_EQ(window->GetDisplayedLabel()->text(), fresh->GetDisplayedLabel()->text());
    };

    // One report changed, one deleted, one added: the other 78 rows are left alone.
    SCA_TezReportInfo* changed = nullptr;
    ASSERT_EQ(m_Shelf.Index.GetReportInfo(ids[20], &changed), 1);
    changed->SetNumOfErrors(7);
    m_Shelf.Index.DeleteReport(ids[30]);
    const uint32_t added = m_Shelf.Add("Run", "Web", "web-1", SCA_TEZ_MODE_CPU, kJan2);
    EXPECT_EQ(window->RefreshView(), 1);
    EXPECT_EQ(written, (std::set<QTreeWidgetItem*>{items[ids[20]]}));
    EXPECT_EQ(items[ids[20]]->text(SCA_SrvReportsView::kErrors), QStringLiteral("7"));
    ASSERT_EQ(view->topLevelItemCount(), 80);
    for (int i = 0; i < view->topLevelItemCount(); ++i) {
        const uint32_t id = view->topLevelItem(i)->data(0, Qt::UserRole).toUInt();
        if (id != added) {
            EXPECT_EQ(view->topLevelItem(i), items[id]) << "report " << id;
        }
    }
    EXPECT_EQ(view->selectedItems().size(), 2);
    EXPECT_TRUE(items[ids[10]]->isSelected());
    EXPECT_TRUE(items[ids[40]]->isSelected());
    EXPECT_EQ(view->currentItem(), items[ids[10]]);
    expectFresh("a few changes");

    // A filter that hides most rows and a mode, then both undone: the rows still shown are the
    // same items, the selected one still selected.
    written.clear();
    window->GetFieldBox()->setCurrentIndex(window->GetFieldBox()->findData(SCA_TEZ_FILTER_HOST));
    window->GetFilterEdit()->setText(QStringLiteral("web-1"));
    window->FilterReports();
    EXPECT_TRUE(written.empty());
    EXPECT_EQ(view->topLevelItem(1), items[ids[3]]);
    expectFresh("filtered by host");
    Select(window.get(), {ids[12]});
    window->GetModeBox()->setCurrentIndex(window->GetModeBox()->findData(SCA_TEZ_MODE_CPU));
    EXPECT_EQ(view->topLevelItem(1), items[ids[12]]);
    EXPECT_TRUE(items[ids[12]]->isSelected());
    expectFresh("and by mode");
    window->GetModeBox()->setCurrentIndex(0);
    window->ResetFilter();
    EXPECT_TRUE(items[ids[12]]->isSelected());
    EXPECT_EQ(view->selectedItems().size(), 1);
    expectFresh("filter reset");
}

// The selection is the selected rows when the current row is one of them; each operation says
// what it needs in its own words and asks before deleting.
TEST_F(ReportsWindow, SelectionRulesAndTheirMessages) {
    std::vector<uint32_t> ids;
    for (int i = 0; i < 3; ++i) {
        ids.push_back(m_Shelf.Add("Run", "Web", "web-1", SCA_TEZ_MODE_CPU, kJan2 + i * kDay));
    }
    auto window = Open();
    m_Hook.Answer = QMessageBox::No;

    Select(window.get(), {ids[0]});
    window->CompareReports();
    Select(window.get(), ids);
    window->CompareReports();
    window->DeleteReports();
    Select(window.get(), {ids[1]});
    window->DeleteReports();
    // The current row unselected: nothing is selected, however many rows are.
    Select(window.get(), {ids[0], ids[2]});
    window->GetView()->currentItem()->setSelected(false);
    window->SaveReportHtml();
    window->ExportReports();
    window->CompareReports();
    window->DeleteReports();
    window->OpenReportDetached();
    window->OpenReport(); // says nothing
    EXPECT_EQ(
        BoxTexts(m_Hook),
        (QStringList{"Please, select two reports to compare.",
                     "Please, select two reports to compare.",
                     "Are you sure you want to delete 3 selected reports?",
                     "Are you sure you want to delete 1 selected report?",
                     "Select one or more reports to save.", "Select one or more reports to export.",
                     "Please, select two reports to compare.",
                     "Select one or more reports to delete.", "Please, select a report to open."}));
    EXPECT_EQ(m_Hook.Boxes[2].Title, QStringLiteral("Warning"));
    EXPECT_EQ(m_Service.Count("DeleteReport"), 0);
    EXPECT_EQ(m_Service.Count("GetReportObj"), 0);
    EXPECT_TRUE(m_Launched.Program.isEmpty());

    // A row whose report left the window's index is logged, not shown.
    Select(window.get(), {ids[1]});
    window->GetIndex()->DeleteReport(ids[1]);
    SCA_List<SCA_TezReportInfo*> list;
    uint32_t missing = 0;
    EXPECT_EQ(window->GatherSelection(&list, &missing), SCA_SrvReportsDlg::Selection::NotFound);
    EXPECT_EQ(missing, ids[1]);
    const size_t boxes = m_Hook.Boxes.size();
    window->ExportReports();
    EXPECT_EQ(m_Hook.Boxes.size(), boxes);
}

// A refresh that cannot read the service's reports empties the list and its counts with it,
// and says why in the empty list; a first fill that fails keeps the window from opening.
TEST_F(ReportsWindow, AFailedRefreshShowsNothingStale) {
    m_Shelf.Add("Run", "Web", "web-1", SCA_TEZ_MODE_CPU, kJan2);
    m_Shelf.Add("Run", "Web", "web-2", SCA_TEZ_MODE_CPU, kJan2);
    auto window = Open();
    EXPECT_EQ(window->GetReportsLabel()->text(), QStringLiteral("Reports: 2"));
    m_Service.Queue("GetReportIndexObj", Answer::Refused());
    EXPECT_EQ(window->RefreshView(), 0);
    EXPECT_EQ(window->GetView()->topLevelItemCount(), 0);
    EXPECT_EQ(window->GetReportsLabel()->text(), QStringLiteral("Reports: 0"));
    EXPECT_EQ(window->GetDisplayedLabel()->text(), QStringLiteral("Displayed: 0"));
    EXPECT_EQ(window->GetView()->GetEmptyHint(),
              QStringLiteral("The service's reports could not be read."));
    EXPECT_EQ(window->RefreshView(), 1);
    EXPECT_EQ(window->GetView()->topLevelItemCount(), 2);

    m_Service.Queue("GetReportIndexObj", Answer::Refused());
    SCA_SrvReportsDlg second(nullptr, &m_Config, &m_User, &m_Params, "korva", &m_Session);
    EXPECT_EQ(second.StartProcess(), 0);
    EXPECT_TRUE(m_Hook.Boxes.empty());
}

// -no_delete_reports takes the Delete button and the menu's entry away, and the worker refuses
// on its own; the menu offers one detached entry per screen.
TEST_F(ReportsWindow, DeleteSwitchAndContextMenu) {
    const uint32_t id = m_Shelf.Add("Run", "Web", "web-1", SCA_TEZ_MODE_CPU, kJan2);
    {
        auto window = Open();
        EXPECT_TRUE(window->GetDeleteButton()->isEnabled());
        std::unique_ptr<QMenu> menu(window->BuildContextMenu(1));
        QStringList entries;
        for (QAction* action : menu->actions()) {
            if (!action->isSeparator()) {
                entries << action->text();
            }
        }
        EXPECT_EQ(entries, (QStringList{"Open Report ...", "Open Detached ...", "Save Report",
                                        "Compare Reports ...", "Export Reports ...",
                                        "Import Reports ...", "Delete Reports"}));
        EXPECT_TRUE(menu->actions().last()->isEnabled());

        // Three screens, the second chosen: the viewer opens on screen 1, the password in its
        // environment rather than on its command line.
        menu.reset(window->BuildContextMenu(3));
        QStringList detached;
        QAction* second = nullptr;
        for (QAction* action : menu->actions()) {
            if (action->text().startsWith(QStringLiteral("Open Detached"))) {
                detached << action->text();
                second = action->data().toInt() == 1 ? action : second;
            }
        }
        EXPECT_EQ(detached, (QStringList{"Open Detached on Monitor 1", "Open Detached on Monitor 2",
                                         "Open Detached on Monitor 3"}));
        ASSERT_NE(second, nullptr);
        Select(window.get(), {id});
        second->trigger();
        EXPECT_EQ(m_Launched.Arguments,
                  (QStringList{"-vdr", QString::number(id), "-conf_name", "korva", "-host",
                               "server-a", "-port", "8000", "-user", "admin", "-screen", "1"}));
        EXPECT_EQ(m_Launched.Environment.value(QStringLiteral("KORVANTA_PASSWORD")),
                  QStringLiteral("secret"));
        EXPECT_EQ(m_Launched.Program, QCoreApplication::applicationFilePath());
    }

    m_Params.AddField("no_delete_reports", "");
    auto window = Open();
    EXPECT_FALSE(window->GetDeleteButton()->isEnabled());
    std::unique_ptr<QMenu> menu(window->BuildContextMenu(1));
    EXPECT_EQ(menu->actions().last()->text(), QStringLiteral("Delete Reports"));
    EXPECT_FALSE(menu->actions().last()->isEnabled());
    Select(window.get(), {id});
    window->DeleteReports();
    EXPECT_EQ(BoxTexts(m_Hook), QStringList{"Deleting reports is turned off in this client."});
    SCA_SrvReportManager worker(&m_Config, &m_User, &m_Params, m_Session.Client());
    SCA_List<SCA_TezReportInfo*> list;
    list.AddItemToTail(m_Shelf.Index.GetHead()->GetItem());
    EXPECT_EQ(worker.DeleteReports(&list), 0);
    EXPECT_EQ(m_Service.Count("DeleteReport"), 0);
    EXPECT_EQ(m_Shelf.Index.Count(), 1u);
}

// Save goes through the worker on a connection of its own: one file per report in the chosen
// folder, in the format of the menu entry, with its progress followed to the end.
TEST_F(ReportsWindow, SavesEveryReportOnItsOwnConnection) {
    std::vector<uint32_t> ids;
    for (int i = 0; i < 3; ++i) {
        ids.push_back(m_Shelf.Add("Run", "Web", "web-1", SCA_TEZ_MODE_CPU, kJan2 + i * kDay));
    }
    auto window = Open();
    const int connects = m_Service.Count("Connect");
    const fs::path folder = fs::path(m_Home.Path()) / "saved";
    fs::create_directory(folder);
    std::vector<uint32_t> progress;
    m_Hook.OnExec = [&](QDialog* dialog) {
        if (auto* save = qobject_cast<SCA_SaveReportsDlg*>(dialog)) {
            save->GetFolderEdit()->setText(QString::fromStdString(folder.string()));
            save->accept();
        }
        FollowProgress(dialog, [&](SCA_ProgressDlg* shown) {
            progress.push_back(static_cast<uint32_t>(shown->GetBar()->value()));
            return false;
        });
    };
    Select(window.get(), ids);
    EXPECT_EQ(window->SaveReport(SCA_TEZ_FORMAT_JSON), 1);
    EXPECT_TRUE(m_Hook.Boxes.empty());
    EXPECT_EQ(m_Service.Count("Connect"), connects + 1);
    EXPECT_EQ(m_Service.Count("Login"), 1);
    EXPECT_EQ(m_Service.Count("GetReportObj"), 3);
    std::set<std::string> files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        files.insert(entry.path().extension().string());
    }
    EXPECT_EQ(files, std::set<std::string>{".json"});
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 3);
    ASSERT_FALSE(progress.empty());
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    EXPECT_EQ(progress.back(), 100u);
}

// The worker over the scripted client: its progress and state as it works, a stop part-way
// that ends it within the report in hand, and its answer to a report that went missing.
TEST_F(ReportsWindow, WorkerProgressStopAndAMissingReport) {
    std::vector<uint32_t> ids;
    for (int i = 0; i < 4; ++i) {
        ids.push_back(m_Shelf.Add("Run", "Web", "web-1", SCA_TEZ_MODE_CPU, kJan2 + i * kDay));
    }
    // The first report comes at once; the others only once the user pressed Cancel, so the
    // worker is in the middle of the run when it is told to stop.
    std::atomic<bool> cancelled{false};
    m_ReportsReleased = [&] { return cancelled.load() || m_Service.Count("GetReportObj") == 1; };
    auto window = Open();
    const fs::path folder = fs::path(m_Home.Path()) / "export";
    fs::create_directory(folder);
    m_Hook.FileAnswer = QString::fromStdString(folder.string());
    // Stopped once the first report is written.
    m_Hook.OnExec = [&](QDialog* dialog) {
        FollowProgress(dialog, [&](SCA_ProgressDlg* shown) {
            cancelled = cancelled || shown->GetBar()->value() > 0;
            return cancelled.load();
        });
    };
    Select(window.get(), ids);
    window->ExportReports();
    EXPECT_TRUE(m_Hook.Boxes.empty()) << "the user who stopped it knows";
    const auto written = std::distance(fs::directory_iterator(folder), fs::directory_iterator());
    EXPECT_GE(written, 1);
    EXPECT_LT(written, 4);
    EXPECT_EQ(m_Service.Count("GetReportObj"), written);

    // Directly: the worker's states, its progress and its report status.
    SCA_SrvReportManager worker(&m_Config, &m_User, &m_Params, m_Session.Client());
    EXPECT_EQ(worker.GetProcessStatus(), SCA_PROCESS_IDLE);
    EXPECT_EQ(worker.GetRepStatus(), 3u);
    // The window's copies of the headers: one report leaves the service before the worker
    // comes to it.
    std::vector<SCA_TezReportInfo> headers;
    for (auto* node = m_Shelf.Index.GetHead(); node != nullptr; node = node->GetNext()) {
        headers.push_back(*node->GetItem());
    }
    SCA_List<SCA_TezReportInfo*> list;
    for (SCA_TezReportInfo& header : headers) {
        list.AddItemToTail(&header);
    }
    m_Shelf.Index.DeleteReport(ids[2]);
    ASSERT_EQ(worker.DeleteReports(&list), 1);
    ASSERT_EQ(worker.Wait(kProgressWaitMs), SCA_WAIT_OK);
    worker.StopAll();
    EXPECT_EQ(worker.GetProcessStatus(), SCA_PROCESS_FAILED);
    EXPECT_EQ(worker.GetRepStatus(), 5u);
    EXPECT_EQ(worker.IsReady(), 0);
    EXPECT_EQ(worker.GetStatusCode(), 1u);
    EXPECT_EQ(worker.GetDoneCount(), 3u);
    EXPECT_EQ(worker.GetProgress(), 100u);
    EXPECT_STREQ(worker.GetStatusString(), ("3 of 4 reports deleted - report " +
                                            std::to_string(ids[2]) + " is no longer on the service")
                                               .c_str());
    EXPECT_EQ(m_Shelf.Index.Count(), 0u);
    EXPECT_EQ(m_Service.Count("DeleteReport"), 3);
}

// Through the window, a delete that could not finish says why and the list shows what is left;
// an import adds the reports of files once (a second import finds them there); a comparison of
// two reports opens with their counters paired.
TEST_F(ReportsWindow, DeleteImportAndCompare) {
    std::vector<uint32_t> ids;
    for (int i = 0; i < 3; ++i) {
        ids.push_back(m_Shelf.Add("Run", "Web", "web-1", SCA_TEZ_MODE_CPU, kJan2 + i * kDay));
    }
    auto window = Open();
    const fs::path folder = fs::path(m_Home.Path()) / "export";
    fs::create_directory(folder);
    m_Hook.FileAnswer = QString::fromStdString(folder.string());
    m_Hook.OnExec = [](QDialog* dialog) { FollowProgress(dialog); };
    Select(window.get(), {ids[0]});
    window->ExportReports();
    ASSERT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
    const fs::path exported = fs::directory_iterator(folder)->path();
    EXPECT_EQ(exported.extension(), ".hdx");

    m_Hook.Answer = QMessageBox::Yes;
    Select(window.get(), ids);
    m_Shelf.Index.DeleteReport(ids[1]); // gone behind the window's back
    window->DeleteReports();
    ASSERT_EQ(m_Hook.Boxes.size(), 2u);
    EXPECT_EQ(m_Hook.Boxes[1].Text, QStringLiteral("2 of 3 reports deleted - report %1 is no "
                                                   "longer on the service")
                                        .arg(ids[1]));
    EXPECT_EQ(window->GetView()->topLevelItemCount(), 0) << "refreshed after a part done";

    const fs::path junk = folder / "junk.hdx";
    FILE* file = std::fopen(junk.c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fputs("not a report", file);
    std::fclose(file);
    m_Hook.FilesAnswer = {QString::fromStdString(exported.string()),
                          QString::fromStdString(junk.string())};
    window->ImportReports();
    ASSERT_EQ(m_Hook.Boxes.size(), 3u);
    EXPECT_TRUE(m_Hook.Boxes[2].Text.startsWith(
        QStringLiteral("1 of 2 reports imported - junk.hdx is not a report file")))
        << m_Hook.Boxes[2].Text.toStdString();
    ASSERT_EQ(window->GetView()->topLevelItemCount(), 1);
    const uint32_t imported = Rows(window.get())[0];
    EXPECT_NE(imported, ids[0]);
    EXPECT_EQ(m_Shelf.Reports.at(imported)->GetCounterList()->Count(), 2u);
    EXPECT_EQ(m_Shelf.Reports.at(imported)->GetStartTime(), kJan2);

    // The same file again, from the Import button: nothing is added, and the user is told why
    // the list did not change.
    m_Hook.FilesAnswer = {QString::fromStdString(exported.string())};
    QToolButton* importButton = nullptr;
    for (QToolButton* button : window->findChildren<QToolButton*>()) {
        importButton = button->text() == QLatin1String("Import") ? button : importButton;
    }
    ASSERT_NE(importButton, nullptr);
    QTest::mouseClick(importButton, Qt::LeftButton);
    ASSERT_EQ(m_Hook.Boxes.size(), 4u);
    EXPECT_EQ(m_Hook.Boxes[3].Text,
              QStringLiteral("The report is already on the service: nothing was imported."));
    EXPECT_EQ(m_Hook.Boxes[3].Type, SCA_LEVEL_INFO);
    EXPECT_EQ(m_Shelf.Index.Count(), 1u);

    // Compare the imported run with a new one.
    const uint32_t later = m_Shelf.Add("Later", "Web", "web-1", SCA_TEZ_MODE_CPU, kJan2 + kDay);
    window->RefreshView();
    Select(window.get(), {imported, later});
    const int dialogs = static_cast<int>(m_Hook.Dialogs.size());
    window->CompareReports();
    ASSERT_EQ(m_Hook.Dialogs.size(), dialogs + 2);
    EXPECT_EQ(m_Hook.Dialogs.last(), QStringLiteral("Monitoring Reports Comparison"));
    EXPECT_EQ(m_Hook.Boxes.size(), 4u);
    // A report the service will not give: no comparison, and the reason.
    m_Service.Queue("GetReportObj", Answer::Refused());
    window->CompareReports();
    EXPECT_EQ(m_Hook.Dialogs.size(), dialogs + 3);
    ASSERT_EQ(m_Hook.Boxes.size(), 5u);
    EXPECT_EQ(
        m_Hook.Boxes[4].Text,
        QStringLiteral("The reports were not compared - cannot read report %1").arg(imported));

    // Open shows the report as a document.
    window->ItemClicked(window->GetView()->topLevelItem(0), 0);
    EXPECT_EQ(m_Hook.Dialogs.last(), QStringLiteral("Monitoring Report - Run"));
}

} // namespace
