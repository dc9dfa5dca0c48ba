// SPDX-License-Identifier: MIT
#include "libvop/SCA_OptionsDlg.h"

#include <QCheckBox>
#include <QColor>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSet>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "libvop/SCA_ModalHook.h"
#include "model/SCA_KeyCommand.h"
#include "model/SCA_Sound.h"
#include "model/SCA_SoundList.h"
#include "model/SCA_TezConfigUser.h"

namespace {

constexpr const char* kGuiOptionNames[] = {
    SCA_OPTION_SHOW_MAIN_TOOLBAR, SCA_OPTION_SAVE_LAST_GUI_LAYOUT, SCA_OPTION_SHOW_VERBOSE_MESSAGES,
    SCA_OPTION_TRAY_ERRORS,       SCA_OPTION_TRAY_STATUS,          SCA_OPTION_MINIMIZE_TO_TRAY,
    SCA_OPTION_START_MINIMIZED,
};
constexpr char kNamesOnlyQuestion[] =
    "With the login mode \"User name only\" the service accepts any user name without a "
    "password, and whoever logs in can change its settings and read its secrets.\nAre you sure "
    "you want to save this login mode?";
constexpr const char* kColourLabels[SCA_OptionsDlg::kChartColours] = {
    "Text colour:", "Line colour:",   "Fill colour:",
    "Grid colour:", "Border colour:", "Background colour:"};

QLineEdit* TextEdit(QWidget* parent, const char* name, bool secret = false) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setMaxLength(255);
    if (secret) {
        edit->setEchoMode(QLineEdit::Password);
    }
    return edit;
}

QSpinBox* PortEdit(QWidget* parent, const char* name) {
    auto* edit = new QSpinBox(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setRange(1, 65535);
    return edit;
}

QString ColourText(uint32_t colour) {
    return QColor::fromRgb(colour & 0xFFFFFFu).name(QColor::HexRgb);
}

QTableWidget* Table(QWidget* parent, const char* name, const QStringList& headers) {
    auto* table = new QTableWidget(0, static_cast<int>(headers.size()), parent);
    table->setObjectName(QLatin1String(name));
    table->setHorizontalHeaderLabels(headers);
    table->horizontalHeader()->setStretchLastSection(true);
    table->verticalHeader()->setVisible(false);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    return table;
}

} // namespace

SCA_OptionsDlg::SCA_OptionsDlg(QWidget* parent, SCA_TezConfig* config,
                               SCA_TezConfigUser* userConfig, SCA_ConfigObj* params,
                               uint32_t pageMask)
    : QDialog(parent), m_Config(config), m_UserConfig(userConfig), m_Params(params) {
    (void)m_Config;
    (void)m_Params;
    setWindowTitle(QStringLiteral("Advanced Options"));
    m_Tabs = new QTabWidget(this);
    // Every page is built, so that FillDialog and UpdateConfig always have their widgets; the
    // mask decides which the user sees.
    const struct {
        uint32_t Bit;
        QWidget* Page;
        const char* Title;
    } pages[] = {
        {kServerPage, BuildServerPage(), "Server"},
        {kClientPage, BuildClientPage(), "Client"},
        {kReportsPage, BuildReportsPage(), "Reports"},
        {kChartsPage, BuildChartsPage(), "Charts"},
        {kShortcutsPage, BuildShortcutsPage(), "Keyboard"},
        {kSoundsPage, BuildSoundsPage(), "Sounds"},
        {kMailPage, BuildMailPage(), "Mail"},
    };
    for (const auto& page : pages) {
        if (pageMask & page.Bit) {
            m_Tabs->addTab(page.Page, QLatin1String(page.Title));
        } else {
            page.Page->setParent(this);
            page.Page->hide();
        }
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &SCA_OptionsDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_Tabs);
    layout->addWidget(buttons);
    resize(520, 420);
}

