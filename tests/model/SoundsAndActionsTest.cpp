// SPDX-License-Identifier: MIT
// Sounds, the sound list, sound actions and their batches, and actions.
#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include <gtest/gtest.h>

#include "model/SCA_ConfigObj.h"
#include "model/SCA_Sound.h"
#include "model/SCA_SoundAction.h"
#include "model/SCA_SoundActions.h"
#include "model/SCA_SoundList.h"
#include "model/SCA_TezAction.h"
#include "tests/model/RecordTestSupport.h"

namespace {

using records_test::ChildObjects;
using records_test::Travel;

static_assert(!std::is_copy_constructible_v<SCA_SoundList>, "a list owns its sounds");
static_assert(!std::is_copy_constructible_v<SCA_SoundActions>, "a batch owns its actions");

SCA_Sound* NewSound(uint32_t id, const char* name, const char* file = "/sounds/beep.wav") {
    auto* sound = new SCA_Sound();
    sound->SetSoundId(id);
    sound->SetSoundName(name);
    sound->SetFileName(file);
    return sound;
}

SCA_SoundAction* NewAction(uint32_t id, uint64_t time, const char* name) {
    auto* action = new SCA_SoundAction();
    action->SetActionId(id);
    action->SetActionTime(time);
    action->SetSoundName(name);
    return action;
}

std::vector<uint32_t> ActionIds(const SCA_SoundActions& actions) {
    std::vector<uint32_t> ids;
    for (auto* node = actions.GetHead(); node != nullptr; node = node->GetNext()) {
        ids.push_back(node->GetItem()->GetActionId());
    }
    return ids;
}

TEST(SoundListTest, LookupsByNameAreExactAndSkipUnnamedSounds) {
    SCA_SoundList sounds;
    ASSERT_EQ(1, sounds.AddSound(NewSound(1, "Alarm")));
    ASSERT_EQ(1, sounds.AddSound(NewSound(2, "")));
    EXPECT_EQ(1, sounds.IsSoundExists("Alarm"));
    EXPECT_EQ(0, sounds.IsSoundExists("alarm"));
    EXPECT_EQ(0, sounds.IsSoundExists(nullptr));
    EXPECT_EQ(0, sounds.IsSoundExists("")) << "a sound without a name is never found";

    SCA_Sound* found = nullptr;
    ASSERT_EQ(1, sounds.GetSound("Alarm", &found));
    EXPECT_EQ(1u, found->GetSoundId());
    SCA_Sound* untouched = found;
    EXPECT_EQ(0, sounds.GetSound("", &untouched));
    EXPECT_EQ(found, untouched);
    ASSERT_EQ(1, sounds.GetSound(2u, &found));
    EXPECT_STREQ("", found->GetSoundName());
    EXPECT_EQ(1, sounds.DeleteSound(2u));
    EXPECT_EQ(0, sounds.GetSound(2u, &found));
}

TEST(SoundListTest, RoundTripKeepsOrderIdsAndNames) {
    SCA_SoundList sounds;
    ASSERT_EQ(1, sounds.AddSound(NewSound(7, "Warning", "/s/warn.wav")));
    ASSERT_EQ(1, sounds.AddSound(NewSound(3, "Error", "/s/error.wav")));
    SCA_Sound* error = nullptr;
    ASSERT_EQ(1, sounds.GetSound("Error", &error));
    error->SetLastPlayTime(1700000000);

    SCA_ConfigObj object("Sounds", nullptr);
    ASSERT_EQ(1, sounds.Serialize(&object));
    auto received = Travel(object);
    ASSERT_NE(nullptr, received);
    SCA_SoundList copy;
    ASSERT_EQ(1, copy.AddSound(NewSound(9, "Stale")));
    ASSERT_EQ(1, copy.Deserialize(received.get()));
    ASSERT_EQ(2u, copy.Count());
    EXPECT_EQ(0, copy.IsSoundExists("Stale"));
    EXPECT_EQ(7u, copy.GetHead()->GetId());
    EXPECT_STREQ("Warning", copy.GetHead()->GetName());
    SCA_Sound* read = nullptr;
    ASSERT_EQ(1, copy.GetSound("Error", &read));
    EXPECT_EQ(3u, read->GetSoundId());
    EXPECT_STREQ("/s/error.wav", read->GetFileName());
    EXPECT_EQ(1700000000u, read->GetLastPlayTime());
}

TEST(SoundListTest, AnEntryWithoutAnIdIsRefused) {
    SCA_ConfigObj object("Sounds", nullptr);
    ASSERT_EQ(1, object.AddConfigObj("0")->AddField("SoundName", "Nameless"));
    SCA_SoundList sounds;
    EXPECT_EQ(0, sounds.Deserialize(&object));
    EXPECT_EQ(0u, sounds.Count());
}

TEST(SoundActionTest, CopiesKeepIdTimeAndName) {
    SCA_SoundAction source;
    source.SetActionId(12);
    source.SetActionTime(133000000000000000ull);
    source.SetSoundName("Disk Full");
    SCA_SoundAction copy(source);
    EXPECT_EQ(12u, copy.GetActionId());
    EXPECT_EQ(133000000000000000ull, copy.GetActionTime());
    EXPECT_STREQ("Disk Full", copy.GetSoundName());
    SCA_SoundAction assigned;
    assigned = source;
    EXPECT_STREQ("Disk Full", assigned.GetSoundName());
    EXPECT_EQ(source.IsConstructed(), assigned.IsConstructed());
}

TEST(SoundActionTest, NamesAreCutToTheirField) {
    SCA_SoundAction action;
    action.SetSoundName(records_test::StraddlingText(256).c_str());
    EXPECT_EQ(254u, std::strlen(action.GetSoundName()));
    action.SetSoundName(nullptr);
    EXPECT_STREQ("", action.GetSoundName());
}

TEST(SoundActionsTest, SerialiseSelectsActionsAfterTheGivenTime) {
    SCA_SoundActions played;
    ASSERT_EQ(1, played.AddAction(NewAction(1, 100, "A")));
    ASSERT_EQ(1, played.AddAction(NewAction(2, 200, "B")));
    ASSERT_EQ(1, played.AddAction(NewAction(3, 300, "C")));
    EXPECT_EQ(300u, played.GetLastActionTime());

    SCA_ConfigObj object("ActionList", nullptr);
    ASSERT_EQ(1, played.Serialize(200, &object));
    EXPECT_EQ(1u, ChildObjects(object)) << "only the action after time 200";
    SCA_ConfigObj all("ActionList", nullptr);
    ASSERT_EQ(1, played.Serialize(0, &all));
    SCA_ConfigObj none("ActionList", nullptr);
    ASSERT_EQ(1, played.Serialize(300, &none));
    EXPECT_EQ(0u, ChildObjects(none));

    auto received = Travel(all);
    ASSERT_NE(nullptr, received);
    SCA_SoundActions batch;
    ASSERT_EQ(1, batch.Deserialize(received.get()));
    EXPECT_EQ((std::vector<uint32_t>{1, 2, 3}), ActionIds(batch));
    EXPECT_EQ(300u, batch.GetLastActionTime());
    SCA_SoundAction* second = nullptr;
    ASSERT_EQ(1, batch.GetItem(2u, &second));
    EXPECT_STREQ("B", second->GetSoundName());
}

TEST(SoundActionsTest, ReadingABatchReplacesTheOldOne) {
    SCA_SoundActions batch;
    ASSERT_EQ(1, batch.AddAction(NewAction(5, 900, "Old")));
    SCA_ConfigObj object("ActionList", nullptr);
    SCA_SoundActions source;
    ASSERT_EQ(1, source.AddAction(NewAction(6, 50, "New")));
    ASSERT_EQ(1, source.Serialize(0, &object));
    ASSERT_EQ(1, batch.Deserialize(&object));
    EXPECT_EQ((std::vector<uint32_t>{6}), ActionIds(batch));
    EXPECT_EQ(50u, batch.GetLastActionTime()) << "the last time is the new batch's";
}

TEST(TezActionTest, CopiesReferToTheSameSubjects) {
    SCA_TezAction action;
    int report = 0;
    int counter = 0;
    int cond = 0;
    int rule = 0;
    int list = 0;
    action.SetSubject(
        reinterpret_cast<SCA_TezReport*>(&report), reinterpret_cast<SCA_TezCounter*>(&counter),
        reinterpret_cast<SCA_TezCond*>(&cond), reinterpret_cast<SCA_TezProcessRule*>(&rule),
        reinterpret_cast<SCA_TezProcessList*>(&list));
    action.SetActionType(2);
    action.SetReportDir("/var/lib/korvanta/reports");
    action.SetReportEmail("ops@example.org");
    action.SetMonitorName(std::string(300, 'm').c_str());
    EXPECT_EQ(255u, std::strlen(action.GetMonitorName()));

    SCA_TezAction copy(action);
    EXPECT_EQ(action.GetReport(), copy.GetReport());
    EXPECT_EQ(action.GetCounter(), copy.GetCounter());
    EXPECT_EQ(action.GetCond(), copy.GetCond());
    EXPECT_EQ(action.GetProcessRule(), copy.GetProcessRule());
    EXPECT_EQ(action.GetProcessList(), copy.GetProcessList());
    EXPECT_STREQ("/var/lib/korvanta/reports", copy.GetReportDir());
    EXPECT_STREQ("ops@example.org", copy.GetReportEmail());
    EXPECT_EQ(2u, copy.GetActionType());
}

} // namespace
