// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

class SCA_TezCond;

// What a condition is evaluated on for one sample (see model/SCA_TezCondType.h).
struct tagSCA_TEZ_COND_INPUT {
    double Value;
    double Average; // of the run so far, this value included
    double Change;  // Value minus the previous value
    bool HasChange; // false on the first value
};

// What one condition remembers between samples of one counter.
struct tagSCA_TEZ_COND_STATE {
    uint32_t Streak = 0;    // samples in a row on which the comparison held
    bool ActedOnce = false; // a once-a-run condition that already acted
};

struct tagSCA_TEZ_COND_RESULT {
    bool Holds; // counts for the counter's status
    bool Acts;  // adds an error and queues the condition's action
};

// Evaluates cond (type and mode as model/SCA_TezCondType.h describes them) on input and moves
// its state on. A disabled condition, an unknown type, or a change before the second value
// neither holds nor acts, and ends a streak.
tagSCA_TEZ_COND_RESULT SCA_TezEvalCond(const SCA_TezCond& cond, const tagSCA_TEZ_COND_INPUT& input,
                                       tagSCA_TEZ_COND_STATE* state);
