// SPDX-License-Identifier: MIT
// The monitoring core's records: counters and their sample stores, errors and error lists,
// and reports with their lookups, counts and round trips.
#include <cstdint>
#include <cstring>
#include <string>
#include <tuple>
#include <type_traits>
#include <vector>

#include <gtest/gtest.h>

#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezAverage.h"
#include "model/SCA_TezCounter.h"
#include "model/SCA_TezCounterData.h"
#include "model/SCA_TezCounterInfo.h"
#include "model/SCA_TezError.h"
#include "model/SCA_TezErrorList.h"
#include "model/SCA_TezRepStatus.h"
#include "model/SCA_TezReport.h"
#include "model/SCA_TezVocabulary.h"
#include "tests/model/RecordTestSupport.h"

namespace {

using records_test::Travel;

static_assert(!std::is_copy_constructible_v<SCA_TezCounter>, "a counter owns its store");
static_assert(!std::is_copy_constructible_v<SCA_TezReport>, "a report owns its counters");
static_assert(std::is_copy_constructible_v<SCA_TezError>, "an error is a plain record");

// A sample store with fixed answers; its averages exist only when asked for.
class FixedStore : public SCA_TezCounterData {
public:
    explicit FixedStore(uint32_t count, bool withAverages = true)
        : m_Count(count), m_Average10(10.5), m_Average30(30.5), m_Average60(60.5),
          m_WithAverages(withAverages) {}
    uint32_t GetValueCount() override { return m_Count; }
    double GetMaxValue() override { return 9.0; }
    double GetMinValue() override { return 1.0; }
    double GetTotalValue() override { return 25.0; }
    double GetAverageValue() override { return 5.0; }
    double GetLastValue() override { return 7.0; }
    SCA_TezAverage* GetAverage10() override { return m_WithAverages ? &m_Average10 : nullptr; }
    SCA_TezAverage* GetAverage30() override { return m_WithAverages ? &m_Average30 : nullptr; }
    SCA_TezAverage* GetAverage60() override { return m_WithAverages ? &m_Average60 : nullptr; }
    uint64_t GetLastTime() override { return 2000 + m_Count; }
    uint64_t GetFirstTime() override { return 1000; }
    uint32_t GetHistoryLength() override { return 60; }

private:
    uint32_t m_Count;
    SCA_TezAverage m_Average10;
    SCA_TezAverage m_Average30;
    SCA_TezAverage m_Average60;
    bool m_WithAverages;
};

SCA_TezCounter* NewCounter(uint32_t id, uint32_t type, const char* instance, uint32_t status = 3) {
    auto* counter = new SCA_TezCounter();
    counter->SetCounterId(id);
    counter->SetCounterType(type);
    counter->SetInstance(instance);
    counter->SetRepStatus(status);
    return counter;
}

SCA_TezError* NewError(uint32_t id, uint32_t status, const char* description) {
    auto* error = new SCA_TezError();
    error->SetErrorId(id);
    error->SetRepStatus(status);
    error->SetDescription(description);
    return error;
}

TEST(CounterTest, StatusTextsAndLocality) {
    SCA_TezCounter counter;
    const std::vector<std::pair<uint32_t, std::string>> table = {
        {0, "Normal"}, {3, "Normal"}, {4, "Warning"}, {5, "Error"}, {6, "Error"}, {7, "Normal"}};
    for (const auto& [status, text] : table) {
        counter.SetRepStatus(status);
        EXPECT_EQ(text, counter.GetRepStatusString()) << "status " << status;
    }
    EXPECT_EQ(1, counter.IsLocal());
    counter.SetComputerName(std::string(70, 'h').c_str());
    EXPECT_EQ(63u, std::strlen(counter.GetComputerName()));
    EXPECT_EQ(0, counter.IsLocal());
}

TEST(CounterTest, SampleGettersReadTheStoreAndAnswerZeroWithoutOne) {
    SCA_TezCounter counter;
    EXPECT_EQ(0u, counter.GetValueCount());
    EXPECT_EQ(0.0, counter.GetMaxValue());
    EXPECT_EQ(0.0, counter.GetAverage10());
    EXPECT_EQ(0u, counter.GetLastTime());
    EXPECT_EQ(nullptr, counter.GetHistoryMinutes());

    counter.SetCounterData(new FixedStore(4));
    EXPECT_EQ(4u, counter.GetValueCount());
    EXPECT_EQ(9.0, counter.GetMaxValue());
    EXPECT_EQ(1.0, counter.GetMinValue());
    EXPECT_EQ(25.0, counter.GetTotalValue());
    EXPECT_EQ(5.0, counter.GetAverageValue());
    EXPECT_EQ(7.0, counter.GetLastValue());
    EXPECT_EQ(10.5, counter.GetAverage10());
    EXPECT_EQ(30.5, counter.GetAverage30());
    EXPECT_EQ(60.5, counter.GetAverage60());
    EXPECT_EQ(2004u, counter.GetLastTime());
    EXPECT_EQ(1000u, counter.GetFirstTime());
    EXPECT_EQ(60u, counter.GetHistoryLength());
    EXPECT_EQ(nullptr, counter.GetHistoryHours()) << "a store without history has none";

    counter.SetCounterData(new FixedStore(4, false));
    EXPECT_EQ(0.0, counter.GetAverage30()) << "no window yet reads as 0";
}

TEST(CounterTest, RoundTripKeepsTheInlineFieldsAndCounterInformation) {
    SCA_TezCounter counter(2);
    counter.SetCounterId(17);
    counter.SetCounterType(SCA_COUNTER_PROCESS_CPU_USAGE);
    counter.SetPerfCounterId(99);
    counter.SetComputerName("db1");
    counter.SetInstance("postgres");
    counter.SetUnits(3);
    counter.SetFixedMaxValue(100.0);
    counter.SetLastTriggerTime(555);
    counter.SetValid(1);
    counter.SetRepStatus(4);
    counter.GetCounterInfo()->SetCounterType(SCA_COUNTER_PROCESS_CPU_USAGE);
    counter.GetCounterInfo()->SetInstance("postgres");
    counter.SetCounterData(new FixedStore(3));

    SCA_ConfigObj object("Counter", nullptr);
    ASSERT_EQ(1, counter.Serialize(&object));
    auto received = Travel(object);
    ASSERT_NE(nullptr, received);
    SCA_TezCounter read;
    ASSERT_EQ(1, read.Deserialize(received.get()));
    EXPECT_EQ(17u, read.GetCounterId());
    EXPECT_EQ(43u, read.GetCounterType());
    EXPECT_EQ(99u, read.GetPerfCounterId());
    EXPECT_STREQ("db1", read.GetComputerName());
    EXPECT_STREQ("postgres", read.GetInstance());
    EXPECT_EQ(3u, read.GetUnits());
    EXPECT_EQ(100.0, read.GetFixedMaxValue());
    EXPECT_EQ(555u, read.GetLastTriggerTime());
    EXPECT_EQ(1, read.IsValid());
    EXPECT_EQ(4u, read.GetRepStatus());
    EXPECT_EQ(2u, read.GetInitMode());
    EXPECT_EQ(43u, read.GetCounterInfo()->GetCounterType());
    EXPECT_STREQ("postgres", read.GetCounterInfo()->GetInstance());
    EXPECT_EQ(0u, read.GetValueCount()) << "the samples stay with the service";
}

// The texts of a counter and of its counter information take the memory of their content, yet
// keep the bounds of the fields they were: cut on a character boundary when set, when read
// from a peer that sent more, and left as they were when a peer sent none.
TEST(CounterTest, TextsKeepTheirBoundsSetReadOrAbsent) {
    const std::string longName = records_test::StraddlingText(SCA_TEZ_NAME_SIZE);
    const std::string longText = records_test::StraddlingText(SCA_TEZ_TEXT_SIZE);
    const std::string cutName(SCA_TEZ_NAME_SIZE - 2, 'a');
    const std::string cutText(SCA_TEZ_TEXT_SIZE - 2, 'a');
    SCA_TezCounter counter;
    counter.SetCounterId(5);
    counter.SetComputerName(longName.c_str());
    counter.SetInstance(longText.c_str());
    SCA_TezCounterInfo* info = counter.GetCounterInfo();
    info->SetComputerName(longName.c_str());
    info->SetNamePrefix(longName.c_str());
    info->SetInstance(longText.c_str());
    EXPECT_EQ(cutName, counter.GetComputerName());
    EXPECT_EQ(cutText, counter.GetInstance());
    EXPECT_EQ(cutName, info->GetComputerName());
    EXPECT_EQ(cutName, info->GetNamePrefix());
    EXPECT_EQ(cutText, info->GetInstance());
    EXPECT_EQ(0, counter.IsLocal());

    SCA_ConfigObj object("Counter", nullptr);
    ASSERT_EQ(1, counter.Serialize(&object));
    const std::string overLong = longText + longText;
    SCA_Object::Destroy(object.RemoveField("Instance"));
    ASSERT_EQ(1, object.AddField("Instance", overLong.c_str()));
    SCA_ConfigObj* infoObject = nullptr;
    ASSERT_EQ(1, object.GetField("CounterInfo", &infoObject));
    SCA_Object::Destroy(infoObject->RemoveField("Instance"));
    ASSERT_EQ(1, infoObject->AddField("Instance", overLong.c_str()));
    SCA_Object::Destroy(object.RemoveField("ComputerName"));
    SCA_Object::Destroy(infoObject->RemoveField("NamePrefix"));

    SCA_TezCounter read;
    read.SetComputerName("kept");
    read.GetCounterInfo()->SetNamePrefix("kept too");
    ASSERT_EQ(1, read.Deserialize(&object));
    EXPECT_EQ(cutText, read.GetInstance());
    EXPECT_EQ(cutText, read.GetCounterInfo()->GetInstance());
    EXPECT_STREQ("kept", read.GetComputerName());
    EXPECT_STREQ("kept too", read.GetCounterInfo()->GetNamePrefix());
    EXPECT_EQ(cutName, read.GetCounterInfo()->GetComputerName());

    SCA_TezCounterInfo copy = *info;
    info->SetInstance(nullptr);
    EXPECT_STREQ("", info->GetInstance());
    EXPECT_EQ(cutText, copy.GetInstance()) << "a copy owns its texts";
}

TEST(ErrorTest, StatusTextsAndBoundedTexts) {
    SCA_TezError error;
    // Reports show warnings, errors and failed sources in bold.
    const std::vector<std::tuple<uint32_t, std::string, bool>> table = {
        {2, "NA", false},   {3, "Message", false}, {4, "Warning", true},
        {5, "Error", true}, {6, "NA", true},       {7, "NA", false}};
    for (const auto& [status, text, bold] : table) {
        error.SetRepStatus(status);
        EXPECT_EQ(text, error.GetRepStatusDescr()) << "status " << status;
        EXPECT_EQ(bold, SCA_TezIsRepStatusBold(status)) << "status " << status;
    }
    error.SetComputerName(std::string(70, 'c').c_str());
    error.SetInstance(std::string(300, 'i').c_str());
    error.SetDescription(records_test::StraddlingText(256).c_str());
    EXPECT_EQ(63u, std::strlen(error.GetComputerName()));
    EXPECT_EQ(255u, std::strlen(error.GetInstance()));
    EXPECT_EQ(254u, std::strlen(error.GetDescription()));
}

TEST(ErrorListTest, LookupByIdAndRoundTrip) {
    SCA_TezErrorList errors;
    SCA_TezError* first = NewError(31, 5, "CPU above 90%");
    first->SetAbsTime(123456789);
    first->SetCounterId(4);
    first->SetCounterType(SCA_COUNTER_CPU_USAGE);
    first->SetComputerName("web");
    first->SetInstance("_Total");
    first->SetCounterValue(97.25);
    ASSERT_EQ(1, errors.AddError(first));
    ASSERT_EQ(1, errors.AddError(NewError(32, 4, "Memory low")));
    SCA_TezError* found = nullptr;
    ASSERT_EQ(1, errors.GetError(32, &found));
    EXPECT_STREQ("Memory low", found->GetDescription());
    SCA_TezError* untouched = found;
    EXPECT_EQ(0, errors.GetError(33, &untouched));
    EXPECT_EQ(found, untouched);

    SCA_ConfigObj object("Errors", nullptr);
    ASSERT_EQ(1, errors.Serialize(&object));
    auto received = Travel(object);
    ASSERT_NE(nullptr, received);
    SCA_TezErrorList copy;
    ASSERT_EQ(1, copy.Deserialize(received.get()));
    ASSERT_EQ(2u, copy.Count());
    ASSERT_EQ(1, copy.GetError(31, &found));
    EXPECT_EQ(123456789u, found->GetAbsTime());
    EXPECT_EQ(5u, found->GetRepStatus());
    EXPECT_EQ(4u, found->GetCounterId());
    EXPECT_EQ(1u, found->GetCounterType());
    EXPECT_STREQ("web", found->GetComputerName());
    EXPECT_STREQ("_Total", found->GetInstance());
    EXPECT_STREQ("CPU above 90%", found->GetDescription());
    EXPECT_EQ(97.25, found->GetCounterValue());
}

TEST(ReportLookupTest, AnEmptyReportAnswersZeroAndFindsNothing) {
    SCA_TezReport report;
    ASSERT_EQ(1u, report.IsConstructed());
    EXPECT_EQ(0u, report.GetWarnings());
    EXPECT_EQ(0u, report.GetErrors());
    EXPECT_EQ(0u, report.GetTotalValueCount());
    EXPECT_EQ(0u, report.GetLastTime());
    SCA_TezCounter* counter = nullptr;
    EXPECT_EQ(0, report.GetCounterByType(SCA_COUNTER_PROCESS_CPU_USAGE, &counter));
    EXPECT_EQ(0, report.GetCounter(43, "x", &counter));
    EXPECT_EQ(0, report.GetCounter(1u, &counter));
    EXPECT_EQ(nullptr, counter);
}

TEST(ReportLookupTest, LookupsTakeTheFirstMatchFromTheHead) {
    SCA_TezReport report;
    ASSERT_EQ(1, report.AddCounter(NewCounter(1, 43, "chrome")));
    ASSERT_EQ(1, report.AddCounter(NewCounter(2, 43, "Firefox")));
    ASSERT_EQ(1, report.AddCounter(NewCounter(3, 46, "Firefox")));
    SCA_TezCounter* counter = nullptr;
    ASSERT_EQ(1, report.GetCounterByType(SCA_COUNTER_PROCESS_CPU_USAGE, &counter));
    EXPECT_EQ(1u, counter->GetCounterId()) << "the one nearer the head";
    ASSERT_EQ(1, report.GetCounter(43, "Firefox", &counter));
    EXPECT_EQ(2u, counter->GetCounterId());
    EXPECT_EQ(0, report.GetCounter(43, "firefox", &counter)) << "instances match exactly";
    EXPECT_EQ(0, report.GetCounter(43, nullptr, &counter));
    ASSERT_EQ(1, report.GetCounter(3u, &counter));
    EXPECT_EQ(46u, counter->GetCounterType());
}

TEST(ReportCountsTest, WarningsErrorsValuesAndLastTime) {
    SCA_TezReport report;
    SCA_TezCounter* head = NewCounter(1, 1, "", 4);
    head->SetCounterData(new FixedStore(10));
    ASSERT_EQ(1, report.AddCounter(head));
    ASSERT_EQ(1, report.AddCounter(NewCounter(2, 2, "", 5)));
    ASSERT_EQ(1, report.AddCounter(NewCounter(3, 3, "", 6)));
    SCA_TezCounter* fourth = NewCounter(4, 4, "", 4);
    fourth->SetCounterData(new FixedStore(5));
    ASSERT_EQ(1, report.AddCounter(fourth));
    EXPECT_EQ(2u, report.GetWarnings());
    EXPECT_EQ(1u, report.GetErrors()) << "status 6 reads as an error but is not counted";
    EXPECT_EQ(15u, report.GetTotalValueCount());
    EXPECT_EQ(2010u, report.GetLastTime()) << "the head counter's store";
    EXPECT_GT(report.CalcMemoryUsage(), SCA_TezReport().CalcMemoryUsage());
}

TEST(ReportRoundTripTest, HeaderSummaryCountersAndErrorsTravel) {
    SCA_TezReport report(nullptr, nullptr, 1);
    report.SetReportTitle("Nightly");
    report.SetHostName("web");
    report.SetMonitorId(12);
    ASSERT_EQ(1, report.GetSummary()->AddField("Samples", 42u));
    ASSERT_EQ(1, report.AddCounter(NewCounter(5, 43, "nginx", 4)));
    ASSERT_EQ(1, report.AddCounter(NewCounter(6, 46, "nginx", 3)));
    ASSERT_EQ(1, report.GetErrorList()->AddError(NewError(1, 4, "CPU high")));

    SCA_ConfigObj object("Report", nullptr);
    ASSERT_EQ(1, report.Serialize(&object));
    auto received = Travel(object);
    ASSERT_NE(nullptr, received);
    SCA_TezReport read;
    ASSERT_EQ(1, read.Deserialize(received.get()));
    EXPECT_STREQ("Nightly", read.GetReportTitle());
    EXPECT_STREQ("web", read.GetHostName());
    EXPECT_EQ(12u, read.GetMonitorId());
    EXPECT_EQ(1u, read.GetCounterMode());
    uint32_t samples = 0;
    ASSERT_EQ(1, read.GetSummary()->GetField("Samples", &samples));
    EXPECT_EQ(42u, samples);
    ASSERT_EQ(2u, read.GetCounterList()->Count());
    SCA_TezCounter* counter = nullptr;
    ASSERT_EQ(1, read.GetCounter(46, "nginx", &counter));
    EXPECT_EQ(6u, counter->GetCounterId());
    EXPECT_EQ(1u, read.GetWarnings());
    SCA_TezError* error = nullptr;
    ASSERT_EQ(1, read.GetErrorList()->GetError(1, &error));
    EXPECT_STREQ("CPU high", error->GetDescription());
}

} // namespace
