// The client's entry: the main window, or a detached viewer of one monitor or report.
#include <cstdio>

#include "korvac/ParseMainCommandLine.h"
#include "korvac/SCA_SrvApplication.h"
#include "korvac/SCA_SrvGui.h"
#include "libmor/SCA_Limits.h"
#include "libmor/SCA_System.h"
#include "model/SCA_ConfigObj.h"

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
        if (params.IsFieldExists("vdm") || params.IsFieldExists("vdr")) {
            std::printf("korvac: detached viewers are not available in this version.\n");
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
