// SPDX-License-Identifier: MIT
#pragma once

#include <QtGlobal>
#include <cstdint>
#include <functional>

class QMenu;

// The entries of a context menu that open a detached viewer. With one screen the menu gets one
// entry "<text> ..."; with more, a separator and one entry "<text> on Monitor N" per screen, so
// that the user picks where the viewer appears.
class SCA_DetachedMenu {
public:
    // Receives the screen chosen (counted from 0), or SCA_ViewerCommand::kNoScreen from the
    // one entry of a single screen.
    using OpenOnScreen = std::function<void(uint32_t screen)>;

    // Adds the entries for the desktop's screens.
    static void AddEntries(QMenu* menu, const char* text, const OpenOnScreen& open);
    // Adds the entries for a number of screens (the tests choose it).
    static void AddEntries(QMenu* menu, const char* text, qsizetype screens,
                           const OpenOnScreen& open);
};
