// SPDX-License-Identifier: MIT
#include "libvop/SCA_MonReportDlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QScrollArea>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "libmor/SCA_Time.h"
#include "libvop/SCA_ChartFrame.h"
#include "libvop/SCA_ChartPalette.h"
#include "libvop/SCA_ErrorListDlg.h"
#include "libvop/SCA_IconEngine.h"
#include "libvop/SCA_ListView.h"
#include "libvop/SCA_RepStatusIcon.h"
#include "model/SCA_TezCounter.h"
#include "model/SCA_TezCounterMeta.h"
#include "model/SCA_TezErrorList.h"
#include "model/SCA_TezReport.h"

namespace {

enum Column {
    kIcon,
    kCounter,
    kInstance,
    kComputer,
    kStatus,
    kValues,
    kMinimum,
    kAverage,
    kMaximum,
    kLast,
    kColumns
};
constexpr int kWidths[kColumns] = {24, 200, 120, 80, 70, 60, 80, 80, 80, 80};

constexpr int kChartColumns = 2;
constexpr int kChartHeight = 190;
constexpr uint32_t kChartOptions = SCA_FRAME_TITLE | SCA_FRAME_SCALE | SCA_FRAME_STATISTICS;
constexpr uint32_t kTextSize = 256;
constexpr int kWidth = 980;
constexpr int kHeight = 700;
constexpr double kTitleScale = 1.4;

QString TimeText(uint64_t absTime) {
    char text[kTextSize] = "";
    return absTime != 0 && SCA_FormatAbsTime(absTime, text, sizeof(text)) ? QString::fromUtf8(text)
                                                                          : QStringLiteral("---");
}

QString DurationText(uint64_t duration) {
    char text[kTextSize] = "";
    SCA_FormatTime(duration, text, sizeof(text));
    return QString::fromUtf8(text);
}

QString CounterName(const SCA_TezCounter& counter) {
    return QString::fromUtf8(SCA_TezGetCounterDescr(counter.GetCounterType()));
}

// A list that shows all its rows: the document scrolls, not the list.
void FitToRows(QTreeWidget* view) {
    const int rows = view->topLevelItemCount();
    const int row = rows > 0 ? view->sizeHintForRow(0) : 0;
    view->setFixedHeight(view->header()->sizeHint().height() + rows * row + 2 * view->frameWidth() +
                         2);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    SCA_FitColumnsToContents(view);
}

QTreeWidgetItem* CounterRow(const SCA_TezCounter& counter) {
    auto* row = new QTreeWidgetItem;
    row->setIcon(kIcon, SCA_IconEngine::Load(
                            QString::fromLatin1(SCA_GetRepStatusIcon(counter.GetRepStatus()))));
    row->setText(kCounter, CounterName(counter));
    row->setText(kInstance,
                 SCA_ChartPalette::InstanceText(counter.GetCounterType(), counter.GetInstance()));
    row->setText(kComputer, counter.IsLocal() ? QStringLiteral("Local")
                                              : QString::fromUtf8(counter.GetComputerName()));
    row->setText(kStatus, QString::fromUtf8(counter.GetRepStatusString()));
    const uint32_t values = counter.GetValueCount();
    row->setText(kValues, QString::number(values));
    const uint32_t type = counter.GetCounterType();
    const auto statistic = [&](int column, double value) {
        // A counter without values has no statistics, never a 0.
        row->setText(column,
                     values > 0 ? SCA_ChartPalette::ValueText(type, value) : QStringLiteral("---"));
        row->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
    };
    statistic(kMinimum, counter.GetMinValue());
    statistic(kAverage, counter.GetAverageValue());
    statistic(kMaximum, counter.GetMaxValue());
    statistic(kLast, counter.GetLastValue());
    row->setTextAlignment(kValues, Qt::AlignRight | Qt::AlignVCenter);
    return row;
}

} // namespace

