// SPDX-License-Identifier: MIT
// Building and reading configuration trees: the AddField forms and their reports, lookups,
// typed values, removal and renaming, copies, comparison and paths.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/SCA_ConfigObj.h"
#include "model/SCA_Field.h"
#include "model/SCA_StringStor.h"
#include "tests/model/ModelTestSupport.h"

namespace {

using model_test::Bytes;
using model_test::HeapFailure;
using model_test::Names;
using model_test::ParentsAreSound;
using model_test::Reports;
using Texts = std::vector<std::string>;

// Config { Port=8000, Server { Host=alpha, Ports { First=1 } }, Empty {}, Note="" }
void BuildSample(SCA_ConfigObj* config) {
    ASSERT_EQ(1, config->AddField("Port", 8000));
    SCA_ConfigObj* server = config->AddConfigObj("Server");
    ASSERT_NE(nullptr, server);
    ASSERT_EQ(1, server->AddField("Host", "alpha"));
    SCA_ConfigObj* ports = server->AddConfigObj("Ports");
    ASSERT_NE(nullptr, ports);
    ASSERT_EQ(1, ports->AddField("First", 1));
    ASSERT_NE(nullptr, config->AddConfigObj("Empty"));
    ASSERT_EQ(1, config->AddField("Note", ""));
}

SCA_ConfigObj* Child(SCA_ConfigObj& object, const char* name) {
    SCA_ConfigObj* child = nullptr;
    return object.GetField(name, &child) ? child : nullptr;
}

// An object made the way arrays are, without a name.
class UnnamedObj : public SCA_ConfigObj {
public:
    UnnamedObj() : SCA_ConfigObj(nullptr) {}
};

TEST(ConfigObjAddTest, DuplicateNamesAreReportedByEachForm) {
    Reports reports;
    SCA_ConfigObj config("Config", nullptr);
    ASSERT_EQ(1, config.AddField("Port", 8000));

    SCA_Field* detached = new SCA_Field("Other", nullptr);
    EXPECT_EQ(0, config.AddField("Port", detached, 1));
    EXPECT_STREQ("Other", detached->GetName()) << "a refused add renames nothing";
    SCA_Field* named = new SCA_Field("Port", nullptr);
    EXPECT_EQ(0, config.AddField(named, 1));
    EXPECT_EQ(0, config.AddField(named, 1, 0));
    EXPECT_EQ(0, config.AddField(named, 1, 1));
    SCA_Field* out = detached;
    EXPECT_EQ(0, config.AddField("Port", &out, 1, 1));
    EXPECT_EQ(detached, out);

    EXPECT_EQ((Texts{"SCA_ConfigObj::AddField(12): Duplicate field name - Port",
                     "SCA_ConfigObj::AddField(13): Duplicate field name - Port",
                     "SCA_ConfigObj::AddField(14): Duplicate field name - Port",
                     "SCA_ConfigObj::AddField(14): Duplicate field name - Port",
                     "SCA_ConfigObj::AddField(15): Duplicate field name - Port"}),
              reports.TakeTexts());
    EXPECT_TRUE(reports.AllAtLevel(SCA_LEVEL_CONFIG));
    EXPECT_EQ(Texts{"Port"}, Names(config));
    EXPECT_FALSE(detached->IsLinked());
    EXPECT_FALSE(named->IsLinked());

    // Without the check the same names go in, and lookups find the first.
    EXPECT_EQ(1, config.AddField("Port", detached, 0));
    EXPECT_EQ(1, config.AddField(named));
    EXPECT_EQ(1, config.AddField("Port", &out, 1, 0));
    EXPECT_EQ(1, config.AddField("Port", 9000));
    EXPECT_EQ((Texts{"Port", "Port", "Port", "Port", "Port"}), Names(config));
    SCA_Field* first = nullptr;
    ASSERT_EQ(1, config.GetFieldByName("Port", &first));
    EXPECT_STREQ("8000", first->GetValue());
    EXPECT_TRUE(reports.TakeTexts().empty());
}

TEST(ConfigObjAddTest, NewFieldFormNamesAndPlacesTheField) {
    Reports reports;
    SCA_ConfigObj config("Config", nullptr);
    ASSERT_EQ(1, config.AddField("B", 2));
    SCA_Field* out = nullptr;
    EXPECT_EQ(0, config.AddField("", &out, 1, 1));
    EXPECT_EQ(nullptr, out);
    EXPECT_EQ(Texts{"SCA_ConfigObj::AddField: Invalid field name."}, reports.TakeTexts());

    ASSERT_EQ(1, config.AddField("A", &out, 0, 1));
    ASSERT_NE(nullptr, out);
    EXPECT_EQ(config.GetHead(), out) << "atTail 0 puts it first";
    EXPECT_EQ(&config, out->GetParent());
    EXPECT_EQ(0, out->HasValue());
    ASSERT_EQ(1, config.AddField("C", &out, 1, 1));
    EXPECT_EQ(config.GetFieldList()->GetTail(), out);
    EXPECT_EQ((Texts{"A", "B", "C"}), Names(config));

    // A name that cannot be a name is not made into a field, checked or not.
    EXPECT_EQ(0, config.AddField("x\x01y", &out, 1, 0));
    EXPECT_EQ(0, config.AddField(nullptr, &out, 1, 0));
    EXPECT_EQ(3u, config.GetFieldCount());
    EXPECT_TRUE(reports.AllAtLevel(SCA_LEVEL_CONFIG));
}

TEST(ConfigObjAddTest, NewFieldFormReportsAFailedAllocation) {
    Reports reports;
    SCA_ConfigObj config("Config", nullptr);
    for (uint32_t failing = 1; failing <= 2; ++failing) {
        SCA_Field* out = nullptr;
        HeapFailure failure(failing);
        EXPECT_EQ(0, config.AddField("Port", &out, 1, 1));
        EXPECT_EQ(nullptr, out);
    }
    EXPECT_EQ(Texts(2, "SCA_ConfigObj::AddField : Cannot create field object"),
              reports.TakeTexts());
    EXPECT_EQ(0u, config.GetFieldCount());
}

TEST(ConfigObjAddTest, ReadyMadeFormsSetTheParentUnlessAsked) {
    SCA_ConfigObj config("Config", nullptr);
    SCA_ConfigObj elsewhere("Elsewhere", nullptr);
    auto* renamed = new SCA_Field("Old", nullptr);
    ASSERT_EQ(1, config.AddField("New", renamed, 1));
    EXPECT_STREQ("New", renamed->GetName());
    EXPECT_EQ(5u, renamed->GetNameLength());
    EXPECT_EQ(&config, renamed->GetParent());

    auto* plain = new SCA_Field("Plain", nullptr);
    ASSERT_EQ(1, config.AddField(plain));
    EXPECT_EQ(&config, plain->GetParent());
    auto* checked = new SCA_Field("Checked", nullptr);
    ASSERT_EQ(1, config.AddField(checked, 1));
    EXPECT_EQ(&config, checked->GetParent());
    auto* kept = new SCA_Field("Kept", &elsewhere);
    ASSERT_EQ(1, config.AddField(kept, 1, 0));
    EXPECT_EQ(&elsewhere, kept->GetParent());
    EXPECT_EQ((Texts{"New", "Plain", "Checked", "Kept"}), Names(config));
    EXPECT_TRUE(model_test::IsSound(*config.GetFieldList()));
}

TEST(ConfigObjAddTest, EveryFormRefusesLinkedUnnamedAndNullFields) {
    Reports reports;
    SCA_ConfigObj config("Config", nullptr);
    SCA_ConfigObj other("Other", nullptr);
    ASSERT_EQ(1, other.AddField("Linked", 1));
    SCA_Field* linked = other.GetHead();
    EXPECT_EQ(0, config.AddField("Name", linked, 0));
    EXPECT_EQ(0, config.AddField(linked));
    EXPECT_EQ(0, config.AddField(linked, 0));
    EXPECT_EQ(0, config.AddField(linked, 0, 1));
    EXPECT_STREQ("Linked", linked->GetName());
    EXPECT_EQ(&other, linked->GetParent());

    SCA_Field unnamed(nullptr, nullptr); // a failed construction leaves no name
    reports.TakeTexts();
    EXPECT_EQ(0, config.AddField(&unnamed));
    EXPECT_EQ(0, config.AddField(&unnamed, 0));
    EXPECT_EQ(0, config.AddField(&unnamed, 0, 0));
    EXPECT_EQ(0, config.AddField(static_cast<SCA_Field*>(nullptr)));
    EXPECT_EQ(0, config.AddField(static_cast<SCA_Field*>(nullptr), 1));
    EXPECT_EQ(0, config.AddField("Name", static_cast<SCA_Field*>(nullptr), 0));
    EXPECT_EQ(0, config.AddField(&config)) << "an object cannot hold itself";

    EXPECT_EQ(0u, config.GetFieldCount());
    EXPECT_TRUE(model_test::IsSound(*other.GetFieldList()));
    EXPECT_EQ(1u, other.GetFieldCount());
}

TEST(ConfigObjLookupTest, IndexCountsAndExactNames) {
    SCA_ConfigObj config("Config", nullptr);
    ASSERT_EQ(1, config.AddField("Port", 1));
    ASSERT_EQ(1, config.AddField("Host", "h"));
    SCA_ConfigObj* server = config.AddConfigObj("Server");
    ASSERT_NE(nullptr, server);
    ASSERT_EQ(1, server->AddField("Name", "n"));
    EXPECT_EQ(3u, config.GetFieldCount());
    EXPECT_EQ(5u, config.GetTotalFieldCount());
    EXPECT_EQ(2u, server->GetTotalFieldCount());
    EXPECT_EQ(1u, config.GetHead()->GetTotalFieldCount());

    SCA_Field* field = config.GetHead();
    EXPECT_EQ(0, config.GetFieldByIndex(3, &field));
    EXPECT_EQ(config.GetHead(), field) << "out untouched";
    ASSERT_EQ(1, config.GetFieldByIndex(2, &field));
    EXPECT_EQ(server, field);

    EXPECT_EQ(1, config.IsFieldExists("Port"));
    for (const char* name : {"port", "PORT", "Por", "Port ", "", "Name"}) {
        field = nullptr;
        EXPECT_EQ(0, config.GetFieldByName(name, &field)) << name;
        EXPECT_EQ(nullptr, field);
        EXPECT_EQ(0, config.IsFieldExists(name)) << name;
    }
    EXPECT_EQ(0, config.GetFieldByName(nullptr, &field));

    // A value field has no children.
    field = server;
    EXPECT_EQ(0, config.GetHead()->GetFieldByName("Port", &field));
    EXPECT_EQ(nullptr, field);
    field = server;
    EXPECT_EQ(0, config.GetHead()->GetFieldByIndex(0, &field));
    EXPECT_EQ(nullptr, field);
    EXPECT_EQ(0u, config.GetHead()->GetFieldCount());
}

TEST(ConfigObjLookupTest, ObjectLookupRefusesValueFields) {
    SCA_ConfigObj config("Config", nullptr);
    ASSERT_EQ(1, config.AddField("Value", 1));
    SCA_ConfigObj* sub = config.AddConfigObj("Sub");
    SCA_ConfigObj* out = sub;
    EXPECT_EQ(0, config.GetField("Value", &out));
    EXPECT_EQ(0, config.GetField("Missing", &out));
    EXPECT_EQ(sub, out);
    out = nullptr;
    ASSERT_EQ(1, config.GetField("Sub", &out));
    EXPECT_EQ(sub, out);
    EXPECT_EQ(SCA_FIELD_TYPE_OBJECT, out->GetType());
    EXPECT_EQ(&config, out->GetParent());
}

TEST(ConfigObjTypedTest, TextRoundTripsAndIsCutToTheBuffer) {
    SCA_ConfigObj config("Config", nullptr);
    ASSERT_EQ(1, config.AddField("Name", "hello world"));
    ASSERT_EQ(1, config.AddField("Empty", ""));
    ASSERT_EQ(1, config.AddField("Null", static_cast<const char*>(nullptr)));
    ASSERT_EQ(1, config.AddField("Accent", "ab\xC3\xA9"));

    char text[64] = "unchanged";
    ASSERT_EQ(1, config.GetField("Name", text, sizeof(text)));
    EXPECT_STREQ("hello world", text);
    ASSERT_EQ(1, config.GetField("Name", text, 6));
    EXPECT_STREQ("hello", text);
    ASSERT_EQ(1, config.GetField("Accent", text, 4));
    EXPECT_STREQ("ab", text) << "never half a character";
    ASSERT_EQ(1, config.GetField("Empty", text, sizeof(text)));
    EXPECT_STREQ("", text);
    std::strcpy(text, "unchanged");
    ASSERT_EQ(1, config.GetField("Null", text, sizeof(text)));
    EXPECT_STREQ("", text);

    std::strcpy(text, "unchanged");
    EXPECT_EQ(0, config.GetField("Missing", text, sizeof(text)));
    EXPECT_EQ(0, config.GetField("name", text, sizeof(text)));
    EXPECT_STREQ("unchanged", text);

    // Values that cannot be stored add nothing.
    EXPECT_EQ(0, config.AddField("Bad", "a\x01z"));
    const std::string tooLong(SCA_FIELD_MAX_VALUE + 1, 'v');
    EXPECT_EQ(0, config.AddField("Long", tooLong.c_str()));
    EXPECT_EQ(4u, config.GetFieldCount());
}

TEST(ConfigObjTypedTest, IntegersRoundTripAtTheirLimits) {
    SCA_ConfigObj config("Config", nullptr);
    ASSERT_EQ(1, config.AddField("IntMin", std::numeric_limits<int>::min()));
    ASSERT_EQ(1, config.AddField("IntMax", std::numeric_limits<int>::max()));
    ASSERT_EQ(1, config.AddField("U32", std::numeric_limits<uint32_t>::max()));
    ASSERT_EQ(1, config.AddField("U16", std::numeric_limits<uint16_t>::max()));
    ASSERT_EQ(1, config.AddField("U64", std::numeric_limits<uint64_t>::max()));

    int i = 0;
    ASSERT_EQ(1, config.GetField("IntMin", &i));
    EXPECT_EQ(std::numeric_limits<int>::min(), i);
    ASSERT_EQ(1, config.GetField("IntMax", &i));
    EXPECT_EQ(std::numeric_limits<int>::max(), i);
    uint32_t u32 = 0;
    ASSERT_EQ(1, config.GetField("U32", &u32));
    EXPECT_EQ(std::numeric_limits<uint32_t>::max(), u32);
    uint16_t u16 = 0;
    ASSERT_EQ(1, config.GetField("U16", &u16));
    EXPECT_EQ(std::numeric_limits<uint16_t>::max(), u16);
    uint64_t u64 = 0;
    ASSERT_EQ(1, config.GetField("U64", &u64));
    EXPECT_EQ(std::numeric_limits<uint64_t>::max(), u64);
    EXPECT_STREQ("18446744073709551615", config.GetFieldList()->GetTail()->GetValue());
}

// Each text must be refused by the reader of that kind, with the output left alone.
TEST(ConfigObjTypedTest, NumbersThatDoNotFitTheirKindAreRefused) {
    SCA_ConfigObj config("Config", nullptr);
    const char* const texts[] = {"12x",
                                 "",
                                 " 1",
                                 "1 ",
                                 "+1",
                                 "0x10",
                                 "1e3",
                                 "-1",
                                 "2147483648",
                                 "-2147483649",
                                 "4294967296",
                                 "70000",
                                 "18446744073709551616"};
    for (const char* text : texts) {
        ASSERT_EQ(1, config.AddField(text[0] != '\0' ? text : "(empty)", text));
    }
    ASSERT_NE(nullptr, config.AddConfigObj("Object"));
    const auto check = [&config](const char* name, bool intOk, bool u32Ok, bool u16Ok, bool u64Ok) {
        int i = 7;
        uint32_t u32 = 7;
        uint16_t u16 = 7;
        uint64_t u64 = 7;
        EXPECT_EQ(intOk ? 1 : 0, config.GetField(name, &i)) << name << " as int";
        EXPECT_EQ(u32Ok ? 1 : 0, config.GetField(name, &u32)) << name << " as u32";
        EXPECT_EQ(u16Ok ? 1 : 0, config.GetField(name, &u16)) << name << " as u16";
        EXPECT_EQ(u64Ok ? 1 : 0, config.GetField(name, &u64)) << name << " as u64";
        if (!intOk) {
            EXPECT_EQ(7, i) << name;
        }
        if (!u32Ok) {
            EXPECT_EQ(7u, u32) << name;
        }
        if (!u16Ok) {
            EXPECT_EQ(7u, u16) << name;
        }
        if (!u64Ok) {
            EXPECT_EQ(7u, u64) << name;
        }
    };
    for (const char* name : {"12x", "(empty)", " 1", "1 ", "+1", "0x10", "1e3", "Object", "Missing",
                             "18446744073709551616"}) {
        check(name, false, false, false, false);
    }
    check("-1", true, false, false, false);
    check("2147483648", false, true, false, true);
    check("-2147483649", false, false, false, false);
    check("4294967296", false, false, false, true);
    check("70000", true, true, false, true);
}

TEST(ConfigObjTypedTest, DoublesRoundTripExactly) {
    const double values[] = {0.1,
                             1.0 / 3.0,
                             -2.5e-300,
                             std::numeric_limits<double>::denorm_min(),
                             std::numeric_limits<double>::max(),
                             -0.0,
                             123456789012345678.0};
    SCA_ConfigObj config("Config", nullptr);
    for (const double value : values) {
        ASSERT_EQ(1, config.AddField("D", value));
        char expected[40];
        std::snprintf(expected, sizeof(expected), "%.17g", value);
        EXPECT_STREQ(expected, config.GetHead()->GetValue());
        double read = 1.0;
        ASSERT_EQ(1, config.GetField("D", &read));
        EXPECT_EQ(0, std::memcmp(&value, &read, sizeof(double))) << expected;
        config.Clear();
    }
    ASSERT_EQ(1, config.AddField("Bad", "1.5x"));
    double untouched = 2.0;
    EXPECT_EQ(0, config.GetField("Bad", &untouched));
    EXPECT_EQ(2.0, untouched);
}

TEST(ConfigObjTypedTest, NamesAreCheckedAndDuplicatesOnlyWhenAsked) {
    Reports reports;
    SCA_ConfigObj config("Config", nullptr);
    const std::string tooLong(SCA_FIELD_MAX_NAME + 1, 'n');
    for (const char* name : {static_cast<const char*>(nullptr), "", "a\x01", tooLong.c_str()}) {
        EXPECT_EQ(0, config.AddField(name, 1));
        EXPECT_EQ(0, config.AddField(name, "text", 1));
        EXPECT_EQ(0, config.AddField(name, 1.5));
    }
    EXPECT_EQ(Texts(12, "SCA_ConfigObj::AddField: Invalid field name."), reports.TakeTexts());

    ASSERT_EQ(1, config.AddField("Port", 1, 1));
    EXPECT_EQ(1, config.AddField("Port", 2));
    EXPECT_EQ(1, config.AddField("Port", uint16_t{3}, 0));
    EXPECT_TRUE(reports.TakeTexts().empty());
    EXPECT_EQ(0, config.AddField("Port", 4, 1));
    EXPECT_EQ(0, config.AddField("Port", uint64_t{4}, 1));
    EXPECT_EQ(0, config.AddField("Port", "4", 1));
    EXPECT_EQ(0, config.AddFieldToHead("Port", 4, 1));
    EXPECT_EQ(4u, reports.TakeTexts().size());
    EXPECT_EQ(3u, config.GetFieldCount());

    ASSERT_EQ(1, config.AddFieldToHead("First", -1));
    EXPECT_EQ((Texts{"First", "Port", "Port", "Port"}), Names(config));
    EXPECT_TRUE(reports.AllAtLevel(SCA_LEVEL_CONFIG));
}

TEST(ConfigObjTypedTest, FailedAllocationsAddNothing) {
    Reports reports;
    SCA_ConfigObj config("Config", nullptr);
    {
        HeapFailure failure(1);
        EXPECT_EQ(0, config.AddField("Port", 8000));
    }
    {
        HeapFailure failure(1);
        EXPECT_EQ(0, config.AddField("Host", "alpha"));
    }
    EXPECT_EQ(0u, config.GetFieldCount());
    EXPECT_EQ(Texts(2, "SCA_ConfigObj::AddField : Cannot create field object"),
              reports.TakeTexts());
    {
        HeapFailure failure(1);
        EXPECT_EQ(nullptr, config.AddConfigObj("Sub"));
    }
    EXPECT_EQ(0u, config.GetFieldCount());
}

TEST(ConfigObjEditTest, RemoveFieldHandsOverOwnership) {
    SCA_ConfigObj config("Config", nullptr);
    BuildSample(&config);
    SCA_Field* server = config.RemoveField("Server");
    ASSERT_NE(nullptr, server);
    EXPECT_EQ(nullptr, server->GetParent());
    EXPECT_FALSE(server->IsLinked());
    EXPECT_EQ((Texts{"Port", "Empty", "Note"}), Names(config));
    EXPECT_EQ(nullptr, config.RemoveField("Server"));
    EXPECT_EQ(nullptr, config.RemoveField(nullptr));

    // The removed subtree is whole and can join another tree.
    SCA_ConfigObj other("Other", nullptr);
    ASSERT_EQ(1, other.AddField(server, 1));
    EXPECT_EQ(4u, server->GetTotalFieldCount());
    EXPECT_TRUE(ParentsAreSound(other));

    SCA_Field* port = config.RemoveField("Port");
    ASSERT_NE(nullptr, port);
    port->Destroy();
    EXPECT_EQ(1, config.DeleteFieldByIndex(1));
    EXPECT_EQ(0, config.DeleteFieldByIndex(1));
    EXPECT_EQ((Texts{"Empty"}), Names(config));
    EXPECT_EQ(1, config.Clear());
    EXPECT_EQ(0u, config.GetFieldCount());
    EXPECT_EQ(nullptr, config.GetHead());
}

TEST(ConfigObjEditTest, RenameFieldKeepsNamesUnique) {
    SCA_ConfigObj config("Config", nullptr);
    BuildSample(&config);
    EXPECT_EQ(1, config.RenameField("Port", "ControlPort"));
    EXPECT_EQ(0, config.RenameField("Note", "Server"));
    EXPECT_EQ(0, config.RenameField("Missing", "Other"));
    EXPECT_EQ(0, config.RenameField("Note", ""));
    EXPECT_EQ(0, config.RenameField("Note", nullptr));
    EXPECT_EQ(0, config.RenameField("Note", "a\x01"));
    EXPECT_EQ(0, config.RenameField(nullptr, "Other"));
    EXPECT_EQ(1, config.RenameField("Note", "Note"));
    EXPECT_EQ(1, config.RenameField("Server", "Host"));
    EXPECT_EQ((Texts{"ControlPort", "Host", "Empty", "Note"}), Names(config));
    int port = 0;
    ASSERT_EQ(1, config.GetField("ControlPort", &port));
    EXPECT_EQ(8000, port);
    EXPECT_EQ(13u, config.GetHead()->GetNameLength());
}

TEST(ConfigObjCopyTest, CopyIsIndependentOfItsSource) {
    SCA_ConfigObj parent("Parent", nullptr);
    SCA_ConfigObj* config = parent.AddConfigObj("Config");
    ASSERT_NE(nullptr, config);
    BuildSample(config);
    const std::string before = Bytes(*config);

    SCA_ConfigObj copy(*config);
    ASSERT_EQ(1u, copy.IsConstructed());
    EXPECT_EQ(nullptr, copy.GetParent());
    EXPECT_FALSE(copy.IsLinked());
    EXPECT_EQ(before, Bytes(copy));
    EXPECT_TRUE(ParentsAreSound(copy));

    SCA_ConfigObj* server = Child(copy, "Server");
    ASSERT_NE(nullptr, server);
    EXPECT_NE(Child(*config, "Server"), server);
    ASSERT_EQ(1, server->GetHead()->SetValue("beta"));
    ASSERT_EQ(1, server->RenameField("Ports", "Others"));
    ASSERT_EQ(1, copy.AddField("Extra", 1));
    copy.GetFieldList()->DeleteItem("Port");
    ASSERT_EQ(1, copy.SetName("Copy"));
    EXPECT_EQ(before, Bytes(*config));
    EXPECT_NE(before, Bytes(copy));
    EXPECT_TRUE(ParentsAreSound(parent));
}

TEST(ConfigObjCopyTest, CopyUnderAllocationFailureIsMarkedUnconstructed) {
    SCA_ConfigObj config("Config", nullptr);
    BuildSample(&config);
    uint32_t failing = 1;
    for (;; ++failing) {
        HeapFailure failure(failing);
        SCA_ConfigObj copy(config);
        if (copy.IsConstructed()) {
            EXPECT_EQ(Bytes(config), Bytes(copy));
            break;
        }
    }
    EXPECT_GT(failing, 5u) << "the sweep must have made some copies fail";
}

TEST(ConfigObjCopyTest, CloneCopiesTheWholeTreeOrNothing) {
    SCA_ConfigObj config("Config", nullptr);
    BuildSample(&config);
    SCA_Field* clone = config.Clone();
    ASSERT_NE(nullptr, clone);
    ASSERT_TRUE(clone->IsObject());
    auto* tree = static_cast<SCA_ConfigObj*>(clone);
    EXPECT_EQ(Bytes(config), Bytes(*tree));
    EXPECT_EQ(1, config.Compare(tree));
    EXPECT_TRUE(ParentsAreSound(*tree));
    clone->Destroy();

    for (uint32_t failing = 1;; ++failing) {
        HeapFailure failure(failing);
        SCA_Field* attempt = config.Clone();
        if (attempt != nullptr) {
            EXPECT_EQ(Bytes(config), Bytes(*static_cast<SCA_ConfigObj*>(attempt)));
            attempt->Destroy();
            break;
        }
    }
}

TEST(ConfigObjCopyTest, CloneOfAValueFieldIsDetached) {
    SCA_ConfigObj config("Config", nullptr);
    ASSERT_EQ(1, config.AddField("Port", 8000));
    ASSERT_EQ(1, config.AddField("Host", "h"));
    SCA_Field* clone = config.GetHead()->Clone();
    ASSERT_NE(nullptr, clone);
    EXPECT_STREQ("Port", clone->GetName());
    EXPECT_STREQ("8000", clone->GetValue());
    EXPECT_EQ(6u, clone->GetNameLength());
    EXPECT_EQ(6u, clone->GetValueLength());
    EXPECT_EQ(nullptr, clone->GetParent());
    EXPECT_EQ(nullptr, clone->GetNext());
    EXPECT_FALSE(clone->IsLinked());
    ASSERT_EQ(1, clone->SetValue("9000"));
    EXPECT_STREQ("8000", config.GetHead()->GetValue());
    ASSERT_EQ(1, config.AddField(clone, 0));

    HeapFailure failure(1);
    EXPECT_EQ(nullptr, config.GetHead()->Clone());
}

TEST(ConfigObjCopyTest, SetContentOfAFieldKeepsItsPlace) {
    SCA_ConfigObj config("Config", nullptr);
    ASSERT_EQ(1, config.AddField("A", "1"));
    ASSERT_EQ(1, config.AddField("B", "2"));
    ASSERT_EQ(1, config.AddField("C", "3"));
    SCA_Field* b = config.GetFieldList()->GetListItem("B");
    SCA_Field source("Source", nullptr);
    ASSERT_EQ(1, source.SetValue("value"));
    ASSERT_EQ(1, b->SetContent(&source));
    EXPECT_STREQ("Source", b->GetName());
    EXPECT_STREQ("value", b->GetValue());
    EXPECT_EQ(&config, b->GetParent());
    EXPECT_EQ((Texts{"A", "Source", "C"}), Names(config));
    EXPECT_TRUE(model_test::IsSound(*config.GetFieldList()));

    SCA_Field bare("Bare", nullptr);
    ASSERT_EQ(1, b->SetContent(&bare));
    EXPECT_EQ(0, b->HasValue()) << "a source without a value leaves none";
}

TEST(ConfigObjCopyTest, SetContentOfAnObjectReplacesNameAndChildren) {
    SCA_ConfigObj config("Config", nullptr);
    BuildSample(&config);
    SCA_ConfigObj target("Target", nullptr);
    ASSERT_EQ(1, target.AddField("Old", 1));
    ASSERT_EQ(1, target.SetContent(&config));
    EXPECT_EQ(Bytes(config), Bytes(target));
    EXPECT_TRUE(ParentsAreSound(target));

    // From one of its own children: the child is copied before it goes.
    SCA_ConfigObj* server = Child(target, "Server");
    ASSERT_NE(nullptr, server);
    const std::string serverBytes = Bytes(*server);
    ASSERT_EQ(1, target.SetContent(server));
    EXPECT_EQ(serverBytes, Bytes(target));
    EXPECT_TRUE(ParentsAreSound(target));

    // A value field is no object content; nor is a copy that fails.
    Reports reports;
    const std::string before = Bytes(target);
    EXPECT_EQ(0, target.SetContent(config.GetHead()));
    EXPECT_EQ(0, target.SetContent(nullptr));
    for (uint32_t failing = 1;; ++failing) {
        HeapFailure failure(failing);
        if (target.SetContent(&config)) {
            break;
        }
        EXPECT_EQ(before, Bytes(target)) << "allocation " << failing;
    }
    EXPECT_EQ(Bytes(config), Bytes(target));
}

// A value field stays a value field to its tree whatever type number it ends up with: a failed
// parse of an object's form and SetContent from an object both change that number.
TEST(ConfigObjCopyTest, ValueFieldNeverPassesForAnObject) {
    Reports reports;
    SCA_ConfigObj config("Config", nullptr);
    SCA_Field* failed = nullptr;
    ASSERT_EQ(1, config.AddField("Failed", &failed, 1, 1));
    const std::string objectForm = model_test::ObjectOpen("Sub") + model_test::kObjectEnd;
    uint32_t position = 0;
    ASSERT_EQ(0, failed->DoDeserialize(objectForm.data(), static_cast<uint32_t>(objectForm.size()),
                                       &position, &config));
    SCA_ConfigObj sub("Sub", nullptr);
    ASSERT_EQ(1, sub.AddField("Inner", 1));
    ASSERT_EQ(1, config.AddField("Taken", 1));
    SCA_Field* taken = config.GetFieldList()->GetTail();
    EXPECT_EQ(0, taken->SetContent(&sub)); // a value field cannot take an object's content

    for (SCA_Field* field : {failed, taken}) {
        EXPECT_FALSE(field->IsObject()) << field->GetName();
        SCA_ConfigObj* object = nullptr;
        EXPECT_EQ(0, config.GetField(field->GetName(), &object)) << field->GetName();
        EXPECT_EQ(1u, field->GetTotalFieldCount());
    }
    EXPECT_EQ(3u, config.GetTotalFieldCount());
    EXPECT_GE(config.GetDataSize(), Bytes(config).size());
    SCA_Field* clone = config.Clone();
    ASSERT_NE(nullptr, clone);
    EXPECT_EQ(0, config.Compare(&sub));
    EXPECT_EQ(0, sub.Compare(taken));
    EXPECT_EQ(0, taken->Compare(&sub));
    clone->Destroy();

    // The field whose read failed is still written as a value field, so the tree reads back.
    SCA_StringStor stor;
    ASSERT_EQ(1, config.Serialize(&stor));
    SCA_ConfigObj again("Again", nullptr);
    ASSERT_EQ(1, again.Deserialize(&stor));
    EXPECT_EQ(3u, again.GetTotalFieldCount());
}

TEST(ConfigObjAddTest, AnObjectCannotBeAddedBelowItself) {
    auto* root = new SCA_ConfigObj("Root", nullptr);
    SCA_ConfigObj* child = root->AddConfigObj("Child");
    ASSERT_NE(nullptr, child);
    SCA_ConfigObj* grandChild = child->AddConfigObj("GrandChild");
    ASSERT_NE(nullptr, grandChild);
    EXPECT_EQ(0, grandChild->AddField(root));
    EXPECT_EQ(0, grandChild->AddField(root, 0, 1));
    EXPECT_EQ(0, child->AddField("Loop", root, 0));
    EXPECT_EQ(0, root->AddField(root, 0));
    EXPECT_EQ(3u, root->GetTotalFieldCount());
    EXPECT_EQ(0, root->IsLinked());
    root->Destroy();
}

TEST(ConfigObjCompareTest, ReportsTheFirstDifference) {
    Reports reports;
    SCA_Field port("Port", nullptr);
    ASSERT_EQ(1, port.SetValue("8000"));
    SCA_Field same("Port", nullptr);
    ASSERT_EQ(1, same.SetValue("8000"));
    EXPECT_EQ(1, port.Compare(&same));
    EXPECT_TRUE(reports.TakeTexts().empty());

    SCA_Field both("Host", nullptr);
    ASSERT_EQ(1, both.SetValue("alpha"));
    EXPECT_EQ(0, port.Compare(&both));
    EXPECT_EQ(Texts{"Different field name"}, reports.TakeTexts()) << "only the first difference";

    SCA_Field value("Port", nullptr);
    ASSERT_EQ(1, value.SetValue("8001"));
    EXPECT_EQ(0, port.Compare(&value));
    SCA_Field longer("Port", nullptr);
    ASSERT_EQ(1, longer.SetValue("80000"));
    EXPECT_EQ(0, port.Compare(&longer));
    SCA_ConfigObj object("Port", nullptr);
    EXPECT_EQ(0, port.Compare(&object));
    EXPECT_EQ(0, object.Compare(&port));
    EXPECT_EQ(0, port.Compare(nullptr));
    EXPECT_EQ((Texts{"Different field value", "Different field value", "Different field type",
                     "Different field type", "Different field type"}),
              reports.TakeTexts());
    EXPECT_TRUE(reports.AllAtLevel(SCA_LEVEL_CONFIG));
}

TEST(ConfigObjCompareTest, FieldWithoutAValueEqualsTheEmptyValue) {
    Reports reports;
    SCA_Field bare("Name", nullptr);
    SCA_Field empty("Name", nullptr);
    ASSERT_EQ(1, empty.SetValue(""));
    EXPECT_EQ(1, bare.Compare(&empty));
    EXPECT_EQ(1, empty.Compare(&bare));
    SCA_Field text("Name", nullptr);
    ASSERT_EQ(1, text.SetValue("x"));
    EXPECT_EQ(0, bare.Compare(&text));
    EXPECT_EQ(Texts{"Different field value"}, reports.TakeTexts());
}

TEST(ConfigObjCompareTest, TreesCompareChildByChild) {
    Reports reports;
    SCA_ConfigObj config("Config", nullptr);
    BuildSample(&config);
    SCA_ConfigObj copy(config);
    EXPECT_EQ(1, config.Compare(&copy));
    EXPECT_TRUE(reports.TakeTexts().empty());

    SCA_ConfigObj* ports = Child(*Child(copy, "Server"), "Ports");
    ASSERT_EQ(1, ports->GetHead()->SetValue("2"));
    EXPECT_EQ(0, config.Compare(&copy));
    EXPECT_EQ(Texts{"Different field value"}, reports.TakeTexts());

    SCA_ConfigObj longer(config);
    ASSERT_EQ(1, longer.AddField("More", 1));
    EXPECT_EQ(0, config.Compare(&longer));
    EXPECT_EQ(0, longer.Compare(&config));
    EXPECT_EQ(2u, reports.TakeTexts().size());

    SCA_ConfigObj reordered(config);
    ASSERT_EQ(1, reordered.GetFieldList()->MoveItemToTail("Port"));
    EXPECT_EQ(0, config.Compare(&reordered)) << "child order is part of the tree";
    reports.TakeTexts();

    SCA_ConfigObj renamed(config);
    ASSERT_EQ(1, renamed.SetName("Other"));
    EXPECT_EQ(0, config.Compare(&renamed));
    EXPECT_EQ(Texts{"Different field name"}, reports.TakeTexts());
}

TEST(ConfigObjPathTest, PathsJoinTheNamesFromTheRoot) {
    SCA_ConfigObj config("Config", nullptr);
    SCA_ConfigObj* server = config.AddConfigObj("Server");
    ASSERT_NE(nullptr, server);
    ASSERT_EQ(1, server->AddField("Port", 8000));
    SCA_Field* port = server->GetHead();

    char path[64] = "";
    ASSERT_EQ(1, port->GetPath(path, sizeof(path)));
    EXPECT_STREQ("Config/Server/Port", path);
    std::strcpy(path, "host:");
    ASSERT_EQ(1, server->GetPath(path, sizeof(path)));
    EXPECT_STREQ("host:Config/Server", path) << "appends to the text already there";
    path[0] = '\0';
    ASSERT_EQ(1, config.GetPath(path, sizeof(path)));
    EXPECT_STREQ("Config", path);
}

TEST(ConfigObjPathTest, PathIsCutToTheBuffer) {
    SCA_ConfigObj config("Config", nullptr);
    SCA_ConfigObj* server = config.AddConfigObj("Server");
    ASSERT_NE(nullptr, server);
    ASSERT_EQ(1, server->AddField("Port", 8000));
    SCA_Field* port = server->GetHead();
    const std::string full = "Config/Server/Port";
    for (uint32_t size = 1; size <= full.size(); ++size) {
        const std::unique_ptr<char[]> buffer(new char[size]);
        buffer[0] = '\0';
        EXPECT_EQ(0, port->GetPath(buffer.get(), size)) << "size " << size;
        EXPECT_EQ(full.substr(0, size - 1), buffer.get());
    }
    const std::unique_ptr<char[]> exact(new char[full.size() + 1]);
    exact[0] = '\0';
    EXPECT_EQ(1, port->GetPath(exact.get(), static_cast<uint32_t>(full.size() + 1)));
    EXPECT_EQ(full, exact.get());
    char untouched = 'x';
    EXPECT_EQ(0, port->GetPath(&untouched, 0));
    EXPECT_EQ('x', untouched);
}

TEST(ConfigObjPathTest, UnnamedObjectsTakePartWithAnEmptyName) {
    UnnamedObj array;
    EXPECT_EQ(1u, array.IsConstructed());
    EXPECT_EQ(0, array.HasName());
    ASSERT_EQ(1, array.AddField("Item", 1));
    char path[32] = "";
    ASSERT_EQ(1, array.GetHead()->GetPath(path, sizeof(path)));
    EXPECT_STREQ("/Item", path);
    EXPECT_EQ(std::string("2\x01\x01", 3) + model_test::ValueForm("Item", "1") +
                  model_test::kObjectEnd,
              Bytes(array));
}

} // namespace
