// SPDX-License-Identifier: MIT
// A monitors journal with one damaged record, each record in turn and each kind of damage, or
// damaged whole: the records that verify are all replayed, no id is handed out twice, the
// damaged journal is kept byte for byte, and the warning says what was lost, telling a last
// record cut short by an interrupted write apart from damage.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include <gmock/gmock.h>
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

// The last four damage the journal as a whole: record is 0 for them.
enum class Damage { FlippedByte, BadLength, CutShort, Swapped, EveryByte, HalfAppended };

bool IsWhole(Damage damage) {
    return damage == Damage::EveryByte || damage == Damage::HalfAppended;
}

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
    case Damage::EveryByte:
        return "every byte of the journal flipped";
    case Damage::HalfAppended:
        return "the journal ending in half a record, as an interrupted append leaves it";
    }
    return "";
}

// The cut of CutShort: bytes of the record's checksum.
constexpr size_t kCutAt = kLengthBytes + 20;
constexpr size_t kCutBytes = 30;

// The journal with record (0-based) damaged; the ids whose records stay whole.
std::string Damaged(std::string journal, const std::vector<Span>& spans, size_t record,
                    Damage damage, std::vector<uint32_t>* whole) {
    const Span span = spans[record];
    for (uint32_t id = 1; id <= kRecords; ++id) {
        if (damage == Damage::Swapped || damage == Damage::HalfAppended ||
            (damage != Damage::EveryByte && id != record + 1)) {
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
        journal.erase(span.Offset + kCutAt, kCutBytes);
        break;
    case Damage::Swapped: {
        const Span next = spans[record + 1];
        const std::string first = journal.substr(span.Offset, span.Size);
        const std::string second = journal.substr(next.Offset, next.Size);
        journal.replace(span.Offset, span.Size + next.Size, second + first);
        break;
    }
    case Damage::EveryByte:
        for (char& byte : journal) {
            byte = static_cast<char>(~byte);
        }
        break;
    case Damage::HalfAppended:
        journal += journal.substr(spans.back().Offset, spans.back().Size / 2);
        break;
    }
    return journal;
}

std::string Counted(size_t count, const char* noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

// The warning the load must give: a torn last write, or damage with the changes (or, where no
// change can be told, the bytes) it cost.
std::string Warning(Damage damage, const std::vector<Span>& spans, size_t record,
                    const std::string& damaged, const std::string& path) {
    const std::string kept = " and the journal as it was is kept in " + path + ".damaged";
    const bool last = record + 1 == kRecords;
    const Span span = spans[record];
    const std::string replayedAll = Counted(kRecords, "change");
    const std::string replayedOthers = Counted(kRecords - 1, "change");
    std::string text = "SCA_SrvMonitorList::Load: " + path;
    switch (damage) {
    case Damage::FlippedByte:
    case Damage::BadLength:
        return text + " is damaged: " + Counted(span.Size, "byte") +
               " in 1 place could not be read: 1 change in damaged records; the " + replayedOthers +
               " that could be read were replayed in order" + kept;
    case Damage::CutShort:
        if (last) {
            return text + " ends in an incomplete change, which is dropped: its last " +
                   Counted(span.Size - kCutBytes, "byte") +
                   " are a change cut short by an interrupted write; the " + replayedOthers +
                   " before it were replayed" + kept;
        }
        return text + " is damaged: " + Counted(span.Size - kCutBytes, "byte") +
               " in 1 place could not be read: 1 change in damaged records; the " + replayedOthers +
               " that could be read were replayed in order" + kept;
    case Damage::Swapped:
        return text + " is damaged: 2 changes out of order or repeated; the " + replayedAll +
               " that could be read were replayed in order" + kept;
    case Damage::EveryByte:
        return text + " is damaged: " + Counted(damaged.size(), "byte") +
               " in 1 place could not be read, in which no change can be recognised; the 0 "
               "changes that could be read were replayed in order" +
               kept;
    case Damage::HalfAppended:
        return text + " ends in an incomplete change, which is dropped: its last " +
               Counted(spans.back().Size / 2, "byte") +
               " are a change cut short by an interrupted write; the " + replayedAll +
               " before it were replayed" + kept;
    }
    return "";
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
    for (Damage damage : {Damage::FlippedByte, Damage::BadLength, Damage::CutShort, Damage::Swapped,
                          Damage::EveryByte, Damage::HalfAppended}) {
        for (size_t record = 0; record < kRecords; ++record) {
            if ((damage == Damage::Swapped && record + 1 == kRecords) ||
                (IsWhole(damage) && record != 0)) {
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
            EXPECT_THAT(reports.TakeTexts(),
                        testing::Contains(Warning(damage, spans, record, damaged, path)));

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
