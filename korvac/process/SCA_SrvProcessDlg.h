// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "korvac/kit/SCA_LiveCounter.h"
#include "korvac/kit/SCA_LiveWindow.h"
#include "libmor/SCA_Limits.h"
#include "libtez/SCA_KorvantaInterface.h"
#include "model/SCA_TezCounterList.h"

class QLabel;
class QLayout;
class QSplitter;
class QToolButton;
class QTreeWidgetItem;
class SCA_ChartFrame;
class SCA_GaugeFrame;
class SCA_ProcessCountersView;
class SCA_SrvMonitor;
class SCA_StatusLabelEx;

// The live window of one process of a process monitor: its state, a gauge and a chart of one
// of its counters, every counter with its current, average, minimum and maximum value, and its
// instances, errors and warnings, refreshed once a second. It closes, with one message, when
// the poll fails or the process has no instances left (it has ended, which its status label
// and the log say).
class SCA_SrvProcessDlg : public SCA_LiveWindow {
    Q_OBJECT
public:
    // monitor is the caller's and outlives the window.
    SCA_SrvProcessDlg(QWidget* parent, const SCA_WindowContext& context, SCA_SrvMonitor* monitor,
                      uint32_t processId, const char* processName);

    // 1 when the window may be shown: the process has counters' status and instances.
    int StartProcess();
    // Makes a counter the gauge's and chart's; the next poll fetches its samples.
    int SelectCounter(uint32_t counterId, int selectRow);

    // What the tests read.
    uint32_t GetSelectedCounterId() const { return m_SelectedCounterId; }
    uint32_t GetLastSpan() const { return m_LastSpan; }
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
    void ViewProcessDetails();

private:
    QToolButton* AddButton(QLayout* row, const char* text, const char* icon, int minWidth);
    void FillCounters();
    struct CountersPoll;
    CountersPoll NextPoll();
    static int FetchPoll(SCA_KorvantaInterface& client, uint32_t monitorId, uint32_t processId,
                         CountersPoll& poll);
    int PollOnce() override;
    void AskUpdate() override;
    int ShowPoll(const CountersPoll& poll);
    // Tells that the process has ended, then closes as a failed poll does; always 0.
    int ProcessEnded(uint32_t repStatus);
    void ShowCounters(const SCA_KorvantaInterface::ProcessCountersStatus& status);
    void ClearHistory();
    const char* ErrorsFetchFailedText() const override {
        return "SCA_SrvMonitorProcListDlg::ViewErrors: cannot monitor errors";
    }
    const char* ErrorsTitle() const override { return "Process Monitor"; }
    void SaveWindowReport() override;

    uint32_t m_LastRepStatus = SCA_ALL_ONES;
    uint32_t m_LastProcessStatus = SCA_ALL_ONES;
    SCA_SrvMonitor* m_Monitor;
    uint32_t m_ProcessId;
    SCA_TezCounterList m_Counters;
    char m_ProcessName[256] = "";
    uint32_t m_SelectedCounterId = SCA_ALL_ONES;
    uint32_t m_LastSpan = 0;
    SCA_LiveCounter m_History;
    uint64_t m_HistoryGeneration = 0;

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
