// SPDX-License-Identifier: MIT
// A report shown as a document and the comparison of two reports, filled offscreen: what each
// section says, and the pixels of a chart that spans the whole run.
#include <QImage>
#include <QLabel>
#include <QTreeWidget>
#include <cmath>
#include <gtest/gtest.h>

#include "libvop/SCA_ChartFrame.h"
#include "libvop/SCA_DeltaReportDlg.h"
#include "libvop/SCA_MonReportDlg.h"
#include "model/SCA_TezConfigUser.h"
#include "model/SCA_TezCounterMeta.h"
#include "model/SCA_TezDeltaReport.h"
#include "tests/model/ReportFixtures.h"

namespace {

using korvanta_test::AddFixtureCounter;
using korvanta_test::kFixtureCpu;
using korvanta_test::kFixtureMemory;

constexpr uint32_t kLine = 0xE00000;
constexpr uint32_t kBackground = 0xFFFFF0;
constexpr uint32_t kRunSeconds = 1200; // twice the longest span of a live chart
constexpr QSize kChartSize(480, 240);

bool Near(QRgb pixel, uint32_t colour) {
    constexpr int kTolerance = 40;
    return std::abs(qRed(pixel) - static_cast<int>((colour >> 16) & 0xFF)) <= kTolerance &&
           std::abs(qGreen(pixel) - static_cast<int>((colour >> 8) & 0xFF)) <= kTolerance &&
           std::abs(qBlue(pixel) - static_cast<int>(colour & 0xFF)) <= kTolerance;
}

// The height of the line's pixels in a column of the plot (the mean of the rows that have the
// line's colour); -1 when the column has none.
double LineHeightAt(const QImage& image, int x, const QRectF& plot) {
    double sum = 0;
    int count = 0;
    for (int y = static_cast<int>(plot.top()); y < static_cast<int>(plot.bottom()); ++y) {
        if (Near(image.pixel(x, y), kLine)) {
            sum += y;
            ++count;
        }
    }
    return count > 0 ? sum / count : -1;
}

// A run of twenty minutes: the CPU climbs from 0 to 100 % over it, the memory counter never got a
// value; one error and one warning.
void FillRun(SCA_TezReport* report) {
    korvanta_test::SetReportHeader(report, "Nightly run", "Web Servers", "web-1", 3,
                                   korvanta_test::kFixtureStart, kRunSeconds);
    auto* cpu = new SCA_TezCounter();
    cpu->SetCounterId(1);
    cpu->SetCounterType(kFixtureCpu);
    cpu->SetInstance("0");
    cpu->SetRepStatus(5);
    auto* store = new SCA_TezSampleStore(kRunSeconds + 1);
    for (uint32_t second = 0; second <= kRunSeconds; ++second) {
        store->AddSample(report->GetStartTime() + second * SCA_ABS_TIME_SECOND,
                         100.0 * second / kRunSeconds, true);
    }
    cpu->SetCounterData(store);
    report->AddCounter(cpu);
    AddFixtureCounter(report, kFixtureMemory, "", {});
    korvanta_test::AddFixtureError(report, 5, kFixtureCpu, 99.5, "CPU above 90 %");
    korvanta_test::AddFixtureError(report, 4, kFixtureCpu, 75.0, "CPU above 70 %");
}

TEST(ReportDialogs, AReportReadsAsADocumentWithTheWholeRunCharted) {
    SCA_TezConfigUser user(nullptr);
    user.SetChartLineColor(kLine);
    user.SetChartBackgroundColor(kBackground);
    SCA_TezReport report;
    FillRun(&report);
    SCA_MonReportDlg dialog(nullptr, nullptr, &user, nullptr, &report);
    ASSERT_EQ(dialog.FillDialog(), 1);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Monitoring Report - Nightly run"));
    EXPECT_EQ(dialog.GetTitleLabel()->text(), QStringLiteral("Nightly run"));
    EXPECT_EQ(dialog.GetHeaderValue(QStringLiteral("Monitor Profile")),
              QStringLiteral("Web Servers"));
    EXPECT_EQ(dialog.GetHeaderValue(QStringLiteral("Host Name")), QStringLiteral("web-1"));
    EXPECT_EQ(dialog.GetHeaderValue(QStringLiteral("Description")), QStringLiteral("Web Servers"));
    EXPECT_EQ(dialog.GetHeaderValue(QStringLiteral("Duration")), QStringLiteral("00:20:00"));
    EXPECT_EQ(dialog.GetHeaderValue(QStringLiteral("Counters in Error")), QStringLiteral("1"));
    EXPECT_EQ(dialog.GetHeaderValue(QStringLiteral("Errors Recorded")), QStringLiteral("2"));
    EXPECT_EQ(dialog.GetHeaderValue(QStringLiteral("Values")), QStringLiteral("1201"));

    QTreeWidget* counters = dialog.GetCounterView();
    ASSERT_EQ(counters->topLevelItemCount(), 2);
    const QTreeWidgetItem* cpu = counters->topLevelItem(0);
    EXPECT_EQ(cpu->text(1), QStringLiteral("CPU Usage"));
    EXPECT_EQ(cpu->text(5), QStringLiteral("1201"));
    EXPECT_TRUE(cpu->text(6).startsWith(QLatin1Char('0'))) << cpu->text(6).toStdString();
    EXPECT_TRUE(cpu->text(7).startsWith(QStringLiteral("50"))) << cpu->text(7).toStdString();
    EXPECT_TRUE(cpu->text(8).startsWith(QStringLiteral("100"))) << cpu->text(8).toStdString();
    // A counter without values has no statistics rather than zeros.
    const QTreeWidgetItem* memory = counters->topLevelItem(1);
    EXPECT_EQ(memory->text(5), QStringLiteral("0"));
    for (int column = 6; column <= 9; ++column) {
        EXPECT_EQ(memory->text(column), QStringLiteral("---"));
    }
    ASSERT_EQ(dialog.GetErrorView()->topLevelItemCount(), 2);
    EXPECT_EQ(dialog.GetErrorView()->topLevelItem(0)->text(7), QStringLiteral("CPU above 90 %"));
    EXPECT_FALSE(dialog.GetErrorView()->isHidden());

    // The chart spans the whole run: the climb starts at the bottom of the left edge and ends
    // at the top of the right one (a live chart would show only the last minutes, high up).
    ASSERT_EQ(dialog.GetCharts().size(), 2u);
    SCA_ChartFrame* chart = dialog.GetCharts()[0];
    EXPECT_EQ(chart->GetViewMode(), SCA_CHART_VIEW_RUN);
    EXPECT_EQ(chart->GetTitle(), QStringLiteral("CPU Usage - 0"));
    chart->resize(kChartSize);
    QImage image(chart->size(), QImage::Format_ARGB32);
    image.fill(Qt::magenta);
    chart->render(&image);
    const QRectF plot = chart->GetPlotRect();
    const double left =
        LineHeightAt(image, static_cast<int>(plot.left() + plot.width() * 0.05), plot);
    const double middle = LineHeightAt(image, static_cast<int>(plot.center().x()), plot);
    const double right =
        LineHeightAt(image, static_cast<int>(plot.right() - plot.width() * 0.05), plot);
    ASSERT_GE(left, 0);
    ASSERT_GE(middle, 0);
    ASSERT_GE(right, 0);
    EXPECT_GT(left, plot.top() + plot.height() * 0.8);
    EXPECT_NEAR(middle, plot.center().y(), plot.height() * 0.1);
    EXPECT_LT(right, plot.top() + plot.height() * 0.2);
}

TEST(ReportDialogs, AnEmptyReportSaysSoInEverySection) {
    SCA_TezReport report;
    SCA_MonReportDlg dialog(nullptr, nullptr, nullptr, nullptr, &report);
    ASSERT_EQ(dialog.FillDialog(), 1);
    EXPECT_TRUE(dialog.GetCounterView()->isHidden());
    EXPECT_TRUE(dialog.GetErrorView()->isHidden());
    EXPECT_TRUE(dialog.GetCharts().empty());
    EXPECT_EQ(dialog.GetHeaderValue(QStringLiteral("Host Name")), QStringLiteral("---"));
    int notes = 0;
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        notes += !label->isHidden() && !label->isEnabled() ? 1 : 0;
    }
    EXPECT_EQ(notes, 3);
    SCA_MonReportDlg none(nullptr, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(none.FillDialog(), 0);
}

// Every value whole in its column: the columns grow to their widest text, and a report without
// a title or instances reads as the live window showed its monitor.
TEST(ReportDialogs, NoValueIsCutAndCountersReadAsTheLiveWindowShowedThem) {
    uint32_t bytes = 0;
    for (uint32_t type = 1; type <= SCA_TEZ_MAX_COUNTER_TYPE && bytes == 0; ++type) {
        bytes = SCA_TezGetCounterUnits(type) == SCA_TEZ_UNITS_BYTES ? type : 0;
    }
    ASSERT_NE(bytes, 0u);
    SCA_TezReport report;
    korvanta_test::SetReportHeader(&report, "", "Web Servers", "web-1", 3,
                                   korvanta_test::kFixtureStart, 60);
    report.SetReportTitle("");
    report.SetDescription("Web Servers");
    AddFixtureCounter(&report, bytes, "", {219.09e12, 187.5e12});
    AddFixtureCounter(&report, kFixtureCpu, "", {12.5, 99.5});
    SCA_MonReportDlg dialog(nullptr, nullptr, nullptr, nullptr, &report);
    ASSERT_EQ(dialog.FillDialog(), 1);
    EXPECT_EQ(dialog.GetTitleLabel()->text(), QStringLiteral("Korvanta Web Servers Report"));
    QTreeWidget* counters = dialog.GetCounterView();
    ASSERT_EQ(counters->topLevelItemCount(), 2);
    EXPECT_EQ(counters->topLevelItem(1)->text(2), QStringLiteral("All"));
    EXPECT_EQ(counters->topLevelItem(1)->text(3), QStringLiteral("Local"));
    const QFontMetrics metrics(counters->font());
    for (int row = 0; row < counters->topLevelItemCount(); ++row) {
        for (int column = 1; column < counters->columnCount(); ++column) {
            const QString text = counters->topLevelItem(row)->text(column);
            EXPECT_GE(counters->columnWidth(column), metrics.horizontalAdvance(text))
                << text.toStdString();
        }
    }
    EXPECT_TRUE(counters->topLevelItem(0)->text(8).contains(QStringLiteral("TB")));
}

TEST(ReportDialogs, AComparisonShowsBothRunsAndEachChange) {
    SCA_TezReport first;
    SCA_TezReport second;
    korvanta_test::SetReportHeader(&first, "Monday", "Web", "web-1", 3,
                                   korvanta_test::kFixtureStart, 60);
    korvanta_test::SetReportHeader(&second, "Tuesday", "Web", "web-2", 3,
                                   korvanta_test::kFixtureStart, 90);
    AddFixtureCounter(&first, kFixtureCpu, "0", {20});
    AddFixtureCounter(&second, kFixtureCpu, "0", {30});
    AddFixtureCounter(&first, kFixtureMemory, "", {50});
    AddFixtureCounter(&second, kFixtureMemory, "", {51});
    AddFixtureCounter(&second, kFixtureMemory, "swap", {5});
    SCA_TezDeltaReport delta;
    ASSERT_EQ(delta.Compare(&first, &second, 20, 5), 1);
    SCA_DeltaReportDlg dialog(nullptr, nullptr, nullptr, &delta);
    ASSERT_EQ(dialog.FillDialog(), 1);
    EXPECT_EQ(dialog.GetHeaderValue(QStringLiteral("Title"), 1), QStringLiteral("Monday"));
    EXPECT_EQ(dialog.GetHeaderValue(QStringLiteral("Host Name"), 2), QStringLiteral("web-2"));
    EXPECT_EQ(dialog.GetHeaderValue(QStringLiteral("Duration"), 2), QStringLiteral("00:01:30"));
    EXPECT_EQ(dialog.GetSummary()->text(),
              QStringLiteral("2 counters compared: 1 major change (a change of 20% or more), 0 "
                             "minor changes (5% or more)."));
    QTreeWidget* view = dialog.GetView();
    ASSERT_EQ(view->topLevelItemCount(), 3);
    const QStringList results = {view->topLevelItem(0)->text(7), view->topLevelItem(1)->text(7),
                                 view->topLevelItem(2)->text(7)};
    EXPECT_EQ(results, (QStringList{"Major change", "Small change", "Only in the second report"}));
    EXPECT_EQ(view->topLevelItem(0)->text(6), QStringLiteral("+50.0%"));
    EXPECT_EQ(view->topLevelItem(2)->text(3), QStringLiteral("---"));

    // Reports the service stored without a title compare under the title it saves them with.
    first.SetReportTitle("");
    ASSERT_EQ(delta.Compare(&first, &second, 20, 5), 1);
    SCA_DeltaReportDlg untitled(nullptr, nullptr, nullptr, &delta);
    ASSERT_EQ(untitled.FillDialog(), 1);
    EXPECT_EQ(untitled.GetHeaderValue(QStringLiteral("Title"), 1),
              QStringLiteral("Korvanta Web Report"));
    // Instances read as the live window names them.
    EXPECT_EQ(untitled.GetView()->topLevelItem(0)->text(2), QStringLiteral("CPU 0"));
}

} // namespace