QWidget* SCA_OptionsDlg::BuildServerPage() {
    auto* page = new QWidget(this);
    auto* form = new QFormLayout(page);
    m_ControlPort = PortEdit(page, "ServerControlPort");
    m_ServerUser = TextEdit(page, "ServerUserName");
    m_ServerPassword = TextEdit(page, "ServerPassword", true);
    m_LogonMode = new QComboBox(page);
    m_LogonMode->setObjectName(QStringLiteral("ServerLogonMode"));
    m_LogonMode->addItems({QStringLiteral("User name only"),
                           QStringLiteral("Operating-system logon"),
                           QStringLiteral("User name and password")});
    m_OsLogon = new QCheckBox(QStringLiteral("Allow operating-system logon"), page);
    m_OsLogon->setObjectName(QStringLiteral("EnableOsLogon"));
    // The mode is the service's only while the operating-system logon is allowed; otherwise it
    // signs with the user and password below, and the list says so.
    m_LogonMode->setEnabled(false);
    connect(m_OsLogon, &QCheckBox::toggled, this, [this](bool allowed) {
        m_LogonMode->setEnabled(allowed);
        if (!allowed) {
            m_LogonMode->setCurrentIndex(static_cast<int>(SCA_KORVANTA_LOGIN_SIGNATURE));
        }
    });
    form->addRow(QStringLiteral("Control port:"), m_ControlPort);
    form->addRow(QString(), m_OsLogon);
    form->addRow(QStringLiteral("Login mode:"), m_LogonMode);
    form->addRow(QStringLiteral("User name:"), m_ServerUser);
    form->addRow(QStringLiteral("Password:"), m_ServerPassword);
    return page;
}

QWidget* SCA_OptionsDlg::BuildClientPage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    for (int i = 0; i < 7; ++i) {
        m_GuiOptions[i] = new QCheckBox(QLatin1String(kGuiOptionNames[i]), page);
        m_GuiOptions[i]->setObjectName(QLatin1String(kGuiOptionNames[i]));
        layout->addWidget(m_GuiOptions[i]);
    }
    layout->addStretch(1);
    return page;
}

QWidget* SCA_OptionsDlg::BuildReportsPage() {
    auto* page = new QWidget(this);
    auto* form = new QFormLayout(page);
    m_ReportTitle = TextEdit(page, "DefaultReportTitle");
    form->addRow(QStringLiteral("Default report title:"), m_ReportTitle);
    return page;
}

QWidget* SCA_OptionsDlg::BuildChartsPage() {
    auto* page = new QWidget(this);
    auto* form = new QFormLayout(page);
    const QRegularExpression pattern(QStringLiteral("#[0-9A-Fa-f]{6}"));
    for (int i = 0; i < kChartColours; ++i) {
        m_Colours[i] = new QLineEdit(page);
        m_Colours[i]->setObjectName(QStringLiteral("ChartColour%1").arg(i));
        m_Colours[i]->setValidator(new QRegularExpressionValidator(pattern, m_Colours[i]));
        form->addRow(QLatin1String(kColourLabels[i]), m_Colours[i]);
    }
    return page;
}

QWidget* SCA_OptionsDlg::BuildShortcutsPage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    m_Shortcuts = Table(page, "Shortcuts", {QStringLiteral("Command"), QStringLiteral("Key")});
    // A command's name reads on one line; the key takes what is left.
    m_Shortcuts->setWordWrap(false);
    m_Shortcuts->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    layout->addWidget(m_Shortcuts);
    return page;
}

QWidget* SCA_OptionsDlg::BuildSoundsPage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    m_Sounds = Table(page, "Sounds", {QStringLiteral("Name"), QStringLiteral("Sound file")});
    layout->addWidget(m_Sounds);
    auto* row = new QHBoxLayout;
    auto* add = new QPushButton(QStringLiteral("Add"), page);
    auto* remove = new QPushButton(QStringLiteral("Remove"), page);
    connect(add, &QPushButton::clicked, this,
            [this]() { m_Sounds->insertRow(m_Sounds->rowCount()); });
    connect(remove, &QPushButton::clicked, this, [this]() {
        if (m_Sounds->currentRow() >= 0) {
            m_Sounds->removeRow(m_Sounds->currentRow());
        }
    });
    row->addStretch(1);
    row->addWidget(add);
    row->addWidget(remove);
    layout->addLayout(row);
    return page;
}

QWidget* SCA_OptionsDlg::BuildMailPage() {
    auto* page = new QWidget(this);
    auto* form = new QFormLayout(page);
    m_EnableEmail = new QCheckBox(QStringLiteral("Send e-mail notifications"), page);
    m_EnableEmail->setObjectName(QStringLiteral("EnableEmail"));
    m_EmailServer = TextEdit(page, "EmailServer");
    m_EmailPort = PortEdit(page, "EmailServerPort");
    m_EmailAccount = TextEdit(page, "EmailAccount");
    m_EmailPassword = TextEdit(page, "EmailPassword", true);
    m_EmailAddress = TextEdit(page, "EmailAddress");
    m_EmailSecure = new QCheckBox(QStringLiteral("Secure connection"), page);
    m_EmailLogin = new QCheckBox(QStringLiteral("Server requires login"), page);
    form->addRow(QString(), m_EnableEmail);
    form->addRow(QStringLiteral("Mail server:"), m_EmailServer);
    form->addRow(QStringLiteral("Port:"), m_EmailPort);
    form->addRow(QStringLiteral("Account:"), m_EmailAccount);
    form->addRow(QStringLiteral("Password:"), m_EmailPassword);
    form->addRow(QStringLiteral("Address:"), m_EmailAddress);
    form->addRow(QString(), m_EmailSecure);
    form->addRow(QString(), m_EmailLogin);
    return page;
}

