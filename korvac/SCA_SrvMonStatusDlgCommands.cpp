// The monitor window's commands on its monitor: start, pause, reset, stop, save its report and
// show its errors.
#include <QString>

#include "korvac/SCA_ClientSession.h"
#include "korvac/SCA_MonitorReportSave.h"
#include "korvac/SCA_SrvGui.h"
#include "korvac/SCA_SrvMonStatusDlg.h"
#include "libmor/SCA_Report.h"
#include "libvop/SCA_ErrorListDlg.h"
#include "libvop/SCA_ModalHook.h"
#include "model/SCA_TezErrorList.h"
#include "model/SCA_TezMonitorMode.h"

std::unique_ptr<SCA_SrvGui::CommandAnswer> SCA_SrvMonStatusDlg::AnswerCommand() {
    return m_MainWindow != nullptr ? std::make_unique<SCA_SrvGui::CommandAnswer>(m_MainWindow)
                                   : nullptr;
}

int SCA_SrvMonStatusDlg::RunMonitorCommand(int (SCA_KorvantaInterface::*command)(uint32_t),
                                           const char* verb) {
    if (m_Session->Command(
            [&](SCA_KorvantaInterface& client) { return (client.*command)(m_MonitorId); })) {
        return 1;
    }
    SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR, "Cannot %s monitor - %u", verb,
                                              m_MonitorId);
    return 0;
}

void SCA_SrvMonStatusDlg::StartMonitor() {
    {
        const auto answer = AnswerCommand();
        uint32_t type = 0;
        uint32_t status = 0;
        uint32_t state = 0;
        uint32_t counters = 0;
        uint32_t errors = 0;
        uint32_t warnings = 0;
        auto report = SCA_GetReportFunction(__FILE__, __LINE__);
        if (!m_Session->Command([&](SCA_KorvantaInterface& client) {
                return client.GetMonitorStats(m_MonitorId, &type, &status, &state, &counters,
                                              &errors, &warnings);
            })) {
            report(SCA_LEVEL_ERROR, "Cannot get monitor status - %u", m_MonitorId);
            return;
        }
        if (counters == 0) {
            report(SCA_LEVEL_ERROR, "Cannot start monitor %u, no counters configured", m_MonitorId);
            return;
        }
        if (!RunMonitorCommand(&SCA_KorvantaInterface::StartMonitor, "start")) {
            return;
        }
    }
    ClearHistory();
    UpdateStatus();
}

void SCA_SrvMonStatusDlg::PauseMonitor() {
    {
        const auto answer = AnswerCommand();
        if (!RunMonitorCommand(&SCA_KorvantaInterface::PauseMonitor, "pause")) {
            return;
        }
    }
    UpdateStatus();
}

void SCA_SrvMonStatusDlg::ResetMonitor() {
    {
        const auto answer = AnswerCommand();
        if (!RunMonitorCommand(&SCA_KorvantaInterface::ResetMonitor, "reset")) {
            return;
        }
    }
    ClearHistory();
    UpdateStatus();
}

void SCA_SrvMonStatusDlg::StopMonitor() {
    {
        const auto answer = AnswerCommand();
        if (!RunMonitorCommand(&SCA_KorvantaInterface::StopMonitor, "stop")) {
            return;
        }
    }
    UpdateStatus();
}

void SCA_SrvMonStatusDlg::SaveReport() {
    const auto answer = AnswerCommand();
    const PollHold hold(this);
    const QString kind = QString::fromUtf8(SCA_TezGetModeDescr(m_Monitor.GetMonitorMode()));
    SCA_MonitorReportSave save;
    save.Parent = this;
    save.ProductConfig = m_ProductConfig;
    save.UserConfig = m_UserConfig;
    save.ReportSettings = m_ClientUserConfig;
    save.Params = m_Params;
    save.Session = m_Session;
    save.MonitorId = m_MonitorId;
    save.Caller = QStringLiteral("SCA_SrvMonStatusDlg::SaveReport");
    save.Caption = QStringLiteral("Save Report");
    save.Title = QStringLiteral("Korvanta %1 Report").arg(kind);
    save.Description = kind;
    save.SavedText = QStringLiteral("Korvanta %1 Report Saved").arg(kind);
    save.Run();
}

void SCA_SrvMonStatusDlg::ViewErrors() {
    const auto answer = AnswerCommand();
    SCA_TezErrorList errors;
    if (!m_Session->Command([&](SCA_KorvantaInterface& client) {
            return client.GetMonitorErrors(m_MonitorId, &errors);
        })) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_SrvMonStatusDlg::ViewErrors: cannot monitor errors");
        return;
    }
    const PollHold hold(this);
    SCA_ErrorListDlg dialog(this, &errors, nullptr, m_Monitor.GetDescription());
    if (dialog.FillDialog()) {
        SCA_ExecDialog(&dialog);
    }
}
