// SPDX-License-Identifier: MIT
#include "libtez/SCA_TezCondEval.h"

#include <algorithm>
#include <cmath>

#include "model/SCA_TezCond.h"
#include "model/SCA_TezCondType.h"

namespace {

// Values come from measurements: equal means equal to a few parts in a billion.
constexpr double kRelativeTolerance = 1e-9;

bool NearlyEqual(double a, double b) {
    return std::fabs(a - b) <= kRelativeTolerance * std::max({1.0, std::fabs(a), std::fabs(b)});
}

bool Compare(uint32_t comparison, double subject, double value) {
    switch (comparison) {
    case SCA_COND_ABOVE:
        return subject > value;
    case SCA_COND_BELOW:
        return subject < value;
    case SCA_COND_EQUAL:
        return NearlyEqual(subject, value);
    default:
        return !NearlyEqual(subject, value);
    }
}

// The subject's value; false when it has none.
bool Subject(uint32_t condType, const tagSCA_TEZ_COND_INPUT& input, double* subject) {
    switch (SCA_TezGetCondSubject(condType)) {
    case SCA_COND_SUBJECT_VALUE:
        *subject = input.Value;
        return true;
    case SCA_COND_SUBJECT_AVERAGE:
        *subject = input.Average;
        return true;
    case SCA_COND_SUBJECT_CHANGE:
        *subject = input.Change;
        return input.HasChange;
    default:
        return false;
    }
}

} // namespace

tagSCA_TEZ_COND_RESULT SCA_TezEvalCond(const SCA_TezCond& cond, const tagSCA_TEZ_COND_INPUT& input,
                                       tagSCA_TEZ_COND_STATE* state) {
    double subject = 0.0;
    const bool compares =
        cond.IsEnabled() && cond.GetCondType() < SCA_COND_TYPES &&
        Subject(cond.GetCondType(), input, &subject) &&
        Compare(SCA_TezGetCondComparison(cond.GetCondType()), subject, cond.GetCondValue());
    if (!compares) {
        state->Streak = 0;
        return {false, false};
    }
    if (state->Streak < UINT32_MAX) {
        ++state->Streak;
    }
    switch (const uint32_t mode = cond.GetCondMode()) {
    case SCA_COND_MODE_EVERY_TIME:
        return {true, true};
    case SCA_COND_MODE_ONCE: {
        const bool acts = !state->ActedOnce;
        state->ActedOnce = true;
        return {true, acts};
    }
    default:
        return {state->Streak >= mode, state->Streak == mode};
    }
}
