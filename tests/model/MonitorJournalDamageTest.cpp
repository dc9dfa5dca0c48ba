// SPDX-License-Identifier: MIT
// A monitors journal with one damaged record, each record in turn and each kind of damage: the
// records that verify are all replayed, no id is handed out twice and the damaged journal is
// kept byte for byte.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "libmor/SCA_FileSystem.h"
#include "libmor/SCA_Report.h"
#include "model/SCA_SrvMonitorList.h"
#include "tests/model/ModelTestSupport.h"

namespace {

constexpr uint32_t kRecords = 10;
constexpr size_t kLengthBytes = 8;

struct Span {
    size_t Offset;
    size_t Size;
};

std::string Description(uint32_t id) {
    return "monitor " + std::to_string(id);
}

// A journal of kRecords acknowledged additions (ids 1..kRecords) and where each record lies.
std::string AcknowledgedJournal(const model_test::TempDir& dir, std::vector<Span>* spans) {
    SCA_SrvMonitorList list(nullptr, nullptr);
    list.SetConfigDir(dir.Path().c_str());
    for (uint32_t id = 1; id <= kRecords; ++id) {
        const uint64_t before = list.GetJournalSize();
        SCA_SrvMonitor* monitor = nullptr;
        EXPECT_EQ(list.AddMonitor(SCA_SRV_MONITOR_COUNTERS, 7, Description(id).c_str(), &monitor),
                  1);
        EXPECT_EQ(list.StoreChange(id), 1);
        spans->push_back({before, list.GetJournalSize() - before});
    }
    std::string journal;
    uint32_t error = 0;
    EXPECT_EQ(SCA_ReadFile((dir / SCA_SRV_MONITORS_JOURNAL).c_str(), &journal, 1 << 20, &error), 1);
    return journal;
}

enum class Damage { FlippedByte, BadLength, CutShort, Swapped };

const char* Name(Damage damage) {
    switch (damage) {
    case Damage::FlippedByte:
        return "a flipped byte";
    case Damage::BadLength:
        return "a bad length";
    case Damage::CutShort:
        return "cut short";
    case Damage::Swapped:
        return "swapped with the next";
    }
    return "";
}

// The journal with record (0-based) damaged; the ids whose records stay whole.
std::string Damaged(std::string journal, const std::vector<Span>& spans, size_t record,
                    Damage damage, std::vector<uint32_t>* whole) {
    const Span span = spans[record];
    for (uint32_t id = 1; id <= kRecords; ++id) {
        if (damage == Damage::Swapped || id != record + 1) {
            whole->push_back(id);
        }
    }
    switch (damage) {
    case Damage::FlippedByte:
        journal[span.Offset + span.Size / 2] ^= 0x20;
        break;
    case Damage::BadLength:
        journal[span.Offset] = static_cast<char>(journal[span.Offset] + 3);
        break;
    case Damage::CutShort:
        journal.erase(span.Offset + kLengthBytes + 20, 30);
        break;
    case Damage::Swapped: {
        const Span next = spans[record + 1];
        const std::string first = journal.substr(span.Offset, span.Size);
        const std::string second = journal.substr(next.Offset, next.Size);
        journal.replace(span.Offset, span.Size + next.Size, second + first);
        break;
    }
    }
    return journal;
}

std::vector<std::string> Descriptions(const SCA_SrvMonitorList& list) {
    std::vector<std::string> texts;
    for (auto* node = list.GetHead(); node != nullptr; node = node->GetNext()) {
        texts.push_back(node->GetItem()->GetDescription());
    }
    return texts;
}

} // namespace

