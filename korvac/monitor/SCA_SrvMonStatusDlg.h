// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

#include "korvac/kit/SCA_LiveCounter.h"
#include "korvac/kit/SCA_LiveWindow.h"
#include "libtez/SCA_KorvantaInterface.h"
#include "model/SCA_SrvMonitor.h"
#include "model/SCA_TezProfile.h"

class QAction;
class QBoxLayout;
class QHBoxLayout;
class QContextMenuEvent;
class QLabel;
class QMenu;
class QSplitter;
class QTreeWidgetItem;
class SCA_ChartFrame;
class SCA_CountersView;
class SCA_GaugeFrame;
class SCA_TreeRows;

// The live window of one counter monitor: its run state, error and warning counts and process
// time, one row per counter with its current, average, minimum and maximum value, and a gauge
// and a chart of the selected counter, all refreshed once a second from its own timer. From it
// the user starts, pauses, resets and stops the monitor, edits, moves and deletes counters,
// saves the monitor's report, sees its errors and opens a counter in a detached viewer.
//
// It reaches the service through the session at each call and keeps no client object. A poll
// that fails closes the window once, with one message; a lost connection is also the session's
// to tell (once). A dialog the window opens holds its polls until it closes.
class SCA_SrvMonStatusDlg : public SCA_LiveWindow {
    Q_OBJECT
public:
    SCA_SrvMonStatusDlg(QWidget* parent, const SCA_WindowContext& context, uint32_t monitorId);
    // Out of line: the row helper is only declared here.
    ~SCA_SrvMonStatusDlg() override;

    // Loads the monitor and its counters, shows the first status and starts the timer; 1 on
    // success (the caller shows the window only then).
    int StartProcess();
    // Makes a counter the gauge's and chart's (and, with selectRow, the current row). It only
    // chooses: the caller's next refresh fetches the counter's samples.
    int SelectCounter(uint32_t counterId, int selectRow);

    // The counters view: built once; its rows follow the profile, their values the status.
    int CreateCountersView();
    int FillCounters(SCA_TezProfile* profile);
    int UpdateCounters(const std::vector<SCA_KorvantaInterface::CounterState>& counters);
    int ShowCountersMenu(QContextMenuEvent* event);
    // The entries of the counters' context menu, which act on the view's selection.
    void BuildCountersMenu(QMenu* menu);
    // Starts a detached viewer of the selected counter on a screen (all ones: where the
    // windowing system puts it); 1 when the viewer process was started.
    int ViewDetached(uint32_t screen);

    // What the tests read.
    uint32_t GetMonitorId() const { return m_MonitorId; }
    uint32_t GetSelectedCounterId() const { return m_SelectedCounterId; }
    uint32_t GetState() const { return m_State; }
    const SCA_LiveCounter& GetHistory() const { return m_History; }
    SCA_CountersView* GetCountersView() const { return m_CountersView; }
    SCA_GaugeFrame* GetGauge() const { return m_Gauge; }
    SCA_ChartFrame* GetChart() const { return m_Chart; }
    QToolButton* GetMonitorButton() const { return m_MonitorButton; }
    QToolButton* GetSaveButton() const { return m_SaveButton; }
    QToolButton* GetStartButton() const { return m_StartButton; }
    QToolButton* GetPauseButton() const { return m_PauseButton; }
    QToolButton* GetResetButton() const { return m_ResetButton; }
    QToolButton* GetStopButton() const { return m_StopButton; }
    QToolButton* GetErrorsButton() const { return m_ErrorsButton; }
    QLabel* GetStateText() const { return m_StateText; }
    QLabel* GetErrorsLabel() const { return m_ErrorsLabel; }
    QLabel* GetWarningsLabel() const { return m_WarningsLabel; }
    QLabel* GetProcessTimeLabel() const { return m_ProcessTimeLabel; }

public slots:
    void CounterSelected(QTreeWidgetItem* item, int column);
    void CounterDoubleClicked(QTreeWidgetItem* item, int column);
    void ChartViewModeChanged();
    void AddCounter();
    void EditCounter();
    void ViewDetached();
    void MoveCounterUp();
    void MoveCounterDown();
    void DeleteCounter();

private:
    void BuildToolRow(QHBoxLayout* row);
    void BuildStatusBar(QBoxLayout* layout);
    struct StatusPoll;
    int PollOnce() override;
    void AskUpdate() override;
    StatusPoll NextPoll() const;
    int ShowPoll(const StatusPoll& poll);
    void ShowState(uint32_t state, size_t counters);
    void ShowCounts(const SCA_KorvantaInterface::MonitorStatus& status);
    // Refetches the profile after its counters changed; 0 when that failed.
    int ReloadProfile();
    // Forgets the collected samples; a poll under way then brings samples of the past.
    void ClearHistory();
    // The counter commands' exchanges with the service; 1 when the window should refresh.
    int EditCounterInfo(uint32_t counterId);
    int AddPickedCounter();
    int DeleteSelectedCounters();
    void MoveCounter(int (SCA_KorvantaInterface::*step)(uint32_t, uint32_t));
    // The counter id of the current row when it is selected; all ones otherwise.
    uint32_t CurrentCounterId() const;
    // A monitor without counters does not start.
    int MayStart() override;
    void MonitorStarted() override { ClearHistory(); }
    void MonitorReset() override { ClearHistory(); }
    const char* ErrorsFetchFailedText() const override;
    const char* ErrorsTitle() const override { return m_Monitor.GetDescription(); }
    void SaveWindowReport() override;
    // The tool tip of a command this version does not have.
    static QString NotAvailable(const char* what);

    uint32_t m_State = SCA_ALL_ONES;
    uint32_t m_CountersStatusId = SCA_ALL_ONES;
    SCA_SrvMonitor m_Monitor;
    uint32_t m_SelectedCounterId = SCA_ALL_ONES;
    SCA_LiveCounter m_History;
    uint64_t m_HistoryGeneration = 0;
    SCA_TezProfile m_Profile;

    QSplitter* m_VerticalSplitter = nullptr;
    QSplitter* m_HorizontalSplitter = nullptr;
    SCA_GaugeFrame* m_Gauge = nullptr;
    SCA_ChartFrame* m_Chart = nullptr;
    SCA_CountersView* m_CountersView = nullptr;
    std::unique_ptr<SCA_TreeRows> m_CounterRows;
    QToolButton* m_MonitorButton = nullptr;
    QToolButton* m_SaveButton = nullptr;
    QToolButton* m_StartButton = nullptr;
    QToolButton* m_PauseButton = nullptr;
    QToolButton* m_ResetButton = nullptr;
    QToolButton* m_StopButton = nullptr;
    QToolButton* m_ErrorsButton = nullptr;
    QLabel* m_StateIcon = nullptr;
    QLabel* m_StateText = nullptr;
    QLabel* m_ErrorsLabel = nullptr;
    QLabel* m_WarningsLabel = nullptr;
    QLabel* m_ProcessTimeLabel = nullptr;
};
