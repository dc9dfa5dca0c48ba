// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class QLabel;
class QTreeWidget;
class SCA_ExeModuleList;

// The modules (the program and its shared libraries) a process has loaded: file name, version,
// description, size and path, one row per module.
class SCA_ExeModuleListDlg : public QDialog {
    Q_OBJECT
public:
    // modules is the caller's and outlives the dialog.
    SCA_ExeModuleListDlg(QWidget* parent, const char* processName, SCA_ExeModuleList* modules);
    // Fills the rows; 1.
    int UpdateModuleView();
    QTreeWidget* GetView() const { return m_View; }
    QLabel* GetSummary() const { return m_Summary; }

private:
    SCA_ExeModuleList* m_Modules;
    QTreeWidget* m_View;
    QLabel* m_Summary;
};
