// SPDX-License-Identifier: MIT
#pragma once

#include <QTreeWidget>

class SCA_SrvGui;

// The main window's tree of the service's monitors, one row per monitor.
class SCA_MonitorsView : public QTreeWidget {
    Q_OBJECT
public:
    // The style sheet that every tree of the client shares.
    static const char* const kSelectionStyle;
    // What every list of the client's windows shares: that style sheet, flat rows of one
    // height, no sorting, the focus over the whole row and columns that stay in place.
    static void SetListLook(QTreeWidget* tree);

    SCA_MonitorsView(SCA_SrvGui* window, QWidget* parent);

signals:
    // Return or Enter on a row: open it, as a double click does.
    void OpenRequested();
    // The Delete key.
    void DeleteRequested();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    // Return, Enter, Delete, and the menu key or Shift+F10 for the context menu at the current
    // row; every other key moves and selects as in any tree.
    void keyPressEvent(QKeyEvent* event) override;
    // Without rows the pane says why: not connected, or a service without monitors.
    void paintEvent(QPaintEvent* event) override;

private:
    SCA_SrvGui* m_Window;
};
