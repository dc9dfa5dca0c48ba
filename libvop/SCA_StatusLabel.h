// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>

#include "libmor/SCA_Object.h"
#include "model/SCA_TezVocabulary.h"

// Room for a colour text: '#', six hexadecimal digits and the terminator.
inline constexpr uint32_t SCA_STATUS_COLOUR_SIZE = 10;

// The five looks of a status label, in the order of its settings.
inline constexpr uint32_t SCA_STATUS_LOOK_DATA = 0;
inline constexpr uint32_t SCA_STATUS_LOOK_INFO = 1;
inline constexpr uint32_t SCA_STATUS_LOOK_READY = 2;
inline constexpr uint32_t SCA_STATUS_LOOK_WARN = 3;
inline constexpr uint32_t SCA_STATUS_LOOK_ERROR = 4;
inline constexpr uint32_t SCA_STATUS_LOOKS = 5;

// One accessor pair per colour of a look: Set<Look>BgLow / Get<Look>BgLow and the same for
// BgHigh, Border and Text.
#define SCA_STATUS_LABEL_LOOK_ACCESSORS(Look, index)                                               \
    void Set##Look##BgLow(const char* colour) {                                                    \
        SetColour(index, kBgLow, colour);                                                          \
    }                                                                                              \
    const char* Get##Look##BgLow() const {                                                         \
        return m_Looks[index][kBgLow];                                                             \
    }                                                                                              \
    void Set##Look##BgHigh(const char* colour) {                                                   \
        SetColour(index, kBgHigh, colour);                                                         \
    }                                                                                              \
    const char* Get##Look##BgHigh() const {                                                        \
        return m_Looks[index][kBgHigh];                                                            \
    }                                                                                              \
    void Set##Look##Border(const char* colour) {                                                   \
        SetColour(index, kBorder, colour);                                                         \
    }                                                                                              \
    const char* Get##Look##Border() const {                                                        \
        return m_Looks[index][kBorder];                                                            \
    }                                                                                              \
    void Set##Look##Text(const char* colour) {                                                     \
        SetColour(index, kText, colour);                                                           \
    }                                                                                              \
    const char* Get##Look##Text() const {                                                          \
        return m_Looks[index][kText];                                                              \
    }

// A coloured band that shows a status and a text at the top of a window. The status chooses
// one of five looks (each a background gradient from low at the bottom to high at the top, a
// border and a text colour): error for 0 (failed) and 5, warn for 4, info for 3, ready for 1
// (stopped), 9 and 11 (running), data for any other status (7, idle). The colours are texts
// such as "#A0B0C0", copied bounded: a longer text is cut to nine bytes; a text that is not a
// colour is drawn in the look's default colour.
class SCA_StatusLabel : public QWidget, public SCA_Object {
    Q_OBJECT
public:
    explicit SCA_StatusLabel(QWidget* parent);

    void SetFontSize(uint32_t size) { m_FontSize = size; }
    uint32_t GetFontSize() const { return m_FontSize; }
    void SetBoldFont(int bold) { m_BoldFont = bold != 0 ? 1u : 0u; }
    uint32_t GetBoldFont() const { return m_BoldFont; }

    SCA_STATUS_LABEL_LOOK_ACCESSORS(Data, SCA_STATUS_LOOK_DATA)
    SCA_STATUS_LABEL_LOOK_ACCESSORS(Info, SCA_STATUS_LOOK_INFO)
    SCA_STATUS_LABEL_LOOK_ACCESSORS(Ready, SCA_STATUS_LOOK_READY)
    SCA_STATUS_LABEL_LOOK_ACCESSORS(Warn, SCA_STATUS_LOOK_WARN)
    SCA_STATUS_LABEL_LOOK_ACCESSORS(Error, SCA_STATUS_LOOK_ERROR)

    // Shows text in the look of status.
    virtual void SetStatusString(uint32_t status, const QString& text);
    void SetStatusString(uint32_t status, const char* text);
    uint32_t GetStatus() const { return m_Status; }
    const QString& GetText() const { return m_Text; }

    // The look a status is shown in (SCA_STATUS_LOOK_*).
    static uint32_t GetStatusLook(uint32_t status);
    // Sets the background and border of the look that status is shown in; null keeps a colour.
    void SetStatusColors(uint32_t status, const char* bgLow, const char* bgHigh,
                         const char* border);

    QSize sizeHint() const override;

protected:
    static constexpr uint32_t kBgLow = 0;
    static constexpr uint32_t kBgHigh = 1;
    static constexpr uint32_t kBorder = 2;
    static constexpr uint32_t kText = 3;
    static constexpr uint32_t kColours = 4;

    void SetColour(uint32_t look, uint32_t slot, const char* colour);
    // Where the text starts; the variant leaves room for its lamp.
    void SetTextIndent(int indent) { m_TextIndent = indent; }
    void paintEvent(QPaintEvent* event) override;

private:
    QColor ColourOf(uint32_t look, uint32_t slot) const;

    uint32_t m_FontSize;
    uint32_t m_BoldFont = 1;
    char m_Looks[SCA_STATUS_LOOKS][kColours][SCA_STATUS_COLOUR_SIZE] = {};
    uint32_t m_Status = SCA_TASK_STATUS_IDLE;
    QString m_Text;
    int m_TextIndent;
};
