// SPDX-License-Identifier: MIT
#pragma once

#include <QToolButton>

// The tool button of the client's windows and dialogs: a QToolButton, so that every button of
// the client is of one class that a later style can reach.
class SCA_ToolButton : public QToolButton {
public:
    using QToolButton::QToolButton;

    // The look of the small framed buttons beside a list or a combo box.
    static constexpr const char* kFramedStyle =
        "QToolButton { border: 1px solid #88A4B8; border-radius: 2px; background-color: "
        "qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop: 0.0 #f8fdff, stop: 0.5 #d8dddf, stop: "
        "0.7 #d8dddf, stop: 1.0 #f8fdff); } QToolButton:hover { background-color: #f4f8fd; } "
        "QToolButton:disabled { background-color: #d0d0d0; border: 1px solid #a0a0a0; }";
};
