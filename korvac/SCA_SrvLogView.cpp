#include "korvac/SCA_SrvLogView.h"

#include <QHeaderView>

#include "korvac/SCA_MonitorsView.h"

SCA_SrvLogView::SCA_SrvLogView(QWidget* parent) : QTreeWidget(parent) {
    setStyleSheet(QString::fromLatin1(SCA_MonitorsView::kSelectionStyle));
    setColumnCount(3);
    setHeaderLabels({QStringLiteral("Date"), QStringLiteral("Time"), QStringLiteral("Message")});
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setColumnWidth(0, 110);
    setColumnWidth(1, 80);
    header()->setStretchLastSection(true);
}
