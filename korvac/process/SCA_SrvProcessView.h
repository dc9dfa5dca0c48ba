// SPDX-License-Identifier: MIT
#pragma once

#include <QContextMenuEvent>
#include <QTreeWidget>
#include <cstdint>
#include <unordered_map>

#include "korvac/process/SCA_ProcessStatusRecords.h"

// The processes of a process monitor window, one row per process name: its report-status icon,
// name, instances, CPU, memory, threads, handles, errors and warnings. The row's column 0 holds
// the process id, its column 1 the report status shown (both as Qt::UserRole data). Its
// context menu is the window's.
class SCA_SrvProcessView : public QTreeWidget {
    Q_OBJECT
public:
    explicit SCA_SrvProcessView(QWidget* parent);

    // Writes a row from its record; a new row gets its id and every column, an existing one
    // only the cells whose value changed since the record it last showed. Whether the row's
    // record changed.
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
    // A process's row and the record it shows.
    struct ShownRow {
        QTreeWidgetItem* Item;
        SCA_ProcessStatusRecord Record;
    };

    // Writes the cells of a row whose value moved since shown (every cell when shown is null)
    // and keeps the record in shown; whether any moved.
    static bool WriteCells(QTreeWidgetItem* item, SCA_ProcessStatusRecord* shown,
                           const SCA_ProcessStatusRecord& record);
    // The row at a point of the viewport, or outside when none is there.
    int VisibleRow(const QPoint& point, int outside) const;

    // The rows by process id: a poll of thousands of rows then formats only the few values
    // that moved. Every row in the view is here (a row is filled before it shows, and the rows
    // of processes that went are forgotten before the view drops them).
    std::unordered_map<uint32_t, ShownRow> m_Shown;
};
