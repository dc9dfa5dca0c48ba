// The client's entry: the main window, or a detached viewer of one monitor or report.
#include <cstdio>

#include "korvac/ParseMainCommandLine.h"
#include "korvac/SCA_SrvApplication.h"
#include "korvac/SCA_SrvGui.h"
#include "korvac/SCA_VdmGui.h"
#include "korvac/SCA_VdrGui.h"
#include "korvac/SCA_ViewerCommand.h"
#include "korvac/SCA_ViewerProcess.h"
#include "libmor/SCA_Limits.h"
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

} // namespace

int main(int argc, char** argv) {
    SCA_ConfigObj params("Params", nullptr);
    if (!SCA_InitSystem(SCA_ALL_ONES)) {
        std::printf("Cannot initialize the SCA platform library.\n");
        return 1;
    }
    int result = 0;
    {
        SCA_SrvApplication app(argc, argv, 0x40304);
        ParseMainCommandLine(&params, argc, argv);
        if (params.IsFieldExists(SCA_ViewerCommand::kMonitorParam)) {
            result = RunViewer<SCA_VdmGui>(&app, argc, argv);
        } else if (params.IsFieldExists(SCA_ViewerCommand::kReportParam)) {
            result = RunViewer<SCA_VdrGui>(&app, argc, argv);
        } else {
            // Hiding the window to the tray must not end the program.
            QApplication::setQuitOnLastWindowClosed(false);
            auto* window = new SCA_SrvGui(&app);
            app.SetMainWindow(window);
            result = window->Run(argc, argv);
            app.SetMainWindow(nullptr);
            delete window;
        }
    }
    return result != 0 ? 0 : 1;
}
