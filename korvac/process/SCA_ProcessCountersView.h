// SPDX-License-Identifier: MIT
#pragma once

#include <QTreeWidget>

// The counters of one process in the single-process window: icon, counter, computer and the
// current, average, minimum and maximum value. Column 0 holds the counter id, column 1 the
// status shown (Qt::UserRole data). It has no context menu.
class SCA_ProcessCountersView : public QTreeWidget {
    Q_OBJECT
public:
    enum Column : int {
        kIconColumn,
        kCounterColumn,
        kComputerColumn,
        kCurrentColumn,
        kAverageColumn,
        kMinimumColumn,
        kMaximumColumn,
        kColumnCount
    };

    explicit SCA_ProcessCountersView(QWidget* parent);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};
