// SPDX-License-Identifier: MIT
#include "libvop/SCA_SaveReportsDlg.h"

#include <QComboBox>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

#include "libmor/SCA_Limits.h"
#include "libmor/SCA_String.h"
#include "libvop/SCA_ModalHook.h"
#include "libvop/SCA_ReportChoices.h"
#include "model/SCA_TezReportFormat.h"

namespace {

constexpr int kMinWidth = 480;
constexpr int kPathLength = 4095;

} // namespace

SCA_SaveReportsDlg::SCA_SaveReportsDlg(QWidget* parent, SCA_TezConfig* /*config*/,
                                       SCA_TezConfigUser* /*userConfig*/, SCA_ConfigObj* /*params*/,
                                       const char* caption, int chooseFormat, int modeLocked)
    : QDialog(parent), m_ChooseFormat(chooseFormat != 0), m_ModeLocked(modeLocked != 0),
      m_FormatLabel(new QLabel(QStringLiteral("Report Format:"), this)),
      m_Format(new QComboBox(this)), m_Mode(new QComboBox(this)), m_Folder(new QLineEdit(this)) {
    setWindowTitle(QString::fromUtf8(caption != nullptr ? caption : ""));
    m_Folder->setMaxLength(kPathLength);
    SCA_ReportChoices::FillFormats(m_Format, SCA_TEZ_FORMAT_HTML);
    SCA_ReportChoices::FillModes(m_Mode, SCA_TEZ_REPORT_MODE_SUMMARY);
    m_Mode->setEnabled(!m_ModeLocked);
    connect(m_Format, &QComboBox::currentIndexChanged, this, &SCA_SaveReportsDlg::FormatChanged);

    QHBoxLayout* folder = SCA_ReportChoices::BrowseRow(
        this, m_Folder, QStringLiteral("Choose the folder"), [this] { Browse(); });

    auto* form = new QFormLayout;
    form->addRow(m_FormatLabel, m_Format);
    form->addRow(QStringLiteral("Report Mode:"), m_Mode);
    form->addRow(QStringLiteral("Folder:"), folder);
    SCA_ReportChoices::LayOut(this, form, kMinWidth);
}

int SCA_SaveReportsDlg::FillDialog(uint32_t format, uint32_t mode) {
    m_GivenFormat = format;
    {
        const QSignalBlocker quiet(m_Format);
        SCA_ReportChoices::FillFormats(m_Format, format);
    }
    SCA_ReportChoices::FillModes(m_Mode, mode);
    m_FormatLabel->setVisible(AsksFormat());
    m_Format->setVisible(AsksFormat());
    m_Folder->setText(QDir::homePath());
    FormatChanged();
    return 1;
}

void SCA_SaveReportsDlg::FormatChanged() {
    const uint32_t format = AsksFormat() ? SCA_ReportChoices::Selected(m_Format) : m_GivenFormat;
    m_Mode->setEnabled(!m_ModeLocked && format != SCA_TEZ_FORMAT_REPORT &&
                       format != SCA_TEZ_FORMAT_DATA);
}

void SCA_SaveReportsDlg::Browse() {
    const QString chosen =
        SCA_GetExistingDirectory(this, windowTitle(), m_Folder->text().trimmed());
    if (!chosen.isEmpty()) {
        m_Folder->setText(chosen);
    }
}

void SCA_SaveReportsDlg::accept() {
    if (SCA_ReportChoices::CheckFolder(this, m_Folder->text().trimmed())) {
        QDialog::accept();
    }
}

int SCA_SaveReportsDlg::GetReportData(uint32_t* format, uint32_t* mode, char* folder,
                                      uint32_t folderSize) const {
    const QByteArray chosen = QDir::cleanPath(m_Folder->text().trimmed()).toUtf8();
    if (format == nullptr || mode == nullptr || folder == nullptr || chosen.isEmpty() ||
        static_cast<uint32_t>(chosen.size()) >= folderSize) {
        return 0;
    }
    *format = AsksFormat() ? SCA_ReportChoices::Selected(m_Format) : m_GivenFormat;
    *mode = SCA_ReportChoices::Selected(m_Mode);
    SCA_StrnCpy(folder, chosen.constData(), folderSize);
    return 1;
}
