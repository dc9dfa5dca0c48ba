// SPDX-License-Identifier: MIT
#pragma once

#include "libvop/SCA_StatusLabel.h"

class SCA_StatusIcon;

// The larger status label: a lamp in the colour of the status at its left, the text beside it.
class SCA_StatusLabelEx : public SCA_StatusLabel {
    Q_OBJECT
public:
    // lampSize is the side of the lamp's square; the text starts textIndent pixels from the
    // left. The label is as high as the lamp with a little room.
    SCA_StatusLabelEx(QWidget* parent, int lampSize, int textIndent);

    void SetStatusString(uint32_t status, const QString& text) override;
    using SCA_StatusLabel::SetStatusString;

    SCA_StatusIcon* GetLamp() const { return m_Lamp; }
    QSize sizeHint() const override;

private:
    SCA_StatusIcon* m_Lamp;
};
