// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QVariant>
#include <array>
#include <cstdint>

#include "korvac/process/SCA_ProcessStatusRecords.h"
#include "libvop/SCA_RankedTreeItem.h"

// A row of the process view: the record it shows and the texts of its cells. A cell's text is
// made from its value when it is first read after the value moved, so a poll that moves
// thousands of values formats only those of the rows the view paints, and sets none through
// the model, whose every set compares, copies and announces the cell.
class SCA_ProcessRowItem : public SCA_RankedTreeItem {
public:
    // Takes the record's values, the first one whole; whether any cell or the report status
    // moved. A new report status sets the row's icon and its role at once.
    bool Show(const SCA_ProcessStatusRecord& record);

    QVariant data(int column, int role) const override;

private:
    // The columns whose text differs between two records, one bit per column.
    static uint32_t MovedColumns(const SCA_ProcessStatusRecord& shown,
                                 const SCA_ProcessStatusRecord& record);
    QString TextOf(int column) const;

    SCA_ProcessStatusRecord m_Record;
    bool m_Filled = false;
    mutable std::array<QString, SCA_PROC_COLUMNS> m_Texts;
    // One bit per column whose text is to be made again from the record.
    mutable uint32_t m_Stale = 0;
};
