// SPDX-License-Identifier: MIT
#include "libvop/SCA_ChartDlg.h"

#include <QBoxLayout>
#include <QDialogButtonBox>
#include <QListWidget>
#include <QPainter>
#include <QSplitter>
#include <algorithm>
#include <cmath>

#include "libvop/SCA_ChartPalette.h"
#include "libvop/SCA_IconEngine.h"
#include "model/SCA_TezCounter.h"
#include "model/SCA_TezCounterMeta.h"
#include "model/SCA_TezProcess.h"
#include "model/SCA_TezProcessList.h"

namespace {

constexpr int kWidth = 900;
constexpr int kHeight = 560;
constexpr int kListWidth = 230;
constexpr double kMargin = 8.0;
constexpr double kNameWidth = 170.0;
constexpr double kValueWidth = 90.0;
constexpr double kBarGap = 3.0;
constexpr uint32_t kTextSize = 256;
constexpr int kInformation = 3;

QString ValueText(uint32_t counterType, double value) {
    char text[kTextSize] = "";
    SCA_TezBuildValueString(counterType, value, text, sizeof(text), 0);
    return QString::fromUtf8(text);
}

// The newest value of counterType of a process; false when it has none.
bool ValueOf(SCA_TezProcess* process, uint32_t counterType, double* value) {
    for (auto* node = process->GetDataCounters()->GetHead(); node != nullptr;
         node = node->GetNext()) {
        const SCA_TezCounter* counter = node->GetItem();
        if (counter != nullptr && counter->GetCounterType() == counterType &&
            counter->GetValueCount() > 0 && std::isfinite(counter->GetLastValue())) {
            *value = counter->GetLastValue();
            return true;
        }
    }
    return false;
}

// Paints one chart: a bar per process, names on the left, values on the right.
class BarPlot : public QWidget {
public:
    BarPlot(QWidget* parent, SCA_TezConfigUser* userConfig)
        : QWidget(parent), m_Palette(userConfig) {
        setMinimumSize(400, 300);
    }
    void SetChart(const SCA_ChartDlg::Chart* chart) {
        m_Chart = chart;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing, false);
        const QRectF area(rect());
        m_Palette.PaintFrame(&painter, area);
        if (m_Chart == nullptr) {
            return;
        }
        const double top =
            m_Palette.PaintTitle(&painter, area, area.width(), kInformation, m_Chart->Title);
        painter.setPen(m_Palette.Text);
        const QRectF plot = area.adjusted(kMargin, top + kMargin, -kMargin, -kMargin);
        if (m_Chart->Bars.empty()) {
            painter.drawText(
                plot, Qt::AlignCenter,
                QStringLiteral("No process has a value of %1.").arg(m_Chart->ShortName));
            return;
        }
        const size_t count = m_Chart->Bars.size();
        const double rowHeight = std::min(24.0, plot.height() / static_cast<double>(count));
        const double barLeft = plot.left() + kNameWidth;
        const double barWidth = std::max(0.0, plot.width() - kNameWidth - kValueWidth);
        const double biggest = std::max(m_Chart->Bars.front().Value, 0.0);
        for (size_t index = 0; index < count; ++index) {
            const SCA_ChartDlg::Bar& bar = m_Chart->Bars[index];
            const double y = plot.top() + rowHeight * static_cast<double>(index);
            const QRectF nameCell(plot.left(), y, kNameWidth - kMargin, rowHeight);
            painter.setPen(m_Palette.Text);
            painter.drawText(nameCell, Qt::AlignVCenter | Qt::AlignLeft,
                             painter.fontMetrics().elidedText(bar.Name, Qt::ElideRight,
                                                              static_cast<int>(nameCell.width())));
            const double share = biggest > 0.0 ? std::max(bar.Value, 0.0) / biggest : 0.0;
            const QRectF fill(barLeft, y + kBarGap, barWidth * share, rowHeight - 2 * kBarGap);
            painter.fillRect(fill, m_Palette.Fill);
            painter.setPen(m_Palette.Line);
            painter.drawRect(fill);
            painter.setPen(m_Palette.Text);
            painter.drawText(QRectF(barLeft + barWidth + kMargin, y, kValueWidth, rowHeight),
                             Qt::AlignVCenter | Qt::AlignLeft,
                             ValueText(m_Chart->CounterType, bar.Value));
        }
    }

private:
    SCA_ChartPalette m_Palette;
    const SCA_ChartDlg::Chart* m_Chart = nullptr;
};

} // namespace

SCA_ChartDlg::SCA_ChartDlg(QWidget* parent, SCA_TezConfigUser* userConfig, uint32_t mode)
    : QDialog(parent), m_UserConfig(userConfig), m_Mode(mode) {
    setModal(true);
    setWindowTitle(QStringLiteral("Process Charts"));
    setWindowIcon(SCA_IconEngine::Load(QStringLiteral(":/images/chart_32px.png")));
    auto* layout = new QVBoxLayout(this);
    auto* splitter = new QSplitter(Qt::Horizontal, this);
    m_ChartList = new QListWidget(splitter);
    m_ChartList->setMinimumWidth(kListWidth);
    m_Plot = new BarPlot(splitter, m_UserConfig);
    splitter->setStretchFactor(1, 1);
    layout->addWidget(splitter, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_ChartList, &QListWidget::currentRowChanged, this, &SCA_ChartDlg::ShowChart);
    resize(kWidth, kHeight);
}

void SCA_ChartDlg::AddChart(SCA_TezProcessList* list, const char* title, uint32_t counterType,
                            uint32_t unitCode, const char* shortName) {
    Chart chart;
    chart.Title = QString::fromUtf8(title != nullptr ? title : "");
    chart.CounterType = counterType;
    chart.UnitCode = unitCode;
    chart.ShortName = QString::fromUtf8(shortName != nullptr ? shortName : "");
    for (auto* node = list->GetHead(); node != nullptr; node = node->GetNext()) {
        SCA_TezProcess* process = node->GetItem();
        double value = 0.0;
        if (process != nullptr && ValueOf(process, counterType, &value)) {
            chart.Bars.push_back({QString::fromUtf8(process->GetProcessName()), value});
        }
    }
    std::stable_sort(chart.Bars.begin(), chart.Bars.end(),
                     [](const Bar& left, const Bar& right) { return left.Value > right.Value; });
    if (chart.Bars.size() > kMaxBars) {
        chart.Bars.resize(kMaxBars);
    }
    m_Charts.push_back(std::move(chart));
}

int SCA_ChartDlg::FillDialog() {
    m_ChartList->clear();
    if (m_Charts.empty()) {
        return 0;
    }
    for (const Chart& chart : m_Charts) {
        m_ChartList->addItem(new QListWidgetItem(
            SCA_IconEngine::Load(QString::fromLatin1(SCA_TezGetCounterIcon(chart.CounterType))),
            chart.Title));
    }
    m_ChartList->setCurrentRow(0);
    return 1;
}

void SCA_ChartDlg::ShowChart(int index) {
    if (index < 0 || static_cast<size_t>(index) >= m_Charts.size()) {
        return;
    }
    m_Shown = index;
    static_cast<BarPlot*>(m_Plot)->SetChart(&m_Charts[static_cast<size_t>(index)]);
}
