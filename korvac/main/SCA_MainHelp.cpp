// SPDX-License-Identifier: MIT
#include "korvac/main/SCA_MainHelp.h"

#include <QAction>

#include "korvac/main/SCA_MainConnection.h"
#include "libvop/SCA_ModalHook.h"
#include "libvop/SCA_SrvAboutDlg.h"
#include "model/SCA_TezConfig.h"

SCA_MainHelp::SCA_MainHelp(const SCA_MainCommandContext& context,
                           const SCA_MainConnection* connection)
    : QObject(context.Window), m_Context(context), m_Connection(*connection) {
    setObjectName(QStringLiteral("Help"));
}

void SCA_MainHelp::ConnectEntry(QAction* action, void (SCA_MainHelp::*slot)()) {
    connect(action, &QAction::triggered, this, slot);
    const SCA_TezConfig* local = m_Context.LocalConfig;
    const char* address = slot == &SCA_MainHelp::OnlineHelp       ? local->GetOnlineHelpUrl()
                          : slot == &SCA_MainHelp::ReleaseNotes   ? local->GetReleaseNotesUrl()
                          : slot == &SCA_MainHelp::ProductWebPage ? local->GetProductPageUrl()
                                                                  : nullptr;
    if (address != nullptr && address[0] == '\0') {
        action->setEnabled(false);
        action->setToolTip(action->toolTip() + QStringLiteral(" - no address is set"));
    }
}

void SCA_MainHelp::AboutKorvantaServer() {
    if (!m_Context.CheckConnected(1)) {
        return;
    }
    SCA_SrvAboutDlg dialog(m_Context.Window, QStringLiteral(":/images/korva_64px.png"),
                           m_Connection.ServerProductType(),
                           QString::fromUtf8(m_Connection.ServerProductName()),
                           QString::fromUtf8(m_Connection.ServerVersion()));
    // Named as the entry that opens it.
    dialog.setWindowTitle(QString::fromLatin1(kAboutServerText));
    SCA_ExecDialog(&dialog);
}

void SCA_MainHelp::OnlineHelp() {
    SCA_OpenUrl(QString::fromUtf8(m_Context.LocalConfig->GetOnlineHelpUrl()));
}

void SCA_MainHelp::ReleaseNotes() {
    SCA_OpenUrl(QString::fromUtf8(m_Context.LocalConfig->GetReleaseNotesUrl()));
}

void SCA_MainHelp::ProductWebPage() {
    SCA_OpenUrl(QString::fromUtf8(m_Context.LocalConfig->GetProductPageUrl()));
}
