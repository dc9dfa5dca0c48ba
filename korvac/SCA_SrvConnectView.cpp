#include "korvac/SCA_SrvConnectView.h"

#include <QHeaderView>
#include <cstring>

#include "korvac/SCA_MonitorsView.h"
#include "korvac/SCA_SrvGui.h"
#include "libvop/SCA_IconEngine.h"
#include "model/SCA_SrvConnectList.h"

SCA_SrvConnectView::SCA_SrvConnectView(QWidget* parent, SCA_SrvGui* window)
    : QTreeWidget(parent), m_Window(window) {
    setStyleSheet(QString::fromLatin1(SCA_MonitorsView::kSelectionStyle));
    setColumnCount(1);
    setHeaderLabels({QStringLiteral("Servers")});
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    header()->setStretchLastSection(true);
}

int SCA_SrvConnectView::Refill(const char* host) {
    clear();
    const QIcon icon = SCA_IconEngine::Load(QStringLiteral(":/images/server_16px.png"));
    for (auto* node = m_Window->GetUserConfig()->GetConnectList()->GetHead(); node != nullptr;
         node = node->GetNext()) {
        if (node->GetName() == nullptr) {
            continue;
        }
        auto* item = new QTreeWidgetItem(this);
        item->setIcon(0, icon);
        item->setText(0, QString::fromUtf8(node->GetName()));
        if (host != nullptr && std::strcmp(host, node->GetName()) == 0) {
            setCurrentItem(item);
        }
    }
    return 1;
}
