// SPDX-License-Identifier: MIT
// Status updates of a device, full and compact: the day's report, its counters and times,
// and the device's sessions and report status.
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "KvnTestSupport.h"
#include "libkvn/SCA_KvnDevice.h"
#include "model/SCA_ConfigObj.h"

using kvn_test::FullStatus;
using kvn_test::Reports;
using kvn_test::ServerFolders;
using Texts = std::vector<std::string>;

namespace {

class DeviceStatus : public ::testing::Test {
protected:
    DeviceStatus() : m_Device(nullptr, &m_Folders.Settings) {
        m_Device.SetDeviceId(2);
        m_Device.SetHostName("db-02");
    }

    // The report of a day as the index and the list hold it (both must exist).
    SCA_KvnReport* ReportOfDay(uint32_t day, SCA_KvnReportInfo** entry = nullptr) {
        SCA_KvnReport* report = nullptr;
        SCA_KvnReportInfo* info = nullptr;
        EXPECT_EQ(1, m_Device.GetReportList()->GetReportByDay(day, &report));
        EXPECT_EQ(1, m_Device.GetReportIndex()->GetReportByDay(day, &info));
        if (entry != nullptr) {
            *entry = info;
        }
        return report;
    }

    SCA_KvnCounter* Counter(SCA_KvnReport* report, uint32_t id) {
        SCA_KvnCounter* counter = nullptr;
        EXPECT_EQ(1, report->GetCounterList()->GetCounter(id, &counter));
        return counter;
    }

    ServerFolders m_Folders;
    SCA_KvnDevice m_Device;
};

} // namespace

TEST_F(DeviceStatus, SamplesOnBothSidesOfMidnightGoToTwoReports) {
    FullStatus status;
    SCA_ConfigObj* data = status.AddCounter(10);
    FullStatus::Sample(data, 86399, "1");
    FullStatus::Sample(data, 86400, "2");
    status.AddCounter(11, false);
    ASSERT_EQ(1, m_Device.UpdateStatus(status.Get(), nullptr, nullptr));

    SCA_KvnReportInfo* entry = nullptr;
    SCA_KvnReport* day0 = ReportOfDay(0, &entry);
    SCA_KvnReport* day1 = ReportOfDay(1);
    ASSERT_NE(nullptr, day0);
    ASSERT_NE(nullptr, day1);
    EXPECT_EQ(0u, day0->GetReportId());
    EXPECT_EQ(1u, day1->GetReportId());
    EXPECT_EQ(2u, day0->GetNumOfCounters()); // counter objects of the update
    EXPECT_EQ(2u, entry->GetDeviceId());
    EXPECT_STREQ("db-02", entry->GetHostName());
    EXPECT_EQ(86399u, day0->GetFirstReportTime());
    EXPECT_EQ(86400u, day1->GetLastReportTime());
    EXPECT_EQ(0, entry->IsSaved());
    EXPECT_EQ(1u, Counter(day0, 10)->GetTotalValues());
    EXPECT_EQ(1u, Counter(day1, 10)->GetTotalValues());
}

TEST_F(DeviceStatus, ReportTimesOnlyWiden) {
    FullStatus first;
    SCA_ConfigObj* data = first.AddCounter(10);
    FullStatus::Sample(data, 1000, "1");
    FullStatus::Sample(data, 2000, "1");
    ASSERT_EQ(1, m_Device.UpdateStatus(first.Get(), nullptr, nullptr));
    FullStatus later;
    data = later.AddCounter(10);
    FullStatus::Sample(data, 500, "1");
    FullStatus::Sample(data, 3000, "1");
    ASSERT_EQ(1, m_Device.UpdateStatus(later.Get(), nullptr, nullptr));

    SCA_KvnReportInfo* entry = nullptr;
    SCA_KvnReport* report = ReportOfDay(0, &entry);
    EXPECT_EQ(1u, m_Device.GetReportIndex()->Count());
    for (SCA_KvnReportInfo* header : {static_cast<SCA_KvnReportInfo*>(report), entry}) {
        EXPECT_EQ(1000u, header->GetFirstReportTime());
        EXPECT_EQ(3000u, header->GetLastReportTime());
    }
    EXPECT_EQ(4u, Counter(report, 10)->GetTotalValues());
}

