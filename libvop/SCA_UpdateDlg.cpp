// SPDX-License-Identifier: MIT
#include "libvop/SCA_UpdateDlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstring>

#include "libmor/SCA_Report.h"
#include "model/SCA_TezConfig.h"

SCA_UpdateDlg::SCA_UpdateDlg(QWidget* parent, SCA_TezConfig* config, SCA_TezConfigUser* userConfig,
                             SCA_ConfigObj* params)
    : QDialog(parent), m_Config(config), m_UserConfig(userConfig), m_Params(params) {
    setWindowTitle(QStringLiteral("Product Update"));
}

void SCA_UpdateDlg::SetUpdate(const SCA_Update& update) {
    m_Update = update;
}

int SCA_UpdateDlg::GetUpdate() {
    const char* version = m_Update.GetVersion();
    if (version[0] == '\0' || std::strcmp(version, SCA_TEZ_PRODUCT_VERSION) == 0) {
        return 0;
    }
    if (m_Config != nullptr && m_Update.GetProductType() != m_Config->GetProductType()) {
        return 0;
    }
    if (layout() == nullptr) {
        auto* text = new QLabel(this);
        text->setTextFormat(Qt::PlainText);
        text->setText(QStringLiteral("%1 %2 is available (%3).\nThis computer runs version %4.")
                          .arg(QString::fromUtf8(m_Update.GetProductName()),
                               QString::fromUtf8(version), QString::fromUtf8(m_Update.GetDate()),
                               QString::fromLatin1(SCA_TEZ_PRODUCT_VERSION)));
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
        buttons->addButton(QStringLiteral("Install"), QDialogButtonBox::AcceptRole);
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        auto* box = new QVBoxLayout(this);
        box->addWidget(text);
        box->addWidget(buttons);
    }
    return 1;
}

int SCA_CheckProductUpdate(const SCA_TezConfig* config, const SCA_Update& update, bool newer) {
    if (!newer || update.GetVersion()[0] == '\0' ||
        (config != nullptr && update.GetProductType() != config->GetProductType())) {
        return 0;
    }
    SCA_GetReportFunction(__FILE__, __LINE__)(
        SCA_LEVEL_INFO,
        "Korvanta Client %s is available: Help > Check For Updates ... installs it.",
        update.GetVersion());
    return 1;
}
