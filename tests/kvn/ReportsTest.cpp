// SPDX-License-Identifier: MIT
// Report headers, the report index and the report list.
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "KvnTestSupport.h"
#include "libkvn/SCA_KvnReport.h"
#include "libkvn/SCA_KvnReportIndex.h"
#include "libkvn/SCA_KvnReportList.h"
#include "model/SCA_ConfigObj.h"

using kvn_test::Names;
using kvn_test::Printed;
using kvn_test::Value;
using Texts = std::vector<std::string>;

namespace {

std::vector<uint32_t> ReportIds(const SCA_KvnReportIndex& index) {
    std::vector<uint32_t> ids;
    for (auto* node = index.GetHead(); node != nullptr; node = node->GetNext()) {
        ids.push_back(node->GetItem()->GetReportId());
    }
    return ids;
}

} // namespace

TEST(ReportInfo, StoredFormStartsWithFileTypeAndVersion) {
    SCA_KvnReportInfo info;
    SCA_ConfigObj object("ReportInfo", nullptr);
    ASSERT_EQ(1, info.Serialize(&object));
    EXPECT_EQ((Texts{"FileType", "Version", "DeviceId", "ReportId", "MonitorId", "AbsDay",
                     "FirstReportTime", "LastReportTime", "HostName", "NumOfCounters",
                     "NumOfErrors", "NumOfWarnings", "Saved"}),
              Names(object));
    EXPECT_EQ("1018", Value(object, "FileType"));
    EXPECT_EQ("1.0", Value(object, "Version"));
    for (const char* id : {"DeviceId", "ReportId", "MonitorId"}) {
        EXPECT_EQ("4294967295", Value(object, id)) << id;
    }

    info.SetAbsDay(19000);
    info.SetHostName("web");
    info.SetNumOfWarnings(3);
    SCA_KvnReportInfo* clone = info.Clone();
    ASSERT_NE(nullptr, clone);
    EXPECT_EQ(19000u, clone->GetAbsDay());
    EXPECT_STREQ("web", clone->GetHostName());
    EXPECT_EQ(3u, clone->GetNumOfWarnings());
    clone->Destroy();
}

TEST(ReportIndex, NumbersReportsAndContinuesAboveWhatItReads) {
    SCA_KvnReportIndex index(nullptr, nullptr, nullptr);
    SCA_KvnReportInfo* info = nullptr;
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(1, index.AddReport(&info));
    }
    EXPECT_EQ((std::vector<uint32_t>{0, 1, 2}), ReportIds(index));
    index.ClearAll();
    index.AddReport(&info);
    EXPECT_EQ(0u, info->GetReportId());

    SCA_ConfigObj stored("ReportIndex", nullptr);
    stored.AddConfigObj("x")->AddField("ReportId", 9u);
    stored.AddConfigObj("y")->AddField("ReportId", 4u);
    stored.AddConfigObj("z")->AddField("AbsDay", 3u); // no number of its own
    ASSERT_EQ(1, index.Deserialize(&stored));
    EXPECT_EQ((std::vector<uint32_t>{9, 4, 10}), ReportIds(index));
    EXPECT_EQ(11u, index.GetNextReportId());
    ASSERT_EQ(1, index.GetReportByDay(3, &info));
    EXPECT_EQ(10u, info->GetReportId());
}

TEST(ReportIndex, SerializeStopsAtTheLimit) {
    SCA_KvnReportIndex index(nullptr, nullptr, nullptr);
    SCA_KvnReportInfo* info = nullptr;
    for (int i = 0; i < 5; ++i) {
        index.AddReport(&info);
    }
    SCA_ConfigObj two("Index", nullptr);
    ASSERT_EQ(1, index.Serialize(&two, 2));
    EXPECT_EQ((Texts{"0", "1"}), Names(two));
    SCA_ConfigObj one("Index", nullptr);
    ASSERT_EQ(1, index.Serialize(&one, 0));
    EXPECT_EQ((Texts{"0"}), Names(one));
    SCA_ConfigObj all("Index", nullptr);
    ASSERT_EQ(1, index.Serialize(&all, 0xFFFFFFFFu));
    EXPECT_EQ(5u, all.GetFieldCount());
}