TEST_F(DeviceStatus, ACounterWithoutItsFieldsGetsZeroNotThePreviousCounters) {
    FullStatus status;
    FullStatus::Sample(status.AddCounter(10, true, 59, 1, 500.0), 100, "1");
    FullStatus::Sample(status.AddCounter(11, false), 100, "2");
    status.Get()->AddField("FirstValueTime", uint64_t{100});
    status.Get()->AddField("LastValueTime", uint64_t{160});
    uint64_t firstTime = 0;
    uint64_t lastTime = 0;
    ASSERT_EQ(1, m_Device.UpdateStatus(status.Get(), &firstTime, &lastTime));
    EXPECT_EQ(100u, firstTime);
    EXPECT_EQ(160u, lastTime);

    SCA_KvnReport* report = ReportOfDay(0);
    SCA_KvnCounter* described = Counter(report, 10);
    EXPECT_EQ(59u, described->GetCounterType());
    EXPECT_EQ(500.0, described->GetFixedMaxValue());
    SCA_KvnCounter* bare = Counter(report, 11);
    EXPECT_EQ(0u, bare->GetCounterType());
    EXPECT_EQ(0u, bare->GetUnits());
    EXPECT_EQ(0.0, bare->GetFixedMaxValue());
}

TEST_F(DeviceStatus, SamplesThatAreNotNumbersAreLeftOut) {
    FullStatus status;
    SCA_ConfigObj* data = status.AddCounter(10);
    FullStatus::Sample(data, 100, "n/a");
    FullStatus::Sample(data, 110, "nan");
    FullStatus::Sample(data, 120, "4.5");
    ASSERT_EQ(1, m_Device.UpdateStatus(status.Get(), nullptr, nullptr));
    SCA_KvnCounter* counter = Counter(ReportOfDay(0), 10);
    EXPECT_EQ(1u, counter->GetTotalValues());
    double avg = 0;
    double min = 0;
    double max = 0;
    ASSERT_EQ(1, counter->GetMinutes()->GetStatistics(&avg, &min, &max));
    EXPECT_EQ(4.5, avg);
}

TEST_F(DeviceStatus, MalformedFullStatusIsRefusedKeepingWhatCameBefore) {
    Reports reports;
    SCA_ConfigObj empty("Status", nullptr);
    EXPECT_EQ(0, m_Device.UpdateStatus(&empty, nullptr, nullptr));
    empty.AddConfigObj("MonitorData");
    EXPECT_EQ(0, m_Device.UpdateStatus(&empty, nullptr, nullptr));
    EXPECT_EQ((Texts{"SCA_KvnDevice::UpdateStatus: no monitor data in the device status - "
                     "db-02(2)",
                     "SCA_KvnDevice::UpdateStatus: cannot get counters status from the monitor "
                     "data"}),
              reports.TakeTexts());

    FullStatus status;
    FullStatus::Sample(status.AddCounter(10), 100, "1");
    SCA_ConfigObj* counters = nullptr;
    status.Get()->GetField("MonitorData", &counters);
    counters->GetField("Counters", &counters);
    counters->AddConfigObj("11"); // no "Data"
    EXPECT_EQ(0, m_Device.UpdateStatus(status.Get(), nullptr, nullptr));
    EXPECT_EQ((Texts{"SCA_KvnDevice::UpdateStatus: cannot get counter data"}), reports.TakeTexts());
    EXPECT_EQ(1u, Counter(ReportOfDay(0), 10)->GetTotalValues());
}

TEST_F(DeviceStatus, CompactSampleSetsFeedTheDaysReport) {
    SCA_ConfigObj status("Status", nullptr);
    SCA_ConfigObj* late = status.AddConfigObj("3 1 5 86399");
    late->AddField("10 4 1 100", "20");
    late->AddField("11 5 2 0", "7");
    SCA_ConfigObj* next = status.AddConfigObj("3 1 5 86460");
    next->AddField("10 4 1 100", "40");
    uint32_t error = 0;
    ASSERT_EQ(1, m_Device.UpdateStatusEx(&status, &error));

    SCA_KvnReport* day0 = ReportOfDay(0);
    EXPECT_EQ(5u, day0->GetNumOfCounters()); // third token of the sample set
    SCA_KvnCounter* counter = Counter(day0, 10);
    EXPECT_EQ(4u, counter->GetCounterType());
    EXPECT_EQ(1u, counter->GetUnits());
    EXPECT_EQ(100.0, counter->GetFixedMaxValue());
    EXPECT_EQ(5u, Counter(day0, 11)->GetCounterType());
    EXPECT_EQ(86460u, ReportOfDay(1)->GetFirstReportTime());
    EXPECT_EQ(1u, Counter(ReportOfDay(1), 10)->GetTotalValues());

    SCA_ConfigObj none("Status", nullptr);
    EXPECT_EQ(1, m_Device.UpdateStatusEx(&none, &error));
    EXPECT_EQ(0u, error);
}

