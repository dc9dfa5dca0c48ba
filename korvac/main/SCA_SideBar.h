// SPDX-License-Identifier: MIT
#pragma once

#include <QSplitter>
#include <cstdint>

class QTreeWidgetItem;
class SCA_KorvantaServerStatus;
class SCA_SrvConnectView;
class SCA_StatusList;
class SCA_TezConfigUser;

// The main window's left pane: six counts of the connected service over the known servers.
class SCA_SideBar : public QSplitter {
    Q_OBJECT
public:
    static constexpr int kRowCount = 6;

    SCA_SideBar(QWidget* parent, SCA_TezConfigUser* userConfig);

    // The six counts of the service's status. 1.
    int UpdateStatus(const SCA_KorvantaServerStatus& status);
    // Empties every value. 1.
    int ResetStatus();

    SCA_StatusList* GetStatusList() const { return m_StatusList; }
    QTreeWidgetItem* GetRow(int index) const;
    SCA_SrvConnectView* GetConnectView() const { return m_ConnectView; }

private:
    void CreateStatusList();
    int AddStatusItem(const char* icon, const char* label, QTreeWidgetItem** out);

    SCA_StatusList* m_StatusList = nullptr;
    QTreeWidgetItem* m_Rows[kRowCount] = {};
    SCA_SrvConnectView* m_ConnectView = nullptr;
};
