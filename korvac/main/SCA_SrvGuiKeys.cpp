// SPDX-License-Identifier: MIT
// Keyboard shortcuts of the client configuration and the commands they run.
#include <QKeyEvent>
#include <QKeySequence>
#include <cstring>

#include "korvac/main/SCA_MainHelp.h"
#include "korvac/main/SCA_MainLayout.h"
#include "korvac/main/SCA_MainMonitorCommands.h"
#include "korvac/main/SCA_MonitorsView.h"
#include "korvac/main/SCA_SrvGui.h"
#include "libmor/SCA_String.h"

void SCA_SrvGui::keyPressEvent(QKeyEvent* event) {
    ProcessKeyCommand(event);
}

int SCA_SrvGui::ProcessKeyCommand(QKeyEvent* event) {
    if (event == nullptr) {
        return 0;
    }
    // A digit of the keypad is the same shortcut as the digit above the letters.
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const QKeySequence sequence(QKeyCombination(modifiers, static_cast<Qt::Key>(event->key())));
    char text[256];
    SCA_StrnCpy(text, sequence.toString(QKeySequence::NativeText).toUtf8().constData(),
                sizeof(text));
    if (text[0] == '\0') {
        return 0;
    }
    for (auto* node = m_UserConfig.GetKeyboardShortcuts()->GetHead(); node != nullptr;
         node = node->GetNext()) {
        if (node->GetName() != nullptr && std::strcmp(node->GetName(), text) == 0) {
            SCA_KeyCommand* command = node->GetItem();
            if (command != nullptr) {
                RunKeyCommand(command->GetCmdId());
            }
            return 1;
        }
    }
    return 0;
}

int SCA_SrvGui::RunKeyCommand(uint32_t keyId) {
    // The ids are those of the configuration's key descriptions, which name what the user
    // bound: "Pause/Resume Monitor", "Save Report", ...
    switch (keyId) {
    case 1:
        // Pause and resume are one key: a paused monitor goes on.
        if (m_MonitorsView->IsSelectedMonitorPaused()) {
            m_MonitorCommands->StartMonitor();
        } else {
            m_MonitorCommands->PauseMonitor();
        }
        return 1;
    case 5:
        m_MonitorCommands->SaveReport();
        return 1;
    case 17:
        AdvancedOptions();
        return 1;
    case 18:
        ViewMessageConsole();
        return 1;
    case 20:
        m_Layout->SwitchLayout();
        return 1;
    case 21:
        m_Help->OnlineHelp();
        return 1;
    case 22:
        Exit();
        return 1;
    case 23:
        m_MonitorCommands->ResetMonitor();
        return 1;
    default:
        // "Add Counter" (11) belongs to a monitor's window, not to the main window.
        return 0;
    }
}
