// SPDX-License-Identifier: MIT
#include "libvop/SCA_TezProcessRulesDlg.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <cfloat>
#include <iterator>

#include "libvop/SCA_IconEngine.h"
#include "model/SCA_TezCondType.h"
#include "model/SCA_TezVocabulary.h"

namespace {

constexpr int kIdRole = Qt::UserRole;
constexpr int kWidth = 720;
constexpr int kHeight = 480;
constexpr int kDecimals = 2;
constexpr int kMaxNameLength = 255;
enum : int { kProcess, kMeasure, kCondition, kValue, kStatus, kEnabled, kColumns };

// What each rule type measures, by rule type.
constexpr const char* kRuleTypeNames[] = {
    "CPU Usage",      "Memory Usage",    "Threads",         "Handles",    "Data Transfer Rate",
    "Data Read Rate", "Data Write Rate", "Page Fault Rate", "NPP Memory",
};
static_assert(std::size(kRuleTypeNames) == SCA_TezProcessRulesDlg::kRuleTypes);

constexpr uint32_t kStatuses[] = {SCA_REP_STATUS_WARNING, SCA_REP_STATUS_ERROR};

QString StatusName(uint32_t status) {
    return status == SCA_REP_STATUS_ERROR ? QStringLiteral("Error") : QStringLiteral("Warning");
}

} // namespace

const char* SCA_TezProcessRulesDlg::RuleTypeName(uint32_t ruleType) {
    return ruleType < kRuleTypes ? kRuleTypeNames[ruleType] : "Unknown";
}

SCA_TezProcessRulesDlg::SCA_TezProcessRulesDlg(QWidget* parent, SCA_TezConfig*, SCA_TezConfigUser*,
                                               SCA_ConfigObj*, SCA_TezProcessRules* rules)
    : QDialog(parent), m_Rules(rules) {
    setModal(true);
    setWindowTitle(QStringLiteral("Process Monitor Rules"));
    setWindowIcon(SCA_IconEngine::Load(QStringLiteral(":/images/select_32px.png")));
    auto* layout = new QVBoxLayout(this);
    m_View = new QTreeWidget(this);
    m_View->setRootIsDecorated(false);
    m_View->setUniformRowHeights(true);
    m_View->setColumnCount(kColumns);
    m_View->setHeaderLabels({QStringLiteral("Process"), QStringLiteral("Measure"),
                             QStringLiteral("Condition"), QStringLiteral("Value"),
                             QStringLiteral("Status"), QStringLiteral("Enabled")});
    m_View->setColumnWidth(kProcess, 170);
    m_View->setColumnWidth(kMeasure, 130);
    m_View->setColumnWidth(kCondition, 130);
    layout->addWidget(m_View, 1);

    auto* form = new QFormLayout();
    m_Process = new QLineEdit(this);
    m_Process->setMaxLength(kMaxNameLength);
    m_Process->setPlaceholderText(QStringLiteral("every process"));
    m_Measure = new QComboBox(this);
    for (uint32_t type = 0; type < kRuleTypes; ++type) {
        m_Measure->addItem(QString::fromLatin1(kRuleTypeNames[type]), type);
    }
    m_Condition = new QComboBox(this);
    for (uint32_t type = 0; type < SCA_COND_TYPES; ++type) {
        m_Condition->addItem(QString::fromLatin1(SCA_TezGetCondTypeDescr(type)), type);
    }
    m_Value = new QDoubleSpinBox(this);
    m_Value->setDecimals(kDecimals);
    m_Value->setRange(-DBL_MAX, DBL_MAX);
    m_Status = new QComboBox(this);
    for (uint32_t status : kStatuses) {
        m_Status->addItem(StatusName(status), status);
    }
    m_Enabled = new QCheckBox(QStringLiteral("Enabled"), this);
    m_Enabled->setChecked(true);
    form->addRow(QStringLiteral("Process:"), m_Process);
    form->addRow(QStringLiteral("Measure:"), m_Measure);
    form->addRow(QStringLiteral("Condition:"), m_Condition);
    form->addRow(QStringLiteral("Value:"), m_Value);
    form->addRow(QStringLiteral("Status:"), m_Status);
    form->addRow(QString(), m_Enabled);
    layout->addLayout(form);

    auto* row = new QHBoxLayout();
    m_Add = new QPushButton(QStringLiteral("Add"), this);
    m_Apply = new QPushButton(QStringLiteral("Change"), this);
    m_Delete = new QPushButton(QStringLiteral("Delete"), this);
    row->addWidget(m_Add);
    row->addWidget(m_Apply);
    row->addWidget(m_Delete);
    row->addStretch(1);
    layout->addLayout(row);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &SCA_TezProcessRulesDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_Add, &QPushButton::clicked, this, &SCA_TezProcessRulesDlg::AddRule);
    connect(m_Apply, &QPushButton::clicked, this, &SCA_TezProcessRulesDlg::ApplyRule);
    connect(m_Delete, &QPushButton::clicked, this, &SCA_TezProcessRulesDlg::DeleteRule);
    connect(m_View, &QTreeWidget::itemSelectionChanged, this,
            &SCA_TezProcessRulesDlg::RuleSelected);
    resize(kWidth, kHeight);
}

