// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QStringList>

class QLineEdit;
class QListWidget;
class QPushButton;

// The names of the processes a process monitor leaves out: added by name, removed by
// selection. Names compare as they stand; a name given twice is kept once.
class SCA_ProcExcludeDlg : public QDialog {
    Q_OBJECT
public:
    explicit SCA_ProcExcludeDlg(QWidget* parent);
    // Shows names, in order; 1.
    int FillDialog(const QStringList& names);
    // The list as edited, in order.
    QStringList GetExcludeList() const;

    QLineEdit* GetNameEdit() const { return m_Name; }
    QListWidget* GetList() const { return m_List; }
    QPushButton* GetAddButton() const { return m_Add; }
    QPushButton* GetRemoveButton() const { return m_Remove; }

public slots:
    void AddName();
    void RemoveNames();

private:
    void UpdateButtons();

    QLineEdit* m_Name;
    QListWidget* m_List;
    QPushButton* m_Add;
    QPushButton* m_Remove;
};
