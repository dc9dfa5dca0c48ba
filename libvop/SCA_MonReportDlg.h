// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QString>
#include <vector>

class QGridLayout;
class QLabel;
class QTreeWidget;
class QVBoxLayout;
class SCA_ChartFrame;
class SCA_ConfigObj;
class SCA_TezConfig;
class SCA_TezConfigUser;
class SCA_TezReport;

// A monitoring report shown as one document that scrolls: its title, the header (what was
// monitored, where, when and for how long) with the summary counts, the counters with their
// statistics over the run, a chart of each counter over the whole run, and the errors and
// warnings recorded.
class SCA_MonReportDlg : public QDialog {
    Q_OBJECT
public:
    // The configurations, parameters and report stay the caller's; report must outlive the
    // dialog (the charts read its counters). The user configuration gives the chart colours.
    SCA_MonReportDlg(QWidget* parent, SCA_TezConfig* config, SCA_TezConfigUser* userConfig,
                     SCA_ConfigObj* params, SCA_TezReport* report);

    // Fills the document from the report; 0 without a report.
    int FillDialog();

    QLabel* GetTitleLabel() const { return m_Title; }
    // The header's value of a label ("Profile", "Duration", ...); empty when there is none.
    QString GetHeaderValue(const QString& label) const;
    QTreeWidget* GetCounterView() const { return m_Counters; }
    QTreeWidget* GetErrorView() const { return m_Errors; }
    const std::vector<SCA_ChartFrame*>& GetCharts() const { return m_Charts; }

private:
    void FillHeader();
    void FillCounters();
    void FillCharts();
    void FillErrors();
    void AddHeaderRow(const QString& label, const QString& value);
    // A bold heading, and the line shown in place of a section that has nothing.
    QLabel* AddHeading(const QString& text);
    QLabel* AddEmptyNote(const QString& text);

    SCA_TezConfigUser* m_UserConfig;
    SCA_TezReport* m_Report;
    QWidget* m_Page;
    QVBoxLayout* m_PageLayout;
    QLabel* m_Title;
    QGridLayout* m_Header;
    QTreeWidget* m_Counters;
    QLabel* m_NoCounters;
    QGridLayout* m_ChartGrid;
    QLabel* m_NoCharts;
    std::vector<SCA_ChartFrame*> m_Charts;
    QTreeWidget* m_Errors;
    QLabel* m_NoErrors;
};
