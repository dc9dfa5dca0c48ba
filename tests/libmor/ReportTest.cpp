// SPDX-License-Identifier: MIT
#include <atomic>
#include <chrono>
#include <cinttypes>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>

#include "TestSupport.h"
#include "libmor/SCA_Report.h"
#include "libmor/SCA_Time.h"
#include "tests/support/WaitUntil.h"

namespace {

TEST(ReportTest, CallbackReceivesLevelTimeAndFormattedText) {
    ReportCapture capture;
    const uint64_t before = SCA_GetAbsTime();
    SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_WARNING, "disk %s at %u%%", "sda", 97u);
    const uint64_t after = SCA_GetAbsTime();

    const auto records = capture.Records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].Level, SCA_LEVEL_WARNING);
    EXPECT_EQ(records[0].Text, "disk sda at 97%");
    EXPECT_GE(records[0].AbsTime, before);
    EXPECT_LE(records[0].AbsTime, after);
}

TEST(ReportTest, LongTextIsCutOnCharacterBoundary) {
    ReportCapture capture;
    const std::string fits(2045, 'a');      // + a 2-byte character = 2047 bytes
    const std::string overflows(2046, 'a'); // + a 2-byte character = 2048 bytes
    SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR, "%s\xC3\xA9", fits.c_str());
    SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR, "%s\xC3\xA9", overflows.c_str());

    const auto records = capture.Records();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].Text, fits + "\xC3\xA9");
    EXPECT_EQ(records[1].Text, overflows);
}

TEST(ReportTest, TextFromArgumentsHasItsControlBytesEscapedButTheFormatKeepsItsOwn) {
    ReportCapture capture;
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    report(SCA_LEVEL_INFO, "Add Monitor: %s (Type=%u)", "Disk\nERR 12/01/2024 forged\r", 0u);
    report(SCA_LEVEL_INFO, "%s|%c|%c", "tab\there\x1b[31mred\x7f \xC2\x9B csi \xC3\xA9", '\n', 'k');
    report(SCA_LEVEL_WARNING, "corrupted.\nReseting %s", "now");
    report(SCA_LEVEL_INFO, "[%-6s][%6.2s][%.*s][%*s]", "ab", "xyz\n", 3, "a\nbcdef", -4, "\t");
    EXPECT_THAT(capture.Records(),
                testing::ElementsAre(
                    testing::Field(&ReportCapture::Record::Text,
                                   "Add Monitor: Disk\\nERR 12/01/2024 forged\\r (Type=0)"),
                    testing::Field(&ReportCapture::Record::Text,
                                   "tab\\there\\x1B[31mred\\x7F \\u009B csi \xC3\xA9|\\n|k"),
                    testing::Field(&ReportCapture::Record::Text, "corrupted.\nReseting now"),
                    testing::Field(&ReportCapture::Record::Text, "[ab    ][    xy][a\\n][\\t  ]")));
}

TEST(ReportTest, NumbersAreFormattedAsByPrintf) {
    ReportCapture capture;
    const long long big = -1234567890123LL;
    const size_t size = 123456789;
    const uint64_t u64 = 18446744073709551615ull;
    SCA_GetReportFunction(__FILE__, __LINE__)(
        SCA_LEVEL_INFO, "%d %5i %-3u| %lu %lld %zu %x %#X %o %hhu %hd %.17g %8.3f %e %p %% %jd %td",
        -7, 42, 9u, 4000000000ul, big, size, 255u, 255u, 8u, 300, 70000, 0.1, 3.14159, 1e300,
        static_cast<void*>(nullptr), intmax_t{-5}, ptrdiff_t{6});
    SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_INFO, "%" PRIu64 " %Lf", u64, 1.5L);
    char expected[512];
    std::snprintf(expected, sizeof(expected),
                  "%d %5i %-3u| %lu %lld %zu %x %#X %o %hhu %hd %.17g %8.3f %e %p %% %jd %td", -7,
                  42, 9u, 4000000000ul, big, size, 255u, 255u, 8u, 300, 70000, 0.1, 3.14159, 1e300,
                  static_cast<void*>(nullptr), intmax_t{-5}, ptrdiff_t{6});
    const auto records = capture.Records();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].Text, expected);
    EXPECT_EQ(records[1].Text, "18446744073709551615 1.500000");
}

