// SPDX-License-Identifier: MIT
#pragma once

class QTreeWidget;

// What every list of the client's windows shares: one selection style sheet, flat rows of one
// height, no sorting, the focus over the whole row and columns that stay in place.
struct SCA_ListLook {
    static const char* const kSelectionStyle;
    static void Apply(QTreeWidget* tree);
};
