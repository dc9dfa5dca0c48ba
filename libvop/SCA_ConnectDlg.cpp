// SPDX-License-Identifier: MIT
#include "libvop/SCA_ConnectDlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "libmor/SCA_String.h"
#include "libvop/SCA_IconEngine.h"

SCA_ConnectDlg::SCA_ConnectDlg(QWidget* parent, const QString& title, const QString& iconPath,
                               const char* host, uint16_t port, const char* user,
                               const char* password)
    : QDialog(parent) {
    setWindowTitle(title);
    auto* icon = new QLabel(this);
    icon->setPixmap(SCA_IconEngine::Load(iconPath).pixmap(QSize(48, 48), devicePixelRatioF()));
    icon->setAlignment(Qt::AlignTop);

    m_Host = new QLineEdit(QString::fromUtf8(host != nullptr ? host : ""), this);
    m_Port = new QSpinBox(this);
    m_Port->setRange(1, 65535);
    m_Port->setValue(port != 0 ? port : 1);
    m_User = new QLineEdit(QString::fromUtf8(user != nullptr ? user : ""), this);
    m_Password = new QLineEdit(QString::fromUtf8(password != nullptr ? password : ""), this);
    m_Password->setEchoMode(QLineEdit::Password);
    for (QLineEdit* edit : {m_Host, m_User, m_Password}) {
        edit->setMaxLength(255);
    }

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Server:"), m_Host);
    form->addRow(QStringLiteral("Port:"), m_Port);
    form->addRow(QStringLiteral("User name:"), m_User);
    form->addRow(QStringLiteral("Password:"), m_Password);
    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addSpacing(12);
    top->addLayout(form, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Connect"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    setMinimumWidth(380);
}

int SCA_ConnectDlg::GetData(char* host, uint32_t hostSize, uint16_t* port, char* user,
                            uint32_t userSize, char* password, uint32_t passwordSize) const {
    const QByteArray hostText = m_Host->text().trimmed().toUtf8();
    if (hostText.isEmpty()) {
        return 0;
    }
    SCA_StrnCpy(host, hostText.constData(), hostSize);
    *port = static_cast<uint16_t>(m_Port->value());
    SCA_StrnCpy(user, m_User->text().trimmed().toUtf8().constData(), userSize);
    SCA_StrnCpy(password, m_Password->text().toUtf8().constData(), passwordSize);
    return 1;
}
