// SPDX-License-Identifier: MIT
#include "korvac/monitor/SCA_MonitorReportSave.h"

#include "korvac/kit/SCA_ClientSession.h"
#include "libmor/SCA_Report.h"
#include "libtez/SCA_KorvantaInterface.h"
#include "libtez/reports/SCA_TezReporter.h"
#include "libvop/SCA_ModalHook.h"
#include "model/SCA_TezReport.h"

namespace {

// A report whose counters each keep their samples.
constexpr uint32_t kCounterMode = 1;

} // namespace

int SCA_MonitorReportSave::Run() {
    SCA_TezReport monitorReport(ProductConfig, UserConfig, kCounterMode);
    if (!Session->Command([&](SCA_KorvantaInterface& client) {
            return client.GetMonitorReport(MonitorId, &monitorReport);
        })) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR, "%s: cannot get monitor report",
                                                  Caller.toUtf8().constData());
        return 0;
    }

    const QByteArray name =
        (Name.isEmpty() ? QString::fromUtf8(monitorReport.GetProfileName()) : Name).toUtf8();
    Choice choice;
    if (!AskFile(Caption.toUtf8().constData(), name.constData(), Title.toUtf8().constData(),
                 &choice)) {
        return 0;
    }
    monitorReport.SetReportTitle(choice.Title);
    if (!Description.isEmpty()) {
        monitorReport.SetDescription(Description.toUtf8().constData());
    }
    monitorReport.UpdateSummary();
    monitorReport.UpdateStatistics();

    SCA_TezReporter reporter(ProductConfig, UserConfig, Params);
    uint32_t error = 0;
    const int saved =
        CounterId == SCA_ALL_ONES
            ? reporter.SaveReport(&monitorReport, choice.Format, choice.Mode, choice.Path, &error)
            : reporter.SaveReport(&monitorReport, CounterId, choice.Format, choice.Mode,
                                  choice.Path, &error);
    if (!saved) {
        return SaveFailed(choice, error);
    }
    SCA_ShowMessageBox(Parent, SCA_LEVEL_INFO, QStringLiteral("Message"), SavedText);
    return 1;
}
