// SPDX-License-Identifier: MIT
#include "libvop/SCA_CounterFrame.h"

#include <QPainter>

#include "model/SCA_TezCounter.h"
#include "model/SCA_TezCounterMeta.h"

SCA_CounterFrame::SCA_CounterFrame(QWidget* parent, SCA_TezConfigUser* userConfig,
                                   uint32_t rangeHigh, uint32_t options)
    : QWidget(parent), m_UserConfig(userConfig),
      m_FixedHigh(rangeHigh == SCA_FRAME_AUTO_RANGE ? 0.0 : static_cast<double>(rangeHigh)),
      m_Options(options) {
    // Every paint covers the whole frame.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void SCA_CounterFrame::SetTitle(uint32_t level, const QString& text) {
    if (level != m_TitleLevel || text != m_Title) {
        m_TitleLevel = level;
        m_Title = text;
        update();
    }
}

void SCA_CounterFrame::SetTitle(uint32_t level, const char* text) {
    SetTitle(level, QString::fromUtf8(text != nullptr ? text : ""));
}

tagSCA_TEZ_COUNTER_STATUS SCA_CounterFrame::NextStatus(const tagSCA_TEZ_COUNTER_STATUS* status,
                                                       const SCA_TezCounter* counter) const {
    tagSCA_TEZ_COUNTER_STATUS next{};
    if (status != nullptr) {
        next = *status;
    } else if (counter != nullptr) {
        SCA_TezFillCounterStatus(*counter, &next);
    }
    if (next.CounterType == 0) {
        next.CounterType = m_Status.CounterType;
    }
    return next;
}

bool SCA_CounterFrame::IsPercent() const {
    return GetUnits() == SCA_TEZ_UNITS_PERCENT;
}

uint32_t SCA_CounterFrame::GetUnits() const {
    return SCA_TezGetCounterUnits(m_Status.CounterType);
}

void SCA_CounterFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    Paint(&painter, QRectF(rect()));
}
