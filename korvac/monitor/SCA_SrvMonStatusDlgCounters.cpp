// SPDX-License-Identifier: MIT
// The monitor window's counters: the view's rows, their values, the context menu and the
// counter commands.
#include <QAction>
#include <QContextMenuEvent>
#include <QDialog>
#include <QHash>
#include <QMenu>
#include <QSplitter>
#include <QTreeWidgetItem>

#include "korvac/kit/SCA_ClientSession.h"
#include "korvac/kit/SCA_CounterCells.h"
#include "korvac/kit/SCA_DetachedMenu.h"
#include "korvac/kit/SCA_ViewerCommand.h"
#include "korvac/monitor/SCA_CountersView.h"
#include "korvac/monitor/SCA_SrvAddCounterDlg.h"
#include "korvac/monitor/SCA_SrvMonStatusDlg.h"
#include "libmor/SCA_Report.h"
#include "libvop/SCA_IconEngine.h"
#include "libvop/SCA_ModalHook.h"
#include "libvop/SCA_TezCounterDlg.h"
#include "libvop/SCA_TreeRows.h"
#include "model/SCA_TezCounterInfo.h"
#include "model/SCA_TezCounterList.h"
#include "model/SCA_TezCounterMeta.h"
#include "model/SCA_TezRepStatus.h"

namespace {

constexpr int kIdRole = Qt::UserRole;
constexpr uint32_t kTextSize = 256;
// The counter dialog may change both the settings and the conditions.
constexpr uint32_t kEditAll = SCA_COUNTER_DLG_SETTINGS | SCA_COUNTER_DLG_CONDITIONS;

QIcon Icon(const char* path) {
    return SCA_IconEngine::Load(QString::fromLatin1(path));
}

QIcon LevelIcon(uint32_t level, uint32_t counterType) {
    return SCA_CounterCells::LevelIcon(level, counterType);
}

void ShowNoValues(QTreeWidgetItem* row) {
    SCA_CounterCells::ShowNoValues(row, SCA_CountersView::kCurrentColumn);
}

void ShowValues(QTreeWidgetItem* row, const tagSCA_TEZ_COUNTER_STATUS& status) {
    SCA_CounterCells::ShowValues(row, SCA_CountersView::kCurrentColumn, status);
}

QList<QVariant> IdsOf(SCA_TezCounterList* counters) {
    QList<QVariant> ids;
    for (auto* node = counters->GetHead(); node != nullptr; node = node->GetNext()) {
        ids.append(QVariant(node->GetItem()->GetCounterId()));
    }
    return ids;
}

} // namespace

int SCA_SrvMonStatusDlg::CreateCountersView() {
    m_CountersView = new SCA_CountersView(m_VerticalSplitter);
    connect(m_CountersView, &SCA_CountersView::MenuAsked, this,
            &SCA_SrvMonStatusDlg::ShowCountersMenu);
    m_CounterRows = std::make_unique<SCA_TreeRows>(m_CountersView);
    connect(m_CountersView, &QTreeWidget::itemClicked, this, &SCA_SrvMonStatusDlg::CounterSelected);
    connect(m_CountersView, &QTreeWidget::itemDoubleClicked, this,
            &SCA_SrvMonStatusDlg::CounterDoubleClicked);
    return 1;
}

int SCA_SrvMonStatusDlg::FillCounters(SCA_TezProfile* profile) {
    SCA_TezCounterList* counters = profile->GetCounterList();
    std::vector<SCA_TezCounterInfo*> infos;
    for (auto* node = counters->GetHead(); node != nullptr; node = node->GetNext()) {
        infos.push_back(node->GetItem());
    }
    const char* monitorComputer = m_Monitor.IsRemoteMonitor() ? m_Monitor.GetComputerName() : "";
    // Rows that stay keep their place in the user's selection and their last values.
    m_CounterRows->Apply(IdsOf(counters), [&](QTreeWidgetItem* row, int index, bool created) {
        const SCA_TezCounterInfo& info = *infos[static_cast<size_t>(index)];
        const uint32_t type = info.GetCounterType();
        if (created) {
            row->setIcon(SCA_CountersView::kIconColumn, Icon(SCA_TezGetCounterIcon(type)));
            row->setData(SCA_CountersView::kCounterColumn, kIdRole, SCA_REP_STATUS_MESSAGE);
            ShowNoValues(row);
        }
        row->setText(SCA_CountersView::kCounterColumn,
                     QString::fromUtf8(SCA_TezGetCounterDescr(type)));
        char instance[kTextSize] = "";
        SCA_TezBuildInstanceDescr(type, info.GetInstance(), instance, sizeof(instance));
        row->setText(SCA_CountersView::kInstanceColumn, QString::fromUtf8(instance));
        const char* computer = info.GetComputerName()[0] != '\0' ? info.GetComputerName()
                               : monitorComputer[0] != '\0'      ? monitorComputer
                                                                 : "Local";
        row->setText(SCA_CountersView::kComputerColumn, QString::fromUtf8(computer));
    });
    return 1;
}

