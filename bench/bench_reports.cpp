// SPDX-License-Identifier: MIT
// The reports window over an index of 10,000 reports, offscreen: the index filtered and the
// list refreshed (ShowReports), against the same filtering (the index's FilterReports) and a
// plain QTreeWidget of the same size rebuilt with the same rows' texts, each painted within its
// own round, in one run. The rounds alternate a filter that keeps half of the reports with one that
// keeps them all, so that each refresh adds or removes 5,000 rows; the window's rounds and the
// floor's take turns. Prints, for each of three windows with its load, the 50th and 99th percentile
// of both and their ratio, then their spread and whether the refresh's 50th percentile stayed
// within 1.5 times the rebuild's in every window.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTreeWidget>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "bench/PlainRows.h"
#include "bench/ViewPaints.h"
#include "korvac/kit/SCA_ClientSession.h"
#include "korvac/reports/SCA_SrvReportsDlg.h"
#include "libmor/SCA_Time.h"
#include "model/SCA_TezConfig.h"
#include "model/SCA_TezConfigUser.h"
#include "model/SCA_TezMonitorKinds.h"
#include "model/SCA_TezMonitorMode.h"
#include "model/SCA_TezReportIndex.h"

namespace {

constexpr int kRounds = 60;
constexpr int kWarmUp = 6;
constexpr uint32_t kReports = 10000;
constexpr uint64_t kStart = 17041646450000000ULL;
constexpr uint64_t kMinute = 600000000ULL;
// The refresh may cost this much more than filtering and a plain rebuild.
constexpr double kRatioTarget = 1.5;

// Start, duration, profile, host, counters and errors, as the window's list shows them.
constexpr int kPlainColumns = 6;
constexpr uint32_t kTimeSize = 64;

void Fill(SCA_TezReportIndex* index) {
    for (uint32_t i = 0; i < kReports; ++i) {
        SCA_TezReport report;
        const std::string profile =
            (i % 2 == 0 ? "Web servers " : "Databases ") + std::to_string(i % 50);
        report.SetProfileName(profile.c_str());
        report.SetReportTitle(profile.c_str());
        report.SetHostName(i % 3 == 0 ? "web-1" : "db-2");
        report.SetMonitorMode(i % 2 == 0 ? SCA_TEZ_MODE_CPU : SCA_TEZ_MODE_MEMORY);
        report.SetNumOfCounters(i % 20);
        report.SetNumOfErrors(i % 7);
        report.SetTimes(kStart + i * kMinute, kStart + i * kMinute + 10 * kMinute, 10 * kMinute);
        index->AddReport(report, 0, nullptr);
    }
}

QString PlainText(const SCA_TezReportInfo& info, int column) {
    char text[kTimeSize] = "";
    switch (column) {
    case 0:
        SCA_FormatAbsTime(info.GetStartTime(), text, sizeof(text));
        return QString::fromUtf8(text);
    case 1:
        SCA_FormatTimeEx(info.GetProcessTime(), text, sizeof(text));
        return QString::fromUtf8(text);
    case 2:
        return QString::fromUtf8(info.GetProfileName());
    case 3:
        return QString::fromUtf8(info.GetHostName());
    case 4:
        return QString::number(info.GetNumOfCounters());
    default:
        return QString::number(info.GetNumOfErrors());
    }
}

} // namespace

int main(int argc, char** argv) {
    if (korvanta_bench::AnswerHelp(argc, argv,
                                   "the reports refresh against filtering and a plain rebuild")) {
        return 0;
    }
    const korvanta_bench::ClientHome home;
    QApplication app(argc, argv);
    SCA_TezConfig config(SCA_PRODUCT_TYPE_KORVANTA);
    SCA_TezConfigUser user(&config);
    SCA_ConfigObj params("Params", nullptr);
    SCA_ClientSession session;
    SCA_SrvReportsDlg window(nullptr, &config, &user, &params, "korva", &session);
    Fill(window.GetIndex());
    window.show();
    const QString texts[] = {QStringLiteral("web"), QString()};

    korvanta_bench::PlainRows plain(kPlainColumns);
    plain.Tree()->resize(window.size());
    plain.Tree()->show();
    korvanta_bench::ViewPaints windowPaints(window.findChild<QTreeWidget*>());
    korvanta_bench::ViewPaints plainPaints(plain.Tree());
    std::printf("reports in the index: %u, %d rounds a window\n", kReports, kRounds);
    const korvanta_bench::WindowSpreads spreads =
        korvanta_bench::MeasureWindows("filter and refresh", "filter and plain rebuild", [&](int) {
            return korvanta_bench::MeasureInTurn(
                kRounds, kWarmUp, [](int) {},
                [&](int round) {
                    window.GetFilterEdit()->setText(texts[round % 2]);
                    window.ShowReports();
                    windowPaints.ProcessUntilPainted();
                },
                [&](int round) {
                    const QByteArray text = texts[round % 2].toUtf8();
                    SCA_List<SCA_TezReportInfo*> passed;
                    window.GetIndex()->FilterReports(text.isEmpty() ? 0 : 1, SCA_TEZ_FILTER_PROFILE,
                                                     SCA_TEZ_FILTER_CONTAINS, text.constData(),
                                                     &passed);
                    std::vector<const SCA_TezReportInfo*> shown;
                    shown.reserve(passed.Count());
                    for (auto* node = passed.GetHead(); node != nullptr; node = node->GetNext()) {
                        shown.push_back(node->GetItem());
                    }
                    plain.Rebuild(static_cast<int>(shown.size()), [&shown](int row, int column) {
                        return PlainText(*shown[static_cast<size_t>(row)], column);
                    });
                    plainPaints.ProcessUntilPainted();
                });
        });
    korvanta_bench::PrintVerdict("refresh p50 at most 1.5x the plain rebuild",
                                 spreads.RatioP50.Max() <= kRatioTarget);
    return 0;
}
