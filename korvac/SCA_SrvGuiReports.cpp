// The main window's reports command: the reports window over the connected service.
#include "korvac/SCA_GuiUpdateLock.h"
#include "korvac/SCA_SrvGui.h"
#include "korvac/SCA_SrvReportsDlg.h"
#include "libvop/SCA_ModalHook.h"

void SCA_SrvGui::ViewReports() {
    // Held while the reports window and every dialog it opens are open: the poll must not
    // disconnect the session under them.
    SCA_GuiUpdateLock lock(this);
    if (!CheckConnected(1)) {
        return;
    }
    SCA_SrvReportsDlg dialog(this, GetServerConfig(), GetServerUserConfig(), GetParams(),
                             m_ConfigName, m_Session);
    if (dialog.StartProcess()) {
        // Run as it was built: a browser window keeps its maximise button.
        SCA_GetModalHook()->Exec(&dialog);
    }
}
