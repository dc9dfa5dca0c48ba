// SPDX-License-Identifier: MIT
#include "libvop/SCA_DeltaReportDlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "libmor/SCA_Time.h"
#include "libvop/SCA_ChartPalette.h"
#include "libvop/SCA_IconEngine.h"
#include "libvop/SCA_ListView.h"
#include "libvop/SCA_RepStatusIcon.h"
#include "model/SCA_TezCounterMeta.h"
#include "model/SCA_TezDeltaReport.h"
#include "model/SCA_TezRepStatus.h"

namespace {

enum Column { kIcon, kCounter, kInstance, kFirst, kSecond, kChange, kRelative, kResult, kColumns };
constexpr int kWidths[kColumns] = {24, 220, 130, 100, 100, 100, 80, 170};
constexpr uint32_t kTextSize = 256;
constexpr int kWidth = 960;
constexpr int kHeight = 560;

struct HeaderRow {
    const char* Label;
    QString (*Value)(const SCA_TezReportInfo& info);
};

QString Time(uint64_t absTime) {
    char text[kTextSize] = "";
    return absTime != 0 && SCA_FormatAbsTime(absTime, text, sizeof(text)) ? QString::fromUtf8(text)
                                                                          : QStringLiteral("---");
}

const HeaderRow kHeaderRows[] = {
    {"Title", [](const SCA_TezReportInfo& i) { return QString::fromStdString(i.GetShownTitle()); }},
    {"Monitor Profile",
     [](const SCA_TezReportInfo& i) { return QString::fromUtf8(i.GetProfileName()); }},
    {"Host Name", [](const SCA_TezReportInfo& i) { return QString::fromUtf8(i.GetHostName()); }},
    {"Start Time", [](const SCA_TezReportInfo& i) { return Time(i.GetStartTime()); }},
    {"Duration",
     [](const SCA_TezReportInfo& i) {
         char text[kTextSize] = "";
         SCA_FormatTime(i.GetProcessTime(), text, sizeof(text));
         return QString::fromUtf8(text);
     }},
    {"Counters", [](const SCA_TezReportInfo& i) { return QString::number(i.GetNumOfCounters()); }},
    {"Errors", [](const SCA_TezReportInfo& i) { return QString::number(i.GetNumOfErrors()); }},
};

QString Average(uint32_t type, const tagSCA_DELTA_COUNTER_DATA& data) {
    return data.ValueCount > 0 ? SCA_ChartPalette::ValueText(type, data.Average)
                               : QStringLiteral("---");
}

QString Plural(uint32_t count, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(count).arg(QString::fromUtf8(count == 1 ? one : many));
}

} // namespace

SCA_DeltaReportDlg::SCA_DeltaReportDlg(QWidget* parent, SCA_TezConfig* /*config*/,
                                       SCA_TezConfigUser* /*userConfig*/, SCA_TezDeltaReport* delta)
    : QDialog(parent), m_Delta(delta), m_Header(new QGridLayout), m_Summary(new QLabel(this)),
      m_View(new QTreeWidget(this)),
      m_Empty(new QLabel(QStringLiteral("The reports have no counters to compare."), this)) {
    setWindowTitle(QStringLiteral("Monitoring Reports Comparison"));
    setSizeGripEnabled(true);
    m_Summary->setTextFormat(Qt::PlainText);
    m_Summary->setWordWrap(true);
    SCA_SetupListView(m_View,
                      {QString(), QStringLiteral("Counter"), QStringLiteral("Instance"),
                       QStringLiteral("First Report"), QStringLiteral("Second Report"),
                       QStringLiteral("Change"), QStringLiteral("Change %"),
                       QStringLiteral("Result")},
                      kWidths);
    m_Empty->setEnabled(false);
    m_Empty->setVisible(false);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(m_Header);
    layout->addWidget(m_Summary);
    layout->addWidget(m_View, 1);
    layout->addWidget(m_Empty, 1, Qt::AlignCenter);
    layout->addWidget(buttons);
    resize(kWidth, kHeight);
}

QString SCA_DeltaReportDlg::ResultText(uint32_t deltaIcon, uint32_t repStatus) {
    switch (deltaIcon) {
    case SCA_TEZ_DELTA_FIRST_ONLY:
        return QStringLiteral("Only in the first report");
    case SCA_TEZ_DELTA_SECOND_ONLY:
        return QStringLiteral("Only in the second report");
    case SCA_TEZ_DELTA_NO_VALUES:
        return QStringLiteral("No values to compare");
    default:
        break;
    }
    switch (repStatus) {
    case SCA_REP_STATUS_ERROR:
        return QStringLiteral("Major change");
    case SCA_REP_STATUS_WARNING:
        return QStringLiteral("Minor change");
    default:
        return deltaIcon == SCA_TEZ_DELTA_SAME ? QStringLiteral("No change")
                                               : QStringLiteral("Small change");
    }
}

