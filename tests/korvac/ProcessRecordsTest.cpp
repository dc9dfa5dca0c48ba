// SPDX-License-Identifier: MIT
// The process list's status texts, records, totals and sort order, without a window: the ten
// tokens as the codec reads them, what a missing, empty or broken list does to the records,
// and the header clicks' sort modes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "korvac/process/SCA_ProcessStatusRecords.h"
#include "libtez/SCA_TezProcessStatusText.h"

namespace {

using Row = SCA_KorvantaInterface::ProcessRow;
using ListStatus = SCA_KorvantaInterface::ProcessListStatus;

Row MakeRow(const char* name, uint32_t id, uint32_t instances, double cpu, double memory,
            double threads, double handles) {
    Row row;
    std::snprintf(row.Name, sizeof(row.Name), "%s", name);
    row.Status.ProcessId = id;
    row.Status.InstanceCount = instances;
    row.Status.Measure[0] = cpu;
    row.Status.Measure[1] = memory;
    row.Status.Measure[2] = threads;
    row.Status.Measure[3] = handles;
    row.Status.MeasureValid = 0xF;
    row.Status.Errors = id % 3;
    row.Status.Warnings = 1;
    return row;
}

ListStatus ListOf(std::vector<Row> rows) {
    ListStatus status;
    status.ListPresent = 1;
    status.RowsRead = 1;
    status.Processes = std::move(rows);
    return status;
}

std::vector<std::string> Names(const SCA_ProcessStatusRecords& records) {
    std::vector<std::string> names;
    for (size_t i = 0; i < records.Count(); ++i) {
        names.emplace_back(records.At(i).Name);
    }
    return names;
}

TEST(ProcessStatusText, TheTenTokensReadOrNameTheTokenThatFailed) {
    struct Case {
        const char* Text;
        int Ok;
        uint32_t BadToken;
        uint32_t Instances;
        double Threads;
    };
    const Case cases[] = {
        {"101 11 3 2 1.5 4096 10.9 20.9 0 1", 1, 0, 2, 10.9},
        // A count with a fractional part reads as its integer part.
        {"101 11 3 3.7 1.5 4096 7 8 0 1", 1, 0, 3, 7},
        // A measure that is not available travels as "-".
        {"101 11 3 1 - - - - 0 0", 1, 0, 1, 0},
        {"", 0, 1, 0, 0},
        {"abc 11 3 1 1 1 1 1 0 0", 0, 1, 0, 0},
        {"101 11 3 1 1.5 4096 7", 0, 8, 0, 0},
        {"101 11 3 1 1.5 4096 7 8 0", 0, 10, 0, 0},
        {"101 11 3 1 1.5 x 7 8 0 0", 0, 6, 0, 0},
        {"101 11 3 1.x 1.5 1 7 8 0 0", 0, 4, 0, 0},
        {"101 11 3 1 1.5 4096 7 8 0 0 99", 0, 11, 0, 0},
        {"101 11 3 1 1.5 4096 7 8 0 -1", 0, 10, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Text);
        tagSCA_TEZ_PROCESS_STATUS status;
        uint32_t bad = 99;
        EXPECT_EQ(SCA_TezParseProcessStatus(c.Text, &status, &bad), c.Ok);
        EXPECT_EQ(bad, c.BadToken);
        if (c.Ok) {
            EXPECT_EQ(status.InstanceCount, c.Instances);
            EXPECT_DOUBLE_EQ(status.Measure[2], c.Threads);
        }
    }
}

TEST(ProcessRecords, TotalsTruncateThreadsAndHandlesAndAnEmptyListEmptiesAMissingOneKeeps) {
    SCA_ProcessStatusRecords records;
    ASSERT_EQ(records.Parse(ListOf(
                  {MakeRow("a", 1, 2, 1, 100, 10.9, 5.5), MakeRow("b", 2, 3, 1, 50, 20.9, 6.7)})),
              1);
    EXPECT_EQ(records.Count(), 2u);
    EXPECT_EQ(records.Totals().Instances, 5u);
    EXPECT_EQ(records.Totals().Threads, 30u);
    EXPECT_EQ(records.Totals().Handles, 11u);
    EXPECT_DOUBLE_EQ(records.Totals().Memory, 150.0);
    EXPECT_EQ(records.Totals().Warnings, 2u);
    ASSERT_NE(records.Find(2), nullptr);
    EXPECT_STREQ(records.Find(2)->Name, "b");

    // A reply without a list changes nothing.
    ListStatus missing;
    EXPECT_EQ(records.Parse(missing), 1);
    EXPECT_EQ(records.Count(), 2u);
    EXPECT_EQ(records.Totals().Instances, 5u);

    // An empty list is a list of no processes.
    EXPECT_EQ(records.Parse(ListOf({})), 1);
    EXPECT_EQ(records.Count(), 0u);
    EXPECT_EQ(records.Totals().Instances, 0u);
    EXPECT_DOUBLE_EQ(records.Totals().Memory, 0.0);
    EXPECT_EQ(records.Find(2), nullptr);
}

TEST(ProcessRecords, AListBrokenPartWayLeavesTheLastGoodRecordsWhole) {
    SCA_ProcessStatusRecords records;
    ASSERT_EQ(records.Parse(ListOf({MakeRow("a", 1, 1, 1, 1, 1, 1)})), 1);
    ListStatus broken = ListOf({MakeRow("b", 2, 1, 1, 1, 1, 1), MakeRow("c", 3, 1, 1, 1, 1, 1)});
    broken.Processes.resize(1); // the rows read before the bad one
    broken.RowsRead = 0;
    broken.BadToken = 5;
    std::snprintf(broken.BadName, sizeof(broken.BadName), "c");
    EXPECT_EQ(records.Parse(broken), 0);
    // Never a count beyond the records: a header click after it sorts what is there.
    ASSERT_EQ(records.Count(), 1u);
    EXPECT_EQ(records.Sort(SCA_PROC_SORT_NAME), 1);
    EXPECT_EQ(Names(records), std::vector<std::string>{"a"});
}

TEST(ProcessRecords, SortModesOrderTheRecordsAndInvalidModesKeepTheOrder) {
    SCA_ProcessStatusRecords records;
    ASSERT_EQ(records.Parse(ListOf({MakeRow("bash", 1, 2, 5.0, 300, 1, 40),
                                    MakeRow("Xorg", 2, 1, 9.0, 900, 12, 10),
                                    MakeRow("apache", 3, 8, 1.0, 100, 80, 20)})),
              1);
    struct Case {
        uint32_t Mode;
        std::vector<std::string> Order;
    };
    const Case cases[] = {
        {0, {"apache", "bash", "Xorg"}},  {1, {"Xorg", "bash", "apache"}},
        {2, {"apache", "bash", "Xorg"}},  {3, {"Xorg", "bash", "apache"}},
        {4, {"apache", "bash", "Xorg"}},  {5, {"Xorg", "bash", "apache"}},
        {6, {"bash", "Xorg", "apache"}},  {7, {"apache", "Xorg", "bash"}},
        {8, {"Xorg", "apache", "bash"}},  {9, {"bash", "apache", "Xorg"}},
        {12, {"Xorg", "bash", "apache"}}, {13, {"apache", "bash", "Xorg"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Mode);
        EXPECT_EQ(records.Sort(c.Mode), 1);
        EXPECT_EQ(Names(records), c.Order);
    }
    for (uint32_t invalid : {10u, 11u, 14u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(invalid);
        EXPECT_EQ(records.Sort(invalid), 0);
        EXPECT_EQ(Names(records), (std::vector<std::string>{"apache", "bash", "Xorg"}));
    }
    EXPECT_EQ(SCA_ProcessStatusRecords::CompareNames("KWorker", "kworker"), 0);
    EXPECT_LT(SCA_ProcessStatusRecords::CompareNames("abc", "ABD"), 0);
    // Bytes above 0x7F compare as unsigned values, after every ASCII letter.
    EXPECT_GT(SCA_ProcessStatusRecords::CompareNames("\xc3\xa9t\xc3\xa9", "zz"), 0);
}

TEST(ProcessSortState, HeaderClicksChooseAndTurnTheOrder) {
    struct Step {
        int Column;
        uint32_t Mode;
        int SortColumn;
        bool Ascending;
    };
    // From the initial memory-descending order.
    const Step steps[] = {
        {3, 3, 3, false},                    // CPU: biggest first
        {3, 2, 3, true},                     // again: turned
        {4, 5, 4, false},                    // Memory after that: biggest first
        {1, 0, 1, true},                     // Process: A to Z
        {1, 1, 1, false},                    // again: Z to A
        {1, 0, 1, true},                     // and back
        {2, 13, 2, false},                   // Instances
        {2, 12, 2, true},  {5, 7, 5, false}, // Threads
        {6, 9, 6, false},                    // Handles
        {6, 8, 6, true},   {7, 5, 4, false}, // Errors and beyond: memory, biggest first
        {8, 5, 4, false},
    };
    SCA_ProcessSortState sort;
    EXPECT_EQ(sort.Mode, 5u);
    EXPECT_EQ(sort.Column, 4);
    EXPECT_EQ(sort.Click(0), 0);
    EXPECT_EQ(sort.Mode, 5u);
    for (const Step& step : steps) {
        SCOPED_TRACE(step.Column);
        EXPECT_EQ(sort.Click(step.Column), 1);
        EXPECT_EQ(sort.Mode, step.Mode);
        EXPECT_EQ(sort.Column, step.SortColumn);
        EXPECT_EQ(sort.IsAscending(), step.Ascending);
    }
}

} // namespace
