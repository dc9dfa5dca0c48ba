// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QString>

class QGridLayout;
class QLabel;
class QTreeWidget;
class SCA_TezConfig;
class SCA_TezConfigUser;
class SCA_TezDeltaReport;

// The comparison of two reports: both headers side by side, a line that counts the major and
// minor changes (with the thresholds they were judged by), and one row per counter with its
// average in each report and how much it changed.
class SCA_DeltaReportDlg : public QDialog {
    Q_OBJECT
public:
    // The configurations and the comparison stay the caller's.
    SCA_DeltaReportDlg(QWidget* parent, SCA_TezConfig* config, SCA_TezConfigUser* userConfig,
                       SCA_TezDeltaReport* delta);

    // Fills the dialog from the comparison; 0 without one.
    int FillDialog();

    QLabel* GetSummary() const { return m_Summary; }
    QTreeWidget* GetView() const { return m_View; }
    // The text of a header cell: row label ("Profile", ...) and report (1 or 2).
    QString GetHeaderValue(const QString& label, int report) const;

    // What a counter's row says in its Result column ("Major change", "Only in the first
    // report", ...), by its delta icon and status.
    static QString ResultText(uint32_t deltaIcon, uint32_t repStatus);

private:
    void FillHeader();
    void FillCounters();

    SCA_TezDeltaReport* m_Delta;
    QGridLayout* m_Header;
    QLabel* m_Summary;
    QTreeWidget* m_View;
    QLabel* m_Empty;
};
