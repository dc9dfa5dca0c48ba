// SPDX-License-Identifier: MIT
#include "libvop/SCA_TreeRows.h"

#include <QHash>
#include <QItemSelectionModel>
#include <QScrollBar>
#include <QSet>
#include <QTreeWidget>
#include <algorithm>
#include <utility>

#include "libvop/SCA_RankedTreeItem.h"

namespace {

constexpr int kIdColumn = 0;
constexpr int kIdRole = Qt::UserRole;

using RowKey = SCA_TreeRows::RowKey;

// A number is read as the type it holds: converting it would go through the type registry,
// which costs as much as the rest of a row's refresh.
RowKey KeyOf(const QVariant& id) {
    switch (id.typeId()) {
    case QMetaType::UInt:
        return {*static_cast<const uint*>(id.constData()), QString()};
    case QMetaType::ULongLong:
        return {*static_cast<const qulonglong*>(id.constData()), QString()};
    case QMetaType::Int:
        return {static_cast<qulonglong>(*static_cast<const int*>(id.constData())), QString()};
    case QMetaType::LongLong:
        return {static_cast<qulonglong>(*static_cast<const qlonglong*>(id.constData())), QString()};
    default:
        return {0, id.toString()};
    }
}

} // namespace

SCA_TreeRows::SCA_TreeRows(QTreeWidget* tree, MakeRow makeRow) : m_Tree(tree), m_MakeRow(makeRow) {
    WatchTree();
}

SCA_TreeRows::~SCA_TreeRows() {
    for (const QMetaObject::Connection& watch : m_Watches) {
        QObject::disconnect(watch);
    }
}

void SCA_TreeRows::WatchTree() {
    // Rows that others add or remove, the tree's own clear() included, make the kept ids stale.
    const auto forget = [this] {
        if (!m_Refreshing) {
            m_RowsKnown = false;
        }
    };
    // Rows sorted or moved by others stand no longer where the last refresh put them.
    const auto reordered = [this] {
        if (!m_Refreshing) {
            m_OrderKnown = false;
        }
    };
    const QAbstractItemModel* model = m_Tree->model();
    m_Watches = {
        QObject::connect(model, &QAbstractItemModel::rowsInserted, m_Tree, forget),
        QObject::connect(model, &QAbstractItemModel::rowsAboutToBeRemoved, m_Tree, forget),
        QObject::connect(model, &QAbstractItemModel::modelAboutToBeReset, m_Tree, forget),
        QObject::connect(model, &QAbstractItemModel::layoutChanged, m_Tree, reordered),
        QObject::connect(model, &QAbstractItemModel::rowsMoved, m_Tree, reordered),
    };
}

bool SCA_TreeRows::SameRows(const QList<QVariant>& ids) const {
    if (!m_RowsKnown || !m_IdsKnown || ids.size() != m_Ids.size()) {
        return false;
    }
    // A caller that kept the list it gave last gives it again.
    if (ids.constData() == m_Ids.constData()) {
        return true;
    }
    for (qsizetype index = 0; index < ids.size(); ++index) {
        if (!(KeyOf(ids[index]) == KeyOf(m_Ids[index]))) {
            return false;
        }
    }
    return true;
}

void SCA_TreeRows::Refill(const QList<QVariant>& ids, bool sorted, const Fill& fill) {
    QScrollBar* scroll = m_Tree->verticalScrollBar();
    const int scrolled = scroll != nullptr ? scroll->value() : 0;
    if (sorted) {
        m_Tree->setSortingEnabled(false);
    }
    m_Refreshing = true;
    for (int index = 0; index < ids.size(); ++index) {
        fill(m_Order[index], index, false);
    }
    m_Refreshing = false;
    if (sorted) {
        m_Tree->setSortingEnabled(true);
    }
    if (scroll != nullptr) {
        scroll->setValue(scrolled);
    }
}

