// SPDX-License-Identifier: MIT
// Painting a live chart of 600 samples at 800 x 300 (frame, title, grid and values, fill,
// line, statistics) against plain QPainter calls that clear the same image and draw a polyline
// through the same points with the chart's pen, in one run; and the time of one gauge paint.
// The summary gives both paints and the ratio.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPolygonF>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <benchmark/benchmark.h>

#include "libvop/SCA_ChartFrame.h"
#include "libvop/SCA_GaugeFrame.h"
#include "model/SCA_TezCounter.h"
#include "model/SCA_TezSampleStore.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kSamples = 600;
constexpr int kWidth = 800;
constexpr int kHeight = 300;
constexpr uint64_t kSecond = 10000000ull;
// The chart's line.
constexpr double kLineWidth = 2.0;

struct Totals {
    double Seconds = 0.0;
    uint64_t Paints = 0;
    double PerPaint() const { return Paints != 0 ? Seconds / Paints : 0.0; }
};
Totals g_Chart;
Totals g_Raw;
Totals g_Gauge;

// A wandering series, the same in every run.
double Sample(int i) {
    return 50.0 + 30.0 * std::sin(i / 23.0) + 10.0 * std::sin(i / 3.7);
}

// The chart of every run, made once.
struct ChartFixture {
    ChartFixture() : Chart(nullptr, nullptr, SCA_FRAME_AUTO_RANGE, 7) {
        auto* store = new SCA_TezSampleStore();
        for (int i = 0; i < kSamples; ++i) {
            store->AddSample(1000 * kSecond + i * kSecond, Sample(i), true);
        }
        Counter.SetCounterData(store);
        Chart.SetViewMode(SCA_CHART_VIEW_600S);
        Chart.SetTitle(3, "Processor Time");
        Chart.resize(kWidth, kHeight);
        Chart.Update(nullptr, &Counter);
    }
    // Where the chart puts each sample: the newest at the right of its plot, its range
    // from bottom to top.
    QPolygonF Points() const {
        const QRectF plot = Chart.GetPlotRect();
        const tagSCA_CHART_RANGE range = Chart.GetRange();
        const double span = Chart.GetViewSpan();
        QPolygonF line(kSamples);
        for (int i = 0; i < kSamples; ++i) {
            const double share = (Sample(i) - range.Low) / (range.High - range.Low);
            line[i] = QPointF(plot.right() - (kSamples - 1 - i) / span * plot.width(),
                              plot.bottom() - share * plot.height());
        }
        return line;
    }

    SCA_TezCounter Counter;
    SCA_ChartFrame Chart;
};

// Made in main, after the application and before it goes.
ChartFixture* g_Fixture = nullptr;

ChartFixture& Fixture() {
    return *g_Fixture;
}

void BM_ChartPaint(benchmark::State& state) {
    const SCA_ChartFrame& chart = Fixture().Chart;
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        const auto start = Clock::now();
        QPainter painter(&image);
        chart.Paint(&painter, QRectF(0, 0, kWidth, kHeight));
        painter.end();
        g_Chart.Seconds += std::chrono::duration<double>(Clock::now() - start).count();
        ++g_Chart.Paints;
        benchmark::DoNotOptimize(image.constBits());
    }
}

// The same points as one run of line segments: drawPolyline strokes a wide antialiased line as
// one joined outline, which costs more than the segments the chart draws, so the floor takes
// Qt's cheaper way to the same pixels.
void BM_RawPolyline(benchmark::State& state) {
    const QPolygonF points = Fixture().Points();
    std::vector<QLineF> line;
    for (int i = 1; i < points.size(); ++i) {
        line.emplace_back(points[i - 1], points[i]);
    }
    const QPen pen(Qt::darkGreen, kLineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        const auto start = Clock::now();
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillRect(image.rect(), Qt::white);
        painter.setPen(pen);
        painter.drawLines(line.data(), static_cast<int>(line.size()));
        painter.end();
        g_Raw.Seconds += std::chrono::duration<double>(Clock::now() - start).count();
        ++g_Raw.Paints;
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_GaugePaint(benchmark::State& state) {
    SCA_GaugeFrame gauge(nullptr, nullptr, SCA_GAUGE_NEEDLE, SCA_FRAME_AUTO_RANGE, 7);
    gauge.SetTitle(3, "Processor Time");
    gauge.resize(kWidth / 2, kHeight);
    const tagSCA_TEZ_COUNTER_STATUS status{0, 3, 600, true, 62.5, 12.0, 91.0, 50.0};
    gauge.Update(&status, 1);
    QImage image(kWidth / 2, kHeight, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        const auto start = Clock::now();
        QPainter painter(&image);
        gauge.Paint(&painter, QRectF(0, 0, kWidth / 2, kHeight));
        painter.end();
        g_Gauge.Seconds += std::chrono::duration<double>(Clock::now() - start).count();
        ++g_Gauge.Paints;
        benchmark::DoNotOptimize(image.constBits());
    }
}

} // namespace

// Alternated so that both see the same load of the machine.
BENCHMARK(BM_RawPolyline)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(BM_ChartPaint)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(BM_RawPolyline)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(BM_ChartPaint)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(BM_GaugePaint)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    ChartFixture fixture;
    g_Fixture = &fixture;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("chart paint: %.1f us\nraw polyline: %.1f us\nratio: %.2f\ngauge paint: %.1f us\n",
                g_Chart.PerPaint() * 1e6, g_Raw.PerPaint() * 1e6,
                g_Raw.PerPaint() > 0 ? g_Chart.PerPaint() / g_Raw.PerPaint() : 0.0,
                g_Gauge.PerPaint() * 1e6);
    return 0;
}
