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

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    // Without rows the pane says why: not connected, or a service without monitors.
    void paintEvent(QPaintEvent* event) override;

private:
    SCA_SrvGui* m_Window;
};
