// SPDX-License-Identifier: MIT
#include "libvop/SCA_GaugeFrame.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "model/SCA_TezCounter.h"
#include "model/SCA_TezCounterMeta.h"

namespace {

// The arc runs clockwise from the low end at 225 degrees to the high end at -45 degrees.
constexpr double kLowAngle = 225.0;
constexpr double kSweep = 270.0;
// How far below its centre the dial reaches, in radii: the arc's ends (sin 45 degrees) and the
// value written between them.
constexpr double kArcDrop = 0.85;
// Grid steps of the scale.
constexpr int kScaleSteps = 5;
constexpr double kFullPercent = 100.0;

// Proportions of the dial, in radii.
constexpr double kTrackWidth = 0.16;
constexpr double kBarWidth = 0.6; // of the track
constexpr double kNeedleBase = 0.05;
constexpr double kHubRadius = 0.08;
constexpr double kMarkSize = 0.07;
constexpr double kValueFont = 0.18;
constexpr double kValueDrop = 0.68;
constexpr double kLabelFont = 0.1;
constexpr double kMinLabelPixels = 7.0;

constexpr double kMargin = 6.0;
constexpr double kTickWidth = 1.5;

// The needle ends short of the scale's values.
constexpr double kNeedleReach = 0.72;

QPointF OnCircle(const QPointF& centre, double radius, double degrees) {
    const double radians = degrees * std::numbers::pi / 180.0;
    return centre + QPointF(radius * std::cos(radians), -radius * std::sin(radians));
}

QRectF Square(const QPointF& centre, double radius) {
    return QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
}

// An arc of the dial between two angles, as QPainter takes them (sixteenths of a degree).
void DrawArc(QPainter* painter, const QPointF& centre, double radius, double from, double to) {
    painter->drawArc(Square(centre, radius), static_cast<int>(std::lround(from * 16)),
                     static_cast<int>(std::lround((to - from) * 16)));
}

} // namespace

SCA_GaugeFrame::SCA_GaugeFrame(QWidget* parent, SCA_TezConfigUser* userConfig, uint32_t style,
                               uint32_t rangeHigh, uint32_t options)
    : SCA_CounterFrame(parent, userConfig, rangeHigh, options), m_Style(style) {
    m_Range = SCA_ChartScale::Fit({}, GetFixedHigh(), kScaleSteps);
}

int SCA_GaugeFrame::Update(const tagSCA_TEZ_COUNTER_STATUS* status, int redraw) {
    tagSCA_TEZ_COUNTER_STATUS none{};
    return Take(NextStatus(status != nullptr ? status : &none, nullptr), redraw);
}

int SCA_GaugeFrame::Update(const SCA_TezCounter* counter, int redraw) {
    return Take(NextStatus(nullptr, counter), redraw);
}

int SCA_GaugeFrame::Take(const tagSCA_TEZ_COUNTER_STATUS& next, int redraw) {
    if (redraw == 0 && SCA_ChartPalette::SameStatus(next, m_Status)) {
        return 0;
    }
    m_Status = next;
    std::vector<double> values;
    if (m_Status.ValueCount != 0) {
        values = {m_Status.Minimum, m_Status.Maximum, m_Status.Average};
        if (m_Status.HasCurrent) {
            values.push_back(m_Status.Current);
        }
    }
    // Fewer values than a spike needs: every one of them stays on the dial.
    m_Range = SCA_ChartScale::Fit(values, GetDialHigh(), kScaleSteps, GetUnits());
    update();
    return 1;
}

double SCA_GaugeFrame::GetDialHigh() const {
    // A percentage's dial is the whole of 0 to 100.
    return GetFixedHigh() <= 0.0 && IsPercent() ? kFullPercent : GetFixedHigh();
}

std::vector<tagSCA_CHART_TICK> SCA_GaugeFrame::GetScaleTicks() const {
    if (m_Status.ValueCount == 0 && GetDialHigh() <= 0.0) {
        return {};
    }
    return SCA_ChartScale::ValueTicks(m_Range, GetUnits());
}

