// SPDX-License-Identifier: MIT
#include "korvac/process/SCA_SrvProcDetailsDlg.h"

#include <QBoxLayout>
#include <QDir>
#include <QFrame>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <string>
#include <vector>

#include "korvac/kit/SCA_ClientSession.h"
#include "korvac/kit/SCA_ListLook.h"
#include "korvac/kit/SCA_WindowContext.h"
#include "libmor/SCA_FileName.h"
#include "libmor/SCA_Report.h"
#include "libmor/SCA_String.h"
#include "libmor/SCA_System.h"
#include "libmor/SCA_Time.h"
#include "libtez/reports/SCA_TezProcessReporter.h"
#include "libvop/SCA_IconEngine.h"
#include "libvop/SCA_ModalHook.h"
#include "libvop/SCA_StatusLabel.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_Field.h"
#include "model/SCA_TezCounterMeta.h"
#include "model/SCA_TezProcess.h"
#include "model/SCA_TezVocabulary.h"

namespace {

constexpr int kIdRole = Qt::UserRole;
constexpr int kSize = 640;
constexpr int kHeight = 400;
constexpr int kStatusHeight = 48;
constexpr int kPidListWidth = 120;
constexpr int kButtonHeight = 24;
constexpr int kButtonWidth = 60;
constexpr int kLineHeight = 10;
constexpr uint32_t kTextSize = 256;
constexpr uint32_t kErrorTextSize = 256;
constexpr uint32_t kLoadInfo = 1;
constexpr int kValueColumn = 2;

constexpr struct {
    const char* Name;
    uint32_t CounterType;
} kStatistics[] = {
    {"CPU Usage", SCA_COUNTER_PROCESS_CPU_USAGE},
    {"Memory Usage", SCA_COUNTER_PROCESS_MEM_USED},
    {"Data Transfer", SCA_COUNTER_PROCESS_DATA_RATE},
    {"Process Threads", SCA_COUNTER_PROCESS_THREADS},
    {"Process Handles", SCA_COUNTER_PROCESS_HANDLES},
};

QString ValueText(uint32_t counterType, double value) {
    char text[kTextSize] = "";
    SCA_TezBuildValueString(counterType, value, text, sizeof(text), 0);
    return QString::fromUtf8(text);
}

QTreeWidget* ListView(QWidget* parent, const QStringList& headers,
                      std::initializer_list<int> widths) {
    auto* view = new QTreeWidget(parent);
    SCA_ListLook::Apply(view);
    view->setColumnCount(static_cast<int>(headers.size()));
    view->setHeaderLabels(headers);
    int column = 0;
    for (int width : widths) {
        view->setColumnWidth(column++, width);
    }
    return view;
}

} // namespace

SCA_SrvProcDetailsDlg::SCA_SrvProcDetailsDlg(QWidget* parent, SCA_TezConfig* productConfig,
                                             SCA_TezConfigUser* userConfig, SCA_ConfigObj* params,
                                             SCA_TezProcess* process)
    : QDialog(parent), m_ProductConfig(productConfig), m_UserConfig(userConfig), m_Params(params),
      m_Process(process) {
    setModal(true);
    setWindowTitle(QStringLiteral("Process Details"));
    auto* layout = new QVBoxLayout(this);
    m_StatusLabel = new SCA_StatusLabel(this);
    m_StatusLabel->setFixedHeight(kStatusHeight);
    m_StatusLabel->SetStatusString(SCA_REP_STATUS_NONE, QStringLiteral("Process Details"));
    layout->addWidget(m_StatusLabel);

    auto* lists = new QHBoxLayout();
    m_PidList = ListView(this, {QString(), QStringLiteral("Process ID")}, {24, 40});
    m_PidList->setFixedWidth(kPidListWidth);
    m_PropertyView = ListView(
        this, {QString(), QStringLiteral("Property"), QStringLiteral("Value")}, {24, 120, 120});
    // A long value (a command line) widens its column and the view scrolls to it, rather than
    // cutting it; the tip shows it whole too.
    m_PropertyView->header()->setStretchLastSection(false);
    m_PropertyView->header()->setSectionResizeMode(kValueColumn, QHeaderView::ResizeToContents);
    lists->addWidget(m_PidList, 0);
    lists->addWidget(m_PropertyView, 1);
    layout->addLayout(lists, 1);

    auto* line = new QFrame(this);
    line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    line->setFixedHeight(kLineHeight);
    layout->addWidget(line);
    auto* buttons = new QHBoxLayout();
    auto* save = new QPushButton(SCA_IconEngine::Load(QStringLiteral(":/images/save_16px.png")),
                                 QStringLiteral("Save"), this);
    m_CloseButton = new QPushButton(QStringLiteral("Close"), this);
    for (QPushButton* button : {save, m_CloseButton}) {
        button->setMinimumWidth(kButtonWidth);
        button->setFixedHeight(kButtonHeight);
    }
    buttons->addWidget(save);
    buttons->addStretch(1);
    buttons->addWidget(m_CloseButton);
    layout->addLayout(buttons);
    m_CloseButton->setFocus();
    m_CloseButton->setDefault(true);

    resize(kSize, kHeight);
    setMinimumSize(kSize, kHeight);
    connect(save, &QPushButton::clicked, this, &SCA_SrvProcDetailsDlg::SaveTextReport);
    connect(m_CloseButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_PidList, &QTreeWidget::itemClicked, this, &SCA_SrvProcDetailsDlg::PidSelected);
    connect(m_PidList, &QTreeWidget::itemDoubleClicked, this, &SCA_SrvProcDetailsDlg::PidClicked);
    SetConstructed();
}

