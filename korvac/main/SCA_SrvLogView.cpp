// SPDX-License-Identifier: MIT
#include "korvac/main/SCA_SrvLogView.h"

#include <QAction>
#include <QDir>
#include <QHeaderView>
#include <vector>

#include "korvac/kit/SCA_ListLook.h"
#include "libmor/SCA_Limits.h"
#include "libmor/SCA_Time.h"
#include "libvop/SCA_EmptyHint.h"
#include "libvop/SCA_IconEngine.h"
#include "libvop/SCA_ModalHook.h"
#include "libvop/SCA_TreeRows.h"

namespace {

QIcon LevelIcon(uint32_t level) {
    const char* name = "error_16px.png";
    if (level == SCA_LEVEL_CONFIG) {
        name = "led_blue_16px.png";
    } else if (level == SCA_LEVEL_INFO) {
        name = "ready_16px.png";
    } else if (level == SCA_LEVEL_WARNING) {
        name = "warning_16px.png";
    }
    return SCA_IconEngine::Load(QStringLiteral(":/images/") + QLatin1String(name));
}

} // namespace

SCA_SrvLogView::SCA_SrvLogView(QWidget* parent)
    : QTreeWidget(parent), m_Log(kMaxRows), m_Rows(std::make_unique<SCA_TreeRows>(this)) {
    SCA_ListLook::Apply(this);
    setColumnCount(4);
    setHeaderLabels(
        {QString(), QStringLiteral("Date"), QStringLiteral("Time"), QStringLiteral("Message")});
    setColumnWidth(0, 24);
    setColumnWidth(1, 84);
    setColumnWidth(2, 84);
    header()->setStretchLastSection(true);

    auto* save = new QAction(SCA_IconEngine::Load(QStringLiteral(":/images/save_16px.png")),
                             QStringLiteral("Save Text Report"), this);
    connect(save, &QAction::triggered, this, &SCA_SrvLogView::SaveTextReport);
    auto* clear = new QAction(SCA_IconEngine::Load(QStringLiteral(":/images/close_16px.png")),
                              QStringLiteral("Clear All"), this);
    connect(clear, &QAction::triggered, this, &SCA_SrvLogView::ClearAll);
    setContextMenuPolicy(Qt::ActionsContextMenu);
    addAction(save);
    addAction(clear);
    SetConstructed();
}

SCA_SrvLogView::~SCA_SrvLogView() = default;

int SCA_SrvLogView::AddMessage(const tagSCA_ERROR_DESCR* message, uint32_t id) {
    if (message == nullptr || !m_Log.AddMessage(message, id)) {
        return 0;
    }
    ShowStore();
    return 1;
}

int SCA_SrvLogView::AddMessages(SCA_DebugLog* log, uint32_t sessionId, uint32_t* lastId) {
    if (log == nullptr) {
        return 0;
    }
    if (sessionId != m_SessionId) {
        ResetView();
        m_SessionId = sessionId;
    }
    SCA_DebugMessageList* messages = log->GetMessageList();
    int added = 1;
    for (auto* node = messages->GetHead(); node != nullptr && added; node = node->GetNext()) {
        added = m_Log.AddMessage(node->GetItem(), node->GetId());
    }
    ShowStore();
    if (!added) {
        return 0;
    }
    if (log->GetMessageCount() > 0 && lastId != nullptr) {
        *lastId = log->GetLastMessageId();
    }
    return 1;
}

void SCA_SrvLogView::ShowStore() {
    SCA_DebugMessageList* messages = m_Log.GetMessageList();
    std::vector<const tagSCA_ERROR_DESCR*> shown;
    QList<QVariant> ids;
    for (auto* node = messages->GetHead(); node != nullptr; node = node->GetNext()) {
        shown.push_back(node->GetItem());
        ids.append(QVariant(node->GetId()));
    }
    QTreeWidgetItem* newest = nullptr;
    m_Rows->Apply(ids, [&](QTreeWidgetItem* item, int index, bool created) {
        if (!created) {
            return;
        }
        const tagSCA_ERROR_DESCR* message = shown[static_cast<size_t>(index)];
        tagSCA_DATE date{};
        tagSCA_TIME time{};
        char dateText[32] = "";
        char timeText[32] = "";
        if (SCA_ConvertAbsTime(message->AbsTime, &date, &time)) {
            SCA_FormatDateString(&date, 0, "-", dateText, sizeof(dateText));
            SCA_FormatTimeString(&time, timeText, sizeof(timeText));
        }
        item->setIcon(0, LevelIcon(message->Level));
        item->setText(1, QString::fromLatin1(dateText));
        item->setText(2, QString::fromLatin1(timeText));
        item->setText(3, QString::fromUtf8(message->Text));
        newest = item;
    });
    if (newest != nullptr) {
        scrollToItem(newest);
    }
}

void SCA_SrvLogView::paintEvent(QPaintEvent* event) {
    QTreeWidget::paintEvent(event);
    SCA_PaintEmptyHint(this, QStringLiteral("The service's messages are shown here."));
}

int SCA_SrvLogView::ResetView() {
    m_Log.Clear();
    m_SessionId = SCA_ALL_ONES;
    m_Rows->Clear();
    return 1;
}

void SCA_SrvLogView::ClearAll() {
    ResetView();
    emit ClearLog();
}

void SCA_SrvLogView::SaveTextReport() {
    const QString path = SCA_GetSaveFileName(this, QStringLiteral("Save Text Report"),
                                             QDir::homePath(), QStringLiteral("*.txt"));
    if (path.isEmpty()) {
        return;
    }
    // The log reports a failed write itself, at level 5.
    m_Log.SaveTextReport(QDir::cleanPath(path).toUtf8().constData());
}
