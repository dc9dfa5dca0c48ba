// SPDX-License-Identifier: MIT
#include "korvac/viewer/SCA_VdrGui.h"

#include "korvac/kit/SCA_ClientSession.h"
#include "libtez/SCA_KorvantaInterface.h"
#include "libvop/SCA_MonReportDlg.h"
#include "model/SCA_TezReport.h"

namespace {

// The report dialog draws its charts from the counters' samples.
constexpr uint32_t kReportWithSamples = 1;

} // namespace

SCA_VdrGui::SCA_VdrGui(QApplication* app) : SCA_ViewerGui(app, "SCA_VdrGui") {}

SCA_VdrGui::~SCA_VdrGui() = default;

int SCA_VdrGui::DoProcess(int argc, char** argv) {
    if (!StartUp(argc, argv, SCA_ViewerCommand::kReportParam)) {
        return 0;
    }
    ViewDetachedReport();
    return 1;
}

int SCA_VdrGui::ViewDetachedReport() {
    SCA_TezReport report(&m_LocalConfig, &m_ClientUserConfig, kReportWithSamples);
    if (!m_Session->Command(
            [&](SCA_KorvantaInterface& client) { return client.GetReport(m_ObjectId, &report); })) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_VdrGui::ViewDetachedReport: cannot get report - %u", m_ObjectId);
        return 0;
    }
    SCA_MonReportDlg window(nullptr, &m_LocalConfig, &m_ClientUserConfig, &m_Params, &report);
    return RunWindow(&window, [&] { return window.FillDialog(); });
}
