// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <cstdint>

#include "korvac/kit/SCA_WindowContext.h"

class QWidget;
class SCA_ClientSession;
class SCA_ConfigObj;
class SCA_TezConfig;
class SCA_TezConfigUser;

// What the "Save" commands of the live windows share: the monitor and where it comes from, the
// save dialog that asks for title, format, mode and file, and the report of a file that could
// not be written. Each kind of report (SCA_MonitorReportSave, SCA_ProcessReportSave) fetches and
// writes its own.
class SCA_ReportSave {
public:
    // The client's user configuration of the context keeps the last format and mode.
    SCA_ReportSave(QWidget* parent, const SCA_WindowContext& context, uint32_t monitorId)
        : Parent(parent), ProductConfig(context.ProductConfig), UserConfig(context.UserConfig),
          ReportSettings(context.ClientUserConfig), Params(context.Params),
          Session(context.Session), MonitorId(monitorId) {}

    QWidget* Parent = nullptr;
    SCA_TezConfig* ProductConfig = nullptr;
    SCA_TezConfigUser* UserConfig = nullptr;
    // Keeps the last format and mode chosen.
    SCA_TezConfigUser* ReportSettings = nullptr;
    SCA_ConfigObj* Params = nullptr;
    SCA_ClientSession* Session = nullptr;
    uint32_t MonitorId = 0;
    // "SCA_SrvMonStatusDlg::SaveReport": the start of every message.
    QString Caller;

protected:
    static constexpr uint32_t kTitleSize = 256;
    static constexpr uint32_t kPathSize = 4096;

    // What the user chose in the save dialog.
    struct Choice {
        uint32_t Format = 0;
        uint32_t Mode = 0;
        char Title[kTitleSize] = "";
        char Path[kPathSize] = "";
    };

    // Runs the save dialog (caption, default file name, the title it offers first); 1 when the
    // user chose a file, whose format and mode ReportSettings then keeps.
    int AskFile(const char* caption, const char* name, const char* title, Choice* choice) const;
    // Reports "<Caller>: cannot save report to <path> (<why>)" at level 5; always 0.
    int SaveFailed(const Choice& choice, uint32_t error) const;
};
