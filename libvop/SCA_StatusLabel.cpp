// SPDX-License-Identifier: MIT
#include "libvop/SCA_StatusLabel.h"

#include <QLinearGradient>
#include <QPainter>

#include "libmor/SCA_String.h"
#include "model/SCA_TezProcessStatus.h"

namespace {

// Each look's colours in the order low, high, border, text.
constexpr const char* kDefaultLooks[SCA_STATUS_LOOKS][4] = {
    {"#E8EEF5", "#FAFCFF", "#A0B0C0", "#203040"}, // data
    {"#E2EAF4", "#F0F8FF", "#A0B0C0", "#102040"}, // info
    {"#D8F0D8", "#F2FFF2", "#8CB88C", "#104010"}, // ready
    {"#FAE6BE", "#FFF8E6", "#D0A040", "#5A3C00"}, // warn
    {"#F6D0CA", "#FFF0EE", "#D07060", "#700000"}, // error
};

constexpr uint32_t kDefaultFontSize = 11;
constexpr int kDefaultIndent = 10;
constexpr int kHeight = 32;

} // namespace

SCA_StatusLabel::SCA_StatusLabel(QWidget* parent)
    : QWidget(parent), m_FontSize(kDefaultFontSize), m_TextIndent(kDefaultIndent) {
    for (uint32_t look = 0; look < SCA_STATUS_LOOKS; ++look) {
        for (uint32_t slot = 0; slot < kColours; ++slot) {
            SetColour(look, slot, kDefaultLooks[look][slot]);
        }
    }
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    SetConstructed();
}

void SCA_StatusLabel::SetColour(uint32_t look, uint32_t slot, const char* colour) {
    SCA_StrnCpy(m_Looks[look][slot], colour, SCA_STATUS_COLOUR_SIZE);
    update();
}

uint32_t SCA_StatusLabel::GetStatusLook(uint32_t status) {
    switch (status) {
    case SCA_PROCESS_FAILED:
    case SCA_REP_STATUS_ERROR:
        return SCA_STATUS_LOOK_ERROR;
    case SCA_REP_STATUS_WARNING:
        return SCA_STATUS_LOOK_WARN;
    case SCA_REP_STATUS_MESSAGE:
        return SCA_STATUS_LOOK_INFO;
    case SCA_PROCESS_STOPPED:
    case SCA_TASK_STATUS_RUNNING:
    case SCA_PROCESS_RUNNING:
        return SCA_STATUS_LOOK_READY;
    default:
        return SCA_STATUS_LOOK_DATA;
    }
}

void SCA_StatusLabel::SetStatusColors(uint32_t status, const char* bgLow, const char* bgHigh,
                                      const char* border) {
    const uint32_t look = GetStatusLook(status);
    const char* colours[] = {bgLow, bgHigh, border};
    for (uint32_t slot = kBgLow; slot <= kBorder; ++slot) {
        if (colours[slot] != nullptr) {
            SetColour(look, slot, colours[slot]);
        }
    }
}

void SCA_StatusLabel::SetStatusString(uint32_t status, const QString& text) {
    m_Status = status;
    m_Text = text;
    update();
}

void SCA_StatusLabel::SetStatusString(uint32_t status, const char* text) {
    SetStatusString(status, QString::fromUtf8(text != nullptr ? text : ""));
}

QColor SCA_StatusLabel::ColourOf(uint32_t look, uint32_t slot) const {
    const QColor colour = QColor::fromString(QLatin1String(m_Looks[look][slot]));
    return colour.isValid() ? colour : QColor::fromString(QLatin1String(kDefaultLooks[look][slot]));
}

void SCA_StatusLabel::paintEvent(QPaintEvent*) {
    const uint32_t look = GetStatusLook(m_Status);
    QPainter painter(this);
    const QRectF band = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient gradient(band.topLeft(), band.bottomLeft());
    gradient.setColorAt(0.0, ColourOf(look, kBgHigh));
    gradient.setColorAt(1.0, ColourOf(look, kBgLow));
    painter.setBrush(gradient);
    painter.setPen(QPen(ColourOf(look, kBorder), 1.0));
    painter.drawRect(band);
    QFont font = this->font();
    if (m_FontSize != 0) {
        font.setPointSize(static_cast<int>(m_FontSize));
    }
    font.setBold(m_BoldFont != 0);
    painter.setFont(font);
    painter.setPen(ColourOf(look, kText));
    const QRectF text = QRectF(rect()).adjusted(m_TextIndent, 0, -m_TextIndent / 2, 0);
    painter.drawText(
        text, Qt::AlignLeft | Qt::AlignVCenter,
        painter.fontMetrics().elidedText(m_Text, Qt::ElideRight, static_cast<int>(text.width())));
}

QSize SCA_StatusLabel::sizeHint() const {
    return QSize(320, kHeight);
}
