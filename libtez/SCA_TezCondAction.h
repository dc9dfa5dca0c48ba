// SPDX-License-Identifier: MIT
#pragma once

#include "libmor/SCA_Heap.h"
#include "model/SCA_TezAction.h"
#include "model/SCA_TezCond.h"

// The action of a condition or rule that acted: it carries its own copy of the condition (the
// action value names the sound, the address or the folder), so that it stays whole however
// long it waits in the action controller's queue, even when the counter and its conditions
// are gone by then. The report and counter it concerns are left null for the same reason.
class SCA_TezCondAction : public SCA_TezAction {
public:
    SCA_HEAP_OPERATORS

    // monitorId names the monitor whose condition acted (all ones: none). The construction flag
    // is 0 when the copy of cond cannot be made.
    SCA_TezCondAction(const SCA_TezCond& cond, uint64_t absTime, const char* monitorName,
                      uint32_t monitorId);
    ~SCA_TezCondAction() override = default;
    SCA_TezCondAction(const SCA_TezCondAction&) = delete;
    SCA_TezCondAction& operator=(const SCA_TezCondAction&) = delete;

private:
    SCA_TezCond m_CondCopy;
};
