// SPDX-License-Identifier: MIT
#include "korvac/process/SCA_ProcessRowItem.h"

#include <cstring>
#include <iterator>

#include "libvop/SCA_IconEngine.h"
#include "model/SCA_TezCounterMeta.h"
#include "model/SCA_TezRepStatus.h"
#include "model/SCA_TezVocabulary.h"

namespace {

constexpr int kStatusRole = Qt::UserRole;
constexpr uint32_t kValueTextSize = 256;

QString ValueText(uint32_t counterType, double value, bool valid) {
    if (!valid) {
        return QStringLiteral("---");
    }
    char text[kValueTextSize] = "";
    SCA_TezBuildValueString(counterType, value, text, sizeof(text), 0);
    return QString::fromLatin1(text);
}

const char* RepStatusIcon(uint32_t repStatus) {
    switch (repStatus) {
    case SCA_REP_STATUS_WARNING:
        return ":/images/app_warning_16px.png";
    case SCA_REP_STATUS_ERROR:
        return ":/images/app_error_16px.png";
    default:
        return ":/images/app_16px.png";
    }
}

constexpr uint32_t Bit(int column) {
    return 1u << static_cast<uint32_t>(column);
}

// Every column that shows a text: all but the icon's.
constexpr uint32_t kTextColumns = (Bit(SCA_PROC_COLUMNS) - 1u) & ~Bit(SCA_PROC_COL_ICON);

// The whole numbers of a row, by column.
struct CountColumn {
    int Column;
    uint32_t SCA_ProcessStatusRecord::*Value;
};
constexpr CountColumn kCountColumns[] = {
    {SCA_PROC_COL_INSTANCES, &SCA_ProcessStatusRecord::InstanceCount},
    {SCA_PROC_COL_ERRORS, &SCA_ProcessStatusRecord::Errors},
    {SCA_PROC_COL_WARNINGS, &SCA_ProcessStatusRecord::Warnings},
};

// The measures of a row in the order of the record's valid bits, each with its column and the
// counter type that formats it.
struct MeasureColumn {
    int Column;
    uint32_t CounterType;
    double SCA_ProcessStatusRecord::*Value;
};
constexpr MeasureColumn kMeasureColumns[] = {
    {SCA_PROC_COL_CPU, SCA_COUNTER_PROCESS_CPU_USAGE, &SCA_ProcessStatusRecord::CpuUsage},
    {SCA_PROC_COL_MEMORY, SCA_COUNTER_PROCESS_MEM_USED, &SCA_ProcessStatusRecord::MemoryUsage},
    {SCA_PROC_COL_THREADS, SCA_COUNTER_PROCESS_THREADS, &SCA_ProcessStatusRecord::Threads},
    {SCA_PROC_COL_HANDLES, SCA_COUNTER_PROCESS_HANDLES, &SCA_ProcessStatusRecord::Handles},
};

bool MeasureValid(const SCA_ProcessStatusRecord& record, uint32_t measure) {
    return ((record.MeasureValid >> measure) & 1u) != 0;
}

} // namespace

uint32_t SCA_ProcessRowItem::MovedColumns(const SCA_ProcessStatusRecord& shown,
                                          const SCA_ProcessStatusRecord& record) {
    uint32_t moved = 0;
    // A process id the system gave again to another program keeps its row, not its name.
    if (std::strcmp(shown.Name, record.Name) != 0) {
        moved |= Bit(SCA_PROC_COL_NAME);
    }
    for (const CountColumn& count : kCountColumns) {
        if (shown.*count.Value != record.*count.Value) {
            moved |= Bit(count.Column);
        }
    }
    for (uint32_t measure = 0; measure < std::size(kMeasureColumns); ++measure) {
        const MeasureColumn& column = kMeasureColumns[measure];
        if (MeasureValid(shown, measure) != MeasureValid(record, measure) ||
            shown.*column.Value != record.*column.Value) {
            moved |= Bit(column.Column);
        }
    }
    return moved;
}

bool SCA_ProcessRowItem::Show(const SCA_ProcessStatusRecord& record) {
    const uint32_t moved = m_Filled ? MovedColumns(m_Record, record) : kTextColumns;
    const bool statusMoved = !m_Filled || m_Record.RepStatus != record.RepStatus;
    if (moved == 0 && !statusMoved) {
        return false;
    }
    if (statusMoved) {
        setIcon(SCA_PROC_COL_ICON,
                SCA_IconEngine::Load(QString::fromLatin1(RepStatusIcon(record.RepStatus))));
        setData(SCA_PROC_COL_NAME, kStatusRole, record.RepStatus);
    }
    m_Record = record;
    m_Filled = true;
    m_Stale |= moved;
    return true;
}

QVariant SCA_ProcessRowItem::data(int column, int role) const {
    const bool text = role == Qt::DisplayRole || role == Qt::EditRole;
    if (!text || !m_Filled || column <= SCA_PROC_COL_ICON || column >= SCA_PROC_COLUMNS) {
        return SCA_RankedTreeItem::data(column, role);
    }
    if ((m_Stale & Bit(column)) != 0) {
        m_Texts[static_cast<size_t>(column)] = TextOf(column);
        m_Stale &= ~Bit(column);
    }
    return m_Texts[static_cast<size_t>(column)];
}

QString SCA_ProcessRowItem::TextOf(int column) const {
    if (column == SCA_PROC_COL_NAME) {
        return QString::fromUtf8(m_Record.Name);
    }
    for (const CountColumn& count : kCountColumns) {
        if (count.Column == column) {
            return QString::number(m_Record.*count.Value);
        }
    }
    for (uint32_t measure = 0; measure < std::size(kMeasureColumns); ++measure) {
        const MeasureColumn& shown = kMeasureColumns[measure];
        if (shown.Column == column) {
            return ValueText(shown.CounterType, m_Record.*shown.Value,
                             MeasureValid(m_Record, measure));
        }
    }
    return QString();
}
