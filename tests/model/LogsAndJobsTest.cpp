// SPDX-License-Identifier: MIT
// Log messages and logs, the progress record of jobs and update packages: tag and status
// tables, heap texts, copies and round trips.
#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include <gtest/gtest.h>

#include "model/SCA_ConfigObj.h"
#include "model/SCA_ProgressObj.h"
#include "model/SCA_TezLog.h"
#include "model/SCA_TezLogMsg.h"
#include "model/SCA_Update.h"
#include "tests/model/ModelTestSupport.h"
#include "tests/model/RecordTestSupport.h"

namespace {

using model_test::HeapFailure;
using model_test::Reports;
using records_test::Travel;

static_assert(!std::is_copy_constructible_v<SCA_TezLog>, "a log owns its messages");
static_assert(std::is_copy_constructible_v<SCA_Update>, "an update package is a plain record");

TEST(LogMessageTest, TagTableCoversEveryStatus) {
    const std::vector<std::pair<uint32_t, std::string>> table = {
        {0, "-D-"}, {1, "-R-"}, {2, "---"}, {3, "-I-"},
        {4, "-W-"}, {5, "ERR"}, {6, "---"}, {0xFFFFFFFFu, "---"}};
    SCA_TezLogMsg message;
    for (const auto& [status, tag] : table) {
        message.SetRepStatus(status);
        EXPECT_EQ(tag, message.GetRepStatusDescr()) << "status " << status;
    }
}

TEST(LogMessageTest, EmptyAndNullTextsLeaveNoMessage) {
    SCA_TezLogMsg message(3, 1, "started");
    ASSERT_STREQ("started", message.GetMessage());
    EXPECT_EQ(1, message.SetMessage(""));
    EXPECT_STREQ("", message.GetMessage());
    ASSERT_EQ(1, message.SetMessage("again"));
    EXPECT_EQ(1, message.SetMessage(nullptr));
    ASSERT_NE(nullptr, message.GetMessage());
    EXPECT_STREQ("", message.GetMessage());
}

TEST(LogMessageTest, AFailedCopyIsReportedAndKeepsTheOldMessage) {
    SCA_TezLogMsg message(3, 1, "kept");
    Reports reports;
    {
        HeapFailure failure(1);
        EXPECT_EQ(0, message.SetMessage("lost"));
    }
    EXPECT_STREQ("kept", message.GetMessage());
    const auto texts = reports.TakeTexts();
    ASSERT_EQ(1u, texts.size());
    EXPECT_EQ(0u, texts[0].find("Cannot alloc 5 bytes of memory - ")) << texts[0];
    EXPECT_TRUE(reports.AllAtLevel(5));
}

TEST(LogMessageTest, CopiesOwnTheirText) {
    SCA_TezLogMsg source(5, 77, "source");
    SCA_TezLogMsg copy(source);
    source.SetMessage("changed");
    EXPECT_STREQ("source", copy.GetMessage());
    EXPECT_EQ(5u, copy.GetRepStatus());
    EXPECT_EQ(77u, copy.GetAbsTime());
    EXPECT_EQ(1u, copy.IsConstructed());

    SCA_TezLogMsg assigned(1, 2, "before");
    assigned = source;
    source.SetMessage(nullptr);
    EXPECT_STREQ("changed", assigned.GetMessage());
    SCA_TezLogMsg empty;
    assigned = empty;
    EXPECT_STREQ("", assigned.GetMessage());
}

TEST(LogMessageTest, ACopyThatCannotGetItsTextIsNotConstructed) {
    SCA_TezLogMsg source(5, 77, "source");
    Reports reports;
    HeapFailure failure(1);
    SCA_TezLogMsg copy(source);
    EXPECT_EQ(0u, copy.IsConstructed());
    EXPECT_STREQ("", copy.GetMessage());
}

TEST(LogTest, CountsErrorsAndWarningsAndTravels) {
    SCA_TezLog log;
    ASSERT_EQ(1, log.AddMessage(3, 10, "info"));
    ASSERT_EQ(1, log.AddMessage(4, 11, "warning"));
    ASSERT_EQ(1, log.AddMessage(5, 12, "error \x01 here"));
    ASSERT_EQ(1, log.AddMessage(5, 13, ""));
    EXPECT_EQ(2u, log.GetErrorCount());
    EXPECT_EQ(1u, log.GetWarningCount());

    SCA_ConfigObj object("Log", nullptr);
    ASSERT_EQ(1, log.Serialize(&object));
    auto received = Travel(object);
    ASSERT_NE(nullptr, received);
    SCA_TezLog copy;
    ASSERT_EQ(1, copy.AddMessage(5, 1, "stale"));
    ASSERT_EQ(1, copy.Deserialize(received.get()));
    ASSERT_EQ(4u, copy.Count());
    EXPECT_EQ(2u, copy.GetErrorCount());
    EXPECT_EQ(1u, copy.GetWarningCount());
    std::vector<std::string> texts;
    for (auto* node = copy.GetHead(); node != nullptr; node = node->GetNext()) {
        texts.emplace_back(node->GetItem()->GetMessage());
    }
    EXPECT_EQ((std::vector<std::string>{"info", "warning", "error ? here", ""}), texts);
    SCA_TezLogMsg* last = nullptr;
    ASSERT_EQ(1, copy.GetTailItem(&last));
    EXPECT_EQ(13u, last->GetAbsTime());

    copy.Clear();
    EXPECT_EQ(0u, copy.Count());
    EXPECT_EQ(0u, copy.GetErrorCount());
}

TEST(UpdatePackageTest, PackageTypeNames) {
    SCA_Update update;
    EXPECT_STREQ("Update", update.GetPackageTypeName());
    update.SetPackageType(1);
    EXPECT_STREQ("Setup", update.GetPackageTypeName());
    update.SetPackageType(2);
    EXPECT_STREQ("INV", update.GetPackageTypeName());
}

TEST(UpdatePackageTest, TextsAreBoundedAndCopiesAreWhole) {
    SCA_Update update;
    update.SetVersion(records_test::StraddlingText(256).c_str());
    EXPECT_EQ(254u, std::strlen(update.GetVersion()));
    const std::string longPath(5000, 'p');
    update.SetRemoteDir(longPath.c_str());
    EXPECT_EQ(4095u, std::strlen(update.GetRemoteDir()));
    update.SetUrl("https://updates.example/korvanta");
    update.SetPortNumber(443);
    update.SetFileSize(1ull << 40);
    update.SetAbsVersion(130548);

    SCA_Update copy(update);
    EXPECT_STREQ(update.GetUrl(), copy.GetUrl());
    EXPECT_EQ(std::string(update.GetRemoteDir()), copy.GetRemoteDir());
    EXPECT_EQ(443, copy.GetPortNumber());
    EXPECT_EQ(1ull << 40, copy.GetFileSize());
    EXPECT_EQ(130548u, copy.GetAbsVersion());
    update.SetUrl(nullptr);
    EXPECT_STREQ("", update.GetUrl());
    EXPECT_STREQ("https://updates.example/korvanta", copy.GetUrl());
}

} // namespace
