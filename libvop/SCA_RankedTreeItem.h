// SPDX-License-Identifier: MIT
#pragma once

#include <QTreeWidgetItem>

// A row that a reorder can put in place through the tree model's own sort: while it and the row
// it is compared with both hold a rank, the lower rank comes first; otherwise it compares as any
// row does, so a tree sorted by its header is not bent by a rank left over. The model's sort
// moves rows as one layout change, which keeps the selection and the current row with their
// items where taking every row off and putting them back loses them.
class SCA_RankedTreeItem : public QTreeWidgetItem {
public:
    static constexpr int kType = QTreeWidgetItem::UserType + 1;
    static constexpr int kNoRank = -1;

    SCA_RankedTreeItem() : QTreeWidgetItem(kType) {}

    // The ranked row of item, or null for a row of another kind.
    static SCA_RankedTreeItem* Of(QTreeWidgetItem* item);

    void SetRank(int rank) { m_Rank = rank; }
    bool operator<(const QTreeWidgetItem& other) const override;

private:
    int m_Rank = kNoRank;
};
