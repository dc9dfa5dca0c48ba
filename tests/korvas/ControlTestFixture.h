// SPDX-License-Identifier: MIT
#pragma once

// A control object in a folder of the test's own whose counter monitors sample the captured
// "two-cpu" tree every few milliseconds and whose process monitors scan quickly.
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "korvas/SCA_KorvantaCtrl.h"
#include "korvas/SCA_SrvTaskMonitor.h"
#include "korvas/SCA_SrvTaskProcess.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_EncodedObject.h"
#include "model/SCA_SrvMonitorList.h"
#include "model/SCA_StringStor.h"
#include "model/SCA_TezConfigFiles.h"
#include "tests/perf/PerfTestSupport.h"
#include "tests/support/KorvantaTestSupport.h"

namespace korvas_test {

class ControlTestFixture : public ::testing::Test {
protected:
    static constexpr uint32_t kSampleMs = 10;
    static constexpr uint32_t kScanMs = 20;

    void SetUp() override {
        setenv(SCA_TEZ_HOME_VARIABLE, m_Home.Path().c_str(), 1);
        m_Ctrl.GetReportIndex()->SetReportsDir(m_Home.Path().c_str());
        m_Ctrl.SetTaskHook([](SCA_SrvTask* task) {
            if (task->GetTaskType() == SCA_TASK_COUNTERS) {
                auto* counters = static_cast<SCA_SrvTaskMonitor*>(task);
                counters->GetManager()->SetSnapshotStore(perf_test::Store("two-cpu", "s1"));
                counters->GetManager()->SetSampleInterval(kSampleMs);
            } else {
                static_cast<SCA_SrvTaskProcess*>(task)->SetPeriod(kScanMs);
            }
        });
    }
    void TearDown() override {
        m_Ctrl.DeleteAllTasks();
        unsetenv(SCA_TEZ_HOME_VARIABLE);
    }

    // A monitor of that type with no counters, or with one of counterType (not 0); the
    // counter's id goes to *counterId when given.
    uint32_t AddMonitor(uint32_t type, const char* name, uint32_t counterType,
                        uint32_t* counterId = nullptr) {
        SCA_SrvMonitor* monitor = nullptr;
        EXPECT_EQ(1, m_Ctrl.GetMonitorList()->AddMonitor(type, 0, name, &monitor));
        auto* counters = monitor->GetProfile()->GetCounterList();
        counters->ClearAll();
        if (counterType != 0) {
            uint32_t id = 0;
            EXPECT_EQ(1, counters->AddCounter(counterType, "", "", "", &id));
            if (counterId != nullptr) {
                *counterId = id;
            }
        }
        return monitor->GetMonitorId();
    }

    // A monitor's line as GetStatusEx sends it: "status state counters ...".
    std::string Shown(uint32_t id) {
        const auto snapshot = m_Ctrl.GetStatusSnapshot();
        EXPECT_NE(nullptr, snapshot);
        if (snapshot == nullptr) {
            return "";
        }
        SCA_EncodedObject sent("MonitorsStatus", snapshot->Rows);
        SCA_StringStor bytes;
        SCA_ConfigObj status("MonitorsStatus", nullptr);
        EXPECT_EQ(1, sent.Serialize(&bytes));
        EXPECT_EQ(1, status.Deserialize(&bytes));
        char value[1024] = "";
        status.GetField(std::to_string(id).c_str(), value, sizeof(value));
        return value;
    }

    korvanta_test::TempDir m_Home;
    korvanta_test::ReportCapture m_Reports;
    SCA_KorvantaCtrl m_Ctrl;
};

} // namespace korvas_test
