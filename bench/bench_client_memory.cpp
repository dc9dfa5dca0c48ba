// SPDX-License-Identifier: MIT
// The client's resident memory around a large reply, offscreen, on the wire through the network
// library: the main window polls 2 monitors, then a reply listing 9,000 (shown), then 2 again;
// then a reply over the size limit (refused, the connection renewed). Prints the resident
// memory kept after each against before it, each cycle and min/median/max, in MB. The goal:
// within 20 MB of before. The stand-in answers from this process: what it takes counts too.
#include <QApplication>
#include <QTimerEvent>
#include <algorithm>
#include <cstdio>
#include <unistd.h>
#include <vector>

#include "bench/BenchSupport.h"
#include "korvac/main/SCA_MonitorsView.h"
#include "korvac/main/SCA_SrvGui.h"
#include "tests/korvac/FakeService.h"

namespace {

constexpr int kCycles = 5;
constexpr uint32_t kLargeList = 9000;
constexpr uint32_t kSmallList = 2;
constexpr double kMegabyte = 1024.0 * 1024.0;

double ResidentMegabytes() {
    long pages = 0;
    long resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) {
            resident = 0;
        }
        std::fclose(statm);
    }
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / kMegabyte;
}

void List(korvac_test::FakeService* service, uint32_t count) {
    // The stand-in's own list lives in this process too: it keeps no room for the large one.
    service->Monitors = {};
    for (uint32_t id = 1; id <= count; ++id) {
        service->Monitors.push_back(korvac_test::FakeService::Row(
            id, 9, 11, 12, 0, 1, id % 3 == 0 ? "db1" : "", "Processor and memory"));
    }
    service->Status.MonitorCount = count;
    service->Status.ActiveMonitors = count;
    ++service->Status.MonitorsStatusId;
}

// Two ticks of the window's timer (it polls on every second one), and the poll shown.
void Poll(SCA_SrvGui* window) {
    for (int tick = 0; tick < 2; ++tick) {
        QTimerEvent event(window->GetUpdateTimerId());
        QCoreApplication::sendEvent(window, &event);
    }
    korvac_test::WaitForPolls(window->GetSession());
}

void Print(const char* what, std::vector<double> kept) {
    std::printf("%-32s", what);
    for (const double megabytes : kept) {
        std::printf(" %5.1f", megabytes);
    }
    std::sort(kept.begin(), kept.end());
    std::printf("   min %5.1f median %5.1f max %5.1f MB\n", kept.front(), kept[kept.size() / 2],
                kept.back());
}

} // namespace

int main(int argc, char** argv) {
    if (korvanta_bench::AnswerHelp(argc, argv,
                                   "resident memory kept after a large and a refused reply")) {
        return 0;
    }
    const korvanta_bench::ClientHome home;
    QApplication app(argc, argv);
    korvac_test::FakeService service;
    service.Healthy();
    if (!service.ListenOnWire()) {
        std::fprintf(stderr, "the stand-in did not listen\n");
        return 1;
    }
    List(&service, kSmallList);
    auto window = korvac_test::StartWindowOn(&service);
    if (window == nullptr) {
        std::fprintf(stderr, "the window did not start\n");
        return 1;
    }
    window->DefaultConnect();
    QTreeWidget* tree = window->findChild<SCA_MonitorsView*>();
    const korvac_test::Answer healthy = service.StandingOf("GetStatusEx");
    std::vector<double> afterLarge;
    std::vector<double> afterRefused;
    double peak = 0.0;
    for (int cycle = 0; cycle < kCycles; ++cycle) {
        for (int poll = 0; poll < 3; ++poll) {
            Poll(window.get());
        }
        const double before = ResidentMegabytes();
        List(&service, kLargeList);
        Poll(window.get());
        if (tree->topLevelItemCount() != static_cast<int>(kLargeList)) {
            std::fprintf(stderr, "the large list was not shown\n");
            return 1;
        }
        peak = std::max(peak, ResidentMegabytes() - before);
        List(&service, kSmallList);
        Poll(window.get());
        Poll(window.get());
        afterLarge.push_back(ResidentMegabytes() - before);

        korvac_test::Answer huge = healthy;
        huge.Frame = korvac_test::Answer::Wire::HugeString;
        service.Queue("GetStatusEx", huge);
        Poll(window.get());
        window->DefaultConnect();
        Poll(window.get());
        Poll(window.get());
        if (window->CheckConnected(0) != 1 ||
            tree->topLevelItemCount() != static_cast<int>(kSmallList)) {
            std::fprintf(stderr, "the window did not recover\n");
            return 1;
        }
        afterRefused.push_back(ResidentMegabytes() - before);
    }
    std::printf("%d cycles; %u monitors, then %u; resident memory against before the large reply\n",
                kCycles, kLargeList, kSmallList);
    std::printf("%-32s %7.1f MB\n", "largest rise while shown", peak);
    Print("kept after the large reply", afterLarge);
    Print("kept after a refused reply", afterRefused);
    std::printf("load %.2f\n", korvanta_bench::LoadAverage());
    window.reset();
    return 0;
}
