// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>

class QTreeWidget;

// Makes view a flat list of rows, as the dialogs' lists are: the columns with their labels and
// widths (one width per label), no tree decoration, uniform rows, the whole row selected,
// columns that stay in place.
void SCA_SetupListView(QTreeWidget* view, const QStringList& labels, const int* widths);
