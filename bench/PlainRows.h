// SPDX-License-Identifier: MIT
#pragma once

// The floor of a client list: a plain QTreeWidget showing the same rows as the window's list,
// each refresh setting every column's text, either on the items already there (in place) or on
// items built anew and added in one go (a rebuild). Flat rows of one height, as the client's
// lists are; no sorting, no selection or scroll kept, no icons, tips or roles: only what any
// list of those rows has to do.
#include <QList>
#include <QString>
#include <QTreeWidget>
#include <QTreeWidgetItem>

namespace korvanta_bench {

class PlainRows {
public:
    explicit PlainRows(int columns) {
        m_Tree.setColumnCount(columns);
        m_Tree.setRootIsDecorated(false);
        m_Tree.setUniformRowHeights(true);
    }

    QTreeWidget* Tree() { return &m_Tree; }

    // text(row, column) for rows rows: items are added or taken off at the end to match.
    template <typename Text>
    void UpdateInPlace(int rows, Text text) {
        while (m_Tree.topLevelItemCount() > rows) {
            delete m_Tree.takeTopLevelItem(m_Tree.topLevelItemCount() - 1);
        }
        QList<QTreeWidgetItem*> added;
        for (int row = 0; row < rows; ++row) {
            QTreeWidgetItem* item =
                row < m_Tree.topLevelItemCount() ? m_Tree.topLevelItem(row) : new QTreeWidgetItem();
            if (item->treeWidget() == nullptr) {
                added.append(item);
            }
            SetTexts(item, row, text);
        }
        m_Tree.addTopLevelItems(added);
    }

    template <typename Text>
    void Rebuild(int rows, Text text) {
        m_Tree.clear();
        QList<QTreeWidgetItem*> items;
        items.reserve(rows);
        for (int row = 0; row < rows; ++row) {
            auto* item = new QTreeWidgetItem();
            SetTexts(item, row, text);
            items.append(item);
        }
        m_Tree.addTopLevelItems(items);
    }

private:
    template <typename Text>
    void SetTexts(QTreeWidgetItem* item, int row, Text& text) {
        for (int column = 0; column < m_Tree.columnCount(); ++column) {
            item->setText(column, text(row, column));
        }
    }

    QTreeWidget m_Tree;
};

} // namespace korvanta_bench
