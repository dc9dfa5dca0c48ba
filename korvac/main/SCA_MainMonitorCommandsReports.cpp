// SPDX-License-Identifier: MIT
// The monitor commands' reports: "Save Report" (one file per monitor, in a folder and a format
// chosen once) and the reports window over the connected service.
#include "korvac/main/SCA_MainMonitorCommands.h"

#include <algorithm>
#include <string>

#include "korvac/kit/SCA_ClientSession.h"
#include "korvac/main/SCA_GuiUpdateLock.h"
#include "korvac/main/SCA_MainStatusPoll.h"
#include "korvac/main/SCA_MonitorsView.h"
#include "korvac/reports/SCA_SrvReportsDlg.h"
#include "libmor/SCA_FileName.h"
#include "libmor/SCA_FileSystem.h"
#include "libmor/SCA_String.h"
#include "libmor/SCA_System.h"
#include "libmor/SCA_Time.h"
#include "libtez/SCA_KorvantaInterface.h"
#include "libtez/reports/SCA_TezProcessReporter.h"
#include "libtez/reports/SCA_TezReporter.h"
#include "libvop/SCA_ModalHook.h"
#include "libvop/SCA_SaveReportsDlg.h"
#include "model/SCA_SrvMonitor.h"
#include "model/SCA_TezProcessList.h"
#include "model/SCA_TezProcessStatus.h"
#include "model/SCA_TezRecordFields.h"
#include "model/SCA_TezReport.h"
#include "model/SCA_TezReportFormat.h"

namespace {

constexpr uint32_t kFolderSize = 4096;
// The counter mode of a report read for saving: every counter with its samples.
constexpr uint32_t kReportCounterMode = 1;
// GetMonitorProcessList: each process with its details.
constexpr uint32_t kProcessDetails = 1;
constexpr char kNothingToSave[] = "No active monitors to save reports.";

// A monitor with a run to report on: running, paused, stopped or ended.
bool HasRun(uint32_t runState) {
    return runState == SCA_PROCESS_RUNNING || runState == SCA_PROCESS_PAUSED ||
           runState == SCA_PROCESS_STOPPED || runState == SCA_PROCESS_ENDED;
}

std::string SafeName(const char* text) {
    char safe[SCA_TEZ_TEXT_SIZE];
    SCA_StrnCpy(safe, text, sizeof(safe));
    SCA_NormalizeFileName(safe, sizeof(safe));
    return safe;
}

// "<folder>/Korvanta <description> [<computer> ]<stamp>.<extension>", with " (2)", " (3)", ...
// before the extension while the path is taken by an earlier file or by this run.
std::string ReportPath(const char* folder, const char* description, const char* computer,
                       const char* stamp, const char* extension,
                       const std::vector<std::string>& written) {
    std::string base = std::string(folder) + "/Korvanta " + SafeName(description) + " ";
    if (computer[0] != '\0') {
        base += SafeName(computer) + " ";
    }
    base += stamp;
    std::string path = base + "." + extension;
    for (uint32_t copy = 2; SCA_IsFileExists(path.c_str()) ||
                            std::find(written.begin(), written.end(), path) != written.end();
         ++copy) {
        path = base + " (" + std::to_string(copy) + ")." + extension;
    }
    return path;
}

} // namespace

