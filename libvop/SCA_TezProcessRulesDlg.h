// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <cstdint>

#include "model/SCA_TezProcessRules.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class SCA_ConfigObj;
class SCA_TezConfig;
class SCA_TezConfigUser;

// The rules of the process monitors: each measures one quantity of one process (or of every
// process) against a value, and counts a warning or an error when it holds. The user adds,
// changes and deletes rules on a copy; OK writes the copy back into the caller's rules.
class SCA_TezProcessRulesDlg : public QDialog {
    Q_OBJECT
public:
    // rules is the caller's and outlives the dialog; the configurations are kept for the
    // caller's sake.
    SCA_TezProcessRulesDlg(QWidget* parent, SCA_TezConfig* productConfig,
                           SCA_TezConfigUser* userConfig, SCA_ConfigObj* params,
                           SCA_TezProcessRules* rules);
    // Copies the rules in and lists them; 0 when they cannot be copied.
    int FillDialog();

    // The editor's fields and the list, for the tests.
    QTreeWidget* GetView() const { return m_View; }
    QLineEdit* GetProcessEdit() const { return m_Process; }
    QComboBox* GetMeasureBox() const { return m_Measure; }
    QComboBox* GetConditionBox() const { return m_Condition; }
    QDoubleSpinBox* GetValueBox() const { return m_Value; }
    QComboBox* GetStatusBox() const { return m_Status; }
    QCheckBox* GetEnabledBox() const { return m_Enabled; }
    const SCA_TezProcessRules& GetWorkingRules() const { return m_Working; }

    // The rule types the dialog offers (0 to 8).
    static constexpr uint32_t kRuleTypes = 9;
    static const char* RuleTypeName(uint32_t ruleType);

public slots:
    void accept() override;
    void AddRule();
    void ApplyRule();
    void DeleteRule();
    void RuleSelected();

private:
    void ListRules();
    // The editor's fields into rule.
    void ReadEditor(SCA_TezProcessRule* rule) const;
    uint32_t SelectedRuleId() const;

    SCA_TezProcessRules* m_Rules;
    SCA_TezProcessRules m_Working;
    QTreeWidget* m_View;
    QLineEdit* m_Process;
    QComboBox* m_Measure;
    QComboBox* m_Condition;
    QDoubleSpinBox* m_Value;
    QComboBox* m_Status;
    QCheckBox* m_Enabled;
    QPushButton* m_Add;
    QPushButton* m_Apply;
    QPushButton* m_Delete;
};
