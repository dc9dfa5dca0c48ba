// SPDX-License-Identifier: MIT
#include "libvop/SCA_ChartFrame.h"

#include <QActionGroup>
#include <QContextMenuEvent>
#include <QFontMetricsF>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>
#include <algorithm>
#include <cmath>

#include "model/SCA_TezCounter.h"
#include "model/SCA_TezCounterMeta.h"
#include "model/SCA_TezSampleStore.h"

namespace {

constexpr uint64_t kTicksPerSecond = 10000000ull;

struct ViewMode {
    uint32_t Mode;
    uint32_t Span;     // seconds
    const char* Name;  // in the menu
    const char* Short; // on the selector
};

constexpr ViewMode kViewModes[] = {
    {SCA_CHART_VIEW_60S, 60, "Last Minute", "1 min"},
    {SCA_CHART_VIEW_120S, 120, "Last 2 Minutes", "2 min"},
    {SCA_CHART_VIEW_300S, 300, "Last 5 Minutes", "5 min"},
    {SCA_CHART_VIEW_600S, 600, "Last 10 Minutes", "10 min"},
};

// Vertical grid lines: at most this many steps of the span.
constexpr int kTimeSteps = 6;
// Horizontal grid lines: about this many steps of the value range.
constexpr int kValueSteps = 4;
constexpr double kFullPercent = 100.0;
// A pause longer than this many usual intervals between two samples breaks the line.
constexpr double kPauseIntervals = 2.5;
// A value far outside the range is drawn at most this many plot heights away, cut at the edge.
constexpr double kFarOutHeights = 8.0;

constexpr double kLineWidth = 2.0;
// Segments per polyline of the series line: short enough that a wandering series gives the
// rasteriser few crossings per outline, long enough that caps between pieces stay rare.
constexpr size_t kLinePieceSegments = 16;
constexpr double kDotRadius = 2.0;
constexpr double kPlotMargin = 6.0;
constexpr double kLabelGap = 4.0;
constexpr int kSelectorMargin = 3;

const ViewMode* FindViewMode(uint32_t mode) {
    for (const ViewMode& entry : kViewModes) {
        if (entry.Mode == mode) {
            return &entry;
        }
    }
    return nullptr;
}

// Pixel centre of the pixel row or column a coordinate falls in, so that a one-pixel line is
// drawn on whole pixels.
double OnPixel(double coordinate) {
    return std::floor(coordinate) + 0.5;
}

bool SameSample(const tagSCA_TEZ_SAMPLE& a, const tagSCA_TEZ_SAMPLE& b) {
    return a.AbsTime == b.AbsTime && a.HasValue == b.HasValue &&
           (!a.HasValue || a.Value == b.Value);
}

// The usual time between two samples: the median of the steps forward.
uint64_t UsualInterval(const std::vector<tagSCA_TEZ_SAMPLE>& samples) {
    std::vector<uint64_t> steps;
    for (size_t i = 1; i < samples.size(); ++i) {
        if (samples[i].AbsTime > samples[i - 1].AbsTime) {
            steps.push_back(samples[i].AbsTime - samples[i - 1].AbsTime);
        }
    }
    if (steps.empty()) {
        return 0;
    }
    std::nth_element(steps.begin(), steps.begin() + steps.size() / 2, steps.end());
    return steps[steps.size() / 2];
}

} // namespace

SCA_ChartFrame::SCA_ChartFrame(QWidget* parent, SCA_TezConfigUser* userConfig, uint32_t rangeHigh,
                               uint32_t options)
    : SCA_CounterFrame(parent, userConfig, rangeHigh, options) {
    BuildSelector();
    RefitRange();
}

