// SPDX-License-Identifier: MIT
#include "korvac/monitor/SCA_MonitorWindows.h"

#include "korvac/monitor/SCA_SrvCounterDlg.h"
#include "korvac/monitor/SCA_SrvMonStatusDlg.h"
#include "libvop/SCA_ModalHook.h"

namespace {

constexpr int kWithMinimizeButton = 1;

// Through the hook but with the window's own frame: it can be maximised.
template <typename Window>
int RunStarted(Window* window) {
    if (!window->StartProcess()) {
        return 0;
    }
    SCA_GetModalHook()->Exec(window);
    window->StopProcess();
    return 1;
}

} // namespace

int SCA_RunMonitorStatusWindow(QWidget* parent, const SCA_WindowContext& context,
                               uint32_t monitorId) {
    SCA_SrvMonStatusDlg window(parent, context, monitorId);
    return RunStarted(&window);
}

int SCA_RunCounterWindow(QWidget* parent, const SCA_WindowContext& context, uint32_t monitorId,
                         uint32_t counterId) {
    SCA_SrvCounterDlg window(parent, context, monitorId, counterId, kWithMinimizeButton);
    return RunStarted(&window);
}
