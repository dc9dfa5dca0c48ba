// SPDX-License-Identifier: MIT
#include "libvop/SCA_StatusLabelEx.h"

#include "libvop/SCA_StatusIcon.h"

namespace {

// Room above and below the lamp, and the lamp's own margin inside its square.
constexpr int kPadding = 4;
constexpr int kLampMarginShare = 6;

} // namespace

SCA_StatusLabelEx::SCA_StatusLabelEx(QWidget* parent, int lampSize, int textIndent)
    : SCA_StatusLabel(parent),
      m_Lamp(new SCA_StatusIcon(this, lampSize, lampSize / kLampMarginShare)) {
    SetTextIndent(textIndent);
    setFixedHeight(lampSize + 2 * kPadding);
    m_Lamp->move((textIndent - lampSize) / 2 > 0 ? (textIndent - lampSize) / 2 : kPadding,
                 kPadding);
    m_Lamp->SetStatus(GetStatus());
}

void SCA_StatusLabelEx::SetStatusString(uint32_t status, const QString& text) {
    m_Lamp->SetStatus(status);
    SCA_StatusLabel::SetStatusString(status, text);
}

QSize SCA_StatusLabelEx::sizeHint() const {
    return QSize(480, height());
}
