// SPDX-License-Identifier: MIT
#include "model/SCA_TezCounterList.h"

#include <cstring>
#include <iterator>

#include "libmor/SCA_Report.h"
#include "model/SCA_TezCounterMeta.h"

namespace {

// The counters each kind of monitor starts with, chosen as a user of that kind of monitor
// would look at first.
constexpr uint32_t kSystem[] = {1, 2, 3, 40, 41, 4, 5, 72, 7, 10, 59, 16, 38, 39};
constexpr uint32_t kCpu[] = {1, 2, 3, 60, 61, 40, 41, 42};
constexpr uint32_t kMemory[] = {4, 5, 19, 6, 70, 71, 72, 73, 74, 78, 85};
constexpr uint32_t kDisk[] = {59, 57, 7, 8, 9, 10, 11, 12, 13, 14, 15, 154, 157};
constexpr uint32_t kNetwork[] = {16, 17, 18, 62, 63, 64, 65, 66, 67, 68, 69, 300};
constexpr uint32_t kTcp[] = {161, 162, 163, 164, 165, 166, 167, 168, 169};
constexpr uint32_t kTcp4[] = {170, 171, 172, 173, 174, 175, 176, 177, 178};
constexpr uint32_t kWebSite[] = {203, 204, 205, 206, 210, 211, 212, 226, 219, 220};
constexpr uint32_t kShare[] = {93, 95, 96, 88, 99, 106, 110, 113};
constexpr uint32_t kSql[] = {117, 118, 145, 148, 149, 139, 141, 142, 143, 137, 146, 147};
constexpr uint32_t kIscsi[] = {243, 244, 236, 242, 233, 234, 235};
constexpr uint32_t kPhysicalDisk[] = {248, 249, 250, 251, 252, 253, 254, 255, 256, 260, 263};
constexpr uint32_t kTcp6[] = {179, 180, 181, 182, 183, 184, 185, 186, 187};
constexpr uint32_t kPrinter[] = {268, 269, 273, 274, 275, 276, 277, 278};
constexpr uint32_t kUdp[] = {281, 282, 283, 284, 285};
constexpr uint32_t kUdp4[] = {286, 287, 288, 289, 290};
constexpr uint32_t kUdp6[] = {291, 292, 293, 294, 295};
constexpr uint32_t kNetFilter[] = {301, 302, 303, 305, 306, 309, 310, 311, 312};
constexpr uint32_t kDirectory[] = {349, 350, 346, 348, 347, 345, 336,
                                   337, 338, 318, 319, 342, 351, 352};

struct Preset {
    uint32_t Id;
    const uint32_t* Types;
    size_t Count;
};

constexpr Preset kPresets[] = {
    {1, kSystem, std::size(kSystem)},
    {2, kCpu, std::size(kCpu)},
    {3, kMemory, std::size(kMemory)},
    {4, kDisk, std::size(kDisk)},
    {5, kNetwork, std::size(kNetwork)},
    {6, kTcp, std::size(kTcp)},
    {7, kTcp4, std::size(kTcp4)},
    {8, kWebSite, std::size(kWebSite)},
    {9, kShare, std::size(kShare)},
    {10, kSql, std::size(kSql)},
    {11, kIscsi, std::size(kIscsi)},
    {12, kPhysicalDisk, std::size(kPhysicalDisk)},
    {13, kTcp6, std::size(kTcp6)},
    {14, kPrinter, std::size(kPrinter)},
    {15, kUdp, std::size(kUdp)},
    {16, kUdp4, std::size(kUdp4)},
    {17, kUdp6, std::size(kUdp6)},
    {18, kNetFilter, std::size(kNetFilter)},
    {21, kDirectory, std::size(kDirectory)},
};

const Preset* FindPreset(uint32_t id) {
    for (const Preset& preset : kPresets) {
        if (preset.Id == id) {
            return &preset;
        }
    }
    return nullptr;
}

} // namespace

