// SPDX-License-Identifier: MIT
#include "libvop/SCA_TezCounterDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleValidator>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cmath>
#include <new>

#include "libmor/SCA_Report.h"
#include "libvop/SCA_IconEngine.h"
#include "libvop/SCA_ListView.h"
#include "libvop/SCA_ModalHook.h"
#include "libvop/SCA_RepStatusIcon.h"
#include "model/SCA_SoundList.h"
#include "model/SCA_TezActionType.h"
#include "model/SCA_TezCondType.h"
#include "model/SCA_TezConfigUser.h"
#include "model/SCA_TezCounterInfo.h"
#include "model/SCA_TezCounterMeta.h"

namespace {

enum Column { kIcon, kCondition, kWhen, kAction, kColumns };
constexpr int kWidths[kColumns] = {24, 200, 170, 120};

// The mode box: every time, once, or the streak that the spin box counts.
constexpr int kModeEveryTime = 0;
constexpr int kModeOnce = 1;
constexpr int kModeStreak = 2;
constexpr int kMaxStreak = 86400;

constexpr uint32_t kStatuses[] = {SCA_REP_STATUS_MESSAGE, SCA_REP_STATUS_WARNING,
                                  SCA_REP_STATUS_ERROR};
// The actions before the report-format ones; those follow from SCA_ACTION_REPORT_FIRST on.
constexpr uint32_t kPlainActions[] = {SCA_ACTION_NONE, SCA_ACTION_PLAY_SOUND, SCA_ACTION_SEND_MAIL,
                                      SCA_ACTION_SAVE_REPORT};

constexpr int kPrefixLength = 63;
constexpr int kActionValueLength = 255;
constexpr uint32_t kModeTextSize = 64;
constexpr int kMinWidth = 620;
constexpr int kMinHeight = 520;

QString NumberText(double value) {
    return QLocale::c().toString(value, 'g', 15);
}

void Choose(QComboBox* box, uint32_t code) {
    const int index = box->findData(code);
    box->setCurrentIndex(index >= 0 ? index : 0);
}

} // namespace

SCA_TezCounterDlg::SCA_TezCounterDlg(QWidget* parent, SCA_TezConfig* /*config*/,
                                     SCA_TezConfigUser* userConfig, SCA_ConfigObj* /*params*/,
                                     SCA_TezCounterInfo* info, uint32_t editFlags)
    : QDialog(parent), m_UserConfig(userConfig), m_Info(info), m_EditFlags(editFlags) {
    setWindowTitle(QStringLiteral("Counter Settings"));
    setSizeGripEnabled(true);
    m_Counter = new QLabel(this);
    QFont bold = m_Counter->font();
    bold.setBold(true);
    m_Counter->setFont(bold);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &SCA_TezCounterDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_Counter);
    layout->addWidget(BuildSettings());
    layout->addWidget(BuildConditions(), 1);
    layout->addWidget(buttons);
    setMinimumSize(kMinWidth, kMinHeight);
}

QWidget* SCA_TezCounterDlg::BuildSettings() {
    auto* group = new QGroupBox(QStringLiteral("Counter"), this);
    m_Enabled = new QCheckBox(QStringLiteral("Enabled"), group);
    m_Required = new QCheckBox(QStringLiteral("Required"), group);
    m_Required->setToolTip(QStringLiteral("The monitor does not start without this counter"));
    m_Prefix = new QLineEdit(group);
    m_Prefix->setMaxLength(kPrefixLength);
    auto* checks = new QHBoxLayout;
    checks->addWidget(m_Enabled);
    checks->addWidget(m_Required);
    checks->addStretch(1);
    auto* form = new QFormLayout(group);
    form->addRow(checks);
    form->addRow(QStringLiteral("Name Prefix:"), m_Prefix);
    group->setEnabled((m_EditFlags & SCA_COUNTER_DLG_SETTINGS) != 0);
    return group;
}

