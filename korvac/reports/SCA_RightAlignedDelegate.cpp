// SPDX-License-Identifier: MIT
#include "korvac/reports/SCA_RightAlignedDelegate.h"

#include <utility>

SCA_RightAlignedDelegate::SCA_RightAlignedDelegate(QList<int> columns, QObject* parent)
    : QStyledItemDelegate(parent), m_Columns(std::move(columns)) {}

void SCA_RightAlignedDelegate::initStyleOption(QStyleOptionViewItem* option,
                                               const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    if (m_Columns.contains(index.column())) {
        option->displayAlignment = Qt::AlignRight | Qt::AlignVCenter;
    }
}
