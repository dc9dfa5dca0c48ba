// SPDX-License-Identifier: MIT
#include <cstdint>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezCounterInfo.h"
#include "model/SCA_TezCounterList.h"
#include "model/SCA_TezCounterMeta.h"
#include "model/SCA_TezProfile.h"
#include "model/SCA_TezProfileList.h"
#include "model/SCA_TezVocabulary.h"
#include "tests/model/RecordTestSupport.h"

using records_test::Repeat;
using records_test::StoredForm;
using records_test::Transfer;

namespace {

uint32_t Add(SCA_TezCounterList* list, uint32_t type, const char* computer, const char* instance,
             const char* prefix = "") {
    uint32_t id = 0;
    EXPECT_EQ(list->AddCounter(type, computer, instance, prefix, &id), 1);
    return id;
}

// A profile with two counters, the first watched by one condition.
void FillProfile(SCA_TezProfile* profile) {
    profile->SetProfileName("Disks");
    profile->SetComputerName("host-a");
    profile->SetProfileMode(4);
    profile->SetMonitorId(9);
    SCA_TezCounterList* counters = profile->GetCounterList();
    const uint32_t id = Add(counters, 7, "", "C:");
    Add(counters, 10, "", "D:");
    SCA_TezCounterInfo* counter = nullptr;
    ASSERT_EQ(counters->GetCounter(id, &counter), 1);
    auto* cond = new SCA_TezCond();
    cond->SetCondValue(90);
    ASSERT_EQ(counter->GetCondList()->AddCond(cond, nullptr), 1);
}

} // namespace

TEST(CounterLookups, MatchTypeComputerAndInstanceExactly) {
    SCA_TezCounterList list;
    SCA_TezCounterInfo* found = nullptr;
    EXPECT_EQ(list.IsCounterTypeExists(1), 0);
    EXPECT_EQ(list.GetCounter(1, "", "", &found), 0);

    const uint32_t upper = Add(&list, 1, "HOST", "0");
    const uint32_t lower = Add(&list, 1, "host", "0");
    ASSERT_EQ(list.GetCounter(1, "host", "0", &found), 1);
    EXPECT_EQ(found->GetCounterId(), lower);
    ASSERT_EQ(list.GetCounter(1, "HOST", "0", &found), 1);
    EXPECT_EQ(found->GetCounterId(), upper);

    found = nullptr;
    EXPECT_EQ(list.GetCounter(1, "Host", "0", &found), 0);
    EXPECT_EQ(list.GetCounter(1, "host", "00", &found), 0);
    EXPECT_EQ(list.GetCounter(1, "host", "", &found), 0);
    EXPECT_EQ(list.GetCounter(2, "host", "0", &found), 0);
    EXPECT_EQ(found, nullptr);
}

TEST(CounterLookups, NullTextsMatchNothing) {
    SCA_TezCounterList list;
    Add(&list, 1, "", "");
    SCA_TezCounterInfo* found = nullptr;
    EXPECT_EQ(list.GetCounter(1, nullptr, "", &found), 0);
    EXPECT_EQ(list.GetCounter(1, "", nullptr, &found), 0);
    EXPECT_EQ(list.GetCounter(1, "", "", nullptr, &found), 0);
    EXPECT_EQ(found, nullptr);
    EXPECT_EQ(list.GetCounter(1, "", "", "", &found), 1);
}

TEST(CounterLookups, NamePrefixMustMatchToo) {
    SCA_TezCounterList list;
    Add(&list, 145, "", "sales", "PROD");
    SCA_TezCounterInfo* found = nullptr;
    EXPECT_EQ(list.GetCounter(145, "", "sales", "TEST", &found), 0);
    EXPECT_EQ(list.GetCounter(145, "", "sales", "PROD", &found), 1);
    // The four-argument form does not look at the prefix.
    EXPECT_EQ(list.GetCounter(145, "", "sales", &found), 1);
}

TEST(CounterLookups, ByTypeFindsTheCounterNearestTheHead) {
    SCA_TezCounterList list;
    Add(&list, 4, "", "");
    const uint32_t first = Add(&list, 7, "", "C:");
    Add(&list, 7, "", "D:");
    SCA_TezCounterInfo* found = nullptr;
    ASSERT_EQ(list.GetCounterByType(SCA_COUNTER_DISK_ACTIVITY, &found), 1);
    EXPECT_EQ(found->GetCounterId(), first);
    EXPECT_EQ(list.IsCounterTypeExists(7), 1);
    EXPECT_EQ(list.IsCounterTypeExists(8), 0);
}