int SCA_SrvMonStatusDlg::UpdateCounters(
    const std::vector<SCA_KorvantaInterface::CounterState>& counters) {
    QHash<uint32_t, const tagSCA_TEZ_COUNTER_STATUS*> byId;
    byId.reserve(static_cast<qsizetype>(counters.size()));
    for (const SCA_KorvantaInterface::CounterState& counter : counters) {
        byId.insert(counter.CounterId, &counter.Status);
    }
    for (int index = 0; index < m_CountersView->topLevelItemCount(); ++index) {
        QTreeWidgetItem* row = m_CountersView->topLevelItem(index);
        const tagSCA_TEZ_COUNTER_STATUS* status =
            byId.value(SCA_TreeRows::IdOf(row).toUInt(), nullptr);
        if (status == nullptr) {
            // A counter the service no longer lists keeps its row until the next refill.
            ShowNoValues(row);
            continue;
        }
        if (row->data(SCA_CountersView::kCounterColumn, kIdRole).toUInt() != status->Status) {
            row->setData(SCA_CountersView::kCounterColumn, kIdRole, status->Status);
            row->setIcon(SCA_CountersView::kIconColumn,
                         LevelIcon(status->Status, status->CounterType));
        }
        ShowValues(row, *status);
    }
    return 1;
}

int SCA_SrvMonStatusDlg::ShowCountersMenu(QContextMenuEvent* event) {
    QMenu menu(this);
    BuildCountersMenu(&menu);
    menu.exec(event->globalPos());
    return 1;
}

void SCA_SrvMonStatusDlg::BuildCountersMenu(QMenu* menu) {
    menu->setToolTipsVisible(true);
    menu->addAction(Icon(":/images/add_16px.png"), QStringLiteral("Add Counter ..."), this,
                    &SCA_SrvMonStatusDlg::AddCounter);
    menu->addSeparator();
    menu->addAction(Icon(":/images/options_16px.png"), QStringLiteral("Edit Counter ..."), this,
                    &SCA_SrvMonStatusDlg::EditCounter);
    SCA_DetachedMenu::AddEntries(menu, "View Detached",
                                 [this](uint32_t screen) { ViewDetached(screen); });
    menu->addSeparator();
    menu->addAction(Icon(":/images/move_up_16px.png"), QStringLiteral("Move Counter Up"), this,
                    &SCA_SrvMonStatusDlg::MoveCounterUp);
    menu->addAction(Icon(":/images/move_down_16px.png"), QStringLiteral("Move Counter Down"), this,
                    &SCA_SrvMonStatusDlg::MoveCounterDown);
    menu->addSeparator();
    menu->addAction(Icon(":/images/close_16px.png"), QStringLiteral("Delete Counter"), this,
                    &SCA_SrvMonStatusDlg::DeleteCounter);
}

uint32_t SCA_SrvMonStatusDlg::CurrentCounterId() const {
    const QTreeWidgetItem* row = m_CountersView->currentItem();
    return row != nullptr && row->isSelected() ? SCA_TreeRows::IdOf(row).toUInt() : SCA_ALL_ONES;
}

// --- counter slots ---------------------------------------------------------------------------

void SCA_SrvMonStatusDlg::CounterSelected(QTreeWidgetItem*, int) {
    const uint32_t counterId = CurrentCounterId();
    if (counterId == SCA_ALL_ONES || counterId == m_SelectedCounterId) {
        return;
    }
    SelectCounter(counterId, 0);
    UpdateStatus();
}

void SCA_SrvMonStatusDlg::CounterDoubleClicked(QTreeWidgetItem*, int) {
    EditCounter();
}

void SCA_SrvMonStatusDlg::EditCounter() {
    const uint32_t counterId = CurrentCounterId();
    if (counterId == SCA_ALL_ONES || !EditCounterInfo(counterId)) {
        return;
    }
    UpdateStatus();
}

