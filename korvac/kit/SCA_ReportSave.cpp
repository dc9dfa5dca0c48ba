// SPDX-License-Identifier: MIT
#include "korvac/kit/SCA_ReportSave.h"

#include <QDialog>

#include "libmor/SCA_Report.h"
#include "libmor/SCA_System.h"
#include "libvop/SCA_ModalHook.h"
#include "libvop/SCA_SaveReportDlg.h"
#include "model/SCA_TezConfigUser.h"

namespace {

constexpr uint32_t kErrorTextSize = 256;

} // namespace

int SCA_ReportSave::AskFile(const char* caption, const char* name, const char* title,
                            Choice* choice) const {
    SCA_SaveReportDlg dialog(Parent, ProductConfig, UserConfig, Params, caption, name, 0, 1);
    dialog.FillDialog(title, ReportSettings->GetSaveReportFormat(),
                      ReportSettings->GetSaveReportMode());
    if (SCA_ExecDialog(&dialog) != QDialog::Accepted) {
        return 0;
    }
    if (!dialog.GetReportData(&choice->Format, &choice->Mode, choice->Title, sizeof(choice->Title),
                              choice->Path, sizeof(choice->Path))) {
        return 0;
    }
    ReportSettings->SetSaveReportFormat(choice->Format);
    ReportSettings->SetSaveReportMode(choice->Mode);
    return 1;
}

int SCA_ReportSave::SaveFailed(const Choice& choice, uint32_t error) const {
    char why[kErrorTextSize] = "";
    SCA_GetErrorDescr(error, why, sizeof(why));
    SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR, "%s: cannot save report to %s (%s)",
                                              Caller.toUtf8().constData(), choice.Path, why);
    return 0;
}
