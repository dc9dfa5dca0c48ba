// SPDX-License-Identifier: MIT
// One poll tick of the live monitor window with 60 counters, offscreen: the reply decoded, the
// counters view updated in place, the gauge and the chart given the new sample, all on the GUI
// thread, against decoding the same reply (the client object's typed GetMonitorStatusEx over
// the same stand-in for the service), setting the same rows' values in place on a plain
// QTreeWidget and drawing the chart's last minute as one polyline. Each round the service takes one
// more sample and every counter's value moves, as a live service does.
//
// For windows just opened (a few samples held) and for a window open for ten minutes (600
// samples per counter at the service, 600 held for its chart), at the same chart range: each
// poll asks only for what is new, so the second must tick as fast as the first. Then the old
// window over its ten-minute range, whose chart fits its scale to ten times the values. Prints
// the 50th and 99th percentiles and the ratios.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPolygonF>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

#include "bench/BenchSupport.h"
#include "bench/PlainRows.h"
#include "korvac/main/SCA_SrvGui.h"
#include "korvac/monitor/SCA_SrvMonStatusDlg.h"
#include "libvop/SCA_ChartFrame.h"
#include "model/SCA_TezSampleStore.h"
#include "tests/korvac/FakeMonitor.h"
#include "tests/korvac/FakeService.h"

namespace {

constexpr int kRounds = 2000;
constexpr int kWarmUp = 100;
// A window "just opened" is measured for this many ticks, then a new one opens.
constexpr int kFreshTicks = 50;
constexpr uint32_t kCounters = 60;
constexpr uint32_t kCpuUsage = 1;
// Current, minimum, maximum and average, as the window's counters view shows them.
constexpr int kPlainColumns = 4;
// The samples a chart over the last minute shows.
constexpr size_t kChartPoints = 60;

using korvanta_bench::Percentiles;

// Warm-up and measured rounds; before(i) runs outside the clock.
Percentiles Measure(const std::function<void(int)>& before, const std::function<void()>& round) {
    return korvanta_bench::Measure(kRounds, kWarmUp, before, [&round](int) { round(); });
}

// The service between two polls: one new sample of every counter, and every value moved.
void Advance(korvac_test::FakeMonitor* monitor, int round) {
    for (auto& [id, counter] : monitor->Counters) {
        monitor->AddSamples(id, 1);
        // The service keeps ten minutes (trimmed now and then, as a ring costs nothing).
        if (counter.Samples.size() > 2 * SCA_TEZ_LIVE_SAMPLES) {
            counter.Samples.erase(counter.Samples.begin(),
                                  counter.Samples.end() - SCA_TEZ_LIVE_SAMPLES);
        }
        counter.Status.Current = static_cast<double>((round + static_cast<int>(id)) % 100);
        counter.Status.ValueCount += 1;
    }
}

void Fill(korvac_test::FakeMonitor* monitor, uint32_t samples) {
    monitor->Counters.clear();
    monitor->Profile.GetCounterList()->ClearAll();
    for (uint32_t i = 0; i < kCounters; ++i) {
        const uint32_t id = monitor->AddCounter(kCpuUsage, std::to_string(i % 8).c_str(), 3, 1.0);
        monitor->AddSamples(id, samples);
    }
}

QString PlainText(const tagSCA_TEZ_COUNTER_STATUS& status, int column) {
    const double values[kPlainColumns] = {status.Current, status.Minimum, status.Maximum,
                                          status.Average};
    return QString::number(values[column]);
}

uint32_t Held(const SCA_SrvMonStatusDlg& window) {
    const auto* store =
        dynamic_cast<const SCA_TezSampleStore*>(window.GetHistory().GetCounter().GetCounterData());
    return store != nullptr ? store->KeptSamples() : 0;
}

} // namespace

