// SPDX-License-Identifier: MIT
#include "korvas/SCA_ConsoleInput.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <system_error>
#include <unistd.h>

namespace {

constexpr int kEscape = 27;
constexpr char kSignalled = 's';
constexpr char kEndWatch = 'q';

std::atomic<int> g_StopRequested{0};
static_assert(std::atomic<int>::is_always_lock_free, "written from a signal handler");
// The pipe that wakes the watch: a stop signal writes kSignalled, StopWatching kEndWatch.
int g_WakePipe[2] = {-1, -1};
std::atomic<int> g_WakeWrite{-1};

void WriteWake(char byte) {
    const int descriptor = g_WakeWrite.load();
    if (descriptor >= 0) {
        // A full pipe already holds a wake-up; nothing is lost by dropping this one.
        [[maybe_unused]] const ssize_t written = write(descriptor, &byte, 1);
    }
}

extern "C" void OnStopSignal(int) {
    const int saved = errno;
    g_StopRequested.store(1);
    WriteWake(kSignalled);
    errno = saved;
}

// The stop signals go to the watch thread alone, which waits for them in poll: a handler run on
// any other thread waits for that thread to be scheduled, and a sanitizer's handler even for
// its next library call, which a thread asleep until its next job may not make for a long time.
void SetStopSignalsBlocked(bool blocked) {
    sigset_t stops;
    sigemptyset(&stops);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        sigaddset(&stops, signal);
    }
    pthread_sigmask(blocked ? SIG_BLOCK : SIG_UNBLOCK, &stops, nullptr);
}

bool OpenWakePipe() {
    if (g_WakeWrite.load() >= 0) {
        return true;
    }
    if (pipe2(g_WakePipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        return false;
    }
    g_WakeWrite.store(g_WakePipe[1]);
    return true;
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
    StopWatching();
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
    // Before the handlers: a signal that comes first still wakes a watch started later.
    OpenWakePipe();
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &m_SavedInt);
    sigaction(SIGTERM, &action, &m_SavedTerm);
    // The terminal went away: end as Ctrl+C does rather than die with nothing saved.
    sigaction(SIGHUP, &action, &m_SavedHup);
    m_Catching = true;
    // Threads started from here on inherit the block; the watch lifts it for itself.
    SetStopSignalsBlocked(true);
}

int SCA_ConsoleInput::StopRequested() {
    return g_StopRequested.load();
}

bool SCA_ConsoleInput::WatchForStop(std::function<void()> onStop) {
    if (m_Watch.joinable()) {
        return false;
    }
    if (!OpenWakePipe()) {
        SetStopSignalsBlocked(false);
        return false;
    }
    m_OnStop = std::move(onStop);
    try {
        m_Watch = std::thread(&SCA_ConsoleInput::Watch, this);
    } catch (const std::system_error&) {
        // Without a watch the signals must reach this thread, which looks at StopRequested.
        SetStopSignalsBlocked(false);
        return false;
    }
    return true;
}

void SCA_ConsoleInput::StopWatching() {
    if (!m_Watch.joinable()) {
        return;
    }
    WriteWake(kEndWatch);
    m_Watch.join();
}

// Sleeps in poll until a key, a stop signal or the end of the watch; a signal that came before
// the watch started is answered at once.
void SCA_ConsoleInput::Watch() {
    SetStopSignalsBlocked(false);
    if (StopRequested()) {
        m_OnStop();
    }
    for (;;) {
        pollfd entries[2] = {{g_WakePipe[0], POLLIN, 0}, {m_Descriptor, POLLIN, 0}};
        const nfds_t count = m_EndOfInput || m_Descriptor < 0 ? 1 : 2;
        if (poll(entries, count, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        char byte = 0;
        while ((entries[0].revents & POLLIN) != 0 && read(g_WakePipe[0], &byte, 1) == 1) {
            if (byte == kEndWatch) {
                return;
            }
            m_OnStop();
        }
        if (count == 2 && entries[1].revents != 0 && KbHit() && GetChar() == kEscape) {
            m_OnStop();
        }
    }
}
