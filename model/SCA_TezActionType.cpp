// SPDX-License-Identifier: MIT
#include "model/SCA_TezActionType.h"

#include <iterator>

namespace {

struct ReportAction {
    uint32_t Format;
    const char* Descr;
};

constexpr uint32_t kOwnFormat = 3;

// Action types 8 to 14, in order.
constexpr ReportAction kReportActions[] = {
    {0, "Save HTML Report"},  {1, "Save Text Report"}, {2, "Save CSV Report"},
    {5, "Save XML Report"},   {6, "Save PDF Report"},  {15, "Save Excel Report"},
    {22, "Save JSON Report"},
};
static_assert(std::size(kReportActions) == SCA_ACTION_REPORT_LAST - SCA_ACTION_REPORT_FIRST + 1);

} // namespace

int SCA_TezGetActionReportFormat(uint32_t actionType, uint32_t* format) {
    if (!SCA_TezIsReportAction(actionType) || format == nullptr) {
        return 0;
    }
    *format = actionType == SCA_ACTION_SAVE_REPORT
                  ? kOwnFormat
                  : kReportActions[actionType - SCA_ACTION_REPORT_FIRST].Format;
    return 1;
}

int SCA_TezGetReportActionType(uint32_t format, uint32_t* actionType) {
    if (actionType == nullptr) {
        return 0;
    }
    if (format == kOwnFormat) {
        *actionType = SCA_ACTION_SAVE_REPORT;
        return 1;
    }
    for (uint32_t i = 0; i < std::size(kReportActions); ++i) {
        if (kReportActions[i].Format == format) {
            *actionType = SCA_ACTION_REPORT_FIRST + i;
            return 1;
        }
    }
    return 0;
}

const char* SCA_TezGetActionTypeDescr(uint32_t actionType) {
    switch (actionType) {
    case SCA_ACTION_PLAY_SOUND:
        return "Play Sound";
    case SCA_ACTION_SEND_MAIL:
        return "Send E-mail";
    case SCA_ACTION_SAVE_REPORT:
        return "Save Report";
    default:
        return actionType >= SCA_ACTION_REPORT_FIRST && actionType <= SCA_ACTION_REPORT_LAST
                   ? kReportActions[actionType - SCA_ACTION_REPORT_FIRST].Descr
                   : "None";
    }
}
