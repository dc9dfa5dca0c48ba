// SPDX-License-Identifier: MIT
#pragma once

#include <csignal>
#include <termios.h>

// The console run's keyboard and its stop signals. On a terminal, input is switched to
// single keys without echo for the object's life and restored afterwards (also when the
// process ends through a stop signal, since the loop then ends normally). On a pipe keys are
// read as bytes; at the end of input no key is ever reported again, so a loop that polls does
// not spin on it.
//
// SIGINT, SIGTERM and SIGHUP only raise a flag that StopRequested reads, so Ctrl+C or a closed
// terminal ends the loop in order, with everything saved.
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

private:
    int m_Descriptor;
    bool m_Terminal = false;
    bool m_EndOfInput = false;
    bool m_Catching = false;
    termios m_Saved{};
    struct sigaction m_SavedInt {};
    struct sigaction m_SavedTerm {};
    struct sigaction m_SavedHup {};
};
