// SPDX-License-Identifier: MIT
#include "libtez/SCA_TezStatusTable.h"

#include <cstdio>

#include "libmor/SCA_String.h"
#include "libmor/SCA_Time.h"
#include "model/SCA_TezProcessStatus.h"

namespace {

constexpr const char* kNames[SCA_TEZ_STATUS_ROWS] = {"Status", "Time",     "Counters",
                                                     "Errors", "Warnings", "Memory"};

int WriteNumber(uint32_t value, char* buf, uint32_t size) {
    std::snprintf(buf, size, "%u", value);
    return 1;
}

} // namespace

const char* SCA_TezGetStatusName(uint32_t index) {
    return index < SCA_TEZ_STATUS_ROWS ? kNames[index] : "Invalid Status";
}

const char* SCA_TezGetStatusIcon(uint32_t /*index*/) {
    return ":/images/attr_16px.png";
}

int SCA_TezWriteStatusValue(uint32_t index, const tagSCA_TEZ_STATUS_VALUES& values, char* buf,
                            uint32_t size) {
    if (buf == nullptr || size == 0) {
        return 0;
    }
    buf[0] = '\0';
    switch (index) {
    case SCA_TEZ_STATUS_ROW_STATE:
        SCA_StrnCpy(buf, SCA_TezGetProcessStatusDescr(values.ProcessStatus), size);
        return 1;
    case SCA_TEZ_STATUS_ROW_TIME:
        SCA_FormatTime(values.ProcessTime, buf, size);
        return 1;
    case SCA_TEZ_STATUS_ROW_COUNTERS:
        return WriteNumber(values.Counters, buf, size);
    case SCA_TEZ_STATUS_ROW_ERRORS:
        return WriteNumber(values.Errors, buf, size);
    case SCA_TEZ_STATUS_ROW_WARNINGS:
        return WriteNumber(values.Warnings, buf, size);
    case SCA_TEZ_STATUS_ROW_MEMORY:
        SCA_FormatSize(values.MemoryBytes, buf, size);
        return 1;
    default:
        SCA_StrnCpy(buf, "INV", size);
        return 0;
    }
}
