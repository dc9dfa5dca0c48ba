// SPDX-License-Identifier: MIT
#pragma once

#include <QTreeWidget>
#include <memory>

#include "libmor/SCA_Object.h"

class QMenu;
class SCA_SrvGui;
class SCA_TezConfigUser;
class SCA_TreeRows;

// The servers the client has connected to, from the client configuration's known servers: a
// double click connects, the context menu connects, orders and forgets them.
class SCA_SrvConnectView : public QTreeWidget, public SCA_Object {
    Q_OBJECT
public:
    SCA_SrvConnectView(QWidget* parent, SCA_SrvGui* window);
    ~SCA_SrvConnectView() override;

    // Refills the list; the row of host (may be null or empty: none) is selected. 1.
    int Refresh(const char* host);
    // The context menu's entries, built fresh (the caller owns it).
    QMenu* CreateContextMenu();

public slots:
    void ConnectClicked(QTreeWidgetItem* item, int column);
    void MoveConnectUp();
    void MoveConnectDown();
    void DeleteConnect();
    void DeleteAllConnects();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // The host of the current row when it is selected; empty otherwise.
    QByteArray SelectedHost() const;

    SCA_SrvGui& m_Window;
    SCA_TezConfigUser& m_UserConfig;
    std::unique_ptr<SCA_TreeRows> m_Rows;
};
