// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class QTreeWidget;
class SCA_DebugLog;

// The messages of a message log, oldest first: level, date and time, text. The log is the
// caller's and outlives the dialog.
class SCA_DebugLogDlg : public QDialog {
    Q_OBJECT
public:
    SCA_DebugLogDlg(QWidget* parent, SCA_DebugLog* log, const QString& title);

    QTreeWidget* GetView() const { return m_View; }

private:
    void Fill();

    SCA_DebugLog* m_Log;
    QTreeWidget* m_View;
};
