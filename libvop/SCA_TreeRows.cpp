// SPDX-License-Identifier: MIT
#include "libvop/SCA_TreeRows.h"

#include <QHash>
#include <QScrollBar>
#include <QSet>
#include <QTreeWidget>

namespace {

constexpr int kIdColumn = 0;
constexpr int kIdRole = Qt::UserRole;

// Ids of one tree are all numbers or all texts; their text form keys them.
QString KeyOf(const QVariant& id) {
    return id.toString();
}

} // namespace

SCA_TreeRows::SCA_TreeRows(QTreeWidget* tree) : m_Tree(tree) {}

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
    const QString key = KeyOf(id);
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
    for (int index = 0; index < m_Tree->topLevelItemCount(); ++index) {
        QTreeWidgetItem* item = m_Tree->topLevelItem(index);
        if (item->isSelected()) {
            ids.append(IdOf(item));
        }
    }
    return ids;
}

void SCA_TreeRows::Select(const QList<QVariant>& ids) {
    QSet<QString> wanted;
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
    const QList<QVariant> selected = SelectedIds();
    const QVariant current = IdOf(m_Tree->currentItem());
    QScrollBar* scroll = m_Tree->verticalScrollBar();
    const int scrolled = scroll != nullptr ? scroll->value() : 0;
    const bool sorted = m_Tree->isSortingEnabled();
    // Filling columns of a sorted tree would re-sort it once per cell. A tree whose owner sorts
    // it is left alone: switching sorting off would also make its header unclickable and hide
    // the owner's sort indicator.
    if (sorted) {
        m_Tree->setSortingEnabled(false);
    }
    if (rebuild) {
        m_Tree->clear();
    }

    QHash<QString, QTreeWidgetItem*> rows;
    rows.reserve(m_Tree->topLevelItemCount());
    for (int index = 0; index < m_Tree->topLevelItemCount(); ++index) {
        QTreeWidgetItem* item = m_Tree->topLevelItem(index);
        rows.insert(KeyOf(IdOf(item)), item);
    }
    bool moved = rebuild;
    QSet<QTreeWidgetItem*> kept;
    for (int index = 0; index < ids.size(); ++index) {
        QTreeWidgetItem* item = rows.value(KeyOf(ids[index]), nullptr);
        const bool created = item == nullptr;
        if (created) {
            item = new QTreeWidgetItem();
            item->setData(kIdColumn, kIdRole, ids[index]);
            if (sorted) {
                m_Tree->addTopLevelItem(item);
            } else {
                m_Tree->insertTopLevelItem(index, item);
            }
        } else if (!sorted && m_Tree->topLevelItem(index) != item) {
            // The wanted rows gather at the top in order; what stays below them goes.
            m_Tree->takeTopLevelItem(m_Tree->indexOfTopLevelItem(item));
            m_Tree->insertTopLevelItem(index, item);
            moved = true;
        }
        kept.insert(item);
        fill(item, index, created);
    }
    for (int index = m_Tree->topLevelItemCount() - 1; index >= 0; --index) {
        if (!kept.contains(m_Tree->topLevelItem(index))) {
            delete m_Tree->takeTopLevelItem(index);
            moved = true;
        }
    }

    if (sorted) {
        m_Tree->setSortingEnabled(true);
    }
    if (moved) {
        Select(selected);
        if (QTreeWidgetItem* item = current.isValid() ? Find(current) : nullptr) {
            m_Tree->setCurrentItem(item, 0, QItemSelectionModel::NoUpdate);
        }
    }
    if (scroll != nullptr) {
        if (moved) {
            // The scroll range follows the rows only once the view has laid them out.
            m_Tree->doItemsLayout();
        }
        scroll->setValue(scrolled);
    }
}
