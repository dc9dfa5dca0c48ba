// SPDX-License-Identifier: MIT
#include "korvas/SCA_ConsoleInput.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <poll.h>
#include <unistd.h>

namespace {

std::atomic<int> g_StopRequested{0};
static_assert(std::atomic<int>::is_always_lock_free, "written from a signal handler");

extern "C" void OnStopSignal(int) {
    g_StopRequested.store(1);
}

} // namespace

SCA_ConsoleInput::SCA_ConsoleInput(int descriptor) : m_Descriptor(descriptor) {
    if (isatty(m_Descriptor) && tcgetattr(m_Descriptor, &m_Saved) == 0) {
        termios keys = m_Saved;
        keys.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
        keys.c_cc[VMIN] = 1;
        keys.c_cc[VTIME] = 0;
        m_Terminal = tcsetattr(m_Descriptor, TCSANOW, &keys) == 0;
    }
}

SCA_ConsoleInput::~SCA_ConsoleInput() {
    if (m_Terminal) {
        tcsetattr(m_Descriptor, TCSANOW, &m_Saved);
    }
    if (m_Catching) {
        sigaction(SIGINT, &m_SavedInt, nullptr);
        sigaction(SIGTERM, &m_SavedTerm, nullptr);
        sigaction(SIGHUP, &m_SavedHup, nullptr);
    }
}

int SCA_ConsoleInput::KbHit() {
    if (m_EndOfInput || m_Descriptor < 0) {
        return 0;
    }
    pollfd entry{m_Descriptor, POLLIN, 0};
    if (poll(&entry, 1, 0) <= 0) {
        return 0;
    }
    if ((entry.revents & POLLIN) == 0) {
        // Hang-up or error without data: nothing will ever come.
        m_EndOfInput = (entry.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
        return 0;
    }
    return 1;
}

int SCA_ConsoleInput::GetChar() {
    if (m_EndOfInput) {
        return -1;
    }
    unsigned char byte = 0;
    ssize_t got = 0;
    do {
        got = read(m_Descriptor, &byte, 1);
    } while (got < 0 && errno == EINTR);
    if (got <= 0) {
        m_EndOfInput = true;
        return -1;
    }
    return byte;
}

void SCA_ConsoleInput::CatchStopSignals() {
    if (m_Catching) {
        return;
    }
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &m_SavedInt);
    sigaction(SIGTERM, &action, &m_SavedTerm);
    // The terminal went away: end as Ctrl+C does rather than die with nothing saved.
    sigaction(SIGHUP, &action, &m_SavedHup);
    m_Catching = true;
}

int SCA_ConsoleInput::StopRequested() {
    return g_StopRequested.load();
}
