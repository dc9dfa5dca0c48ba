// SPDX-License-Identifier: MIT
#include "libvop/SCA_SrvAboutDlg.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "libvop/SCA_IconEngine.h"

SCA_SrvAboutDlg::SCA_SrvAboutDlg(QWidget* parent, const QString& iconPath, uint32_t productType,
                                 const QString& productName, const QString& version)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("About %1").arg(productName));
    auto* icon = new QLabel(this);
    icon->setPixmap(SCA_IconEngine::Load(iconPath).pixmap(QSize(64, 64), devicePixelRatioF()));
    icon->setAlignment(Qt::AlignTop);

    auto* name = new QLabel(this);
    name->setTextFormat(Qt::PlainText);
    name->setText(productName);
    QFont bold = name->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.3);
    name->setFont(bold);
    auto* details = new QLabel(this);
    details->setTextFormat(Qt::PlainText);
    details->setText(QStringLiteral("Version %1\nProduct type %2").arg(version).arg(productType));

    auto* text = new QVBoxLayout;
    text->addWidget(name);
    text->addWidget(details);
    text->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addSpacing(12);
    top->addLayout(text, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    setMinimumWidth(340);
}
