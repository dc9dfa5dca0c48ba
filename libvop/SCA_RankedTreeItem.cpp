// SPDX-License-Identifier: MIT
#include "libvop/SCA_RankedTreeItem.h"

SCA_RankedTreeItem* SCA_RankedTreeItem::Of(QTreeWidgetItem* item) {
    return item != nullptr && item->type() == kType ? static_cast<SCA_RankedTreeItem*>(item)
                                                    : nullptr;
}

bool SCA_RankedTreeItem::operator<(const QTreeWidgetItem& other) const {
    if (other.type() == kType) {
        const int otherRank = static_cast<const SCA_RankedTreeItem&>(other).m_Rank;
        if (m_Rank != kNoRank && otherRank != kNoRank) {
            return m_Rank < otherRank;
        }
    }
    return QTreeWidgetItem::operator<(other);
}
