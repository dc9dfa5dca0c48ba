// SPDX-License-Identifier: MIT
#include "korvac/process/SCA_SrvProcessLog.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <iterator>

#include "korvac/kit/SCA_ListLook.h"
#include "libmor/SCA_Time.h"
#include "libvop/SCA_EmptyHint.h"
#include "libvop/SCA_IconEngine.h"
#include "model/SCA_TezProcessLog.h"

namespace {

enum : int { kIcon, kDate, kTime, kPid, kProcess, kUser, kDescription, kColumns };
constexpr uint32_t kProcessStarted = 0;
constexpr uint32_t kProcessEnded = 1;
constexpr uint32_t kDateSize = 64;
constexpr uint32_t kTextSize = 256;

const char* EventIcon(uint32_t opCode) {
    switch (opCode) {
    case kProcessStarted:
        return ":/images/proc_running_16px.png";
    case kProcessEnded:
        return ":/images/proc_idle_16px.png";
    default:
        return ":/images/app_16px.png";
    }
}

QTreeWidgetItem* RowOf(const SCA_TezProcessLogItem& event) {
    auto* row = new QTreeWidgetItem();
    tagSCA_DATE date{};
    tagSCA_TIME time{};
    char dateText[kDateSize] = "";
    char timeText[kTextSize] = "";
    if (SCA_ConvertAbsTime(event.GetAbsTime() * SCA_ABS_TIME_SECOND, &date, &time)) {
        SCA_FormatDateString(&date, 0, "-", dateText, sizeof(dateText));
        SCA_FormatTimeString(&time, timeText, sizeof(timeText));
    }
    char description[kTextSize] = "";
    event.BuildDescription(description, sizeof(description));
    row->setIcon(kIcon, SCA_IconEngine::Load(QString::fromLatin1(EventIcon(event.GetOpCode()))));
    row->setText(kDate, QString::fromLatin1(dateText));
    row->setText(kTime, QString::fromLatin1(timeText));
    row->setText(kPid, QString::number(event.GetProcessId()));
    row->setText(kProcess, QString::fromUtf8(event.GetProcessName()));
    row->setText(kUser, QString::fromUtf8(event.GetUserNameEx("---")));
    row->setText(kDescription, QString::fromUtf8(description));
    return row;
}

} // namespace

SCA_SrvProcessLog::SCA_SrvProcessLog(QWidget* parent) : QTreeWidget(parent) {
    SCA_ListLook::Apply(this);
    setColumnCount(kColumns);
    setHeaderLabels({QString(), QStringLiteral("Date"), QStringLiteral("Time"),
                     QStringLiteral("PID"), QStringLiteral("Process"), QStringLiteral("User"),
                     QStringLiteral("Description")});
    constexpr int kWidths[] = {24, 80, 72, 52, 132, 112, 80};
    for (int column = 0; column < static_cast<int>(std::size(kWidths)); ++column) {
        setColumnWidth(column, kWidths[column]);
    }
}

uint32_t SCA_SrvProcessLog::AppendItems(SCA_TezProcessLog* log, uint32_t maxRows, uint32_t lastId) {
    for (auto* node = log->GetHead(); node != nullptr; node = node->GetNext()) {
        const SCA_TezProcessLogItem* event = node->GetItem();
        if (event == nullptr) {
            continue;
        }
        insertTopLevelItem(0, RowOf(*event));
        lastId = event->GetItemId();
    }
    while (static_cast<uint32_t>(topLevelItemCount()) > maxRows) {
        delete takeTopLevelItem(topLevelItemCount() - 1);
    }
    return lastId;
}

void SCA_SrvProcessLog::contextMenuEvent(QContextMenuEvent* event) {
    emit MenuAsked(event);
    event->accept();
}

void SCA_SrvProcessLog::paintEvent(QPaintEvent* event) {
    QTreeWidget::paintEvent(event);
    SCA_PaintEmptyHint(this, QStringLiteral("No process has started or ended yet."));
}