int SCA_MainMonitorCommands::SaveMonitorReport(uint32_t monitorId, uint32_t format, uint32_t option,
                                               const char* folder, const char* stamp,
                                               std::vector<std::string>* written) {
    uint32_t type = 0;
    uint32_t status = 0;
    uint32_t runState = 0;
    char description[SCA_TEZ_TEXT_SIZE] = "";
    char computer[SCA_TEZ_TEXT_SIZE] = "";
    if (!m_Context.Session->Command([&](SCA_KorvantaInterface& client) {
            return client.GetMonitorInfoEx(monitorId, &type, &status, &runState, description,
                                           computer);
        })) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_SrvGui::SaveReport: Cannot get monitor status - %u", monitorId);
        return 0;
    }
    if (!HasRun(runState) ||
        (type != SCA_SRV_MONITOR_COUNTERS && type != SCA_SRV_MONITOR_PROCESS)) {
        return 1;
    }
    const std::string title = std::string("Korvanta ") + description + " Report";
    const std::string path = ReportPath(folder, description, computer, stamp,
                                        SCA_TezGetReportFormat(format)->Extension, *written);
    uint32_t error = 0;
    int saved = 0;
    if (type == SCA_SRV_MONITOR_COUNTERS) {
        SCA_TezReport report(m_Context.ServerConfig, m_Context.ServerUserConfig,
                             kReportCounterMode);
        if (!m_Context.Session->Command([&](SCA_KorvantaInterface& client) {
                return client.GetMonitorReport(monitorId, &report);
            })) {
            SCA_GetReportFunction(__FILE__, __LINE__)(
                SCA_LEVEL_ERROR, "SCA_SrvGui::SaveReport: cannot get monitor %u report", monitorId);
            return 0;
        }
        report.SetReportTitle(title.c_str());
        report.UpdateSummary();
        report.UpdateStatistics();
        SCA_TezReporter reporter(m_Context.ServerConfig, m_Context.ServerUserConfig,
                                 m_Context.Params);
        saved = reporter.SaveReport(&report, format, option, path.c_str(), &error);
    } else {
        SCA_TezProcessList list;
        if (!m_Context.Session->Command([&](SCA_KorvantaInterface& client) {
                return client.GetMonitorProcessList(monitorId, kProcessDetails, &list);
            })) {
            SCA_GetReportFunction(__FILE__, __LINE__)(
                SCA_LEVEL_ERROR, "SCA_SrvGui::SaveReport: Cannot get monitor %u process list.",
                monitorId);
            return 0;
        }
        list.SetReportTitle(title.c_str());
        SCA_TezProcessReporter reporter(m_Context.ServerConfig, m_Context.ServerUserConfig,
                                        m_Context.Params);
        saved = reporter.Save(&list, SCA_ALL_ONES, format, option, path.c_str(), &error);
    }
    if (!saved) {
        char reason[SCA_TEZ_TEXT_SIZE] = "";
        SCA_GetErrorDescr(error, reason, sizeof(reason));
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_SrvGui::SaveReport: cannot save report - %s (%s)", path.c_str(),
            reason);
        return 0;
    }
    written->push_back(path);
    return 1;
}

void SCA_MainMonitorCommands::SaveReport() {
    const SCA_GuiUpdateLock lock(m_Context.UpdateLock);
    const bool selected = m_MonitorsView->SelectedMonitor() != nullptr;
    if (!m_Context.CheckConnected(1)) {
        return;
    }
    uint32_t count = 0;
    uint32_t active = 0;
    uint32_t stopped = 0;
    uint32_t failed = 0;
    if (!m_Context.Session->Command([&](SCA_KorvantaInterface& client) {
            return client.GetMonitorsStatus(&count, &active, &stopped, &failed);
        })) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_SrvGui::SaveReport: Cannot get monitors status");
        return;
    }
    if (active == 0 && stopped == 0) {
        SCA_MainCommandContext::ShowMessage(m_Context.Window, SCA_LEVEL_INFO, kNothingToSave);
        return;
    }
    SCA_SaveReportsDlg dialog(m_Context.Window, m_Context.ServerConfig, m_Context.ServerUserConfig,
                              m_Context.Params, "Save Report", 1, 0);
    dialog.FillDialog(m_SaveReportFormat, m_SaveReportOption);
    uint32_t format = 0;
    uint32_t option = 0;
    char folder[kFolderSize] = "";
    if (SCA_ExecDialog(&dialog) != QDialog::Accepted ||
        !dialog.GetReportData(&format, &option, folder, sizeof(folder))) {
        return;
    }
    if (!SCA_TezIsValidReportFormat(format)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_SrvGui::SaveReport: invalid report format - %u", format);
        return;
    }
    m_SaveReportFormat = format;
    m_SaveReportOption = option;
    // One time for the whole run: the files of one run belong together.
    char stamp[SCA_TEZ_TEXT_SIZE] = "";
    SCA_GetDateTimeStringEx(stamp, sizeof(stamp), "-", "");
    std::vector<std::string> written;
    for (const uint32_t id :
         selected ? m_MonitorsView->SelectedMonitorIds() : m_MonitorsView->AllMonitorIds()) {
        if (!SaveMonitorReport(id, format, option, folder, stamp, &written)) {
            return;
        }
    }
    SCA_MainCommandContext::ShowMessage(m_Context.Window, SCA_LEVEL_INFO,
                                        written.empty() ? kNothingToSave
                                                        : "Operation Successfully Completed");
}

void SCA_MainMonitorCommands::ViewReports() {
    // Held while the reports window and every dialog it opens are open: the poll must not
    // disconnect the session under them.
    SCA_GuiUpdateLock lock(m_Context.UpdateLock);
    if (!m_Context.CheckConnected(1)) {
        return;
    }
    SCA_SrvReportsDlg dialog(m_Context.Window, m_Context.ServerConfig, m_Context.ServerUserConfig,
                             m_Context.Params, m_Context.ConfigName, m_Context.Session);
    if (dialog.StartProcess()) {
        // Run as it was built: a browser window keeps its maximise button.
        SCA_GetModalHook()->Exec(&dialog);
    }
}
