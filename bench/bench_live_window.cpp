// SPDX-License-Identifier: MIT
// One poll tick of the live monitor window with 60 counters, offscreen and shown: the reply
// decoded, the counters view updated in place, the gauge and the chart given the new sample,
// and the window painted, all on the GUI thread, against decoding the same reply (the client
// object's typed GetMonitorStatusEx over the same stand-in for the service), setting the same
// rows' values in place on a plain QTreeWidget of the counters view's size, painted, and drawing
// one polyline through the chart's span with the chart's pen on an image of the chart's size,
// cleared as the chart clears it (bench/PlainChart.h). The window's rounds and the floor's take
// turns; each side processes events until its own widgets were painted, so neither pays the other's
// paint. Each round the service takes one more sample and every counter's value moves, as a live
// service does.
//
// For windows just opened (a few samples held) and for a window open for ten minutes (600
// samples per counter at the service, 600 held for its chart), at the same chart range: each
// poll asks only for what is new, so the second must tick as fast as the first. Then the old
// window over its ten-minute range, whose chart draws ten times the points. Prints, for each
// case and each of three windows with its load, the 50th and 99th percentiles of the tick and
// of its floor and their ratio, then their spread, and the spread of the ratios between the
// cases.
#include <QApplication>
#include <QPointF>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "bench/PlainChart.h"
#include "bench/PlainRows.h"
#include "bench/ViewPaints.h"
#include "korvac/main/SCA_SrvGui.h"
#include "korvac/monitor/SCA_CountersView.h"
#include "korvac/monitor/SCA_SrvMonStatusDlg.h"
#include "libvop/SCA_ChartFrame.h"
#include "libvop/SCA_GaugeFrame.h"
#include "model/SCA_TezSampleStore.h"
#include "tests/korvac/FakeMonitor.h"
#include "tests/korvac/FakeService.h"

