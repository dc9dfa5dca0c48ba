// SPDX-License-Identifier: MIT
#pragma once

// The floor of a chart's paint: what any chart of some points must paint. Its image, of the
// chart's size, is cleared with the chart's background as the chart clears it, and the line
// through the points is drawn with the chart's pen, antialiased as the chart draws. No frame,
// title, grid, fill or statistics. The line is one polyline, or a run of separate segments: Qt
// strokes a wide antialiased polyline as one joined outline, and which of the two costs more
// depends on the line's shape (on a wandering line the polyline costs the most), so a bench can
// hold the chart against either.
#include <QColor>
#include <QImage>
#include <QLineF>
#include <QPainter>
#include <QPen>
#include <QPointF>
#include <QSize>
#include <vector>

#include "libvop/SCA_ChartPalette.h"

namespace korvanta_bench {

class PlainChart {
public:
    PlainChart()
        : m_Palette(nullptr),
          m_Pen(m_Palette.Line, kLineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin) {}

    void Resize(QSize size) { m_Image = QImage(size, QImage::Format_ARGB32_Premultiplied); }
    QSize Size() const { return m_Image.size(); }

    enum class Stroke { Polyline, Segments };

    void Paint(const std::vector<QPointF>& points, Stroke stroke = Stroke::Polyline) {
        QPainter painter(&m_Image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillRect(m_Image.rect(), m_Palette.Background);
        painter.setPen(m_Pen);
        if (stroke == Stroke::Polyline) {
            painter.drawPolyline(points.data(), static_cast<int>(points.size()));
            return;
        }
        m_Segments.clear();
        for (size_t i = 1; i < points.size(); ++i) {
            m_Segments.emplace_back(points[i - 1], points[i]);
        }
        painter.drawLines(m_Segments.data(), static_cast<int>(m_Segments.size()));
    }

private:
    // The chart's line.
    static constexpr double kLineWidth = 2.0;

    SCA_ChartPalette m_Palette;
    QPen m_Pen;
    QImage m_Image;
    std::vector<QLineF> m_Segments;
};

} // namespace korvanta_bench
