// SPDX-License-Identifier: MIT
#pragma once

#include <functional>

class QSocketNotifier;

// Turns a request to end the program (SIGTERM, SIGINT, SIGHUP: the desktop session ending, a
// shutdown, Ctrl+C) into a call on the GUI thread, so that the program ends as when its user
// closes it, saving what it keeps, instead of being killed in the middle of its work. The
// signal handler only writes a byte to a socket the event loop watches. One per process; the
// signals' default actions come back when it goes.
class SCA_TerminationRequest {
public:
    explicit SCA_TerminationRequest(std::function<void()> onRequest);
    ~SCA_TerminationRequest();
    SCA_TerminationRequest(const SCA_TerminationRequest&) = delete;
    SCA_TerminationRequest& operator=(const SCA_TerminationRequest&) = delete;

    // 1 once a request arrived (read on the GUI thread).
    static int IsRequested();

private:
    std::function<void()> m_OnRequest;
    QSocketNotifier* m_Notifier = nullptr;
};
