// SPDX-License-Identifier: MIT
#include "korvac/main/SCA_SrvConnectView.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QMessageBox>
#include <cstring>
#include <memory>

#include "korvac/kit/SCA_ListLook.h"
#include "libvop/SCA_EmptyHint.h"
#include "libvop/SCA_IconEngine.h"
#include "libvop/SCA_ModalHook.h"
#include "libvop/SCA_TreeRows.h"
#include "model/SCA_SrvConnectList.h"
#include "model/SCA_TezConfigUser.h"

namespace {

QIcon Icon(const char* name) {
    return SCA_IconEngine::Load(QStringLiteral(":/images/") + QLatin1String(name));
}

} // namespace

SCA_SrvConnectView::SCA_SrvConnectView(QWidget* parent, SCA_TezConfigUser* userConfig)
    : QTreeWidget(parent), m_UserConfig(*userConfig), m_Rows(std::make_unique<SCA_TreeRows>(this)) {
    SCA_ListLook::Apply(this);
    setColumnCount(2);
    setHeaderLabels({QString(), QStringLiteral("Servers")});
    setColumnWidth(0, 24);
    setColumnWidth(1, 100);
    connect(this, &QTreeWidget::itemDoubleClicked, this, &SCA_SrvConnectView::ConnectClicked);
    SetConstructed();
}

SCA_SrvConnectView::~SCA_SrvConnectView() = default;

int SCA_SrvConnectView::Refresh(const char* host) {
    QList<QVariant> ids;
    for (auto* node = m_UserConfig.GetConnectList()->GetHead(); node != nullptr;
         node = node->GetNext()) {
        if (node->GetItem() != nullptr) {
            ids.append(QString::fromUtf8(node->GetItem()->GetComputerNameA()));
        }
    }
    const QIcon icon = Icon("server_16px.png");
    m_Rows->Apply(ids, [&](QTreeWidgetItem* item, int index, bool created) {
        if (created) {
            item->setIcon(0, icon);
            item->setText(1, ids[index].toString());
        }
    });
    // The row of host is the selection, and no other.
    QList<QVariant> selected;
    if (host != nullptr && host[0] != '\0') {
        selected.append(QString::fromUtf8(host));
    }
    m_Rows->Select(selected);
    return 1;
}

QByteArray SCA_SrvConnectView::SelectedHost() const {
    QTreeWidgetItem* item = currentItem();
    if (item == nullptr || !item->isSelected()) {
        return {};
    }
    return item->text(1).toUtf8();
}

void SCA_SrvConnectView::ConnectClicked(QTreeWidgetItem*, int) {
    const QByteArray host = SelectedHost();
    if (!host.isEmpty()) {
        emit HostChosen(host);
    }
}

void SCA_SrvConnectView::MoveConnectUp() {
    const QByteArray host = SelectedHost();
    if (host.isEmpty()) {
        return;
    }
    m_UserConfig.GetConnectList()->MoveItemUp(host.constData());
    emit OrderChanged();
}

void SCA_SrvConnectView::MoveConnectDown() {
    const QByteArray host = SelectedHost();
    if (host.isEmpty()) {
        return;
    }
    m_UserConfig.GetConnectList()->MoveItemDown(host.constData());
    emit OrderChanged();
}

void SCA_SrvConnectView::DeleteConnect() {
    const QByteArray host = SelectedHost();
    if (host.isEmpty()) {
        return;
    }
    m_UserConfig.GetConnectList()->DeleteConnect(host.constData());
    Refresh(nullptr);
}

void SCA_SrvConnectView::DeleteAllConnects() {
    if (SCA_AskMessageBox(
            this, SCA_LEVEL_WARNING, QStringLiteral("Message"),
            QStringLiteral("Are you sure you want to remove all computers from the list?"),
            QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) {
        return;
    }
    m_UserConfig.GetConnectList()->ClearAll();
    Refresh(nullptr);
}

QMenu* SCA_SrvConnectView::CreateContextMenu() {
    auto* menu = new QMenu(this);
    connect(menu->addAction(Icon("add_16px.png"), QStringLiteral("Connect ...")),
            &QAction::triggered, this, &SCA_SrvConnectView::ConnectAsked);
    menu->addSeparator();
    connect(menu->addAction(Icon("move_up_16px.png"), QStringLiteral("Move Up")),
            &QAction::triggered, this, &SCA_SrvConnectView::MoveConnectUp);
    connect(menu->addAction(Icon("move_down_16px.png"), QStringLiteral("Move Down")),
            &QAction::triggered, this, &SCA_SrvConnectView::MoveConnectDown);
    menu->addSeparator();
    connect(menu->addAction(Icon("close_16px.png"), QStringLiteral("Remove")), &QAction::triggered,
            this, &SCA_SrvConnectView::DeleteConnect);
    connect(menu->addAction(QStringLiteral("Remove All")), &QAction::triggered, this,
            &SCA_SrvConnectView::DeleteAllConnects);
    return menu;
}

void SCA_SrvConnectView::paintEvent(QPaintEvent* event) {
    QTreeWidget::paintEvent(event);
    SCA_PaintEmptyHint(this, QStringLiteral("The servers you connect to are listed here."));
}

void SCA_SrvConnectView::contextMenuEvent(QContextMenuEvent* event) {
    std::unique_ptr<QMenu> menu(CreateContextMenu());
    menu->exec(event->globalPos());
}
