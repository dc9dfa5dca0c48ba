// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>
#include <cstdint>

// The statuses of the main window's connection lamp.
inline constexpr uint32_t SCA_STATUS_ICON_CONNECTED = 1;
inline constexpr uint32_t SCA_STATUS_ICON_OFF = 7;

// A small round lamp in the colour of a status: green for what is well (connected 1, message 3,
// running 9), blue paused (8), amber warning (4), red error (5), grey off (7 and any unknown
// code). Drawn, not loaded, so it is sharp at any size and pixel ratio.

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
    uint32_t m_Status = SCA_STATUS_ICON_OFF;
};
