// SPDX-License-Identifier: MIT
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/SCA_PerfMonCounter.h"
#include "model/SCA_TezCounterMeta.h"

namespace {

std::string Name(uint32_t type) {
    return SCA_PerfMonCounter::GetTypeName(type);
}
std::string Descr(uint32_t type) {
    return SCA_PerfMonCounter::GetTypeDescription(type);
}

std::string Value(uint32_t type, double value) {
    char buf[128];
    EXPECT_EQ(SCA_TezBuildValueString(type, value, buf, sizeof(buf), 0), 1);
    return buf;
}

// The counter lists of the counter picker's categories, with the instance group each needs.
struct Category {
    uint32_t Group;
    std::vector<uint32_t> Types;
};

std::vector<uint32_t> Range(uint32_t first, uint32_t last) {
    std::vector<uint32_t> types;
    for (uint32_t type = first; type <= last; ++type) {
        types.push_back(type);
    }
    return types;
}

std::vector<Category> PickerCategories() {
    return {
        {SCA_TEZ_GROUP_CPU, {1, 2, 3, 60, 61, 75, 76, 77}},
        {SCA_TEZ_GROUP_CPU_FREQ, {80, 81}},
        {SCA_TEZ_GROUP_MEMORY, {4, 5, 19, 6, 70, 71, 72, 73, 74, 78, 79, 85, 86}},
        {SCA_TEZ_GROUP_DISK, {59, 57,  7,   8,   9,   10,  11,  12,  13,  14,  15,
                              58, 151, 152, 153, 154, 155, 156, 157, 158, 159, 160}},
        {SCA_TEZ_GROUP_NIC, {16, 17, 18, 62, 63, 64, 65, 66, 67, 68, 69, 300}},
        {SCA_TEZ_GROUP_PROTOCOL, Range(161, 187)},
        {SCA_TEZ_GROUP_PROTOCOL, Range(281, 295)},
        {SCA_TEZ_GROUP_SYSTEM, {38, 39, 115, 314, 315, 316, 317, 32, 31, 298, 297, 33,
                                82, 83, 34,  299, 35,  36,  296, 37, 40, 41,  42}},
        {SCA_TEZ_GROUP_PROCESS,
         {43, 44, 45, 46, 87, 114, 48, 47, 49, 50, 51, 52, 53, 54, 55, 56, 245, 247, 246}},
        {SCA_TEZ_GROUP_FILE_SYSTEM, Range(24, 30)},
        {SCA_TEZ_GROUP_PHYSICAL_DISK, Range(248, 267)},
        {SCA_TEZ_GROUP_NET_FILTER, Range(301, 313)},
        {SCA_TEZ_GROUP_DIRECTORY, Range(318, 374)},
        {SCA_TEZ_GROUP_SHARE, Range(88, 113)},
        {SCA_TEZ_GROUP_DATABASE, Range(116, 150)},
        {SCA_TEZ_GROUP_WEB_SITE, Range(188, 232)},
        {SCA_TEZ_GROUP_ISCSI, Range(233, 244)},
        {SCA_TEZ_GROUP_PRINTER, Range(268, 280)},
        {SCA_TEZ_GROUP_USB, Range(20, 23)},
    };
}

} // namespace

TEST(CounterVocabulary, HasTheNamedAndDescribedTypesOfItsFamilies) {
    uint32_t named = 0;
    uint32_t described = 0;
    for (uint32_t type = 1; type <= 317; ++type) {
        named += Name(type) != "INV" ? 1u : 0u;
        described += Descr(type) != "INV" ? 1u : 0u;
    }
    EXPECT_EQ(named, 203u);
    EXPECT_EQ(described, 206u);
}

TEST(CounterVocabulary, AnswersInvOutsideItsRangeAndInItsGaps) {
    for (uint32_t type : {0u, 318u, 374u, 0xFFFFFFFFu, 88u, 113u, 161u, 232u, 301u, 313u}) {
        EXPECT_EQ(Name(type), "INV") << type;
        EXPECT_EQ(Descr(type), "INV") << type;
    }
}

