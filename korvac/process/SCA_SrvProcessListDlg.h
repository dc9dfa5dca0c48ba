// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "korvac/kit/SCA_LiveWindow.h"
#include "korvac/process/SCA_ProcessStatusRecords.h"
#include "libmor/SCA_Limits.h"
#include "model/SCA_SrvMonitor.h"

class QAction;
class QBoxLayout;
class QHBoxLayout;
class QContextMenuEvent;
class QLabel;
class QMenu;
class QSplitter;
class QStatusBar;
class QToolButton;
class QTreeWidgetItem;
class SCA_SrvProcessLog;
class SCA_SrvProcessView;
class SCA_StatusIcon;
class SCA_TreeRows;

// The live window of one process monitor: every process of the computer with its instances,
// CPU, memory, threads, handles, errors and warnings (sortable by a header click, refreshed in
// place once a second), the monitor's start and end log below it, and totals in the status
// bar. From it the user starts, pauses, resets and stops the monitor, edits the process rules
// and the exclude list, sees the errors, saves reports, shows charts across processes, and
// opens one process in its own window, its details or its modules.
//
// It reaches the service through the session at each call. A poll that fails closes the
// window once, with one message; while a dialog it opened is up, its polls wait.
class SCA_SrvProcessListDlg : public SCA_LiveWindow {
    Q_OBJECT
public:
    SCA_SrvProcessListDlg(QWidget* parent, const SCA_WindowContext& context, uint32_t monitorId);
    // Out of line: the row helper is only declared here.
    ~SCA_SrvProcessListDlg() override;

    // Loads the monitor, shows the first status and starts the timer; 1 when the window may
    // be shown.
    int StartProcess();
    static constexpr const char* kRowsUnreadText =
        "Process list not updated: the service's process rows could not be read";

    // One poll, unless a dialog of the window holds the polls; 0 when it failed (a failed call
    // closes the window, a list that cannot be read stays greyed with the reason in the status
    // bar).
    int UpdateStatus() override;

    void ShowProcessMenu(QContextMenuEvent* event);
    void ShowLogMenu(QContextMenuEvent* event);
    // The menus' entries (the tests run them without a screen).
    void BuildProcessMenu(QMenu* menu);
    void BuildLogMenu(QMenu* menu);
    // Starts a viewer of the selected process on a screen (all ones: where the desktop puts it);
    // 0 when none is selected or it could not start.
    int ViewProcessDetached(uint32_t screen);