TEST(MonitorJournalDamage, EveryVerifyingRecordIsReplayedNoIdIsReusedAndTheJournalIsKept) {
    for (Damage damage :
         {Damage::FlippedByte, Damage::BadLength, Damage::CutShort, Damage::Swapped}) {
        for (size_t record = 0; record < kRecords; ++record) {
            if (damage == Damage::Swapped && record + 1 == kRecords) {
                continue;
            }
            SCOPED_TRACE(std::string("record ") + std::to_string(record + 1) + ", " + Name(damage));
            model_test::TempDir dir;
            std::vector<Span> spans;
            const std::string journal = AcknowledgedJournal(dir, &spans);
            std::vector<uint32_t> whole;
            const std::string damaged = Damaged(journal, spans, record, damage, &whole);
            uint32_t error = 0;
            const std::string path = dir / SCA_SRV_MONITORS_JOURNAL;
            ASSERT_EQ(SCA_WriteFileAtomic(path.c_str(), damaged.data(), damaged.size(), &error), 1);

            model_test::Reports reports;
            SCA_SrvMonitorList read(nullptr, nullptr);
            read.SetConfigDir(dir.Path().c_str());
            ASSERT_EQ(read.Load(), 1);
            std::vector<std::string> expected;
            for (uint32_t id : whole) {
                expected.push_back(Description(id));
                SCA_SrvMonitor* monitor = nullptr;
                EXPECT_EQ(read.GetMonitor(id, &monitor), 1) << "monitor " << id << " lost";
            }
            EXPECT_EQ(Descriptions(read), expected) << "in the order they were added";
            SCA_SrvMonitor* added = nullptr;
            ASSERT_EQ(read.AddMonitor(SCA_SRV_MONITOR_COUNTERS, 7, "new", &added), 1);
            EXPECT_GT(added->GetMonitorId(), kRecords) << "an id handed out again";

            std::string kept;
            ASSERT_EQ(SCA_ReadFile((path + ".damaged").c_str(), &kept, 1 << 20, &error), 1);
            EXPECT_EQ(kept, damaged);
            bool warned = false;
            for (const auto& text : reports.TakeTexts()) {
                warned = warned || text.find(path + ".damaged") != std::string::npos;
            }
            EXPECT_TRUE(warned) << "no message names the copy";

            // What was replayed is stored whole now: a second start reads the same and keeps
            // no further copy.
            SCA_SrvMonitorList again(nullptr, nullptr);
            again.SetConfigDir(dir.Path().c_str());
            ASSERT_EQ(again.Load(), 1);
            EXPECT_EQ(Descriptions(again), expected);
            EXPECT_FALSE(std::filesystem::exists(path + ".damaged.2"));
        }
    }
}

TEST(MonitorJournalDamage, AJournalThatCannotBeCopiedIsLeftUntouchedAndTheLoadFails) {
    model_test::TempDir dir;
    std::vector<Span> spans;
    std::string journal = AcknowledgedJournal(dir, &spans);
    journal[spans[4].Offset + spans[4].Size / 2] ^= 0x01;
    uint32_t error = 0;
    const std::string path = dir / SCA_SRV_MONITORS_JOURNAL;
    ASSERT_EQ(SCA_WriteFileAtomic(path.c_str(), journal.data(), journal.size(), &error), 1);

    model_test::Reports reports;
    SCA_SetWriteFailure(ENOSPC);
    SCA_SrvMonitorList read(nullptr, nullptr);
    read.SetConfigDir(dir.Path().c_str());
    EXPECT_EQ(read.Load(), 0);
    SCA_SetWriteFailure(0);
    EXPECT_EQ(read.Count(), 0u);
    std::string after;
    ASSERT_EQ(SCA_ReadFile(path.c_str(), &after, 1 << 20, &error), 1);
    EXPECT_EQ(after, journal);
    EXPECT_FALSE(std::filesystem::exists(path + ".damaged"));
}

TEST(MonitorJournalDamage, JournalsWrittenBeforeSequenceNumbersAreStillRead) {
    // Records of the earlier form: no "Seq" field.
    model_test::TempDir dir;
    std::string journal;
    for (uint32_t id = 1; id <= 3; ++id) {
        SCA_ConfigObj change(SCA_SRV_JOURNAL_CHANGE_ROOT, nullptr);
        SCA_SrvMonitor monitor(nullptr, nullptr);
        monitor.SetMonitorId(id);
        monitor.SetDescription(Description(id).c_str());
        ASSERT_EQ(change.AddField(SCA_SRV_JOURNAL_CHANGE_ID, id), 1);
        ASSERT_EQ(change.AddField(SCA_TEZ_NEXT_ID_FIELD, id + 1), 1);
        ASSERT_EQ(monitor.Serialize(change.AddConfigObj(SCA_SRV_JOURNAL_CHANGE_MONITOR)), 1);
        ASSERT_EQ(SCA_SrvMonitorJournal::AppendRecord(&change, &journal), 1);
    }
    uint32_t error = 0;
    const std::string path = dir / SCA_SRV_MONITORS_JOURNAL;
    ASSERT_EQ(SCA_WriteFileAtomic(path.c_str(), journal.data(), journal.size(), &error), 1);
    SCA_SrvMonitorList read(nullptr, nullptr);
    read.SetConfigDir(dir.Path().c_str());
    ASSERT_EQ(read.Load(), 1);
    EXPECT_EQ(Descriptions(read),
              (std::vector<std::string>{Description(1), Description(2), Description(3)}));
    EXPECT_FALSE(std::filesystem::exists(path + ".damaged")) << "an intact journal is no damage";
    EXPECT_EQ(read.GetNextItemId(), 4u);
}
