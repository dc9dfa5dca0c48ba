// SPDX-License-Identifier: MIT
#pragma once

// Held while a live window runs a dialog or window of its own: its polls wait, so that a poll
// that fails then never closes the window under the dialog. The window counts the holds and
// skips its timer's polls while any is held.
class SCA_PollHold {
public:
    explicit SCA_PollHold(int* holds) : m_Holds(*holds) { ++m_Holds; }
    ~SCA_PollHold() { --m_Holds; }
    SCA_PollHold(const SCA_PollHold&) = delete;
    SCA_PollHold& operator=(const SCA_PollHold&) = delete;

private:
    int& m_Holds;
};
