// SPDX-License-Identifier: MIT
// The reports window's operations on the selected reports: open, open detached, save, export,
// import, compare and delete, the long ones in the report worker under a progress dialog.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QTreeWidgetItem>

#include "korvac/kit/SCA_ClientSession.h"
#include "korvac/reports/SCA_SrvReportsDlg.h"
#include "korvac/reports/SCA_SrvReportsView.h"
#include "libmor/SCA_Report.h"
#include "libtez/reports/SCA_SrvReportManager.h"
#include "libvop/SCA_DeltaReportDlg.h"
#include "libvop/SCA_ModalHook.h"
#include "libvop/SCA_MonReportDlg.h"
#include "libvop/SCA_ProgressDlg.h"
#include "libvop/SCA_SaveReportsDlg.h"
#include "libvop/SCA_TreeRows.h"
#include "model/SCA_TezDeltaReport.h"
#include "model/SCA_TezReport.h"
#include "model/SCA_TezReportFormat.h"

namespace {

// Reports read for a window keep their counters' samples (the charts draw them).
constexpr uint32_t kReportWithSamples = 1;
// What the save dialog starts with: no format asked (the menu entry chose it), a compact report.
constexpr uint32_t kNoFormatAsked = 0xFFFFFFFFu;
constexpr uint32_t kCompactReport = SCA_TEZ_REPORT_MODE_COMPACT;
// Export writes the product's data files with everything in them.
constexpr uint32_t kExportOption = SCA_TEZ_REPORT_MODE_DETAILED;
constexpr uint32_t kFolderSize = 4096;
constexpr int kCompared = 2;

// The folder the file dialogs start in: the user's home, else the root.
QString StartFolder() {
    const QString home = QDir::homePath();
    return QFileInfo(home).isDir() ? home : QDir::rootPath();
}

QString ReportCount(uint32_t count) {
    return QStringLiteral("%1 report%2")
        .arg(count)
        .arg(count == 1 ? QString() : QStringLiteral("s"));
}

QByteArray NormalizedPath(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath()).toUtf8();
}

} // namespace

// --- open ---------------------------------------------------------------------------------------

void SCA_SrvReportsDlg::ItemClicked(QTreeWidgetItem* /*item*/, int /*column*/) {
    OpenReport();
}

void SCA_SrvReportsDlg::OpenReport() {
    SCA_TezReport report(m_Config, m_User, kReportWithSamples);
    QTreeWidgetItem* current = m_View->currentItem();
    if (current == nullptr || !current->isSelected()) {
        return;
    }
    const uint32_t id = SCA_TreeRows::IdOf(current).toUInt();
    if (!m_Session->Command(
            [&](SCA_KorvantaInterface& client) { return client.GetReport(id, &report); })) {
        return;
    }
    SCA_MonReportDlg dialog(this, m_Config, m_User, m_Params, &report);
    if (dialog.FillDialog()) {
        SCA_GetModalHook()->Exec(&dialog);
    }
}

void SCA_SrvReportsDlg::OpenReportDetached() {
    OpenReportDetached(kNoScreen);
}

SCA_ViewerCommand::Target SCA_SrvReportsDlg::DetachedTarget(uint32_t reportId,
                                                            uint32_t screen) const {
    SCA_ViewerCommand::Target target = SCA_ViewerCommand::ForClient(
        SCA_ViewerCommand::Kind::Report, reportId, m_ConfName, m_Session->Client());
    if (screen != kNoScreen) {
        target.Screen = screen;
    }
    return target;
}

int SCA_SrvReportsDlg::OpenReportDetached(uint32_t screen) {
    QTreeWidgetItem* current = m_View->currentItem();
    if (current == nullptr || !current->isSelected()) {
        ShowMessage(QStringLiteral("Please, select a report to open."));
        return 0;
    }
    const SCA_KorvantaInterface* client = m_Session->Client();
    const uint32_t id = SCA_TreeRows::IdOf(current).toUInt();
    return SCA_ViewerCommand::Start(DetachedTarget(id, screen),
                                    client != nullptr ? client->GetLoginPassword() : "",
                                    "SCA_SrvReportsDlg::OpenReportDetached", m_Launcher);
}

