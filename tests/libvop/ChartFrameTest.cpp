// SPDX-License-Identifier: MIT
// The chart and the gauge as pixels: known series drawn into images at pixel ratios 1 and 2,
// probed where the values put the line, the fill, the grid and the gaps.
#include <QAction>
#include <QApplication>
#include <QFontMetricsF>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

#include "libvop/SCA_ChartFrame.h"
#include "libvop/SCA_ChartPalette.h"
#include "libvop/SCA_ChartScale.h"
#include "libvop/SCA_GaugeFrame.h"
#include "model/SCA_TezConfigUser.h"
#include "model/SCA_TezCounter.h"
#include "model/SCA_TezCounterMeta.h"
#include "model/SCA_TezSampleStore.h"

namespace {

constexpr uint64_t kSecond = 10000000ull;
constexpr uint64_t kStart = 1000 * kSecond;
constexpr int kSamples = 60;
const QSize kChartSize(400, 240);
const QSize kGaugeSize(300, 280);

// Colours no widget would pick by chance.
constexpr uint32_t kBackground = 0xFFFFF0;
constexpr uint32_t kGrid = 0xB0B0FF;
constexpr uint32_t kBorder = 0x804000;
constexpr uint32_t kLine = 0xE00000;
constexpr uint32_t kFill = 0x80FF80;
constexpr uint32_t kText = 0x000080;

struct Colours {
    SCA_TezConfigUser User{nullptr};
    Colours() {
        User.SetChartBackgroundColor(kBackground);
        User.SetChartGridColor(kGrid);
        User.SetChartBorderColor(kBorder);
        User.SetChartLineColor(kLine);
        User.SetChartFillColor(kFill);
        User.SetChartTextColor(kText);
    }
};

bool Near(QRgb pixel, uint32_t colour, int tolerance = 24) {
    return std::abs(qRed(pixel) - static_cast<int>((colour >> 16) & 0xFF)) <= tolerance &&
           std::abs(qGreen(pixel) - static_cast<int>((colour >> 8) & 0xFF)) <= tolerance &&
           std::abs(qBlue(pixel) - static_cast<int>(colour & 0xFF)) <= tolerance;
}

QImage Render(QWidget* widget, int ratio) {
    QImage image(widget->size() * ratio, QImage::Format_ARGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::magenta);
    widget->render(&image);
    return image;
}

// Whether a pixel near the logical point (x, y) has the colour: the line is two pixels wide
// and antialiased at its edges, so one of the pixels around its centre is solid.
bool ColourNear(const QImage& image, double x, double y, uint32_t colour, int reach = 1) {
    const double ratio = image.devicePixelRatio();
    const int cx = static_cast<int>(std::floor(x * ratio));
    const int cy = static_cast<int>(std::floor(y * ratio));
    for (int dy = -reach; dy <= reach; ++dy) {
        for (int dx = -reach; dx <= reach; ++dx) {
            if (image.valid(cx + dx, cy + dy) && Near(image.pixel(cx + dx, cy + dy), colour)) {
                return true;
            }
        }
    }
    return false;
}

// How many pixels of a logical column, between two heights, have the colour.
int CountInColumn(const QImage& image, double x, double top, double bottom, uint32_t colour) {
    const double ratio = image.devicePixelRatio();
    const int column = static_cast<int>(std::floor(x * ratio));
    int count = 0;
    for (int y = static_cast<int>(top * ratio); y < static_cast<int>(bottom * ratio); ++y) {
        count += image.valid(column, y) && Near(image.pixel(column, y), colour, 40) ? 1 : 0;
    }
    return count;
}

struct SeriesCase {
    const char* Name;
    std::function<void(int i, double* value, bool* has)> Make;
    // Samples whose line the probes skip (a gap's edges, the spike).
    std::vector<int> Skip;
    std::vector<int> Gap;
};

const std::vector<SeriesCase>& SeriesCases() {
    static const std::vector<SeriesCase> cases = {
        {"ramp", [](int i, double* v, bool* h) { *v = i, *h = true; }, {}, {}},
        {"constant", [](int, double* v, bool* h) { *v = 40, *h = true; }, {}, {}},
        {"gap",
         [](int i, double* v, bool* h) { *v = i, *h = i < 20 || i >= 30; },
         {19, 30},
         {21, 22, 23, 24, 25, 26, 27, 28}},
        {"spike",
         [](int i, double* v, bool* h) { *v = i == 30 ? 1e6 : 40, *h = true; },
         {29, 30, 31},
         {}},
        {"infinity",
         [](int i, double* v, bool* h) {
             *v = i == 30 ? std::numeric_limits<double>::infinity() : 40, *h = true;
         },
         {29, 30, 31},
         {30}},
    };
    return cases;
}

void Fill(SCA_TezCounter* counter, const SeriesCase& series) {
    auto* store = new SCA_TezSampleStore();
    for (int i = 0; i < kSamples; ++i) {
        double value = 0;
        bool has = false;
        series.Make(i, &value, &has);
        store->AddSample(kStart + i * kSecond, value, has);
    }
    counter->SetCounterData(store);
}

double ExpectedX(const QRectF& plot, int i, uint32_t span) {
    return plot.right() - static_cast<double>(kSamples - 1 - i) / span * plot.width();
}

double ExpectedY(const QRectF& plot, const tagSCA_CHART_RANGE& range, double value) {
    return plot.bottom() - (value - range.Low) / (range.High - range.Low) * plot.height();
}

uint32_t TypeOfUnits(uint32_t units) {
    for (uint32_t type = 1; type <= SCA_TEZ_MAX_COUNTER_TYPE; ++type) {
        if (SCA_TezGetCounterUnits(type) == units) {
            return type;
        }
    }
    return 0;
}

uint32_t PercentType() {
    return TypeOfUnits(SCA_TEZ_UNITS_PERCENT);
}

std::vector<std::string> Labels(const std::vector<tagSCA_CHART_TICK>& ticks) {
    std::vector<std::string> labels;
    for (const tagSCA_CHART_TICK& tick : ticks) {
        labels.push_back(tick.Label);
    }
    return labels;
}

// Whether a pixel of the colour lies in the logical rectangle.
bool AnyInRect(const QImage& image, const QRectF& rect, uint32_t colour, int tolerance = 60) {
    const double ratio = image.devicePixelRatio();
    for (int y = static_cast<int>(rect.top() * ratio); y < static_cast<int>(rect.bottom() * ratio);
         ++y) {
        for (int x = static_cast<int>(rect.left() * ratio);
             x < static_cast<int>(rect.right() * ratio); ++x) {
            if (image.valid(x, y) && Near(image.pixel(x, y), colour, tolerance)) {
                return true;
            }
        }
    }
    return false;
}

TEST(ChartFrame, PercentagesFitTheirDataWithinAHundred) {
    struct Case {
        double From;
        double To;
        double High;
    };
    const Case cases[] = {{11, 24, 30}, {40, 99, 100}, {0, 100, 100}, {90, 180, 200}};
    for (const Case& test : cases) {
        SCA_TezCounter counter;
        counter.SetCounterType(PercentType());
        auto* store = new SCA_TezSampleStore();
        for (int i = 0; i < kSamples; ++i) {
            store->AddSample(kStart + i * kSecond,
                             test.From + (test.To - test.From) * i / (kSamples - 1), true);
        }
        counter.SetCounterData(store);
        SCA_ChartFrame chart(nullptr, nullptr, SCA_FRAME_AUTO_RANGE, 7);
        chart.Update(nullptr, &counter);
        EXPECT_DOUBLE_EQ(chart.GetRange().Low, 0) << test.To;
        EXPECT_DOUBLE_EQ(chart.GetRange().High, test.High) << test.To;
    }
}

TEST(ChartFrame, SeriesAreDrawnWhereTheirValuesPutThem) {
    Colours colours;
    for (const SeriesCase& series : SeriesCases()) {
        SCA_TezCounter counter;
        Fill(&counter, series);
        SCA_ChartFrame chart(nullptr, &colours.User, SCA_FRAME_AUTO_RANGE, 7);
        chart.resize(kChartSize);
        chart.SetTitle(3, "Chart");
        ASSERT_EQ(chart.Update(nullptr, &counter), 1);
        const QRectF plot = chart.GetPlotRect();
        const tagSCA_CHART_RANGE range = chart.GetRange();
        // The value 40 of the flat series (and of the spike's rest) fills the plot's upper part,
        // whatever the spike or the infinity did.
        if (std::string(series.Name) != "ramp" && std::string(series.Name) != "gap") {
            EXPECT_GT((40 - range.Low) / (range.High - range.Low), 0.5) << series.Name;
        }
        for (int ratio : {1, 2}) {
            const QImage image = Render(&chart, ratio);
            const std::string where = std::string(series.Name) + " x" + std::to_string(ratio);
            for (int i = 1; i < kSamples - 1; ++i) {
                double value = 0;
                bool has = false;
                series.Make(i, &value, &has);
                const bool skipped =
                    std::find(series.Skip.begin(), series.Skip.end(), i) != series.Skip.end();
                if (!has || skipped) {
                    continue;
                }
                const double x = ExpectedX(plot, i, 60);
                const double y = ExpectedY(plot, range, value);
                EXPECT_TRUE(ColourNear(image, x, y, kLine)) << where << " sample " << i;
                // The line goes on to the next sample without a break, wherever it is drawn.
                double next = 0;
                bool hasNext = false;
                series.Make(i + 1, &next, &hasNext);
                const bool nextSkipped =
                    std::find(series.Skip.begin(), series.Skip.end(), i + 1) != series.Skip.end();
                if (hasNext && !nextSkipped && i + 1 < kSamples - 1) {
                    const double middleX = (x + ExpectedX(plot, i + 1, 60)) / 2;
                    const double middleY = (y + ExpectedY(plot, range, next)) / 2;
                    EXPECT_TRUE(ColourNear(image, middleX, middleY, kLine))
                        << where << " between " << i << " and " << i + 1;
                }
                if (y + 8 < plot.bottom() - 2) {
                    EXPECT_TRUE(ColourNear(image, x, y + 8, kFill, 0)) << where << " fill " << i;
                }
                if (y - 8 > plot.top() + 2) {
                    EXPECT_FALSE(ColourNear(image, x, y - 8, kFill, 0) ||
                                 ColourNear(image, x, y - 8, kLine, 0))
                        << where << " above " << i;
                }
            }
            for (int i : series.Gap) {
                const double x = ExpectedX(plot, i, 60);
                EXPECT_EQ(CountInColumn(image, x, plot.top(), plot.bottom(), kLine), 0)
                    << where << " gap " << i;
                EXPECT_EQ(CountInColumn(image, x, plot.top(), plot.bottom(), kFill), 0)
                    << where << " gap fill " << i;
            }
            if (std::string(series.Name) == "spike") {
                // Cut at the top edge, not lost: the line leaves the plot there and comes back.
                int crossings = 0;
                for (double x = ExpectedX(plot, 29, 60); x <= ExpectedX(plot, 31, 60); x += 0.5) {
                    crossings += ColourNear(image, x, plot.top() + 3, kLine, 0) ? 1 : 0;
                }
                EXPECT_GE(crossings, 2) << where;
            }
        }
    }
}

TEST(ChartFrame, PaintsTheConfiguredColoursOnWholePixels) {
    Colours colours;
    SCA_TezCounter counter;
    Fill(&counter, SeriesCases()[1]); // constant
    SCA_ChartFrame chart(nullptr, &colours.User, SCA_FRAME_AUTO_RANGE, 7);
    chart.resize(kChartSize);
    chart.SetTitle(3, "Chart");
    chart.Update(nullptr, &counter);
    const QRectF plot = chart.GetPlotRect();
    const double lineY = ExpectedY(plot, chart.GetRange(), 40);
    for (int ratio : {1, 2}) {
        const QImage image = Render(&chart, ratio);
        EXPECT_TRUE(Near(image.pixel(0, 0), kBorder, 0)) << ratio;
        EXPECT_TRUE(Near(image.pixel(3 * ratio, 3 * ratio), kBackground, 0)) << ratio;
        const int midY = static_cast<int>((plot.top() + lineY) / 2 * ratio);
        const int left = static_cast<int>(plot.left() * ratio);
        EXPECT_TRUE(Near(image.pixel(left, midY), kBorder, 0)) << ratio;
        // A vertical grid line every ten seconds: exactly one pixel (two at ratio 2) wide,
        // with the background on both sides.
        const double gridX = std::floor(plot.right() - plot.width() / 6) + 0.5;
        const int column = static_cast<int>(std::floor((gridX - 0.5) * ratio));
        for (int c = column; c < column + ratio; ++c) {
            EXPECT_TRUE(Near(image.pixel(c, midY), kGrid, 0)) << ratio << " column " << c;
        }
        EXPECT_TRUE(Near(image.pixel(column - 1, midY), kBackground, 0)) << ratio;
        EXPECT_TRUE(Near(image.pixel(column + ratio, midY), kBackground, 0)) << ratio;
        // The title is written in the text colour.
        int titlePixels = 0;
        for (int y = 0; y < static_cast<int>(plot.top() * ratio); ++y) {
            for (int x = 0; x < image.width() / 2; ++x) {
                titlePixels += Near(image.pixel(x, y), kText, 60) ? 1 : 0;
            }
        }
        EXPECT_GT(titlePixels, 10 * ratio * ratio) << ratio;
    }
    chart.SetTitle(5, "Invalid Counter");
    const QImage error = Render(&chart, 1);
    int red = 0;
    for (int y = 0; y < static_cast<int>(plot.top()); ++y) {
        for (int x = 0; x < error.width() / 2; ++x) {
            const QRgb p = error.pixel(x, y);
            red += qRed(p) > 150 && qGreen(p) < 90 && qBlue(p) < 90 ? 1 : 0;
        }
    }
    EXPECT_GT(red, 10) << "an error title is red";
}

TEST(ChartFrame, ViewModeChangesOnceAndShowsTheNewSpan) {
    Colours colours;
    SCA_TezCounter counter;
    Fill(&counter, SeriesCases()[0]); // ramp
    SCA_ChartFrame chart(nullptr, &colours.User, SCA_FRAME_AUTO_RANGE, 7);
    chart.resize(kChartSize);
    int changes = 0;
    QObject::connect(&chart, &SCA_ChartFrame::ViewModeChanged, [&changes] { ++changes; });
    chart.Update(nullptr, &counter);
    EXPECT_EQ(chart.GetViewMode(), SCA_CHART_VIEW_60S);

    struct Step {
        uint32_t Mode;
        uint32_t Expected;
        int Changes;
    };
    const Step steps[] = {{2, 2, 1}, {2, 2, 1}, {0, 2, 1}, {7, 2, 1}, {4, 4, 2}, {1, 1, 3}};
    for (const Step& step : steps) {
        chart.SetViewMode(step.Mode);
        EXPECT_EQ(chart.GetViewMode(), step.Expected) << step.Mode;
        EXPECT_EQ(changes, step.Changes) << step.Mode;
    }
    const uint32_t spans[] = {0, 60, 120, 300, 600, 0};
    for (uint32_t mode = 0; mode < 6; ++mode) {
        EXPECT_EQ(SCA_ChartFrame::GetViewModeSpan(mode), spans[mode]);
    }

    // The user's way: the selector's menu.
    QMenu* menu = chart.findChild<QMenu*>();
    ASSERT_NE(menu, nullptr);
    for (QAction* action : menu->actions()) {
        if (action->data().toUInt() == SCA_CHART_VIEW_120S) {
            action->trigger();
        }
    }
    EXPECT_EQ(chart.GetViewMode(), SCA_CHART_VIEW_120S);
    EXPECT_EQ(changes, 4);
    // Sixty seconds now fill half the width: each sample sits where a 120-second span puts it.
    const QRectF plot = chart.GetPlotRect();
    const QImage image = Render(&chart, 1);
    for (int i : {5, 30, 55}) {
        EXPECT_TRUE(
            ColourNear(image, ExpectedX(plot, i, 120), ExpectedY(plot, chart.GetRange(), i), kLine))
            << i;
    }
    EXPECT_EQ(
        CountInColumn(image, plot.left() + plot.width() / 4, plot.top(), plot.bottom(), kLine), 0)
        << "nothing older than the samples";
}

// Ten minutes of samples plot the last minute exactly as that minute alone does, the line
// entering from the sample before it; the ten-minute view shows the older ones again.
TEST(ChartFrame, ALongSeriesDrawsItsSpanAsTheSpanAlone) {
    Colours colours;
    auto fill = [](SCA_TezCounter* counter, int from) {
        auto* store = new SCA_TezSampleStore();
        for (int i = from; i < 600; ++i) {
            // The old samples are far above the last minute's: any of them drawn would show.
            store->AddSample(kStart + i * kSecond, i < 530 ? 5000.0 : 40.0 + i % 7, true);
        }
        counter->SetCounterData(store);
    };
    SCA_TezCounter ten;
    SCA_TezCounter minute;
    fill(&ten, 0);
    fill(&minute, 538);
    SCA_ChartFrame tenChart(nullptr, &colours.User, SCA_FRAME_AUTO_RANGE, 7);
    SCA_ChartFrame minuteChart(nullptr, &colours.User, SCA_FRAME_AUTO_RANGE, 7);
    for (SCA_ChartFrame* chart : {&tenChart, &minuteChart}) {
        chart->resize(kChartSize);
    }
    tenChart.Update(nullptr, &ten);
    minuteChart.Update(nullptr, &minute);
    EXPECT_EQ(tenChart.GetRange().High, minuteChart.GetRange().High);
    // The statistics line is the whole run's; the plot is the span's.
    const QRect plot = tenChart.GetPlotRect().toAlignedRect();
    ASSERT_EQ(plot, minuteChart.GetPlotRect().toAlignedRect());
    EXPECT_EQ(Render(&tenChart, 1).copy(plot), Render(&minuteChart, 1).copy(plot));
    tenChart.SetViewMode(SCA_CHART_VIEW_600S);
    tenChart.Update(nullptr, &ten);
    EXPECT_GE(tenChart.GetRange().High, 5000.0);
}

class CountingChart : public SCA_ChartFrame {
public:
    using SCA_ChartFrame::SCA_ChartFrame;
    int Paints = 0;

protected:
    void paintEvent(QPaintEvent* event) override {
        ++Paints;
        SCA_ChartFrame::paintEvent(event);
    }
};

TEST(ChartFrame, RepaintsOnlyOnNewData) {
    Colours colours;
    SCA_TezCounter counter;
    Fill(&counter, SeriesCases()[0]);
    CountingChart chart(nullptr, &colours.User, SCA_FRAME_AUTO_RANGE, 7);
    chart.resize(kChartSize);
    chart.show();
    chart.Update(nullptr, &counter);
    QApplication::processEvents();
    const int painted = chart.Paints;
    ASSERT_GT(painted, 0);
    for (int poll = 0; poll < 3; ++poll) {
        EXPECT_EQ(chart.Update(nullptr, &counter), 0);
        QApplication::processEvents();
    }
    EXPECT_EQ(chart.Paints, painted) << "the same samples again";
    auto* store = dynamic_cast<SCA_TezSampleStore*>(counter.GetCounterData());
    store->AddSample(kStart + kSamples * kSecond, 61, true);
    EXPECT_EQ(chart.Update(nullptr, &counter), 1);
    QApplication::processEvents();
    EXPECT_EQ(chart.Paints, painted + 1);
}

TEST(ChartScale, TicksStandAtEvenStepsInOneUnitPerAxis) {
    struct TimeCase {
        double Span;
        bool Ended;
        std::vector<std::string> Labels;
    };
    const TimeCase times[] = {
        {60, false, {"now", "-10 s", "-20 s", "-30 s", "-40 s", "-50 s", "-60 s"}},
        {120, false, {"now", "-20 s", "-40 s", "-60 s", "-80 s", "-100 s", "-120 s"}},
        {300, false, {"now", "-1 min", "-2 min", "-3 min", "-4 min", "-5 min"}},
        {600, false, {"now", "-2 min", "-4 min", "-6 min", "-8 min", "-10 min"}},
        // A finished run of a little under ten minutes, as the report dialog charts it.
        {597, true, {"end", "-2 min", "-4 min", "-6 min", "-8 min"}},
        {25, true, {"end", "-5 s", "-10 s", "-15 s", "-20 s", "-25 s"}},
        {7200, false, {"now", "-20 min", "-40 min", "-60 min", "-80 min", "-100 min", "-120 min"}},
        {3 * 86400, true, {"end", "-12 h", "-24 h", "-36 h", "-48 h", "-60 h", "-72 h"}},
        {40 * 86400, true, {"end", "-7 d", "-14 d", "-21 d", "-28 d", "-35 d"}},
        {0, false, {"now"}},
    };
    for (const TimeCase& test : times) {
        const auto ticks = SCA_ChartScale::TimeTicks(test.Span, 6, test.Ended);
        EXPECT_EQ(Labels(ticks), test.Labels) << test.Span;
        for (size_t i = 1; i < ticks.size(); ++i) {
            EXPECT_DOUBLE_EQ(ticks[i].Value - ticks[i - 1].Value, ticks[1].Value) << test.Span;
            EXPECT_LE(ticks[i].Value, test.Span);
        }
    }

    struct ValueCase {
        std::vector<double> Values;
        double FixedHigh;
        uint32_t Units;
        std::vector<std::string> Labels;
    };
    constexpr double kMebi = 1024.0 * 1024.0;
    const ValueCase values[] = {
        {{}, 100, SCA_TEZ_UNITS_PERCENT, {"0%", "20%", "40%", "60%", "80%", "100%"}},
        {{0.1, 0.7}, 0, SCA_TEZ_UNITS_PERCENT, {"0.0%", "0.2%", "0.4%", "0.6%", "0.8%"}},
        {{0, 3.5 * kMebi},
         0,
         SCA_TEZ_UNITS_BYTES_PER_SEC,
         {"0 MB/s", "1 MB/s", "2 MB/s", "3 MB/s", "4 MB/s"}},
        {{300, 900},
         0,
         SCA_TEZ_UNITS_BYTES_PER_SEC,
         {"0 B/s", "200 B/s", "400 B/s", "600 B/s", "800 B/s", "1000 B/s"}},
        {{0, 219.09e6}, 0, SCA_TEZ_UNITS_COUNT, {"0 M", "100 M", "200 M", "300 M"}},
        {{-30, -5}, 0, SCA_TEZ_UNITS_COUNT, {"-30", "-20", "-10", "0"}},
        {{0, 950e6},
         0,
         SCA_TEZ_UNITS_BITS_PER_SEC,
         {"0 Mbit/s", "200 Mbit/s", "400 Mbit/s", "600 Mbit/s", "800 Mbit/s", "1000 Mbit/s"}},
    };
    for (const ValueCase& test : values) {
        const tagSCA_CHART_RANGE range =
            SCA_ChartScale::Fit(test.Values, test.FixedHigh, 4, test.Units);
        const auto ticks = SCA_ChartScale::ValueTicks(range, test.Units);
        EXPECT_EQ(Labels(ticks), test.Labels) << test.Units << " " << range.High;
        ASSERT_FALSE(ticks.empty());
        EXPECT_DOUBLE_EQ(ticks.front().Value, range.Low);
        EXPECT_DOUBLE_EQ(ticks.back().Value, range.High);
        // The step is 1, 2 or 5 times a power of ten of the axis's unit.
        const double step = range.Step / range.Unit;
        const double mantissa = step / std::pow(10.0, std::floor(std::log10(step) + 1e-9));
        EXPECT_TRUE(std::fabs(mantissa - 1) < 1e-9 || std::fabs(mantissa - 2) < 1e-9 ||
                    std::fabs(mantissa - 5) < 1e-9)
            << mantissa;
    }
}

// The labels drawn where the ticks put them: each value label in the room left of the plot at
// its grid line, each time below the plot at its line, none cut by the plot.
TEST(ChartFrame, GridLinesAndLabelsStandAtTheirTicks) {
    Colours colours;
    const uint32_t bytes = TypeOfUnits(SCA_TEZ_UNITS_BYTES_PER_SEC);
    ASSERT_NE(bytes, 0u);
    SCA_TezCounter counter;
    counter.SetCounterType(bytes);
    auto* store = new SCA_TezSampleStore(600);
    // Two climbs from zero, so that each view has a part low enough to leave the grid uncovered.
    for (int i = 0; i < 597; ++i) {
        store->AddSample(kStart + i * kSecond, 219.09e6 * (i % 300) / 299, true);
    }
    counter.SetCounterData(store);
    for (uint32_t mode : {SCA_CHART_VIEW_RUN, SCA_CHART_VIEW_300S}) {
        SCA_ChartFrame chart(nullptr, &colours.User, SCA_FRAME_AUTO_RANGE, 7);
        chart.resize(kChartSize);
        chart.SetViewMode(mode);
        chart.Update(nullptr, &counter);
        const QRectF plot = chart.GetPlotRect();
        const auto valueTicks = chart.GetValueTicks();
        const auto timeTicks = chart.GetTimeTicks();
        ASSERT_GE(valueTicks.size(), 3u) << mode;
        ASSERT_GE(timeTicks.size(), 3u) << mode;
        const QFontMetricsF metrics(chart.font());
        const QImage image = Render(&chart, 1);
        const tagSCA_CHART_RANGE range = chart.GetRange();
        for (const tagSCA_CHART_TICK& tick : valueTicks) {
            EXPECT_LE(metrics.horizontalAdvance(QString::fromStdString(tick.Label)),
                      plot.left() - 4)
                << tick.Label;
            const double y = ExpectedY(plot, range, tick.Value);
            const QRectF label(0, y - metrics.height() / 2, plot.left() - 2, metrics.height());
            EXPECT_TRUE(AnyInRect(image, label, kText)) << mode << " " << tick.Label;
            // The grid line, where the series' fill does not cover it.
            if (y > plot.top() + 2 && y < plot.bottom() - 2) {
                const QRectF row(plot.left() + 2, std::floor(y) - 1, plot.width() - 4, 3);
                EXPECT_TRUE(AnyInRect(image, row, kGrid, 8)) << mode << " " << tick.Label;
            }
        }
        const double span = mode == SCA_CHART_VIEW_RUN ? 596 : 300;
        for (const tagSCA_CHART_TICK& tick : timeTicks) {
            const double x = plot.right() - tick.Value / span * plot.width();
            const QRectF label(x - 6, plot.bottom() + 2, 12, metrics.height());
            EXPECT_TRUE(AnyInRect(image, label, kText)) << mode << " " << tick.Label;
            // Above the climbs, which stay below the top of the range.
            if (x > plot.left() + 2 && x < plot.right() - 2) {
                EXPECT_TRUE(ColourNear(image, x, plot.top() + 4, kGrid)) << tick.Label;
            }
        }
    }
}

TEST(ChartFrame, AnEmptyChartSaysSoAndDrawsNoScale) {
    Colours colours;
    SCA_TezCounter none;
    none.SetCounterType(TypeOfUnits(SCA_TEZ_UNITS_BYTES_PER_SEC));
    SCA_TezCounter gaps;
    gaps.SetCounterType(PercentType());
    auto* store = new SCA_TezSampleStore();
    for (int i = 0; i < 10; ++i) {
        store->AddSample(kStart + i * kSecond, 0, false);
    }
    gaps.SetCounterData(store);
    for (SCA_TezCounter* counter : {&none, &gaps}) {
        for (uint32_t mode : {SCA_CHART_VIEW_60S, SCA_CHART_VIEW_RUN}) {
            SCA_ChartFrame chart(nullptr, &colours.User, SCA_FRAME_AUTO_RANGE, 7);
            chart.resize(kChartSize);
            chart.SetViewMode(mode);
            chart.Update(nullptr, counter);
            EXPECT_TRUE(chart.GetValueTicks().empty());
            EXPECT_TRUE(chart.GetTimeTicks().empty());
            const QRectF plot = chart.GetPlotRect();
            const QImage image = Render(&chart, 1);
            // No values at the left, no times below, no grid in the plot; a line of text in its
            // middle says why.
            EXPECT_FALSE(
                AnyInRect(image, QRectF(2, plot.top(), plot.left() - 2, plot.height()), kText));
            EXPECT_FALSE(AnyInRect(image, plot.adjusted(2, 2, -2, -2), kGrid, 8));
            const QRectF middle(plot.left(), plot.center().y() - 10, plot.width(), 20);
            EXPECT_TRUE(AnyInRect(image, middle, kText));
        }
    }
    // A gauge with no values and no fixed top draws no scale either; a percentage's is 0 to 100.
    SCA_GaugeFrame gauge(nullptr, &colours.User, SCA_GAUGE_NEEDLE, SCA_FRAME_AUTO_RANGE, 7);
    gauge.Update(&none, 1);
    EXPECT_TRUE(gauge.GetScaleTicks().empty());
    tagSCA_TEZ_COUNTER_STATUS percent{};
    percent.CounterType = PercentType();
    gauge.Update(&percent, 1);
    EXPECT_EQ(Labels(gauge.GetScaleTicks()),
              (std::vector<std::string>{"0%", "20%", "40%", "60%", "80%", "100%"}));
}

// The chart's statistics line gives way in its labels before its values: four sizes whose full
// labels do not fit (a process window's chart at its default size) show whole with short
// labels; only a width too small for even those cuts the line.
TEST(ChartFrame, StatisticsShortenTheirLabelsBeforeTheyCutAValue) {
    tagSCA_TEZ_COUNTER_STATUS status{};
    status.CounterType = TypeOfUnits(SCA_TEZ_UNITS_BYTES);
    status.ValueCount = 3;
    status.HasCurrent = 1;
    status.Current = status.Average = status.Minimum = status.Maximum = 1.61 * 1024 * 1024;
    const QFontMetricsF metrics(QApplication::font());
    const QString full = SCA_ChartPalette::StatisticsText(status, false);
    const QString brief = SCA_ChartPalette::ShortStatisticsText(status);
    ASSERT_EQ(full.toStdString(),
              "Current: 1.61 MB   Average: 1.61 MB   Minimum: 1.61 MB   Maximum: 1.61 MB");
    ASSERT_EQ(brief.toStdString(), "Cur: 1.61 MB   Avg: 1.61 MB   Min: 1.61 MB   Max: 1.61 MB");
    const struct {
        const char* Name;
        double Width;
        QString Shown;
    } cases[] = {
        {"wide", metrics.horizontalAdvance(full), full},
        {"a pixel short of the full labels", metrics.horizontalAdvance(full) - 1, brief},
        {"just the short labels", metrics.horizontalAdvance(brief), brief},
        {"too narrow for either", metrics.horizontalAdvance(brief) - 20,
         metrics.elidedText(brief, Qt::ElideRight, metrics.horizontalAdvance(brief) - 20)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SCA_ChartPalette::FittedStatistics(metrics, c.Width, status, false).toStdString(),
                  c.Shown.toStdString())
            << c.Name;
    }
    // The gauge's compact line keeps its labels, which are short already.
    EXPECT_EQ(SCA_ChartPalette::FittedStatistics(metrics, 1000, status, true).toStdString(),
              "Min: 1.61 MB   Avg: 1.61 MB   Max: 1.61 MB");
}

TEST(ChartScale, FitsTheDataWithRoundSteps) {
    struct Case {
        std::vector<double> Values;
        double FixedHigh;
        double Low;
        double High;
    };
    const double inf = std::numeric_limits<double>::infinity();
    std::vector<double> flatWithSpike(100, 40.0);
    flatWithSpike[50] = 1e9;
    std::vector<double> stepUp(100, 10.0);
    std::fill(stepUp.begin() + 70, stepUp.end(), 1000.0);
    const Case cases[] = {
        {{}, 0, 0, 1},
        {{0, 59}, 0, 0, 80},
        {{40, 40, 40}, 0, 0, 60},
        {{-30, -5}, 0, -30, 0},
        {{-5, 12}, 0, -5, 15},
        {{12, 80, 99}, 100, 0, 100},
        {{12, 180}, 100, 0, 200},
        {{40, inf, -inf, std::nan("")}, 0, 0, 60},
        {flatWithSpike, 0, 0, 60},
        // A step up is data, not a spike.
        {stepUp, 0, 0, 1500},
    };
    for (const Case& test : cases) {
        const tagSCA_CHART_RANGE range = SCA_ChartScale::Fit(test.Values, test.FixedHigh, 4);
        EXPECT_DOUBLE_EQ(range.Low, test.Low) << test.Values.size();
        EXPECT_DOUBLE_EQ(range.High, test.High) << test.Values.size();
        EXPECT_GT(range.Step, 0);
        const double steps = (range.High - range.Low) / range.Step;
        EXPECT_NEAR(steps, std::round(steps), 1e-9);
    }
}

QPointF OnDial(const QPointF& centre, double radius, double degrees) {
    const double radians = degrees * std::numbers::pi / 180.0;
    return centre + QPointF(radius * std::cos(radians), -radius * std::sin(radians));
}

TEST(GaugeFrame, NeedlePointsAtTheValue) {
    Colours colours;
    const uint32_t type = PercentType();
    ASSERT_NE(type, 0u);
    SCA_GaugeFrame gauge(nullptr, &colours.User, SCA_GAUGE_NEEDLE, SCA_FRAME_AUTO_RANGE, 7);
    gauge.resize(kGaugeSize);
    const double angles[] = {225.0, 90.0, -45.0}; // 0, 50 and 100 %
    const double values[] = {0.0, 50.0, 100.0};
    for (int ratio : {1, 2}) {
        for (int v = 0; v < 3; ++v) {
            const tagSCA_TEZ_COUNTER_STATUS status{type, 3, 10, true, values[v], 0, 100, 50};
            gauge.Update(&status, 0);
            EXPECT_DOUBLE_EQ(gauge.GetRange().Low, 0);
            EXPECT_DOUBLE_EQ(gauge.GetRange().High, 100);
            const QImage image = Render(&gauge, ratio);
            const QPointF centre = gauge.GetDialCentre();
            const double radius = gauge.GetDialRadius();
            for (int a = 0; a < 3; ++a) {
                for (double share : {0.3, 0.6}) {
                    const QPointF at = OnDial(centre, radius * share, angles[a]);
                    EXPECT_EQ(ColourNear(image, at.x(), at.y(), kLine), a == v)
                        << values[v] << "% probed at " << angles[a] << " x" << ratio;
                }
            }
        }
    }
    EXPECT_EQ(gauge.GetValueText(), QStringLiteral("100.0%"));
}

TEST(GaugeFrame, ShowsTheRunsBandAndNoValueAsSuch) {
    Colours colours;
    const uint32_t type = PercentType();
    SCA_GaugeFrame gauge(nullptr, &colours.User, SCA_GAUGE_NEEDLE, SCA_FRAME_AUTO_RANGE, 7);
    gauge.resize(kGaugeSize);
    // Minimum 20, maximum 80: the band between them lies on the track in the fill colour.
    const tagSCA_TEZ_COUNTER_STATUS status{type, 3, 10, true, 30, 20, 80, 50};
    gauge.Update(&status, 0);
    QImage image = Render(&gauge, 1);
    const QPointF centre = gauge.GetDialCentre();
    const double radius = gauge.GetDialRadius();
    const auto angle = [](double percent) { return 225.0 - 2.7 * percent; };
    for (double inside : {25.0, 45.0, 70.0}) {
        const QPointF at = OnDial(centre, radius, angle(inside));
        EXPECT_TRUE(ColourNear(image, at.x(), at.y(), kFill)) << inside;
    }
    for (double outside : {10.0, 90.0}) {
        const QPointF at = OnDial(centre, radius, angle(outside));
        EXPECT_TRUE(ColourNear(image, at.x(), at.y(), kGrid)) << outside;
    }

    // The newest sample had no value: "---" and no needle, the band stays.
    tagSCA_TEZ_COUNTER_STATUS none = status;
    none.HasCurrent = false;
    EXPECT_EQ(gauge.Update(&none, 0), 1);
    EXPECT_EQ(gauge.GetValueText(), QStringLiteral("---"));
    image = Render(&gauge, 1);
    for (double percent : {0.0, 30.0, 50.0, 100.0}) {
        const QPointF at = OnDial(centre, radius * 0.5, angle(percent));
        EXPECT_FALSE(ColourNear(image, at.x(), at.y(), kLine)) << percent;
    }
    EXPECT_EQ(gauge.Update(&none, 0), 0) << "nothing new";
    EXPECT_EQ(gauge.Update(&none, 1), 1) << "asked to redraw";

    // From a counter's collected samples when there is no status.
    SCA_TezCounter counter;
    counter.SetCounterType(type);
    auto* store = new SCA_TezSampleStore();
    store->AddSample(kStart, 10, true);
    store->AddSample(kStart + kSecond, 90, true);
    counter.SetCounterData(store);
    gauge.Update(&counter, 0);
    EXPECT_EQ(gauge.GetStatus().ValueCount, 2u);
    EXPECT_EQ(gauge.GetValueText(), QStringLiteral("90.0%"));
}

} // namespace
