// SPDX-License-Identifier: MIT
#pragma once

#include <QContextMenuEvent>
#include <QTreeWidget>

// The counters of a monitor window, one row per counter of the monitor's profile: its icon,
// name, instance, computer and its current, average, minimum and maximum value. The window
// fills and updates the rows; the view's context menu is the window's.
class SCA_CountersView : public QTreeWidget {
    Q_OBJECT
public:
    // The columns.
    enum Column : int {
        kIconColumn,
        kCounterColumn,
        kInstanceColumn,
        kComputerColumn,
        kCurrentColumn,
        kAverageColumn,
        kMinimumColumn,
        kMaximumColumn,
        kColumnCount
    };

    explicit SCA_CountersView(QWidget* parent);

signals:
    // The context menu is asked for: the window that holds the list runs it.
    void MenuAsked(QContextMenuEvent* event);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    // Without rows the pane says why.
    void paintEvent(QPaintEvent* event) override;
};
