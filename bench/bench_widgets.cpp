// SPDX-License-Identifier: MIT
// Painting a live chart of 600 samples at 800 x 300 (frame, title, grid and values, fill,
// line, statistics) against what any chart of those samples must paint: the same image cleared
// as the chart clears it (its background), and the line through the chart's points with the
// chart's pen, antialiased (bench/PlainChart.h), each sample mapped onto the chart's plot within
// the round. The line is drawn as one polyline in one set of windows and as a run of separate
// segments in another: on this wandering series the one polyline costs the most. The chart's
// rounds and the floor's take turns.
// The gauge's paint is timed in the same windows, after them, as a figure of its own. Prints, for
// each of three windows with its load, the 50th and 99th percentiles of the chart, the floor and
// their ratio, then their spread, and the gauge's.
//
// The heap is the client's: a paint's temporary blocks are large, and under the C library's
// default, whether they are mapped anew at each paint depends on what was freed before, so
// the figures would depend on what ran before each round.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench/BenchSupport.h"
#include "bench/PlainChart.h"
#include "korvac/kit/SCA_ClientSession.h"
#include "libvop/SCA_ChartFrame.h"
#include "libvop/SCA_GaugeFrame.h"
#include "model/SCA_TezCounter.h"
#include "model/SCA_TezSampleStore.h"

namespace {

constexpr int kRounds = 500;
constexpr int kWarmUp = 50;
constexpr int kSamples = 600;
constexpr int kWidth = 800;
constexpr int kHeight = 300;
constexpr uint64_t kSecond = 10000000ull;
constexpr uint64_t kFirstSample = 1000 * kSecond;
// Title, grid values and times, statistics.
constexpr uint32_t kAllParts = 7;
constexpr uint32_t kInformation = 3;

// A wandering series, the same in every run.
double Sample(int i) {
    return 50.0 + 30.0 * std::sin(i / 23.0) + 10.0 * std::sin(i / 3.7);
}

// Where the chart puts a sample: the newest at the right of its plot, its range from bottom
// to top.
struct Mapping {
    QRectF Plot;
    tagSCA_CHART_RANGE Range;
    double SpanSeconds;

    QPointF PointOf(int i, double value) const {
        const double share = (value - Range.Low) / (Range.High - Range.Low);
        return {Plot.right() - (kSamples - 1 - i) / SpanSeconds * Plot.width(),
                Plot.bottom() - share * Plot.height()};
    }
};

// The floor's round: the samples mapped onto the chart's plot and their line painted.
void PaintLine(const Mapping& mapping, const std::vector<double>& values,
               korvanta_bench::PlainChart::Stroke stroke, std::vector<QPointF>* points,
               korvanta_bench::PlainChart* plain) {
    points->clear();
    for (int i = 0; i < kSamples; ++i) {
        points->push_back(mapping.PointOf(i, values[static_cast<size_t>(i)]));
    }
    plain->Paint(*points, stroke);
}

// The paint of a frame on an image of its size, as its paint event does it.
void PaintOn(const SCA_CounterFrame& frame, QImage* image) {
    QPainter painter(image);
    frame.Paint(&painter, QRectF(image->rect()));
}

} // namespace

int main(int argc, char** argv) {
    if (korvanta_bench::AnswerHelp(
            argc, argv, "the live chart's paint against a plain polyline, and the gauge's paint")) {
        return 0;
    }
    const korvanta_bench::ClientHome home;
    QApplication app(argc, argv);
    // Tunes the heap as the client does.
    const SCA_ClientSession session;

    SCA_TezCounter counter;
    auto* store = new SCA_TezSampleStore();
    std::vector<double> values;
    for (int i = 0; i < kSamples; ++i) {
        values.push_back(Sample(i));
        store->AddSample(kFirstSample + i * kSecond, values.back(), true);
    }
    counter.SetCounterData(store);
    SCA_ChartFrame chart(nullptr, nullptr, SCA_FRAME_AUTO_RANGE, kAllParts);
    chart.SetViewMode(SCA_CHART_VIEW_600S);
    chart.SetTitle(kInformation, "Processor Time");
    chart.resize(kWidth, kHeight);
    if (!chart.Update(nullptr, &counter) || chart.GetValueTicks().empty()) {
        std::fprintf(stderr, "the chart did not take the samples\n");
        return 1;
    }
    QImage chartImage(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);

    // The chart's layout and scale, which a plain line need not work out.
    const Mapping mapping{chart.GetPlotRect(), chart.GetRange(),
                          static_cast<double>(chart.GetViewSpan())};
    korvanta_bench::PlainChart plain;
    plain.Resize(QSize(kWidth, kHeight));
    std::vector<QPointF> points;
    points.reserve(kSamples);

    SCA_GaugeFrame gauge(nullptr, nullptr, SCA_GAUGE_NEEDLE, SCA_FRAME_AUTO_RANGE, kAllParts);
    gauge.SetTitle(kInformation, "Processor Time");
    gauge.resize(kWidth / 2, kHeight);
    const tagSCA_TEZ_COUNTER_STATUS status{0, 3, 600, true, 62.5, 12.0, 91.0, 50.0};
    gauge.Update(&status, 1);
    QImage gaugeImage(kWidth / 2, kHeight, QImage::Format_ARGB32_Premultiplied);

    std::printf("%d rounds a window, %d samples at %d x %d\n", kRounds, kSamples, kWidth, kHeight);
    using Stroke = korvanta_bench::PlainChart::Stroke;
    std::vector<korvanta_bench::Percentiles> gaugePaints;
    // The gauge is timed in the windows of the first floor only.
    const auto measureAgainst = [&](Stroke stroke, const char* floorName,
                                    std::vector<korvanta_bench::Percentiles>* gaugeWindows) {
        korvanta_bench::MeasureWindows("chart paint", floorName, [&](int) {
            const korvanta_bench::InTurn timed = korvanta_bench::MeasureInTurn(
                kRounds, kWarmUp, [](int) {}, [&](int) { PaintOn(chart, &chartImage); },
                [&](int) { PaintLine(mapping, values, stroke, &points, &plain); });
            if (gaugeWindows != nullptr) {
                gaugeWindows->push_back(korvanta_bench::Measure(
                    kRounds, kWarmUp, [&](int) { PaintOn(gauge, &gaugeImage); }));
            }
            return timed;
        });
    };
    std::printf("chart paint against clearing and one polyline through its points:\n");
    measureAgainst(Stroke::Polyline, "clear and polyline", &gaugePaints);
    std::printf("chart paint against clearing and separate segments through its points:\n");
    measureAgainst(Stroke::Segments, "clear and segments", nullptr);
    korvanta_bench::PrintWindowFigure("gauge paint", gaugePaints);
    return 0;
}
