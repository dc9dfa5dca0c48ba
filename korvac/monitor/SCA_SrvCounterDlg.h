// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <cstdint>

#include "korvac/kit/SCA_LiveCounter.h"
#include "korvac/kit/SCA_WindowContext.h"
#include "model/SCA_SrvMonitor.h"
#include "model/SCA_TezCounterInfo.h"
#include "model/SCA_TezProfile.h"

class QToolButton;
class SCA_ChartFrame;
class SCA_ClientSession;
class SCA_ConfigObj;
class SCA_GaugeFrame;
class SCA_KorvantaInterface;
class SCA_TezConfig;
class SCA_TezConfigUser;

// One counter of one monitor live, in a window of its own: a gauge and a chart side by side,
// refreshed once a second from the window's own timer, with "Save" for the report of this
// counter and "Close". Each poll asks only for the samples newer than the newest it holds.
// It reaches the service through the session at each call and keeps no client object.
class SCA_SrvCounterDlg : public QDialog {
    Q_OBJECT
public:
    // withMinimizeButton nonzero gives the window a minimise button besides its maximise one.
    SCA_SrvCounterDlg(QWidget* parent, const SCA_WindowContext& context, uint32_t monitorId,
                      uint32_t counterId, int withMinimizeButton);
    ~SCA_SrvCounterDlg() override;

    // Fetches the monitor and its profile, checks the counter, shows the first values and
    // starts the timer; 1 on success, else 0 with the reason reported (the caller then does
    // not show the window).
    int StartProcess();
    int StopProcess();
    // One poll and redraw; 0 when the poll failed.
    int UpdateCounter(int redraw);

    // What the tests read.
    int GetTimerId() const { return m_TimerId; }
    uint64_t GetLastTime() const { return m_History.GetLastDataTime(); }
    const SCA_LiveCounter& GetHistory() const { return m_History; }
    SCA_GaugeFrame* GetGauge() const { return m_Gauge; }
    SCA_ChartFrame* GetChart() const { return m_Chart; }
    QToolButton* GetSaveButton() const { return m_SaveButton; }
    QToolButton* GetCloseButton() const { return m_CloseButton; }

public slots:
    void SaveReport();
    void ChartViewModeChanged();

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    // The third part of the title: the computer whose counter this is.
    QString ComputerName();
    struct CounterPoll;
    CounterPoll NextPoll() const;
    static int FetchPoll(SCA_KorvantaInterface& client, uint32_t monitorId, uint32_t counterId,
                         CounterPoll& poll);
    void ShowPoll(CounterPoll& poll, int redraw);
    // The timer's poll: asked, and shown when it comes; one that failed closes the window.
    void AskUpdate();

    SCA_WindowContext m_Context;
    SCA_TezConfig* m_ProductConfig;
    SCA_TezConfigUser* m_UserConfig;
    SCA_TezConfigUser* m_ReportSettings;
    SCA_ConfigObj* m_ReportObj;
    SCA_ClientSession* m_Session;
    uint32_t m_MonitorId;
    uint32_t m_CounterId;
    SCA_SrvMonitor m_Monitor;
    SCA_TezProfile m_Profile;
    SCA_TezCounterInfo m_CounterInfo;
    SCA_LiveCounter m_History;
    int m_TimerId = -1;
    // A save dialog holds the polls while it runs.
    bool m_Saving = false;
    // Polls shown so far: one answered after a newer one was shown is dropped.
    uint64_t m_PollsShown = 0;

    SCA_GaugeFrame* m_Gauge = nullptr;
    SCA_ChartFrame* m_Chart = nullptr;
    QToolButton* m_SaveButton = nullptr;
    QToolButton* m_CloseButton = nullptr;
};