TEST(ReportTest, WithoutCallbackWritesOneTaggedLineToStandardError) {
    SCA_SetErrorCallback(nullptr, nullptr);
    testing::internal::CaptureStderr();
    SCA_GetReportFunction("src/libtez/Disk.cpp", 42)(SCA_LEVEL_WARNING, "disk %d full", 3);
    SCA_GetReportFunction("Net.cpp", 7)(SCA_LEVEL_ERROR, "gone");
    SCA_GetReportFunction("Cfg.cpp", 1)(SCA_LEVEL_CONFIG, "bad");
    SCA_GetReportFunction("Cfg.cpp", 2)(SCA_LEVEL_INFO, "ok");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              " W  Disk.cpp:42 disk 3 full\nERR Net.cpp:7 gone\n D  Cfg.cpp:1 bad\n"
              " I  Cfg.cpp:2 ok\n");
}

int ReportAgain(tagSCA_ERROR_DESCR* record, void* context) {
    auto* texts = static_cast<std::vector<std::string>*>(context);
    texts->push_back(record->Text);
    if (texts->size() == 1) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_INFO, "inner");
    }
    return 0;
}

TEST(ReportTest, CallbackMayReportFromInsideItself) {
    std::vector<std::string> texts;
    SCA_SetErrorCallback(&ReportAgain, &texts);
    SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR, "outer");
    SCA_SetErrorCallback(nullptr, nullptr);
    EXPECT_THAT(texts, testing::ElementsAre("outer", "inner"));
}

TEST(ReportTest, ReportsFromManyThreadsAllArrive) {
    ReportCapture capture;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([] {
            for (int i = 0; i < 200; ++i) {
                SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_INFO, "%d", i);
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(capture.Records().size(), 800u);
}

// Holds the reporting thread inside the callback until the test lets it go.
struct BlockingCallback {
    std::mutex Lock;
    std::condition_variable Changed;
    bool Entered = false;
    bool Released = false;

    static int Run(tagSCA_ERROR_DESCR* /*record*/, void* context) {
        auto* self = static_cast<BlockingCallback*>(context);
        std::unique_lock<std::mutex> lock(self->Lock);
        self->Entered = true;
        self->Changed.notify_all();
        self->Changed.wait(lock, [self] { return self->Released; });
        return 0;
    }
};

TEST(ReportTest, RemovingCallbackWaitsForRunningCall) {
    BlockingCallback callback;
    SCA_SetErrorCallback(&BlockingCallback::Run, &callback);
    std::thread reporter(
        [] { SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR, "slow"); });
    {
        std::unique_lock<std::mutex> lock(callback.Lock);
        callback.Changed.wait(lock, [&] { return callback.Entered; });
    }
    std::atomic<bool> removing{false};
    std::atomic<bool> removed{false};
    std::thread remover([&] {
        removing = true;
        SCA_SetErrorCallback(nullptr, nullptr);
        removed = true;
    });
    ASSERT_TRUE(korvanta_test::WaitUntil("the awaited state", [&] { return removing.load(); }));
    bool removedWhileRunning = false;
    {
        std::lock_guard<std::mutex> lock(callback.Lock);
        // The remover has started; one that did not wait for the running call can have
        // returned already.
        removedWhileRunning = removed;
        callback.Released = true;
        callback.Changed.notify_all();
    }
    remover.join();
    reporter.join();
    EXPECT_FALSE(removedWhileRunning);
    EXPECT_TRUE(removed);
}

} // namespace
