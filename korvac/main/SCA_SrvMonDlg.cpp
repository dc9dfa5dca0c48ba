// SPDX-License-Identifier: MIT
#include "korvac/main/SCA_SrvMonDlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QVBoxLayout>

#include "korvac/kit/SCA_ClientSession.h"
#include "korvac/main/SCA_SrvMonOptionsDlg.h"
#include "libmor/SCA_Report.h"
#include "libvop/SCA_IconEngine.h"
#include "libvop/SCA_ModalHook.h"
#include "libvop/SCA_ToolButton.h"
#include "model/SCA_SrvMonitor.h"

namespace {

constexpr int kWidth = 380;
constexpr int kHeight = 128;
constexpr int kRowHeight = 24;
constexpr int kMaxChars = 60;
constexpr int kOptionsWidth = 86;
constexpr int kButtonWidth = 60;
// GetServiceSystemAccountStatus: the service runs under the system account.
constexpr uint32_t kSystemAccount = 1;

constexpr char kSystemAccountText[] =
    "The Korvanta service is currently running under the default system account, which does "
    "not have permissions to access remote servers."
    " In order to be able to access remote servers, configure the Korvanta service to run under "
    "a user account with enough permissions to access all the required remote servers"
    " and add the user account to the 'Performance Monitor Users' group. Do you want to "
    "continue without configuring the user account?";

QLineEdit* NewEdit(QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setFixedHeight(kRowHeight);
    edit->setMaxLength(kMaxChars);
    return edit;
}

} // namespace

SCA_SrvMonDlg::SCA_SrvMonDlg(QWidget* parent, SCA_TezConfigUser* userConfig,
                             SCA_ClientSession* session, SCA_SrvMonitor* monitor,
                             const QString& title)
    : QDialog(parent), m_MainLayout(new QVBoxLayout(this)), m_UserConfig(userConfig),
      m_Session(session), m_Monitor(monitor),
      m_DescriptionLabel(new QLabel(QStringLiteral("Monitor Description:"), this)),
      m_DescriptionEdit(NewEdit(this)),
      m_RemoteCheck(new QCheckBox(QStringLiteral("Remote Monitor:"), this)),
      m_ComputerEdit(NewEdit(this)),
      m_OptionsButton(SCA_SrvMonOptionsDlg::NewButton(this, "Options ...", kOptionsWidth)),
      m_OkButton(SCA_SrvMonOptionsDlg::NewButton(this, "Ok", kButtonWidth)),
      m_CancelButton(SCA_SrvMonOptionsDlg::NewButton(this, "Cancel", kButtonWidth)) {
    setWindowTitle(title);
    m_DescriptionLabel->setFixedHeight(kRowHeight);
    m_RemoteCheck->setFixedHeight(kRowHeight);
    m_OptionsButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_OptionsButton->setIcon(SCA_IconEngine::Load(QStringLiteral(":/images/options_16px.png")));
    m_OptionsButton->setIconSize(QSize(16, 16));

    auto* grid = new QGridLayout;
    grid->addWidget(m_DescriptionLabel, 0, 0);
    grid->addWidget(m_DescriptionEdit, 0, 1);
    grid->addWidget(m_RemoteCheck, 1, 0);
    grid->addWidget(m_ComputerEdit, 1, 1);
    m_MainLayout->addLayout(grid, 1);
    m_MainLayout->addWidget(SCA_SrvMonOptionsDlg::NewSeparator(this));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_OptionsButton);
    buttons->addStretch(1);
    buttons->addWidget(m_OkButton);
    buttons->addWidget(m_CancelButton);
    m_MainLayout->addLayout(buttons);
    setFixedSize(kWidth, kHeight);
    m_CancelButton->setFocus(Qt::OtherFocusReason);

    connect(m_DescriptionEdit, &QLineEdit::returnPressed, this, &SCA_SrvMonDlg::Accept);
    connect(m_ComputerEdit, &QLineEdit::returnPressed, this, &SCA_SrvMonDlg::Accept);
    connect(m_RemoteCheck, &QCheckBox::clicked, this, &SCA_SrvMonDlg::RemoteMonitorClicked);
    connect(m_OptionsButton, &SCA_ToolButton::clicked, this, &SCA_SrvMonDlg::ShowAdvancedOptions);
    connect(m_OkButton, &SCA_ToolButton::clicked, this, &SCA_SrvMonDlg::Accept);
    connect(m_CancelButton, &SCA_ToolButton::clicked, this, &QDialog::reject);
}

int SCA_SrvMonDlg::FillDialog() {
    m_DescriptionEdit->setText(QString::fromUtf8(m_Monitor->GetDescription()));
    m_RemoteCheck->setChecked(m_Monitor->IsRemoteMonitor() != 0);
    m_ComputerEdit->setText(QString::fromUtf8(m_Monitor->GetComputerName()));
    RemoteMonitorClicked();
    return 1;
}

int SCA_SrvMonDlg::SaveDialog() {
    // The record's setters cut each text to its field on a character boundary.
    m_Monitor->SetDescription(m_DescriptionEdit->text().toUtf8().constData());
    m_Monitor->SetRemoteMonitor(m_RemoteCheck->isChecked() ? 1 : 0);
    m_Monitor->SetComputerName(m_ComputerEdit->text().toUtf8().constData());
    return 1;
}

void SCA_SrvMonDlg::RemoteMonitorClicked() {
    m_ComputerEdit->setEnabled(m_RemoteCheck->isChecked());
}

void SCA_SrvMonDlg::ShowAdvancedOptions() {
    SCA_SrvMonOptionsDlg options(this, m_UserConfig, QStringLiteral("Monitor Options"));
    if (options.FillDialog(m_Monitor) && SCA_ExecDialog(&options) == QDialog::Accepted) {
        options.SaveDialog(m_Monitor);
    }
}

bool SCA_SrvMonDlg::ConfirmSystemAccount() {
    uint32_t systemAccount = 0;
    const int known =
        m_Session != nullptr && m_Session->Command([&](SCA_KorvantaInterface& client) {
            return client.GetServiceSystemAccountStatus(&systemAccount);
        });
    if (!known || systemAccount != kSystemAccount) {
        return true;
    }
    return SCA_AskMessageBox(this, SCA_LEVEL_WARNING, QStringLiteral("Warning"),
                             QString::fromLatin1(kSystemAccountText),
                             QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void SCA_SrvMonDlg::Accept() {
    if (m_DescriptionEdit->text().isEmpty()) {
        SCA_ShowMessageBox(this, SCA_LEVEL_INFO, QStringLiteral("Message"),
                           QStringLiteral("Please, enter a monitor description."));
        return;
    }
    const bool remote = m_RemoteCheck->isChecked();
    if (remote && m_ComputerEdit->text().isEmpty()) {
        SCA_ShowMessageBox(this, SCA_LEVEL_INFO, QStringLiteral("Message"),
                           QStringLiteral("Please, enter a remote computer name."));
        return;
    }
    if (remote && !ConfirmSystemAccount()) {
        return;
    }
    QDialog::accept();
}
