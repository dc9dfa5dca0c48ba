// SPDX-License-Identifier: MIT
#include "libvop/SCA_EmptyHint.h"

#include <QAbstractItemView>
#include <QPainter>

namespace {

constexpr int kMargin = 12;

} // namespace

void SCA_PaintEmptyHint(QAbstractItemView* view, const QString& hint) {
    if (view == nullptr || hint.isEmpty() || view->model() == nullptr ||
        view->model()->rowCount(view->rootIndex()) > 0) {
        return;
    }
    QPainter painter(view->viewport());
    painter.setPen(view->palette().color(QPalette::Disabled, QPalette::Text));
    const QRect area = view->viewport()->rect().adjusted(kMargin, kMargin, -kMargin, -kMargin);
    painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, hint);
}