void SCA_ChartFrame::BuildSelector() {
    m_Menu = new QMenu(this);
    m_Modes = new QActionGroup(this);
    for (const ViewMode& entry : kViewModes) {
        QAction* action = m_Menu->addAction(QString::fromUtf8(entry.Name));
        action->setCheckable(true);
        action->setData(entry.Mode);
        m_Modes->addAction(action);
    }
    connect(m_Modes, &QActionGroup::triggered, this,
            [this](QAction* action) { SetViewMode(action->data().toUInt()); });
    m_Selector = new QToolButton(this);
    m_Selector->setAutoRaise(true);
    m_Selector->setPopupMode(QToolButton::InstantPopup);
    m_Selector->setMenu(m_Menu);
    m_Selector->setToolTip(QStringLiteral("Chart Range"));
    ShowSelectedMode();
}

void SCA_ChartFrame::ShowSelectedMode() {
    for (QAction* action : m_Modes->actions()) {
        action->setChecked(action->data().toUInt() == m_ViewMode);
    }
    const ViewMode* entry = FindViewMode(m_ViewMode);
    m_Selector->setText(entry != nullptr ? QString::fromUtf8(entry->Short) : QString());
    m_Selector->setVisible(HasOption(SCA_FRAME_TITLE) && entry != nullptr);
    m_Selector->adjustSize();
    m_Selector->move(width() - m_Selector->width() - kSelectorMargin, kSelectorMargin);
}

uint32_t SCA_ChartFrame::GetViewModeSpan(uint32_t mode) {
    const ViewMode* entry = FindViewMode(mode);
    return entry != nullptr ? entry->Span : 0;
}

void SCA_ChartFrame::SetViewMode(uint32_t mode) {
    if (mode == m_ViewMode || (FindViewMode(mode) == nullptr && mode != SCA_CHART_VIEW_RUN)) {
        ShowSelectedMode();
        return;
    }
    m_ViewMode = mode;
    ShowSelectedMode();
    RefitRange();
    update();
    emit ViewModeChanged();
}

int SCA_ChartFrame::Update(const tagSCA_TEZ_COUNTER_STATUS* status, const SCA_TezCounter* counter) {
    const tagSCA_TEZ_COUNTER_STATUS next = NextStatus(status, counter);
    std::vector<tagSCA_TEZ_SAMPLE> samples;
    const auto* store = counter != nullptr
                            ? dynamic_cast<const SCA_TezSampleStore*>(counter->GetCounterData())
                            : nullptr;
    if (store != nullptr && GetViewSpan() != 0) {
        // Only the span and the sample the line enters it from: a window that has held
        // ten minutes of samples costs each update what one just opened does.
        const uint64_t span = SpanTicks();
        uint64_t newest = 0;
        store->VisitNewestFirst(
            [&samples, &newest, span](uint32_t, const tagSCA_TEZ_SAMPLE& sample) {
                if (samples.empty()) {
                    newest = sample.AbsTime;
                }
                samples.push_back(sample);
                return newest - sample.AbsTime <= span;
            });
        std::reverse(samples.begin(), samples.end());
    } else if (store != nullptr) {
        samples = store->GetSamples();
    }
    if (SCA_ChartPalette::SameStatus(next, m_Status) &&
        std::equal(samples.begin(), samples.end(), m_Samples.begin(), m_Samples.end(),
                   SameSample)) {
        return 0;
    }
    m_Status = next;
    m_Samples = std::move(samples);
    m_Interval = UsualInterval(m_Samples);
    RefitRange();
    update();
    return 1;
}

uint64_t SCA_ChartFrame::SpanTicks() const {
    const uint32_t span = GetViewSpan();
    if (span != 0) {
        return span * kTicksPerSecond;
    }
    if (m_Samples.size() >= 2 && m_Samples.back().AbsTime > m_Samples.front().AbsTime) {
        return m_Samples.back().AbsTime - m_Samples.front().AbsTime;
    }
    return kViewModes[0].Span * kTicksPerSecond;
}