int SCA_DeltaReportDlg::FillDialog() {
    if (m_Delta == nullptr) {
        return 0;
    }
    if (m_Delta->GetReportTitle()[0] != '\0') {
        setWindowTitle(QString::fromUtf8(m_Delta->GetReportTitle()));
    }
    FillHeader();
    FillCounters();
    return 1;
}

void SCA_DeltaReportDlg::FillHeader() {
    while (QLayoutItem* item = m_Header->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    m_Header->addWidget(new QLabel(QStringLiteral("<b>First Report</b>"), this), 0, 1);
    m_Header->addWidget(new QLabel(QStringLiteral("<b>Second Report</b>"), this), 0, 2);
    const SCA_TezReportInfo* infos[] = {m_Delta->GetReportInfo1(), m_Delta->GetReportInfo2()};
    int row = 1;
    for (const HeaderRow& entry : kHeaderRows) {
        const QString label = QString::fromUtf8(entry.Label);
        m_Header->addWidget(new QLabel(label + QLatin1Char(':'), this), row, 0);
        for (int report = 0; report < 2; ++report) {
            const QString text = entry.Value(*infos[report]);
            auto* value = new QLabel(text.isEmpty() ? QStringLiteral("---") : text, this);
            value->setTextFormat(Qt::PlainText);
            value->setTextInteractionFlags(Qt::TextSelectableByMouse);
            value->setObjectName(QStringLiteral("%1 %2").arg(label).arg(report + 1));
            m_Header->addWidget(value, row, report + 1);
        }
        ++row;
    }
    m_Header->setColumnStretch(1, 1);
    m_Header->setColumnStretch(2, 1);
}

QString SCA_DeltaReportDlg::GetHeaderValue(const QString& label, int report) const {
    const auto* value = findChild<QLabel*>(QStringLiteral("%1 %2").arg(label).arg(report));
    return value != nullptr ? value->text() : QString();
}

void SCA_DeltaReportDlg::FillCounters() {
    m_View->clear();
    uint32_t compared = 0;
    for (auto* node = m_Delta->GetHead(); node != nullptr; node = node->GetNext()) {
        const SCA_TezDeltaCounter* counter = node->GetItem();
        if (counter == nullptr) {
            continue;
        }
        auto* row = new QTreeWidgetItem;
        const uint32_t type = counter->GetCounterType();
        row->setIcon(kIcon, SCA_IconEngine::Load(QString::fromLatin1(
                                SCA_GetRepStatusIcon(counter->GetRepStatus()))));
        row->setText(kCounter, QString::fromUtf8(SCA_TezGetCounterDescr(type)));
        row->setText(kInstance, SCA_ChartPalette::InstanceText(type, counter->GetInstance()));
        row->setText(kFirst, Average(type, *counter->GetCounterData1()));
        row->setText(kSecond, Average(type, *counter->GetCounterData2()));
        row->setText(kChange, QString::fromUtf8(counter->GetValueDeltaString()));
        row->setText(kRelative, QString::fromUtf8(counter->GetRelDeltaString()));
        row->setText(kResult, ResultText(counter->GetDeltaIcon(), counter->GetRepStatus()));
        for (int column : {kFirst, kSecond, kChange, kRelative}) {
            row->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
        }
        m_View->addTopLevelItem(row);
        const uint32_t icon = counter->GetDeltaIcon();
        compared +=
            icon == SCA_TEZ_DELTA_SAME || icon == SCA_TEZ_DELTA_UP || icon == SCA_TEZ_DELTA_DOWN
                ? 1
                : 0;
    }
    SCA_FitColumnsToContents(m_View);
    const bool empty = m_View->topLevelItemCount() == 0;
    m_View->setVisible(!empty);
    m_Empty->setVisible(empty);
    m_Summary->setText(
        QStringLiteral("%1 compared: %2 (a change of %3% or more), %4 (%5% or more).")
            .arg(Plural(compared, "counter", "counters"),
                 Plural(m_Delta->GetMajorChanges(), "major change", "major changes"))
            .arg(m_Delta->GetMajorThreshold())
            .arg(Plural(m_Delta->GetMinorChanges(), "minor change", "minor changes"))
            .arg(m_Delta->GetMinorThreshold()));
}
