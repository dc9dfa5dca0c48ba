// SPDX-License-Identifier: MIT
#include "korvac/main/SCA_SrvMonOptionsDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <iterator>

#include "libmor/SCA_Report.h"
#include "libvop/SCA_IconEngine.h"
#include "libvop/SCA_ModalHook.h"
#include "libvop/SCA_ToolButton.h"
#include "model/SCA_SrvMonitor.h"
#include "model/SCA_TezRecordFields.h"
#include "model/SCA_TezReportFormat.h"

namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 238;
constexpr int kRowHeight = 24;
constexpr int kSeparatorHeight = 10;
constexpr int kButtonWidth = 60;
constexpr int kMaxVisibleIntervals = 20;
constexpr int kMaxFolderChars = 255;

struct Choice {
    const char* Text;
    uint32_t Value;
};

constexpr Choice kIntervals[] = {
    {"24 Hours", 86400}, {"12 Hours", 43200},  {"8 Hours", 28800},   {"4 Hours", 14400},
    {"2 Hours", 7200},   {"60 Minutes", 3600}, {"30 Minutes", 1800}, {"10 Minutes", 600},
    {"5 Minutes", 300},  {"3 Minutes", 180},   {"1 Minute", 60},
};

constexpr Choice kHistories[] = {
    {"10 Reports", 10},   {"20 Reports", 20},   {"50 Reports", 50},     {"100 Reports", 100},
    {"200 Reports", 200}, {"500 Reports", 500}, {"1000 Reports", 1000},
};

QComboBox* NewBox(QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setFixedHeight(kRowHeight);
    return box;
}

template <size_t N>
void AddChoices(QComboBox* box, const Choice (&choices)[N]) {
    for (const Choice& choice : choices) {
        box->addItem(QString::fromLatin1(choice.Text), choice.Value);
    }
}

QLabel* NewLabel(QWidget* parent, const char* text) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setFixedHeight(kRowHeight);
    return label;
}

// The item whose value is exactly value becomes current; none when no item has it.
void ShowValue(QComboBox* box, uint32_t value) {
    box->setCurrentIndex(box->findData(value));
}

// The current item's value into *value; a box without one leaves *value as it is.
template <typename Setter>
void SaveValue(const QComboBox* box, SCA_SrvMonitor* monitor, Setter setter) {
    if (box->currentIndex() >= 0) {
        (monitor->*setter)(box->currentData().toUInt());
    }
}

} // namespace

SCA_ToolButton* SCA_SrvMonOptionsDlg::NewButton(QWidget* parent, const char* text, int minWidth) {
    auto* button = new SCA_ToolButton(parent);
    button->setText(QString::fromLatin1(text));
    button->setMinimumWidth(minWidth);
    button->setFixedHeight(kRowHeight);
    return button;
}

QFrame* SCA_SrvMonOptionsDlg::NewSeparator(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    line->setFixedHeight(kSeparatorHeight);
    return line;
}

