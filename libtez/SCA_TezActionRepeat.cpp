// SPDX-License-Identifier: MIT
#include "libtez/SCA_TezActionRepeat.h"

#include "model/SCA_TezActionType.h"
#include "model/SCA_TezConfigUser.h"

namespace {

constexpr uint64_t kNanosPerSecond = 1000000000;

uint32_t Limit(int repeat, uint32_t seconds) {
    return repeat ? seconds : 0;
}

} // namespace

uint32_t SCA_TezActionRepeatSeconds(const SCA_TezUserSettings& settings, uint32_t actionType) {
    if (actionType == SCA_ACTION_PLAY_SOUND) {
        return Limit(settings.RepeatSoundActions, settings.RepeatSoundActionsTime);
    }
    if (actionType == SCA_ACTION_SEND_MAIL) {
        return Limit(settings.RepeatEmailActions, settings.RepeatEmailActionsTime);
    }
    if (SCA_TezIsReportAction(actionType)) {
        return Limit(settings.RepeatReportActions, settings.RepeatReportActionsTime);
    }
    return 0;
}

bool SCA_TezMayRepeatAction(const SCA_TezUserSettings* settings, uint32_t actionType,
                            uint64_t nowNs, tagSCA_TEZ_ACTION_REPEAT* repeat) {
    const uint64_t seconds =
        settings != nullptr ? SCA_TezActionRepeatSeconds(*settings, actionType) : 0;
    if (repeat->HasActed && seconds != 0 && nowNs >= repeat->LastActionNs &&
        nowNs - repeat->LastActionNs < seconds * kNanosPerSecond) {
        return false;
    }
    repeat->HasActed = true;
    repeat->LastActionNs = nowNs;
    return true;
}
