// SPDX-License-Identifier: MIT
#include "korvac/kit/SCA_CounterCells.h"

#include <QTreeWidget>
#include <QTreeWidgetItem>

#include "libvop/SCA_IconEngine.h"
#include "libvop/SCA_ListView.h"
#include "model/SCA_TezCounterMeta.h"
#include "model/SCA_TezVocabulary.h"

namespace {

constexpr uint32_t kTextSize = 256;
constexpr char kNoValue[] = "---";
enum : int { kCurrent, kAverage, kMinimum, kMaximum, kValueColumns };

QString ValueText(uint32_t counterType, double value) {
    char text[kTextSize] = "";
    SCA_TezBuildValueString(counterType, value, text, sizeof(text), 0);
    return QString::fromUtf8(text);
}

} // namespace

QIcon SCA_CounterCells::LevelIcon(uint32_t level, uint32_t counterType) {
    switch (level) {
    case SCA_REP_STATUS_WARNING:
        return SCA_IconEngine::Load(QStringLiteral(":/images/warning_16px.png"));
    case SCA_REP_STATUS_ERROR:
        return SCA_IconEngine::Load(QStringLiteral(":/images/error_16px.png"));
    default:
        return SCA_IconEngine::Load(QString::fromLatin1(SCA_TezGetCounterIcon(counterType)));
    }
}

void SCA_CounterCells::ShowNoValues(QTreeWidgetItem* row, int firstColumn) {
    for (int column = 0; column < kValueColumns; ++column) {
        row->setText(firstColumn + column, QLatin1String(kNoValue));
    }
}

void SCA_CounterCells::ShowValues(QTreeWidgetItem* row, int firstColumn,
                                  const tagSCA_TEZ_COUNTER_STATUS& status) {
    if (status.ValueCount == 0) {
        ShowNoValues(row, firstColumn);
        return;
    }
    const uint32_t type = status.CounterType;
    row->setText(firstColumn + kCurrent,
                 status.HasCurrent ? ValueText(type, status.Current) : QLatin1String(kNoValue));
    row->setText(firstColumn + kAverage, ValueText(type, status.Average));
    row->setText(firstColumn + kMinimum, ValueText(type, status.Minimum));
    row->setText(firstColumn + kMaximum, ValueText(type, status.Maximum));
    if (QTreeWidget* view = row->treeWidget()) {
        SCA_FitColumnsToText(view, row, firstColumn, firstColumn + kMaximum);
    }
}
