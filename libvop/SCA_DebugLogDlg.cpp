// SPDX-License-Identifier: MIT
#include "libvop/SCA_DebugLogDlg.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "libmor/SCA_Report.h"
#include "libmor/SCA_Time.h"
#include "libvop/SCA_IconEngine.h"
#include "model/SCA_DebugLog.h"

namespace {

const char* LevelIcon(uint32_t level) {
    switch (level) {
    case SCA_LEVEL_INFO:
        return ":/images/info_16px.png";
    case SCA_LEVEL_WARNING:
        return ":/images/warning_16px.png";
    case SCA_LEVEL_CONFIG:
        return ":/images/file_attr_16px.png";
    default:
        return ":/images/error_16px.png";
    }
}

} // namespace

SCA_DebugLogDlg::SCA_DebugLogDlg(QWidget* parent, SCA_DebugLog* log, const QString& title)
    : QDialog(parent), m_Log(log), m_View(new QTreeWidget(this)) {
    setWindowTitle(title);
    m_View->setColumnCount(3);
    m_View->setHeaderLabels(
        {QStringLiteral("Date"), QStringLiteral("Time"), QStringLiteral("Message")});
    m_View->setRootIsDecorated(false);
    m_View->setUniformRowHeights(true);
    m_View->setAlternatingRowColors(true);
    m_View->header()->setStretchLastSection(true);
    m_View->setColumnWidth(0, 120);
    m_View->setColumnWidth(1, 80);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_View);
    layout->addWidget(buttons);
    resize(720, 400);
    Fill();
}

void SCA_DebugLogDlg::Fill() {
    if (m_Log == nullptr) {
        return;
    }
    const uint32_t count = m_Log->GetMessageCount();
    for (uint32_t position = 0; position < count; ++position) {
        tagSCA_ERROR_DESCR* message = nullptr;
        if (!m_Log->GetMessageByPos(position, &message) || message == nullptr) {
            continue;
        }
        char date[64] = "";
        char time[64] = "";
        tagSCA_DATE day{};
        tagSCA_TIME clock{};
        if (SCA_ConvertAbsTime(message->AbsTime, &day, &clock)) {
            SCA_FormatDateString(&day, 0, "-", date, sizeof(date));
            SCA_FormatTimeString(&clock, time, sizeof(time));
        }
        auto* item = new QTreeWidgetItem(m_View);
        item->setIcon(0, SCA_IconEngine::Load(QString::fromLatin1(LevelIcon(message->Level))));
        item->setText(0, QString::fromUtf8(date));
        item->setText(1, QString::fromUtf8(time));
        item->setText(2, QString::fromUtf8(message->Text));
    }
    m_View->scrollToBottom();
}
