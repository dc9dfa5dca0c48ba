#pragma once

#include <QToolButton>

// The tool button of the client's windows and dialogs: a QToolButton, so that every button of
// the client is of one class that a later style can reach.
class SCA_ToolButton : public QToolButton {
public:
    using QToolButton::QToolButton;
};
