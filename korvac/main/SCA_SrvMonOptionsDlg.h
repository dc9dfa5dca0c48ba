// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QString>

class QCheckBox;
class QComboBox;
class QFrame;
class QLineEdit;
class QVBoxLayout;
class SCA_SrvMonitor;
class SCA_TezConfigUser;
class SCA_ToolButton;

// "Monitor Options": whether and how the service saves a monitor's report periodically (how
// often, how many it keeps, format, mode and folder), and whether the monitor starts by itself.
// FillDialog shows a record's values and SaveDialog writes them back after an accepted run.
class SCA_SrvMonOptionsDlg : public QDialog {
    Q_OBJECT
public:
    SCA_SrvMonOptionsDlg(QWidget* parent, SCA_TezConfigUser* userConfig, const QString& title);

    int FillDialog(SCA_SrvMonitor* monitor);
    // A combo box without a current item (the record's value matched none of its items)
    // leaves that field of the record as it was.
    int SaveDialog(SCA_SrvMonitor* monitor);

    QCheckBox* GetSaveReportsCheck() const { return m_SaveReports; }
    QComboBox* GetIntervalBox() const { return m_Interval; }
    QComboBox* GetHistoryBox() const { return m_History; }
    QComboBox* GetFormatBox() const { return m_Format; }
    QComboBox* GetModeBox() const { return m_Mode; }
    QLineEdit* GetFolderEdit() const { return m_Folder; }
    QCheckBox* GetAutoStartCheck() const { return m_AutoStart; }

    // The parts the monitor dialogs share: a tool button with a text, at least minWidth wide,
    // and the sunken line above a dialog's buttons.
    static SCA_ToolButton* NewButton(QWidget* parent, const char* text, int minWidth);
    static QFrame* NewSeparator(QWidget* parent);

public slots:
    void SaveReportsClicked();
    void SaveReportsFormatChanged(int index);
    // Refuses only a folder too long for the record, which cutting would turn into another.
    void Accept();

private:
    void ApplyEnableRule();

    QVBoxLayout* m_MainLayout;
    SCA_TezConfigUser* m_UserConfig;
    QCheckBox* m_SaveReports;
    QComboBox* m_Interval;
    QComboBox* m_History;
    QComboBox* m_Format;
    QComboBox* m_Mode;
    QLineEdit* m_Folder;
    QCheckBox* m_AutoStart;
    SCA_ToolButton* m_OkButton;
    SCA_ToolButton* m_CancelButton;
};