QString SCA_GaugeFrame::GetValueText() const {
    return HasCurrent() ? SCA_ChartPalette::ValueText(m_Status.CounterType, m_Status.Current)
                        : QStringLiteral("---");
}

double SCA_GaugeFrame::ValueAngle(double value) const {
    double share = (value - m_Range.Low) / (m_Range.High - m_Range.Low);
    share = std::isfinite(share) ? std::clamp(share, 0.0, 1.0) : 0.0;
    return kLowAngle - kSweep * share;
}

SCA_GaugeFrame::Dial SCA_GaugeFrame::ComputeDial(const QFont& font, const QRectF& area) const {
    const double band = SCA_ChartPalette::BandHeight(font);
    Dial dial;
    QRectF room = area.adjusted(kMargin, kMargin, -kMargin, -kMargin);
    if (HasOption(SCA_FRAME_TITLE)) {
        dial.Title = QRectF(area.left(), area.top(), area.width(), band);
        room.setTop(dial.Title.bottom());
    }
    if (HasOption(SCA_FRAME_STATISTICS)) {
        dial.Statistics = QRectF(area.left(), area.bottom() - band, area.width(), band);
        room.setBottom(dial.Statistics.top());
    }
    // The outer edge of the marks must fit: the full width, and from the top to the arc's ends.
    const double outer =
        std::max(1.0, std::min(room.width() / 2, room.height() / (1.0 + kArcDrop)));
    dial.Radius = outer / (1.0 + kTrackWidth / 2 + kMarkSize);
    dial.Track = dial.Radius * kTrackWidth;
    const double used = outer * (1.0 + kArcDrop);
    dial.Centre = QPointF(room.center().x(), room.top() + (room.height() - used) / 2 + outer);
    return dial;
}

QPointF SCA_GaugeFrame::GetDialCentre() const {
    return ComputeDial(font(), QRectF(rect())).Centre;
}

double SCA_GaugeFrame::GetDialRadius() const {
    return ComputeDial(font(), QRectF(rect())).Radius;
}

void SCA_GaugeFrame::PaintScale(QPainter* painter, const SCA_ChartPalette& palette,
                                const Dial& dial) const {
    painter->setBrush(Qt::NoBrush);
    painter->setPen(QPen(palette.Grid, dial.Track, Qt::SolidLine, Qt::FlatCap));
    DrawArc(painter, dial.Centre, dial.Radius, kLowAngle, kLowAngle - kSweep);
    if (m_Status.ValueCount != 0) {
        painter->setPen(QPen(palette.Fill, dial.Track, Qt::SolidLine, Qt::FlatCap));
        DrawArc(painter, dial.Centre, dial.Radius, ValueAngle(m_Status.Minimum),
                ValueAngle(m_Status.Maximum));
    }
    if (m_Style == SCA_GAUGE_BAR && HasCurrent()) {
        painter->setPen(QPen(palette.Line, dial.Track * kBarWidth, Qt::SolidLine, Qt::FlatCap));
        DrawArc(painter, dial.Centre, dial.Radius, kLowAngle, ValueAngle(m_Status.Current));
    }
    QFont labelFont = painter->font();
    labelFont.setPixelSize(static_cast<int>(std::max(kMinLabelPixels, dial.Radius * kLabelFont)));
    const QFontMetricsF metrics(labelFont);
    painter->setFont(labelFont);
    for (const tagSCA_CHART_TICK& tick : GetScaleTicks()) {
        const double angle = ValueAngle(tick.Value);
        painter->setPen(QPen(palette.Border, kTickWidth));
        painter->drawLine(OnCircle(dial.Centre, dial.Radius - dial.Track / 2, angle),
                          OnCircle(dial.Centre, dial.Radius + dial.Track / 2, angle));
        if (!HasOption(SCA_FRAME_SCALE)) {
            continue;
        }
        const QString text = QString::fromStdString(tick.Label);
        const double halfWidth = metrics.horizontalAdvance(text) / 2;
        const QPointF at =
            OnCircle(dial.Centre,
                     dial.Radius - dial.Track / 2 - metrics.height() / 2 - halfWidth * 0.6, angle);
        painter->setPen(palette.Text);
        painter->drawText(QRectF(at.x() - halfWidth, at.y() - metrics.height() / 2, 2 * halfWidth,
                                 metrics.height()),
                          Qt::AlignCenter, text);
    }
}

