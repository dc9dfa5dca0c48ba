#pragma once

#include <cstdint>

// Action types of conditions and rules that save a report: the plain report, and the range of
// report actions that name how it is saved.
inline constexpr uint32_t SCA_ACTION_SAVE_REPORT = 3;
inline constexpr uint32_t SCA_ACTION_REPORT_FIRST = 8;
inline constexpr uint32_t SCA_ACTION_REPORT_LAST = 14;

// 1 for an action type that saves a report.
inline int SCA_TezIsReportAction(uint32_t actionType) {
    return actionType == SCA_ACTION_SAVE_REPORT ||
                   (actionType >= SCA_ACTION_REPORT_FIRST && actionType <= SCA_ACTION_REPORT_LAST)
               ? 1
               : 0;
}
