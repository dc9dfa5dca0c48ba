// SPDX-License-Identifier: MIT
#include "libvop/SCA_ListDlg.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "libmor/SCA_String.h"
#include "libvop/SCA_IconEngine.h"
#include "model/SCA_ConfigObj.h"

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 300;

} // namespace

SCA_ListDlg::SCA_ListDlg(QWidget* parent, const QString& title, const QString& iconPath)
    : QDialog(parent), m_IconPath(iconPath), m_List(new QListWidget(this)),
      m_Buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this)) {
    setWindowTitle(title);
    setWindowIcon(SCA_IconEngine::Load(iconPath));
    m_List->setSelectionMode(QAbstractItemView::SingleSelection);
    m_List->setUniformItemSizes(true);
    connect(m_List, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(m_List, &QListWidget::itemSelectionChanged, this, [this] {
        m_Buttons->button(QDialogButtonBox::Ok)->setEnabled(!m_List->selectedItems().isEmpty());
    });
    connect(m_Buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_Buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    m_Buttons->button(QDialogButtonBox::Ok)->setEnabled(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_List, 1);
    layout->addWidget(m_Buttons);
    resize(kWidth, kHeight);
}

int SCA_ListDlg::UpdateDialog(SCA_ConfigObj* object) {
    m_List->clear();
    if (object == nullptr) {
        return 0;
    }
    const QIcon icon = SCA_IconEngine::Load(m_IconPath);
    for (SCA_Field* field = object->GetHead(); field != nullptr; field = field->GetNext()) {
        new QListWidgetItem(icon, QString::fromUtf8(field->GetName()), m_List);
    }
    if (m_List->count() == 0) {
        return 0;
    }
    m_List->setCurrentRow(0);
    return 1;
}

int SCA_ListDlg::GetData(char* buf, uint32_t size) const {
    const QList<QListWidgetItem*> chosen = m_List->selectedItems();
    if (buf == nullptr || size == 0 || chosen.isEmpty()) {
        return 0;
    }
    SCA_StrnCpy(buf, chosen.front()->text().toUtf8().constData(), size);
    return 1;
}