QWidget* SCA_TezCounterDlg::BuildConditions() {
    auto* group = new QGroupBox(QStringLiteral("Conditions"), this);
    m_View = new QTreeWidget(group);
    SCA_SetupListView(
        m_View,
        {QString(), QStringLiteral("Condition"), QStringLiteral("When"), QStringLiteral("Action")},
        kWidths);
    connect(m_View, &QTreeWidget::currentItemChanged, this, &SCA_TezCounterDlg::ConditionSelected);
    m_Add = new QPushButton(SCA_IconEngine::Load(QStringLiteral(":/images/add_16px.png")),
                            QStringLiteral("Add"), group);
    m_Delete = new QPushButton(SCA_IconEngine::Load(QStringLiteral(":/images/close_16px.png")),
                               QStringLiteral("Delete"), group);
    connect(m_Add, &QPushButton::clicked, this, &SCA_TezCounterDlg::AddCondition);
    connect(m_Delete, &QPushButton::clicked, this, &SCA_TezCounterDlg::DeleteCondition);
    auto* side = new QVBoxLayout;
    side->addWidget(m_Add);
    side->addWidget(m_Delete);
    side->addStretch(1);
    auto* list = new QHBoxLayout;
    list->addWidget(m_View, 1);
    list->addLayout(side);
    auto* layout = new QVBoxLayout(group);
    layout->addLayout(list, 1);
    layout->addWidget(BuildEditor());
    group->setEnabled((m_EditFlags & SCA_COUNTER_DLG_CONDITIONS) != 0);
    return group;
}

QWidget* SCA_TezCounterDlg::BuildEditor() {
    m_Editor = new QWidget(this);
    m_CondEnabled = new QCheckBox(QStringLiteral("Enabled"), m_Editor);
    m_Type = new QComboBox(m_Editor);
    for (uint32_t type = 0; type < SCA_COND_TYPES; ++type) {
        m_Type->addItem(QString::fromUtf8(SCA_TezGetCondTypeDescr(type)), type);
    }
    m_Value = new QLineEdit(m_Editor);
    auto* validator = new QDoubleValidator(m_Value);
    validator->setLocale(QLocale::c());
    validator->setNotation(QDoubleValidator::ScientificNotation);
    m_Value->setValidator(validator);
    m_Mode = new QComboBox(m_Editor);
    m_Mode->addItem(QStringLiteral("Every time"), kModeEveryTime);
    m_Mode->addItem(QStringLiteral("Once"), kModeOnce);
    m_Mode->addItem(QStringLiteral("After samples in a row:"), kModeStreak);
    m_Streak = new QSpinBox(m_Editor);
    m_Streak->setRange(static_cast<int>(SCA_COND_MODE_STREAK), kMaxStreak);
    m_Status = new QComboBox(m_Editor);
    for (uint32_t status : kStatuses) {
        m_Status->addItem(SCA_IconEngine::Load(QString::fromLatin1(SCA_GetRepStatusIcon(status))),
                          QString::fromUtf8(SCA_TezGetRepStatusDescr(status)), status);
    }
    m_Action = new QComboBox(m_Editor);
    for (uint32_t action : kPlainActions) {
        m_Action->addItem(QString::fromUtf8(SCA_TezGetActionTypeDescr(action)), action);
    }
    for (uint32_t action = SCA_ACTION_REPORT_FIRST; action <= SCA_ACTION_REPORT_LAST; ++action) {
        m_Action->addItem(QString::fromUtf8(SCA_TezGetActionTypeDescr(action)), action);
    }
    m_ActionValue = new QComboBox(m_Editor);
    m_ActionValue->setEditable(true);
    m_ActionValue->lineEdit()->setMaxLength(kActionValueLength);

    auto* mode = new QHBoxLayout;
    mode->addWidget(m_Mode, 1);
    mode->addWidget(m_Streak);
    auto* form = new QFormLayout(m_Editor);
    form->setContentsMargins(0, 0, 0, 0);
    form->addRow(m_CondEnabled);
    form->addRow(QStringLiteral("Condition:"), m_Type);
    form->addRow(QStringLiteral("Value:"), m_Value);
    form->addRow(QStringLiteral("When:"), mode);
    form->addRow(QStringLiteral("Status:"), m_Status);
    form->addRow(QStringLiteral("Action:"), m_Action);
    form->addRow(QStringLiteral("Action Value:"), m_ActionValue);

    connect(m_CondEnabled, &QCheckBox::toggled, this, &SCA_TezCounterDlg::EditorChanged);
    connect(m_Value, &QLineEdit::textChanged, this, &SCA_TezCounterDlg::EditorChanged);
    connect(m_Streak, &QSpinBox::valueChanged, this, &SCA_TezCounterDlg::EditorChanged);
    connect(m_ActionValue, &QComboBox::currentTextChanged, this, &SCA_TezCounterDlg::EditorChanged);
    for (QComboBox* box : {m_Type, m_Mode, m_Status, m_Action}) {
        connect(box, &QComboBox::currentIndexChanged, this, &SCA_TezCounterDlg::EditorChanged);
    }
    return m_Editor;
}

