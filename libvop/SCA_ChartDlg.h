// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <vector>

class QListWidget;
class QWidget;
class SCA_TezConfigUser;
class SCA_TezProcessList;

// Charts across the processes of a process monitor: one bar chart per counter, chosen from the
// list on the left, the biggest processes first. A process without a value of that counter has
// no bar (it is not shown as 0).
class SCA_ChartDlg : public QDialog {
    Q_OBJECT
public:
    // One bar of a chart.
    struct Bar {
        QString Name;
        double Value = 0.0;
    };
    struct Chart {
        QString Title;
        uint32_t CounterType = 0;
        uint32_t UnitCode = 0;
        QString ShortName;
        std::vector<Bar> Bars; // biggest first
    };

    // The chart colours are userConfig's (the caller's, outliving the dialog). mode is kept
    // for the caller's sake: 1 charts the processes of a process monitor.
    SCA_ChartDlg(QWidget* parent, SCA_TezConfigUser* userConfig, uint32_t mode);
    // Takes the values of counterType from every process of list (read now; list may go).
    void AddChart(SCA_TezProcessList* list, const char* title, uint32_t counterType,
                  uint32_t unitCode, const char* shortName);
    // Lists the charts and shows the first; 0 when there is none.
    int FillDialog();

    const std::vector<Chart>& GetCharts() const { return m_Charts; }
    QListWidget* GetChartList() const { return m_ChartList; }
    int GetShownChart() const { return m_Shown; }
    uint32_t GetMode() const { return m_Mode; }

    // The most bars a chart shows; the rest are the smaller ones.
    static constexpr size_t kMaxBars = 20;

private:
    void ShowChart(int index);

    SCA_TezConfigUser* m_UserConfig;
    uint32_t m_Mode;
    std::vector<Chart> m_Charts;
    QListWidget* m_ChartList;
    QWidget* m_Plot;
    int m_Shown = -1;
};
