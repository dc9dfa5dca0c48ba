// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>

#include "libmor/SCA_Limits.h"
#include "libmor/SCA_Object.h"

class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class SCA_ClientSession;
class SCA_ConfigObj;
class SCA_StatusLabel;
class SCA_TezConfig;
class SCA_TezConfigUser;
class SCA_TezProcess;
struct SCA_WindowContext;

// One monitored process as the service last reported it: its process ids on the left and, for
// the one selected, its parent, start time, statistics and further properties on the right.
// It saves the same as a text report. It calls no service operation itself.
class SCA_SrvProcDetailsDlg : public QDialog, public SCA_Object {
    Q_OBJECT
public:
    // process is the caller's and outlives the dialog.
    SCA_SrvProcDetailsDlg(QWidget* parent, SCA_TezConfig* productConfig,
                          SCA_TezConfigUser* userConfig, SCA_ConfigObj* params,
                          SCA_TezProcess* process);

    // Fetches processId of the monitor and runs the dialog on it; "Cannot get process -
    // monitor:process" at level 5 when it cannot be fetched. 1 when the dialog ran.
    static int Run(QWidget* parent, const SCA_WindowContext& context, uint32_t monitorId,
                   uint32_t processId);

    int StartProcess();

    // The file a text report is offered under first: the user's folder, the process name made
    // file-name safe and a time stamp.
    QString DefaultReportPath() const;

    // What the tests read.
    uint32_t GetSelectedPid() const { return m_SelectedPid; }
    const char* GetProcessName() const { return m_ProcessName; }
    QTreeWidget* GetPidList() const { return m_PidList; }
    QTreeWidget* GetPropertyView() const { return m_PropertyView; }
    SCA_StatusLabel* GetStatusLabel() const { return m_StatusLabel; }

public slots:
    void PidClicked(QTreeWidgetItem* item, int column);
    void PidSelected(QTreeWidgetItem* item, int column);
    void SaveTextReport();

private:
    void FillPidList();
    void FillPropsView();
    void AddProperty(const QString& name, const QString& value);

    SCA_TezConfig* m_ProductConfig;
    SCA_TezConfigUser* m_UserConfig;
    SCA_ConfigObj* m_Params;
    SCA_TezProcess* m_Process;
    char m_ProcessName[256] = "";
    uint32_t m_SelectedPid = SCA_ALL_ONES;
    SCA_StatusLabel* m_StatusLabel = nullptr;
    QTreeWidget* m_PidList = nullptr;
    QTreeWidget* m_PropertyView = nullptr;
    QPushButton* m_CloseButton = nullptr;
};
