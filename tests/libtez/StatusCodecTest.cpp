// SPDX-License-Identifier: MIT
// The texts and records the service writes for the client's windows, read back by the code the
// client reads them with: whatever is written reads back the same, and what a peer cannot have
// written is refused.
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "libtez/SCA_KorvantaMonitorRow.h"
#include "libtez/SCA_KorvantaServerStatus.h"
#include "libtez/SCA_TezProcessStatusText.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_Field.h"
#include "model/SCA_StringStor.h"
#include "model/SCA_TezCounterStatus.h"

namespace {

TEST(StatusCodecTest, TheServerStatusReadsBackFieldForFieldAndMissingFieldsReadAsZero) {
    SCA_KorvantaServerStatus written;
    written.ServerStatus = 1;
    written.MonitorsStatusId = 17;
    written.MonitorCount = 6;
    written.ActiveMonitors = 5;
    written.FailedMonitors = 4;
    written.MonitorErrors = 3;
    written.MonitorWarnings = 2;
    written.TotalReports = 8;
    written.LastDebugMessageId = 0xFFFFFFFFu;
    written.LastSoundActionTime = 133456789012345678ull;
    SCA_ConfigObj object("ServerStatus", nullptr);
    ASSERT_EQ(written.Write(&object), 1);
    EXPECT_EQ(object.GetFieldCount(), 10u);

    SCA_KorvantaServerStatus read;
    ASSERT_EQ(read.Read(&object), 1);
    EXPECT_EQ(std::memcmp(&read, &written, sizeof(read)), 0);
    // Every field the writer wrote is in the reference the reader is described by.
    for (SCA_Field* field = object.GetHead(); field != nullptr; field = field->GetNext()) {
        EXPECT_NE(
            SCA_KorvantaServerStatus::Schema().find(std::string("| ") + field->GetName() + " |"),
            std::string::npos)
            << field->GetName();
    }

    // An older service without some fields, a field that is not a number: 0, not stale data.
    SCA_ConfigObj older("ServerStatus", nullptr);
    older.AddField("MonitorCount", "twelve");
    older.AddField("ActiveMonitors", 2u);
    older.AddField("SomethingNew", 9u);
    ASSERT_EQ(read.Read(&older), 1);
    EXPECT_EQ(read.MonitorCount, 0u);
    EXPECT_EQ(read.ActiveMonitors, 2u);
    EXPECT_EQ(read.MonitorsStatusId, 0u);
    EXPECT_EQ(read.LastSoundActionTime, 0u);
    EXPECT_EQ(read.Read(nullptr), 0);
}

TEST(StatusCodecTest, MonitorRowsReadBackAsWrittenWithHostsAndDescriptionsKept) {
    struct Case {
        const char* Host;
        const char* Description;
        const char* HostRead;
    } cases[] = {
        {"", "Local processor load", ""},
        {"db1", "Database  disks   with  blanks", "db1"},
        {"two words", "", "two?words"},
        {"-", "a host that reads as local", ""},
        {"", "\xC3\xA9t\xC3\xA9 \xE2\x82\xAC", ""},
    };
    SCA_ConfigObj monitors("MonitorsStatus", nullptr);
    uint32_t id = 40;
    for (const Case& c : cases) {
        SCA_KorvantaMonitorRow row;
        row.MonitorId = id++;
        row.State = 5;
        row.RunState = 11;
        row.Counters = 12;
        row.Errors = 3;
        row.Warnings = 0xFFFFFFFFu;
        row.SetHost(c.Host);
        row.SetDescription(c.Description);
        ASSERT_EQ(row.Write(&monitors), 1) << c.Description;
    }
    std::vector<SCA_KorvantaMonitorRow> rows;
    ASSERT_EQ(SCA_KorvantaMonitorRow::ReadAll(&monitors, &rows), 1);
    ASSERT_EQ(rows.size(), std::size(cases));
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].MonitorId, 40u + i);
        EXPECT_EQ(rows[i].State, 5u);
        EXPECT_EQ(rows[i].RunState, 11u);
        EXPECT_EQ(rows[i].Counters, 12u);
        EXPECT_EQ(rows[i].Errors, 3u);
        EXPECT_EQ(rows[i].Warnings, 0xFFFFFFFFu);
        EXPECT_STREQ(rows[i].Host, cases[i].HostRead);
        EXPECT_STREQ(rows[i].Description, cases[i].Description);
    }

    // A description at the limit is cut on a character boundary, never mid-character.
    SCA_KorvantaMonitorRow longest;
    longest.SetDescription((std::string(254, 'x') + "\xE2\x82\xAC").c_str());
    EXPECT_STREQ(longest.Description, std::string(254, 'x').c_str());
    char text[SCA_KorvantaMonitorRow::kRowSize];
    ASSERT_EQ(longest.Format(text, sizeof(text)), 1);
    SCA_KorvantaMonitorRow again;
    ASSERT_EQ(again.Parse(text), 1);
    EXPECT_STREQ(again.Description, longest.Description);
    EXPECT_EQ(longest.Format(text, 8), 0);
    EXPECT_STREQ(text, "");
}

