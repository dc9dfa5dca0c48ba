// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

// What a condition (or a rule) compares and when it acts.
//
// The condition type picks a subject and a comparison with the condition's value:
//     type = subject * 4 + comparison
// subjects:    0 the current value, 1 the average of the run, 2 the change since the previous
//              value (current - previous);
// comparisons: 0 above, 1 below, 2 equal, 3 not equal.
// So 0 is "value above", 1 "value below", 4 "average above", 9 "change below" and so on.
//
// The condition mode says when a condition that holds acts (adds an error and queues its
// action):
//     0          every sample on which it holds;
//     1          once a run: the first sample on which it holds (a reset starts a new run);
//     N >= 2     when it has held for N samples in a row, once for each such streak.
// A counter's status follows the conditions that hold: the highest report status among them.

inline constexpr uint32_t SCA_COND_SUBJECT_VALUE = 0;
inline constexpr uint32_t SCA_COND_SUBJECT_AVERAGE = 1;
inline constexpr uint32_t SCA_COND_SUBJECT_CHANGE = 2;
inline constexpr uint32_t SCA_COND_SUBJECTS = 3;

inline constexpr uint32_t SCA_COND_ABOVE = 0;
inline constexpr uint32_t SCA_COND_BELOW = 1;
inline constexpr uint32_t SCA_COND_EQUAL = 2;
inline constexpr uint32_t SCA_COND_NOT_EQUAL = 3;
inline constexpr uint32_t SCA_COND_COMPARISONS = 4;

// The number of condition types (0 .. SCA_COND_TYPES - 1).
inline constexpr uint32_t SCA_COND_TYPES = SCA_COND_SUBJECTS * SCA_COND_COMPARISONS;

inline constexpr uint32_t SCA_COND_MODE_EVERY_TIME = 0;
inline constexpr uint32_t SCA_COND_MODE_ONCE = 1;
// The smallest mode that counts samples in a row.
inline constexpr uint32_t SCA_COND_MODE_STREAK = 2;

inline constexpr uint32_t SCA_TezGetCondSubject(uint32_t condType) {
    return condType / SCA_COND_COMPARISONS;
}
inline constexpr uint32_t SCA_TezGetCondComparison(uint32_t condType) {
    return condType % SCA_COND_COMPARISONS;
}

// "Value above", "Average below", "Change not equal", ...; "Unknown" outside the table.
const char* SCA_TezGetCondTypeDescr(uint32_t condType);
// "Every time", "Once", "After N samples in a row" (written into buf); bounded by size.
int SCA_TezGetCondModeDescr(uint32_t condMode, char* buf, uint32_t size);
