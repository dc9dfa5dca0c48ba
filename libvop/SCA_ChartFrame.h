// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <cstdint>
#include <vector>

#include "libvop/SCA_ChartScale.h"
#include "libvop/SCA_CounterFrame.h"

class QActionGroup;
class QMenu;
class QPainter;
class QToolButton;
class SCA_TezConfigUser;
class SCA_TezCounter;

// View modes: how far back the chart looks. Any other mode has no span.
inline constexpr uint32_t SCA_CHART_VIEW_60S = 1;
inline constexpr uint32_t SCA_CHART_VIEW_120S = 2;
inline constexpr uint32_t SCA_CHART_VIEW_300S = 3;
inline constexpr uint32_t SCA_CHART_VIEW_600S = 4;
// A finished run: every sample the counter holds, the last at the right edge. Not offered in the
// selector.
inline constexpr uint32_t SCA_CHART_VIEW_RUN = 5;

// A line chart of one counter's samples, newest at the right edge, over the span of its view
// mode. Samples without a value, and pauses in the sampling, break the line; they are never
// drawn as 0. The value range follows the data (see SCA_ChartScale::Fit): a lone spike or an
// infinity leaves the rest of the series readable. Painted with the six chart colours of the
// user configuration, antialiased, with every one-pixel line on whole pixels at any pixel
// ratio. It repaints only when Update brings something new, or when the title, the mode or
// the size change.
//
// The user changes the view mode with the small selector at the top right or the context menu;
// each change emits ViewModeChanged() once, and the caller then asks for the new span's values.
class SCA_ChartFrame : public SCA_CounterFrame {
    Q_OBJECT
public:
    // userConfig gives the colours (read at each paint; null: the defaults). rangeHigh is the
    // fixed top of the value range, or SCA_FRAME_AUTO_RANGE to let the range follow the data (a
    // percentage's range then never reaches past 100 while its data does not).
    // options are SCA_FRAME_* bits: 7 draws the title, the grid values and times, and the
    // statistics line. The view mode starts at SCA_CHART_VIEW_60S.
    SCA_ChartFrame(QWidget* parent, SCA_TezConfigUser* userConfig, uint32_t rangeHigh,
                   uint32_t options);

    uint32_t GetViewMode() const { return m_ViewMode; }
    // 1 to 4, or SCA_CHART_VIEW_RUN; any other mode is ignored. A change emits
    // ViewModeChanged() once.
    void SetViewMode(uint32_t mode);
    // The span of a view mode in seconds: 60, 120, 300, 600; 0 for any other mode (the run's
    // mode has no fixed span).
    static uint32_t GetViewModeSpan(uint32_t mode);
    uint32_t GetViewSpan() const { return GetViewModeSpan(m_ViewMode); }

    // New data: the counter's parsed status (null when there is none) and the counter whose
    // sample store holds the collected samples (null: none). The chart keeps copies of the
    // samples its span shows (and of the one its line enters from), so an update costs the
    // same however many samples the store holds. Returns 1 when something changed and a
    // repaint was asked for, 0 when the data was what it shows.
    int Update(const tagSCA_TEZ_COUNTER_STATUS* status, const SCA_TezCounter* counter);

    // Where the series is drawn in the widget's current size, and the value range shown.
    QRectF GetPlotRect() const;
    tagSCA_CHART_RANGE GetRange() const { return m_Range; }
    // The grid lines drawn, with their labels: values and seconds back from the newest sample.
    // None while no value is in view: an empty chart draws no scale but says it has no values.
    std::vector<tagSCA_CHART_TICK> GetValueTicks() const;
    std::vector<tagSCA_CHART_TICK> GetTimeTicks() const;

    void Paint(QPainter* painter, const QRectF& area) const override;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void ViewModeChanged();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The parts of the chart in an area: title band, plot and statistics line.
    struct Layout {
        QRectF Title;
        QRectF Plot;
        QRectF Statistics;
    };
    Layout ComputeLayout(const QPainter* painter, const QRectF& area) const;

    void PaintGrid(QPainter* painter, const SCA_ChartPalette& palette, const QRectF& plot) const;
    void PaintSeries(QPainter* painter, const SCA_ChartPalette& palette, const QRectF& plot) const;
    void PaintNoData(QPainter* painter, const SCA_ChartPalette& palette, const QRectF& plot) const;

    // The connected runs of samples in view, as points of plot: a run ends at a sample without
    // a value and at a pause in the sampling.
    std::vector<std::vector<QPointF>> BuildRuns(const QRectF& plot) const;
    double TimeToX(const QRectF& plot, uint64_t time) const;
    double ValueToY(const QRectF& plot, double value) const;
    // The span shown in absolute-time units.
    uint64_t SpanTicks() const;

    void BuildSelector();
    void ShowSelectedMode();
    void RefitRange();
    // Whether the grid's values and times are written: asked for and there are values to scale.
    bool HasScale() const;

    uint32_t m_ViewMode = SCA_CHART_VIEW_60S;
    std::vector<tagSCA_TEZ_SAMPLE> m_Samples;
    // The usual time between two samples; 0 while unknown.
    uint64_t m_Interval = 0;
    tagSCA_CHART_RANGE m_Range{0.0, 1.0, 0.2};
    // Whether any sample in view has a value.
    bool m_HasValues = false;
    QMenu* m_Menu = nullptr;
    QActionGroup* m_Modes = nullptr;
    QToolButton* m_Selector = nullptr;
};