int SCA_TezCounterDlg::FillDialog() {
    if (m_Info == nullptr || !m_Conds.CopyFrom(*m_Info->GetCondList())) {
        return 0;
    }
    const QString computer = m_Info->GetComputerName()[0] != '\0'
                                 ? QString::fromUtf8(m_Info->GetComputerName())
                                 : QStringLiteral("Local");
    const QString instance = QString::fromUtf8(m_Info->GetInstance());
    m_Counter->setText(
        QStringLiteral("%1%2 - %3")
            .arg(QString::fromUtf8(SCA_TezGetCounterDescr(m_Info->GetCounterType())),
                 instance.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(instance), computer));
    m_Enabled->setChecked(m_Info->IsEnabled() != 0);
    m_Required->setChecked(m_Info->IsRequired() != 0);
    m_Prefix->setText(QString::fromUtf8(m_Info->GetNamePrefix()));
    FillRows();
    return 1;
}

void SCA_TezCounterDlg::FillRows() {
    m_View->clear();
    for (auto* node = m_Conds.GetHead(); node != nullptr; node = node->GetNext()) {
        if (node->GetItem() == nullptr) {
            continue;
        }
        auto* row = new QTreeWidgetItem(m_View);
        row->setData(kIcon, Qt::UserRole, node->GetId());
        SetRowText(row, *node->GetItem());
    }
    m_View->setCurrentItem(m_View->topLevelItem(0));
    ConditionSelected();
}

void SCA_TezCounterDlg::SetRowText(QTreeWidgetItem* row, const SCA_TezCond& cond) const {
    row->setIcon(kIcon, SCA_IconEngine::Load(
                            QString::fromLatin1(SCA_GetRepStatusIcon(cond.GetRepStatus()))));
    row->setText(kCondition, QStringLiteral("%1 %2").arg(
                                 QString::fromUtf8(SCA_TezGetCondTypeDescr(cond.GetCondType())),
                                 NumberText(cond.GetCondValue())));
    char when[kModeTextSize];
    SCA_TezGetCondModeDescr(cond.GetCondMode(), when, sizeof(when));
    row->setText(kWhen, cond.IsEnabled() != 0
                            ? QString::fromUtf8(when)
                            : QStringLiteral("%1 (disabled)").arg(QString::fromUtf8(when)));
    row->setText(kAction, QString::fromUtf8(SCA_TezGetActionTypeDescr(cond.GetActionType())));
}

SCA_TezCond* SCA_TezCounterDlg::CurrentCondition() const {
    QTreeWidgetItem* row = m_View->currentItem();
    SCA_TezCond* cond = nullptr;
    if (row == nullptr || !m_Conds.GetCond(row->data(kIcon, Qt::UserRole).toUInt(), &cond)) {
        return nullptr;
    }
    return cond;
}

void SCA_TezCounterDlg::ConditionSelected() {
    ShowCondition(CurrentCondition());
}

void SCA_TezCounterDlg::ShowCondition(const SCA_TezCond* cond) {
    m_Loading = true;
    m_Editor->setEnabled(cond != nullptr);
    m_Delete->setEnabled(cond != nullptr);
    if (cond != nullptr) {
        m_CondEnabled->setChecked(cond->IsEnabled() != 0);
        Choose(m_Type, cond->GetCondType());
        m_Value->setText(NumberText(cond->GetCondValue()));
        const uint32_t mode = cond->GetCondMode();
        m_Mode->setCurrentIndex(mode >= SCA_COND_MODE_STREAK ? kModeStreak
                                                             : static_cast<int>(mode));
        m_Streak->setValue(mode >= SCA_COND_MODE_STREAK ? static_cast<int>(mode)
                                                        : static_cast<int>(SCA_COND_MODE_STREAK));
        Choose(m_Status, cond->GetRepStatus());
        Choose(m_Action, cond->GetActionType());
        FillActionValues(cond->GetActionType());
        m_ActionValue->setEditText(QString::fromUtf8(cond->GetActionValue()));
    }
    m_Streak->setEnabled(m_Mode->currentData().toInt() == kModeStreak);
    m_Loading = false;
}