int SCA_SrvProcDetailsDlg::Run(QWidget* parent, const SCA_WindowContext& context,
                               uint32_t monitorId, uint32_t processId) {
    SCA_TezProcess process;
    if (!context.Session->Command([&](SCA_KorvantaInterface& client) {
            return client.GetMonitorProcess(monitorId, processId, kLoadInfo, &process);
        })) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR, "Cannot get process - %u:%u",
                                                  monitorId, processId);
        return 0;
    }
    SCA_SrvProcDetailsDlg dialog(parent, context.ProductConfig, context.UserConfig, context.Params,
                                 &process);
    if (!dialog.StartProcess()) {
        return 0;
    }
    SCA_ExecDialog(&dialog);
    return 1;
}

int SCA_SrvProcDetailsDlg::StartProcess() {
    SCA_StrnCpy(m_ProcessName, m_Process->GetProcessName(), sizeof(m_ProcessName));
    if (m_ProcessName[0] >= 'a' && m_ProcessName[0] <= 'z') {
        m_ProcessName[0] = static_cast<char>(m_ProcessName[0] - 'a' + 'A');
    }
    const QString title =
        QStringLiteral("%1 - Process Details").arg(QString::fromUtf8(m_ProcessName));
    setWindowTitle(title);
    m_StatusLabel->SetStatusString(SCA_REP_STATUS_MESSAGE, title);
    FillPidList();
    return 1;
}

void SCA_SrvProcDetailsDlg::FillPidList() {
    m_PidList->clear();
    m_PropertyView->clear();
    QTreeWidgetItem* selected = nullptr;
    for (auto* node = m_Process->GetPids()->GetHead(); node != nullptr; node = node->GetNext()) {
        const uint32_t pid = node->GetItem()->GetProcessId();
        auto* row = new QTreeWidgetItem(m_PidList);
        row->setIcon(0, SCA_IconEngine::Load(QStringLiteral(":/images/app_16px.png")));
        row->setText(1, QString::number(pid));
        row->setData(0, kIdRole, pid);
        if (m_SelectedPid == SCA_ALL_ONES) {
            m_SelectedPid = pid;
        }
        if (pid == m_SelectedPid) {
            selected = row;
        }
    }
    if (selected == nullptr) {
        // The id chosen before is gone: the first one, or none at all for a process without
        // ids, whose views then stay empty.
        selected = m_PidList->topLevelItem(0);
        m_SelectedPid = selected != nullptr ? selected->data(0, kIdRole).toUInt() : SCA_ALL_ONES;
    }
    if (selected != nullptr) {
        selected->setSelected(true);
        m_PidList->setCurrentItem(selected);
    }
    FillPropsView();
}

void SCA_SrvProcDetailsDlg::PidClicked(QTreeWidgetItem*, int) {}

void SCA_SrvProcDetailsDlg::PidSelected(QTreeWidgetItem*, int) {
    const QTreeWidgetItem* row = m_PidList->currentItem();
    if (row == nullptr || !row->isSelected()) {
        return;
    }
    m_SelectedPid = row->data(0, kIdRole).toUInt();
    FillPropsView();
}