TEST(ReportIndex, IdenticalMeansTheSameTimes) {
    SCA_KvnReportIndex index(nullptr, nullptr, nullptr);
    SCA_KvnReportInfo* info = nullptr;
    index.AddReport(&info);
    info->SetFirstReportTime(100);
    info->SetLastReportTime(200);
    SCA_KvnReportInfo other;
    other.SetReportId(42);
    other.SetFirstReportTime(100);
    other.SetLastReportTime(200);
    EXPECT_EQ(1, index.IsReportExists(&other));
    other.SetLastReportTime(201);
    EXPECT_EQ(0, index.IsReportExists(&other));
}

TEST(ReportIndex, ShowCountsReports) {
    SCA_KvnReportIndex index(nullptr, nullptr, nullptr);
    SCA_KvnReportInfo* info = nullptr;
    index.AddReport(&info);
    std::string text = Printed([&] { index.Show(); });
    EXPECT_EQ(0u, text.find("1 Device Report in the Report Index\n\nReport 000 - ")) << text;
    index.AddReport(&info);
    text = Printed([&] { index.Show(); });
    EXPECT_EQ(0u, text.find("2 Device Reports in the Report Index\n\n")) << text;
}

TEST(Report, CopiesOwnTheirCounters) {
    SCA_KvnReport report;
    report.SetReportId(6);
    report.SetAbsDay(2);
    SCA_KvnCounter* counter = nullptr;
    report.GetCounterList()->AddCounter(3, &counter);
    counter->AddValue(nullptr, 172800, 9.0);

    SCA_KvnReport copy(report);
    ASSERT_EQ(1u, copy.IsConstructed());
    ASSERT_EQ(1, copy.GetCounterList()->GetCounter(3, &counter));
    counter->AddValue(nullptr, 172900, 1.0);
    SCA_KvnCounter* original = nullptr;
    ASSERT_EQ(1, report.GetCounterList()->GetCounter(3, &original));
    EXPECT_EQ(1u, original->GetTotalValues());
    EXPECT_EQ(2u, counter->GetTotalValues());

    SCA_KvnReport whole;
    ASSERT_EQ(1, whole.SetContent(&report));
    EXPECT_EQ(6u, whole.GetReportId());
    EXPECT_EQ(1u, whole.GetCounterList()->Count());

    // From a header alone a report takes the header and keeps its counters.
    SCA_KvnReportInfo header;
    header.SetReportId(8);
    header.SetAbsDay(4);
    ASSERT_EQ(1, whole.SetContent(static_cast<const SCA_KvnReportInfo*>(&header)));
    EXPECT_EQ(8u, whole.GetReportId());
    EXPECT_EQ(4u, whole.GetAbsDay());
    EXPECT_EQ(1u, whole.GetCounterList()->Count());
    EXPECT_EQ(384u + whole.GetCounterList()->CalcMemoryUsage(), whole.CalcMemoryUsage());
}

TEST(ReportList, RoundTripOfWholeReports) {
    SCA_KvnReportList list(nullptr, nullptr);
    SCA_KvnReport* report = nullptr;
    ASSERT_EQ(1, list.AddReport(5, &report));
    report->SetAbsDay(10);
    SCA_KvnCounter* counter = nullptr;
    report->GetCounterList()->AddCounter(1, &counter);
    counter->AddValue(nullptr, 864000, 3.0);
    ASSERT_EQ(1, list.AddReport(2, &report));
    report->SetAbsDay(11);

    SCA_ConfigObj stored("Reports", nullptr);
    ASSERT_EQ(1, list.Serialize(&stored));
    EXPECT_EQ((Texts{"5", "2"}), Names(stored));
    SCA_KvnReportList read(nullptr, nullptr);
    ASSERT_EQ(1, read.Deserialize(&stored));
    ASSERT_EQ(1, read.GetReportByDay(10, &report));
    EXPECT_EQ(5u, report->GetReportId());
    EXPECT_EQ(1u, report->GetCounterList()->Count());
    EXPECT_EQ(1, read.GetReport(2, &report));
    EXPECT_EQ(1, read.DeleteReport(99));
    EXPECT_EQ(2u, read.Count());
    const std::string text = Printed([&] { read.Show(); });
    EXPECT_EQ(0u, text.find("2 Device Reports in the Report List\n\nReport 005 - ")) << text;
}