void SCA_TezCounterDlg::FillActionValues(uint32_t actionType) {
    const QString text = m_ActionValue->currentText();
    m_ActionValue->clear();
    if (actionType == SCA_ACTION_PLAY_SOUND && m_UserConfig != nullptr) {
        SCA_SoundList* sounds = m_UserConfig->GetSoundList();
        for (auto* node = sounds->GetHead(); node != nullptr; node = node->GetNext()) {
            if (node->GetItem() != nullptr) {
                m_ActionValue->addItem(QString::fromUtf8(node->GetItem()->GetSoundName()));
            }
        }
    }
    m_ActionValue->setEditText(text);
    m_ActionValue->setEnabled(actionType != SCA_ACTION_NONE);
}

bool SCA_TezCounterDlg::ValueIsNumber(double* value) const {
    bool ok = false;
    *value = QLocale::c().toDouble(m_Value->text().trimmed(), &ok);
    return ok && std::isfinite(*value);
}

void SCA_TezCounterDlg::EditorChanged() {
    m_Streak->setEnabled(m_Mode->currentData().toInt() == kModeStreak);
    SCA_TezCond* cond = CurrentCondition();
    if (m_Loading || cond == nullptr) {
        return;
    }
    const uint32_t action = m_Action->currentData().toUInt();
    if (action != cond->GetActionType()) {
        m_Loading = true;
        FillActionValues(action);
        m_Loading = false;
    }
    cond->SetEnabled(m_CondEnabled->isChecked() ? 1 : 0);
    cond->SetCondType(m_Type->currentData().toUInt());
    double value = 0.0;
    if (ValueIsNumber(&value)) {
        cond->SetCondValue(value);
    }
    const int mode = m_Mode->currentData().toInt();
    cond->SetCondMode(mode == kModeStreak ? static_cast<uint32_t>(m_Streak->value())
                                          : static_cast<uint32_t>(mode));
    cond->SetRepStatus(m_Status->currentData().toUInt());
    cond->SetActionType(action);
    cond->SetExecuteAction(action != SCA_ACTION_NONE ? 1 : 0);
    cond->SetActionValue(
        action != SCA_ACTION_NONE ? m_ActionValue->currentText().toUtf8().constData() : "");
    SetRowText(m_View->currentItem(), *cond);
}

void SCA_TezCounterDlg::AddCondition() {
    auto* cond = new (std::nothrow) SCA_TezCond();
    uint32_t id = 0;
    if (cond == nullptr || !m_Conds.AddCond(cond, &id)) {
        SCA_Object::Destroy(cond);
        return;
    }
    auto* row = new QTreeWidgetItem(m_View);
    row->setData(kIcon, Qt::UserRole, id);
    SetRowText(row, *cond);
    m_View->setCurrentItem(row);
    m_Value->setFocus();
}

void SCA_TezCounterDlg::DeleteCondition() {
    QTreeWidgetItem* row = m_View->currentItem();
    if (row == nullptr) {
        return;
    }
    m_Conds.DeleteCond(row->data(kIcon, Qt::UserRole).toUInt());
    delete row;
    ConditionSelected();
}

void SCA_TezCounterDlg::accept() {
    double value = 0.0;
    if (CurrentCondition() != nullptr && !ValueIsNumber(&value)) {
        SCA_ShowMessageBox(this, SCA_LEVEL_WARNING, QStringLiteral("Warning"),
                           QStringLiteral("The value of a condition must be a number."));
        m_Value->setFocus();
        return;
    }
    if (m_Info == nullptr) {
        QDialog::reject();
        return;
    }
    if ((m_EditFlags & SCA_COUNTER_DLG_CONDITIONS) != 0 &&
        !m_Info->GetCondList()->CopyFrom(m_Conds)) {
        SCA_ShowMessageBox(this, SCA_LEVEL_ERROR, QStringLiteral("Error"),
                           QStringLiteral("The conditions cannot be kept: out of memory."));
        return;
    }
    if ((m_EditFlags & SCA_COUNTER_DLG_SETTINGS) != 0) {
        m_Info->SetEnabled(m_Enabled->isChecked() ? 1 : 0);
        m_Info->SetRequired(m_Required->isChecked() ? 1 : 0);
        m_Info->SetNamePrefix(m_Prefix->text().toUtf8().constData());
    }
    QDialog::accept();
}
