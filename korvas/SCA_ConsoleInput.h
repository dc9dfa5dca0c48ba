// SPDX-License-Identifier: MIT
#pragma once

#include <csignal>
#include <functional>
#include <termios.h>
#include <thread>

// The console run's keyboard and its stop signals. On a terminal, input is switched to
// single keys without echo for the object's life and restored afterwards (also when the
// process ends through a stop signal, since the loop then ends normally). On a pipe keys are
// read as bytes; at the end of input no key is ever reported again, so a loop that polls does
// not spin on it.
//
// SIGINT, SIGTERM and SIGHUP only raise a flag that StopRequested reads (and wake the watch),
// so Ctrl+C or a closed terminal ends the loop in order, with everything saved.
//
// WatchForStop lets the loop sleep until there is work instead of polling the keys: a thread
// of its own sleeps until a key or a stop signal comes and calls the loop's wake-up.
class SCA_ConsoleInput {
public:
    // descriptor: where the keys come from (standard input in the program).
    explicit SCA_ConsoleInput(int descriptor);
    ~SCA_ConsoleInput();
    SCA_ConsoleInput(const SCA_ConsoleInput&) = delete;
    SCA_ConsoleInput& operator=(const SCA_ConsoleInput&) = delete;

    // 1 when a key is waiting (never at the end of input).
    int KbHit();
    // The waiting key's byte, or -1 when none can be read.
    int GetChar();

    // Installs the handlers of SIGINT, SIGTERM and SIGHUP (the previous ones come back with the
    // object's end).
    void CatchStopSignals();
    static int StopRequested();
    // Calls onStop, on the watch's thread, when Esc is pressed or a stop signal came (caught
    // with CatchStopSignals), until StopWatching; false when the watch cannot start. The
    // watch reads the keys: KbHit and GetChar are not for its caller meanwhile.
    bool WatchForStop(std::function<void()> onStop);
    // Ends the watch and returns once onStop is called no more.
    void StopWatching();

private:
    void Watch();

    std::function<void()> m_OnStop;
    std::thread m_Watch;
    int m_Descriptor;
    bool m_Terminal = false;
    bool m_EndOfInput = false;
    bool m_Catching = false;
    termios m_Saved{};
    struct sigaction m_SavedInt {};
    struct sigaction m_SavedTerm {};
    struct sigaction m_SavedHup {};
};