void SCA_SrvProcDetailsDlg::AddProperty(const QString& name, const QString& value) {
    auto* row = new QTreeWidgetItem(m_PropertyView);
    row->setIcon(0, SCA_IconEngine::Load(QStringLiteral(":/images/attr_16px.png")));
    row->setText(1, name);
    row->setText(kValueColumn, value);
    row->setToolTip(kValueColumn, value);
}

void SCA_SrvProcDetailsDlg::FillPropsView() {
    m_PropertyView->clear();
    if (m_SelectedPid == SCA_ALL_ONES) {
        return;
    }
    m_StatusLabel->SetStatusString(SCA_REP_STATUS_MESSAGE,
                                   QStringLiteral("%1 - Process Details - PID %2")
                                       .arg(QString::fromUtf8(m_ProcessName))
                                       .arg(m_SelectedPid));
    SCA_TezProcessPid* pid = nullptr;
    if (!m_Process->GetPids()->GetItem(m_SelectedPid, &pid) || pid == nullptr) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_SrvProcDetailsDlg::FillPropsView: cannot get PID object - %u",
            m_SelectedPid);
        return;
    }
    AddProperty(QStringLiteral("Parent PID"), QString::number(pid->GetParentProcessId()));
    char started[kTextSize] = "";
    SCA_FormatAbsTime(pid->GetFirstUpdateTime() * SCA_ABS_TIME_SECOND, started, sizeof(started));
    AddProperty(QStringLiteral("Start Time"), QString::fromLatin1(started));
    for (const auto& statistic : kStatistics) {
        tagSCA_TEZ_PROCESS_COUNTER* counter = nullptr;
        if (pid->GetCounter(statistic.CounterType, &counter) && counter != nullptr) {
            const uint32_t type = statistic.CounterType;
            AddProperty(QString::fromLatin1(statistic.Name),
                        QStringLiteral("Average %1, Min %2, Max %3")
                            .arg(ValueText(type, counter->AverageValue),
                                 ValueText(type, counter->MinValue),
                                 ValueText(type, counter->MaxValue)));
        }
    }
    if (const SCA_ConfigObj* info = pid->GetProcessInfo()) {
        for (const SCA_Field* field = info->GetHead(); field != nullptr; field = field->GetNext()) {
            if (!field->IsObject()) {
                AddProperty(
                    QString::fromUtf8(field->GetName()),
                    QString::fromUtf8(field->GetValue() != nullptr ? field->GetValue() : ""));
            }
        }
    }
}

QString SCA_SrvProcDetailsDlg::DefaultReportPath() const {
    char stamp[kTextSize] = "";
    SCA_GetDateTimeStringEx(stamp, sizeof(stamp), "-", "");
    std::string name = std::string(m_ProcessName) + " Process Report " + stamp + ".txt";
    // A process name such as "kworker/0:1" must not lead into another folder.
    std::vector<char> safe(name.begin(), name.end());
    safe.push_back('\0');
    SCA_NormalizeFileName(safe.data(), static_cast<uint32_t>(safe.size()));
    return QDir(QDir::homePath()).filePath(QString::fromUtf8(safe.data()));
}

void SCA_SrvProcDetailsDlg::SaveTextReport() {
    const QString chosen = SCA_GetSaveFileName(this, QStringLiteral("Save Process Details Report"),
                                               DefaultReportPath(), QStringLiteral("*.txt"));
    if (chosen.isEmpty()) {
        return;
    }
    const QByteArray path = QDir::cleanPath(chosen).toUtf8();
    SCA_TezProcessReporter reporter(m_ProductConfig, m_UserConfig, m_Params);
    uint32_t error = 0;
    if (!reporter.SavePids(m_Process, 1, path.constData(), &error)) {
        char why[kErrorTextSize] = "";
        SCA_GetErrorDescr(error, why, sizeof(why));
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_SrvProcDetailsDlg::SaveTextReport: cannot save %s (%s)",
            path.constData(), why);
        SCA_ShowMessageBox(this, SCA_LEVEL_ERROR, QStringLiteral("Message"),
                           QStringLiteral("Cannot save the process details report (%1).")
                               .arg(QString::fromUtf8(why)));
        return;
    }
    SCA_ShowMessageBox(this, SCA_LEVEL_INFO, QStringLiteral("Message"),
                       QStringLiteral("Process details report saved."));
}