SCA_MonReportDlg::SCA_MonReportDlg(QWidget* parent, SCA_TezConfig* /*config*/,
                                   SCA_TezConfigUser* userConfig, SCA_ConfigObj* /*params*/,
                                   SCA_TezReport* report)
    : QDialog(parent), m_UserConfig(userConfig), m_Report(report), m_Page(new QWidget),
      m_PageLayout(new QVBoxLayout(m_Page)), m_Title(new QLabel(m_Page)), m_Header(new QGridLayout),
      m_Counters(new QTreeWidget(m_Page)), m_NoCounters(nullptr), m_ChartGrid(new QGridLayout),
      m_NoCharts(nullptr), m_Errors(new QTreeWidget(m_Page)), m_NoErrors(nullptr) {
    setWindowTitle(QStringLiteral("Monitoring Report"));
    setSizeGripEnabled(true);
    QFont titleFont = m_Title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * kTitleScale);
    m_Title->setFont(titleFont);
    m_Title->setTextFormat(Qt::PlainText);
    m_PageLayout->addWidget(m_Title);
    m_PageLayout->addLayout(m_Header);

    AddHeading(QStringLiteral("Counters"));
    SCA_SetupListView(m_Counters,
                      {QString(), QStringLiteral("Counter"), QStringLiteral("Instance"),
                       QStringLiteral("Computer"), QStringLiteral("Status"),
                       QStringLiteral("Values"), QStringLiteral("Minimum"),
                       QStringLiteral("Average"), QStringLiteral("Maximum"),
                       QStringLiteral("Last")},
                      kWidths);
    m_PageLayout->addWidget(m_Counters);
    m_NoCounters = AddEmptyNote(QStringLiteral("The report holds no counters."));

    AddHeading(QStringLiteral("Charts"));
    m_PageLayout->addLayout(m_ChartGrid);
    m_NoCharts = AddEmptyNote(QStringLiteral("Without counters there is nothing to chart."));

    AddHeading(QStringLiteral("Errors and Warnings"));
    SCA_ErrorListDlg::SetupErrorView(m_Errors);
    m_PageLayout->addWidget(m_Errors);
    m_NoErrors = AddEmptyNote(QStringLiteral("No errors or warnings were recorded."));
    m_PageLayout->addStretch(1);

    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setWidget(m_Page);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scroll, 1);
    layout->addWidget(buttons);
    resize(kWidth, kHeight);
}

QLabel* SCA_MonReportDlg::AddHeading(const QString& text) {
    auto* heading = new QLabel(text, m_Page);
    QFont font = heading->font();
    font.setBold(true);
    heading->setFont(font);
    heading->setContentsMargins(0, heading->fontMetrics().height() / 2, 0, 0);
    m_PageLayout->addWidget(heading);
    return heading;
}

QLabel* SCA_MonReportDlg::AddEmptyNote(const QString& text) {
    auto* note = new QLabel(text, m_Page);
    note->setEnabled(false); // greyed, as a hint
    note->setVisible(false);
    m_PageLayout->addWidget(note);
    return note;
}

int SCA_MonReportDlg::FillDialog() {
    if (m_Report == nullptr) {
        return 0;
    }
    const QString title = QString::fromStdString(m_Report->GetShownTitle());
    setWindowTitle(QStringLiteral("Monitoring Report - %1").arg(title));
    m_Title->setText(title);
    FillHeader();
    FillCounters();
    FillCharts();
    FillErrors();
    return 1;
}

void SCA_MonReportDlg::AddHeaderRow(const QString& label, const QString& value) {
    // Two columns of label and value pairs, filled row by row.
    const int index = m_Header->count() / 2;
    const int row = index / 2;
    const int column = (index % 2) * 2;
    auto* name = new QLabel(label + QLatin1Char(':'), m_Page);
    auto* text = new QLabel(value.isEmpty() ? QStringLiteral("---") : value, m_Page);
    text->setTextFormat(Qt::PlainText);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    text->setObjectName(label);
    m_Header->addWidget(name, row, column);
    m_Header->addWidget(text, row, column + 1);
    m_Header->setColumnStretch(column + 1, 1);
}

