// SPDX-License-Identifier: MIT
#include "korvac/process/SCA_ProcessReportSave.h"

#include "korvac/kit/SCA_ClientSession.h"
#include "libmor/SCA_Report.h"
#include "libtez/reports/SCA_TezProcessReporter.h"
#include "libvop/SCA_ModalHook.h"
#include "model/SCA_TezProcessList.h"

namespace {

// The service sends each process with its counters' statistics.
constexpr uint32_t kWithDetails = 1;

} // namespace

int SCA_ProcessReportSave::Run(uint32_t processId) {
    SCA_TezProcessList list;
    if (!Session->Command([&](SCA_KorvantaInterface& client) {
            return client.GetMonitorProcessList(MonitorId, kWithDetails, &list);
        })) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                                  "%s: Cannot get monitor %u process list.",
                                                  Caller.toUtf8().constData(), MonitorId);
        return 0;
    }
    Choice choice;
    if (!AskFile("Save Process Monitor Report", "Process Monitor",
                 "Korvanta Process Monitor Report", &choice)) {
        return 0;
    }
    list.SetReportTitle(choice.Title);
    SCA_TezProcessReporter reporter(ProductConfig, UserConfig, Params);
    uint32_t error = 0;
    if (!reporter.Save(&list, processId, choice.Format, choice.Mode, choice.Path, &error)) {
        return SaveFailed(choice, error);
    }
    SCA_ShowMessageBox(Parent, SCA_LEVEL_INFO, QStringLiteral("Message"),
                       QStringLiteral("Process Monitor Report Saved"));
    return 1;
}