// --- the worker ---------------------------------------------------------------------------------

std::unique_ptr<SCA_SrvReportManager> SCA_SrvReportsDlg::NewWorker() {
    SCA_KorvantaInterface* client = m_Session->Client();
    if (client == nullptr) {
        ShowMessage(QStringLiteral("Korvanta Client is not connected to a server."));
        return nullptr;
    }
    return std::make_unique<SCA_SrvReportManager>(m_Config, m_User, m_Params, client);
}

int SCA_SrvReportsDlg::RunWorker(SCA_SrvReportManager* worker, const QString& title) {
    SCA_ProgressDlg progress(this, worker, title, 1, 1, kProgressWidth);
    if (!progress.StartProcess()) {
        worker->StopAll();
        return 0;
    }
    const int result = SCA_GetModalHook()->Exec(&progress);
    worker->StopAll();
    if (result == QDialog::Accepted) {
        return 1;
    }
    // The user who cancelled knows; a worker that failed by itself says why.
    if (!worker->WasStopped() && worker->GetProcessStatus() == SCA_PROCESS_FAILED) {
        SCA_ShowMessageBox(this, SCA_LEVEL_WARNING, QStringLiteral("Message"),
                           QString::fromUtf8(worker->GetStatusString()));
    }
    return 0;
}

void SCA_SrvReportsDlg::RefreshAfter(const SCA_SrvReportManager& worker, int accepted) {
    if (accepted || worker.GetDoneCount() > 0) {
        RefreshView();
    }
}

// --- save and export ----------------------------------------------------------------------------

void SCA_SrvReportsDlg::SaveReportPdf() {
    SaveReport(SCA_TEZ_FORMAT_PDF);
}
void SCA_SrvReportsDlg::SaveReportHtml() {
    SaveReport(SCA_TEZ_FORMAT_HTML);
}
void SCA_SrvReportsDlg::SaveReportExcel() {
    SaveReport(SCA_TEZ_FORMAT_EXCEL);
}
void SCA_SrvReportsDlg::SaveReportText() {
    SaveReport(SCA_TEZ_FORMAT_TEXT);
}
void SCA_SrvReportsDlg::SaveReportJson() {
    SaveReport(SCA_TEZ_FORMAT_JSON);
}
void SCA_SrvReportsDlg::SaveReportCsv() {
    SaveReport(SCA_TEZ_FORMAT_CSV);
}
void SCA_SrvReportsDlg::SaveReportXml() {
    SaveReport(SCA_TEZ_FORMAT_XML);
}

int SCA_SrvReportsDlg::SaveReport(uint32_t format) {
    auto worker = NewWorker();
    SCA_List<SCA_TezReportInfo*> selection;
    if (worker == nullptr ||
        !GatherFor(&selection, QStringLiteral("Select one or more reports to save."),
                   "SCA_SrvReportsDlg::SaveReport")) {
        return 0;
    }
    SCA_SaveReportsDlg dialog(this, m_Config, m_User, m_Params, "Save Monitoring Reports", 0, 0);
    if (!dialog.FillDialog(kNoFormatAsked, kCompactReport) ||
        SCA_ExecDialog(&dialog) != QDialog::Accepted) {
        return 0;
    }
    uint32_t chosenFormat = 0;
    uint32_t option = 0;
    char folder[kFolderSize];
    if (!dialog.GetReportData(&chosenFormat, &option, folder, sizeof(folder))) {
        return 0;
    }
    // The menu entry chose the format; the dialog's format is not the one used.
    if (!worker->ExportReports(&selection, format, option, folder)) {
        return 0;
    }
    return RunWorker(worker.get(), QStringLiteral("Save Monitoring Reports"));
}

