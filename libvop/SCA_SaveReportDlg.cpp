// SPDX-License-Identifier: MIT
#include "libvop/SCA_SaveReportDlg.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>

#include "libmor/SCA_Limits.h"
#include "libmor/SCA_Report.h"
#include "libmor/SCA_String.h"
#include "libvop/SCA_ModalHook.h"
#include "libvop/SCA_ReportChoices.h"
#include "model/SCA_TezReportFormat.h"

namespace {

constexpr int kMinWidth = 520;
constexpr int kTitleLength = 255;
constexpr int kPathLength = 4095;

} // namespace

SCA_SaveReportDlg::SCA_SaveReportDlg(QWidget* parent, SCA_TezConfig* /*config*/,
                                     SCA_TezConfigUser* /*userConfig*/, SCA_ConfigObj* /*params*/,
                                     const char* caption, const char* name, int formatLocked,
                                     int chooseMode)
    : QDialog(parent), m_Name(QString::fromUtf8(name != nullptr ? name : "")),
      m_ChooseMode(chooseMode != 0), m_Title(new QLineEdit(this)), m_Format(new QComboBox(this)),
      m_ModeLabel(new QLabel(QStringLiteral("Report Mode:"), this)), m_Mode(new QComboBox(this)),
      m_Path(new QLineEdit(this)) {
    setWindowTitle(QString::fromUtf8(caption != nullptr ? caption : ""));
    m_Title->setMaxLength(kTitleLength);
    m_Path->setMaxLength(kPathLength);
    SCA_ReportChoices::FillFormats(m_Format, SCA_TEZ_FORMAT_HTML);
    SCA_ReportChoices::FillModes(m_Mode, SCA_TEZ_REPORT_MODE_SUMMARY);
    m_Format->setEnabled(formatLocked == 0);
    m_ModeLabel->setVisible(chooseMode != 0);
    m_Mode->setVisible(chooseMode != 0);
    connect(m_Format, &QComboBox::currentIndexChanged, this, &SCA_SaveReportDlg::FormatChanged);

    QHBoxLayout* file = SCA_ReportChoices::BrowseRow(
        this, m_Path, QStringLiteral("Choose the file"), [this] { Browse(); });

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Report Title:"), m_Title);
    form->addRow(QStringLiteral("Report Format:"), m_Format);
    form->addRow(m_ModeLabel, m_Mode);
    form->addRow(QStringLiteral("File:"), file);
    SCA_ReportChoices::LayOut(this, form, kMinWidth);
}

int SCA_SaveReportDlg::FillDialog(const char* title, uint32_t format, uint32_t mode) {
    m_Title->setText(QString::fromUtf8(title != nullptr ? title : ""));
    const QSignalBlocker quiet(m_Format);
    SCA_ReportChoices::FillFormats(m_Format, format);
    SCA_ReportChoices::FillModes(m_Mode, mode);
    const QByteArray name = m_Name.toUtf8();
    m_Path->setText(QDir(QDir::homePath())
                        .filePath(SCA_ReportChoices::DefaultFileName(
                            name.constData(), SCA_ReportChoices::Selected(m_Format))));
    FormatChanged();
    return 1;
}

void SCA_SaveReportDlg::FormatChanged() {
    const uint32_t format = SCA_ReportChoices::Selected(m_Format);
    // The own formats hold the whole report: there is no mode to choose.
    m_Mode->setEnabled(format != SCA_TEZ_FORMAT_REPORT && format != SCA_TEZ_FORMAT_DATA);
    m_Path->setText(SCA_ReportChoices::WithExtension(m_Path->text().trimmed(), format));
}

QString SCA_SaveReportDlg::ChosenPath() const {
    return SCA_ReportChoices::WithExtension(m_Path->text().trimmed(),
                                            SCA_ReportChoices::Selected(m_Format));
}

void SCA_SaveReportDlg::Browse() {
    const tagSCA_TEZ_REPORT_FORMAT* format =
        SCA_TezGetReportFormat(SCA_ReportChoices::Selected(m_Format));
    const QString filter = format != nullptr ? QStringLiteral("%1 (*.%2)")
                                                   .arg(QString::fromUtf8(format->Name),
                                                        QString::fromLatin1(format->Extension))
                                             : QString();
    const QString chosen = SCA_GetSaveFileName(this, windowTitle(), ChosenPath(), filter);
    if (!chosen.isEmpty()) {
        m_Path->setText(
            SCA_ReportChoices::WithExtension(chosen, SCA_ReportChoices::Selected(m_Format)));
    }
}

void SCA_SaveReportDlg::accept() {
    const QString path = ChosenPath();
    if (m_Path->text().trimmed().isEmpty()) {
        SCA_ShowMessageBox(this, SCA_LEVEL_WARNING, QStringLiteral("Warning"),
                           QStringLiteral("Please, enter the file to save the report to."));
        return;
    }
    const QFileInfo file(path);
    if (!SCA_ReportChoices::CheckFolder(this, file.isRelative() ? path : file.absolutePath())) {
        return;
    }
    if (file.isDir()) {
        SCA_ShowMessageBox(this, SCA_LEVEL_WARNING, QStringLiteral("Warning"),
                           QStringLiteral("\"%1\" is a folder, not a file.").arg(path));
        return;
    }
    if (file.exists() &&
        SCA_AskMessageBox(this, SCA_LEVEL_WARNING, QStringLiteral("Warning"),
                          QStringLiteral("The file \"%1\" already exists. Replace it?").arg(path),
                          QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) {
        return;
    }
    m_Path->setText(path);
    QDialog::accept();
}

int SCA_SaveReportDlg::GetReportData(uint32_t* format, uint32_t* mode, char* title,
                                     uint32_t titleSize, char* path, uint32_t pathSize) const {
    const uint32_t chosen = SCA_ReportChoices::Selected(m_Format);
    const QByteArray file = ChosenPath().toUtf8();
    // A path cut short would name another file: one that does not fit is no choice.
    if (format == nullptr || !SCA_TezIsValidReportFormat(chosen) || file.isEmpty() ||
        path == nullptr || static_cast<uint32_t>(file.size()) >= pathSize) {
        return 0;
    }
    *format = chosen;
    if (mode != nullptr) {
        *mode = m_ChooseMode ? SCA_ReportChoices::Selected(m_Mode) : SCA_ALL_ONES;
    }
    if (title != nullptr && titleSize != 0) {
        SCA_StrnCpy(title, m_Title->text().toUtf8().constData(), titleSize);
    }
    SCA_StrnCpy(path, file.constData(), pathSize);
    return 1;
}
