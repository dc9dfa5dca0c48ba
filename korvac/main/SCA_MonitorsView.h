// SPDX-License-Identifier: MIT
#pragma once

#include <QContextMenuEvent>
#include <QString>
#include <QTreeWidget>
#include <cstdint>

class SCA_ClientSession;

// The main window's tree of the service's monitors, one row per monitor.
class SCA_MonitorsView : public QTreeWidget {
    Q_OBJECT
public:
    // The session tells whether the empty list is that of a service or of no connection.
    SCA_MonitorsView(const SCA_ClientSession* session, QWidget* parent);

    // The Status column's text of a monitor: its run state, and whether it counts errors or
    // warnings.
    static QString MonitorStateText(uint32_t state, uint32_t runState);

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
    const SCA_ClientSession& m_Session;
};