TEST(CountersStatus, ChangesAdvanceItAndItWraps) {
    SCA_TezCounterList list;
    list.SetCountersStatusId(0xFFFFFFFFu);
    list.UpdateCountersStatusId();
    EXPECT_EQ(list.GetCountersStatusId(), 0u);

    const uint32_t a = Add(&list, 1, "", "");
    const uint32_t b = Add(&list, 4, "", "");
    EXPECT_EQ(list.GetCountersStatusId(), 2u);
    EXPECT_EQ(list.MoveCounterUp(b), 1);
    EXPECT_EQ(list.GetHead()->GetId(), b);
    EXPECT_EQ(list.MoveCounterUp(b), 1); // already first: no move, still a change mark
    EXPECT_EQ(list.MoveCounterDown(b), 1);
    EXPECT_EQ(list.GetTail()->GetId(), b);
    EXPECT_EQ(list.MoveCounterDown(999u), 0);
    EXPECT_EQ(list.DeleteCounter(a), 1);
    EXPECT_EQ(list.DeleteCounter(a), 0);
    const uint32_t before = list.GetCountersStatusId();
    list.ClearAll();
    EXPECT_NE(list.GetCountersStatusId(), before);
}

TEST(CounterList, RefusesUnknownCounterTypes) {
    SCA_TezCounterList list;
    model_test::Reports reports;
    for (uint32_t type : {0u, SCA_TEZ_MAX_COUNTER_TYPE + 1, 0xFFFFFFFFu}) {
        EXPECT_EQ(list.AddCounter(type, "", "", "", nullptr), 0);
    }
    EXPECT_EQ(list.Count(), 0u);
    EXPECT_EQ(reports.TakeTexts().size(), 3u);
}

TEST(CounterList, CutsLongTextsToTheirFields) {
    SCA_TezCounterList list;
    const std::string computer = Repeat('c', 70);
    const uint32_t id =
        Add(&list, 1, computer.c_str(), Repeat('i', 300).c_str(), Repeat('p', 64).c_str());
    SCA_TezCounterInfo* counter = nullptr;
    ASSERT_EQ(list.GetCounter(id, &counter), 1);
    EXPECT_EQ(std::string(counter->GetComputerName()), Repeat('c', 63));
    EXPECT_EQ(std::string(counter->GetInstance()), Repeat('i', 255));
    EXPECT_EQ(std::string(counter->GetNamePrefix()), Repeat('p', 63));
    // The stored name is what look-ups compare.
    EXPECT_EQ(list.GetCounter(1, computer.c_str(), counter->GetInstance(), &counter), 0);
}

TEST(CounterPresets, EveryMonitorKindHasItsCounters) {
    // Preset -> the instance group every counter of a per-item preset belongs to.
    const std::pair<uint32_t, uint32_t> perItem[] = {
        {4, SCA_TEZ_GROUP_DISK},           {5, SCA_TEZ_GROUP_NIC},
        {8, SCA_TEZ_GROUP_WEB_SITE},       {9, SCA_TEZ_GROUP_SHARE},
        {10, SCA_TEZ_GROUP_DATABASE},      {11, SCA_TEZ_GROUP_ISCSI},
        {12, SCA_TEZ_GROUP_PHYSICAL_DISK}, {14, SCA_TEZ_GROUP_PRINTER}};
    for (uint32_t preset = 1; preset <= 21; ++preset) {
        SCA_TezCounterList list;
        const bool known = preset <= 18 || preset == 21;
        model_test::Reports reports;
        ASSERT_EQ(list.Init(preset, nullptr, nullptr, nullptr), known ? 1 : 0) << preset;
        if (!known) {
            continue;
        }
        EXPECT_GE(list.Count(), 5u) << preset;
        std::set<uint32_t> types;
        for (auto* node = list.GetHead(); node != nullptr; node = node->GetNext()) {
            const uint32_t type = node->GetItem()->GetCounterType();
            EXPECT_TRUE(types.insert(type).second) << "preset " << preset << " type " << type;
            EXPECT_EQ(node->GetItem()->GetUnits(), SCA_TezGetCounterUnits(type));
        }
        for (const auto& [itemPreset, group] : perItem) {
            for (uint32_t type : types) {
                if (itemPreset == preset) {
                    EXPECT_EQ(SCA_TezGetCounterGroup(type), group) << preset << " " << type;
                }
            }
        }
    }
}