int SCA_SrvMonStatusDlg::EditCounterInfo(uint32_t counterId) {
    SCA_TezCounterInfo info;
    if (!m_Session->Command([&](SCA_KorvantaInterface& client) {
            return client.GetCounterInfo(m_MonitorId, counterId, &info);
        })) {
        return 0;
    }
    const SCA_PollHold hold = HoldPolls();
    SCA_TezCounterDlg dialog(this, m_ProductConfig, m_UserConfig, m_Params, &info, kEditAll);
    if (!dialog.FillDialog() || SCA_ExecDialog(&dialog) != QDialog::Accepted) {
        return 0;
    }
    return m_Session->Command([&](SCA_KorvantaInterface& client) {
        return client.SetCounterInfo(m_MonitorId, counterId, &info);
    });
}

void SCA_SrvMonStatusDlg::AddCounter() {
    if (!AddPickedCounter()) {
        return;
    }
    UpdateStatus();
}

int SCA_SrvMonStatusDlg::AddPickedCounter() {
    const SCA_PollHold hold = HoldPolls();
    const char* computer = m_Monitor.IsRemoteMonitor() && m_Monitor.GetComputerName()[0] != '\0'
                               ? m_Monitor.GetComputerName()
                               : nullptr;
    SCA_SrvAddCounterDlg picker(this, m_ProductConfig, m_UserConfig, m_Session, computer);
    if (!picker.FillDialog()) {
        return 0;
    }
    uint32_t counterType = 0;
    char pickedComputer[SCA_TEZ_NAME_SIZE] = "";
    char instance[kTextSize] = "";
    char sqlInstance[kTextSize] = "";
    if (SCA_ExecDialog(&picker) != QDialog::Accepted ||
        !picker.GetSelectedCounter(&counterType, pickedComputer, sizeof(pickedComputer), instance,
                                   sizeof(instance), sqlInstance, sizeof(sqlInstance))) {
        return 0;
    }
    uint32_t counterId = 0;
    if (!m_Session->Command([&](SCA_KorvantaInterface& client) {
            return client.AddCounter(m_MonitorId, counterType, pickedComputer, instance,
                                     sqlInstance, &counterId);
        })) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_SrvMonStatusDlg::AddCounter: cannot add counter - %u",
            counterType);
        return 0;
    }
    return 1;
}

void SCA_SrvMonStatusDlg::MoveCounterUp() {
    MoveCounter(&SCA_KorvantaInterface::MoveCounterUp);
}

void SCA_SrvMonStatusDlg::MoveCounterDown() {
    MoveCounter(&SCA_KorvantaInterface::MoveCounterDown);
}

void SCA_SrvMonStatusDlg::MoveCounter(int (SCA_KorvantaInterface::*step)(uint32_t, uint32_t)) {
    const uint32_t counterId = CurrentCounterId();
    if (counterId == SCA_ALL_ONES) {
        return;
    }
    // Where the service put the counter shows at the refresh.
    m_Session->Command(
        [&](SCA_KorvantaInterface& client) { return (client.*step)(m_MonitorId, counterId); });
    UpdateStatus();
}

void SCA_SrvMonStatusDlg::DeleteCounter() {
    if (CurrentCounterId() == SCA_ALL_ONES || !DeleteSelectedCounters()) {
        return;
    }
    UpdateStatus();
}

int SCA_SrvMonStatusDlg::DeleteSelectedCounters() {
    for (const QVariant& id : m_CounterRows->SelectedIds()) {
        const uint32_t counterId = id.toUInt();
        if (!m_Session->Command([&](SCA_KorvantaInterface& client) {
                return client.DeleteCounter(m_MonitorId, counterId);
            })) {
            SCA_GetReportFunction(__FILE__, __LINE__)(
                SCA_LEVEL_ERROR, "SCA_SrvMonStatusDlg::DeleteCounter: cannot delete counter - %u",
                counterId);
            return 0;
        }
        if (counterId == m_SelectedCounterId) {
            m_SelectedCounterId = SCA_ALL_ONES;
        }
    }
    return 1;
}

// --- detached viewers of one counter -----------------------------------------------------------

void SCA_SrvMonStatusDlg::ViewDetached() {
    ViewDetached(SCA_ALL_ONES);
}

int SCA_SrvMonStatusDlg::ViewDetached(uint32_t screen) {
    const uint32_t counterId = CurrentCounterId();
    if (counterId == SCA_ALL_ONES) {
        SCA_ShowMessageBox(this, SCA_LEVEL_INFO, QStringLiteral("Message"),
                           QStringLiteral("Please, select a counter."));
        return 0;
    }
    return SCA_ViewerCommand::StartMonitorViewer(
        {.MonitorId = m_MonitorId, .CounterId = counterId, .ProcessId = {}}, screen, m_ConfigName,
        m_Session->Client(), "SCA_SrvGui::ViewDetached");
}
