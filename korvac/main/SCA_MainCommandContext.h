// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

class QAction;
class QMenu;
class QWidget;
class SCA_ClientSession;
class SCA_ConfigObj;
class SCA_TezConfig;
class SCA_TezConfigUser;

// What the main window's groups of commands work with: its configurations, the session, the
// window as the parent of their dialogs and boxes, and the count that holds its poll still
// while one of them runs a modal window.
struct SCA_MainCommandContext {
    QWidget* Window = nullptr;
    SCA_TezConfig* LocalConfig = nullptr;
    SCA_TezConfigUser* UserConfig = nullptr;
    SCA_TezConfig* ServerConfig = nullptr;
    SCA_TezConfigUser* ServerUserConfig = nullptr;
    SCA_ConfigObj* Params = nullptr;
    const char* ConfigName = "";
    SCA_ClientSession* Session = nullptr;
    int* UpdateLock = nullptr;

    // 1 when connected; else 0, and the user is told when showMessage is set.
    int CheckConnected(int showMessage) const;
    // A modal box of the type (3 information, 4 warning, other critical); the text is data.
    static int ShowMessage(QWidget* parent, uint32_t type, const char* text);
    // A menu entry with an icon of the client's images (none when icon is null).
    static QAction* AddMenuAction(QMenu* menu, const char* text, const char* icon);
};
