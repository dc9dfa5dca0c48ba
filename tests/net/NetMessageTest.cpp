// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>
#include <string>

#include "NetTestSupport.h"
#include "net/SCA_NetMessage.h"

namespace {

using nettest::ReportCapture;

TEST(NetMessageTest, CommandNamesAreRefusedNotCutAbove63Bytes) {
    ReportCapture reports;
    SCA_NetMessage message;
    const std::string longest(63, 'n');
    ASSERT_EQ(message.SetCommandName(longest.c_str()), 1);
    EXPECT_EQ(message.GetCommandName(), longest);

    // A cut name could select another command: the name is kept as it was.
    const std::string tooLong = longest + "x";
    EXPECT_EQ(message.SetCommandName(tooLong.c_str()), 0);
    EXPECT_EQ(message.GetCommandName(), longest);
    EXPECT_EQ(message.SetCommandName(nullptr), 0);
    EXPECT_EQ(message.GetCommandName(), longest);
    EXPECT_EQ(reports.Count(SCA_LEVEL_ERROR, "SCA_NetMessage::SetCommandName"), 2);

    ASSERT_EQ(message.SetCommandName(""), 1);
    EXPECT_STREQ(message.GetCommandName(), "");
}

TEST(NetMessageTest, InitEmptiesTheTreeAndNeverKeepsTheOldCommand) {
    ReportCapture reports;
    SCA_NetMessage message;
    ASSERT_EQ(message.Init("DeleteDevice"), 1);
    message.GetData()->AddField("DeviceId", 5u);
    ASSERT_EQ(message.Init("GetStatus"), 1);
    EXPECT_STREQ(message.GetCommandName(), "GetStatus");
    EXPECT_EQ(message.GetData()->GetFieldCount(), 0u);

    // Reused with a name that is refused, it must not go out as the previous command.
    message.GetData()->AddField("DeviceId", 5u);
    EXPECT_EQ(message.Init(std::string(64, 'x').c_str()), 0);
    EXPECT_STREQ(message.GetCommandName(), "");
    EXPECT_EQ(message.GetData()->GetFieldCount(), 0u);
}

TEST(NetMessageTest, CopiesOwnTheirTrees) {
    SCA_NetMessage original;
    original.Init("SetRule");
    original.SetControlCode(20);
    original.SetControlFlags(0x10);
    original.GetData()->AddConfigObj("RuleObj")->AddField("RuleId", 3u);

    SCA_NetMessage copy(original);
    SCA_NetMessage assigned;
    assigned.Init("Other");
    assigned.GetData()->AddField("Stale", 1);
    assigned = original;

    original.GetData()->Clear();
    original.SetCommandName("Changed");
    for (SCA_NetMessage* message : {&copy, &assigned}) {
        EXPECT_EQ(message->IsConstructed(), 1u);
        EXPECT_STREQ(message->GetCommandName(), "SetRule");
        EXPECT_EQ(message->GetControlCode(), 20u);
        EXPECT_EQ(message->GetControlFlags(), 0x10u);
        SCA_ConfigObj* rule = nullptr;
        ASSERT_EQ(message->GetData()->GetField("RuleObj", &rule), 1);
        uint32_t id = 0;
        EXPECT_EQ(rule->GetField("RuleId", &id), 1);
        EXPECT_EQ(id, 3u);
        EXPECT_EQ(message->GetData()->IsFieldExists("Stale"), 0);
    }
}

} // namespace
