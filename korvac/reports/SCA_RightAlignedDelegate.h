// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QStyledItemDelegate>

// Draws the figures of some columns against their right edge. A view of thousands of rows gets
// that once here, where an alignment set on each row would cost every row its own storage.
class SCA_RightAlignedDelegate : public QStyledItemDelegate {
public:
    SCA_RightAlignedDelegate(QList<int> columns, QObject* parent);

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    QList<int> m_Columns;
};
