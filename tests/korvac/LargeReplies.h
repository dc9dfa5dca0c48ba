// SPDX-License-Identifier: MIT
#pragma once

// Replies larger than any real service sends, as the main window's status poll meets them on
// the wire: a long list it shows, a list longer than it shows, a list over the reply limit and
// a reply of tens of MB. The memory test and bench_client_memory run them alike.
#include <QCoreApplication>
#include <QTreeWidget>
#include <cstdint>
#include <string>

#include "FakeService.h"
#include "korvac/main/SCA_MonitorsView.h"
#include "korvac/main/SCA_SrvGui.h"
#include "tests/support/WaitUntilPumping.h"

namespace korvac_test {

struct LargeReply {
    const char* Name;
    // Monitors the reply lists, or 0 for one value of HugeBytes.
    uint32_t Monitors;
    uint32_t HugeBytes;
    // Characters of each monitor's description.
    uint32_t DescriptionChars;
    // The window shows the list; else it refuses the reply or leaves its list as it was.
    bool Shown;
};

inline constexpr LargeReply kLargeReplies[] = {
    {"10,000 monitors shown", SCA_MainStatusPoll::kMaxMonitorRows, 0, 200, true},
    {"50,000 monitors, more than are shown", 50000, 0, 20, false},
    {"200,000 monitors, over the reply limit", 200000, 0, 20, false},
    {"a reply of 45 MB", 0, 45u << 20, 0, false},
};

// The monitors a healthy stand-in lists between the large replies.
inline constexpr uint32_t kFewMonitors = 2;

// Two ticks of the window's timer (it polls on every second one), and the poll answered.
inline void PollOnce(SCA_SrvGui* window) {
    for (int tick = 0; tick < 2; ++tick) {
        TickWindow(window);
    }
    WaitForPolls(window->GetSession());
}

// The window connected, showing the stand-in's few monitors after polls that leave nothing
// of an earlier reply to drop.
inline bool ShowFewMonitors(FakeService* service, SCA_SrvGui* window) {
    service->List(kFewMonitors, "Processor and memory");
    if (!window->CheckConnected(0)) {
        ConnectionOf(window)->DefaultConnect();
    }
    // What the stand-in holds while it sends a large reply is not the window's: it is freed
    // before the polls after which the window gives back what was freed.
    const bool answered = korvanta_test::WaitUntilPumping(
        "the stand-in to be done answering", [service] { return !service->Answering(); });
    for (int poll = 0; poll < 3; ++poll) {
        PollOnce(window);
    }
    const QTreeWidget* monitors = window->findChild<SCA_MonitorsView*>();
    return answered && window->CheckConnected(0) == 1 &&
           monitors->topLevelItemCount() == static_cast<int>(kFewMonitors) && monitors->isEnabled();
}

// The window's poll meets reply once; true when the window shows it or not as reply says.
inline bool MeetLargeReply(FakeService* service, SCA_SrvGui* window, const LargeReply& reply) {
    const Answer healthy = service->StandingOf("GetStatusEx");
    if (reply.Monitors != 0) {
        service->List(reply.Monitors, std::string(reply.DescriptionChars, 'd'));
    } else {
        Answer huge = healthy;
        huge.Frame = Answer::Wire::HugeString;
        huge.HugeBytes = reply.HugeBytes;
        service->Queue("GetStatusEx", huge);
    }
    PollOnce(window);
    const QTreeWidget* monitors = window->findChild<SCA_MonitorsView*>();
    const bool shown = monitors->isEnabled() && window->CheckConnected(0) == 1 &&
                       monitors->topLevelItemCount() == static_cast<int>(reply.Monitors);
    return shown == reply.Shown;
}

} // namespace korvac_test
