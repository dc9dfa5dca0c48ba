// SPDX-License-Identifier: MIT
#include "korvac/SCA_ProcessReportSave.h"

#include <QDialog>

#include "korvac/SCA_ClientSession.h"
#include "libmor/SCA_Report.h"
#include "libmor/SCA_System.h"
#include "libtez/reports/SCA_TezProcessReporter.h"
#include "libvop/SCA_ModalHook.h"
#include "libvop/SCA_SaveReportDlg.h"
#include "model/SCA_TezConfigUser.h"
#include "model/SCA_TezProcessList.h"

namespace {

constexpr uint32_t kTitleSize = 256;
constexpr uint32_t kPathSize = 4096;
constexpr uint32_t kErrorTextSize = 256;
// The service sends each process with its counters' statistics.
constexpr uint32_t kWithDetails = 1;

} // namespace

int SCA_ProcessReportSave::Run(uint32_t processId) {
    const QByteArray caller = Caller.toUtf8();
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    SCA_TezProcessList list;
    if (!Session->Command([&](SCA_KorvantaInterface& client) {
            return client.GetMonitorProcessList(MonitorId, kWithDetails, &list);
        })) {
        report(SCA_LEVEL_ERROR, "%s: Cannot get monitor %u process list.", caller.constData(),
               MonitorId);
        return 0;
    }
    SCA_SaveReportDlg dialog(Parent, ProductConfig, UserConfig, Params,
                             "Save Process Monitor Report", "Process Monitor", 0, 1);
    dialog.FillDialog("Korvanta Process Monitor Report", ReportSettings->GetSaveReportFormat(),
                      ReportSettings->GetSaveReportMode());
    if (SCA_ExecDialog(&dialog) != QDialog::Accepted) {
        return 0;
    }
    uint32_t format = 0;
    uint32_t mode = 0;
    char title[kTitleSize] = "";
    char path[kPathSize] = "";
    if (!dialog.GetReportData(&format, &mode, title, sizeof(title), path, sizeof(path))) {
        return 0;
    }
    ReportSettings->SetSaveReportFormat(format);
    ReportSettings->SetSaveReportMode(mode);
    list.SetReportTitle(title);
    SCA_TezProcessReporter reporter(ProductConfig, UserConfig, Params);
    uint32_t error = 0;
    if (!reporter.Save(&list, processId, format, mode, path, &error)) {
        char why[kErrorTextSize] = "";
        SCA_GetErrorDescr(error, why, sizeof(why));
        report(SCA_LEVEL_ERROR, "%s: cannot save report to %s (%s)", caller.constData(), path, why);
        return 0;
    }
    SCA_ShowMessageBox(Parent, SCA_LEVEL_INFO, QStringLiteral("Message"),
                       QStringLiteral("Process Monitor Report Saved"));
    return 1;
}