    // What the tests read.
    const SCA_ProcessStatusRecords& GetRecords() const { return m_Records; }
    const SCA_ProcessSortState& GetSort() const { return m_Sort; }
    uint32_t GetLastLogItemId() const { return m_LastLogItemId; }
    SCA_SrvProcessView* GetProcessView() const { return m_ProcessView; }
    SCA_SrvProcessLog* GetLogView() const { return m_LogView; }
    SCA_StatusIcon* GetStatusIcon() const { return m_StatusIcon; }
    QToolButton* GetStartButton() const { return m_StartButton; }
    QToolButton* GetPauseButton() const { return m_PauseButton; }
    QToolButton* GetResetButton() const { return m_ResetButton; }
    QToolButton* GetStopButton() const { return m_StopButton; }
    QToolButton* GetRulesButton() const { return m_RulesButton; }
    QToolButton* GetErrorsButton() const { return m_ErrorsButton; }
    QToolButton* GetExcludeButton() const { return m_ExcludeButton; }
    QToolButton* GetSaveButton() const { return m_SaveButton; }
    QToolButton* GetChartsButton() const { return m_ChartsButton; }
    QLabel* GetRunStateLabel() const { return m_RunStateLabel; }
    QLabel* GetProcessesLabel() const { return m_ProcessesLabel; }
    QLabel* GetInstancesLabel() const { return m_InstancesLabel; }
    QLabel* GetMemoryLabel() const { return m_MemoryLabel; }
    QLabel* GetThreadsLabel() const { return m_ThreadsLabel; }
    QLabel* GetHandlesLabel() const { return m_HandlesLabel; }
    QLabel* GetErrorsLabel() const { return m_ErrorsLabel; }
    QLabel* GetWarningsLabel() const { return m_WarningsLabel; }

public slots:
    void ProcessSelected(QTreeWidgetItem* item, int column);
    void ProcessDoubleClicked(QTreeWidgetItem* item, int column);
    void ProcSectionClicked(int column);
    void ViewProcessStats();
    void ViewProcessDetached();
    void ViewProcessDetails();
    void ViewProcessModules();
    void SaveProcessReport();
    void ViewRules();
    void SaveProcessLog();
    void ClearProcessLog();
    void ShowCharts();
    void ExcludeProcesses();

private:
    void BuildToolRow(QHBoxLayout* row);
    void BuildStatusBar(QBoxLayout* layout);
    struct ListPoll;
    static int FetchPoll(SCA_KorvantaInterface& client, uint32_t monitorId, ListPoll& poll);
    int PollOnce() override;
    void AskUpdate() override;
    int ShowPoll(ListPoll& poll);
    void ShowRunState(uint32_t processStatus);
    void ShowTotals();
    // The rows: put in sort order when the set of processes changed (or the order did), else
    // refreshed where they stand (SCA_SrvProcessView::UpdateRows). A process's row is kept for
    // as long as the process lives, so the user's selection and scroll position stay with it.
    void SortRows();
    // The process id of the current row when it is selected, its name in *name; 0 for none.
    int SelectedProcess(uint32_t* processId, QString* name) const;
    // A new run: the whole log again, from its first item.
    void MonitorStarted() override;
    const char* ErrorsFetchFailedText() const override {
        return "SCA_SrvProcessListDlg::ViewErrors: cannot get proccess monitor errors";
    }
    const char* ErrorsTitle() const override { return "Process Monitor"; }
    void SaveWindowReport() override { SaveProcesses(SCA_ALL_ONES); }
    void SaveProcesses(uint32_t processId);

    uint32_t m_LastStatus = SCA_ALL_ONES;
    uint32_t m_LastProcessStatus = SCA_ALL_ONES;
    uint32_t m_LastListStatus = SCA_ALL_ONES;
    uint32_t m_LastLogItemId = SCA_ALL_ONES;
    SCA_SrvMonitor m_Monitor;
    SCA_ProcessStatusRecords m_Records;
    // The rows of the last poll, whose room the next poll reads into.
    std::vector<SCA_KorvantaInterface::ProcessRow> m_PollRows;
    SCA_ProcessSortState m_Sort;
    bool m_SortShown = false;

    QSplitter* m_Splitter = nullptr;
    SCA_SrvProcessView* m_ProcessView = nullptr;
    std::unique_ptr<SCA_TreeRows> m_Rows;
    SCA_SrvProcessLog* m_LogView = nullptr;
    QToolButton* m_StartButton = nullptr;
    QToolButton* m_PauseButton = nullptr;
    QToolButton* m_ResetButton = nullptr;
    QToolButton* m_StopButton = nullptr;
    QToolButton* m_RulesButton = nullptr;
    QToolButton* m_ErrorsButton = nullptr;
    QToolButton* m_ExcludeButton = nullptr;
    QToolButton* m_SaveButton = nullptr;
    QToolButton* m_ChartsButton = nullptr;
    QStatusBar* m_StatusBar = nullptr;
    SCA_StatusIcon* m_StatusIcon = nullptr;
    QLabel* m_RunStateLabel = nullptr;
    QLabel* m_ProcessesLabel = nullptr;
    QLabel* m_InstancesLabel = nullptr;
    QLabel* m_MemoryLabel = nullptr;
    QLabel* m_ThreadsLabel = nullptr;
    QLabel* m_HandlesLabel = nullptr;
    QLabel* m_ErrorsLabel = nullptr;
    QLabel* m_WarningsLabel = nullptr;
};
