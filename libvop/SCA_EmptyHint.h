// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

class QAbstractItemView;

// Paints hint, greyed and centred, over the viewport of a view that has no rows, so that an
// empty pane says why it is empty. Called from the view's paintEvent after the view's own
// painting; does nothing while the view has rows.
void SCA_PaintEmptyHint(QAbstractItemView* view, const QString& hint);