TEST(CounterVocabulary, KeepsItsTextsAsTheyStand) {
    EXPECT_EQ(Name(1), "CPU_USAGE");
    EXPECT_EQ(Descr(1), "CPU Usage");
    EXPECT_EQ(Name(317), "OS_TOTAL_SEMAPHORES");
    EXPECT_EQ(Descr(317), "Total Semaphores");
    EXPECT_EQ(Name(296), "OS_GRANTED ACCESS_ERRORS");
    EXPECT_EQ(Name(117), "SQL_SRV_SUER_CONNECTIONS");
    EXPECT_EQ(Descr(284), "UDP Datagrams Recv Rate");
    EXPECT_EQ(Descr(81), "CPU Percent of Max Frequency");
    // Described but unnamed.
    EXPECT_EQ(Name(40), "INV");
    EXPECT_EQ(Descr(40), "Processor Queue");
    EXPECT_EQ(Descr(41), "Context Switch Rate");
    EXPECT_EQ(Descr(42), "System Call Rate");
}

TEST(CounterVocabulary, PhysicalDisksMirrorTheLogicalDiskFamily) {
    std::vector<std::pair<uint32_t, uint32_t>> mirrors;
    for (uint32_t i = 0; i < 9; ++i) {
        mirrors.emplace_back(248 + i, 7 + i);
    }
    for (uint32_t i = 0; i < 10; ++i) {
        mirrors.emplace_back(257 + i, 151 + i);
    }
    mirrors.emplace_back(267, 58);
    for (const auto& [physical, logical] : mirrors) {
        EXPECT_EQ(Name(physical), "P" + Name(logical)) << physical;
        EXPECT_EQ(Descr(physical), "Physical " + Descr(logical)) << physical;
    }
}

TEST(CounterVocabulary, UdpVersionsMirrorTheUdpFamily) {
    for (uint32_t i = 0; i < 5; ++i) {
        const std::string name = Name(281 + i).substr(3);
        const std::string descr = Descr(281 + i).substr(3);
        EXPECT_EQ(Name(286 + i), "UDP4" + name);
        EXPECT_EQ(Name(291 + i), "UDP6" + name);
        EXPECT_EQ(Descr(286 + i), "UDP v4" + descr);
        EXPECT_EQ(Descr(291 + i), "UDP v6" + descr);
    }
}

TEST(CounterVocabulary, CpuUsageTestLooksAtTheArgumentOnly) {
    const std::set<uint32_t> cpu = {1, 2, 3, 43, 44, 45, 75, 76, 77};
    SCA_PerfMonCounter counter;
    counter.SetType(1);
    for (uint32_t type = 0; type <= 400; ++type) {
        EXPECT_EQ(counter.IsCpuUsageCounter(type), cpu.count(type) != 0 ? 1 : 0) << type;
    }
    counter.SetType(4);
    EXPECT_EQ(counter.IsCpuUsageCounter(44), 1);
    EXPECT_EQ(counter.IsCpuUsageCounter(0xFFFFFFFFu), 0);
}

TEST(CounterVocabulary, RecordAnswersForItsOwnTypeAndCopiesWhole) {
    SCA_PerfMonCounter counter;
    counter.SetId(7);
    counter.SetTezId(9);
    counter.SetType(248);
    counter.SetUpdateCount(0xFFFFFFFFu);
    counter.SetValue(12.5);
    counter.SetValid(1);
    EXPECT_STREQ(counter.GetName(), "PDISK_ACTIVITY");
    EXPECT_STREQ(counter.GetDescription(), "Physical Disk Activity");

    SCA_PerfMonCounter copy(counter);
    EXPECT_EQ(copy.IsConstructed(), 1u);
    EXPECT_EQ(copy.GetId(), 7u);
    EXPECT_EQ(copy.GetTezId(), 9u);
    EXPECT_EQ(copy.GetUpdateCount(), 0xFFFFFFFFu);
    EXPECT_EQ(copy.GetValue(), 12.5);
    EXPECT_EQ(copy.IsValid(), 1);
    EXPECT_EQ(copy.GetPdhCounter(), counter.GetPdhCounter());
    EXPECT_STREQ(copy.GetName(), "PDISK_ACTIVITY");
}

TEST(CounterMetadata, DescribesEveryTypeWithAUnitAndAGroup) {
    std::set<std::string> descriptions;
    for (uint32_t type = 1; type <= SCA_TEZ_MAX_COUNTER_TYPE; ++type) {
        const tagSCA_TEZ_COUNTER_META* meta = SCA_TezGetCounterMeta(type);
        ASSERT_NE(meta, nullptr) << type;
        ASSERT_NE(meta->Description, nullptr) << type;
        EXPECT_GT(std::strlen(meta->Description), 0u) << type;
        EXPECT_LE(meta->Units, SCA_TEZ_UNITS_BITS_PER_SEC) << type;
        EXPECT_LE(meta->Group, SCA_TEZ_GROUP_DIRECTORY) << type;
        EXPECT_TRUE(descriptions.insert(meta->Description).second)
            << "description used twice: " << meta->Description;
        EXPECT_STREQ(SCA_TezGetCounterDescr(type), meta->Description);
    }
}

