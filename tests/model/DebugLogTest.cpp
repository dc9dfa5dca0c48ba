// SPDX-License-Identifier: MIT
// The debug log: ids, trimming, clearing, serialising from an id, reading back, concurrent
// writers and the text report.
#include <atomic>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <malloc.h>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

#include <gtest/gtest.h>

#include "libmor/SCA_Limits.h"
#include "libmor/SCA_Time.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_DebugLog.h"
#include "tests/model/ModelTestSupport.h"
#include "tests/model/RecordTestSupport.h"

namespace {

using records_test::ChildObjects;
using records_test::Record;
using records_test::Travel;

static_assert(!std::is_copy_constructible_v<SCA_DebugLog> &&
                  !std::is_copy_assignable_v<SCA_DebugLog>,
              "a copy would share the messages of its source");

// Adds count messages "<prefix><n>" (n from 1) at the given level.
void AddMessages(SCA_DebugLog* log, uint32_t count, const std::string& prefix = "m",
                 uint32_t level = 3) {
    for (uint32_t n = 1; n <= count; ++n) {
        const tagSCA_ERROR_DESCR record = Record(level, prefix + std::to_string(n), n);
        ASSERT_EQ(1, log->AddMessage(&record, SCA_ALL_ONES));
    }
}

struct Kept {
    std::vector<uint32_t> Ids;
    std::vector<std::string> Texts;
};

Kept KeptIn(SCA_DebugLog& log) {
    Kept kept;
    for (auto* node = log.GetMessageList()->GetHead(); node != nullptr; node = node->GetNext()) {
        kept.Ids.push_back(node->GetId());
        kept.Texts.emplace_back(node->GetItem()->Text);
    }
    return kept;
}

// The ids of the serialised messages, in the order they were written.
std::vector<uint32_t> SerialisedIds(SCA_DebugLog& log, uint32_t count, uint32_t fromId,
                                    uint32_t levelMask = SCA_ALL_ONES) {
    SCA_ConfigObj object("DebugLog", nullptr);
    EXPECT_EQ(1, log.Serialize(count, fromId, levelMask, &object));
    std::vector<uint32_t> ids;
    for (SCA_Field* child = object.GetHead(); child != nullptr; child = child->GetNext()) {
        uint32_t id = 0;
        EXPECT_EQ(1, static_cast<SCA_ConfigObj*>(child)->GetField("Id", &id));
        ids.push_back(id);
    }
    return ids;
}

TEST(DebugLogIdsTest, IdsRiseFromOneAndLastMessageIsTracked) {
    SCA_DebugLog log(500);
    EXPECT_EQ(0u, log.GetLastMessageId());
    AddMessages(&log, 3);
    EXPECT_EQ((std::vector<uint32_t>{1, 2, 3}), KeptIn(log).Ids);
    EXPECT_EQ(3u, log.GetLastMessageId());
    EXPECT_EQ(3u, log.GetLastMessageTime());
    EXPECT_EQ(3u, log.GetMessageCount());
}

TEST(DebugLogIdsTest, GivenIdsAreKeptAndBecomeTheLast) {
    SCA_DebugLog log(500);
    const tagSCA_ERROR_DESCR record = Record(3, "copied");
    ASSERT_EQ(1, log.AddMessage(&record, 41u));
    ASSERT_EQ(1, log.AddMessage(&record, 77u));
    EXPECT_EQ((std::vector<uint32_t>{41, 77}), KeptIn(log).Ids);
    EXPECT_EQ(77u, log.GetLastMessageId());
    ASSERT_EQ(1, log.AddMessage(&record, SCA_ALL_ONES));
    EXPECT_EQ(78u, log.GetLastMessageId()) << "the log's own ids go on after the given ones";
}

TEST(DebugLogIdsTest, TheAllOnesIdIsNeverGiven) {
    SCA_DebugLog log(500);
    const tagSCA_ERROR_DESCR record = Record(3, "late");
    ASSERT_EQ(1, log.AddMessage(&record, SCA_ALL_ONES - 1));
    ASSERT_EQ(1, log.AddMessage(&record, SCA_ALL_ONES));
    EXPECT_EQ((std::vector<uint32_t>{SCA_ALL_ONES - 1, 0}), KeptIn(log).Ids);
}

TEST(DebugLogTrimTest, KeepsTheNewestUpToTheMaximum) {
    SCA_DebugLog log(500);
    AddMessages(&log, 501);
    const Kept kept = KeptIn(log);
    ASSERT_EQ(500u, kept.Ids.size());
    EXPECT_EQ(2u, kept.Ids.front()) << "the oldest message is the one dropped";
    EXPECT_EQ("m2", kept.Texts.front());
    EXPECT_EQ(501u, kept.Ids.back());
}

TEST(DebugLogTrimTest, LoweringTheMaximumTrimsAtOnceAndZeroKeepsNone) {
    SCA_DebugLog log(10);
    AddMessages(&log, 10);
    log.SetMaxDebugMessage(4);
    EXPECT_EQ((std::vector<uint32_t>{7, 8, 9, 10}), KeptIn(log).Ids);
    log.SetMaxDebugMessage(0);
    EXPECT_EQ(0u, log.GetMessageCount());
    AddMessages(&log, 1);
    EXPECT_EQ(0u, log.GetMessageCount());
    EXPECT_EQ(11u, log.GetLastMessageId()) << "a message not kept still takes its id";
}

TEST(DebugLogClearTest, ClearEmptiesButIdsErrorCountAndSessionGoOn) {
    SCA_DebugLog log(500);
    const uint32_t session = log.GetSessionId();
    AddMessages(&log, 2, "e", 5);
    ASSERT_EQ(2u, log.GetErrorCount());
    ASSERT_EQ(1, log.Clear());
    EXPECT_EQ(0u, log.GetMessageCount());
    EXPECT_EQ(2u, log.GetLastMessageId());
    EXPECT_EQ(2u, log.GetErrorCount());
    EXPECT_EQ(session, log.GetSessionId());
    AddMessages(&log, 1);
    EXPECT_EQ((std::vector<uint32_t>{3}), KeptIn(log).Ids);
    EXPECT_EQ((std::vector<uint32_t>{3}), SerialisedIds(log, 500, 2))
        << "a reader that saw id 2 before the clear gets the new message";
}

TEST(DebugLogClearTest, ErrorCountCountsOnlyErrors) {
    SCA_DebugLog log(2);
    AddMessages(&log, 2, "i", 3);
    AddMessages(&log, 1, "w", 4);
    AddMessages(&log, 3, "e", 5);
    EXPECT_EQ(3u, log.GetErrorCount()) << "trimmed errors stay counted";
    log.SetErrorCount(0);
    EXPECT_EQ(0u, log.GetErrorCount());
}

TEST(DebugLogClearTest, SessionIdsDifferBetweenLogsAndAreNeverAllOnes) {
    SCA_DebugLog first(5);
    SCA_DebugLog second(5);
    EXPECT_NE(first.GetSessionId(), second.GetSessionId());
    EXPECT_NE(SCA_ALL_ONES, first.GetSessionId());
    first.SetSessionId(7);
    EXPECT_EQ(7u, first.GetSessionId());
}

TEST(DebugLogPositionTest, PositionsRunFromTheOldestAndStopBeforeTheCount) {
    SCA_DebugLog log(500);
    AddMessages(&log, 3);
    tagSCA_ERROR_DESCR* message = nullptr;
    ASSERT_EQ(1, log.GetMessageByPos(0, &message));
    EXPECT_STREQ("m1", message->Text);
    ASSERT_EQ(1, log.GetMessageByPos(2, &message));
    EXPECT_STREQ("m3", message->Text);
    tagSCA_ERROR_DESCR* untouched = message;
    EXPECT_EQ(0, log.GetMessageByPos(3, &untouched));
    EXPECT_EQ(message, untouched);
}

TEST(DebugLogSerializeTest, FromAnIdGivesTheMessagesAfterItUpToTheCount) {
    SCA_DebugLog log(500);
    AddMessages(&log, 10);
    EXPECT_EQ((std::vector<uint32_t>{8, 9, 10}), SerialisedIds(log, 500, 7));
    EXPECT_EQ((std::vector<uint32_t>{1, 2, 3}), SerialisedIds(log, 3, SCA_ALL_ONES))
        << "all ones starts at the oldest kept; the count takes the oldest first";
    EXPECT_EQ((std::vector<uint32_t>{4, 5}), SerialisedIds(log, 2, 3));
    EXPECT_TRUE(SerialisedIds(log, 500, 10).empty()) << "nothing after the newest";
    EXPECT_TRUE(SerialisedIds(log, 0, SCA_ALL_ONES).empty());
}

TEST(DebugLogSerializeTest, AReaderOfAnEarlierSessionStartsAtTheOldest) {
    SCA_DebugLog log(500);
    AddMessages(&log, 3);
    EXPECT_EQ((std::vector<uint32_t>{1, 2, 3}), SerialisedIds(log, 500, 300))
        << "an id newer than any this log gave comes from another log";
}

TEST(DebugLogSerializeTest, MoreThanOneBatchArrivesBatchByBatch) {
    SCA_DebugLog service(1000);
    AddMessages(&service, 1300);
    uint32_t lastId = SCA_ALL_ONES;
    std::vector<uint32_t> firstIds;
    for (int poll = 0; poll < 4 && lastId != service.GetLastMessageId(); ++poll) {
        const std::vector<uint32_t> ids = SerialisedIds(service, 500, lastId);
        ASSERT_FALSE(ids.empty());
        firstIds.push_back(ids.front());
        lastId = ids.back();
    }
    EXPECT_EQ((std::vector<uint32_t>{301, 801}), firstIds) << "the log keeps 301..1300";
    EXPECT_EQ(1300u, lastId);
}

TEST(DebugLogSerializeTest, LevelMaskSelectsLevels) {
    SCA_DebugLog log(500);
    AddMessages(&log, 1, "i", 3);
    AddMessages(&log, 1, "w", 4);
    AddMessages(&log, 1, "e", 5);
    EXPECT_EQ((std::vector<uint32_t>{2, 3}),
              SerialisedIds(log, 500, SCA_ALL_ONES, (1u << 4) | (1u << 5)));
    EXPECT_EQ((std::vector<uint32_t>{2}), SerialisedIds(log, 1, SCA_ALL_ONES, 1u << 4))
        << "messages left out do not count against the limit";
}

TEST(DebugLogSerializeTest, RoundTripKeepsIdsLevelsTimesAndTexts) {
    SCA_DebugLog service(500);
    const tagSCA_ERROR_DESCR first = Record(5, "disk \x01 full", 123456789012345ull);
    const tagSCA_ERROR_DESCR second = Record(2, "", 99);
    ASSERT_EQ(1, service.AddMessage(&first, 900u));
    ASSERT_EQ(1, service.AddMessage(&second, SCA_ALL_ONES));
    SCA_ConfigObj object("DebugLog", nullptr);
    ASSERT_EQ(1, service.Serialize(500, SCA_ALL_ONES, SCA_ALL_ONES, &object));
    auto received = Travel(object);
    ASSERT_NE(nullptr, received);

    SCA_DebugLog client(500);
    AddMessages(&client, 2, "old");
    ASSERT_EQ(1, client.Deserialize(received.get()));
    ASSERT_EQ((std::vector<uint32_t>{900, 901}), KeptIn(client).Ids);
    tagSCA_ERROR_DESCR* message = nullptr;
    ASSERT_EQ(1, client.GetMessageByPos(0, &message));
    EXPECT_EQ(5u, message->Level);
    EXPECT_EQ(123456789012345ull, message->AbsTime);
    EXPECT_STREQ("disk ? full", message->Text) << "the separator byte travels as '?'";
    ASSERT_EQ(1, client.GetMessageByPos(1, &message));
    EXPECT_EQ(2u, message->Level);
    EXPECT_STREQ("", message->Text);
    EXPECT_EQ(901u, client.GetLastMessageId());
}

TEST(DebugLogSerializeTest, AMalformedMessageLeavesTheLogAsItWas) {
    SCA_DebugLog log(500);
    AddMessages(&log, 2);
    SCA_ConfigObj object("DebugLog", nullptr);
    SCA_ConfigObj* good = object.AddConfigObj("5");
    ASSERT_EQ(1, good->AddField("Id", 5u));
    ASSERT_EQ(1, good->AddField("Level", 3u));
    ASSERT_EQ(1, good->AddField("AbsTime", uint64_t{1}));
    SCA_ConfigObj* bad = object.AddConfigObj("6");
    ASSERT_EQ(1, bad->AddField("Id", 6u));
    EXPECT_EQ(0, log.Deserialize(&object));
    EXPECT_EQ((std::vector<uint32_t>{1, 2}), KeptIn(log).Ids);
    EXPECT_EQ(0, log.Serialize(500, SCA_ALL_ONES, SCA_ALL_ONES, nullptr));
}

TEST(DebugLogSerializeTest, TextsAreBoundedByTheRecordField) {
    SCA_DebugLog log(5);
    tagSCA_ERROR_DESCR record = Record(3, "");
    std::memset(record.Text, 'x', sizeof(record.Text)); // not terminated
    ASSERT_EQ(1, log.AddMessage(&record, SCA_ALL_ONES));
    tagSCA_ERROR_DESCR* kept = nullptr;
    ASSERT_EQ(1, log.GetMessageByPos(0, &kept));
    EXPECT_EQ(sizeof(record.Text) - 1, std::strlen(kept->Text));
    EXPECT_EQ(0, log.AddMessage(nullptr, SCA_ALL_ONES));
}

// A service keeps hundreds of messages for its whole run: each takes the room of its text, not
// of the whole field, and a text cut at the field's end still ends on a whole character.
TEST(DebugLogSerializeTest, AKeptMessageTakesTheRoomOfItsText) {
    SCA_DebugLog log(5);
    const tagSCA_ERROR_DESCR line = Record(3, "Monitor started", 7);
    ASSERT_EQ(1, log.AddMessage(&line, SCA_ALL_ONES));
    tagSCA_ERROR_DESCR record = Record(2, "");
    const std::string twoBytes = "\xC3\xA9";
    for (size_t at = 0; at + twoBytes.size() <= sizeof(record.Text); at += twoBytes.size()) {
        std::memcpy(record.Text + at, twoBytes.data(), twoBytes.size()); // not terminated
    }
    ASSERT_EQ(1, log.AddMessage(&record, SCA_ALL_ONES));

    tagSCA_ERROR_DESCR* kept = nullptr;
    ASSERT_EQ(1, log.GetMessageByPos(0, &kept));
    EXPECT_EQ(std::string(kept->Text), "Monitor started");
    EXPECT_EQ(kept->Level, 3u);
    EXPECT_EQ(kept->AbsTime, line.AbsTime);
    EXPECT_LT(malloc_usable_size(kept), sizeof(tagSCA_ERROR_DESCR) / 8);
    ASSERT_EQ(1, log.GetMessageByPos(1, &kept));
    EXPECT_EQ(std::strlen(kept->Text), sizeof(record.Text) - twoBytes.size());
    EXPECT_EQ(std::string(kept->Text, twoBytes.size()), twoBytes);
}

TEST(DebugLogConcurrencyTest, ManyWritersAndAReaderAtOnce) {
    constexpr uint32_t kWriters = 8;
    constexpr uint32_t kEach = 400;
    SCA_DebugLog log(1000);
    std::atomic<bool> writing{true};
    std::atomic<uint32_t> failures{0};
    std::thread reader([&] {
        while (writing) {
            SCA_ConfigObj object("DebugLog", nullptr);
            if (!log.Serialize(100, log.GetLastMessageId() / 2, SCA_ALL_ONES, &object)) {
                ++failures;
            }
        }
    });
    std::vector<std::thread> writers;
    for (uint32_t w = 0; w < kWriters; ++w) {
        writers.emplace_back([&, w] {
            for (uint32_t n = 0; n < kEach; ++n) {
                const tagSCA_ERROR_DESCR record =
                    Record(n % 2 == 0 ? 5 : 3, std::to_string(w) + ":" + std::to_string(n));
                if (!log.AddMessage(&record, SCA_ALL_ONES)) {
                    ++failures;
                }
            }
        });
    }
    for (std::thread& writer : writers) {
        writer.join();
    }
    writing = false;
    reader.join();

    EXPECT_EQ(0u, failures.load());
    EXPECT_EQ(kWriters * kEach, log.GetLastMessageId());
    EXPECT_EQ(kWriters * kEach / 2, log.GetErrorCount());
    const Kept kept = KeptIn(log);
    ASSERT_EQ(1000u, kept.Ids.size());
    for (size_t i = 1; i < kept.Ids.size(); ++i) {
        ASSERT_EQ(kept.Ids[i - 1] + 1, kept.Ids[i]) << "ids are unique and in order";
    }
    EXPECT_EQ(kWriters * kEach, kept.Ids.back());
    EXPECT_EQ(1000u, std::set<std::string>(kept.Texts.begin(), kept.Texts.end()).size());
}

TEST(DebugLogTextReportTest, WritesOneTaggedLinePerMessage) {
    model_test::TempDir dir;
    SCA_DebugLog log(10);
    const uint64_t now = SCA_GetAbsTime();
    const uint32_t levels[] = {2, 3, 4, 5, 9};
    for (uint32_t level : levels) {
        const tagSCA_ERROR_DESCR record = Record(level, "text " + std::to_string(level), now);
        ASSERT_EQ(1, log.AddMessage(&record, SCA_ALL_ONES));
    }
    const std::string path = dir / "log.txt";
    ASSERT_EQ(1, log.SaveTextReport(path.c_str()));

    tagSCA_DATE date{};
    tagSCA_TIME time{};
    ASSERT_EQ(1, SCA_ConvertAbsTime(now, &date, &time));
    char day[64];
    char clock[64];
    SCA_FormatDateString(&date, 0, "-", day, sizeof(day));
    SCA_FormatTimeString(&time, clock, sizeof(clock));
    const std::string stamp = std::string(day) + " " + clock;
    std::ifstream file(path);
    std::stringstream content;
    content << file.rdbuf();
    EXPECT_EQ(" D  " + stamp + " text 2\n" + " I  " + stamp + " text 3\n" + " W  " + stamp +
                  " text 4\n" + "ERR " + stamp + " text 5\n" + "ERR " + stamp + " text 9\n",
              content.str());
}

TEST(DebugLogTextReportTest, AnUnwritablePathIsReported) {
    model_test::Reports reports;
    SCA_DebugLog log(10);
    EXPECT_EQ(0, log.SaveTextReport("/nonexistent-folder/sub/log.txt"));
    const auto texts = reports.TakeTexts();
    ASSERT_EQ(1u, texts.size());
    EXPECT_EQ(0u, texts[0].find("SCA_DebugLog::SaveTextReport: cannot write file "));
    EXPECT_TRUE(reports.AllAtLevel(5));
}

} // namespace