QHash<RowKey, QTreeWidgetItem*> SCA_TreeRows::RowsById() {
    if (m_RowsKnown) {
        return m_RowsById;
    }
    QHash<RowKey, QTreeWidgetItem*> rows;
    rows.reserve(m_Tree->topLevelItemCount());
    for (int index = 0; index < m_Tree->topLevelItemCount(); ++index) {
        QTreeWidgetItem* item = m_Tree->topLevelItem(index);
        rows.insert(KeyOf(IdOf(item)), item);
    }
    return rows;
}

QVariant SCA_TreeRows::IdOf(const QTreeWidgetItem* item) {
    return item != nullptr ? item->data(kIdColumn, kIdRole) : QVariant();
}

void SCA_TreeRows::Apply(const QList<QVariant>& ids, uint32_t setId, const Fill& fill) {
    const bool rebuild = !m_HasSetId || setId != m_SetId;
    m_HasSetId = true;
    m_SetId = setId;
    Refresh(ids, rebuild, fill);
}

void SCA_TreeRows::Apply(const QList<QVariant>& ids, const Fill& fill) {
    Refresh(ids, false, fill);
}

void SCA_TreeRows::Rebuild(const QList<QVariant>& ids, const Fill& fill) {
    Refresh(ids, true, fill);
}

void SCA_TreeRows::Clear() {
    m_Tree->clear();
    m_HasSetId = false;
}

QTreeWidgetItem* SCA_TreeRows::Find(const QVariant& id) const {
    const RowKey key = KeyOf(id);
    if (m_RowsKnown) {
        return m_RowsById.value(key, nullptr);
    }
    for (int index = 0; index < m_Tree->topLevelItemCount(); ++index) {
        QTreeWidgetItem* item = m_Tree->topLevelItem(index);
        if (KeyOf(IdOf(item)) == key) {
            return item;
        }
    }
    return nullptr;
}

QList<QVariant> SCA_TreeRows::SelectedIds() const {
    QList<QVariant> ids;
    // Most refreshes find nothing selected; asking the selection spares a walk over every row.
    const QItemSelectionModel* selection = m_Tree->selectionModel();
    if (selection != nullptr && !selection->hasSelection()) {
        return ids;
    }
    for (int index = 0; index < m_Tree->topLevelItemCount(); ++index) {
        QTreeWidgetItem* item = m_Tree->topLevelItem(index);
        if (item->isSelected()) {
            ids.append(IdOf(item));
        }
    }
    return ids;
}

void SCA_TreeRows::Select(const QList<QVariant>& ids) {
    if (ids.isEmpty()) {
        m_Tree->clearSelection();
        return;
    }
    QSet<RowKey> wanted;
    for (const QVariant& id : ids) {
        wanted.insert(KeyOf(id));
    }
    QTreeWidgetItem* first = nullptr;
    for (int index = 0; index < m_Tree->topLevelItemCount(); ++index) {
        QTreeWidgetItem* item = m_Tree->topLevelItem(index);
        const bool selected = wanted.contains(KeyOf(IdOf(item)));
        if (item->isSelected() != selected) {
            item->setSelected(selected);
        }
        if (selected && first == nullptr) {
            first = item;
        }
    }
    if (first != nullptr) {
        m_Tree->setCurrentItem(first, 0, QItemSelectionModel::NoUpdate);
    }
}

