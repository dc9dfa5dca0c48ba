// SPDX-License-Identifier: MIT
// One poll tick of the process monitor window with 2,000 processes, offscreen: the reply
// decoded, the records parsed and totalled, the rows refreshed in place (or rebuilt in sort
// order when the set of processes changed), the status bar written, all on the GUI thread,
// against decoding the same reply (the client object's typed GetMonitorProcessListStatusEx
// over the same stand-in for the service) and a plain tree of the same rows updated in place,
// the window's rounds and the floor's taking turns. Each round every
// process's measures move, as a live service's do; every tenth round a process comes and one
// goes, so the rows are put in sort order again with the user's sort, selection and scroll
// position kept. Prints, for each of three windows with its load, the 50th and 99th
// percentiles and the ratios, then their spread and whether the tick's 99th percentile stayed
// under 16 ms in every window.
#include <QApplication>
#include <QScrollBar>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "bench/PlainRows.h"
#include "bench/ViewPaints.h"
#include "korvac/main/SCA_SrvGui.h"
#include "korvac/process/SCA_SrvProcessListDlg.h"
#include "korvac/process/SCA_SrvProcessView.h"
#include "model/SCA_TezProcessLog.h"
#include "tests/korvac/FakeProcessMonitor.h"
#include "tests/korvac/FakeService.h"

namespace {

constexpr int kRounds = 300;
constexpr int kWarmUp = 20;
constexpr uint32_t kProcesses = 2000;
// Every this many rounds a process starts and another ends.
constexpr int kChurnEvery = 10;
// A tick must fit in a frame of a 60 Hz screen.
constexpr double kTickTargetMicros = 16000.0;

// The service between two polls: every measure moved; now and then one process replaced.
void Advance(korvac_test::FakeProcessMonitor* monitor, int round, uint32_t* nextId) {
    for (size_t i = 0; i < monitor->Processes.size(); ++i) {
        tagSCA_TEZ_PROCESS_STATUS& status = monitor->Processes[i].Status;
        status.Measure[0] = static_cast<double>((round + i) % 100) / 10.0;
        status.Measure[1] = 1e6 * static_cast<double>((round * 7 + i) % 997);
        status.Measure[2] = static_cast<double>((round + i) % 50);
    }
    if (round % kChurnEvery == 0) {
        monitor->Processes.erase(monitor->Processes.begin());
        const std::string name = "proc-" + std::to_string(*nextId);
        monitor->AddProcess(name.c_str(), (*nextId)++, 1, 0.5, 1e6, 3, 12);
        ++monitor->ListStatus;
    }
}

// Name, instances, CPU, memory, threads, handles, errors and warnings, as the view shows them.
constexpr int kPlainColumns = 8;

QString PlainText(const SCA_KorvantaInterface::ProcessRow& row, int column) {
    const tagSCA_TEZ_PROCESS_STATUS& status = row.Status;
    switch (column) {
    case 0:
        return QString::fromUtf8(row.Name);
    case 1:
        return QString::number(status.InstanceCount);
    case 6:
        return QString::number(status.Errors);
    case 7:
        return QString::number(status.Warnings);
    default:
        return QString::number(status.Measure[column - 2]);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (korvanta_bench::AnswerHelp(
            argc, argv, "one poll tick of the process window against decoding and a plain tree")) {
        return 0;
    }
    const korvanta_bench::ClientHome home;
    QApplication app(argc, argv);
    korvac_test::FakeService service;
    service.Healthy();
    korvac_test::FakeProcessMonitor monitor;
    uint32_t nextId = 1;
    for (; nextId <= kProcesses; ++nextId) {
        const std::string name = "proc-" + std::to_string(nextId);
        monitor.AddProcess(name.c_str(), nextId, 1 + nextId % 4, 0.1, 1e6, 4, 20);
    }
    monitor.Install(&service);

    auto main = korvac_test::StartWindowOn(&service);
    if (main == nullptr) {
        std::fprintf(stderr, "the main window did not start\n");
        return 1;
    }
    korvac_test::ConnectionOf(main)->DefaultConnect();
    auto window =
        korvac_test::MonitorWindowOf<SCA_SrvProcessListDlg>(main.get(), monitor.MonitorId);
    if (!window->StartProcess()) {
        std::fprintf(stderr, "the window did not start\n");
        return 1;
    }
    window->resize(1200, 900);
    window->show();
    // The user's view: sorted by CPU, a row chosen, scrolled down.
    window->ProcSectionClicked(SCA_PROC_COL_CPU);
    QTreeWidget* view = window->GetProcessView();
    QTreeWidgetItem* chosen = view->topLevelItem(500);
    chosen->setSelected(true);
    view->setCurrentItem(chosen, 0, QItemSelectionModel::NoUpdate);
    view->verticalScrollBar()->setValue(400);
    const uint32_t chosenId = SCA_SrvProcessView::ProcessIdOf(chosen);

    korvac_test::FakeClient client(&service);
    uint32_t error = 0;
    client.Connect("bench", 1, 1000, &error);
    SCA_KorvantaInterface::ProcessListStatus status;
    const uint32_t lastLog = window->GetLastLogItemId();
    korvanta_bench::PlainRows plain(kPlainColumns);
    plain.Tree()->resize(1200, 900);
    plain.Tree()->show();
    korvanta_bench::ViewPaints windowPaints(view);
    korvanta_bench::ViewPaints plainPaints(plain.Tree());
    std::printf("%d rounds a window, %u processes, a process replaced every %d rounds\n", kRounds,
                kProcesses, kChurnEvery);
    const korvanta_bench::WindowSpreads spreads =
        korvanta_bench::MeasureWindows("tick", "decode and plain tree", [&](int) {
            return korvanta_bench::MeasureInTurn(
                kRounds, kWarmUp, [&](int round) { Advance(&monitor, round, &nextId); },
                [&](int) {
                    window->UpdateStatus();
                    windowPaints.ProcessUntilPainted();
                },
                [&](int) {
                    SCA_TezProcessLog log;
                    client.GetMonitorProcessListStatusEx(monitor.MonitorId, lastLog, &status, &log);
                    plain.UpdateInPlace(
                        static_cast<int>(status.Processes.size()), [&status](int row, int column) {
                            return PlainText(status.Processes[static_cast<size_t>(row)], column);
                        });
                    plainPaints.ProcessUntilPainted();
                });
        });
    if (window->GetRecords().Count() != kProcesses ||
        static_cast<uint32_t>(view->topLevelItemCount()) != kProcesses ||
        SCA_SrvProcessView::ProcessIdOf(view->currentItem()) != chosenId ||
        view->verticalScrollBar()->value() != 400) {
        std::fprintf(stderr, "the window did not keep its rows, choice and scroll position\n");
        return 1;
    }
    if (status.Processes.size() != kProcesses) {
        std::fprintf(stderr, "the reply did not decode\n");
        return 1;
    }

    korvanta_bench::PrintVerdict("tick p99 under 16 ms", spreads.PathP99.Max() < kTickTargetMicros);
    window.reset();
    main.reset();
    return 0;
}
