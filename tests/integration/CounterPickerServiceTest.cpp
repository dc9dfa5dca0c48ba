// SPDX-License-Identifier: MIT
// The counter picker against a real `korvas -console` on 127.0.0.1: counters picked from the
// service's own inventories (memory, a mount point, the service's own process) are added to a
// running monitor from its window, appear in the service's status of that monitor and get
// sampled; a remote computer is refused in words.
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QTimerEvent>
#include <QTreeWidgetItem>
#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <string>

#include "../korvac/GuiTestSupport.h"
#include "korvac/monitor/SCA_CountersView.h"
#include "korvac/monitor/SCA_HintTree.h"
#include "korvac/monitor/SCA_SrvAddCounterDlg.h"
#include "korvac/monitor/SCA_SrvMonStatusDlg.h"
#include "libvop/SCA_EntryDlg.h"
#include "model/SCA_TezCounterInfo.h"
#include "model/SCA_TezCounterList.h"
#include "model/SCA_TezMonitorKinds.h"
#include "model/SCA_TezProcessStatus.h"
#include "model/SCA_TezProfile.h"
#include "model/SCA_TezVocabulary.h"
#include "tests/integration/ServiceWindow.h"
#include "tests/support/WaitUntil.h"

namespace {

constexpr uint32_t kDiskFreeSpace = 57;
constexpr int kText = SCA_SrvAddCounterDlg::kTextColumn;

bool Click(QTreeWidget* tree, QTreeWidgetItem* row) {
    if (row == nullptr) {
        return false;
    }
    tree->setCurrentItem(row);
    emit tree->itemClicked(row, kText);
    return true;
}

QTreeWidgetItem* RowOf(QTreeWidget* tree, uint32_t counterType) {
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* row = tree->topLevelItem(i);
        if (row->data(0, SCA_SrvAddCounterDlg::kDataRole).toUInt() == counterType) {
            return row;
        }
    }
    return nullptr;
}

QTreeWidgetItem* RowNamed(QTreeWidget* tree, const QString& text) {
    const auto rows = tree->findItems(text, Qt::MatchExactly, kText);
    return rows.isEmpty() ? nullptr : rows.front();
}

// A pick: the category, the counter and the instance row (null: the row made current).
struct Pick {
    const char* Category;
    uint32_t CounterType;
    std::function<QTreeWidgetItem*(QTreeWidget*)> Instance;
};

class CounterPickerService : public korvas_integration::ServiceWindowTest {};

