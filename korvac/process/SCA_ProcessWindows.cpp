// SPDX-License-Identifier: MIT
// Running the process windows from the main window or from a viewer of its own.
#include "korvac/process/SCA_ProcessWindows.h"

#include <QTreeWidgetItem>

#include "korvac/kit/SCA_ClientSession.h"
#include "korvac/process/SCA_SrvProcessDlg.h"
#include "korvac/process/SCA_SrvProcessListDlg.h"
#include "libmor/SCA_Report.h"
#include "libvop/SCA_ModalHook.h"
#include "model/SCA_SrvMonitor.h"
#include "model/SCA_TezProcessLog.h"

int SCA_RunProcessMonitorWindow(QWidget* parent, const SCA_WindowContext& context,
                                uint32_t monitorId) {
    SCA_SrvProcessListDlg window(parent, context, monitorId);
    if (!window.StartProcess()) {
        return 0;
    }
    // Through the hook but with the window's own frame: it can be maximised.
    SCA_GetModalHook()->Exec(&window);
    window.StopProcess();
    return 1;
}

int SCA_RunProcessWindow(QWidget* parent, const SCA_WindowContext& context, uint32_t monitorId,
                         uint32_t processId) {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    SCA_ClientSession* session = context.Session;
    SCA_SrvMonitor monitor(context.ProductConfig, context.UserConfig);
    if (!session->Command([&](SCA_KorvantaInterface& client) {
            return client.GetMonitor(monitorId, &monitor);
        })) {
        report(SCA_LEVEL_ERROR, "SCA_RunProcessWindow: cannot get monitor - %u", monitorId);
        return 0;
    }
    // The window's title names the process: the monitor's list has its name.
    SCA_KorvantaInterface::ProcessListStatus status;
    SCA_TezProcessLog unused;
    if (!session->Command([&](SCA_KorvantaInterface& client) {
            return client.GetMonitorProcessListStatusEx(monitorId, SCA_ALL_ONES, &status, &unused);
        })) {
        report(SCA_LEVEL_ERROR, "SCA_RunProcessWindow: cannot get monitor status - %u", monitorId);
        return 0;
    }
    const char* name = "";
    for (const SCA_KorvantaInterface::ProcessRow& row : status.Processes) {
        if (row.Status.ProcessId == processId) {
            name = row.Name;
            break;
        }
    }
    SCA_SrvProcessDlg window(parent, context, &monitor, processId, name);
    if (!window.StartProcess()) {
        return 0;
    }
    SCA_GetModalHook()->Exec(&window);
    window.StopProcess();
    return 1;
}
