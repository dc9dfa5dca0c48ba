// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

struct SCA_TezUserSettings;

// How often one condition may repeat an action of one kind: with the user's Repeat<Kind>Actions
// switch on, at most once every Repeat<Kind>ActionsTime seconds; with it off, each time the
// condition acts. Sounds, e-mails and reports are the kinds with an action type; the log and
// user kinds have none, so their settings limit nothing here.

// The least seconds between two actions of actionType queued by one condition; 0: no limit.
uint32_t SCA_TezActionRepeatSeconds(const SCA_TezUserSettings& settings, uint32_t actionType);

// What one condition remembers of the actions it queued.
struct tagSCA_TEZ_ACTION_REPEAT {
    bool HasActed = false;
    uint64_t LastActionNs = 0; // monotonic, so that a wall-clock step neither holds nor floods
};

// Whether the condition may queue an action of actionType at monotonic time nowNs; when it may,
// the time is remembered in repeat.
bool SCA_TezMayRepeatAction(const SCA_TezUserSettings* settings, uint32_t actionType,
                            uint64_t nowNs, tagSCA_TEZ_ACTION_REPEAT* repeat);
