// SPDX-License-Identifier: MIT
#pragma once

#include <QContextMenuEvent>
#include <QTreeWidget>

struct SCA_ProcessStatusRecord;

// The processes of a process monitor window, one row per process name: its report-status icon,
// name, instances, CPU, memory, threads, handles, errors and warnings. The row's column 0 holds
// the process id, its column 1 the report status shown (both as Qt::UserRole data). Its
// context menu is the window's.
class SCA_SrvProcessView : public QTreeWidget {
    Q_OBJECT
public:
    explicit SCA_SrvProcessView(QWidget* parent);

    // Writes a row from its record; a new row gets its id and name, an existing one keeps them
    // and changes its icon only when the report status changed.
    static void FillRow(QTreeWidgetItem* item, const SCA_ProcessStatusRecord& record, bool created);
    // The process id of a row.
    static uint32_t ProcessIdOf(const QTreeWidgetItem* item);

signals:
    // The context menu is asked for: the window that holds the list runs it.
    void MenuAsked(QContextMenuEvent* event);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};
