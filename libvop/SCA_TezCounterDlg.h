// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <cstdint>

#include "model/SCA_TezCondList.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTreeWidget;
class QTreeWidgetItem;
class SCA_ConfigObj;
class SCA_TezConfig;
class SCA_TezConfigUser;
class SCA_TezCounterInfo;

// What the counter dialog lets the user change (its last constructor argument; 3: both).
inline constexpr uint32_t SCA_COUNTER_DLG_SETTINGS = 0x1;   // enabled, required, name prefix
inline constexpr uint32_t SCA_COUNTER_DLG_CONDITIONS = 0x2; // the conditions

// The settings of one counter of a monitor: whether it is enabled and required, its name
// prefix, and the conditions that watch it. A condition is made only of what the service
// evaluates: one of the condition types (a subject and a comparison), a number, a mode (every
// time, once, or after a number of samples in a row), the status it gives and its action.
// The changes go into the counter information when the dialog is accepted, never before.
class SCA_TezCounterDlg : public QDialog {
    Q_OBJECT
public:
    // info is the caller's and must outlive the dialog; the user configuration offers its
    // sounds for a sound action.
    SCA_TezCounterDlg(QWidget* parent, SCA_TezConfig* config, SCA_TezConfigUser* userConfig,
                      SCA_ConfigObj* params, SCA_TezCounterInfo* info, uint32_t editFlags);

    // Shows the counter information. 0 without one or when its conditions cannot be copied.
    int FillDialog();

    QCheckBox* GetEnabledBox() const { return m_Enabled; }
    QCheckBox* GetRequiredBox() const { return m_Required; }
    QLineEdit* GetPrefixEdit() const { return m_Prefix; }
    QTreeWidget* GetConditionView() const { return m_View; }
    QCheckBox* GetCondEnabledBox() const { return m_CondEnabled; }
    QComboBox* GetTypeBox() const { return m_Type; }
    QLineEdit* GetValueEdit() const { return m_Value; }
    QComboBox* GetModeBox() const { return m_Mode; }
    QSpinBox* GetStreakBox() const { return m_Streak; }
    QComboBox* GetStatusBox() const { return m_Status; }
    QComboBox* GetActionBox() const { return m_Action; }
    QComboBox* GetActionValueBox() const { return m_ActionValue; }

public slots:
    // Writes the changes into the counter information; refuses (with a message) a condition
    // whose value is not a number.
    void accept() override;
    void AddCondition();
    void DeleteCondition();

private slots:
    void ConditionSelected();
    void EditorChanged();

private:
    QWidget* BuildSettings();
    QWidget* BuildConditions();
    QWidget* BuildEditor();
    void FillRows();
    void ShowCondition(const SCA_TezCond* cond);
    void SetRowText(QTreeWidgetItem* row, const SCA_TezCond& cond) const;
    void FillActionValues(uint32_t actionType);
    SCA_TezCond* CurrentCondition() const;
    bool ValueIsNumber(double* value) const;

    SCA_TezConfigUser* m_UserConfig;
    SCA_TezCounterInfo* m_Info;
    uint32_t m_EditFlags;
    // The conditions as the user edits them; the counter's own change only on accept.
    SCA_TezCondList m_Conds;
    bool m_Loading = false;

    QLabel* m_Counter = nullptr;
    QCheckBox* m_Enabled = nullptr;
    QCheckBox* m_Required = nullptr;
    QLineEdit* m_Prefix = nullptr;
    QTreeWidget* m_View = nullptr;
    QPushButton* m_Add = nullptr;
    QPushButton* m_Delete = nullptr;
    QWidget* m_Editor = nullptr;
    QCheckBox* m_CondEnabled = nullptr;
    QComboBox* m_Type = nullptr;
    QLineEdit* m_Value = nullptr;
    QComboBox* m_Mode = nullptr;
    QSpinBox* m_Streak = nullptr;
    QComboBox* m_Status = nullptr;
    QComboBox* m_Action = nullptr;
    QComboBox* m_ActionValue = nullptr;
};
