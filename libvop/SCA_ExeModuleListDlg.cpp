// SPDX-License-Identifier: MIT
#include "libvop/SCA_ExeModuleListDlg.h"

#include <QBoxLayout>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QTreeWidget>

#include "libvop/SCA_IconEngine.h"
#include "model/SCA_ExeModuleList.h"

namespace {

enum : int { kName, kVersion, kDescription, kSize, kPath, kColumns };
constexpr int kWidth = 720;
constexpr int kHeight = 420;

} // namespace

SCA_ExeModuleListDlg::SCA_ExeModuleListDlg(QWidget* parent, const char* processName,
                                           SCA_ExeModuleList* modules)
    : QDialog(parent), m_Modules(modules) {
    setModal(true);
    setWindowTitle(QStringLiteral("%1 - Process DLLs")
                       .arg(QString::fromUtf8(processName != nullptr ? processName : "")));
    setWindowIcon(SCA_IconEngine::Load(QStringLiteral(":/images/layouts_16px.png")));
    auto* layout = new QVBoxLayout(this);
    m_View = new QTreeWidget(this);
    m_View->setRootIsDecorated(false);
    m_View->setUniformRowHeights(true);
    m_View->setColumnCount(kColumns);
    m_View->setHeaderLabels({QStringLiteral("Module"), QStringLiteral("Version"),
                             QStringLiteral("Description"), QStringLiteral("Size"),
                             QStringLiteral("Path")});
    m_View->setColumnWidth(kName, 180);
    m_View->setColumnWidth(kVersion, 90);
    m_View->setColumnWidth(kDescription, 150);
    m_View->setColumnWidth(kSize, 80);
    m_Summary = new QLabel(this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    layout->addWidget(m_View, 1);
    layout->addWidget(m_Summary);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    resize(kWidth, kHeight);
}

int SCA_ExeModuleListDlg::UpdateModuleView() {
    m_View->clear();
    int count = 0;
    for (auto* node = m_Modules->GetHead(); node != nullptr; node = node->GetNext()) {
        const SCA_ExeModule* module = node->GetItem();
        if (module == nullptr) {
            continue;
        }
        const QString path = QString::fromUtf8(module->GetFileName());
        auto* row = new QTreeWidgetItem(m_View);
        row->setIcon(kName, SCA_IconEngine::Load(QStringLiteral(":/images/app_16px.png")));
        row->setText(kName, QFileInfo(path).fileName());
        row->setText(kVersion, QString::fromUtf8(module->GetFileVersion()));
        row->setText(kDescription, QString::fromUtf8(module->GetFileDescr()));
        row->setText(kSize,
                     QLocale::c().formattedDataSize(static_cast<qint64>(module->GetFileSize())));
        row->setText(kPath, path);
        ++count;
    }
    m_Summary->setText(QStringLiteral("Modules: %1").arg(count));
    return 1;
}
