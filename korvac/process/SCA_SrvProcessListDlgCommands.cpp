// SPDX-License-Identifier: MIT
// The process monitor window's commands: the monitor's run, its rules, errors and exclude list,
// reports, charts, and what the menus do with one process.
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTreeWidgetItem>
#include <memory>

#include "korvac/kit/SCA_ClientSession.h"
#include "korvac/kit/SCA_DetachedMenu.h"
#include "korvac/kit/SCA_PollHold.h"
#include "korvac/kit/SCA_ViewerCommand.h"
#include "korvac/process/SCA_ProcessReportSave.h"
#include "korvac/process/SCA_SrvProcDetailsDlg.h"
#include "korvac/process/SCA_SrvProcessDlg.h"
#include "korvac/process/SCA_SrvProcessListDlg.h"
#include "korvac/process/SCA_SrvProcessLog.h"
#include "korvac/process/SCA_SrvProcessView.h"
#include "libmor/SCA_Report.h"
#include "libmor/SCA_System.h"
#include "libtez/reports/SCA_TezProcessReporter.h"
#include "libvop/SCA_ChartDlg.h"
#include "libvop/SCA_ErrorListDlg.h"
#include "libvop/SCA_ExeModuleListDlg.h"
#include "libvop/SCA_IconEngine.h"
#include "libvop/SCA_ModalHook.h"
#include "libvop/SCA_ProcExcludeDlg.h"
#include "libvop/SCA_SaveReportDlg.h"
#include "libvop/SCA_TezProcessRulesDlg.h"
#include "model/SCA_ExeModuleList.h"
#include "model/SCA_TezConfigUser.h"
#include "model/SCA_TezErrorList.h"
#include "model/SCA_TezProcess.h"
#include "model/SCA_TezProcessList.h"
#include "model/SCA_TezProcessLog.h"
#include "model/SCA_TezProcessRules.h"
#include "model/SCA_TezVocabulary.h"

namespace {

constexpr uint32_t kNameSize = 256;
constexpr uint32_t kTitleSize = 256;
constexpr uint32_t kPathSize = 4096;
constexpr uint32_t kErrorTextSize = 256;
constexpr uint32_t kWithDetails = 1;
constexpr uint32_t kLoadInfo = 1;
// Charts across processes need two processes to compare.
constexpr uint32_t kMinChartProcesses = 2;

QIcon Icon(const char* path) {
    return SCA_IconEngine::Load(QString::fromLatin1(path));
}

// One chart of the chart dialog: a counter across processes.
struct ProcessChart {
    const char* Title;
    uint32_t CounterType;
    uint32_t UnitCode;
    const char* ShortName;
};

constexpr ProcessChart kCharts[] = {
    {"Memory Usage Per Process", SCA_COUNTER_PROCESS_MEM_USED, 1, "Memory Usage"},
    {"CPU Usage Per Process", SCA_COUNTER_PROCESS_CPU_USAGE, 0, "CPU Usage"},
    {"Number of Threads Per Process", SCA_COUNTER_PROCESS_THREADS, 4, "Threads"},
    {"Number of Handles Per Process", SCA_COUNTER_PROCESS_HANDLES, 4, "Handles"},
    {"Data Transfer Rate Per Process", SCA_COUNTER_PROCESS_DATA_RATE, 2, "Data Rate"},
    {"Data Read Rate Per Process", SCA_COUNTER_PROCESS_READ_RATE, 2, "Read Rate"},
    {"Data Write Rate Per Process", SCA_COUNTER_PROCESS_WRITE_RATE, 2, "Write Rate"},
    {"Non-Paged Memory Per Process", SCA_COUNTER_PROCESS_NPP_USED, 1, "NPP Memory"},
    {"Page Fault Rate Per Process", SCA_COUNTER_PROCESS_PAGE_FAULT_RATE, 9, "Page Faults"},
};

} // namespace

// --- menus -----------------------------------------------------------------------------------