int SCA_TezCounterList::FindCounter(uint32_t type, const char* computer, const char* instance,
                                    const char* namePrefix, SCA_TezCounterInfo** info) const {
    if (computer == nullptr || instance == nullptr) {
        return 0;
    }
    for (Item* node = GetHead(); node != nullptr; node = node->GetNext()) {
        SCA_TezCounterInfo* counter = node->GetItem();
        if (counter == nullptr || counter->GetCounterType() != type ||
            std::strcmp(counter->GetComputerName(), computer) != 0 ||
            std::strcmp(counter->GetInstance(), instance) != 0 ||
            (namePrefix != nullptr && std::strcmp(counter->GetNamePrefix(), namePrefix) != 0)) {
            continue;
        }
        if (info != nullptr) {
            *info = counter;
        }
        return 1;
    }
    return 0;
}

int SCA_TezCounterList::GetCounter(uint32_t type, const char* computer, const char* instance,
                                   SCA_TezCounterInfo** info) const {
    return FindCounter(type, computer, instance, nullptr, info);
}

int SCA_TezCounterList::GetCounter(uint32_t type, const char* computer, const char* instance,
                                   const char* namePrefix, SCA_TezCounterInfo** info) const {
    if (namePrefix == nullptr) {
        return 0;
    }
    return FindCounter(type, computer, instance, namePrefix, info);
}

int SCA_TezCounterList::GetCounterByType(uint32_t type, SCA_TezCounterInfo** info) const {
    for (Item* node = GetHead(); node != nullptr; node = node->GetNext()) {
        SCA_TezCounterInfo* counter = node->GetItem();
        if (counter != nullptr && counter->GetCounterType() == type) {
            if (info != nullptr) {
                *info = counter;
            }
            return 1;
        }
    }
    return 0;
}

int SCA_TezCounterList::Init(uint32_t preset, const char* computer, const char* namePrefix,
                             const char* instance) {
    const Preset* found = FindPreset(preset);
    if (found == nullptr) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                                  "SCA_TezCounterList::Init: "
                                                  "unknown counter preset - %u",
                                                  preset);
        return 0;
    }
    ClearAll();
    for (size_t i = 0; i < found->Count; ++i) {
        if (!AddCounter(found->Types[i], computer, instance, namePrefix, nullptr)) {
            ClearAll();
            return 0;
        }
    }
    return 1;
}

int SCA_TezCounterList::AddCounter(uint32_t type, const char* computer, const char* instance,
                                   const char* namePrefix, uint32_t* id) {
    if (SCA_TezGetCounterMeta(type) == nullptr) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                                  "SCA_TezCounterList::AddCounter: "
                                                  "invalid counter type - %u",
                                                  type);
        return 0;
    }
    auto* counter = new (std::nothrow) SCA_TezCounterInfo();
    uint32_t newId = kNoId;
    if (counter == nullptr ||
        !AddRecord(counter, nullptr, &newId, &SCA_TezCounterInfo::SetCounterId)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                                  "SCA_TezCounterList::AddCounter: "
                                                  "cannot add counter - %u",
                                                  type);
        SCA_Object::Destroy(counter);
        return 0;
    }
    counter->SetCounterType(type);
    counter->SetUnits(SCA_TezGetCounterUnits(type));
    counter->SetComputerName(computer);
    counter->SetInstance(instance);
    counter->SetNamePrefix(namePrefix);
    UpdateCountersStatusId();
    if (id != nullptr) {
        *id = newId;
    }
    return 1;
}

int SCA_TezCounterList::DeleteCounter(uint32_t id) {
    if (!DeleteRecord(id)) {
        return 0;
    }
    UpdateCountersStatusId();
    return 1;
}

int SCA_TezCounterList::MoveCounterUp(uint32_t id) {
    if (!MoveItemUp(id)) {
        return 0;
    }
    UpdateCountersStatusId();
    return 1;
}

int SCA_TezCounterList::MoveCounterDown(uint32_t id) {
    if (!MoveItemDown(id)) {
        return 0;
    }
    UpdateCountersStatusId();
    return 1;
}

void SCA_TezCounterList::ClearAll() {
    ClearRecords();
    UpdateCountersStatusId();
}

int SCA_TezCounterList::CopyFrom(const SCA_TezCounterList& other) {
    if (!CopyRecords(other)) {
        return 0;
    }
    m_CountersStatusId = other.m_CountersStatusId;
    return 1;
}
