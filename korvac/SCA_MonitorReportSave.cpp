// SPDX-License-Identifier: MIT
#include "korvac/SCA_MonitorReportSave.h"

#include <QDialog>
#include <QMessageBox>

#include "korvac/SCA_ClientSession.h"
#include "libmor/SCA_Report.h"
#include "libmor/SCA_System.h"
#include "libtez/SCA_KorvantaInterface.h"
#include "libtez/reports/SCA_TezReporter.h"
#include "libvop/SCA_ModalHook.h"
#include "libvop/SCA_SaveReportDlg.h"
#include "model/SCA_TezConfigUser.h"
#include "model/SCA_TezReport.h"

namespace {

constexpr uint32_t kTitleSize = 256;
constexpr uint32_t kPathSize = 4096;
constexpr uint32_t kErrorTextSize = 256;
// A report whose counters each keep their samples.
constexpr uint32_t kCounterMode = 1;

} // namespace

int SCA_MonitorReportSave::Run() {
    const QByteArray caller = Caller.toUtf8();
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    SCA_TezReport monitorReport(ProductConfig, UserConfig, kCounterMode);
    if (!Session->Command([&](SCA_KorvantaInterface& client) {
            return client.GetMonitorReport(MonitorId, &monitorReport);
        })) {
        report(SCA_LEVEL_ERROR, "%s: cannot get monitor report", caller.constData());
        return 0;
    }

    const QByteArray name =
        (Name.isEmpty() ? QString::fromUtf8(monitorReport.GetProfileName()) : Name).toUtf8();
    SCA_SaveReportDlg dialog(Parent, ProductConfig, UserConfig, Params,
                             Caption.toUtf8().constData(), name.constData(), 0, 1);
    dialog.FillDialog(Title.toUtf8().constData(), ReportSettings->GetSaveReportFormat(),
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
    monitorReport.SetReportTitle(title);
    if (!Description.isEmpty()) {
        monitorReport.SetDescription(Description.toUtf8().constData());
    }
    monitorReport.UpdateSummary();
    monitorReport.UpdateStatistics();

    SCA_TezReporter reporter(ProductConfig, UserConfig, Params);
    uint32_t error = 0;
    const int saved =
        CounterId == SCA_ALL_ONES
            ? reporter.SaveReport(&monitorReport, format, mode, path, &error)
            : reporter.SaveReport(&monitorReport, CounterId, format, mode, path, &error);
    if (!saved) {
        char why[kErrorTextSize] = "";
        SCA_GetErrorDescr(error, why, sizeof(why));
        report(SCA_LEVEL_ERROR, "%s: cannot save report to %s (%s)", caller.constData(), path, why);
        return 0;
    }
    SCA_ShowMessageBox(Parent, SCA_LEVEL_INFO, QStringLiteral("Message"), SavedText);
    return 1;
}
