// SPDX-License-Identifier: MIT
#pragma once

#include <memory>

class QWidget;
class SCA_ModalHook;
class SCA_TerminationRequest;

// What a viewer process sets up around its viewer, for its whole run.
//
// - A termination request (SIGTERM, SIGINT, SIGHUP: the session ending, Ctrl+C) closes the
//   viewer's windows, so the viewer ends as when its window is closed, instead of being killed
//   in the middle of its work; from then on it opens no box and no window.
// - Without a display a user could see (the "offscreen" and "minimal" platforms) no one can
//   answer a box: boxes are written to standard error ("korvac: <title>: <text>") and answered
//   with their default, dialogs are refused, and the window the viewer shows is named there
//   ("korvac: showing "<title>""). A viewer that fails then ends instead of waiting forever.
class SCA_ViewerProcess {
public:
    SCA_ViewerProcess();
    ~SCA_ViewerProcess();
    SCA_ViewerProcess(const SCA_ViewerProcess&) = delete;
    SCA_ViewerProcess& operator=(const SCA_ViewerProcess&) = delete;

    // 1 when the application runs without a display a user could see.
    static int IsHeadless();
    // 1 once a termination request arrived.
    static int IsTerminating();
    // Names a shown window on standard error when headless.
    static void AnnounceWindow(const QWidget* window);

private:
    std::unique_ptr<SCA_ModalHook> m_Hook;
    SCA_ModalHook* m_Previous = nullptr;
    std::unique_ptr<SCA_TerminationRequest> m_Termination;
};