int SCA_OptionsDlg::FillDialog() {
    SCA_TezConfigUser& user = *m_UserConfig;
    m_ControlPort->setValue(user.GetServerControlPort());
    m_ServerUser->setText(QString::fromUtf8(user.GetServerUserName()));
    m_ServerPassword->setText(QString::fromUtf8(user.GetServerPassword()));
    m_OsLogon->setChecked(user.GetEnableOsLogon() != 0);
    m_LogonMode->setEnabled(m_OsLogon->isChecked());
    // What the service does now, never a stored mode that is not in effect.
    m_FilledLogonMode = user.GetEffectiveLogonMode();
    m_LogonMode->setCurrentIndex(m_FilledLogonMode <= SCA_KORVANTA_LOGIN_SIGNATURE
                                     ? static_cast<int>(m_FilledLogonMode)
                                     : static_cast<int>(SCA_KORVANTA_LOGIN_SIGNATURE));
    for (int i = 0; i < 7; ++i) {
        m_GuiOptions[i]->setChecked(user.GetAdvancedOption(kGuiOptionNames[i]) != 0);
    }
    m_ReportTitle->setText(QString::fromUtf8(user.GetDefaultReportTitle()));
    const uint32_t colours[kChartColours] = {
        user.GetChartTextColor(), user.GetChartLineColor(),   user.GetChartFillColor(),
        user.GetChartGridColor(), user.GetChartBorderColor(), user.GetChartBackgroundColor()};
    for (int i = 0; i < kChartColours; ++i) {
        m_Colours[i]->setText(ColourText(colours[i]));
    }
    m_Shortcuts->setRowCount(0);
    for (auto* node = user.GetKeyboardShortcuts()->GetHead(); node != nullptr;
         node = node->GetNext()) {
        const SCA_KeyCommand* command = node->GetItem();
        if (command == nullptr) {
            continue;
        }
        const int row = m_Shortcuts->rowCount();
        m_Shortcuts->insertRow(row);
        auto* name =
            new QTableWidgetItem(QString::fromUtf8(user.GetKeyDescription(command->GetCmdId())));
        name->setFlags(name->flags() & ~Qt::ItemIsEditable);
        name->setData(Qt::UserRole, command->GetCmdId());
        m_Shortcuts->setItem(row, 0, name);
        m_Shortcuts->setItem(row, 1, new QTableWidgetItem(QString::fromUtf8(command->GetKey())));
    }
    m_Sounds->setRowCount(0);
    for (auto* node = user.GetSoundList()->GetHead(); node != nullptr; node = node->GetNext()) {
        const SCA_Sound* sound = node->GetItem();
        if (sound == nullptr) {
            continue;
        }
        const int row = m_Sounds->rowCount();
        m_Sounds->insertRow(row);
        auto* name = new QTableWidgetItem(QString::fromUtf8(sound->GetSoundName()));
        name->setData(Qt::UserRole, sound->GetSoundId());
        m_Sounds->setItem(row, 0, name);
        m_Sounds->setItem(row, 1, new QTableWidgetItem(QString::fromUtf8(sound->GetFileName())));
    }
    m_EnableEmail->setChecked(user.GetEnableEmail() != 0);
    m_EmailServer->setText(QString::fromUtf8(user.GetEmailServer()));
    m_EmailPort->setValue(user.GetEmailServerPort());
    m_EmailAccount->setText(QString::fromUtf8(user.GetEmailAccount()));
    m_EmailPassword->setText(QString::fromUtf8(user.GetEmailPassword()));
    m_EmailAddress->setText(QString::fromUtf8(user.GetEmailAddress()));
    m_EmailSecure->setChecked(user.GetEmailSecureConnect() != 0);
    m_EmailLogin->setChecked(user.GetEmailLogin() != 0);
    return 1;
}

uint32_t SCA_OptionsDlg::ChosenLogonMode() const {
    return m_OsLogon->isChecked() ? static_cast<uint32_t>(m_LogonMode->currentIndex())
                                  : SCA_KORVANTA_LOGIN_SIGNATURE;
}

