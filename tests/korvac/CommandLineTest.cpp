// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "korvac/kit/ParseMainCommandLine.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_Field.h"

namespace {

struct Parsed {
    int Result;
    SCA_ConfigObj Params{"Params", nullptr};
};

void Parse(Parsed& parsed, std::vector<std::string> words) {
    std::vector<char*> argv;
    std::string program = "korvac";
    argv.push_back(program.data());
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    parsed.Result =
        ParseMainCommandLine(&parsed.Params, static_cast<int>(argv.size()), argv.data());
}

std::string Value(SCA_ConfigObj& params, const char* name) {
    SCA_Field* field = nullptr;
    return params.GetFieldByName(name, &field) && field != nullptr ? field->GetValue() : "<none>";
}

TEST(CommandLine, OptionsTakeTheFollowingWordsJoinedWithOneBlank) {
    Parsed parsed;
    Parse(parsed, {"-conf_name", "my", "config", "-console"});
    EXPECT_EQ(parsed.Result, 1);
    EXPECT_EQ(Value(parsed.Params, "conf_name"), "my config");
    EXPECT_EQ(Value(parsed.Params, "console"), "");
    EXPECT_EQ(parsed.Params.GetFieldCount(), 2u);
}

TEST(CommandLine, ARepeatedOptionKeepsItsFieldAndGoesOnJoining) {
    Parsed parsed;
    Parse(parsed, {"-host", "a", "-port", "1", "-host", "b"});
    EXPECT_EQ(Value(parsed.Params, "host"), "a b");
    EXPECT_EQ(parsed.Params.GetFieldCount(), 2u);
}

TEST(CommandLine, AWordBeforeAnyOptionEndsTheParseWithNothingMade) {
    Parsed parsed;
    Parse(parsed, {"plain", "-vdm", "5"});
    EXPECT_EQ(parsed.Result, 0);
    EXPECT_EQ(parsed.Params.GetFieldCount(), 0u);
}

TEST(CommandLine, NoArgumentsAndPresenceOnlyOptions) {
    Parsed none;
    Parse(none, {});
    EXPECT_EQ(none.Result, 1);
    EXPECT_EQ(none.Params.GetFieldCount(), 0u);

    Parsed both;
    Parse(both, {"-vdm", "5", "-vdr"});
    EXPECT_EQ(Value(both.Params, "vdm"), "5");
    EXPECT_TRUE(both.Params.IsFieldExists("vdr"));
}

TEST(CommandLine, AJoinedValueStopsAtItsLimitOnACharacterBoundary) {
    Parsed parsed;
    std::vector<std::string> words = {"-text"};
    for (int i = 0; i < 400; ++i) {
        words.push_back("\xC3\xA9"); // two bytes each, one blank between
    }
    Parse(parsed, words);
    const std::string value = Value(parsed.Params, "text");
    EXPECT_LE(value.size(), kMaxOptionValue);
    EXPECT_GT(value.size(), kMaxOptionValue - 3);
    ASSERT_FALSE(value.empty());
    EXPECT_NE(static_cast<unsigned char>(value.back()), 0xC3u);
}

} // namespace
