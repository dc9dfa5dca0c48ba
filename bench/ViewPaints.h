// SPDX-License-Identifier: MIT
#pragma once

// Paints a view within the round that changed it. A view that got rows lays them out on a zero
// timer and asks for its paint only then, and any widget's update() waits for the event loop,
// so one pass of it can leave the paint to whatever processes events next: in a bench, the
// other side's round, or a poll of the window that waits for its reply in an event loop. Each
// side of a bench processes events until its own widgets were painted, and pays for those
// paints itself.
#include <QAbstractItemView>
#include <QApplication>
#include <QEvent>
#include <QObject>
#include <QPointer>
#include <initializer_list>
#include <vector>

namespace korvanta_bench {

class ViewPaints : public QObject {
public:
    // A list view paints on its viewport.
    explicit ViewPaints(QAbstractItemView* view) : ViewPaints(view->viewport()) {}
    explicit ViewPaints(QWidget* painted) : m_Painted(painted) {
        m_Painted->installEventFilter(this);
    }
    // The widget may go first, with the window that holds it.
    ~ViewPaints() override {
        if (m_Painted != nullptr) {
            m_Painted->removeEventFilter(this);
        }
    }
    ViewPaints(const ViewPaints&) = delete;
    ViewPaints& operator=(const ViewPaints&) = delete;

    // Processes events until the widget painted, or a few passes found nothing to paint.
    void ProcessUntilPainted() { ProcessUntilAllPainted({this}); }

    // Processes events until every one of the widgets painted since the call, or a few passes
    // found nothing more to paint.
    static void ProcessUntilAllPainted(std::initializer_list<ViewPaints*> widgets) {
        std::vector<int> before;
        for (const ViewPaints* widget : widgets) {
            before.push_back(widget->m_Paints);
        }
        auto allPainted = [&]() {
            size_t at = 0;
            for (const ViewPaints* widget : widgets) {
                if (widget->m_Paints == before[at++]) {
                    return false;
                }
            }
            return true;
        };
        for (int pass = 0; pass < kPasses && !allPainted(); ++pass) {
            QApplication::processEvents();
        }
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_Painted && event->type() == QEvent::Paint) {
            ++m_Paints;
        }
        return false;
    }

private:
    // A layout timer, then the paint it asks for: two passes; the rest is margin.
    static constexpr int kPasses = 4;

    QPointer<QWidget> m_Painted;
    int m_Paints = 0;
};

} // namespace korvanta_bench
