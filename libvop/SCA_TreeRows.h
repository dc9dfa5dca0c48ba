// SPDX-License-Identifier: MIT
#pragma once

#include <QHash>
#include <QList>
#include <QMetaObject>
#include <QSet>
#include <QVariant>
#include <cstdint>
#include <functional>

class QTreeWidget;
class QTreeWidgetItem;

// Keeps the top-level rows of a tree in step with a list of ids that a poll brings every
// second: a row whose id stays is updated in place, a new id gets a row at its place, a row
// whose id is gone is removed. The id of a row is the Qt::UserRole data of its column 0.
//
// The user's selection, the current row and the scroll position survive every refresh, also
// the full rebuild that a new set id asks for (the service's sign that the set of rows was
// changed, not only their values). A tree with sorting on keeps its own order: rows are added
// and removed but not moved, and the sort is applied once after the refresh.
class SCA_TreeRows {
public:
    // Writes a row's columns; created is true for a row made in this refresh, which is filled
    // before it joins the tree.
    using Fill = std::function<void(QTreeWidgetItem* item, int index, bool created)>;

    // Makes a row that is not yet in any tree.
    using MakeRow = QTreeWidgetItem* (*)();

    // Rows made by makeRow, or plain ones; rows of SCA_RankedTreeItem (as the plain ones are)
    // change places as one layout change.
    explicit SCA_TreeRows(QTreeWidget* tree, MakeRow makeRow = nullptr);
    ~SCA_TreeRows();
    SCA_TreeRows(const SCA_TreeRows&) = delete;
    SCA_TreeRows& operator=(const SCA_TreeRows&) = delete;

    // The rows of ids, in their order; rebuilt when setId is not the one of the last Apply.
    void Apply(const QList<QVariant>& ids, uint32_t setId, const Fill& fill);
    // The rows of ids, always in place.
    void Apply(const QList<QVariant>& ids, const Fill& fill);
    // The rows of ids, always built anew (the user's selection, current row and scroll kept).
    void Rebuild(const QList<QVariant>& ids, const Fill& fill);
    // Empties the tree; the next Apply with a set id rebuilds.
    void Clear();

    // The row of an id, or null.
    QTreeWidgetItem* Find(const QVariant& id) const;
    QList<QVariant> SelectedIds() const;
    // Exactly the rows of ids are selected; the first of them becomes the current row.
    void Select(const QList<QVariant>& ids);

    static QVariant IdOf(const QTreeWidgetItem* item);

    // Ids of one tree are all numbers or all texts. A number keys itself, without the text a
    // refresh of thousands of rows would otherwise make for each.
    struct RowKey {
        qulonglong Number = 0;
        QString Text;

        bool operator==(const RowKey& other) const {
            return Number == other.Number && Text == other.Text;
        }
        friend size_t qHash(const RowKey& key, size_t seed = 0) {
            return qHashMulti(seed, key.Number, key.Text);
        }
    };

private:
    // Up to this many rows added and removed in one refresh go in and out one by one, keeping
    // every other row where it is, and rows that change places are moved by the model's sort;
    // more take every row off and put the wanted ones back in one go.
    static constexpr qsizetype kFewChanges = 32;

    void Refresh(const QList<QVariant>& ids, bool rebuild, const Fill& fill);
    // Whether ids are the last refresh's, in its order, with the rows it left still in the tree
    // where it put them: then each row is the one at its index, and nothing is placed.
    bool SameRows(const QList<QVariant>& ids) const;
    // Fills the rows of the last refresh again, each at its index.
    void Refill(const QList<QVariant>& ids, bool sorted, const Fill& fill);
    // Whether the rows that stay stand in the tree in the order wanted has them (new rows are
    // not in the tree yet).
    bool KeptInOrder(const QList<QTreeWidgetItem*>& wanted,
                     const QSet<QTreeWidgetItem*>& removed) const;
    void PlaceFew(const QList<QTreeWidgetItem*>& wanted, const QSet<QTreeWidgetItem*>& removed);
    // Puts a few rows in and out, then the rows in the order wanted as one layout change of the
    // model, which carries the selection and the current row along with their rows; false, the
    // tree untouched, when a row the tree holds cannot be ranked.
    bool Reorder(const QList<QTreeWidgetItem*>& wanted, const QSet<QTreeWidgetItem*>& removed,
                 qsizetype added);
    void Reseat(const QList<QTreeWidgetItem*>& wanted, const QSet<QTreeWidgetItem*>& removed,
                bool sorted);

    // The rows by id as the last refresh left them, read from the rows again once anything else
    // adds or removes a row of the tree.
    QHash<RowKey, QTreeWidgetItem*> RowsById();
    void WatchTree();

    QTreeWidget* m_Tree;
    MakeRow m_MakeRow;
    QHash<RowKey, QTreeWidgetItem*> m_RowsById;
    bool m_RowsKnown = false;
    // The last refresh's ids and rows by index, while its ids were all different; kept in the
    // tree's order unless the tree is sorted or was reordered since.
    QList<QVariant> m_Ids;
    QList<QTreeWidgetItem*> m_Order;
    bool m_IdsKnown = false;
    bool m_OrderKnown = false;
    bool m_Refreshing = false;
    QList<QMetaObject::Connection> m_Watches;
    bool m_HasSetId = false;
    uint32_t m_SetId = 0;
};
