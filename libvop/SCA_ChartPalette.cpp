// SPDX-License-Identifier: MIT
#include "libvop/SCA_ChartPalette.h"

#include <QFontMetricsF>
#include <QPainter>

#include "libmor/SCA_Report.h"
#include "model/SCA_TezConfigUser.h"
#include "model/SCA_TezCounterMeta.h"
#include "model/SCA_TezCounterStatus.h"

namespace {

// The colours of a configuration that has none set (as a new one starts).
constexpr QRgb kDefaultBackground = 0xFFFFFF;
constexpr QRgb kDefaultGrid = 0xD0D0D0;
constexpr QRgb kDefaultBorder = 0x808080;
constexpr QRgb kDefaultLine = 0x00A000;
constexpr QRgb kDefaultFill = 0xC8EBC8;
constexpr QRgb kDefaultText = 0x000000;

constexpr QRgb kWarningTitle = 0xC07800;
constexpr QRgb kErrorTitle = 0xC8201A;

// Space around the title text and the statistics line.
constexpr double kTitlePadding = 4.0;
constexpr uint32_t kValueTextSize = 64;
constexpr uint32_t kInstanceTextSize = 256;
// The statistics line with its full and its short labels: current, average, minimum, maximum.
constexpr const char* kFullStatistics = "Current: %1   Average: %2   Minimum: %3   Maximum: %4";
constexpr const char* kShortStatistics = "Cur: %1   Avg: %2   Min: %3   Max: %4";

QColor FromConfig(uint32_t rgb) {
    return QColor::fromRgb(static_cast<QRgb>(rgb & 0xFFFFFFu));
}

} // namespace

SCA_ChartPalette::SCA_ChartPalette(const SCA_TezConfigUser* userConfig)
    : Background(QColor::fromRgb(kDefaultBackground)), Grid(QColor::fromRgb(kDefaultGrid)),
      Border(QColor::fromRgb(kDefaultBorder)), Line(QColor::fromRgb(kDefaultLine)),
      Fill(QColor::fromRgb(kDefaultFill)), Text(QColor::fromRgb(kDefaultText)) {
    if (userConfig == nullptr) {
        return;
    }
    Background = FromConfig(userConfig->GetChartBackgroundColor());
    Grid = FromConfig(userConfig->GetChartGridColor());
    Border = FromConfig(userConfig->GetChartBorderColor());
    Line = FromConfig(userConfig->GetChartLineColor());
    Fill = FromConfig(userConfig->GetChartFillColor());
    Text = FromConfig(userConfig->GetChartTextColor());
}

QColor SCA_ChartPalette::TitleColour(uint32_t level) const {
    switch (level) {
    case SCA_LEVEL_WARNING:
        return QColor::fromRgb(kWarningTitle);
    case SCA_LEVEL_ERROR:
        return QColor::fromRgb(kErrorTitle);
    default:
        return Text;
    }
}

void SCA_ChartPalette::PaintFrame(QPainter* painter, const QRectF& area) const {
    painter->fillRect(area, Background);
    PaintBorder(painter, area, Border);
}

void SCA_ChartPalette::PaintBorder(QPainter* painter, const QRectF& area, const QColor& colour) {
    // Four filled one-pixel strips cover whole pixels at every pixel ratio, corners included,
    // where a stroked rectangle leaves its corners part-covered.
    const QRectF edge = area.toAlignedRect();
    painter->fillRect(QRectF(edge.left(), edge.top(), edge.width(), 1), colour);
    painter->fillRect(QRectF(edge.left(), edge.bottom() - 1, edge.width(), 1), colour);
    painter->fillRect(QRectF(edge.left(), edge.top(), 1, edge.height()), colour);
    painter->fillRect(QRectF(edge.right() - 1, edge.top(), 1, edge.height()), colour);
}

double SCA_ChartPalette::BandHeight(const QFont& font) {
    return QFontMetricsF(font).height() + 2 * kTitlePadding;
}