// The service encodes each row once and sends the bytes to every client: they must be the
// bytes the row's field has in the byte form of the object it was written into.
TEST(StatusCodecTest, AnEncodedRowIsTheByteFormOfItsWrittenField) {
    SCA_KorvantaMonitorRow row;
    row.MonitorId = 4294967295u;
    row.State = 5;
    row.RunState = 11;
    row.Counters = 12;
    row.Errors = 3;
    row.Warnings = 0xFFFFFFFFu;
    const std::string descriptions[] = {"", "Database  disks   with  blanks",
                                        std::string(300, 'x') + "\xE2\x82\xAC"};
    for (const std::string& description : descriptions) {
        for (const char* host : {"", "two words"}) {
            row.SetHost(host);
            row.SetDescription(description.c_str());
            SCA_ConfigObj object("M", nullptr);
            ASSERT_EQ(row.Write(&object), 1);
            SCA_StringStor written;
            ASSERT_EQ(object.Serialize(&written), 1);
            std::string encoded = "2\x01M\x01";
            ASSERT_EQ(row.Encode(&encoded), 1);
            encoded += "0\x01";
            EXPECT_EQ(std::string(written.GetData(), written.GetSize()), encoded) << host;
        }
    }

    // Rows that differ in any one token are different rows: a kept encoding is reused only
    // for an equal row.
    const SCA_KorvantaMonitorRow same = row;
    EXPECT_TRUE(same == row);
    for (int token = 0; token < 8; ++token) {
        SCA_KorvantaMonitorRow other = row;
        uint32_t* numbers[] = {&other.MonitorId, &other.State,  &other.RunState,
                               &other.Counters,  &other.Errors, &other.Warnings};
        if (token < 6) {
            ++*numbers[token];
        } else if (token == 6) {
            other.SetHost("elsewhere");
        } else {
            other.SetDescription("another");
        }
        EXPECT_FALSE(other == row) << "token " << token;
    }
}

TEST(StatusCodecTest, MonitorRowsThatNoServiceWritesAreRefusedAndTheRowKept) {
    SCA_KorvantaMonitorRow row;
    ASSERT_EQ(row.Parse("1 11 12 0 0 - My three words"), 1);
    for (const char* bad : {"", "1 11 12 0", "1 11 12 0 0", "1 11 12 0 x - d", "-1 11 12 0 0 - d",
                            "1 11 12 0 4294967296 - d", "1 11 12 0 0x1 - d"}) {
        EXPECT_EQ(row.Parse(bad), 0) << '"' << bad << '"';
        EXPECT_STREQ(row.Description, "My three words") << bad;
        EXPECT_EQ(row.Counters, 12u) << bad;
    }
    SCA_ConfigObj monitors("MonitorsStatus", nullptr);
    monitors.AddField("7", "1 11 12 0 0 - fine");
    monitors.AddField("not-an-id", "1 11 12 0 0 - fine");
    std::vector<SCA_KorvantaMonitorRow> rows;
    EXPECT_EQ(SCA_KorvantaMonitorRow::ReadAll(&monitors, &rows), 0);
    EXPECT_EQ(rows.size(), 1u);
    SCA_Object::Destroy(monitors.RemoveField("not-an-id"));
    monitors.AddConfigObj("8");
    EXPECT_EQ(SCA_KorvantaMonitorRow::ReadAll(&monitors, &rows), 0);
}

// The counter and process lists of the live windows: one field per counter or process.
TEST(StatusCodecTest, CounterAndProcessStatusFieldsReadBackAsWritten) {
    SCA_ConfigObj counters("CSL", nullptr);
    tagSCA_TEZ_COUNTER_STATUS none{};
    none.CounterType = 31;
    none.Status = 3;
    tagSCA_TEZ_COUNTER_STATUS some{7, 5, 12, true, 45.25, 1.5, 99.0, 12.125};
    ASSERT_EQ(SCA_TezAddCounterStatusField(&counters, 1, none), 1);
    ASSERT_EQ(SCA_TezAddCounterStatusField(&counters, 0xFFFFFFFEu, some), 1);
    uint32_t id = 0;
    tagSCA_TEZ_COUNTER_STATUS read{};
    SCA_Field* field = counters.GetHead();
    ASSERT_EQ(SCA_TezReadCounterStatusField(field, &id, &read), 1);
    EXPECT_EQ(id, 1u);
    EXPECT_EQ(read.ValueCount, 0u);
    EXPECT_FALSE(read.HasCurrent);
    ASSERT_EQ(SCA_TezReadCounterStatusField(field->GetNext(), &id, &read), 1);
    EXPECT_EQ(id, 0xFFFFFFFEu);
    EXPECT_EQ(std::memcmp(&read.Current, &some.Current, 4 * sizeof(double)), 0);
    counters.AddField("x3", field->GetValue());
    EXPECT_EQ(SCA_TezReadCounterStatusField(counters.GetHead()->GetNext()->GetNext(), &id, &read),
              0);
    EXPECT_EQ(id, 0xFFFFFFFEu);

    SCA_ConfigObj processes("ProcessListStatus", nullptr);
    tagSCA_TEZ_PROCESS_STATUS process;
    process.ProcessId = 4242;
    process.Status = 4;
    process.InstanceCount = 2;
    process.Measure[0] = 12.5;
    process.Measure[2] = 31;
    process.MeasureValid = 0x5;
    process.Errors = 1;
    ASSERT_EQ(SCA_TezAddProcessStatusField(&processes, "postgres: writer", process), 1);
    char name[8];
    tagSCA_TEZ_PROCESS_STATUS back;
    ASSERT_EQ(SCA_TezReadProcessStatusField(processes.GetHead(), name, sizeof(name), &back), 1);
    EXPECT_STREQ(name, "postgre");
    EXPECT_EQ(back.ProcessId, 4242u);
    EXPECT_EQ(back.MeasureValid, 0x5u);
    EXPECT_EQ(back.Measure[2], 31.0);
    EXPECT_EQ(back.Errors, 1u);
    processes.AddField("broken", "4242 4 0 2");
    EXPECT_EQ(
        SCA_TezReadProcessStatusField(processes.GetHead()->GetNext(), name, sizeof(name), &back),
        0);
}

} // namespace