SCA_SrvMonOptionsDlg::SCA_SrvMonOptionsDlg(QWidget* parent, SCA_TezConfigUser* userConfig,
                                           const QString& title)
    : QDialog(parent), m_MainLayout(new QVBoxLayout(this)), m_UserConfig(userConfig),
      m_SaveReports(new QCheckBox(QStringLiteral("Save Reports Every:"), this)),
      m_Interval(NewBox(this)), m_History(NewBox(this)), m_Format(NewBox(this)),
      m_Mode(NewBox(this)), m_Folder(new QLineEdit(this)),
      m_AutoStart(new QCheckBox(QStringLiteral("Automatically Start Monitoring"), this)),
      m_OkButton(NewButton(this, "Ok", kButtonWidth)),
      m_CancelButton(NewButton(this, "Cancel", kButtonWidth)) {
    setWindowTitle(title);
    m_SaveReports->setFixedHeight(kRowHeight);
    m_AutoStart->setFixedHeight(kRowHeight);
    m_Folder->setFixedHeight(kRowHeight);
    m_Folder->setMaxLength(kMaxFolderChars);
    m_Interval->setMaxVisibleItems(kMaxVisibleIntervals);
    AddChoices(m_Interval, kIntervals);
    AddChoices(m_History, kHistories);
    // The product's data-file format is for exporting reports, not for periodic saves.
    const tagSCA_TEZ_REPORT_FORMAT* formats = SCA_TezGetReportFormats();
    for (uint32_t i = 0; i < SCA_TEZ_REPORT_FORMATS; ++i) {
        if (formats[i].Format != SCA_TEZ_FORMAT_DATA) {
            m_Format->addItem(SCA_IconEngine::Load(QString::fromLatin1(formats[i].Icon)),
                              QString::fromLatin1(formats[i].Name), formats[i].Format);
        }
    }
    for (uint32_t mode = 0; mode < SCA_TEZ_REPORT_MODES; ++mode) {
        m_Mode->addItem(SCA_IconEngine::Load(QString::fromLatin1(SCA_TezGetReportModeIcon(mode))),
                        QString::fromLatin1(SCA_TezGetReportModeName(mode)), mode);
    }

    auto* grid = new QGridLayout;
    grid->addWidget(m_SaveReports, 0, 0);
    grid->addWidget(m_Interval, 0, 1);
    grid->addWidget(NewLabel(this, "Monitoring Reports History:"), 1, 0);
    grid->addWidget(m_History, 1, 1);
    grid->addWidget(NewLabel(this, "Monitoring Reports Format:"), 2, 0);
    grid->addWidget(m_Format, 2, 1);
    grid->addWidget(NewLabel(this, "Monitoring Reports Mode:"), 3, 0);
    grid->addWidget(m_Mode, 3, 1);
    grid->addWidget(NewLabel(this, "Monitoring Reports Dir:"), 4, 0);
    grid->addWidget(m_Folder, 4, 1);
    m_MainLayout->addLayout(grid, 1);
    m_MainLayout->addWidget(NewSeparator(this));
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_AutoStart);
    bottom->addStretch(1);
    bottom->addWidget(m_OkButton);
    bottom->addWidget(m_CancelButton);
    m_MainLayout->addLayout(bottom);
    setFixedSize(kWidth, kHeight);
    m_CancelButton->setFocus(Qt::OtherFocusReason);

    connect(m_SaveReports, &QCheckBox::clicked, this, &SCA_SrvMonOptionsDlg::SaveReportsClicked);
    connect(m_Format, &QComboBox::currentIndexChanged, this,
            &SCA_SrvMonOptionsDlg::SaveReportsFormatChanged);
    connect(m_OkButton, &SCA_ToolButton::clicked, this, &SCA_SrvMonOptionsDlg::Accept);
    connect(m_CancelButton, &SCA_ToolButton::clicked, this, &QDialog::reject);
}

int SCA_SrvMonOptionsDlg::FillDialog(SCA_SrvMonitor* monitor) {
    if (monitor == nullptr) {
        return 0;
    }
    m_AutoStart->setChecked(monitor->GetAutoStart() != 0);
    m_SaveReports->setChecked(monitor->GetSaveReports() != 0);
    ShowValue(m_Interval, monitor->GetSaveReportsPeriod());
    ShowValue(m_History, monitor->GetSaveReportsHistory());
    ShowValue(m_Format, monitor->GetSaveReportsFormat());
    ShowValue(m_Mode, monitor->GetSaveReportsMode());
    m_Folder->setText(QString::fromUtf8(monitor->GetSaveReportsDir()));
    ApplyEnableRule();
    return 1;
}

int SCA_SrvMonOptionsDlg::SaveDialog(SCA_SrvMonitor* monitor) {
    if (monitor == nullptr) {
        return 0;
    }
    monitor->SetAutoStart(m_AutoStart->isChecked() ? 1 : 0);
    monitor->SetSaveReports(m_SaveReports->isChecked() ? 1 : 0);
    SaveValue(m_Interval, monitor, &SCA_SrvMonitor::SetSaveReportsPeriod);
    SaveValue(m_History, monitor, &SCA_SrvMonitor::SetSaveReportsHistory);
    SaveValue(m_Format, monitor, &SCA_SrvMonitor::SetSaveReportsFormat);
    SaveValue(m_Mode, monitor, &SCA_SrvMonitor::SetSaveReportsMode);
    monitor->SetSaveReportsDir(m_Folder->text().toUtf8().constData());
    return 1;
}

void SCA_SrvMonOptionsDlg::ApplyEnableRule() {
    const bool save = m_SaveReports->isChecked();
    const bool ownFormat =
        m_Format->currentIndex() >= 0 && m_Format->currentData().toUInt() == SCA_TEZ_FORMAT_REPORT;
    m_Interval->setEnabled(save);
    m_History->setEnabled(save);
    m_Format->setEnabled(save);
    m_Mode->setEnabled(save && !ownFormat);
    m_Folder->setEnabled(save && !ownFormat);
}

void SCA_SrvMonOptionsDlg::SaveReportsClicked() {
    ApplyEnableRule();
}

void SCA_SrvMonOptionsDlg::SaveReportsFormatChanged(int) {
    ApplyEnableRule();
}

void SCA_SrvMonOptionsDlg::Accept() {
    if (m_Folder->text().toUtf8().size() >= static_cast<qsizetype>(SCA_TEZ_TEXT_SIZE)) {
        SCA_ShowMessageBox(this, SCA_LEVEL_INFO, QStringLiteral("Message"),
                           QStringLiteral("The reports folder name is too long."));
        return;
    }
    QDialog::accept();
}