double SCA_ChartPalette::PaintTitle(QPainter* painter, const QRectF& area, double width,
                                    uint32_t level, const QString& text) const {
    const double height = BandHeight(painter->font());
    QFont bold = painter->font();
    bold.setBold(true);
    painter->save();
    painter->setFont(bold);
    painter->setPen(TitleColour(level));
    const QRectF band(area.left() + 2 * kTitlePadding, area.top(), width - 4 * kTitlePadding,
                      height);
    const QString shown = QFontMetricsF(bold).elidedText(text, Qt::ElideRight, band.width());
    painter->drawText(band, Qt::AlignLeft | Qt::AlignVCenter, shown);
    painter->restore();
    return height;
}

double SCA_ChartPalette::PaintStatistics(QPainter* painter, const QRectF& area,
                                         const tagSCA_TEZ_COUNTER_STATUS& status,
                                         bool compact) const {
    const double height = BandHeight(painter->font());
    const QRectF band(area.left() + 2 * kTitlePadding, area.bottom() - height,
                      area.width() - 4 * kTitlePadding, height);
    painter->setPen(Text);
    painter->drawText(
        band, Qt::AlignLeft | Qt::AlignVCenter,
        FittedStatistics(QFontMetricsF(painter->font()), band.width(), status, compact));
    return height;
}

QString SCA_ChartPalette::FittedStatistics(const QFontMetricsF& metrics, double width,
                                           const tagSCA_TEZ_COUNTER_STATUS& status, bool compact) {
    // Values cut short would say something else: the labels give way first.
    QString text = StatisticsText(status, compact);
    if (!compact && metrics.horizontalAdvance(text) > width) {
        text = ShortStatisticsText(status);
    }
    return metrics.elidedText(text, Qt::ElideRight, width);
}

QString SCA_ChartPalette::ValueText(uint32_t counterType, double value) {
    char text[kValueTextSize];
    SCA_TezBuildValueString(counterType, value, text, sizeof(text), 0);
    return QString::fromUtf8(text);
}

QString SCA_ChartPalette::InstanceText(uint32_t counterType, const char* instance) {
    char text[kInstanceTextSize];
    SCA_TezBuildInstanceDescr(counterType, instance, text, sizeof(text));
    return QString::fromUtf8(text);
}

QString SCA_ChartPalette::StatisticsText(const tagSCA_TEZ_COUNTER_STATUS& status, bool compact) {
    if (status.ValueCount == 0) {
        return QStringLiteral("No values yet");
    }
    const uint32_t type = status.CounterType;
    if (compact) {
        return QStringLiteral("Min: %1   Avg: %2   Max: %3")
            .arg(ValueText(type, status.Minimum), ValueText(type, status.Average),
                 ValueText(type, status.Maximum));
    }
    return FourStatistics(status, kFullStatistics);
}

QString SCA_ChartPalette::ShortStatisticsText(const tagSCA_TEZ_COUNTER_STATUS& status) {
    return status.ValueCount == 0 ? StatisticsText(status, false)
                                  : FourStatistics(status, kShortStatistics);
}

QString SCA_ChartPalette::FourStatistics(const tagSCA_TEZ_COUNTER_STATUS& status,
                                         const char* format) {
    const uint32_t type = status.CounterType;
    const QString current =
        status.HasCurrent ? ValueText(type, status.Current) : QStringLiteral("---");
    return QString::fromLatin1(format).arg(current, ValueText(type, status.Average),
                                           ValueText(type, status.Minimum),
                                           ValueText(type, status.Maximum));
}

bool SCA_ChartPalette::SameStatus(const tagSCA_TEZ_COUNTER_STATUS& a,
                                  const tagSCA_TEZ_COUNTER_STATUS& b) {
    return a.CounterType == b.CounterType && a.Status == b.Status && a.ValueCount == b.ValueCount &&
           a.HasCurrent == b.HasCurrent && a.Current == b.Current && a.Minimum == b.Minimum &&
           a.Maximum == b.Maximum && a.Average == b.Average;
}
