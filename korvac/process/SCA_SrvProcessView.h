// SPDX-License-Identifier: MIT
#pragma once

#include <QContextMenuEvent>
#include <QTreeWidget>
#include <cstdint>
#include <unordered_map>

#include "korvac/process/SCA_ProcessStatusRecords.h"

class SCA_ProcessRowItem;

// The processes of a process monitor window, one row per process name: its report-status icon,
// name, instances, CPU, memory, threads, handles, errors and warnings. The row's column 0 holds
// the process id, its column 1 the report status shown (both as Qt::UserRole data). Its
// context menu is the window's.
class SCA_SrvProcessView : public QTreeWidget {
    Q_OBJECT
public:
    explicit SCA_SrvProcessView(QWidget* parent);

    // A row of this view, as the rows that keep it in step with the polls make them.
    static QTreeWidgetItem* MakeRow();
    // Writes a row (one MakeRow made) from its record; a new row gets its id and every column,
    // an existing one only the cells whose value changed since the record it last showed.
    // Whether the row's record changed.
    bool FillRow(QTreeWidgetItem* item, const SCA_ProcessStatusRecord& record, bool created);
    // Writes the rows standing in the view from the records of their processes, where they
    // stand; a row whose process is not in records stays as it is, and a record without a
    // row gets none.
    void UpdateRows(const SCA_ProcessStatusRecords& records);
    // Forgets what the rows of processes no longer in records showed.
    void ForgetGone(const SCA_ProcessStatusRecords& records);
    // The process id of a row.
    static uint32_t ProcessIdOf(const QTreeWidgetItem* item);

signals:
    // The context menu is asked for: the window that holds the list runs it.
    void MenuAsked(QContextMenuEvent* event);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // The row at a point of the viewport, or outside when none is there.
    int VisibleRow(const QPoint& point, int outside) const;

    // The rows by process id, each holding the record it shows. Every row in the view is here
    // (a row is filled before it shows, and the rows of processes that went are forgotten
    // before the view drops them).
    std::unordered_map<uint32_t, SCA_ProcessRowItem*> m_Shown;
};