TEST(CounterMetadata, AgreesWithTheVocabularyWhereItHasATextOfItsOwn) {
    for (uint32_t type = 1; type <= 317; ++type) {
        if (Descr(type) != "INV") {
            EXPECT_EQ(Descr(type), SCA_TezGetCounterDescr(type)) << type;
        }
    }
}

TEST(CounterMetadata, AnswersSafelyForUnknownTypes) {
    for (uint32_t type : {0u, 375u, 0xFFFFFFFFu}) {
        EXPECT_EQ(SCA_TezGetCounterMeta(type), nullptr);
        EXPECT_STREQ(SCA_TezGetCounterDescr(type), "Unknown Counter");
        EXPECT_EQ(SCA_TezGetCounterUnits(type), SCA_TEZ_UNITS_COUNT);
        EXPECT_EQ(SCA_TezGetCounterGroup(type), SCA_TEZ_GROUP_NONE);
    }
}

TEST(CounterMetadata, GroupsFollowThePickersCategories) {
    std::set<uint32_t> seen;
    for (const Category& category : PickerCategories()) {
        for (uint32_t type : category.Types) {
            EXPECT_EQ(SCA_TezGetCounterGroup(type), category.Group) << "type " << type;
            seen.insert(type);
        }
    }
    // Every type the picker offers is in some category; 84 (memory limit) is the only one
    // left out of the lists.
    for (uint32_t type = 1; type <= SCA_TEZ_MAX_COUNTER_TYPE; ++type) {
        if (type != 84) {
            EXPECT_EQ(seen.count(type), 1u) << "type " << type << " is in no category";
        }
    }
}

TEST(CounterMetadata, ProcessRuleCountersMeasureProcesses) {
    for (uint32_t type : {43u, 46u, 48u, 47u, 51u, 53u, 55u, 114u, 87u}) {
        EXPECT_EQ(SCA_TezGetCounterGroup(type), SCA_TEZ_GROUP_PROCESS) << type;
    }
}

TEST(CounterValueString, FormatsByTheTypesUnit) {
    EXPECT_EQ(Value(1, 45.26), "45.3%");
    EXPECT_EQ(Value(5, 512), "512 B");
    EXPECT_EQ(Value(5, 1536), "1.50 KB");
    EXPECT_EQ(Value(5, 3.0 * 1024 * 1024 * 1024), "3.00 GB");
    EXPECT_EQ(Value(16, 2.5 * 1024 * 1024), "2.50 MB/s");
    EXPECT_EQ(Value(13, 120.04), "120.0/s");
    EXPECT_EQ(Value(38, 312), "312");
    EXPECT_EQ(Value(157, 0.5), "0.50");
    EXPECT_EQ(Value(154, 4.126), "4.13 ms");
    EXPECT_EQ(Value(80, 2400), "2400 MHz");
    EXPECT_EQ(Value(246, 3661), "01:01:01");
    EXPECT_EQ(Value(300, 1e9), "1.00 Gbit/s");
    EXPECT_EQ(Value(0xFFFFFFFFu, 7), "7");
}

TEST(CounterValueString, ShowsMissingValuesAsDashes) {
    EXPECT_EQ(Value(1, std::numeric_limits<double>::quiet_NaN()), "---");
    EXPECT_EQ(Value(5, std::numeric_limits<double>::infinity()), "---");
}

TEST(CounterValueString, NeverWritesPastTheBuffer) {
    char buf[6];
    std::memset(buf, 'x', sizeof(buf));
    EXPECT_EQ(SCA_TezBuildValueString(5, 1536, buf, 5, 0), 0);
    EXPECT_STREQ(buf, "1.50");
    EXPECT_EQ(buf[5], 'x');

    char untouched = 'x';
    EXPECT_EQ(SCA_TezBuildValueString(5, 1536, &untouched, 0, 0), 0);
    EXPECT_EQ(untouched, 'x');
    EXPECT_EQ(SCA_TezBuildValueString(5, 1536, nullptr, 16, 0), 0);
}