void SCA_SrvProcessListDlg::ShowProcessMenu(QContextMenuEvent* event) {
    QMenu menu(this);
    BuildProcessMenu(&menu);
    SCA_ExecMenu(&menu, event->globalPos());
}

void SCA_SrvProcessListDlg::ShowLogMenu(QContextMenuEvent* event) {
    QMenu menu(this);
    BuildLogMenu(&menu);
    SCA_ExecMenu(&menu, event->globalPos());
}

void SCA_SrvProcessListDlg::BuildProcessMenu(QMenu* menu) {
    menu->setToolTipsVisible(true);
    connect(menu->addAction(Icon(":/images/history_16px.png"), QStringLiteral("View Process ...")),
            &QAction::triggered, this, &SCA_SrvProcessListDlg::ViewProcessStats);
    menu->addSeparator();
    SCA_DetachedMenu::AddEntries(menu, "View Detached",
                                 [this](uint32_t screen) { ViewProcessDetached(screen); });
    menu->addSeparator();
    connect(
        menu->addAction(Icon(":/images/save_16px.png"), QStringLiteral("Save Process Report ...")),
        &QAction::triggered, this, &SCA_SrvProcessListDlg::SaveProcessReport);
    menu->addSeparator();
    QAction* details = menu->addAction(Icon(":/images/profile_16px.png"),
                                       QStringLiteral("View Process Details ..."));
    QAction* modules =
        menu->addAction(Icon(":/images/layouts_16px.png"), QStringLiteral("View Process DLLs ..."));
    connect(details, &QAction::triggered, this, &SCA_SrvProcessListDlg::ViewProcessDetails);
    connect(modules, &QAction::triggered, this, &SCA_SrvProcessListDlg::ViewProcessModules);
    const bool local = m_Monitor.IsRemoteMonitor() == 0;
    details->setEnabled(local);
    modules->setEnabled(local);
}

void SCA_SrvProcessListDlg::BuildLogMenu(QMenu* menu) {
    connect(menu->addAction(Icon(":/images/save_16px.png"), QStringLiteral("Save Process Log ...")),
            &QAction::triggered, this, &SCA_SrvProcessListDlg::SaveProcessLog);
    menu->addSeparator();
    connect(menu->addAction(Icon(":/images/close_16px.png"), QStringLiteral("Clear Process Log")),
            &QAction::triggered, this, &SCA_SrvProcessListDlg::ClearProcessLog);
}

int SCA_SrvProcessListDlg::SelectedProcess(uint32_t* processId, QString* name) const {
    const QTreeWidgetItem* item = m_ProcessView->currentItem();
    if (item == nullptr || !item->isSelected()) {
        return 0;
    }
    *processId = SCA_SrvProcessView::ProcessIdOf(item);
    if (name != nullptr) {
        *name = item->text(SCA_PROC_COL_NAME);
    }
    return 1;
}

// --- one process -----------------------------------------------------------------------------

void SCA_SrvProcessListDlg::ViewProcessDetached() {
    ViewProcessDetached(SCA_ALL_ONES);
}

int SCA_SrvProcessListDlg::ViewProcessDetached(uint32_t screen) {
    uint32_t processId = 0;
    if (!SelectedProcess(&processId, nullptr)) {
        return 0;
    }
    return SCA_ViewerCommand::StartMonitorViewer(
        {.MonitorId = m_MonitorId, .CounterId = {}, .ProcessId = processId}, screen, m_ConfigName,
        m_Session->Client(), "SCA_SrvGui::ViewDetached");
}

void SCA_SrvProcessListDlg::ViewProcessStats() {
    uint32_t processId = 0;
    QString name;
    if (!SelectedProcess(&processId, &name)) {
        return;
    }
    const SCA_PollHold hold = HoldPolls();
    SCA_SrvProcessDlg window(this, Context(), &m_Monitor, processId, name.toUtf8().constData());
    if (window.StartProcess()) {
        SCA_GetModalHook()->Exec(&window);
    }
    window.StopProcess();
}

