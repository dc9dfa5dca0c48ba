// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <cstdint>

#include "korvac/SCA_LiveCounter.h"
#include "libmor/SCA_Limits.h"
#include "libtez/SCA_KorvantaInterface.h"
#include "model/SCA_TezCounterList.h"

class QLabel;
class QSplitter;
class QToolButton;
class QTreeWidgetItem;
class SCA_ChartFrame;
class SCA_ClientSession;
class SCA_ConfigObj;
class SCA_GaugeFrame;
class SCA_ProcessCountersView;
class SCA_SrvGui;
class SCA_SrvMonitor;
class SCA_StatusLabelEx;
class SCA_TezConfig;
class SCA_TezConfigUser;

// The live window of one process of a process monitor: its state, a gauge and a chart of one
// of its counters, every counter with its current, average, minimum and maximum value, and its
// instances, errors and warnings, refreshed once a second. It closes, with one message, when
// the poll fails or the process has no instances left.
class SCA_SrvProcessDlg : public QDialog {
    Q_OBJECT
public:
    // monitor is the caller's (and outlives the window), as are the configurations, "Params"
    // and the session; mainWindow is null in a viewer of its own.
    SCA_SrvProcessDlg(QWidget* parent, SCA_SrvGui* mainWindow, SCA_TezConfig* productConfig,
                      SCA_TezConfigUser* userConfig, SCA_TezConfigUser* clientUserConfig,
                      SCA_ConfigObj* params, SCA_ClientSession* session, SCA_SrvMonitor* monitor,
                      uint32_t processId, const char* processName);
    ~SCA_SrvProcessDlg() override;

    // 1 when the window may be shown: the process has counters' status and instances.
    int StartProcess();
    int StopProcess();
    // One refresh; 0 when it failed and the window closed itself. A counter chosen during a
    // poll is fetched by one more poll right after it, never inside it.
    int UpdateStatus();
    // Makes a counter the gauge's and chart's; the next poll fetches its samples.
    int SelectCounter(uint32_t counterId, int selectRow);

    // What the tests read.
    uint32_t GetSelectedCounterId() const { return m_SelectedCounterId; }
    uint32_t GetLastSpan() const { return m_LastSpan; }
    int GetTimerId() const { return m_TimerId; }
    const char* GetProcessName() const { return m_ProcessName; }
    SCA_ProcessCountersView* GetCountersView() const { return m_CountersView; }
    SCA_ChartFrame* GetChart() const { return m_Chart; }
    SCA_GaugeFrame* GetGauge() const { return m_Gauge; }
    SCA_StatusLabelEx* GetStatusLabel() const { return m_StatusLabel; }
    QToolButton* GetDetailsButton() const { return m_DetailsButton; }
    QLabel* GetInstancesLabel() const { return m_InstancesLabel; }
    QLabel* GetErrorsLabel() const { return m_ErrorsLabel; }
    QLabel* GetWarningsLabel() const { return m_WarningsLabel; }

public slots:
    void CounterSelected(QTreeWidgetItem* item, int column);
    void CounterDoubleClicked(QTreeWidgetItem* item, int column);
    void ChartViewModeChanged();
    void SaveReport();
    void ViewErrors();
    void ViewProcessDetails();

protected:
    void timerEvent(QTimerEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QToolButton* AddButton(QLayout* row, const char* text, const char* icon, int minWidth);
    void FillCounters();
    int PollOnce();
    int PollFailed();
    void ShowCounters(const SCA_KorvantaInterface::ProcessCountersStatus& status);
    void ClearHistory();

    int m_TimerId = -1;
    uint32_t m_LastRepStatus = SCA_ALL_ONES;
    uint32_t m_LastProcessStatus = SCA_ALL_ONES;
    SCA_TezConfig* m_ProductConfig;
    SCA_TezConfigUser* m_UserConfig;
    SCA_TezConfigUser* m_ClientUserConfig;
    SCA_ConfigObj* m_Params;
    SCA_SrvGui* m_MainWindow;
    SCA_ClientSession* m_Session;
    SCA_SrvMonitor* m_Monitor;
    uint32_t m_MonitorId;
    uint32_t m_ProcessId;
    SCA_TezCounterList m_Counters;
    char m_ProcessName[256] = "";
    uint32_t m_SelectedCounterId = SCA_ALL_ONES;
    uint32_t m_LastSpan = 0;
    SCA_LiveCounter m_History;
    uint64_t m_HistoryGeneration = 0;
    int m_Holds = 0;
    bool m_Polling = false;
    bool m_PollAgain = false;

    QSplitter* m_VerticalSplitter = nullptr;
    QSplitter* m_HorizontalSplitter = nullptr;
    SCA_StatusLabelEx* m_StatusLabel = nullptr;
    SCA_GaugeFrame* m_Gauge = nullptr;
    SCA_ChartFrame* m_Chart = nullptr;
    SCA_ProcessCountersView* m_CountersView = nullptr;
    QToolButton* m_SaveButton = nullptr;
    QToolButton* m_DetailsButton = nullptr;
    QToolButton* m_ErrorsButton = nullptr;
    QToolButton* m_CloseButton = nullptr;
    QLabel* m_InstancesLabel = nullptr;
    QLabel* m_ErrorsLabel = nullptr;
    QLabel* m_WarningsLabel = nullptr;
};
