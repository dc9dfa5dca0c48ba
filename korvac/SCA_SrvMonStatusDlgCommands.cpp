// SPDX-License-Identifier: MIT
// The monitor window's commands on its monitor: start, pause, reset, stop, save its report and
// show its errors.
#include <QString>

#include "korvac/SCA_ClientSession.h"
#include "korvac/SCA_MonitorReportSave.h"
#include "korvac/SCA_SrvMonStatusDlg.h"
#include "libmor/SCA_Report.h"
#include "libvop/SCA_ErrorListDlg.h"
#include "libvop/SCA_ModalHook.h"
#include "model/SCA_TezErrorList.h"
#include "model/SCA_TezMonitorMode.h"

void SCA_SrvMonStatusDlg::MonitorCommand(int (SCA_KorvantaInterface::*command)(uint32_t),
                                         const char* verb, bool newSeries) {
    // A refusal is logged; the window's next poll shows the state the monitor is in.
    if (!m_Session->Command(
            [&](SCA_KorvantaInterface& client) { return (client.*command)(m_MonitorId); })) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR, "Cannot %s monitor - %u", verb,
                                                  m_MonitorId);
        return;
    }
    if (newSeries) {
        ClearHistory();
    }
    UpdateStatus();
}

void SCA_SrvMonStatusDlg::StartMonitor() {
    SCA_KorvantaInterface::MonitorStats stats;
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    if (!m_Session->Command([&](SCA_KorvantaInterface& client) {
            return client.GetMonitorStats(m_MonitorId, &stats);
        })) {
        report(SCA_LEVEL_ERROR, "Cannot get monitor status - %u", m_MonitorId);
        return;
    }
    if (stats.Counters == 0) {
        report(SCA_LEVEL_ERROR, "Cannot start monitor %u, no counters configured", m_MonitorId);
        return;
    }
    MonitorCommand(&SCA_KorvantaInterface::StartMonitor, "start", true);
}

void SCA_SrvMonStatusDlg::PauseMonitor() {
    MonitorCommand(&SCA_KorvantaInterface::PauseMonitor, "pause", false);
}

void SCA_SrvMonStatusDlg::ResetMonitor() {
    MonitorCommand(&SCA_KorvantaInterface::ResetMonitor, "reset", true);
}

void SCA_SrvMonStatusDlg::StopMonitor() {
    MonitorCommand(&SCA_KorvantaInterface::StopMonitor, "stop", false);
}

void SCA_SrvMonStatusDlg::SaveReport() {
    const SCA_PollHold hold = HoldPolls();
    const QString kind = QString::fromUtf8(SCA_TezGetModeDescr(m_Monitor.GetMonitorMode()));
    SCA_MonitorReportSave save(this, Context(), m_MonitorId);
    save.Caller = QStringLiteral("SCA_SrvMonStatusDlg::SaveReport");
    save.Caption = QStringLiteral("Save Report");
    save.Title = QStringLiteral("Korvanta %1 Report").arg(kind);
    save.Description = kind;
    save.SavedText = QStringLiteral("Korvanta %1 Report Saved").arg(kind);
    save.Run();
}

void SCA_SrvMonStatusDlg::ViewErrors() {
    SCA_TezErrorList errors;
    if (!m_Session->Command([&](SCA_KorvantaInterface& client) {
            return client.GetMonitorErrors(m_MonitorId, &errors);
        })) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_SrvMonStatusDlg::ViewErrors: cannot monitor errors");
        return;
    }
    const SCA_PollHold hold = HoldPolls();
    SCA_ErrorListDlg dialog(this, &errors, nullptr, m_Monitor.GetDescription());
    if (dialog.FillDialog()) {
        SCA_ExecDialog(&dialog);
    }
}
