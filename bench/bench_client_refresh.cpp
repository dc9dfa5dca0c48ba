// SPDX-License-Identifier: MIT
// One status poll of the main window with 200 monitors, offscreen: the reply fetched and
// decoded on the session's network thread and the monitors tree updated in place on the GUI
// thread, against decoding the same reply (the client object's typed GetStatusEx over the same
// stand-in for the service) and setting the same rows' texts in place on a plain QTreeWidget.
// Each round changes one monitor's counts, as a poll of a live service does. The tick is the
// timer's poll (AskStatus: asked, and shown when its answer comes back), timed in turn with the
// floor; the poll a command waits for (UpdateStatus, the refresh after a user's change) is timed
// after them in each window. Prints, for each of three windows with its load, the 50th and
// 99th percentile of the tick and the floor and their ratio, then their spread, the spread of
// the command's poll, and whether the tick's ratio stayed within 1.5 in every window.
#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <QTreeWidget>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "bench/PlainRows.h"
#include "korvac/kit/SCA_ClientSession.h"
#include "korvac/main/SCA_MonitorsView.h"
#include "korvac/main/SCA_SrvGui.h"
#include "tests/korvac/FakeService.h"

namespace {

constexpr int kRounds = 2000;
constexpr int kWarmUp = 100;
constexpr uint32_t kMonitors = 200;
// Description, host, counters, errors, warnings and state, as the window's tree shows them.
constexpr int kPlainColumns = 6;
// The window's own tree: state, description, host, counters, errors...
constexpr int kErrorsColumn = 4;
// The tick may cost this much more than decoding and a plain tree.
constexpr double kRatioTarget = 1.5;

using korvanta_bench::Percentiles;

template <typename Round>
Percentiles Measure(Round round) {
    return korvanta_bench::Measure(kRounds, kWarmUp, round);
}

void Fill(korvac_test::FakeService* service) {
    service->Healthy();
    service->Status.ServerStatus = 1;
    service->Status.MonitorsStatusId = 17;
    service->Status.MonitorCount = kMonitors;
    service->Status.ActiveMonitors = kMonitors;
    for (uint32_t id = 1; id <= kMonitors; ++id) {
        service->Monitors.push_back(korvac_test::FakeService::Row(
            id, 9, 11, 12, 0, 1, id % 3 == 0 ? "db1" : "", "Processor and memory"));
    }
}

// A live service: each poll one monitor's counts have moved.
void Move(korvac_test::FakeService* service, int round) {
    service->Monitors[static_cast<size_t>(round) % kMonitors].Errors = static_cast<uint32_t>(round);
}

QString PlainText(const SCA_KorvantaMonitorRow& row, int column) {
    switch (column) {
    case 0:
        return QString::fromUtf8(row.Description);
    case 1:
        return QString::fromUtf8(row.Host);
    case 2:
        return QString::number(row.Counters);
    case 3:
        return QString::number(row.Errors);
    case 4:
        return QString::number(row.Warnings);
    default:
        return QString::number(row.State);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (korvanta_bench::AnswerHelp(
            argc, argv, "one poll tick of the main window against decoding and a plain tree")) {
        return 0;
    }
    const korvanta_bench::ClientHome home;
    QApplication app(argc, argv);
    korvac_test::FakeService service;
    Fill(&service);

    // Decoding and a plain tree updated in place.
    korvac_test::FakeClient client(&service);
    uint32_t error = 0;
    client.Connect("bench", 1, 1000, &error);
    SCA_KorvantaServerStatus status;
    std::vector<SCA_KorvantaMonitorRow> rows;
    int rowsRead = 0;
    korvanta_bench::PlainRows plain(kPlainColumns);
    // The window's poll, the same decoding and the tree updated in place, in turn with the floor.
    auto window = korvac_test::StartWindowOn(&service);
    if (window == nullptr) {
        std::fprintf(stderr, "the window did not start\n");
        return 1;
    }
    korvac_test::ConnectionOf(window)->DefaultConnect();
    QTreeWidget* tree = window->findChild<SCA_MonitorsView*>();
    QTreeWidgetItem* first = tree->topLevelItem(0);
    SCA_ClientSession* session = window->GetSession();
    std::printf("%d rounds a window, %u monitors\n", kRounds, kMonitors);
    // The timer's poll, in turn with its floor: asked, fetched and decoded on the session's
    // network thread, shown on the GUI thread when the answer comes back. The poll a command
    // waits for is timed after them in each window.
    std::vector<Percentiles> commanded;
    const korvanta_bench::WindowSpreads spreads =
        korvanta_bench::MeasureWindows("timer's poll", "decode and plain tree", [&](int) {
            const korvanta_bench::InTurn timed = korvanta_bench::MeasureInTurn(
                kRounds, kWarmUp, [](int) {},
                [&](int round) {
                    Move(&service, round);
                    korvac_test::PollOf(window)->AskStatus();
                    while (session->IsWaiting()) {
                        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
                    }
                },
                [&](int round) {
                    Move(&service, round);
                    client.GetStatusEx(&status, &rows, &rowsRead);
                    plain.UpdateInPlace(
                        static_cast<int>(rows.size()), [&rows](int row, int column) {
                            return PlainText(rows[static_cast<size_t>(row)], column);
                        });
                });
            commanded.push_back(Measure([&](int round) {
                Move(&service, round);
                korvac_test::PollOf(window)->UpdateStatus(0);
            }));
            return timed;
        });
    if (rows.size() != kMonitors || rowsRead != 1 ||
        plain.Tree()->topLevelItemCount() != static_cast<int>(kMonitors)) {
        std::fprintf(stderr, "the reply did not decode\n");
        return 1;
    }
    const QString lastErrors = QString::number(kRounds + kWarmUp - 1);
    if (tree->topLevelItemCount() != static_cast<int>(kMonitors) ||
        tree->topLevelItem(0) != first ||
        tree->topLevelItem((kRounds + kWarmUp - 1) % kMonitors)->text(kErrorsColumn) !=
            lastErrors) {
        std::fprintf(stderr, "the tree was not updated in place\n");
        return 1;
    }
    korvanta_bench::PrintWindowFigure("a command's poll (waited for)", commanded,
                                      &spreads.FloorP50);
    korvanta_bench::PrintVerdict("timer's poll p50 at most 1.5x the floor",
                                 spreads.RatioP50.Max() <= kRatioTarget);
    window.reset();
    return 0;
}