void SCA_TreeRows::Refresh(const QList<QVariant>& ids, bool rebuild, const Fill& fill) {
    const bool sorted = m_Tree->isSortingEnabled();
    // Most polls bring the ids of the last one: no row to find, add, remove or move.
    if (!rebuild && (sorted || m_OrderKnown) && SameRows(ids)) {
        Refill(ids, sorted, fill);
        return;
    }
    const QList<QVariant> selected = SelectedIds();
    const QVariant current = IdOf(m_Tree->currentItem());
    QScrollBar* scroll = m_Tree->verticalScrollBar();
    const int scrolled = scroll != nullptr ? scroll->value() : 0;
    // Filling columns of a sorted tree would re-sort it once per cell. A tree whose owner sorts
    // it is left alone: switching sorting off would also make its header unclickable and hide
    // the owner's sort indicator.
    if (sorted) {
        m_Tree->setSortingEnabled(false);
    }
    if (rebuild) {
        m_Tree->clear();
    }

    m_Refreshing = true;
    const QHash<RowKey, QTreeWidgetItem*> before = RowsById();
    QHash<RowKey, QTreeWidgetItem*> kept;
    kept.reserve(ids.size());
    // A new row is filled before it joins the tree, where setting its texts costs no signals.
    QList<QTreeWidgetItem*> wanted;
    wanted.reserve(ids.size());
    qsizetype added = 0;
    for (int index = 0; index < ids.size(); ++index) {
        const RowKey key = KeyOf(ids[index]);
        const bool repeated = kept.contains(key); // a repeated id gets a row of its own
        QTreeWidgetItem* item = repeated ? nullptr : before.value(key, nullptr);
        const bool created = item == nullptr;
        if (created) {
            item = m_MakeRow != nullptr ? m_MakeRow() : new SCA_RankedTreeItem();
            item->setData(kIdColumn, kIdRole, ids[index]);
            ++added;
        }
        if (!repeated) {
            kept.insert(key, item);
        }
        fill(item, index, created);
        wanted.append(item);
    }
    QSet<QTreeWidgetItem*> removed;
    // Rows all found again leave none to remove, without a look-up for each.
    if (kept.size() - added < before.size()) {
        for (auto row = before.cbegin(); row != before.cend(); ++row) {
            if (!kept.contains(row.key())) {
                removed.insert(row.value());
            }
        }
    }
    m_RowsById = std::move(kept);
    m_RowsKnown = true;

    const bool inOrder = sorted || KeptInOrder(wanted, removed);
    const bool changed = added > 0 || !removed.isEmpty() || !inOrder;
    const bool few = added + removed.size() <= kFewChanges;
    const bool reordered = changed && !inOrder && few && Reorder(wanted, removed, added);
    const bool reseated = changed && !reordered && (!inOrder || !few);
    if (reseated) {
        Reseat(wanted, removed, sorted);
    } else if (changed && !reordered) {
        PlaceFew(wanted, removed);
    }

    m_Refreshing = false;
    if (sorted) {
        m_Tree->setSortingEnabled(true);
    }
    // A repeated id's rows are made anew at each refresh: only a list of different ids is kept.
    m_IdsKnown = m_RowsById.size() == ids.size();
    m_Ids = m_IdsKnown ? ids : QList<QVariant>();
    m_Order = m_IdsKnown ? wanted : QList<QTreeWidgetItem*>();
    m_OrderKnown = !sorted;
    if (rebuild || reseated) {
        Select(selected); // rows that left the tree left its selection
    }
    if (changed) {
        if (QTreeWidgetItem* item = current.isValid() ? Find(current) : nullptr) {
            m_Tree->setCurrentItem(item, 0, QItemSelectionModel::NoUpdate);
        }
    }
    if (scroll != nullptr) {
        if (changed) {
            // The scroll range follows the rows only once the view has laid them out.
            m_Tree->doItemsLayout();
        }
        scroll->setValue(scrolled);
    }
}

bool SCA_TreeRows::KeptInOrder(const QList<QTreeWidgetItem*>& wanted,
                               const QSet<QTreeWidgetItem*>& removed) const {
    qsizetype next = 0;
    for (int index = 0; index < m_Tree->topLevelItemCount(); ++index) {
        QTreeWidgetItem* item = m_Tree->topLevelItem(index);
        if (removed.contains(item)) {
            continue;
        }
        while (next < wanted.size() && wanted[next]->treeWidget() == nullptr) {
            ++next; // a new row: not in the tree yet
        }
        if (next == wanted.size() || wanted[next] != item) {
            return false;
        }
        ++next;
    }
    return true;
}