void SCA_SrvProcessListDlg::ViewProcessDetails() {
    uint32_t processId = 0;
    if (!SelectedProcess(&processId, nullptr)) {
        return;
    }
    const SCA_PollHold hold = HoldPolls();
    SCA_SrvProcDetailsDlg::Run(this, Context(), m_MonitorId, processId);
}

void SCA_SrvProcessListDlg::ViewProcessModules() {
    uint32_t processId = 0;
    if (!SelectedProcess(&processId, nullptr)) {
        return;
    }
    const SCA_PollHold hold = HoldPolls();
    char name[kNameSize] = "";
    SCA_ExeModuleList modules(0);
    uint32_t errorCode = 0;
    if (!m_Session->Command([&](SCA_KorvantaInterface& client) {
            return client.GetMonitorProcessModules(m_MonitorId, processId, 0, name, &modules,
                                                   &errorCode);
        })) {
        // An unreadable module list is an error with its reason, never an empty list.
        char why[kErrorTextSize] = "";
        SCA_GetErrorDescr(errorCode, why, sizeof(why));
        SCA_ShowMessageBox(
            this, SCA_LEVEL_INFO, QStringLiteral("Message"),
            QStringLiteral("Cannot get process DLL libraries (%1)").arg(QString::fromUtf8(why)));
        return;
    }
    SCA_ExeModuleListDlg dialog(this, name, &modules);
    if (dialog.UpdateModuleView()) {
        SCA_ExecDialog(&dialog);
    }
}

void SCA_SrvProcessListDlg::SaveProcessReport() {
    uint32_t processId = 0;
    if (SelectedProcess(&processId, nullptr)) {
        SaveProcesses(processId);
    }
}

void SCA_SrvProcessListDlg::SaveProcesses(uint32_t processId) {
    const SCA_PollHold hold = HoldPolls();
    SCA_ProcessReportSave save(this, Context(), m_MonitorId);
    save.Caller = QStringLiteral("SCA_SrvProcessListDlg::SaveReport");
    save.Run(processId);
}

// --- the monitor -----------------------------------------------------------------------------

void SCA_SrvProcessListDlg::MonitorStarted() {
    m_LastLogItemId = SCA_ALL_ONES;
    m_LogView->clear();
}

void SCA_SrvProcessListDlg::ViewRules() {
    const SCA_PollHold hold = HoldPolls();
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    SCA_TezProcessRules rules;
    if (!m_Session->Command(
            [&](SCA_KorvantaInterface& client) { return client.GetProcessMonitorRules(&rules); })) {
        // Rules that did not arrive are never shown: saving the empty dialog would wipe them.
        report(SCA_LEVEL_ERROR,
               "SCA_SrvProcessListDlg::ViewRulews: cannot get process monitor rules");
        return;
    }
    SCA_TezProcessRulesDlg dialog(this, m_ProductConfig, m_UserConfig, m_Params, &rules);
    if (!dialog.FillDialog() || SCA_ExecDialog(&dialog) != QDialog::Accepted) {
        return;
    }
    if (!m_Session->Command(
            [&](SCA_KorvantaInterface& client) { return client.SetProcessMonitorRules(&rules); })) {
        report(SCA_LEVEL_ERROR,
               "SCA_SrvProcessListDlg::ViewRules: cannot set process monitor rules");
    }
}

