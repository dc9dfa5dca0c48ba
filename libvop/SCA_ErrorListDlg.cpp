// SPDX-License-Identifier: MIT
#include "libvop/SCA_ErrorListDlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "libmor/SCA_Time.h"
#include "libvop/SCA_ChartPalette.h"
#include "libvop/SCA_IconEngine.h"
#include "libvop/SCA_ListView.h"
#include "libvop/SCA_RepStatusIcon.h"
#include "model/SCA_TezCounterMeta.h"
#include "model/SCA_TezErrorList.h"
#include "model/SCA_TezRepStatus.h"

namespace {

enum Column { kIcon, kTime, kStatus, kCounter, kInstance, kComputer, kValue, kText, kColumns };

// The description takes what is left.
constexpr int kWidths[kColumns] = {24, 140, 66, 150, 90, 76, 70, 280};
constexpr uint32_t kTimeSize = 64;
constexpr int kWidth = 960;
constexpr int kHeight = 420;

QString Counted(uint32_t count, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(count).arg(QLatin1String(count == 1 ? one : many));
}

} // namespace

QTreeWidgetItem* SCA_ErrorListDlg::NewErrorRow(const SCA_TezError& error) {
    auto* row = new QTreeWidgetItem;
    row->setIcon(kIcon, SCA_IconEngine::Load(
                            QString::fromLatin1(SCA_GetRepStatusIcon(error.GetRepStatus()))));
    char time[kTimeSize] = "";
    SCA_FormatAbsTime(error.GetAbsTime(), time, sizeof(time));
    row->setText(kTime, QString::fromUtf8(time));
    row->setText(kStatus, QString::fromUtf8(error.GetRepStatusDescr()));
    row->setText(kCounter, QString::fromUtf8(SCA_TezGetCounterDescr(error.GetCounterType())));
    row->setText(kInstance,
                 SCA_ChartPalette::InstanceText(error.GetCounterType(), error.GetInstance()));
    row->setText(kComputer, error.GetComputerName()[0] != '\0'
                                ? QString::fromUtf8(error.GetComputerName())
                                : QStringLiteral("Local"));
    row->setText(kValue,
                 SCA_ChartPalette::ValueText(error.GetCounterType(), error.GetCounterValue()));
    row->setText(kText, QString::fromUtf8(error.GetDescription()));
    return row;
}

void SCA_ErrorListDlg::SetupErrorView(QTreeWidget* view) {
    SCA_SetupListView(view,
                      {QString(), QStringLiteral("Time"), QStringLiteral("Status"),
                       QStringLiteral("Counter"), QStringLiteral("Instance"),
                       QStringLiteral("Computer"), QStringLiteral("Value"),
                       QStringLiteral("Description")},
                      kWidths);
}

SCA_ErrorListDlg::SCA_ErrorListDlg(QWidget* parent, SCA_TezErrorList* errors, const char* title,
                                   const char* description)
    : QDialog(parent), m_Errors(errors),
      m_Description(QString::fromUtf8(description != nullptr ? description : "")),
      m_View(new QTreeWidget(this)), m_Summary(new QLabel(this)) {
    const QString given = QString::fromUtf8(title != nullptr ? title : "");
    setWindowTitle(!given.isEmpty() ? given : QStringLiteral("%1 Errors").arg(m_Description));
    setSizeGripEnabled(true);
    SetupErrorView(m_View);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_Summary);
    layout->addWidget(m_View, 1);
    layout->addWidget(buttons);
    resize(kWidth, kHeight);
}

int SCA_ErrorListDlg::FillDialog() {
    m_View->clear();
    if (m_Errors == nullptr) {
        return 0;
    }
    uint32_t errors = 0;
    uint32_t warnings = 0;
    for (auto* node = m_Errors->GetHead(); node != nullptr; node = node->GetNext()) {
        const SCA_TezError* error = node->GetItem();
        if (error == nullptr) {
            continue;
        }
        m_View->addTopLevelItem(NewErrorRow(*error));
        errors += error->GetRepStatus() == SCA_REP_STATUS_ERROR ? 1 : 0;
        warnings += error->GetRepStatus() == SCA_REP_STATUS_WARNING ? 1 : 0;
    }
    SCA_FitColumnsToContents(m_View);
    // The list holds every error and warning the monitors recorded, one row each; the counts
    // beside the monitors elsewhere are counters in error or warning now, a smaller number the
    // user would otherwise take for the same thing.
    m_Summary->setText(
        m_View->topLevelItemCount() == 0
            ? QStringLiteral("%1: no errors or warnings were recorded.").arg(m_Description)
            : QStringLiteral("%1: %2 and %3 recorded, one row each. %4")
                  .arg(m_Description, Counted(errors, "error", "errors"),
                       Counted(warnings, "warning", "warnings"),
                       QLatin1String(SCA_ERROR_COUNTS_TEXT)));
    return 1;
}