void SCA_TreeRows::PlaceFew(const QList<QTreeWidgetItem*>& wanted,
                            const QSet<QTreeWidgetItem*>& removed) {
    // The view would hand the current row of a removed row on to a neighbour, selecting it;
    // a row that goes takes the user's choice with it.
    if (removed.contains(m_Tree->currentItem())) {
        m_Tree->selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }
    for (QTreeWidgetItem* item : removed) {
        delete item; // leaves the tree as it goes
    }
    const bool sorted = m_Tree->isSortingEnabled();
    for (qsizetype index = 0; index < wanted.size();) {
        if (wanted[index]->treeWidget() != nullptr) {
            ++index;
            continue;
        }
        // A run of new rows goes in with one insertion.
        qsizetype end = index;
        while (end < wanted.size() && wanted[end]->treeWidget() == nullptr) {
            ++end;
        }
        const QList<QTreeWidgetItem*> run = wanted.mid(index, end - index);
        if (sorted) {
            m_Tree->addTopLevelItems(run);
        } else {
            m_Tree->insertTopLevelItems(static_cast<int>(index), run);
        }
        index = end;
    }
}

bool SCA_TreeRows::Reorder(const QList<QTreeWidgetItem*>& wanted,
                           const QSet<QTreeWidgetItem*>& removed, qsizetype added) {
    // Only a tree that holds the wanted rows and nothing else, all of them rows that take a
    // rank, can be put in order by the model's sort.
    if (m_Tree->topLevelItemCount() - removed.size() + added != wanted.size() ||
        !std::all_of(wanted.begin(), wanted.end(), [](QTreeWidgetItem* item) {
            return SCA_RankedTreeItem::Of(item) != nullptr;
        })) {
        return false;
    }
    PlaceFew(wanted, removed);
    for (qsizetype index = 0; index < wanted.size(); ++index) {
        SCA_RankedTreeItem::Of(wanted[index])->SetRank(static_cast<int>(index));
    }
    m_Tree->model()->sort(kIdColumn, Qt::AscendingOrder);
    for (QTreeWidgetItem* item : wanted) {
        SCA_RankedTreeItem::Of(item)->SetRank(SCA_RankedTreeItem::kNoRank);
    }
    return true;
}

void SCA_TreeRows::Reseat(const QList<QTreeWidgetItem*>& wanted,
                          const QSet<QTreeWidgetItem*>& removed, bool sorted) {
    // Taking every row off in one go and putting the wanted ones back costs two changes of the
    // model, where moving or removing thousands of rows one by one costs thousands.
    QList<QTreeWidgetItem*> order;
    if (sorted) {
        // The tree's own order for the rows that stay, so that equal keys keep their places;
        // the new rows after them.
        order.reserve(wanted.size());
        for (QTreeWidgetItem* item : wanted) {
            if (item->treeWidget() == nullptr) {
                order.append(item);
            }
        }
    }
    const QList<QTreeWidgetItem*> old = m_Tree->invisibleRootItem()->takeChildren();
    if (sorted) {
        const qsizetype added = order.size();
        for (QTreeWidgetItem* item : old) {
            if (!removed.contains(item)) {
                order.append(item);
            }
        }
        std::rotate(order.begin(), order.begin() + added, order.end());
    } else {
        order = wanted;
    }
    m_Tree->addTopLevelItems(order);
    // Every row taken off and not put back goes: the removed ones, and the extra rows a
    // repeated id had. In the tree's order, mostly the order they were made in, their blocks
    // are freed side by side rather than scattered as a set's order has them.
    for (QTreeWidgetItem* item : old) {
        if (item->treeWidget() == nullptr) {
            delete item;
        }
    }
}
