// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

// What a condition or rule does when it acts (SCA_TezCond::GetActionType), with the meaning of
// its action value:
//     0      nothing;
//     1      play a notification sound: the value names a sound of the user's sound list;
//     2      send an e-mail: the value is the address;
//     3      save the monitor's report in the product's own format (3);
//     8-14   save the monitor's report as HTML, text, CSV, XML, PDF, Excel or JSON;
// in the last two cases the value, when not empty, is the folder to save into. 4 to 7 are not
// used and do nothing.
inline constexpr uint32_t SCA_ACTION_NONE = 0;
inline constexpr uint32_t SCA_ACTION_PLAY_SOUND = 1;
inline constexpr uint32_t SCA_ACTION_SEND_MAIL = 2;
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

// The report save format of a report action (0 HTML, 1 text, 2 CSV, 3 own, 5 XML, 6 PDF,
// 15 Excel, 22 JSON); 0 for any other action type, with *format untouched.
int SCA_TezGetActionReportFormat(uint32_t actionType, uint32_t* format);
// The report action that saves in format; 0 for a format no action saves in, with *actionType
// untouched.
int SCA_TezGetReportActionType(uint32_t format, uint32_t* actionType);
// "None", "Play Sound", "Send E-mail", "Save Report", "Save HTML Report", ...; "None" for the
// unused types.
const char* SCA_TezGetActionTypeDescr(uint32_t actionType);
