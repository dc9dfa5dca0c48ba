// SPDX-License-Identifier: MIT
// The client's entry: the main window, or a detached viewer of one monitor or report.
#include <cstdio>
#include <cstdlib>

#include "korvac/kit/ParseMainCommandLine.h"
#include "korvac/kit/SCA_ClientSession.h"
#include "korvac/kit/SCA_TerminationRequest.h"
#include "korvac/kit/SCA_ViewerCommand.h"
#include "korvac/main/SCA_SrvApplication.h"
#include "korvac/main/SCA_SrvGui.h"
#include "korvac/viewer/SCA_VdmGui.h"
#include "korvac/viewer/SCA_VdrGui.h"
#include "korvac/viewer/SCA_ViewerProcess.h"
#include "libmor/SCA_Limits.h"
#include "libmor/SCA_ProgramOptions.h"
#include "libmor/SCA_System.h"
#include "model/SCA_ConfigObj.h"

namespace {

// A viewer process: the viewer runs its one window in place of the main window.
template <typename Viewer>
int RunViewer(SCA_SrvApplication* app, int argc, char** argv) {
    const SCA_ViewerProcess process;
    Viewer viewer(app);
    return viewer.DoProcess(argc, argv);
}

constexpr const char* kMaxReplyParam = "max_reply";

// The options of the main window and of the detached viewers.
constexpr tagSCA_PROGRAM_OPTION kOptions[] = {
    {"conf_name", SCA_OptionValue::Text, "NAME", "the local configuration's name (default korva)"},
    {"update", SCA_OptionValue::Text, "FILE", "delete FILE (a finished update's file) at start"},
    {"no_delete_reports", SCA_OptionValue::None, nullptr, "never delete reports"},
    {"vdm", SCA_OptionValue::Text, "ID", "show only the monitor ID (a detached viewer)"},
    {"vdr", SCA_OptionValue::Text, "ID", "show only the report ID (a detached viewer)"},
    {"counter", SCA_OptionValue::Text, "ID", "with -vdm: only that counter of the monitor"},
    {"pid", SCA_OptionValue::Text, "PID", "with -vdm: only that process of the monitor"},
    {"screen", SCA_OptionValue::Text, "N", "with -vdm or -vdr: the screen to open on"},
    {"host", SCA_OptionValue::Text, "HOST", "with -vdm or -vdr: the service's computer"},
    {"port", SCA_OptionValue::Port, "PORT", "with -vdm or -vdr: the service's port"},
    {"user", SCA_OptionValue::Text, "NAME", "with -vdm or -vdr: the login user"},
    {"password", SCA_OptionValue::Text, "TEXT",
     "with -vdm or -vdr: the login password (every local user sees it; see below)"},
    {"max_reply", SCA_OptionValue::Text, "BYTES",
     "the largest reply taken from the service (default 4194304)"},
};

constexpr const char* kSummary =
    "The Korvanta desktop client: connects to a korvas service, logs in and shows\n"
    "its monitors and reports.";

constexpr const char* kEpilogue =
    "The first login to a new service: user admin, with the password in the\n"
    "service's initial-password file.\n"
    "\n"
    "A viewer (-vdm, -vdr) reads its login password from the environment variable\n"
    "KORVANTA_PASSWORD, which the main window sets for the viewers it starts;\n"
    "without it the viewer asks. A -password on the command line is visible to\n"
    "every local user (in the process list).\n"
    "\n"
    "Exit status: 0 ended normally, 1 failed (no display, another client already\n"
    "runs, the window could not start), 2 bad command line.\n";

bool IsSet(const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr && value[0] != '\0';
}

bool HasDisplay() {
    return IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY") || IsSet("QT_QPA_PLATFORM");
}

} // namespace

int main(int argc, char** argv) {
    // Before the application object: help and refusals need no display.
    const SCA_ProgramOptions options("korvac", kSummary, kOptions, kEpilogue);
    const SCA_ProgramAction action = options.Check(argc, argv, stdout, stderr);
    if (action != SCA_ProgramAction::Run) {
        return SCA_ProgramOptions::ExitStatus(action);
    }
    if (!HasDisplay()) {
        // Qt would abort with a core dump; say what is missing instead.
        std::fprintf(stderr, "korvac: no display (neither DISPLAY nor WAYLAND_DISPLAY is set, "
                             "and no QT_QPA_PLATFORM is chosen)\n");
        return SCA_EXIT_FAILURE;
    }
    SCA_ConfigObj params("Params", nullptr);
    if (!SCA_InitSystem(SCA_ALL_ONES)) {
        std::fprintf(stderr, "Cannot initialize the SCA platform library.\n");
        return 1;
    }
    int result = 0;
    {
        SCA_SrvApplication app(argc, argv, 0x40304);
        ParseMainCommandLine(&params, argc, argv);
        if (params.IsFieldExists(kMaxReplyParam)) {
            uint32_t maxReply = 0;
            if (!SCA_ViewerCommand::ReadNumber(&params, kMaxReplyParam, &maxReply)) {
                std::fprintf(stderr, "korvac: -max_reply takes a number of bytes\n");
                return SCA_ProgramOptions::ExitStatus(SCA_ProgramAction::ExitUsage);
            }
            SCA_ClientSession::SetMaxReplyBytes(maxReply);
        }
        if (params.IsFieldExists(SCA_ViewerCommand::kMonitorParam)) {
            result = RunViewer<SCA_VdmGui>(&app, argc, argv);
        } else if (params.IsFieldExists(SCA_ViewerCommand::kReportParam)) {
            result = RunViewer<SCA_VdrGui>(&app, argc, argv);
        } else {
            // Hiding the window to the tray must not end the program.
            QApplication::setQuitOnLastWindowClosed(false);
            // The session or the computer ending ends the client as closing its window does,
            // with its settings and known servers saved.
            const SCA_TerminationRequest termination(&QCoreApplication::quit);
            auto* window = new SCA_SrvGui(&app);
            app.SetMainWindow(window);
            result = window->Run(argc, argv);
            app.SetMainWindow(nullptr);
            delete window;
        }
    }
    return result != 0 ? 0 : 1;
}
