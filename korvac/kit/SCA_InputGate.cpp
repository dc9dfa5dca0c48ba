// SPDX-License-Identifier: MIT
#include "korvac/kit/SCA_InputGate.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSizeGrip>
#include <QSplitterHandle>
#include <QTextEdit>
#include <QWidget>

void SCA_InputGate::Open() {
    if (m_Opened++ == 0 && QCoreApplication::instance() != nullptr) {
        QCoreApplication::instance()->installEventFilter(this);
    }
}

void SCA_InputGate::Close() {
    if (m_Opened == 0 || --m_Opened > 0) {
        return;
    }
    if (QCoreApplication::instance() != nullptr) {
        QCoreApplication::instance()->removeEventFilter(this);
    }
    // Posted, so that what the wait queued (its results) comes first.
    for (Held& held : m_Held) {
        if (held.Receiver != nullptr) {
            QCoreApplication::postEvent(held.Receiver, held.Event.release());
        }
    }
    m_Held.clear();
    for (const QPointer<QWidget>& window : m_Closed) {
        if (window != nullptr) {
            QMetaObject::invokeMethod(window, &QWidget::close, Qt::QueuedConnection);
        }
    }
    m_Closed.clear();
}

bool SCA_InputGate::IsPassive(const QObject* receiver) {
    if (receiver == nullptr) {
        return false;
    }
    // A text box's clicks and keys go to its viewport.
    const QObject* owner = receiver->parent();
    return qobject_cast<const QLineEdit*>(receiver) != nullptr ||
           qobject_cast<const QAbstractSpinBox*>(receiver) != nullptr ||
           qobject_cast<const QTextEdit*>(receiver) != nullptr ||
           qobject_cast<const QPlainTextEdit*>(receiver) != nullptr ||
           qobject_cast<const QTextEdit*>(owner) != nullptr ||
           qobject_cast<const QPlainTextEdit*>(owner) != nullptr ||
           qobject_cast<const QScrollBar*>(receiver) != nullptr ||
           qobject_cast<const QSplitterHandle*>(receiver) != nullptr ||
           qobject_cast<const QSizeGrip*>(receiver) != nullptr;
}

bool SCA_InputGate::Acts(QObject* receiver, const QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        return !IsPassive(receiver);
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        // These keys press a dialog's default button or close it, from any text box.
        const int key = static_cast<const QKeyEvent*>(event)->key();
        const bool activates =
            key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape;
        return activates || !IsPassive(receiver);
    }
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TabletPress:
        return true;
    case QEvent::Close:
        return receiver->isWidgetType() && static_cast<QWidget*>(receiver)->isWindow();
    default:
        return false;
    }
}

bool SCA_InputGate::eventFilter(QObject* watched, QEvent* event) {
    if (m_Opened == 0 || !Acts(watched, event)) {
        return false;
    }
    if (event->type() == QEvent::Close) {
        // Refused now (a close event that is not ignored would go on), closed once it is safe.
        event->ignore();
        m_Closed.emplace_back(static_cast<QWidget*>(watched));
        return true;
    }
    m_Held.push_back({watched, std::unique_ptr<QEvent>(event->clone())});
    return true;
}
