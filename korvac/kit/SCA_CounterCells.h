// SPDX-License-Identifier: MIT
#pragma once

#include <QIcon>
#include <cstdint>

#include "model/SCA_TezCounterStatus.h"

class QTreeWidgetItem;

// The cells the live windows show for a counter: its icon by level, and its current, average,
// minimum and maximum value in four columns from firstColumn on ("---" without values).
namespace SCA_CounterCells {

// The warning or error icon, else the counter type's own.
QIcon LevelIcon(uint32_t level, uint32_t counterType);
void ShowNoValues(QTreeWidgetItem* row, int firstColumn);
void ShowValues(QTreeWidgetItem* row, int firstColumn, const tagSCA_TEZ_COUNTER_STATUS& status);

} // namespace SCA_CounterCells