QString SCA_MonReportDlg::GetHeaderValue(const QString& label) const {
    const auto* value = m_Page->findChild<QLabel*>(label, Qt::FindDirectChildrenOnly);
    return value != nullptr ? value->text() : QString();
}

void SCA_MonReportDlg::FillHeader() {
    while (QLayoutItem* item = m_Header->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    SCA_TezReport& report = *m_Report;
    AddHeaderRow(QStringLiteral("Monitor Profile"), QString::fromUtf8(report.GetProfileName()));
    AddHeaderRow(QStringLiteral("Description"), QString::fromUtf8(report.GetDescription()));
    AddHeaderRow(QStringLiteral("Host Name"), QString::fromUtf8(report.GetHostName()));
    AddHeaderRow(QStringLiteral("User"), QString::fromUtf8(report.GetUserName()));
    AddHeaderRow(QStringLiteral("Start Time"), TimeText(report.GetStartTime()));
    AddHeaderRow(QStringLiteral("Duration"), DurationText(report.GetProcessTime()));
    AddHeaderRow(QStringLiteral("Report Time"), TimeText(report.GetReportTime()));
    AddHeaderRow(QStringLiteral("Counters"), QString::number(report.GetCounterList()->Count()));
    AddHeaderRow(QStringLiteral("Counters in Error"), QString::number(report.GetErrors()));
    AddHeaderRow(QStringLiteral("Counters in Warning"), QString::number(report.GetWarnings()));
    AddHeaderRow(QStringLiteral("Errors Recorded"),
                 QString::number(report.GetErrorList()->Count()));
    AddHeaderRow(QStringLiteral("Values"), QString::number(report.GetTotalValueCount()));
}

void SCA_MonReportDlg::FillCounters() {
    m_Counters->clear();
    for (auto* node = m_Report->GetCounterList()->GetHead(); node != nullptr;
         node = node->GetNext()) {
        if (node->GetItem() != nullptr) {
            m_Counters->addTopLevelItem(CounterRow(*node->GetItem()));
        }
    }
    const bool empty = m_Counters->topLevelItemCount() == 0;
    m_Counters->setVisible(!empty);
    m_NoCounters->setVisible(empty);
    FitToRows(m_Counters);
}

void SCA_MonReportDlg::FillCharts() {
    for (SCA_ChartFrame* chart : m_Charts) {
        delete chart;
    }
    m_Charts.clear();
    for (auto* node = m_Report->GetCounterList()->GetHead(); node != nullptr;
         node = node->GetNext()) {
        const SCA_TezCounter* counter = node->GetItem();
        if (counter == nullptr) {
            continue;
        }
        auto* chart = new SCA_ChartFrame(m_Page, m_UserConfig, SCA_FRAME_AUTO_RANGE, kChartOptions);
        chart->SetViewMode(SCA_CHART_VIEW_RUN);
        QString title = CounterName(*counter);
        if (counter->GetInstance()[0] != '\0') {
            title += QStringLiteral(" - ") + QString::fromUtf8(counter->GetInstance());
        }
        chart->SetTitle(counter->GetRepStatus(), title);
        chart->Update(nullptr, counter);
        chart->setMinimumHeight(kChartHeight);
        const int index = static_cast<int>(m_Charts.size());
        m_ChartGrid->addWidget(chart, index / kChartColumns, index % kChartColumns);
        m_Charts.push_back(chart);
    }
    m_NoCharts->setVisible(m_Charts.empty());
}

void SCA_MonReportDlg::FillErrors() {
    m_Errors->clear();
    for (auto* node = m_Report->GetErrorList()->GetHead(); node != nullptr;
         node = node->GetNext()) {
        if (node->GetItem() != nullptr) {
            m_Errors->addTopLevelItem(SCA_ErrorListDlg::NewErrorRow(*node->GetItem()));
        }
    }
    const bool empty = m_Errors->topLevelItemCount() == 0;
    m_Errors->setVisible(!empty);
    m_NoErrors->setVisible(empty);
    FitToRows(m_Errors);
}