void SCA_ChartFrame::RefitRange() {
    std::vector<double> values;
    if (!m_Samples.empty()) {
        const uint64_t newest = m_Samples.back().AbsTime;
        const uint64_t span = SpanTicks();
        for (const tagSCA_TEZ_SAMPLE& sample : m_Samples) {
            if (sample.HasValue && newest - sample.AbsTime <= span) {
                values.push_back(sample.Value);
            }
        }
    }
    double low = 0.0;
    double high = 0.0;
    m_HasValues = SCA_ChartScale::DataBounds(values, &low, &high) != 0;
    m_Range = SCA_ChartScale::Fit(values, GetFixedHigh(), kValueSteps, GetUnits());
    // A percentage fits its data too, but never reaches past 100 while the data does not.
    if (GetFixedHigh() <= 0.0 && IsPercent() && m_Range.High > kFullPercent &&
        (!m_HasValues || high <= kFullPercent)) {
        m_Range = SCA_ChartScale::Round(std::min(m_Range.Low, 0.0), kFullPercent, kValueSteps);
    }
}

std::vector<tagSCA_CHART_TICK> SCA_ChartFrame::GetValueTicks() const {
    return m_HasValues ? SCA_ChartScale::ValueTicks(m_Range, GetUnits())
                       : std::vector<tagSCA_CHART_TICK>();
}

std::vector<tagSCA_CHART_TICK> SCA_ChartFrame::GetTimeTicks() const {
    if (!m_HasValues) {
        return {};
    }
    return SCA_ChartScale::TimeTicks(static_cast<double>(SpanTicks()) / kTicksPerSecond, kTimeSteps,
                                     m_ViewMode == SCA_CHART_VIEW_RUN);
}

bool SCA_ChartFrame::HasScale() const {
    return HasOption(SCA_FRAME_SCALE) && m_HasValues;
}

SCA_ChartFrame::Layout SCA_ChartFrame::ComputeLayout(const QPainter* painter,
                                                     const QRectF& area) const {
    const QFont font = painter != nullptr ? painter->font() : this->font();
    const QFontMetricsF metrics(font);
    const double band = SCA_ChartPalette::BandHeight(font);
    Layout layout;
    double top = area.top() + kPlotMargin;
    double bottom = area.bottom() - kPlotMargin;
    double left = area.left() + kPlotMargin;
    if (HasOption(SCA_FRAME_TITLE)) {
        layout.Title = QRectF(area.left(), area.top(), area.width(), band);
        top = layout.Title.bottom();
    }
    if (HasOption(SCA_FRAME_STATISTICS)) {
        layout.Statistics = QRectF(area.left(), area.bottom() - band, area.width(), band);
        bottom = layout.Statistics.top();
    }
    if (HasScale()) {
        double widest = 0.0;
        for (const tagSCA_CHART_TICK& tick : GetValueTicks()) {
            widest =
                std::max(widest, metrics.horizontalAdvance(QString::fromStdString(tick.Label)));
        }
        left += widest + kLabelGap;
        bottom -= metrics.height() + kLabelGap;
        // Half a label of room above the plot for the top value.
        top += metrics.height() / 2;
    }
    const double right = area.right() - 2 * kPlotMargin;
    layout.Plot = QRectF(
        QPointF(std::floor(left), std::floor(top)),
        QPointF(std::floor(std::max(right, left + 1)), std::floor(std::max(bottom, top + 1))));
    return layout;
}

QRectF SCA_ChartFrame::GetPlotRect() const {
    return ComputeLayout(nullptr, QRectF(rect())).Plot;
}

double SCA_ChartFrame::TimeToX(const QRectF& plot, uint64_t time) const {
    const uint64_t newest = m_Samples.empty() ? time : m_Samples.back().AbsTime;
    const double back = static_cast<double>(newest >= time ? newest - time : 0);
    return plot.right() - back / static_cast<double>(SpanTicks()) * plot.width();
}

