// SPDX-License-Identifier: MIT
// The live monitor window against a real `korvas -console` on 127.0.0.1: a monitor of processor
// and memory counters sampling for five seconds, the window's rows against the service's own
// status texts, and pause and resume from the window.
#include <QCoreApplication>
#include <QTimer>
#include <QTimerEvent>
#include <QToolButton>
#include <QTreeWidgetItem>
#include <chrono>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <thread>

#include "../korvac/GuiTestSupport.h"
#include "korvac/SCA_CountersView.h"
#include "korvac/SCA_SrvMonStatusDlg.h"
#include "libvop/SCA_TreeRows.h"
#include "model/SCA_TezCounterMeta.h"
#include "model/SCA_TezProcessStatus.h"
#include "model/SCA_TezSampleStore.h"
#include "tests/integration/KorvasProcess.h"
#include "tests/integration/ServiceWindow.h"

namespace {

using korvas_integration::KorvasProcess;

constexpr uint32_t kCounterMonitor = 0;
constexpr uint32_t kSystemMode = 1;
constexpr uint32_t kCpuUsage = 1;
constexpr uint32_t kMemoryUsage = 4;
constexpr int kWatchSeconds = 5;

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

TEST(MonitorWindowService, ShowsTheServicesValuesAndPausesAndResumesIt) {
    korvac_test::PrivateHome home;
    korvac_test::RecordingHook hook;
    const std::string serviceHome = home.Path() + "/service";
    ASSERT_EQ(mkdir(serviceHome.c_str(), 0700), 0);
    KorvasProcess korvas(serviceHome, "0");
    const uint16_t port = korvas.WaitForPort();
    ASSERT_NE(port, 0);

    auto main = korvas_integration::ConnectedWindow(korvas, port);
    ASSERT_NE(main, nullptr);
    ASSERT_EQ(main->CheckConnected(0), 1);

    // The monitor, made through a connection of its own, as another client would.
    SCA_KorvantaInterface probe;
    ASSERT_EQ(korvas.LogIn(&probe, port), 1);
    uint32_t monitorId = 0;
    uint32_t cpu = 0;
    uint32_t memory = 0;
    ASSERT_EQ(probe.AddMonitor(kCounterMonitor, kSystemMode, "Live window", &monitorId), 1);
    ASSERT_EQ(probe.AddCounter(monitorId, kCpuUsage, "", "", "", &cpu), 1);
    ASSERT_EQ(probe.AddCounter(monitorId, kMemoryUsage, "", "", "", &memory), 1);
    ASSERT_EQ(probe.StartMonitor(monitorId), 1);

    auto window = std::make_unique<SCA_SrvMonStatusDlg>(
        main.get(), main.get(), main->GetServerConfig(), main->GetServerUserConfig(),
        main->GetUserConfig(), main->GetParams(), "korva", main->GetSession(), monitorId);
    ASSERT_EQ(window->StartProcess(), 1);
    auto tick = [&] {
        QTimerEvent event(window->GetTimerId());
        QCoreApplication::sendEvent(window.get(), &event);
    };
    for (int second = 0; second < kWatchSeconds; ++second) {
        std::this_thread::sleep_for(std::chrono::seconds(1));
        tick();
    }
    EXPECT_EQ(window->GetState(), SCA_PROCESS_RUNNING);
    EXPECT_EQ(window->GetSelectedCounterId(), cpu);
    const auto* store =
        dynamic_cast<const SCA_TezSampleStore*>(window->GetHistory().GetCounter().GetCounterData());
    ASSERT_NE(store, nullptr);
    EXPECT_GE(store->KeptSamples(), 3u);
    EXPECT_LE(store->KeptSamples(), 7u);

    // Paused from the window: the service's state follows, and the values stand still.
    window->PauseMonitor();
    EXPECT_EQ(RunState(&probe, monitorId), SCA_PROCESS_PAUSED);
    EXPECT_EQ(window->GetState(), SCA_PROCESS_PAUSED);
    EXPECT_TRUE(window->GetStartButton()->isEnabled());
    tick();
    SCA_KorvantaInterface::MonitorStatus status;
    ASSERT_EQ(probe.GetMonitorStatusEx(monitorId, SCA_ALL_ONES, 0, 0, &status), 1);
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
    EXPECT_EQ(RunState(&probe, monitorId), SCA_PROCESS_RUNNING);
    EXPECT_EQ(window->GetState(), SCA_PROCESS_RUNNING);
    EXPECT_TRUE(hook.Boxes.empty());
    window.reset();
    main.reset();
    EXPECT_EQ(korvas.Terminate(), 1);
}

} // namespace