int SCA_TezProcessRulesDlg::FillDialog() {
    if (m_Rules == nullptr || !m_Working.CopyFrom(*m_Rules)) {
        return 0;
    }
    ListRules();
    return 1;
}

void SCA_TezProcessRulesDlg::ListRules() {
    const uint32_t selected = SelectedRuleId();
    m_View->clear();
    for (auto* node = m_Working.GetHead(); node != nullptr; node = node->GetNext()) {
        const SCA_TezProcessRule* rule = node->GetItem();
        auto* item = new QTreeWidgetItem(m_View);
        item->setData(kProcess, kIdRole, node->GetId());
        item->setText(kProcess, rule->IsGlobalRule() ? QStringLiteral("(every process)")
                                                     : QString::fromUtf8(rule->GetProcessName()));
        item->setText(kMeasure, QString::fromLatin1(RuleTypeName(rule->GetRuleType())));
        item->setText(kCondition,
                      QString::fromLatin1(SCA_TezGetCondTypeDescr(rule->GetCondType())));
        item->setText(kValue, QString::number(rule->GetCondValue(), 'g', 10));
        item->setText(kStatus, StatusName(rule->GetRepStatus()));
        item->setText(kEnabled, rule->IsEnabled() ? QStringLiteral("Yes") : QStringLiteral("No"));
        if (node->GetId() == selected) {
            item->setSelected(true);
            m_View->setCurrentItem(item);
        }
    }
    RuleSelected();
}

uint32_t SCA_TezProcessRulesDlg::SelectedRuleId() const {
    const QTreeWidgetItem* item = m_View->currentItem();
    return item != nullptr && item->isSelected() ? item->data(kProcess, kIdRole).toUInt()
                                                 : UINT32_MAX;
}

void SCA_TezProcessRulesDlg::ReadEditor(SCA_TezProcessRule* rule) const {
    rule->SetProcessName(m_Process->text().trimmed().toUtf8().constData());
    rule->SetRuleType(m_Measure->currentData().toUInt());
    rule->SetCondType(m_Condition->currentData().toUInt());
    rule->SetCondValue(m_Value->value());
    rule->SetRepStatus(m_Status->currentData().toUInt());
    rule->SetEnabled(m_Enabled->isChecked() ? 1 : 0);
}

void SCA_TezProcessRulesDlg::RuleSelected() {
    SCA_TezProcessRule* rule = nullptr;
    const bool chosen = m_Working.GetRule(SelectedRuleId(), &rule) && rule != nullptr;
    m_Apply->setEnabled(chosen);
    m_Delete->setEnabled(chosen);
    if (!chosen) {
        return;
    }
    m_Process->setText(QString::fromUtf8(rule->GetProcessName()));
    m_Measure->setCurrentIndex(m_Measure->findData(rule->GetRuleType()));
    m_Condition->setCurrentIndex(m_Condition->findData(rule->GetCondType()));
    m_Value->setValue(rule->GetCondValue());
    m_Status->setCurrentIndex(std::max(0, m_Status->findData(rule->GetRepStatus())));
    m_Enabled->setChecked(rule->IsEnabled() != 0);
}

void SCA_TezProcessRulesDlg::AddRule() {
    auto* rule = new (std::nothrow) SCA_TezProcessRule();
    if (rule == nullptr) {
        return;
    }
    ReadEditor(rule);
    uint32_t id = 0;
    if (!m_Working.AddRule(rule, &id)) {
        delete rule;
        return;
    }
    ListRules();
    for (int index = 0; index < m_View->topLevelItemCount(); ++index) {
        QTreeWidgetItem* item = m_View->topLevelItem(index);
        if (item->data(kProcess, kIdRole).toUInt() == id) {
            m_View->setCurrentItem(item);
        }
    }
}

void SCA_TezProcessRulesDlg::ApplyRule() {
    SCA_TezProcessRule* rule = nullptr;
    if (m_Working.GetRule(SelectedRuleId(), &rule) && rule != nullptr) {
        ReadEditor(rule);
        ListRules();
    }
}

void SCA_TezProcessRulesDlg::DeleteRule() {
    const uint32_t id = SelectedRuleId();
    if (id != UINT32_MAX && m_Working.DeleteRule(id)) {
        ListRules();
    }
}

void SCA_TezProcessRulesDlg::accept() {
    if (m_Rules != nullptr && m_Rules->CopyFrom(m_Working)) {
        QDialog::accept();
    }
}