void SCA_SrvReportsDlg::ExportReports() {
    auto worker = NewWorker();
    SCA_List<SCA_TezReportInfo*> selection;
    if (worker == nullptr ||
        !GatherFor(&selection, QStringLiteral("Select one or more reports to export."),
                   "SCA_SrvReportsDlg::ExportReports")) {
        return;
    }
    const QString chosen = SCA_GetExistingDirectory(
        this, QStringLiteral("Select a Directory to Export Reports To"), StartFolder());
    if (chosen.isEmpty()) {
        return;
    }
    if (worker->ExportReports(&selection, SCA_TEZ_FORMAT_DATA, kExportOption,
                              NormalizedPath(chosen).constData())) {
        RunWorker(worker.get(), QStringLiteral("Export Monitoring Reports"));
    }
}

// --- import -------------------------------------------------------------------------------------

void SCA_SrvReportsDlg::ImportReports() {
    auto worker = NewWorker();
    if (worker == nullptr) {
        return;
    }
    const QStringList files =
        SCA_GetOpenFileNames(this, QStringLiteral("Import Reports"), StartFolder(),
                             QStringLiteral("Korvanta Report Files (*.hdx)"));
    if (files.isEmpty()) {
        return;
    }
    // Each item is named by its file and holds the file's place in the user's choice.
    SCA_List<uint32_t> list;
    for (int position = 0; position < files.size(); ++position) {
        list.AddItemToTail(static_cast<uint32_t>(position),
                           NormalizedPath(files[position]).constData());
    }
    if (!worker->ImportReports(&list)) {
        return;
    }
    const int accepted = RunWorker(worker.get(), QStringLiteral("Import Monitoring Reports"));
    RefreshAfter(*worker, accepted);
    // A report the service keeps already adds no row: without a word the import would look
    // as if it had done nothing at all.
    const uint32_t skipped = worker->GetSkippedCount();
    if (accepted && skipped > 0) {
        const uint32_t done = worker->GetDoneCount();
        ShowMessage(done > 0 ? QStringLiteral("%1 imported; %2 already on the service, not "
                                              "imported again.")
                                   .arg(ReportCount(done), ReportCount(skipped))
                    : skipped == 1
                        ? QStringLiteral("The report is already on the service: nothing was "
                                         "imported.")
                        : QStringLiteral("The %1 reports are already on the service: nothing "
                                         "was imported.")
                              .arg(skipped));
    }
}

// --- compare ------------------------------------------------------------------------------------

void SCA_SrvReportsDlg::CompareReports() {
    const QString twoReports = QStringLiteral("Please, select two reports to compare.");
    auto worker = NewWorker();
    SCA_TezDeltaReport comparison;
    SCA_List<SCA_TezReportInfo*> selection;
    if (worker == nullptr ||
        !GatherFor(&selection, twoReports, "SCA_SrvReportsDlg::CompareReports")) {
        return;
    }
    if (selection.Count() != kCompared) {
        ShowMessage(twoReports);
        return;
    }
    if (!worker->CompareReports(&selection, &comparison) ||
        !RunWorker(worker.get(), QStringLiteral("Compare Monitoring Reports"))) {
        return;
    }
    SCA_DeltaReportDlg dialog(this, m_Config, m_User, &comparison);
    dialog.FillDialog();
    SCA_GetModalHook()->Exec(&dialog);
}

// --- delete -------------------------------------------------------------------------------------

void SCA_SrvReportsDlg::DeleteReports() {
    auto worker = NewWorker();
    SCA_List<SCA_TezReportInfo*> selection;
    if (worker == nullptr ||
        !GatherFor(&selection, QStringLiteral("Select one or more reports to delete."),
                   "SCA_SrvReportsDlg::DeleteReports")) {
        return;
    }
    if (SCA_SrvReportManager::IsDeleteForbidden(m_Params)) {
        ShowMessage(QStringLiteral("Deleting reports is turned off in this client."));
        return;
    }
    const uint32_t count = selection.Count();
    const QString question = QStringLiteral("Are you sure you want to delete %1 selected report%2?")
                                 .arg(count)
                                 .arg(count == 1 ? QString() : QStringLiteral("s"));
    if (SCA_AskMessageBox(this, SCA_LEVEL_WARNING, QStringLiteral("Warning"), question,
                          QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) {
        return;
    }
    if (worker->DeleteReports(&selection)) {
        RefreshAfter(*worker, RunWorker(worker.get(), QStringLiteral("Delete Monitoring Reports")));
    }
}