void SCA_OptionsDlg::accept() {
    if (ChosenLogonMode() == SCA_KORVANTA_LOGIN_NAMES &&
        m_FilledLogonMode != SCA_KORVANTA_LOGIN_NAMES &&
        SCA_AskMessageBox(this, SCA_LEVEL_WARNING, QStringLiteral("Warning"),
                          QString::fromLatin1(kNamesOnlyQuestion),
                          QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) {
        return;
    }
    // Two commands on one key would leave one of them unreachable.
    QSet<QString> keys;
    for (int row = 0; row < m_Shortcuts->rowCount(); ++row) {
        const QTableWidgetItem* key = m_Shortcuts->item(row, 1);
        const QString text = key != nullptr ? key->text().trimmed() : QString();
        if (!text.isEmpty() && keys.contains(text)) {
            SCA_ShowMessageBox(this, SCA_LEVEL_WARNING, QStringLiteral("Warning"),
                               QStringLiteral("The key %1 is used by two commands.").arg(text));
            return;
        }
        keys.insert(text);
    }
    QDialog::accept();
}

int SCA_OptionsDlg::UpdateConfig() {
    SCA_TezConfigUser& user = *m_UserConfig;
    user.SetServerControlPort(static_cast<uint16_t>(m_ControlPort->value()));
    user.SetServerUserName(m_ServerUser->text().toUtf8().constData());
    user.SetServerPassword(m_ServerPassword->text().toUtf8().constData());
    // Without the operating-system logon the stored mode is not in effect and stays as it was.
    if (m_OsLogon->isChecked()) {
        user.SetServerLogonMode(ChosenLogonMode());
    }
    user.SetEnableOsLogon(m_OsLogon->isChecked() ? 1 : 0);
    for (int i = 0; i < 7; ++i) {
        user.SetAdvancedOption(kGuiOptionNames[i], m_GuiOptions[i]->isChecked() ? 1 : 0);
    }
    user.SetDefaultReportTitle(m_ReportTitle->text().toUtf8().constData());
    uint32_t colours[kChartColours];
    for (int i = 0; i < kChartColours; ++i) {
        const QColor colour(m_Colours[i]->text());
        colours[i] = colour.isValid() ? (colour.rgb() & 0xFFFFFFu) : 0;
    }
    user.SetChartTextColor(colours[0]);
    user.SetChartLineColor(colours[1]);
    user.SetChartFillColor(colours[2]);
    user.SetChartGridColor(colours[3]);
    user.SetChartBorderColor(colours[4]);
    user.SetChartBackgroundColor(colours[5]);

    auto* node = user.GetKeyboardShortcuts()->GetHead();
    for (int row = 0; row < m_Shortcuts->rowCount() && node != nullptr; ++row) {
        SCA_KeyCommand* command = node->GetItem();
        const QTableWidgetItem* key = m_Shortcuts->item(row, 1);
        if (command != nullptr && key != nullptr) {
            command->SetKey(key->text().trimmed().toUtf8().constData());
        }
        node = node->GetNext();
    }

    SCA_SoundList* sounds = user.GetSoundList();
    sounds->ClearAll();
    uint32_t nextId = 1;
    for (int row = 0; row < m_Sounds->rowCount(); ++row) {
        const QTableWidgetItem* name = m_Sounds->item(row, 0);
        const QTableWidgetItem* file = m_Sounds->item(row, 1);
        if (name == nullptr || name->text().trimmed().isEmpty()) {
            continue;
        }
        auto* sound = new (std::nothrow) SCA_Sound();
        if (sound == nullptr) {
            return 0;
        }
        sound->SetSoundId(nextId++);
        sound->SetSoundName(name->text().trimmed().toUtf8().constData());
        sound->SetFileName(file != nullptr ? file->text().toUtf8().constData() : "");
        if (!sounds->AddSound(sound)) {
            delete sound;
            return 0;
        }
    }

    user.SetEnableEmail(m_EnableEmail->isChecked() ? 1 : 0);
    user.SetEmailServer(m_EmailServer->text().toUtf8().constData());
    user.SetEmailServerPort(static_cast<uint16_t>(m_EmailPort->value()));
    user.SetEmailAccount(m_EmailAccount->text().toUtf8().constData());
    user.SetEmailPassword(m_EmailPassword->text().toUtf8().constData());
    user.SetEmailAddress(m_EmailAddress->text().toUtf8().constData());
    user.SetEmailSecureConnect(m_EmailSecure->isChecked() ? 1 : 0);
    user.SetEmailLogin(m_EmailLogin->isChecked() ? 1 : 0);
    return 1;
}