void SCA_SrvProcessListDlg::ExcludeProcesses() {
    const SCA_PollHold hold = HoldPolls();
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    std::vector<std::string> current;
    if (!m_Session->Command([&](SCA_KorvantaInterface& client) {
            return client.GetMonitorProcessExcludeList(m_MonitorId, &current);
        })) {
        report(SCA_LEVEL_ERROR,
               "SCA_SrvProcessListDlg::ShowCharts: Cannot get monitor %u process exclude list.",
               m_MonitorId);
        return;
    }
    QStringList names;
    for (const std::string& name : current) {
        names.append(QString::fromStdString(name));
    }
    SCA_ProcExcludeDlg dialog(this);
    if (!dialog.FillDialog(names) || SCA_ExecDialog(&dialog) != QDialog::Accepted) {
        return;
    }
    std::vector<std::string> edited;
    for (const QString& name : dialog.GetExcludeList()) {
        edited.push_back(name.toStdString());
    }
    if (!m_Session->Command([&](SCA_KorvantaInterface& client) {
            return client.SetMonitorProcessExcludeList(m_MonitorId, edited);
        })) {
        report(SCA_LEVEL_ERROR,
               "SCA_SrvProcessListDlg::ShowCharts: Cannot set monitor %u process exclude list.",
               m_MonitorId);
    }
}

void SCA_SrvProcessListDlg::ShowCharts() {
    const SCA_PollHold hold = HoldPolls();
    SCA_TezProcessList list;
    if (!m_Session->Command([&](SCA_KorvantaInterface& client) {
            return client.GetMonitorProcessList(m_MonitorId, kWithDetails, &list);
        })) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR,
            "SCA_SrvProcessListDlg::ShowCharts: Cannot get monitor %u process list.", m_MonitorId);
        return;
    }
    if (list.GetProcessCount() < kMinChartProcesses) {
        return;
    }
    SCA_ChartDlg dialog(this, m_UserConfig, 1);
    for (const ProcessChart& chart : kCharts) {
        dialog.AddChart(&list, chart.Title, chart.CounterType, chart.UnitCode, chart.ShortName);
    }
    if (dialog.FillDialog()) {
        SCA_ExecDialog(&dialog);
    }
}

// --- the log ---------------------------------------------------------------------------------

void SCA_SrvProcessListDlg::SaveProcessLog() {
    const SCA_PollHold hold = HoldPolls();
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    SCA_TezProcessLog log;
    if (!m_Session->Command([&](SCA_KorvantaInterface& client) {
            return client.GetMonitorProcessLog(m_MonitorId, &log);
        })) {
        // A log that did not arrive is never saved as an empty one.
        report(SCA_LEVEL_ERROR,
               "SCA_SrvProcessListDlg::SaveProcessLog: cannot get process log for monitor - %u",
               m_MonitorId);
        return;
    }
    SCA_SaveReportDlg dialog(this, m_ProductConfig, m_UserConfig, m_Params,
                             "Save Korvanta Process Log", "Process Log", 0, 0);
    dialog.FillDialog("Korvanta Process Log", m_UserConfig->GetSaveReportFormat(), SCA_ALL_ONES);
    if (SCA_ExecDialog(&dialog) != QDialog::Accepted) {
        return;
    }
    uint32_t format = 0;
    char title[kTitleSize] = "";
    char path[kPathSize] = "";
    if (!dialog.GetReportData(&format, nullptr, title, sizeof(title), path, sizeof(path))) {
        return;
    }
    m_UserConfig->SetSaveReportFormat(format);
    // The log with no processes: the report holds the events only.
    SCA_TezProcessList none;
    none.SetReportTitle(title);
    SCA_TezProcessReporter reporter(m_ProductConfig, m_UserConfig, m_Params);
    uint32_t error = 0;
    if (!reporter.Save(&none, SCA_ALL_ONES, format, 0, path, &error, &log)) {
        char why[kErrorTextSize] = "";
        SCA_GetErrorDescr(error, why, sizeof(why));
        report(SCA_LEVEL_ERROR, "SCA_SrvProcessListDlg::SaveProcessLog: cannot save to %s (%s)",
               path, why);
        return;
    }
    SCA_ShowMessageBox(this, SCA_LEVEL_INFO, QStringLiteral("Message"),
                       QStringLiteral("Korvanta Process Log Saved"));
}

void SCA_SrvProcessListDlg::ClearProcessLog() {
    // The last item id stays: cleared events do not come back.
    m_LogView->clear();
}
