// SPDX-License-Identifier: MIT
#pragma once

#include <QEvent>
#include <QObject>
#include <QPointer>
#include <memory>
#include <vector>

class QWidget;

// While the session waits for a call in its caller's frame, the window keeps painting and
// taking the input that only edits, scrolls or moves; input that acts (a click on a button or
// a list, a key that is not typing, a shortcut, a context menu, closing a window) would start
// a second call inside the first's frame, or delete the window under it. The gate holds that
// input while it is open and hands it back in order once the last wait ended: a second command
// waits its turn, a window the user closed closes after its command.
class SCA_InputGate : public QObject {
    Q_OBJECT
public:
    // Opens the gate (it may be opened again inside a wait: one close each).
    void Open();
    // Closes it; the outermost close hands the held input back, after what is queued already.
    void Close();

    // Whether event to receiver acts: held while the gate is open.
    static bool Acts(QObject* receiver, const QEvent* event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Receivers that only edit, scroll or resize: their clicks and typed keys go through.
    static bool IsPassive(const QObject* receiver);

    struct Held {
        QPointer<QObject> Receiver;
        std::unique_ptr<QEvent> Event;
    };
    int m_Opened = 0;
    std::vector<Held> m_Held;
    std::vector<QPointer<QWidget>> m_Closed;
};