int main(int argc, char** argv) {
    if (korvanta_bench::AnswerHelp(
            argc, argv,
            "one poll tick of the live monitor window against decoding and a plain tree")) {
        return 0;
    }
    const korvanta_bench::ClientHome home;
    QApplication app(argc, argv);
    korvac_test::FakeService service;
    service.Healthy();
    korvac_test::FakeMonitor monitor;
    monitor.Install(&service);

    auto main = korvac_test::StartWindowOn(&service);
    if (main == nullptr) {
        std::fprintf(stderr, "the main window did not start\n");
        return 1;
    }
    korvac_test::ConnectionOf(main)->DefaultConnect();
    auto open = [&]() {
        auto window =
            korvac_test::MonitorWindowOf<SCA_SrvMonStatusDlg>(main.get(), monitor.MonitorId);
        return window->StartProcess() ? std::move(window) : nullptr;
    };

    // Windows just opened on a monitor that has run a few seconds.
    Fill(&monitor, 5);
    std::unique_ptr<SCA_SrvMonStatusDlg> window;
    const Percentiles fresh = Measure(
        [&](int round) {
            if (round % kFreshTicks == 0) {
                window.reset();
                Fill(&monitor, 5);
                window = open();
            }
            Advance(&monitor, round);
        },
        [&]() { window->UpdateStatus(); });
    if (window == nullptr || Held(*window) > 5 + kFreshTicks) {
        std::fprintf(stderr, "the fresh windows did not run\n");
        return 1;
    }
    window.reset();

    // A window open for ten minutes: 600 samples held, its chart over the last minute as the
    // fresh ones', then over the last ten minutes.
    Fill(&monitor, SCA_TEZ_LIVE_SAMPLES);
    window = open();
    if (window == nullptr) {
        std::fprintf(stderr, "the window did not start\n");
        return 1;
    }
    window->GetChart()->SetViewMode(SCA_CHART_VIEW_600S);
    window->GetChart()->SetViewMode(SCA_CHART_VIEW_60S);
    const uint32_t first = window->GetSelectedCounterId();
    auto advance = [&](int round) { Advance(&monitor, round); };
    auto tick = [&]() { window->UpdateStatus(); };
    const Percentiles old = Measure(advance, tick);
    const uint32_t heldOld = Held(*window);
    window->GetChart()->SetViewMode(SCA_CHART_VIEW_600S);
    const Percentiles wide = Measure(advance, tick);
    if (heldOld != SCA_TEZ_LIVE_SAMPLES || Held(*window) != SCA_TEZ_LIVE_SAMPLES) {
        std::fprintf(stderr, "the window does not hold ten minutes\n");
        return 1;
    }

    // Decoding the same reply and a plain tree of its counters updated in place.
    korvac_test::FakeClient client(&service);
    uint32_t error = 0;
    client.Connect("bench", 1, 1000, &error);
    SCA_KorvantaInterface::MonitorStatus status;
    uint64_t since = window->GetHistory().GetLastDataTime();
    korvanta_bench::PlainRows plain(kPlainColumns);
    // The chart's floor: the last minute of the selected counter as one polyline over an image
    // of the chart's size.
    QImage chart(window->GetChart()->size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    std::vector<double> shown;
    QPolygonF line;
    const Percentiles floor = Measure(
        [&](int round) { Advance(&monitor, round); },
        [&]() {
            client.GetMonitorStatusEx(monitor.MonitorId, first, since, 600, &status);
            since = status.Samples.empty() ? since : status.Samples.back().AbsTime;
            plain.UpdateInPlace(
                static_cast<int>(status.Counters.size()), [&status](int row, int column) {
                    return PlainText(status.Counters[static_cast<size_t>(row)].Status, column);
                });
            for (const tagSCA_TEZ_SAMPLE& sample : status.Samples) {
                shown.push_back(sample.Value);
            }
            if (shown.size() > kChartPoints) {
                shown.erase(shown.begin(), shown.end() - kChartPoints);
            }
            line.resize(static_cast<qsizetype>(shown.size()));
            for (size_t at = 0; at < shown.size(); ++at) {
                line[static_cast<qsizetype>(at)] =
                    QPointF(static_cast<double>(at) * chart.width() / kChartPoints,
                            chart.height() * (1.0 - shown[at] / 100.0));
            }
            chart.fill(Qt::black);
            QPainter painter(&chart);
            painter.setPen(Qt::green);
            painter.drawPolyline(line);
        });
    if (status.Counters.size() != kCounters || status.Samples.size() != 1) {
        std::fprintf(stderr, "the reply did not decode\n");
        return 1;
    }

    std::printf("%d rounds, %u counters, one new sample a round, load %.2f\n", kRounds, kCounters,
                korvanta_bench::LoadAverage());
    std::printf("decode, tree and chart   p50 %8.1f us   p99 %8.1f us\n", floor.P50, floor.P99);
    std::printf("tick, windows just open  p50 %8.1f us   p99 %8.1f us\n", fresh.P50, fresh.P99);
    std::printf("tick, 600 held, 1 min    p50 %8.1f us   p99 %8.1f us\n", old.P50, old.P99);
    std::printf("tick, 600 held, 10 min   p50 %8.1f us   p99 %8.1f us\n", wide.P50, wide.P99);
    std::printf("ratio tick/floor         p50 %8.2f      p99 %8.2f   (600 held, 1 min)\n",
                old.P50 / floor.P50, old.P99 / floor.P99);
    std::printf("ratio 600 held/fresh     p50 %8.2f      p99 %8.2f   (both 1 min)\n",
                old.P50 / fresh.P50, old.P99 / fresh.P99);
    std::printf(
        "ratio 10 min/1 min       p50 %8.2f      p99 %8.2f   (what the wider chart draws)\n",
        wide.P50 / old.P50, wide.P99 / old.P99);
    window.reset();
    main.reset();
    return 0;
}
