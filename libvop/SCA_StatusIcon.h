#pragma once

#include <QWidget>
#include <cstdint>

// A small round lamp in the colour of a task status code: 9 running, 8 paused, 5 error,
// 4 warning, 1 stopped, 7 idle (and any unknown code). Drawn, not loaded, so it is sharp at any
// size and pixel ratio.
class SCA_StatusIcon : public QWidget {
    Q_OBJECT
public:
    // A square of side size pixels with margin pixels of space around the lamp.
    SCA_StatusIcon(QWidget* parent, int size, int margin);

    void SetStatus(uint32_t status);
    uint32_t GetStatus() const { return m_Status; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_Size;
    int m_Margin;
    uint32_t m_Status = 7;
};
