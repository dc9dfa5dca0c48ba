// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

// What a live window asks of the program that opened it: the main window or a detached viewer.
// Either gives the same answers, so a window behaves alike in both.
class SCA_WindowHost {
public:
    virtual ~SCA_WindowHost() = default;

    // Tells the user that a command they gave in a window failed (level as the report
    // function's): the main window logs it and raises its badge, a viewer shows it in a box.
    virtual void AnswerCommand(uint32_t level, const std::string& text) = 0;
    // A window's poll brought the service's last sound-action time: the host plays the sounds
    // queued since the last it played, where it plays any.
    virtual void SoundTimeSeen(uint64_t lastSoundTime) = 0;
    // The service host's own name, as its server information gave it; empty before that.
    virtual const char* ServiceHostName() const = 0;

protected:
    SCA_WindowHost() = default;
    SCA_WindowHost(const SCA_WindowHost&) = default;
    SCA_WindowHost& operator=(const SCA_WindowHost&) = default;
};
