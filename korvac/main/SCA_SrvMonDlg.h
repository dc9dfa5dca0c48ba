// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QString>

class QCheckBox;
class QLabel;
class QLineEdit;
class QVBoxLayout;
class SCA_ClientSession;
class SCA_SrvMonitor;
class SCA_TezConfigUser;
class SCA_ToolButton;

// Names a monitor and says whether it watches a remote computer; "Options ..." edits the same
// record's report and start settings. The record is the caller's: FillDialog reads it,
// SaveDialog (after an accepted run) writes the dialog's values back, and sending it to the
// service is the caller's step.
class SCA_SrvMonDlg : public QDialog {
    Q_OBJECT
public:
    // userConfig is handed on to the options dialog; session answers the system-account
    // question. Both, and monitor, are the caller's and outlive the dialog.
    SCA_SrvMonDlg(QWidget* parent, SCA_TezConfigUser* userConfig, SCA_ClientSession* session,
                  SCA_SrvMonitor* monitor, const QString& title);

    int FillDialog();
    int SaveDialog();

    QLineEdit* GetDescriptionEdit() const { return m_DescriptionEdit; }
    QCheckBox* GetRemoteCheck() const { return m_RemoteCheck; }
    QLineEdit* GetComputerEdit() const { return m_ComputerEdit; }
    SCA_ToolButton* GetOptionsButton() const { return m_OptionsButton; }
    SCA_ToolButton* GetOkButton() const { return m_OkButton; }
    SCA_ToolButton* GetCancelButton() const { return m_CancelButton; }

public slots:
    void RemoteMonitorClicked();
    void ShowAdvancedOptions();
    void Accept();

private:
    // Whether the user goes on after hearing that the service cannot reach remote computers
    // under the system account (asked only when the service says it runs under it).
    bool ConfirmSystemAccount();

    QVBoxLayout* m_MainLayout;
    SCA_TezConfigUser* m_UserConfig;
    SCA_ClientSession* m_Session;
    SCA_SrvMonitor* m_Monitor;
    QLabel* m_DescriptionLabel;
    QLineEdit* m_DescriptionEdit;
    QCheckBox* m_RemoteCheck;
    QLineEdit* m_ComputerEdit;
    SCA_ToolButton* m_OptionsButton;
    SCA_ToolButton* m_OkButton;
    SCA_ToolButton* m_CancelButton;
};
