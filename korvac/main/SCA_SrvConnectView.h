// SPDX-License-Identifier: MIT
#pragma once

#include <QTreeWidget>
#include <memory>

#include "libmor/SCA_Object.h"

class QMenu;
class SCA_TezConfigUser;
class SCA_TreeRows;

// The servers the client has connected to, from the client configuration's known servers: a
// double click asks to connect to one, the context menu asks to connect, orders and forgets
// them. Which server is connected is the window's to say.
class SCA_SrvConnectView : public QTreeWidget, public SCA_Object {
    Q_OBJECT
public:
    SCA_SrvConnectView(QWidget* parent, SCA_TezConfigUser* userConfig);
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

signals:
    // A known server was chosen (double click).
    void HostChosen(const QByteArray& host);
    // "Connect ..." of the context menu.
    void ConnectAsked();
    // The known servers were reordered: the window refreshes the list with its connected one.
    void OrderChanged();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // The host of the current row when it is selected; empty otherwise.
    QByteArray SelectedHost() const;

    SCA_TezConfigUser& m_UserConfig;
    std::unique_ptr<SCA_TreeRows> m_Rows;
};
