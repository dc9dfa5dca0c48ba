// SPDX-License-Identifier: MIT
#pragma once

// Paints a list view within the round that changed it. A view that got rows lays them out on
// a zero timer and asks for its paint only then, so one pass of the event loop can leave the
// paint to whatever processes events next: in a bench, the other side's round. Each side of a
// bench processes events until its own view was painted, and pays for that paint itself.
#include <QAbstractItemView>
#include <QApplication>
#include <QEvent>
#include <QObject>

namespace korvanta_bench {

class ViewPaints : public QObject {
public:
    explicit ViewPaints(QAbstractItemView* view) : m_Viewport(view->viewport()) {
        m_Viewport->installEventFilter(this);
    }
    ~ViewPaints() override { m_Viewport->removeEventFilter(this); }
    ViewPaints(const ViewPaints&) = delete;
    ViewPaints& operator=(const ViewPaints&) = delete;

    // Processes events until the view painted, or a few passes found nothing to paint.
    void ProcessUntilPainted() {
        const int before = m_Paints;
        for (int pass = 0; pass < kPasses && m_Paints == before; ++pass) {
            QApplication::processEvents();
        }
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_Viewport && event->type() == QEvent::Paint) {
            ++m_Paints;
        }
        return false;
    }

private:
    // A layout timer, then the paint it asks for: two passes; the rest is margin.
    static constexpr int kPasses = 4;

    QWidget* m_Viewport;
    int m_Paints = 0;
};

} // namespace korvanta_bench
