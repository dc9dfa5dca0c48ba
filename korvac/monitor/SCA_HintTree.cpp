// SPDX-License-Identifier: MIT
#include "korvac/monitor/SCA_HintTree.h"

#include "libvop/SCA_EmptyHint.h"

void SCA_HintTree::SetHint(const QString& hint) {
    if (hint != m_Hint) {
        m_Hint = hint;
        viewport()->update();
    }
}

void SCA_HintTree::paintEvent(QPaintEvent* event) {
    QTreeWidget::paintEvent(event);
    SCA_PaintEmptyHint(this, m_Hint);
}
