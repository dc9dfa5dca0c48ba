// SPDX-License-Identifier: MIT
#include "libvop/SCA_EntryDlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <climits>

#include "libmor/SCA_String.h"

namespace {

constexpr int kMinWidth = 340;

} // namespace

SCA_EntryDlg::SCA_EntryDlg(QWidget* parent, const QString& title, const QString& label,
                           const char* text, uint32_t maxLength)
    : QDialog(parent), m_Edit(new QLineEdit(QString::fromUtf8(text != nullptr ? text : ""), this)),
      m_Buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this)) {
    setWindowTitle(title);
    m_Edit->setMaxLength(maxLength != 0 && maxLength < INT_MAX ? static_cast<int>(maxLength)
                                                               : 32767);
    const auto allowOk = [this] {
        m_Buttons->button(QDialogButtonBox::Ok)->setEnabled(!m_Edit->text().trimmed().isEmpty());
    };
    connect(m_Edit, &QLineEdit::textChanged, this, allowOk);
    connect(m_Buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_Buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    allowOk();
    auto* form = new QFormLayout;
    form->addRow(label, m_Edit);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_Buttons);
    setMinimumWidth(kMinWidth);
}

int SCA_EntryDlg::GetData(char* buf, uint32_t size) const {
    const QByteArray entry = m_Edit->text().trimmed().toUtf8();
    if (buf == nullptr || size == 0 || entry.isEmpty()) {
        return 0;
    }
    SCA_StrnCpy(buf, entry.constData(), size);
    return 1;
}
