// SPDX-License-Identifier: MIT
#include "libvop/SCA_ProcExcludeDlg.h"

#include <QBoxLayout>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "libvop/SCA_IconEngine.h"

namespace {

constexpr int kWidth = 360;
constexpr int kHeight = 420;
// A process name as the service keeps it.
constexpr int kMaxNameLength = 255;

} // namespace

SCA_ProcExcludeDlg::SCA_ProcExcludeDlg(QWidget* parent) : QDialog(parent) {
    setModal(true);
    setWindowTitle(QStringLiteral("Exclude Processes"));
    setWindowIcon(SCA_IconEngine::Load(QStringLiteral(":/images/app_exclude_32px.png")));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Processes left out of the monitor:"), this));
    m_List = new QListWidget(this);
    m_List->setSelectionMode(QAbstractItemView::ExtendedSelection);
    layout->addWidget(m_List, 1);
    auto* row = new QHBoxLayout();
    m_Name = new QLineEdit(this);
    m_Name->setMaxLength(kMaxNameLength);
    m_Name->setPlaceholderText(QStringLiteral("Process name"));
    m_Add = new QPushButton(QStringLiteral("Add"), this);
    m_Remove = new QPushButton(QStringLiteral("Remove"), this);
    row->addWidget(m_Name, 1);
    row->addWidget(m_Add);
    row->addWidget(m_Remove);
    layout->addLayout(row);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_Add, &QPushButton::clicked, this, &SCA_ProcExcludeDlg::AddName);
    connect(m_Name, &QLineEdit::returnPressed, this, &SCA_ProcExcludeDlg::AddName);
    connect(m_Remove, &QPushButton::clicked, this, &SCA_ProcExcludeDlg::RemoveNames);
    connect(m_Name, &QLineEdit::textChanged, this, &SCA_ProcExcludeDlg::UpdateButtons);
    connect(m_List, &QListWidget::itemSelectionChanged, this, &SCA_ProcExcludeDlg::UpdateButtons);
    resize(kWidth, kHeight);
    UpdateButtons();
}

int SCA_ProcExcludeDlg::FillDialog(const QStringList& names) {
    m_List->clear();
    for (const QString& name : names) {
        if (m_List->findItems(name, Qt::MatchExactly | Qt::MatchCaseSensitive).isEmpty()) {
            m_List->addItem(name);
        }
    }
    UpdateButtons();
    return 1;
}

QStringList SCA_ProcExcludeDlg::GetExcludeList() const {
    QStringList names;
    for (int row = 0; row < m_List->count(); ++row) {
        names.append(m_List->item(row)->text());
    }
    return names;
}

void SCA_ProcExcludeDlg::AddName() {
    const QString name = m_Name->text().trimmed();
    if (name.isEmpty()) {
        return;
    }
    const QList<QListWidgetItem*> found =
        m_List->findItems(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
    QListWidgetItem* item = found.isEmpty() ? new QListWidgetItem(name, m_List) : found.first();
    m_List->setCurrentItem(item);
    m_Name->clear();
    UpdateButtons();
}

void SCA_ProcExcludeDlg::RemoveNames() {
    qDeleteAll(m_List->selectedItems());
    UpdateButtons();
}

void SCA_ProcExcludeDlg::UpdateButtons() {
    m_Add->setEnabled(!m_Name->text().trimmed().isEmpty());
    m_Remove->setEnabled(!m_List->selectedItems().isEmpty());
}
