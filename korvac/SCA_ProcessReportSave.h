// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <cstdint>

class QWidget;
class SCA_ClientSession;
class SCA_ConfigObj;
class SCA_TezConfig;
class SCA_TezConfigUser;

// The "Save" of the process windows: the monitor's processes fetched from the service, the
// user's choice of title, format, mode and file, the report of one process (or of all) written
// there. A failure is reported at level 5 with a text that begins with Caller and says why; a
// saved report says so in a box.
class SCA_ProcessReportSave {
public:
    SCA_ProcessReportSave(QWidget* parent, SCA_TezConfig* productConfig,
                          SCA_TezConfigUser* userConfig, SCA_TezConfigUser* reportSettings,
                          SCA_ConfigObj* params, SCA_ClientSession* session, uint32_t monitorId)
        : Parent(parent), ProductConfig(productConfig), UserConfig(userConfig),
          ReportSettings(reportSettings), Params(params), Session(session), MonitorId(monitorId) {}

    QWidget* Parent;
    SCA_TezConfig* ProductConfig;
    SCA_TezConfigUser* UserConfig;
    // Keeps the last format and mode chosen.
    SCA_TezConfigUser* ReportSettings;
    SCA_ConfigObj* Params;
    SCA_ClientSession* Session;
    uint32_t MonitorId;
    // "SCA_SrvProcessListDlg::SaveReport": the start of every message.
    QString Caller;

    // The process of processId (all ones: every process); 1 when saved.
    int Run(uint32_t processId);
};
