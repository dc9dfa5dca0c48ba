// SPDX-License-Identifier: MIT
// The rows of a tree kept in step with the ids of each poll, as the user sees them: what was
// selected, current and scrolled to stays so through updates, removals and rebuilds.
#include <QApplication>
#include <QScrollBar>
#include <QTreeWidget>
#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <memory>

#include "libvop/SCA_IconEngine.h"
#include "libvop/SCA_TreeRows.h"

namespace {

QList<QVariant> Ids(std::initializer_list<uint32_t> first, uint32_t from = 0, uint32_t to = 0) {
    QList<QVariant> ids;
    for (uint32_t id : first) {
        ids.append(QVariant(id));
    }
    for (uint32_t id = from; id < to; ++id) {
        ids.append(QVariant(id));
    }
    return ids;
}

QList<uint32_t> Numbers(const QList<QVariant>& ids) {
    QList<uint32_t> numbers;
    for (const QVariant& id : ids) {
        numbers.append(id.toUInt());
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

class TreeRowsTest : public testing::Test {
protected:
    TreeRowsTest() : m_Rows(&m_Tree) {
        m_Tree.setColumnCount(2);
        m_Tree.setSelectionMode(QAbstractItemView::ExtendedSelection);
        m_Tree.resize(300, 200);
        m_Tree.show();
    }

    // Column 1 shows the value the "service" holds for each id; each fill is counted.
    SCA_TreeRows::Fill Fill(const QList<QVariant>& ids) {
        return [this, ids](QTreeWidgetItem* item, int index, bool created) {
            const uint32_t id = ids[index].toUInt();
            item->setText(1, QString::number(m_Values[id]));
            m_Created += created ? 1 : 0;
            ++m_Filled;
        };
    }
    QList<uint32_t> Order() const {
        QList<uint32_t> order;
        for (int i = 0; i < m_Tree.topLevelItemCount(); ++i) {
            order.append(SCA_TreeRows::IdOf(m_Tree.topLevelItem(i)).toUInt());
        }
        return order;
    }

    QTreeWidget m_Tree;
    SCA_TreeRows m_Rows;
    std::map<uint32_t, int> m_Values;
    int m_Created = 0;
    int m_Filled = 0;
};

TEST_F(TreeRowsTest, RowsChangeInPlaceAndARebuildKeepsSelectionCurrentRowAndScroll) {
    const QList<QVariant> hundred = Ids({}, 1, 101);
    m_Rows.Apply(hundred, 7, Fill(hundred));
    ASSERT_EQ(m_Tree.topLevelItemCount(), 100);
    EXPECT_EQ(m_Created, 100);
    QTreeWidgetItem* third = m_Rows.Find(QVariant(3u));
    ASSERT_NE(third, nullptr);
    m_Rows.Select(Ids({3, 50}));
    EXPECT_EQ(SCA_TreeRows::IdOf(m_Tree.currentItem()).toUInt(), 3u);
    m_Tree.setCurrentItem(m_Rows.Find(QVariant(50u)), 0, QItemSelectionModel::NoUpdate);
    QScrollBar* scroll = m_Tree.verticalScrollBar();
    scroll->setValue(scroll->maximum() / 2);
    const int scrolled = scroll->value();
    ASSERT_GT(scrolled, 0);

    // The same set with new values, one row gone and one new: the rows that stay are the same
    // rows, so nothing the user did is lost.
    m_Values[3] = 42;
    QList<QVariant> changed = hundred;
    changed.removeAt(1);
    changed.insert(10, QVariant(500u));
    m_Created = 0;
    m_Rows.Apply(changed, 7, Fill(changed));
    EXPECT_EQ(m_Created, 1);
    EXPECT_EQ(m_Rows.Find(QVariant(3u)), third);
    EXPECT_EQ(third->text(1), QStringLiteral("42"));
    EXPECT_EQ(m_Rows.Find(QVariant(2u)), nullptr);
    EXPECT_EQ(Order().mid(0, 12), (QList<uint32_t>{1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 500, 12}));
    EXPECT_EQ(Numbers(m_Rows.SelectedIds()), (QList<uint32_t>{3, 50}));
    EXPECT_EQ(scroll->value(), scrolled);

    // A new set id: every row is made anew, in the new order, and the user's state follows the
    // ids. A selected row whose id went is gone from the selection.
    QList<QVariant> reordered = changed;
    std::reverse(reordered.begin(), reordered.end());
    reordered.removeAll(QVariant(3u));
    m_Created = 0;
    m_Rows.Apply(reordered, 8, Fill(reordered));
    EXPECT_EQ(m_Created, reordered.size());
    EXPECT_EQ(Order().front(), 100u);
    EXPECT_EQ(Numbers(m_Rows.SelectedIds()), (QList<uint32_t>{50}));
    EXPECT_EQ(SCA_TreeRows::IdOf(m_Tree.currentItem()).toUInt(), 50u);
    EXPECT_EQ(scroll->value(), scrolled);

    m_Rows.Clear();
    EXPECT_EQ(m_Tree.topLevelItemCount(), 0);
    m_Created = 0;
    m_Rows.Apply(reordered, 8, Fill(reordered));
    EXPECT_EQ(m_Created, reordered.size()); // cleared: the same set id builds again
}

TEST_F(TreeRowsTest, ASortedTreeKeepsItsSortAndTextIdsWorkAlike) {
    m_Tree.setSortingEnabled(true);
    m_Tree.sortByColumn(1, Qt::DescendingOrder);
    QList<QVariant> ids = Ids({}, 1, 6);
    for (uint32_t id = 1; id < 6; ++id) {
        m_Values[id] = static_cast<int>(id);
    }
    m_Rows.Apply(ids, Fill(ids));
    EXPECT_EQ(Order(), (QList<uint32_t>{5, 4, 3, 2, 1}));
    m_Rows.Select(Ids({2}));
    m_Values[2] = 9;
    ids.append(QVariant(6u));
    m_Values[6] = 0;
    m_Rows.Apply(ids, Fill(ids));
    EXPECT_EQ(Order(), (QList<uint32_t>{2, 5, 4, 3, 1, 6}));
    EXPECT_EQ(Numbers(m_Rows.SelectedIds()), (QList<uint32_t>{2}));
    EXPECT_TRUE(m_Tree.isSortingEnabled());

    QTreeWidget servers;
    SCA_TreeRows hosts(&servers);
    const QList<QVariant> names = {QStringLiteral("b"), QStringLiteral("a")};
    hosts.Apply(names, [](QTreeWidgetItem*, int, bool) {});
    hosts.Select({QStringLiteral("a")});
    EXPECT_EQ(servers.currentItem(), hosts.Find(QStringLiteral("a")));
    hosts.Select({});
    EXPECT_TRUE(servers.selectedItems().isEmpty());
}

// Rows that the tree's owner deletes, takes or clears itself are no longer the refresh's to
// reuse: the next refresh builds them again, at their places, and keeps the others.
TEST_F(TreeRowsTest, RowsRemovedByOthersAreBuiltAgainAndTheRestKept) {
    const QList<QVariant> ids = Ids({}, 1, 50);
    m_Rows.Apply(ids, Fill(ids));
    QTreeWidgetItem* kept = m_Rows.Find(QVariant(7u));
    ASSERT_NE(kept, nullptr);
    delete m_Rows.Find(QVariant(3u));
    std::unique_ptr<QTreeWidgetItem> taken(m_Tree.takeTopLevelItem(0));
    m_Created = 0;
    m_Rows.Apply(ids, Fill(ids));
    EXPECT_EQ(m_Created, 2);
    EXPECT_EQ(m_Rows.Find(QVariant(7u)), kept);
    EXPECT_EQ(Order(), Numbers(ids));
    EXPECT_EQ(SCA_TreeRows::IdOf(m_Rows.Find(QVariant(3u))).toUInt(), 3u);

    m_Tree.clear();
    EXPECT_EQ(m_Rows.Find(QVariant(7u)), nullptr);
    m_Created = 0;
    m_Rows.Apply(Ids({5, 9}), Fill(Ids({5, 9})));
    EXPECT_EQ(m_Created, 2);
    EXPECT_EQ(Order(), (QList<uint32_t>{5, 9}));
}

// A poll that brings the last one's ids refills the same rows where they stand; rows that others
// reordered meanwhile, or ids that come in another order, are put back in the poll's order.
TEST_F(TreeRowsTest, TheSameIdsRefillTheSameRowsAndTheOrderIsThePolls) {
    const QList<QVariant> ids = Ids({}, 1, 30);
    m_Rows.Apply(ids, Fill(ids));
    QTreeWidgetItem* fifth = m_Rows.Find(QVariant(5u));
    m_Values[5] = 7;
    m_Created = 0;
    m_Filled = 0;
    m_Rows.Apply(ids, Fill(ids));
    EXPECT_EQ(m_Created, 0);
    EXPECT_EQ(m_Filled, ids.size());
    EXPECT_EQ(m_Rows.Find(QVariant(5u)), fifth);
    EXPECT_EQ(fifth->text(1), QStringLiteral("7"));
    EXPECT_EQ(m_Tree.topLevelItem(4), fifth);

    m_Tree.sortItems(1, Qt::DescendingOrder);
    ASSERT_EQ(Order().front(), 5u);
    m_Rows.Apply(ids, Fill(ids));
    EXPECT_EQ(Order(), Numbers(ids));
    EXPECT_EQ(m_Rows.Find(QVariant(5u)), fifth);

    QList<QVariant> swapped = ids;
    swapped.swapItemsAt(0, 1);
    m_Created = 0;
    m_Rows.Apply(swapped, Fill(swapped));
    EXPECT_EQ(m_Created, 0);
    EXPECT_EQ(Order().mid(0, 3), (QList<uint32_t>{2, 1, 3}));
    // The rows were put in the poll's order by rank; a sort by the tree's column then goes by
    // the texts again.
    m_Tree.sortItems(1, Qt::DescendingOrder);
    EXPECT_EQ(Order().front(), 5u);

    // A repeated id gets a row of its own at every poll, also when the ids are the last ones.
    const QList<QVariant> repeated = Ids({4, 4, 6});
    m_Rows.Apply(repeated, Fill(repeated));
    m_Created = 0;
    m_Rows.Apply(repeated, Fill(repeated));
    EXPECT_EQ(m_Created, 1);
    EXPECT_EQ(Order(), (QList<uint32_t>{4, 4, 6}));
    m_Rows.Apply({}, Fill({}));
    EXPECT_EQ(m_Tree.topLevelItemCount(), 0);
}

// A selected row's status icon keeps its colours (a red cross stays red); only a disabled
// action is greyed.
TEST(Icons, SelectedIconsKeepTheirColoursAndDisabledOnesGreyOut) {
    const QIcon icon = SCA_IconEngine::Load(QStringLiteral(":/images/error_16px.png"));
    const QImage normal = icon.pixmap(QSize(32, 32), QIcon::Normal).toImage();
    EXPECT_EQ(icon.pixmap(QSize(32, 32), QIcon::Selected).toImage(), normal);
    const QImage disabled = icon.pixmap(QSize(32, 32), QIcon::Disabled).toImage();
    EXPECT_NE(disabled, normal);
}

} // namespace
