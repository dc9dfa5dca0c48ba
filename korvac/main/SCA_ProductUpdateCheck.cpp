// SPDX-License-Identifier: MIT
#include "korvac/main/SCA_ProductUpdateCheck.h"

#include <QDialog>
#include <QMenuBar>
#include <QStackedWidget>
#include <QToolButton>
#include <cstdio>
#include <new>

#include "libmor/SCA_Report.h"
#include "libmor/SCA_String.h"
#include "libtez/SCA_UpdateManager.h"
#include "libvop/SCA_ModalHook.h"
#include "libvop/SCA_UpdateDlg.h"
#include "model/SCA_TezConfig.h"

namespace {

constexpr char kUpdateButtonStyle[] =
    "QToolButton { color: #706050; font-weight: bold; border: 1px solid #B0A890; border-radius: "
    "1px; background-color: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop: 0.0 #fff0d0, stop: "
    "0.4 #f0e080, stop: 0.6 #f0e080, stop: 1.0 #fff0d0); } QToolButton:hover { "
    "background-color: #f8f0d0; }";

} // namespace

SCA_ProductUpdateCheck::SCA_ProductUpdateCheck(const SCA_MainCommandContext& context)
    : QObject(context.Window), m_Context(context) {
    setObjectName(QStringLiteral("ProductUpdateCheck"));
}

SCA_ProductUpdateCheck::~SCA_ProductUpdateCheck() {
    StopManager();
}

void SCA_ProductUpdateCheck::AddButton(QMenuBar* menuBar) {
    m_CornerStack = new QStackedWidget(menuBar);
    m_UpdateButton = new QToolButton(m_CornerStack);
    m_UpdateButton->setObjectName(QStringLiteral("UpdateButton"));
    m_UpdateButton->setText(QStringLiteral(" - Update - "));
    m_UpdateButton->setStyleSheet(QString::fromLatin1(kUpdateButtonStyle));
    connect(m_UpdateButton, &QToolButton::clicked, this, &SCA_ProductUpdateCheck::CheckForUpdates);
    m_CornerStack->addWidget(m_UpdateButton);
    menuBar->setCornerWidget(m_CornerStack, Qt::TopRightCorner);
    m_UpdateButton->hide();
}

void SCA_ProductUpdateCheck::StopManager() {
    SCA_Object::Destroy(m_UpdateManager);
    m_UpdateManager = nullptr;
}

void SCA_ProductUpdateCheck::Cancel() {
    StopManager();
    if (m_UpdateButton != nullptr) {
        m_UpdateButton->hide();
    }
}

void SCA_ProductUpdateCheck::Start() {
    StopManager();
    m_UpdateManager = new (std::nothrow)
        SCA_UpdateManager(m_Context.ServerConfig, m_Context.ServerUserConfig, m_Context.Params);
    if (m_UpdateManager == nullptr || !m_UpdateManager->IsConstructed()) {
        StopManager();
        return;
    }
    m_ProductUpdate.SetUrl(m_Context.LocalConfig->GetUpdateResourceName());
    m_UpdateManager->GetUpdateEx(&m_ProductUpdate);
}

void SCA_ProductUpdateCheck::Collect() {
    if (m_UpdateManager == nullptr || m_UpdateManager->GetProcessStatus() == SCA_PROCESS_RUNNING) {
        return;
    }
    const bool newer =
        m_UpdateManager->GetProcessStatus() == SCA_PROCESS_STOPPED &&
        SCA_UpdateManager::GetAbsVersion(SCA_TEZ_PRODUCT_VERSION) < m_ProductUpdate.GetAbsVersion();
    if (newer) {
        m_CornerStack->setCurrentWidget(m_UpdateButton);
        m_UpdateButton->show();
    }
    m_UpdateManager->StopAll();
    StopManager();
    SCA_CheckProductUpdate(m_Context.ServerConfig, m_ProductUpdate, newer);
}

void SCA_ProductUpdateCheck::CheckForUpdates() {
    SCA_UpdateDlg dialog(m_Context.Window, m_Context.LocalConfig, m_Context.UserConfig,
                         m_Context.Params);
    dialog.SetUpdate(m_ProductUpdate);
    if (dialog.GetUpdate()) {
        if (SCA_ExecDialog(&dialog) == QDialog::Accepted) {
            m_Context.Window->close();
        }
        return;
    }
    // The check runs at each connection to a service; the user hears what it found.
    char text[256];
    if (m_ProductUpdate.GetVersion()[0] == '\0') {
        SCA_StrnCpy(text,
                    "No update information is available yet: updates are looked for at each "
                    "connection to Korvanta Server.",
                    sizeof(text));
    } else {
        std::snprintf(text, sizeof(text), "Korvanta Client %s is up to date.",
                      SCA_TEZ_PRODUCT_VERSION);
    }
    SCA_MainCommandContext::ShowMessage(m_Context.Window, SCA_LEVEL_INFO, text);
}
