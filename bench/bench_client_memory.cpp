// SPDX-License-Identifier: MIT
// The client's resident memory around large replies, offscreen, on the wire through the network
// library: the main window polls 2 monitors, then meets one large reply (10,000 monitors shown;
// 50,000 listed, more than it shows; 200,000 listed, over the reply limit; a reply of 45 MB),
// then polls 2 monitors again. Prints, for each reply in each cycle, the resident memory kept
// against before it, and min/median/max, in MB; the first cycle is the one that meets each
// reply first. The goal: within 20 MB of before. The stand-in answers from this process: what
// it takes counts too.
#include <QApplication>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "bench/BenchSupport.h"
#include "tests/korvac/LargeReplies.h"
#include "tests/support/HeldMemory.h"

namespace {

constexpr int kCycles = 5;

void Print(const char* what, std::vector<double> kept) {
    std::printf("%-40s", what);
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
                                   "resident memory kept after large and refused replies")) {
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
    auto window = korvac_test::StartWindowOn(&service);
    if (window == nullptr) {
        std::fprintf(stderr, "the window did not start\n");
        return 1;
    }
    constexpr size_t kReplies = std::size(korvac_test::kLargeReplies);
    std::vector<double> kept[kReplies];
    double start = 0.0;
    for (int cycle = 0; cycle < kCycles; ++cycle) {
        for (size_t at = 0; at < kReplies; ++at) {
            const korvac_test::LargeReply& reply = korvac_test::kLargeReplies[at];
            if (!korvac_test::ShowFewMonitors(&service, window.get())) {
                std::fprintf(stderr, "the window did not show the few monitors\n");
                return 1;
            }
            const double before = korvanta_test::HeldMegabytes();
            start = cycle == 0 && at == 0 ? before : start;
            if (!korvac_test::MeetLargeReply(&service, window.get(), reply)) {
                std::fprintf(stderr, "%s: not met as expected\n", reply.Name);
                return 1;
            }
            if (!korvac_test::ShowFewMonitors(&service, window.get())) {
                std::fprintf(stderr, "%s: the window did not recover\n", reply.Name);
                return 1;
            }
            kept[at].push_back(korvanta_test::HeldMegabytes() - before);
        }
    }
    std::printf("%d cycles; resident memory kept after each reply against before it\n", kCycles);
    for (size_t at = 0; at < kReplies; ++at) {
        Print(korvac_test::kLargeReplies[at].Name, kept[at]);
    }
    std::printf("%-40s %5.1f MB\n", "kept after all cycles, against the start",
                korvanta_test::HeldMegabytes() - start);
    std::printf("load %.2f\n", korvanta_bench::LoadAverage());
    window.reset();
    return 0;
}
