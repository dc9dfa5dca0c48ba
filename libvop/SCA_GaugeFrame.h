// SPDX-License-Identifier: MIT
#pragma once

#include <QPointF>
#include <QString>
#include <cstdint>

#include "libvop/SCA_ChartScale.h"
#include "libvop/SCA_CounterFrame.h"

class QPainter;
class SCA_TezConfigUser;
class SCA_TezCounter;

// Gauge styles: how the current value is shown on the dial.
inline constexpr uint32_t SCA_GAUGE_BAR = 0; // an arc filled from the low end to the value
inline constexpr uint32_t SCA_GAUGE_NEEDLE =
    1; // a needle pointing at the value (any other style too)

// A dial of one counter: a 270-degree arc from the low end of the range (bottom left) to the
// high end (bottom right), the band between the run's minimum and maximum, marks at the
// minimum, average and maximum, the current value as a needle or bar and as text in the
// counter's units. Without a current value it shows "---" and no needle. Painted with the six
// chart colours of the user configuration; repainted only when Update brings something new
// (or when asked to redraw).
class SCA_GaugeFrame : public SCA_CounterFrame {
    Q_OBJECT
public:
    // userConfig gives the colours (read at each paint; null: the defaults). style is
    // SCA_GAUGE_NEEDLE or SCA_GAUGE_BAR. rangeHigh is the fixed top of the range, or
    // SCA_FRAME_AUTO_RANGE to follow the data (percentages then stay 0 to 100). options are
    // SCA_FRAME_* bits: 7 draws the title, the scale values and the statistics line.
    SCA_GaugeFrame(QWidget* parent, SCA_TezConfigUser* userConfig, uint32_t style,
                   uint32_t rangeHigh, uint32_t options);

    // New values from a parsed counter status, or from the statistics of a counter's collected
    // samples. A nonzero redraw repaints even when nothing changed. 1 when a repaint was asked
    // for.
    int Update(const tagSCA_TEZ_COUNTER_STATUS* status, int redraw);
    int Update(const SCA_TezCounter* counter, int redraw);

    tagSCA_CHART_RANGE GetRange() const { return m_Range; }
    // The marks of the scale with their labels; none while the range is not known (no values
    // and no fixed top): the dial then draws no made-up scale.
    std::vector<tagSCA_CHART_TICK> GetScaleTicks() const;
    // The text the dial shows for the current value ("45.3%", "---").
    QString GetValueText() const;
    // The dial's centre and radius (the middle of its arc) in the widget's current size.
    QPointF GetDialCentre() const;
    double GetDialRadius() const;

    void Paint(QPainter* painter, const QRectF& area) const override;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

private:
    struct Dial {
        QPointF Centre;
        double Radius;
        double Track; // width of the arc
        QRectF Title;
        QRectF Statistics;
    };
    Dial ComputeDial(const QFont& font, const QRectF& area) const;
    // Degrees counter-clockwise from three o'clock: 225 at the low end, -45 at the high end.
    double ValueAngle(double value) const;
    void PaintScale(QPainter* painter, const SCA_ChartPalette& palette, const Dial& dial) const;
    void PaintMarks(QPainter* painter, const SCA_ChartPalette& palette, const Dial& dial) const;
    void PaintValue(QPainter* painter, const SCA_ChartPalette& palette, const Dial& dial) const;
    double NeedleLength(const Dial& dial) const;
    int Take(const tagSCA_TEZ_COUNTER_STATUS& status, int redraw);
    double GetDialHigh() const;
    bool HasCurrent() const { return m_Status.ValueCount != 0 && m_Status.HasCurrent; }

    uint32_t m_Style;
    tagSCA_CHART_RANGE m_Range{0.0, 1.0, 0.2};
};
