// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>

#include "libvop/SCA_ChartPalette.h"
#include "model/SCA_TezCounterStatus.h"

class QPainter;
class SCA_TezConfigUser;
class SCA_TezCounter;

// What the chart and the gauge of a counter share: the colours of the user configuration, the
// options of what to draw, a fixed top of the range or none, the title and its level, and the
// counter status they show.
class SCA_CounterFrame : public QWidget {
    Q_OBJECT
public:
    // The title and its level (3 information, 4 warning, 5 error), drawn in the level's colour.
    void SetTitle(uint32_t level, const QString& text);
    void SetTitle(uint32_t level, const char* text);
    uint32_t GetTitleLevel() const { return m_TitleLevel; }
    const QString& GetTitle() const { return m_Title; }
    // The statistics the frame shows.
    const tagSCA_TEZ_COUNTER_STATUS& GetStatus() const { return m_Status; }

    // Paints the whole frame on painter over area (the widget's paint uses its own rect).
    virtual void Paint(QPainter* painter, const QRectF& area) const = 0;

protected:
    // userConfig gives the colours (read at each paint, so a change of the options shows at the
    // next one; null: the default colours). rangeHigh is the fixed top of the value range, or
    // SCA_FRAME_AUTO_RANGE. options are SCA_FRAME_* bits.
    SCA_CounterFrame(QWidget* parent, SCA_TezConfigUser* userConfig, uint32_t rangeHigh,
                     uint32_t options);

    // The status to show next: status, or without one the statistics of counter's samples. A
    // collected series without a type of its own keeps the units the status last gave.
    tagSCA_TEZ_COUNTER_STATUS NextStatus(const tagSCA_TEZ_COUNTER_STATUS* status,
                                         const SCA_TezCounter* counter) const;
    bool HasOption(uint32_t option) const { return (m_Options & option) != 0; }
    bool IsPercent() const;
    // The unit of the values shown (SCA_TEZ_UNITS_*).
    uint32_t GetUnits() const;
    // The fixed top of the range; 0 when the range follows the data.
    double GetFixedHigh() const { return m_FixedHigh; }
    SCA_ChartPalette GetPalette() const { return SCA_ChartPalette(m_UserConfig); }

    void paintEvent(QPaintEvent* event) override;

    tagSCA_TEZ_COUNTER_STATUS m_Status{};

private:
    SCA_TezConfigUser* m_UserConfig;
    double m_FixedHigh;
    uint32_t m_Options;
    uint32_t m_TitleLevel = 3;
    QString m_Title;
};
