// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <cstdint>

#include "libmor/SCA_Limits.h"

class QWidget;
class SCA_ClientSession;
class SCA_ConfigObj;
class SCA_TezConfig;
class SCA_TezConfigUser;

// The "Save" of a live window: the monitor's report fetched from the service, the user's choice
// of title, format, mode and file in the save dialog, the report written there. Each failure is
// reported at level 5 with a text that begins with Caller, and ends the save: nothing is
// written after a report that could not be fetched, and a file that could not be written says
// why.
class SCA_MonitorReportSave {
public:
    // The service's configurations, the client's (which keeps the last format and mode) and
    // "Params" are the caller's.
    SCA_MonitorReportSave(QWidget* parent, SCA_TezConfig* productConfig,
                          SCA_TezConfigUser* userConfig, SCA_TezConfigUser* reportSettings,
                          SCA_ConfigObj* params, SCA_ClientSession* session, uint32_t monitorId)
        : Parent(parent), ProductConfig(productConfig), UserConfig(userConfig),
          ReportSettings(reportSettings), Params(params), Session(session), MonitorId(monitorId) {}

    QWidget* Parent = nullptr;
    SCA_TezConfig* ProductConfig = nullptr;
    SCA_TezConfigUser* UserConfig = nullptr;
    SCA_TezConfigUser* ReportSettings = nullptr;
    SCA_ConfigObj* Params = nullptr;
    SCA_ClientSession* Session = nullptr;
    uint32_t MonitorId = 0;
    // One counter's report; all ones: the whole monitor's.
    uint32_t CounterId = SCA_ALL_ONES;

    // "SCA_SrvMonStatusDlg::SaveReport": the start of every message.
    QString Caller;
    // The dialog's title; what is saved (the default file name; empty: the report's profile
    // name); the title it offers first; the report's description (empty: the service's).
    QString Caption;
    QString Name;
    QString Title;
    QString Description;
    // What the box says once the report is saved.
    QString SavedText;

    // 1 when the report was saved, 0 when it failed or the user cancelled.
    int Run();
};
