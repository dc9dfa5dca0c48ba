// SPDX-License-Identifier: MIT
#pragma once

// The floor of a chart's paint: what any chart of some points must paint. Its image, of the
// chart's size, is cleared with the chart's background as the chart clears it, and one polyline
// through the points is drawn with the chart's pen, antialiased as the chart draws. No frame,
// title, grid, fill or statistics. The chart draws its line as a run of separate segments
// instead, with other pixels at the joins: Qt strokes a wide antialiased polyline as one joined
// outline, and which of the two costs more depends on the line's shape.
#include <QColor>
#include <QImage>
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

    void Paint(const std::vector<QPointF>& points) {
        QPainter painter(&m_Image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillRect(m_Image.rect(), m_Palette.Background);
        painter.setPen(m_Pen);
        painter.drawPolyline(points.data(), static_cast<int>(points.size()));
    }

private:
    // The chart's line.
    static constexpr double kLineWidth = 2.0;

    SCA_ChartPalette m_Palette;
    QPen m_Pen;
    QImage m_Image;
};

} // namespace korvanta_bench
