// SPDX-License-Identifier: MIT
#pragma once

#include <QContextMenuEvent>
#include <QString>
#include <QTreeWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "libtez/SCA_KorvantaMonitorRow.h"

class QTreeWidgetItem;
class SCA_ClientSession;
class SCA_TreeRows;

// The main window's tree of the service's monitors, one row per monitor.
class SCA_MonitorsView : public QTreeWidget {
    Q_OBJECT
public:
    // The session tells whether the empty list is that of a service or of no connection.
    SCA_MonitorsView(const SCA_ClientSession* session, QWidget* parent);
    ~SCA_MonitorsView() override;

    // The Status column's text of a monitor: its run state, and whether it counts errors or
    // warnings.
    static QString MonitorStateText(uint32_t state, uint32_t runState);
    // "1 error", "2 errors".
    static QString CountText(uint32_t count, const char* one, const char* many);

    // The rows of a poll: the tree built anew (selection and scroll position kept), or, while
    // the set of monitors is the same, only the rows that changed since the rows kept last.
    void ShowRows(const std::vector<SCA_KorvantaMonitorRow>& rows, bool sameSet);
    // Keeps the rows just shown to compare the next poll's with; rows takes the ones they
    // replace.
    void KeepShownRows(std::vector<SCA_KorvantaMonitorRow>& rows) { m_ShownRows.swap(rows); }
    SCA_TreeRows* Rows() const { return m_Rows.get(); }

    // The monitor id a row carries; 0 for a row without a readable one.
    static uint32_t MonitorIdOf(const QTreeWidgetItem* item);
    // The current row while it is selected, else null; its monitor, else all ones.
    QTreeWidgetItem* SelectedMonitor() const;
    uint32_t SelectedMonitorId() const;
    bool IsSelectedMonitorPaused() const;
    // The ids of the selected rows, and of every row, in tree order.
    std::vector<uint32_t> SelectedMonitorIds() const;
    std::vector<uint32_t> AllMonitorIds() const;
    // Clears the selection and takes the keyboard focus from the tree; 1.
    int ClearMonitorSelection();

signals:
    // Return or Enter on a row: open it, as a double click does.
    void OpenRequested();
    // The Delete key.
    void DeleteRequested();
    // The context menu is asked for (a right click, the menu key, Shift+F10).
    void MenuAsked(QContextMenuEvent* event);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    // Return, Enter, Delete, and the menu key or Shift+F10 for the context menu at the current
    // row; every other key moves and selects as in any tree.
    void keyPressEvent(QKeyEvent* event) override;
    // Without rows the pane says why: not connected, or a service without monitors.
    void paintEvent(QPaintEvent* event) override;

private:
    // The Status column's tool tip of a monitor: its run state, and whether it counts errors or
    // warnings.
    static QString MonitorStateTip(const SCA_KorvantaMonitorRow& row);
    // Writes a monitor's row of the tree from the poll's rows (which outlive the call).
    static std::function<void(QTreeWidgetItem*, int, bool)>
    MonitorRowFill(const std::vector<SCA_KorvantaMonitorRow>& rows);

    const SCA_ClientSession& m_Session;
    std::unique_ptr<SCA_TreeRows> m_Rows;
    // The monitor rows the tree shows, as the poll that brought them read them.
    std::vector<SCA_KorvantaMonitorRow> m_ShownRows;
    // The ids the tree's rows were last given.
    QList<QVariant> m_ShownIds;
};
