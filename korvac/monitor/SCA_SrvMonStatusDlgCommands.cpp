// SPDX-License-Identifier: MIT
// The monitor window's commands on its monitor: start, pause, reset, stop, save its report and
// show its errors.
#include <QString>

#include "korvac/kit/SCA_ClientSession.h"
#include "korvac/monitor/SCA_MonitorReportSave.h"
#include "korvac/monitor/SCA_SrvMonStatusDlg.h"
#include "libmor/SCA_Report.h"
#include "libvop/SCA_ErrorListDlg.h"
#include "libvop/SCA_ModalHook.h"
#include "model/SCA_TezErrorList.h"
#include "model/SCA_TezMonitorMode.h"

int SCA_SrvMonStatusDlg::MayStart() {
    SCA_KorvantaInterface::MonitorStats stats;
    if (!m_Session->Command([&](SCA_KorvantaInterface& client) {
            return client.GetMonitorStats(m_MonitorId, &stats);
        })) {
        AnswerFailure("Cannot get monitor status - %u", m_MonitorId);
        return 0;
    }
    if (stats.Counters == 0) {
        AnswerFailure("Cannot start monitor %u, no counters configured", m_MonitorId);
        return 0;
    }
    return 1;
}

void SCA_SrvMonStatusDlg::SaveWindowReport() {
    const QString kind = QString::fromUtf8(SCA_TezGetModeDescr(m_Monitor.GetMonitorMode()));
    SCA_MonitorReportSave save(this, Context(), m_MonitorId);
    save.Caller = QStringLiteral("SCA_SrvMonStatusDlg::SaveReport");
    save.Caption = QStringLiteral("Save Report");
    save.Title = QStringLiteral("Korvanta %1 Report").arg(kind);
    save.Description = kind;
    save.SavedText = QStringLiteral("Korvanta %1 Report Saved").arg(kind);
    save.Run();
}

const char* SCA_SrvMonStatusDlg::ErrorsFetchFailedText() const {
    return "SCA_SrvMonStatusDlg::ViewErrors: cannot monitor errors";
}