TEST(CounterPresets, ProtocolVersionsGetTheirOwnCounters) {
    // TCP without version info, v4, v6; UDP likewise.
    const std::pair<uint32_t, uint32_t> firstType[] = {{6, 161},  {7, 170},  {13, 179},
                                                       {15, 281}, {16, 286}, {17, 291}};
    for (const auto& [preset, type] : firstType) {
        SCA_TezCounterList list;
        ASSERT_EQ(list.Init(preset, nullptr, nullptr, nullptr), 1);
        EXPECT_EQ(list.GetHead()->GetItem()->GetCounterType(), type) << preset;
    }
}

TEST(CounterPresets, InitPassesTheTextsToEveryCounterAndReplacesTheList) {
    SCA_TezCounterList list;
    Add(&list, 300, "", "");
    ASSERT_EQ(list.Init(10, nullptr, "SALES", "orders"), 1);
    EXPECT_EQ(list.IsCounterTypeExists(300), 0);
    for (auto* node = list.GetHead(); node != nullptr; node = node->GetNext()) {
        EXPECT_STREQ(node->GetItem()->GetComputerName(), "");
        EXPECT_STREQ(node->GetItem()->GetNamePrefix(), "SALES");
        EXPECT_STREQ(node->GetItem()->GetInstance(), "orders");
    }
    model_test::Reports reports;
    const uint32_t count = list.Count();
    EXPECT_EQ(list.Init(19, nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(list.Count(), count);
    EXPECT_EQ(reports.TakeTexts(),
              std::vector<std::string>{"SCA_TezCounterList::Init: unknown counter preset - 19"});
}

TEST(CounterInfoCopies, OwnTheirConditions) {
    SCA_TezProfile profile;
    FillProfile(&profile);
    SCA_TezCounterInfo* source = profile.GetCounterList()->GetHead()->GetItem();

    auto* copy = new SCA_TezCounterInfo(*source);
    ASSERT_EQ(copy->IsConstructed(), 1u);
    ASSERT_EQ(copy->GetCondList()->Count(), 1u);
    EXPECT_NE(copy->GetCondList()->GetHead()->GetItem(),
              source->GetCondList()->GetHead()->GetItem());
    EXPECT_EQ(StoredForm(*copy), StoredForm(*source));

    SCA_TezCounterInfo assigned;
    assigned = *copy;
    SCA_Object::Destroy(copy); // the assigned record must not lean on the copy's conditions
    EXPECT_EQ(assigned.GetCondList()->GetHead()->GetItem()->GetCondValue(), 90.0);
    EXPECT_STREQ(assigned.GetDescription(), "Disk Activity");
}

TEST(ProfileCopies, OwnTheirCountersEvenWhenMemoryRunsOut) {
    SCA_TezProfile profile;
    FillProfile(&profile);
    const std::string form = StoredForm(profile);
    bool sawFailure = false;
    for (uint32_t n = 1; n < 40; ++n) {
        SCA_TezProfile target;
        target.SetProfileName("old");
        int result = 0;
        {
            model_test::HeapFailure failure(n);
            result = target.SetContent(profile);
        }
        if (result) {
            EXPECT_EQ(StoredForm(target), form);
        } else {
            sawFailure = true;
            EXPECT_STREQ(target.GetProfileName(), "old");
            EXPECT_EQ(target.GetCounterList()->Count(), 0u);
        }
    }
    EXPECT_TRUE(sawFailure);

    SCA_TezProfile copy(profile);
    profile.GetCounterList()->ClearAll();
    EXPECT_EQ(copy.GetCounterList()->Count(), 2u);
    EXPECT_EQ(copy.GetCounterList()->GetHead()->GetItem()->GetCondList()->Count(), 1u);
}

TEST(ProfileRecords, RoundTripWithCountersAndConditions) {
    SCA_TezProfile profile;
    FillProfile(&profile);
    profile.SetProfileId(3);
    SCA_TezProfile read;
    ASSERT_EQ(Transfer(profile, &read), 1);
    EXPECT_EQ(StoredForm(read), StoredForm(profile));
    EXPECT_EQ(read.GetProfileId(), 3u);
    EXPECT_EQ(read.GetMonitorId(), 9u);
    EXPECT_STREQ(read.GetComputerName(), "host-a");
    ASSERT_EQ(read.GetCounterList()->Count(), 2u);
    SCA_TezCounterInfo* counter = nullptr;
    ASSERT_EQ(read.GetCounterList()->GetCounter(7, "", "C:", &counter), 1);
    EXPECT_EQ(counter->GetCondList()->Count(), 1u);
    // Reading a stored list is a change of the counters.
    EXPECT_NE(read.GetCountersStatusId(), SCA_TezProfile().GetCountersStatusId());
}

TEST(ProfileList, NamesAreUniqueAndLookUpsAreExact) {
    SCA_TezProfileList list;
    model_test::Reports reports;
    EXPECT_EQ(list.IsProfileExists(static_cast<const char*>(nullptr)), 0);
    EXPECT_EQ(list.IsProfileExists(""), 0);

    SCA_TezProfile* servers = nullptr;
    ASSERT_EQ(list.AddProfile("Servers", &servers), 1);
    EXPECT_EQ(servers->GetProfileId(), list.GetHead()->GetId());
    EXPECT_EQ(list.AddProfile("Servers", nullptr), 0);
    EXPECT_EQ(list.AddProfile("", nullptr), 0);
    EXPECT_EQ(list.AddProfile(nullptr, nullptr), 0);
    EXPECT_EQ(list.Count(), 1u);

    EXPECT_EQ(list.IsProfileExists("Servers"), 1);
    EXPECT_EQ(list.IsProfileExists("servers"), 0);
    EXPECT_EQ(list.IsProfileExists(servers->GetProfileId()), 1);
    SCA_TezProfile* found = nullptr;
    ASSERT_EQ(list.GetProfile(servers->GetProfileId(), &found), 1);
    EXPECT_EQ(found, servers);
    EXPECT_EQ(list.GetProfile(static_cast<const char*>(nullptr), &found), 0);

    // A name longer than the field is stored cut, and the cut name is what counts.
    ASSERT_EQ(list.AddProfile(Repeat('n', 300).c_str(), nullptr), 1);
    EXPECT_EQ(list.IsProfileExists(Repeat('n', 255).c_str()), 1);
    EXPECT_EQ(list.AddProfile(Repeat('n', 256).c_str(), nullptr), 0);
}

TEST(ProfileList, CopyAndRenameKeepNamesAndRecordsInStep) {
    SCA_TezProfileList list;
    SCA_TezProfile* disks = nullptr;
    ASSERT_EQ(list.AddProfile("Disks", &disks), 1);
    FillProfile(disks);
    disks->SetProfileName("Disks");

    uint32_t copyId = 0;
    ASSERT_EQ(list.CopyProfile("Disks", "Disks 2", &copyId), 1);
    EXPECT_NE(copyId, disks->GetProfileId());
    SCA_TezProfile* copy = nullptr;
    ASSERT_EQ(list.GetProfile("Disks 2", &copy), 1);
    EXPECT_EQ(copy->GetProfileId(), copyId);
    EXPECT_EQ(copy->GetCounterList()->Count(), 2u);
    EXPECT_NE(copy->GetCounterList()->GetHead()->GetItem(),
              disks->GetCounterList()->GetHead()->GetItem());

    model_test::Reports reports;
    EXPECT_EQ(list.CopyProfile("Nope", "X", nullptr), 0);
    EXPECT_EQ(list.CopyProfile("Disks", "Disks 2", nullptr), 0);
    EXPECT_EQ(list.RenameProfile("Disks 2", "Disks"), 0);
    ASSERT_EQ(list.RenameProfile("Disks 2", "Backup disks"), 1);
    EXPECT_STREQ(copy->GetProfileName(), "Backup disks");
    EXPECT_EQ(list.IsProfileExists("Disks 2"), 0);
    EXPECT_EQ(list.GetProfile("Backup disks", &copy), 1);
}

TEST(ProfileList, RoundTripKeepsIdsNamesAndOrder) {
    SCA_TezProfileList list;
    SCA_TezProfile* profile = nullptr;
    for (const char* name : {"A", "B", "C"}) {
        ASSERT_EQ(list.AddProfile(name, &profile), 1);
    }
    FillProfile(profile);
    profile->SetProfileName("C");
    ASSERT_EQ(list.DeleteProfile(1u), 1);
    ASSERT_EQ(list.MoveItemToHead(3u), 1);

    SCA_TezProfileList read;
    ASSERT_EQ(Transfer(list, &read), 1);
    EXPECT_EQ(StoredForm(read), StoredForm(list));
    ASSERT_EQ(read.Count(), 2u);
    EXPECT_STREQ(read.GetItemNameByPos(0), "C");
    EXPECT_STREQ(read.GetItemNameByPos(1), "B");
    EXPECT_EQ(read.GetHead()->GetId(), 3u);
    ASSERT_EQ(read.GetProfile("C", &profile), 1);
    EXPECT_EQ(profile->GetCounterList()->Count(), 2u);
    SCA_TezProfile* added = nullptr;
    ASSERT_EQ(read.AddProfile("D", &added), 1);
    EXPECT_EQ(added->GetProfileId(), 4u);
}
