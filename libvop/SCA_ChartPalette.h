// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <cstdint>

class QFontMetricsF;
class QPainter;
class QRectF;
class SCA_TezConfigUser;
struct tagSCA_TEZ_COUNTER_STATUS;

// What a chart or gauge frame draws besides its data: the options argument of both, any
// combination of these bits (7: all).
inline constexpr uint32_t SCA_FRAME_TITLE = 0x1;      // the title band
inline constexpr uint32_t SCA_FRAME_SCALE = 0x2;      // the values (and times) of the grid
inline constexpr uint32_t SCA_FRAME_STATISTICS = 0x4; // current, average, minimum, maximum

// The range argument of both frames that lets the range follow the data.
inline constexpr uint32_t SCA_FRAME_AUTO_RANGE = 0xFFFFFFFFu;

// The six chart colours of a user configuration as the charts and gauges paint them, and the
// pieces both draw alike: the frame, and a title in the colour of its level.
class SCA_ChartPalette {
public:
    // The configuration's colours (0xRRGGBB); the defaults of a new configuration without one.
    explicit SCA_ChartPalette(const SCA_TezConfigUser* userConfig);

    QColor Background;
    QColor Grid;
    QColor Border;
    QColor Line;
    QColor Fill;
    QColor Text;

    // The title colour of a level: the text colour for information (3) and any other level,
    // amber for a warning (4), red for an error (5).
    QColor TitleColour(uint32_t level) const;

    // Fills area with the background and draws the frame's one-pixel border inside it.
    void PaintFrame(QPainter* painter, const QRectF& area) const;
    // A one-pixel border just inside area (whole pixels).
    static void PaintBorder(QPainter* painter, const QRectF& area, const QColor& colour);
    // Draws text in the title band at the top of area, in the colour of level, cut to width
    // pixels; the height the band takes.
    double PaintTitle(QPainter* painter, const QRectF& area, double width, uint32_t level,
                      const QString& text) const;
    // The height of the title band (and of the statistics line) in font.
    static double BandHeight(const QFont& font);
    // Draws the statistics line of status at the bottom of area; the height it takes.
    double PaintStatistics(QPainter* painter, const QRectF& area,
                           const tagSCA_TEZ_COUNTER_STATUS& status, bool compact) const;

    // A value as its counter type shows it ("45.3%", "1.50 MB/s"); "---" for no number.
    static QString ValueText(uint32_t counterType, double value);
    // An instance as the counter views show it ("All" for the whole of a listed group, "CPU 2").
    static QString InstanceText(uint32_t counterType, const char* instance);
    // "Current: ...   Average: ...   Minimum: ...   Maximum: ...", or compact (where the current
    // value is shown otherwise) "Min: ...   Avg: ...   Max: ..."; "No values yet" before the
    // first value.
    static QString StatisticsText(const tagSCA_TEZ_COUNTER_STATUS& status, bool compact);
    // The same with short labels: "Cur: ...   Avg: ...   Min: ...   Max: ...".
    static QString ShortStatisticsText(const tagSCA_TEZ_COUNTER_STATUS& status);
    // The statistics line as it is drawn width pixels wide in metrics: with short labels when
    // the full ones do not fit, cut with an ellipsis only when those do not fit either.
    static QString FittedStatistics(const QFontMetricsF& metrics, double width,
                                    const tagSCA_TEZ_COUNTER_STATUS& status, bool compact);
    // Whether two statuses would be drawn alike (a frame repaints only when they differ).
    static bool SameStatus(const tagSCA_TEZ_COUNTER_STATUS& a, const tagSCA_TEZ_COUNTER_STATUS& b);

private:
    // Current (or "---"), average, minimum and maximum, into format's %1 to %4.
    static QString FourStatistics(const tagSCA_TEZ_COUNTER_STATUS& status, const char* format);
};
