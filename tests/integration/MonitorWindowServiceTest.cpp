// SPDX-License-Identifier: MIT
// The live monitor window against a real `korvas -console` on 127.0.0.1: a monitor of processor
// and memory counters sampling for five seconds, the window's rows against the service's own
// status texts, and pause and resume from the window.
#include <QCoreApplication>
#include <QTimerEvent>
#include <QToolButton>
#include <QTreeWidgetItem>
#include <gtest/gtest.h>
#include <string>

#include "../korvac/GuiTestSupport.h"
#include "korvac/monitor/SCA_CountersView.h"
#include "korvac/monitor/SCA_SrvMonStatusDlg.h"
#include "libvop/SCA_TreeRows.h"
#include "model/SCA_TezCounterMeta.h"
#include "model/SCA_TezMonitorKinds.h"
#include "model/SCA_TezProcessStatus.h"
#include "model/SCA_TezSampleStore.h"
#include "model/SCA_TezVocabulary.h"
#include "tests/integration/ServiceWindow.h"
#include "tests/support/WaitUntil.h"

namespace {

// The samples the window must have taken in before it is paused.
constexpr size_t kWatchedSamples = 3;

uint32_t RunState(SCA_KorvantaInterface* client, uint32_t monitorId) {
    SCA_KorvantaInterface::MonitorStats stats;
    client->GetMonitorStats(monitorId, &stats);
    return stats.RunState;
}

QString ValueText(uint32_t type, double value) {
    char text[256] = "";
    SCA_TezBuildValueString(type, value, text, sizeof(text), 0);
    return QString::fromUtf8(text);
}

class MonitorWindowService : public korvas_integration::ServiceWindowTest {};

TEST_F(MonitorWindowService, ShowsTheServicesValuesAndPausesAndResumesIt) {
    ASSERT_NO_FATAL_FAILURE(OpenMainWindow());

    // The monitor, made through a connection of its own, as another client would.
    ASSERT_EQ(m_Korvas->LogIn(&m_Probe, m_Port), 1);
    uint32_t monitorId = 0;
    uint32_t cpu = 0;
    uint32_t memory = 0;
    ASSERT_EQ(m_Probe.AddMonitor(SCA_SRV_MONITOR_COUNTERS, SCA_TEZ_MODE_SYSTEM, "Live window",
                                 &monitorId),
              1);
    ASSERT_EQ(m_Probe.AddCounter(monitorId, SCA_COUNTER_CPU_USAGE, "", "", "", &cpu), 1);
    ASSERT_EQ(m_Probe.AddCounter(monitorId, SCA_COUNTER_MEMORY_USAGE, "", "", "", &memory), 1);
    ASSERT_EQ(m_Probe.StartMonitor(monitorId), 1);

    auto window = korvac_test::MonitorWindowOf<SCA_SrvMonStatusDlg>(m_Main.get(), monitorId);
    ASSERT_EQ(window->StartProcess(), 1);
    auto tick = [&] {
        QTimerEvent event(window->GetTimerId());
        QCoreApplication::sendEvent(window.get(), &event);
        korvac_test::WaitForPolls(m_Main->GetSession());
    };
    auto keptSamples = [&]() -> size_t {
        const auto* store = dynamic_cast<const SCA_TezSampleStore*>(
            window->GetHistory().GetCounter().GetCounterData());
        return store == nullptr ? 0 : store->KeptSamples();
    };
    // Ticked far more often than the service samples, as a busy event loop may.
    EXPECT_TRUE(korvanta_test::WaitUntil("the window to keep three processor samples", [&] {
        tick();
        return keptSamples() >= kWatchedSamples;
    }));
    EXPECT_EQ(window->GetState(), SCA_PROCESS_RUNNING);
    EXPECT_EQ(window->GetSelectedCounterId(), cpu);

    // Paused from the window: the service's state follows, and the values stand still.
    window->PauseMonitor();
    EXPECT_EQ(RunState(&m_Probe, monitorId), SCA_PROCESS_PAUSED);
    EXPECT_EQ(window->GetState(), SCA_PROCESS_PAUSED);
    EXPECT_TRUE(window->GetStartButton()->isEnabled());
    tick();
    SCA_KorvantaInterface::MonitorStatus status;
    ASSERT_EQ(m_Probe.GetMonitorStatusEx(monitorId, SCA_ALL_ONES, 0, 0, &status), 1);
    SCA_CountersView* view = window->GetCountersView();
    ASSERT_EQ(view->topLevelItemCount(), 2);
    ASSERT_EQ(status.Counters.size(), 2u);
    for (int row = 0; row < 2; ++row) {
        QTreeWidgetItem* item = view->topLevelItem(row);
        const auto& counter = status.Counters[static_cast<size_t>(row)];
        ASSERT_EQ(SCA_TreeRows::IdOf(item).toUInt(), counter.CounterId);
        const tagSCA_TEZ_COUNTER_STATUS& text = counter.Status;
        ASSERT_GT(text.ValueCount, 0u) << row;
        ASSERT_TRUE(text.HasCurrent) << row;
        EXPECT_EQ(item->text(SCA_CountersView::kCurrentColumn),
                  ValueText(text.CounterType, text.Current));
        EXPECT_EQ(item->text(SCA_CountersView::kAverageColumn),
                  ValueText(text.CounterType, text.Average));
        EXPECT_EQ(item->text(SCA_CountersView::kMinimumColumn),
                  ValueText(text.CounterType, text.Minimum));
        EXPECT_EQ(item->text(SCA_CountersView::kMaximumColumn),
                  ValueText(text.CounterType, text.Maximum));
        EXPECT_EQ(item->text(SCA_CountersView::kCounterColumn),
                  QString::fromUtf8(SCA_TezGetCounterDescr(text.CounterType)));
    }

    // Resumed from the window.
    window->StartMonitor();
    EXPECT_EQ(RunState(&m_Probe, monitorId), SCA_PROCESS_RUNNING);
    EXPECT_EQ(window->GetState(), SCA_PROCESS_RUNNING);
    EXPECT_TRUE(m_Hook.Boxes.empty());
    window.reset();
    m_Main.reset();
    EXPECT_EQ(m_Korvas->Terminate(), 1);
}

} // namespace