double SCA_ChartFrame::ValueToY(const QRectF& plot, double value) const {
    const double share = (value - m_Range.Low) / (m_Range.High - m_Range.Low);
    const double y = plot.bottom() - share * plot.height();
    const double far = kFarOutHeights * plot.height();
    return std::clamp(y, plot.top() - far, plot.bottom() + far);
}

std::vector<std::vector<QPointF>> SCA_ChartFrame::BuildRuns(const QRectF& plot) const {
    std::vector<std::vector<QPointF>> runs;
    if (m_Samples.empty()) {
        return runs;
    }
    const uint64_t newest = m_Samples.back().AbsTime;
    const uint64_t span = SpanTicks();
    const double pause = m_Interval != 0 ? kPauseIntervals * static_cast<double>(m_Interval) : 0.0;
    std::vector<QPointF> run;
    const tagSCA_TEZ_SAMPLE* previous = nullptr;
    for (size_t i = 0; i < m_Samples.size(); ++i) {
        const tagSCA_TEZ_SAMPLE& sample = m_Samples[i];
        // Samples before the span count only as the start of the line that enters it.
        const bool nextInView =
            i + 1 < m_Samples.size() && newest - m_Samples[i + 1].AbsTime <= span;
        if (newest - sample.AbsTime > span && !nextInView) {
            previous = &sample;
            continue;
        }
        const bool paused = previous != nullptr && pause > 0.0 &&
                            static_cast<double>(sample.AbsTime - previous->AbsTime) > pause;
        if (!sample.HasValue || !std::isfinite(sample.Value) || paused) {
            if (!run.empty()) {
                runs.push_back(std::move(run));
                run.clear();
            }
        }
        if (sample.HasValue && std::isfinite(sample.Value)) {
            run.emplace_back(TimeToX(plot, sample.AbsTime), ValueToY(plot, sample.Value));
        }
        previous = &sample;
    }
    if (!run.empty()) {
        runs.push_back(std::move(run));
    }
    return runs;
}

void SCA_ChartFrame::PaintGrid(QPainter* painter, const SCA_ChartPalette& palette,
                               const QRectF& plot) const {
    const QFontMetricsF metrics(painter->font());
    const bool labels = HasScale();
    for (const tagSCA_CHART_TICK& tick : GetValueTicks()) {
        const double y = OnPixel(ValueToY(plot, tick.Value));
        if (y > plot.top() + 1 && y < plot.bottom() - 1) {
            painter->setPen(QPen(palette.Grid, 1.0));
            painter->drawLine(QPointF(plot.left() + 1, y), QPointF(plot.right() - 1, y));
        }
        if (labels) {
            painter->setPen(palette.Text);
            const QRectF box(0, y - metrics.height() / 2, plot.left() - kLabelGap,
                             metrics.height());
            painter->drawText(box, Qt::AlignRight | Qt::AlignVCenter,
                              QString::fromStdString(tick.Label));
        }
    }
    const double span = static_cast<double>(SpanTicks()) / kTicksPerSecond;
    for (const tagSCA_CHART_TICK& tick : GetTimeTicks()) {
        const double x = OnPixel(plot.right() - tick.Value / span * plot.width());
        if (x > plot.left() + 1 && x < plot.right() - 1) {
            painter->setPen(QPen(palette.Grid, 1.0));
            painter->drawLine(QPointF(x, plot.top() + 1), QPointF(x, plot.bottom() - 1));
        }
        if (labels) {
            painter->setPen(palette.Text);
            const QString text = QString::fromStdString(tick.Label);
            const double width = metrics.horizontalAdvance(text);
            // Within the plot's width, clear of the value labels at its left.
            const double left = std::clamp(x - width / 2, plot.left(), plot.right() - width);
            painter->drawText(
                QRectF(left, plot.bottom() + kLabelGap / 2, width + 1, metrics.height()),
                Qt::AlignCenter, text);
        }
    }
}