TEST_F(DeviceStatus, CompactNamesWithoutTheirTokensAreRefused) {
    struct Case {
        const char* SetName;
        const char* FieldName;
        const char* Message;
    };
    const Case cases[] = {
        {" ", "1 1 1 1", "device 2 cannot get monitor Id from the sample name - "},
        {"3 1 2", "1 1 1 1", "device 2 cannot get sample time from the sample name - 3 1 2"},
        {"3 1 2 0", "1 1 1 1", "device 2 invalid sample time is the sample name - 3 1 2 0"},
        {"3 1 2 600", "1 1", "device 2 cannot get counter units from the counter name - 1 1"},
        {"3 1 2 600", "1 1 1", "device 2 cannot get the fixed max value from the counter name"},
    };
    for (const Case& test : cases) {
        SCA_ConfigObj status("Status", nullptr);
        SCA_ConfigObj* set = status.AddConfigObj(test.SetName);
        set->AddField(test.FieldName, "1");
        Reports reports;
        uint32_t error = 0;
        EXPECT_EQ(0, m_Device.UpdateStatusEx(&status, &error)) << test.SetName;
        EXPECT_EQ(SCA_KVN_ERROR_BAD_SAMPLE_NAME, error) << test.SetName;
        const Texts texts = reports.TakeTexts();
        ASSERT_EQ(1u, texts.size()) << test.SetName;
        EXPECT_NE(std::string::npos, texts[0].find(test.Message)) << texts[0];
    }
}

TEST_F(DeviceStatus, RepStatusFollowsErrorsWarningsAndOnline) {
    m_Device.SetOnline(1);
    m_Device.SetCurrentWarnings(2);
    EXPECT_EQ(4u, m_Device.GetRepStatus());
    m_Device.SetCurrentErrors(1);
    EXPECT_EQ(5u, m_Device.GetRepStatus());
    m_Device.SetCurrentErrors(0);
    m_Device.SetCurrentWarnings(0);
    EXPECT_EQ(1u, m_Device.GetRepStatus());
    m_Device.SetOnline(0);
    EXPECT_EQ(7u, m_Device.GetRepStatus());
}

TEST_F(DeviceStatus, OneOpenSessionAtATime) {
    SCA_KvnDeviceSession* first = nullptr;
    SCA_KvnDeviceSession* again = nullptr;
    ASSERT_EQ(1, m_Device.OpenSession(&first));
    ASSERT_EQ(1, m_Device.OpenSession(&again));
    EXPECT_EQ(first, again);
    EXPECT_EQ(first, m_Device.GetCurrentSession());

    ASSERT_EQ(1, m_Device.CloseSession());
    EXPECT_NE(0u, first->GetStopTime());
    EXPECT_EQ(nullptr, m_Device.GetCurrentSession());
    EXPECT_EQ(1, m_Device.CloseSession());

    ASSERT_EQ(1, m_Device.OpenSession(&again));
    EXPECT_EQ(1u, again->GetSessionId());
    EXPECT_EQ(2u, m_Device.GetSessions()->Count());

    // A session removed from the history is no longer the open one.
    m_Device.GetSessions()->DeleteSession(1);
    EXPECT_EQ(nullptr, m_Device.GetCurrentSession());
}

TEST_F(DeviceStatus, AnEntryWithoutReportOrFileServesItsDayAgain) {
    FullStatus first;
    FullStatus::Sample(first.AddCounter(10), 100, "1");
    ASSERT_EQ(1, m_Device.UpdateStatus(first.Get(), nullptr, nullptr));
    m_Device.GetReportList()->ClearAll(); // dropped from memory before it was ever saved

    FullStatus later;
    FullStatus::Sample(later.AddCounter(10), 200, "1");
    ASSERT_EQ(1, m_Device.UpdateStatus(later.Get(), nullptr, nullptr));
    EXPECT_EQ(1u, m_Device.GetReportIndex()->Count());
    SCA_KvnReport* report = ReportOfDay(0);
    ASSERT_NE(nullptr, report);
    EXPECT_EQ(0u, report->GetReportId());
    EXPECT_STREQ("db-02", report->GetHostName());
    EXPECT_EQ(100u, report->GetFirstReportTime());
    EXPECT_EQ(200u, report->GetLastReportTime());
}

TEST_F(DeviceStatus, SetContentTakesWhatTheFlagsSay) {
    FullStatus status;
    FullStatus::Sample(status.AddCounter(10), 100, "1");
    ASSERT_EQ(1, m_Device.UpdateStatus(status.Get(), nullptr, nullptr));
    SCA_KvnDeviceSession* session = nullptr;
    m_Device.OpenSession(&session);
    m_Device.SetTotalErrors(6);
    m_Device.SetOnline(1);

    SCA_KvnDevice copy(nullptr, &m_Folders.Settings);
    copy.OpenSession(&session);
    ASSERT_EQ(1, copy.SetContent(&m_Device, 1, 0));
    EXPECT_STREQ("db-02", copy.GetHostName());
    EXPECT_EQ(6u, copy.GetTotalErrors());
    EXPECT_EQ(0, copy.IsOnline());
    EXPECT_EQ(1u, copy.GetReportIndex()->Count());
    EXPECT_EQ(0u, copy.GetReportList()->Count()); // reports stay with their device
    EXPECT_EQ(0u, copy.GetSessions()->Count());
    EXPECT_EQ(nullptr, copy.GetCurrentSession());
}
