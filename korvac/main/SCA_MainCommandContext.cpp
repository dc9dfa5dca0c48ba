// SPDX-License-Identifier: MIT
#include "korvac/main/SCA_MainCommandContext.h"

#include <QMenu>

#include "korvac/kit/SCA_ClientSession.h"
#include "libmor/SCA_Report.h"
#include "libmor/SCA_String.h"
#include "libvop/SCA_IconEngine.h"
#include "libvop/SCA_ModalHook.h"

int SCA_MainCommandContext::CheckConnected(int showMessage) const {
    if (Session->IsConnected()) {
        return 1;
    }
    if (showMessage) {
        ShowMessage(Window, SCA_LEVEL_ERROR,
                    "Korvanta Client is not connected.\nPress the 'Connect' button to connect to "
                    "a server.");
    }
    return 0;
}

int SCA_MainCommandContext::ShowMessage(QWidget* parent, uint32_t type, const char* text) {
    const char* title = type == SCA_LEVEL_INFO      ? "Message"
                        : type == SCA_LEVEL_WARNING ? "Warning"
                                                    : "Error";
    // At most 511 bytes, as the boxes always were; cut on a character boundary.
    char bounded[512];
    SCA_StrnCpy(bounded, text != nullptr ? text : "", sizeof(bounded));
    SCA_ShowMessageBox(parent, type, QString::fromLatin1(title), QString::fromUtf8(bounded));
    return 1;
}

QAction* SCA_MainCommandContext::AddMenuAction(QMenu* menu, const char* text, const char* icon) {
    QAction* action = menu->addAction(QString::fromLatin1(text));
    if (icon != nullptr) {
        action->setIcon(
            SCA_IconEngine::Load(QStringLiteral(":/images/%1").arg(QLatin1String(icon))));
    }
    return action;
}