TEST_F(CounterPickerService, PickedCountersJoinTheRunningMonitorAndAreSampled) {
    ASSERT_NO_FATAL_FAILURE(OpenMainWindow());
    ASSERT_EQ(m_Korvas->LogIn(&m_Probe, m_Port), 1);
    uint32_t monitorId = 0;
    uint32_t cpu = 0;
    ASSERT_EQ(m_Probe.AddMonitor(SCA_SRV_MONITOR_COUNTERS, SCA_TEZ_MODE_SYSTEM, "Picked counters",
                                 &monitorId),
              1);
    ASSERT_EQ(m_Probe.AddCounter(monitorId, SCA_COUNTER_CPU_USAGE, "", "", "", &cpu), 1);
    ASSERT_EQ(m_Probe.StartMonitor(monitorId), 1);

    auto window = korvac_test::MonitorWindowOf<SCA_SrvMonStatusDlg>(m_Main.get(), monitorId);
    ASSERT_EQ(window->StartProcess(), 1);

    // The mount point picked: the first the service lists, its name as the row keeps it.
    QString mountPoint;
    const Pick picks[] = {
        {"Memory Usage", SCA_COUNTER_MEMORY_FREE, nullptr},
        {"Disk Activity", kDiskFreeSpace,
         [&](QTreeWidget* tree) {
             QTreeWidgetItem* row = tree->topLevelItem(1);
             if (row != nullptr) {
                 mountPoint = row->data(0, SCA_SrvAddCounterDlg::kDataRole).toString();
             }
             return row;
         }},
        {"Process Status", SCA_COUNTER_PROCESS_MEM_USED,
         [](QTreeWidget* tree) { return RowNamed(tree, QStringLiteral("korvas")); }},
    };
    std::string failed;
    for (const Pick& pick : picks) {
        m_Hook.OnExec = [&](QDialog* dialog) {
            auto* picker = qobject_cast<SCA_SrvAddCounterDlg*>(dialog);
            if (picker == nullptr ||
                !Click(picker->GetCategoryTree(),
                       RowNamed(picker->GetCategoryTree(), QString::fromLatin1(pick.Category))) ||
                !Click(picker->GetCounterTree(),
                       RowOf(picker->GetCounterTree(), pick.CounterType))) {
                failed += std::string(pick.Category) + " ";
                return;
            }
            if (pick.Instance &&
                !Click(picker->GetInstanceTree(), pick.Instance(picker->GetInstanceTree()))) {
                failed += std::string(pick.Category) + " instance ";
                return;
            }
            picker->Accept();
        };
        window->AddCounter();
    }
    EXPECT_EQ(failed, "");
    ASSERT_FALSE(mountPoint.isEmpty());

    // The service's definition of the monitor holds the picked counters as picked.
    uint32_t type = 0;
    uint32_t countersStatusId = 0;
    SCA_TezProfile profile;
    ASSERT_EQ(m_Probe.GetMonitorProfile(monitorId, &type, &countersStatusId, &profile), 1);
    std::map<uint32_t, std::string> instances;
    std::map<uint32_t, uint32_t> types;
    for (auto* node = profile.GetCounterList()->GetHead(); node != nullptr;
         node = node->GetNext()) {
        instances[node->GetItem()->GetCounterType()] = node->GetItem()->GetInstance();
        types[node->GetItem()->GetCounterId()] = node->GetItem()->GetCounterType();
    }
    EXPECT_EQ(instances,
              (std::map<uint32_t, std::string>{{SCA_COUNTER_CPU_USAGE, ""},
                                               {SCA_COUNTER_MEMORY_FREE, ""},
                                               {kDiskFreeSpace, mountPoint.toStdString()},
                                               {SCA_COUNTER_PROCESS_MEM_USED, "korvas"}}));
    ASSERT_EQ(window->GetCountersView()->topLevelItemCount(), 4);

    // The running monitor samples each of them, and the window shows what it sampled.
    SCA_KorvantaInterface::MonitorStatus status;
    EXPECT_TRUE(korvanta_test::WaitUntil("a value of each picked counter", [&] {
        status = {};
        return m_Probe.GetMonitorStatusEx(monitorId, SCA_ALL_ONES, 0, 0, &status) == 1 &&
               status.Counters.size() == 4 &&
               std::all_of(status.Counters.begin(), status.Counters.end(), [](const auto& counter) {
                   return counter.Status.ValueCount > 0 && counter.Status.HasCurrent;
               });
    }));
    QTimerEvent tick(window->GetTimerId());
    QCoreApplication::sendEvent(window.get(), &tick);
    for (int row = 0; row < window->GetCountersView()->topLevelItemCount(); ++row) {
        EXPECT_FALSE(window->GetCountersView()
                         ->topLevelItem(row)
                         ->text(SCA_CountersView::kCurrentColumn)
                         .isEmpty())
            << row;
    }
    EXPECT_TRUE(m_Hook.Boxes.empty());

    // A remote computer: the service says it watches its own computer only.
    m_Hook.OnExec = [&](QDialog* dialog) {
        if (auto* picker = qobject_cast<SCA_SrvAddCounterDlg*>(dialog)) {
            picker->AddComputer();
            EXPECT_EQ(picker->GetComputerCombo()->count(), 1);
            EXPECT_STREQ(picker->GetComputer(), "");
            picker->reject();
        } else if (auto* entry = qobject_cast<SCA_EntryDlg*>(dialog)) {
            entry->GetEdit()->setText(QStringLiteral("elsewhere.example"));
            entry->accept();
        }
    };
    window->AddCounter();
    ASSERT_EQ(m_Hook.Boxes.size(), 1u);
    EXPECT_EQ(m_Hook.Boxes[0].Text, QStringLiteral("Cannot connect to the remote computer - "
                                                   "elsewhere.example (remote computers are not "
                                                   "supported)"));
    window.reset();
    m_Main.reset();
    EXPECT_EQ(m_Korvas->Terminate(), 1);
}

} // namespace
