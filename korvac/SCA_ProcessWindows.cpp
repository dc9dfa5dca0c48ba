// Running the process windows from the main window or from a viewer of its own.
#include "korvac/SCA_ProcessWindows.h"

#include "libmor/SCA_Report.h"

int SCA_RunProcessMonitorWindow(QWidget*, SCA_SrvGui*, SCA_TezConfig*, SCA_TezConfigUser*,
                                SCA_TezConfigUser*, SCA_ConfigObj*, const char*, SCA_ClientSession*,
                                uint32_t monitorId) {
    // The window lands in the next step; until then the run is refused, never faked.
    SCA_GetReportFunction(__FILE__, __LINE__)(
        SCA_LEVEL_ERROR, "SCA_RunProcessMonitorWindow: cannot open monitor - %u", monitorId);
    return 0;
}

int SCA_RunProcessWindow(QWidget*, SCA_SrvGui*, SCA_TezConfig*, SCA_TezConfigUser*,
                         SCA_TezConfigUser*, SCA_ConfigObj*, const char*, SCA_ClientSession*,
                         uint32_t monitorId, uint32_t processId) {
    SCA_GetReportFunction(__FILE__, __LINE__)(
        SCA_LEVEL_ERROR, "SCA_RunProcessWindow: cannot open process - %u:%u", monitorId, processId);
    return 0;
}
