// SPDX-License-Identifier: MIT
#include "libvop/SCA_ListView.h"

#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QHeaderView>
#include <QStyle>
#include <QTreeWidget>
#include <algorithm>
#include <array>

void SCA_SetupListView(QTreeWidget* view, const QStringList& labels, const int* widths) {
    view->setColumnCount(static_cast<int>(labels.size()));
    view->setHeaderLabels(labels);
    for (int column = 0; column < labels.size(); ++column) {
        view->setColumnWidth(column, widths[column]);
    }
    view->setRootIsDecorated(false);
    view->setUniformRowHeights(true);
    view->setAllColumnsShowFocus(true);
    view->header()->setSectionsMovable(false);
}

namespace {

constexpr int kLatin1 = 256;
using Advances = std::array<int, kLatin1>;

// The advances of a font's Latin-1 characters, read once per font: the cells of a list updated
// every second hold digits, signs and units, and measuring such a text as a whole shapes it
// anew at every update.
const Advances& Latin1AdvancesOf(const QFont& font, const QFontMetrics& metrics) {
    static QHash<QString, Advances> fonts;
    const QString key = font.key();
    auto found = fonts.find(key);
    if (found == fonts.end()) {
        Advances advances{};
        for (int code = 0; code < kLatin1; ++code) {
            advances[static_cast<size_t>(code)] = metrics.horizontalAdvance(QChar(code));
        }
        found = fonts.insert(key, advances);
    }
    return found.value();
}

// Whether text surely fits width, from the sum of its characters' advances: kerning and the
// rounding of each advance move a text by less than a pixel a character. False when unsure
// (a character beyond Latin-1, or too close to call): the text is then measured whole.
bool SurelyFits(const Advances& advances, const QString& text, int width) {
    int sum = 0;
    for (const QChar character : text) {
        if (character.unicode() >= kLatin1) {
            return false;
        }
        sum += advances[character.unicode()];
    }
    return sum + static_cast<int>(text.size()) <= width;
}

void Widen(QTreeWidget* view, int column) {
    const int width = view->columnWidth(column);
    view->resizeColumnToContents(column);
    view->setColumnWidth(column, std::max(width, view->columnWidth(column)));
}

} // namespace

void SCA_FitColumnsToContents(QTreeWidget* view) {
    for (int column = 0; column < view->columnCount(); ++column) {
        Widen(view, column);
    }
}

void SCA_FitColumnsToText(QTreeWidget* view, const QTreeWidgetItem* row, int first, int last) {
    const QFont font = view->font();
    const QFontMetrics metrics(font);
    const Advances& advances = Latin1AdvancesOf(font, metrics);
    // The cell's padding and a margin: what resizeColumnToContents adds to the text.
    const int padding =
        2 * view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) +
        metrics.averageCharWidth();
    for (int column = first; column <= last && column < view->columnCount(); ++column) {
        const QString text = row->text(column);
        const int room = view->columnWidth(column) - padding;
        if (!SurelyFits(advances, text, room) && metrics.horizontalAdvance(text) > room) {
            Widen(view, column);
        }
    }
}