void SCA_ChartFrame::PaintSeries(QPainter* painter, const SCA_ChartPalette& palette,
                                 const QRectF& plot) const {
    const std::vector<std::vector<QPointF>> runs = BuildRuns(plot);
    if (runs.empty()) {
        PaintNoData(painter, palette, plot);
        return;
    }
    painter->save();
    // Inside the border, which stays drawn over nothing.
    painter->setClipRect(plot.adjusted(1, 1, -1, -1));
    const double base = ValueToY(plot, std::clamp(0.0, m_Range.Low, m_Range.High));
    painter->setPen(Qt::NoPen);
    painter->setBrush(palette.Fill);
    for (const std::vector<QPointF>& run : runs) {
        if (run.size() < 2) {
            continue;
        }
        QPolygonF area(run.size() + 2);
        std::copy(run.begin(), run.end(), area.begin());
        area[static_cast<int>(run.size())] = QPointF(run.back().x(), base);
        area[static_cast<int>(run.size()) + 1] = QPointF(run.front().x(), base);
        painter->drawPolygon(area);
    }
    painter->setBrush(Qt::NoBrush);
    painter->setPen(QPen(palette.Line, kLineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (const std::vector<QPointF>& run : runs) {
        if (run.size() == 1) {
            painter->setBrush(palette.Line);
            painter->drawEllipse(run.front(), kDotRadius, kDotRadius);
            painter->setBrush(Qt::NoBrush);
        } else {
            // A wide antialiased line is stroked as one outline per call: each segment on its
            // own costs two round caps, the whole run one outline whose crossings a wandering
            // series makes dear to fill. Short polylines, each starting where the last ended,
            // cost least of the three and draw the same line.
            for (size_t first = 0; first + 1 < run.size(); first += kLinePieceSegments) {
                const size_t count = std::min(kLinePieceSegments + 1, run.size() - first);
                painter->drawPolyline(run.data() + first, static_cast<int>(count));
            }
        }
    }
    painter->restore();
}

void SCA_ChartFrame::PaintNoData(QPainter* painter, const SCA_ChartPalette& palette,
                                 const QRectF& plot) const {
    painter->setPen(palette.Text);
    // A finished run gets no more samples: it is not waiting for any.
    const bool ended = m_ViewMode == SCA_CHART_VIEW_RUN;
    painter->drawText(plot, Qt::AlignCenter,
                      ended               ? QStringLiteral("No values")
                      : m_Samples.empty() ? QStringLiteral("Waiting for data")
                                          : QStringLiteral("No values in this range"));
}

void SCA_ChartFrame::Paint(QPainter* painter, const QRectF& area) const {
    const SCA_ChartPalette palette = GetPalette();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setRenderHint(QPainter::TextAntialiasing);
    palette.PaintFrame(painter, area);
    const Layout layout = ComputeLayout(painter, area);
    if (HasOption(SCA_FRAME_TITLE)) {
        const double selector = m_Selector->isHidden() ? 0 : m_Selector->width();
        palette.PaintTitle(painter, layout.Title, layout.Title.width() - selector, GetTitleLevel(),
                           GetTitle());
    }
    const QRectF& plot = layout.Plot;
    PaintGrid(painter, palette, plot);
    PaintSeries(painter, palette, plot);
    SCA_ChartPalette::PaintBorder(painter, plot, palette.Border);
    if (HasOption(SCA_FRAME_STATISTICS)) {
        palette.PaintStatistics(painter, layout.Statistics, m_Status, false);
    }
}

void SCA_ChartFrame::contextMenuEvent(QContextMenuEvent* event) {
    m_Menu->popup(event->globalPos());
}

void SCA_ChartFrame::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    ShowSelectedMode();
}

QSize SCA_ChartFrame::sizeHint() const {
    return QSize(480, 280);
}

QSize SCA_ChartFrame::minimumSizeHint() const {
    return QSize(200, 120);
}
