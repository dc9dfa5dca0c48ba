// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QTreeWidget>

class SCA_SrvReportsDlg;

// The reports window's list: one row per report, the report id under Qt::UserRole of column 0.
// A right click asks the window for its context menu; an empty list says why it is empty.
class SCA_SrvReportsView : public QTreeWidget {
    Q_OBJECT
public:
    enum Column { kIcon, kStartTime, kDuration, kProfile, kHost, kCounters, kErrors, kColumns };

    explicit SCA_SrvReportsView(SCA_SrvReportsDlg* window);

    // What the list says while it has no rows.
    void SetEmptyHint(const QString& hint);
    const QString& GetEmptyHint() const { return m_Hint; }

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    SCA_SrvReportsDlg* m_Window;
    QString m_Hint;
};
