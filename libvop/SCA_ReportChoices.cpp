// SPDX-License-Identifier: MIT
#include "libvop/SCA_ReportChoices.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include "libmor/SCA_FileName.h"
#include "libmor/SCA_Limits.h"
#include "libmor/SCA_Report.h"
#include "libmor/SCA_String.h"
#include "libmor/SCA_Time.h"
#include "libvop/SCA_IconEngine.h"
#include "libvop/SCA_ModalHook.h"
#include "model/SCA_TezReportFormat.h"

namespace {

constexpr uint32_t kNameSize = 256;

void Choose(QComboBox* box, uint32_t selected) {
    const int index = box->findData(selected);
    box->setCurrentIndex(index >= 0 ? index : 0);
}

} // namespace

void SCA_ReportChoices::FillFormats(QComboBox* box, uint32_t selected) {
    box->clear();
    const tagSCA_TEZ_REPORT_FORMAT* formats = SCA_TezGetReportFormats();
    for (uint32_t i = 0; i < SCA_TEZ_REPORT_FORMATS; ++i) {
        box->addItem(SCA_IconEngine::Load(QString::fromLatin1(formats[i].Icon)),
                     QString::fromUtf8(formats[i].Name), formats[i].Format);
    }
    Choose(box, selected);
}

void SCA_ReportChoices::FillModes(QComboBox* box, uint32_t selected) {
    box->clear();
    for (uint32_t mode = 0; mode < SCA_TEZ_REPORT_MODES; ++mode) {
        box->addItem(SCA_IconEngine::Load(QString::fromLatin1(SCA_TezGetReportModeIcon(mode))),
                     QString::fromUtf8(SCA_TezGetReportModeName(mode)), mode);
    }
    Choose(box, selected);
}

uint32_t SCA_ReportChoices::Selected(const QComboBox* box) {
    return box->currentIndex() >= 0 ? box->currentData().toUInt() : SCA_ALL_ONES;
}

QString SCA_ReportChoices::WithExtension(const QString& path, uint32_t format) {
    const tagSCA_TEZ_REPORT_FORMAT* entry = SCA_TezGetReportFormat(format);
    if (entry == nullptr || path.isEmpty()) {
        return path;
    }
    const QString extension = QString::fromLatin1(entry->Extension);
    const QFileInfo file(path);
    QString base = path;
    const QString suffix = file.suffix();
    for (uint32_t i = 0; i < SCA_TEZ_REPORT_FORMATS; ++i) {
        if (suffix.compare(QLatin1String(SCA_TezGetReportFormats()[i].Extension),
                           Qt::CaseInsensitive) == 0) {
            base.chop(suffix.size() + 1);
            break;
        }
    }
    return base + QLatin1Char('.') + extension;
}

bool SCA_ReportChoices::CheckFolder(QWidget* parent, const QString& folder) {
    const QFileInfo info(folder);
    if (folder.isEmpty() || info.isRelative()) {
        SCA_ShowMessageBox(parent, SCA_LEVEL_WARNING, QStringLiteral("Warning"),
                           QStringLiteral("Please, give the full path of an existing folder."));
        return false;
    }
    if (!info.isDir()) {
        SCA_ShowMessageBox(parent, SCA_LEVEL_WARNING, QStringLiteral("Warning"),
                           QStringLiteral("The folder \"%1\" does not exist.").arg(folder));
        return false;
    }
    return true;
}

QHBoxLayout* SCA_ReportChoices::BrowseRow(QWidget* parent, QLineEdit* edit, const QString& tip,
                                          const std::function<void()>& browse) {
    auto* button = new QToolButton(parent);
    button->setText(QStringLiteral("..."));
    button->setToolTip(tip);
    QObject::connect(button, &QToolButton::clicked, parent, browse);
    auto* row = new QHBoxLayout;
    row->addWidget(edit, 1);
    row->addWidget(button);
    return row;
}

void SCA_ReportChoices::LayOut(QDialog* dialog, QFormLayout* form, int minWidth) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel, dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(dialog);
    layout->addLayout(form);
    layout->addStretch(1);
    layout->addWidget(buttons);
    dialog->setMinimumWidth(minWidth);
}

QString SCA_ReportChoices::DefaultFileName(const char* name, uint32_t format) {
    char safe[kNameSize];
    SCA_StrnCpy(safe, name != nullptr && name[0] != '\0' ? name : "Report", sizeof(safe));
    SCA_NormalizeFileName(safe, sizeof(safe));
    char stamp[kNameSize] = "";
    SCA_GetDateTimeStringEx(stamp, sizeof(stamp), "-", "");
    return WithExtension(
        QStringLiteral("Korvanta %1 %2").arg(QString::fromUtf8(safe), QString::fromUtf8(stamp)),
        format);
}