namespace {

constexpr int kRounds = 1000;
constexpr int kWarmUp = 100;
// A window "just opened" is measured for this many ticks, then a new one opens.
constexpr int kFreshTicks = 50;
// The samples of a monitor that has run a few seconds.
constexpr uint32_t kFreshSamples = 5;
constexpr uint32_t kCounters = 60;
constexpr uint32_t kCpuUsage = 1;
// Current, minimum, maximum and average, as the window's counters view shows them.
constexpr int kPlainColumns = 4;
constexpr int kWindowWidth = 1000;
constexpr int kWindowHeight = 700;
constexpr uint64_t kSecondTicks = 10000000ull;

using MonitorStatus = SCA_KorvantaInterface::MonitorStatus;

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

// The rounds of both sides see the service move once: before the first of them.
template <typename Prepare>
auto OncePerRound(Prepare prepare) {
    return [prepare, last = -1](int round) mutable {
        if (round != last) {
            last = round;
            prepare(round);
        }
    };
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

// A live window the bench ticks itself, shown, each tick painted within it.
class ShownWindow {
public:
    explicit ShownWindow(std::unique_ptr<SCA_SrvMonStatusDlg> window)
        : m_Window(std::move(window)), m_Chart(m_Window->GetChart()), m_Gauge(m_Window->GetGauge()),
          m_Rows(m_Window->GetCountersView()) {
        m_Window->StopProcess();
        m_Window->resize(kWindowWidth, kWindowHeight);
        m_Window->show();
        ProcessUntilPainted();
    }

    SCA_SrvMonStatusDlg* Window() const { return m_Window.get(); }
    void Tick() {
        m_Window->UpdateStatus();
        ProcessUntilPainted();
    }
    // After a change made outside the clock (a chart range chosen).
    void ProcessUntilPainted() {
        korvanta_bench::ViewPaints::ProcessUntilAllPainted({&m_Chart, &m_Gauge, &m_Rows});
    }

private:
    // The window first: members go in reverse order, so the counters let go of its widgets
    // before they go.
    std::unique_ptr<SCA_SrvMonStatusDlg> m_Window;
    korvanta_bench::ViewPaints m_Chart;
    korvanta_bench::ViewPaints m_Gauge;
    korvanta_bench::ViewPaints m_Rows;
};

// The floor of a live window: the same poll decoded, its counters' values set in place on a
// plain tree that is painted, and one polyline through the samples of the chart's span painted
// at the chart's size. The points fill the image, newest at the right, the values' bounds from
// bottom to top.
class PlainWindow {
public:
    PlainWindow(korvac_test::FakeService* service, uint32_t monitorId)
        : m_Client(service), m_MonitorId(monitorId), m_Rows(kPlainColumns),
          m_Paints(m_Rows.Tree()) {
        uint32_t error = 0;
        m_Client.Connect("bench", 1, 1000, &error);
    }

    // Shown at the size of the window's counters view, drawing at its chart's.
    void Show(const SCA_SrvMonStatusDlg& window) {
        m_Rows.Tree()->resize(window.GetCountersView()->size());
        m_Rows.Tree()->show();
        m_Chart.Resize(window.GetChart()->size());
        m_Paints.ProcessUntilPainted();
    }
    // Starts over as a window opened on counterId over spanSeconds: the first poll brings what
    // the service holds of the span. Rows added to the tree lay out on a timer and ask for a
    // second paint after their first: it is taken here, outside the clock, not in the next
    // round, which may be the window's.
    void Open(uint32_t counterId, uint32_t spanSeconds) {
        m_CounterId = counterId;
        m_Span = spanSeconds;
        m_Since = 0;
        m_Shown.clear();
        Tick();
        m_Paints.ProcessUntilPainted();
    }
    void Tick() {
        m_Client.GetMonitorStatusEx(m_MonitorId, m_CounterId, m_Since, m_Span, &m_Status);
        m_Rows.UpdateInPlace(
            static_cast<int>(m_Status.Counters.size()), [this](int row, int column) {
                return PlainText(m_Status.Counters[static_cast<size_t>(row)].Status, column);
            });
        Keep(m_Status.Samples);
        DrawChart();
        m_Paints.ProcessUntilPainted();
    }
    const MonitorStatus& Status() const { return m_Status; }

private:
    void Keep(const std::vector<tagSCA_TEZ_SAMPLE>& samples) {
        if (samples.empty()) {
            return;
        }
        m_Since = samples.back().AbsTime;
        m_Shown.insert(m_Shown.end(), samples.begin(), samples.end());
        const uint64_t span = m_Span * kSecondTicks;
        const auto inSpan = std::find_if(m_Shown.begin(), m_Shown.end(), [&](const auto& sample) {
            return m_Since - sample.AbsTime <= span;
        });
        m_Shown.erase(m_Shown.begin(), inSpan);
    }

    void DrawChart() {
        const auto [lowest, highest] =
            std::minmax_element(m_Shown.begin(), m_Shown.end(),
                                [](const auto& a, const auto& b) { return a.Value < b.Value; });
        const double low = m_Shown.empty() ? 0.0 : lowest->Value;
        const double high = m_Shown.empty() ? 1.0 : std::max(highest->Value, low + 1.0);
        const double width = m_Chart.Size().width();
        const double height = m_Chart.Size().height();
        const double span = static_cast<double>(m_Span * kSecondTicks);
        m_Points.clear();
        for (const tagSCA_TEZ_SAMPLE& sample : m_Shown) {
            const double back = static_cast<double>(m_Since - sample.AbsTime);
            m_Points.emplace_back(width - back / span * width,
                                  height - (sample.Value - low) / (high - low) * height);
        }
        m_Chart.Paint(m_Points);
    }

    korvac_test::FakeClient m_Client;
    uint32_t m_MonitorId;
    korvanta_bench::PlainRows m_Rows;
    korvanta_bench::ViewPaints m_Paints;
    korvanta_bench::PlainChart m_Chart;
    std::vector<QPointF> m_Points;
    uint32_t m_CounterId = 0;
    uint32_t m_Span = 0;
    uint64_t m_Since = 0;
    MonitorStatus m_Status;
    std::vector<tagSCA_TEZ_SAMPLE> m_Shown;
};

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
    auto open = [&]() -> std::unique_ptr<ShownWindow> {
        auto window =
            korvac_test::MonitorWindowOf<SCA_SrvMonStatusDlg>(main.get(), monitor.MonitorId);
        return window->StartProcess() ? std::make_unique<ShownWindow>(std::move(window)) : nullptr;
    };
    PlainWindow plain(&service, monitor.MonitorId);
    auto advance = OncePerRound([&](int round) { Advance(&monitor, round); });
    std::printf("%d rounds a window, %u counters, one new sample a round\n", kRounds, kCounters);

    // Windows just opened on a monitor that has run a few seconds, the floor starting over
    // with each.
    std::unique_ptr<ShownWindow> shown;
    bool started = true;
    std::printf("windows just open, chart over 1 min:\n");
    const korvanta_bench::WindowSpreads fresh =
        korvanta_bench::MeasureWindows("tick", "decode, plain tree and polyline", [&](int) {
            return korvanta_bench::MeasureInTurn(
                kRounds, kWarmUp, OncePerRound([&](int round) {
                    if (round % kFreshTicks == 0) {
                        shown.reset();
                        Fill(&monitor, kFreshSamples);
                        shown = open();
                        started = started && shown != nullptr;
                        if (shown != nullptr) {
                            plain.Show(*shown->Window());
                            plain.Open(shown->Window()->GetSelectedCounterId(),
                                       shown->Window()->GetChart()->GetViewSpan());
                        }
                    }
                    Advance(&monitor, round);
                }),
                [&](int) {
                    if (shown != nullptr) {
                        shown->Tick();
                    }
                },
                [&](int) { plain.Tick(); });
        });
    if (!started || Held(*shown->Window()) > kFreshSamples + kFreshTicks) {
        std::fprintf(stderr, "the fresh windows did not run\n");
        return 1;
    }
    shown.reset();

    // A window open for ten minutes: 600 samples held, its chart over the last minute as the
    // fresh ones', then over the last ten minutes.
    Fill(&monitor, SCA_TEZ_LIVE_SAMPLES);
    shown = open();
    if (shown == nullptr) {
        std::fprintf(stderr, "the window did not start\n");
        return 1;
    }
    SCA_ChartFrame* chart = shown->Window()->GetChart();
    chart->SetViewMode(SCA_CHART_VIEW_600S);
    chart->SetViewMode(SCA_CHART_VIEW_60S);
    shown->ProcessUntilPainted();
    const uint32_t first = shown->Window()->GetSelectedCounterId();
    plain.Show(*shown->Window());
    plain.Open(first, chart->GetViewSpan());
    auto tick = [&](int) { shown->Tick(); };
    auto floor = [&](int) { plain.Tick(); };
    std::printf("a window open ten minutes (600 held), chart over 1 min:\n");
    const korvanta_bench::WindowSpreads old =
        korvanta_bench::MeasureWindows("tick", "decode, plain tree and polyline", [&](int) {
            return korvanta_bench::MeasureInTurn(kRounds, kWarmUp, advance, tick, floor);
        });
    const uint32_t heldOld = Held(*shown->Window());

    chart->SetViewMode(SCA_CHART_VIEW_600S);
    shown->ProcessUntilPainted();
    plain.Open(first, chart->GetViewSpan());
    std::printf("the same window, chart over 10 min:\n");
    const korvanta_bench::WindowSpreads wide =
        korvanta_bench::MeasureWindows("tick", "decode, plain tree and polyline", [&](int) {
            return korvanta_bench::MeasureInTurn(kRounds, kWarmUp, advance, tick, floor);
        });
    if (heldOld != SCA_TEZ_LIVE_SAMPLES || Held(*shown->Window()) != SCA_TEZ_LIVE_SAMPLES) {
        std::fprintf(stderr, "the window does not hold ten minutes\n");
        return 1;
    }
    if (plain.Status().Counters.size() != kCounters || plain.Status().Samples.size() != 1) {
        std::fprintf(stderr, "the reply did not decode\n");
        return 1;
    }

    std::printf("tick p50, window by window, min/median/max:\n");
    std::printf("  600 held / fresh (both 1 min): %s\n",
                korvanta_bench::RatiosOf(old.PathP50, fresh.PathP50).Text(2).c_str());
    std::printf("  10 min / 1 min (what the wider chart draws): %s\n",
                korvanta_bench::RatiosOf(wide.PathP50, old.PathP50).Text(2).c_str());
    shown.reset();
    main.reset();
    return 0;
}
