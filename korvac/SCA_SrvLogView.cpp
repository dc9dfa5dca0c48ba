#include "korvac/SCA_SrvLogView.h"

#include <QAction>
#include <QDir>
#include <QHeaderView>

#include "korvac/SCA_MonitorsView.h"
#include "libmor/SCA_Time.h"
#include "libvop/SCA_IconEngine.h"
#include "libvop/SCA_ModalHook.h"

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

SCA_SrvLogView::SCA_SrvLogView(QWidget* parent) : QTreeWidget(parent), m_Log(kMaxRows) {
    setStyleSheet(QString::fromLatin1(SCA_MonitorsView::kSelectionStyle));
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSortingEnabled(false);
    setItemsExpandable(false);
    setAllColumnsShowFocus(true);
    setColumnCount(4);
    setHeaderLabels(
        {QString(), QStringLiteral("Date"), QStringLiteral("Time"), QStringLiteral("Message")});
    setColumnWidth(0, 24);
    setColumnWidth(1, 84);
    setColumnWidth(2, 84);
    header()->setStretchLastSection(true);
    header()->setSectionsMovable(false);

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

int SCA_SrvLogView::AddMessage(const tagSCA_ERROR_DESCR* message, uint32_t id) {
    if (message == nullptr) {
        return 0;
    }
    m_Log.AddMessage(message, id);
    auto* item = new QTreeWidgetItem(this);
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
    if (static_cast<uint32_t>(topLevelItemCount()) > kMaxRows) {
        delete takeTopLevelItem(0);
    }
    scrollToItem(item);
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
    for (auto* node = messages->GetHead(); node != nullptr; node = node->GetNext()) {
        if (!AddMessage(node->GetItem(), node->GetId())) {
            return 0;
        }
    }
    if (log->GetMessageCount() > 0 && lastId != nullptr) {
        *lastId = log->GetLastMessageId();
    }
    return 1;
}

int SCA_SrvLogView::ResetView() {
    m_Log.Clear();
    m_SessionId = 0xFFFFFFFFu;
    clear();
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
