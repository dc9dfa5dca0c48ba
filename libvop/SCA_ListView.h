// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>

class QTreeWidget;
class QTreeWidgetItem;

// Makes view a flat list of rows, as the dialogs' lists are: the columns with their labels and
// widths (one width per label), no tree decoration, uniform rows, the whole row selected,
// columns that stay in place.
void SCA_SetupListView(QTreeWidget* view, const QStringList& labels, const int* widths);

// Widens every column of view that is narrower than its widest text (header or row) to that
// text, so that no value is cut where the list can grow; columns never shrink.
void SCA_FitColumnsToContents(QTreeWidget* view);
// The same for the columns first to last of a row that has just changed: a column is measured
// again only when the row's text no longer fits it, so a list updated every second stays cheap.
void SCA_FitColumnsToText(QTreeWidget* view, const QTreeWidgetItem* row, int first, int last);