void SCA_GaugeFrame::PaintMarks(QPainter* painter, const SCA_ChartPalette& palette,
                                const Dial& dial) const {
    if (m_Status.ValueCount == 0) {
        return;
    }
    // A small triangle outside the track that points at the value.
    const auto mark = [&](double value, const QColor& colour) {
        const double angle = ValueAngle(value);
        const double size = dial.Radius * kMarkSize;
        const double edge = dial.Radius + dial.Track / 2;
        const double spread = size / edge * 180.0 / std::numbers::pi;
        const QPointF points[] = {OnCircle(dial.Centre, edge, angle),
                                  OnCircle(dial.Centre, edge + size, angle + spread),
                                  OnCircle(dial.Centre, edge + size, angle - spread)};
        painter->setPen(Qt::NoPen);
        painter->setBrush(colour);
        painter->drawPolygon(points, 3);
    };
    mark(m_Status.Minimum, palette.Border);
    mark(m_Status.Maximum, palette.Border);
    mark(m_Status.Average, palette.Line);
}

double SCA_GaugeFrame::NeedleLength(const Dial& dial) const {
    return HasOption(SCA_FRAME_SCALE) ? dial.Radius * kNeedleReach : dial.Radius - dial.Track / 2;
}

void SCA_GaugeFrame::PaintValue(QPainter* painter, const SCA_ChartPalette& palette,
                                const Dial& dial) const {
    QFont valueFont = painter->font();
    valueFont.setBold(true);
    valueFont.setPixelSize(static_cast<int>(std::max(kMinLabelPixels, dial.Radius * kValueFont)));
    painter->setFont(valueFont);
    painter->setPen(palette.Text);
    const QFontMetricsF metrics(valueFont);
    const QPointF at = dial.Centre + QPointF(0, dial.Radius * kValueDrop);
    painter->drawText(QRectF(at.x() - dial.Radius, at.y() - metrics.height() / 2, 2 * dial.Radius,
                             metrics.height()),
                      Qt::AlignCenter, GetValueText());
    if (m_Style == SCA_GAUGE_BAR || !HasCurrent()) {
        return;
    }
    const double angle = ValueAngle(m_Status.Current);
    const double base = dial.Radius * kNeedleBase;
    QPainterPath needle;
    needle.moveTo(OnCircle(dial.Centre, base, angle + 90));
    needle.lineTo(OnCircle(dial.Centre, NeedleLength(dial), angle));
    needle.lineTo(OnCircle(dial.Centre, base, angle - 90));
    needle.lineTo(OnCircle(dial.Centre, base, angle + 180));
    needle.closeSubpath();
    painter->setPen(Qt::NoPen);
    painter->setBrush(palette.Line);
    painter->drawPath(needle);
    painter->drawEllipse(dial.Centre, dial.Radius * kHubRadius, dial.Radius * kHubRadius);
}

void SCA_GaugeFrame::Paint(QPainter* painter, const QRectF& area) const {
    const SCA_ChartPalette palette = GetPalette();
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setRenderHint(QPainter::TextAntialiasing);
    palette.PaintFrame(painter, area);
    const Dial dial = ComputeDial(painter->font(), area);
    if (HasOption(SCA_FRAME_TITLE)) {
        palette.PaintTitle(painter, dial.Title, dial.Title.width(), GetTitleLevel(), GetTitle());
    }
    if (HasOption(SCA_FRAME_STATISTICS)) {
        palette.PaintStatistics(painter, dial.Statistics, m_Status, true);
    }
    PaintScale(painter, palette, dial);
    PaintMarks(painter, palette, dial);
    PaintValue(painter, palette, dial);
    painter->restore();
}

QSize SCA_GaugeFrame::sizeHint() const {
    return QSize(300, 280);
}

QSize SCA_GaugeFrame::minimumSizeHint() const {
    return QSize(140, 130);
}
