// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <cstdint>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;
class QTabWidget;
class QTableWidget;
class SCA_ConfigObj;
class SCA_TezConfig;
class SCA_TezConfigUser;

// The options of a service and its client over one user configuration: the service's control
// port, login and logon, the client's display options, the default report title, the six chart
// colours, keyboard shortcuts, notification sounds and mail. FillDialog shows the
// configuration; UpdateConfig writes the shown values back (the caller does so once the dialog
// was accepted).
//
// The login mode list shows the mode the service uses (the signature unless the
// operating-system logon is allowed) and can be changed only together with that check box;
// switching to "User name only" must be confirmed, since any user name then logs in.
class SCA_OptionsDlg : public QDialog {
    Q_OBJECT
public:
    // Page bits of pageMask (4095 shows all).
    static constexpr uint32_t kServerPage = 0x001;
    static constexpr uint32_t kClientPage = 0x002;
    static constexpr uint32_t kReportsPage = 0x004;
    static constexpr uint32_t kChartsPage = 0x008;
    static constexpr uint32_t kShortcutsPage = 0x010;
    static constexpr uint32_t kSoundsPage = 0x020;
    static constexpr uint32_t kMailPage = 0x040;
    static constexpr int kChartColours = 6;

    SCA_OptionsDlg(QWidget* parent, SCA_TezConfig* config, SCA_TezConfigUser* userConfig,
                   SCA_ConfigObj* params, uint32_t pageMask);

    int FillDialog();
    int UpdateConfig();

    QTabWidget* GetTabs() const { return m_Tabs; }
    // The login mode the service will use once the shown values are saved.
    uint32_t ChosenLogonMode() const;

public slots:
    void accept() override;

private:
    QWidget* BuildServerPage();
    QWidget* BuildClientPage();
    QWidget* BuildReportsPage();
    QWidget* BuildChartsPage();
    QWidget* BuildShortcutsPage();
    QWidget* BuildSoundsPage();
    QWidget* BuildMailPage();

    SCA_TezConfig* m_Config;
    SCA_TezConfigUser* m_UserConfig;
    SCA_ConfigObj* m_Params;
    QTabWidget* m_Tabs = nullptr;

    QSpinBox* m_ControlPort = nullptr;
    QLineEdit* m_ServerUser = nullptr;
    QLineEdit* m_ServerPassword = nullptr;
    QComboBox* m_LogonMode = nullptr;
    QCheckBox* m_OsLogon = nullptr;
    // The service's login mode when the dialog was filled.
    uint32_t m_FilledLogonMode = 0;
    QCheckBox* m_GuiOptions[7] = {};
    QLineEdit* m_ReportTitle = nullptr;
    QLineEdit* m_Colours[kChartColours] = {};
    QTableWidget* m_Shortcuts = nullptr;
    QTableWidget* m_Sounds = nullptr;
    QCheckBox* m_EnableEmail = nullptr;
    QLineEdit* m_EmailServer = nullptr;
    QSpinBox* m_EmailPort = nullptr;
    QLineEdit* m_EmailAccount = nullptr;
    QLineEdit* m_EmailPassword = nullptr;
    QLineEdit* m_EmailAddress = nullptr;
    QCheckBox* m_EmailSecure = nullptr;
    QCheckBox* m_EmailLogin = nullptr;
};
