// SPDX-License-Identifier: MIT
#include "libvop/SCA_StatusIcon.h"

#include <QPainter>
#include <QRadialGradient>

#include "model/SCA_TezVocabulary.h"

namespace {

// The statuses the lamp tells apart: a connection or run that is well (connected, message,
// running), paused, warning, error; anything else (idle or disconnected) is off.
QColor StatusColour(uint32_t status) {
    switch (status) {
    case SCA_STATUS_ICON_CONNECTED:
    case SCA_REP_STATUS_MESSAGE:
    case SCA_TASK_STATUS_RUNNING:
        return QColor(0x2e, 0xa0, 0x43);
    case SCA_TASK_STATUS_PAUSED:
        return QColor(0x3b, 0x7d, 0xd8);
    case SCA_REP_STATUS_ERROR:
        return QColor(0xd7, 0x3a, 0x31);
    case SCA_REP_STATUS_WARNING:
        return QColor(0xe8, 0xa3, 0x17);
    default:
        return QColor(0xa8, 0xa8, 0xa8);
    }
}

} // namespace

SCA_StatusIcon::SCA_StatusIcon(QWidget* parent, int size, int margin)
    : QWidget(parent), m_Size(size), m_Margin(margin) {
    setFixedSize(size, size);
}

void SCA_StatusIcon::SetStatus(uint32_t status) {
    if (status != m_Status) {
        m_Status = status;
        update();
    }
}

QSize SCA_StatusIcon::sizeHint() const {
    return QSize(m_Size, m_Size);
}

void SCA_StatusIcon::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF lamp =
        QRectF(rect()).adjusted(m_Margin + 0.5, m_Margin + 0.5, -m_Margin - 0.5, -m_Margin - 0.5);
    const QColor colour = StatusColour(m_Status);
    QRadialGradient shine(lamp.center() - QPointF(lamp.width() / 5, lamp.height() / 5),
                          lamp.width() * 0.7);
    shine.setColorAt(0.0, colour.lighter(150));
    shine.setColorAt(1.0, colour);
    painter.setBrush(shine);
    painter.setPen(QPen(colour.darker(140), 1.0));
    painter.drawEllipse(lamp);
}
