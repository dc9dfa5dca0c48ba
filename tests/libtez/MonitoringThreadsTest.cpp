// SPDX-License-Identifier: MIT
// The monitoring core's threads as their owners see them before a body runs: the report-status
// mapping of the jobs, the action controller's queue, the status tables of the counter
// monitor's manager and of the process monitor, and the process monitor's data lock.
#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include <gtest/gtest.h>

#include "libmor/SCA_Sync.h"
#include "libmor/SCA_Time.h"
#include "libtez/SCA_TezActionCtrl.h"
#include "libtez/SCA_TezLoader.h"
#include "libtez/SCA_TezManager.h"
#include "libtez/SCA_TezProcessMonitor.h"
#include "libtez/SCA_TezSelfTest.h"
#include "libtez/SCA_UpdateManager.h"
#include "model/SCA_ProgressObj.h"
#include "model/SCA_SoundAction.h"
#include "model/SCA_TezAction.h"
#include "tests/model/RecordTestSupport.h"

namespace {

static_assert(!std::is_copy_constructible_v<SCA_TezSelfTest>, "a job owns its thread");
static_assert(!std::is_copy_constructible_v<SCA_UpdateManager>, "a job owns its thread");
static_assert(!std::is_copy_constructible_v<SCA_TezActionCtrl>, "a controller owns its thread");
static_assert(!std::is_copy_constructible_v<SCA_TezManager>, "a manager owns its live data");

SCA_SoundAction* NewAction(uint32_t id, uint64_t time, const char* name) {
    auto* action = new SCA_SoundAction();
    action->SetActionId(id);
    action->SetActionTime(time);
    action->SetSoundName(name);
    return action;
}

// A job whose run state the test sets; the default report-status mapping is the one checked.
class PlainJob : public SCA_ProgressObj {
public:
    uint32_t GetProgress() override { return 0; }
    void SetProgress(uint32_t) override {}
    uint32_t GetProcessStatus() override { return m_Status; }
    const char* GetStatusString() override { return ""; }
    uint32_t m_Status = 0;
};

// Jobs whose thread bodies do nothing: only their status mappings and texts are looked at.
class SelfTest : public SCA_TezSelfTest {
public:
    SelfTest() : SCA_TezSelfTest(nullptr, nullptr, nullptr) {}
    int ThreadFunc() override { return 0; }
};

class Loader : public SCA_TezLoader {
public:
    Loader() : SCA_TezLoader(nullptr, nullptr, nullptr) {}
    int ThreadFunc() override { return 0; }
};

class UpdateCheck : public SCA_UpdateManager {
public:
    UpdateCheck() : SCA_UpdateManager(nullptr, nullptr, nullptr) {}
    int ThreadFunc() override { return 0; }
};

// The controller's worker is supplied by the job that runs it; this one does nothing.
class ActionCtrl : public SCA_TezActionCtrl {
public:
    ActionCtrl() : SCA_TezActionCtrl(nullptr, nullptr, nullptr, nullptr, 1) {}
    int ThreadFunc() override { return 0; }
};

class Manager : public SCA_TezManager {
public:
    Manager() : SCA_TezManager(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr) {}
};

// The scanning body is supplied by the jobs that run it; this one does nothing.
class ProcessMonitor : public SCA_TezProcessMonitor {
public:
    ProcessMonitor() : SCA_TezProcessMonitor(nullptr, nullptr, nullptr, nullptr) {}
    int ThreadFunc() override { return 0; }
};

SCA_TezCounter* NewCounter(uint32_t id) {
    auto* counter = new SCA_TezCounter();
    counter->SetCounterId(id);
    return counter;
}

std::string Value(SCA_TezManager& manager, uint32_t index, int* result = nullptr) {
    char buf[64];
    std::memset(buf, 'x', sizeof(buf));
    const int answer = manager.GetStatusValue(index, buf, sizeof(buf));
    if (result != nullptr) {
        *result = answer;
    }
    return buf;
}

std::string Value(SCA_TezProcessMonitor& monitor, uint32_t index, int* result = nullptr) {
    char buf[64];
    std::memset(buf, 'x', sizeof(buf));
    const int answer = monitor.GetStatusValue(index, buf, sizeof(buf));
    if (result != nullptr) {
        *result = answer;
    }
    return buf;
}

TEST(JobStatusTest, DefaultMappingAndTheSelfTestsOwnDiffer) {
    struct Row {
        uint32_t Status;
        uint32_t Default;
        uint32_t SelfTest;
    };
    const Row rows[] = {{0, 5, 5},  {1, 1, 1},  {10, 3, 3}, {11, 4, 4},
                        {12, 5, 5}, {17, 4, 5}, {22, 4, 4}, {99, 5, 5}};
    PlainJob job;
    SelfTest selfTest;
    Loader loader;
    for (const Row& row : rows) {
        job.m_Status = row.Status;
        selfTest.SetProcessStatus(row.Status);
        loader.SetProcessStatus(row.Status);
        EXPECT_EQ(row.Default, job.GetRepStatus()) << "status " << row.Status;
        EXPECT_EQ(row.SelfTest, selfTest.GetRepStatus()) << "status " << row.Status;
        EXPECT_EQ(row.SelfTest, loader.GetRepStatus()) << "status " << row.Status;
        SCA_ProgressObj* asJob = &selfTest;
        EXPECT_EQ(row.SelfTest, asJob->GetRepStatus()) << "through the interface";
    }
}

TEST(JobStatusTest, SelfTestKeepsProgressStatusAndLog) {
    SelfTest selfTest;
    ASSERT_EQ(1u, selfTest.IsConstructed());
    EXPECT_EQ(10u, selfTest.GetProcessStatus()) << "idle until started";
    selfTest.SetProgress(40);
    selfTest.SetStatusCode(7);
    EXPECT_EQ(40u, selfTest.GetProgress());
    EXPECT_EQ(7u, selfTest.GetStatusCode());
    EXPECT_STREQ("", selfTest.GetStatusString());
    ASSERT_EQ(1, selfTest.GetLog()->AddMessage(4, 1, "slow disk"));
    EXPECT_EQ(1u, selfTest.GetLog()->GetWarningCount());
    SCA_ProgressObj::Destroy(static_cast<SCA_ProgressObj*>(nullptr));
}

TEST(JobStatusTest, UpdateCheckStatusTextIsBounded) {
    UpdateCheck check;
    ASSERT_EQ(1u, check.IsConstructed());
    EXPECT_EQ(0, check.GetReadyEvent()->IsSignaled());
    check.SetStatusString(records_test::StraddlingText(256).c_str());
    EXPECT_EQ(254u, std::strlen(check.GetStatusString())) << "cut before the split character";
    check.SetPerformance(2.5);
    check.SetProcessMode(3);
    EXPECT_EQ(2.5, check.GetPerformance());
    EXPECT_EQ(3u, check.GetProcessMode());
}

TEST(ActionCtrlTest, QueuedActionsAreDestroyedWithTheController) {
    auto* ctrl = new ActionCtrl();
    ASSERT_EQ(1u, ctrl->IsConstructed());
    ctrl->SetShowVerboseMessages(1);
    ctrl->SetWorkerId(4);
    EXPECT_EQ(1, ctrl->GetShowVerboseMessages());
    EXPECT_EQ(4u, ctrl->GetWorkerId());
    EXPECT_EQ(10u, ctrl->GetProcessStatus());
    ASSERT_EQ(1, ctrl->GetActionQueue()->Put(new SCA_TezAction()));
    ASSERT_EQ(1, ctrl->GetActionQueue()->Put(new SCA_TezAction()));
    ASSERT_EQ(1, ctrl->GetSoundActions()->AddAction(NewAction(1, 10, "Beep")));
    EXPECT_EQ(10u, ctrl->GetSoundActions()->GetLastActionTime());
    // The sanitizer's leak check fails the run if the queued actions outlive the controller.
    SCA_Object::Destroy(ctrl);
}

TEST(StatusTableTest, NamesAndIconsOfBothMonitors) {
    const std::vector<std::string> names = {"Status", "Time",     "Counters",
                                            "Errors", "Warnings", "Memory"};
    ASSERT_EQ(6u, SCA_TezManager::GetStatusCount());
    ASSERT_EQ(6u, SCA_TezProcessMonitor::GetStatusCount());
    for (uint32_t i = 0; i < 6; ++i) {
        EXPECT_EQ(names[i], SCA_TezManager::GetStatusName(i));
        EXPECT_EQ(names[i], SCA_TezProcessMonitor::GetStatusName(i));
    }
    EXPECT_STREQ("Invalid Status", SCA_TezManager::GetStatusName(6));
    EXPECT_STREQ("Invalid Status", SCA_TezProcessMonitor::GetStatusName(0xFFFFFFFFu));
    for (uint32_t i : {0u, 5u, 6u, 100u}) {
        EXPECT_STREQ(":/images/attr_16px.png", SCA_TezManager::GetStatusIcon(i));
        EXPECT_STREQ(":/images/attr_16px.png", SCA_TezProcessMonitor::GetStatusIcon(i));
    }
}

TEST(StatusTableTest, ManagerValues) {
    Manager manager;
    ASSERT_EQ(1u, manager.IsConstructed());
    manager.SetProcessStatus(11);
    manager.SetErrorCounters(2);
    manager.SetWarningCounters(4294967295u);
    ASSERT_EQ(1, manager.GetReport()->AddCounter(NewCounter(1)));
    ASSERT_EQ(1, manager.GetReport()->AddCounter(NewCounter(2)));
    EXPECT_EQ(2u, manager.GetActiveCounters());
    EXPECT_EQ(manager.GetReport()->GetCounterList(), manager.GetCounterList());

    int result = 0;
    EXPECT_EQ("Running", Value(manager, 0, &result));
    EXPECT_EQ(1, result);
    EXPECT_EQ("00:00:00", Value(manager, 1));
    EXPECT_EQ("2", Value(manager, 2));
    EXPECT_EQ("2", Value(manager, 3));
    EXPECT_EQ("4294967295", Value(manager, 4));
    char size[64];
    SCA_FormatSize(manager.GetReport()->CalcMemoryUsage(), size, sizeof(size));
    EXPECT_EQ(size, Value(manager, 5, &result));
    EXPECT_EQ(1, result);
    EXPECT_EQ("INV", Value(manager, 6, &result));
    EXPECT_EQ(0, result);
}

TEST(StatusTableTest, ProcessMonitorValues) {
    ProcessMonitor monitor;
    ASSERT_EQ(1u, monitor.IsConstructed());
    EXPECT_EQ(1, monitor.IsLocal());
    auto* process = new SCA_TezProcess();
    process->SetProcessId(10);
    process->SetProcessName("nginx");
    ASSERT_EQ(1, process->AddDataCounter(NewCounter(1)));
    ASSERT_EQ(1, process->AddDataCounter(NewCounter(2)));
    ASSERT_EQ(1, monitor.GetProcessList()->AddProcess(process));
    EXPECT_EQ(1u, monitor.GetProcessCount());

    int result = 0;
    EXPECT_EQ("Idle", Value(monitor, 0, &result));
    EXPECT_EQ(1, result);
    EXPECT_EQ("2", Value(monitor, 2));
    EXPECT_EQ("0", Value(monitor, 3));
    char size[64];
    SCA_FormatSize(monitor.GetProcessList()->CalcMemoryUsage(), size, sizeof(size));
    EXPECT_EQ(size, Value(monitor, 5));
    EXPECT_EQ("INV", Value(monitor, 7, &result));
    EXPECT_EQ(0, result);
}

TEST(StatusTableTest, AZeroSizeBufferGetsNothing) {
    Manager manager;
    ProcessMonitor monitor;
    char buf[4] = {'k', 'e', 'e', 'p'};
    for (uint32_t index : {0u, 2u, 9u}) {
        EXPECT_EQ(0, manager.GetStatusValue(index, buf, 0));
        EXPECT_EQ(0, monitor.GetStatusValue(index, buf, 0));
    }
    EXPECT_EQ(0, std::memcmp(buf, "keep", 4));
    EXPECT_EQ(0, manager.GetStatusValue(0, nullptr, 16));
    char small[4];
    ASSERT_EQ(1, manager.GetStatusValue(0, small, sizeof(small)));
    EXPECT_STREQ("Idl", small) << "bounded by the size given";
}

TEST(ProcessMonitorTest, ItsDataLockIsTakenAndHandedOn) {
    ProcessMonitor monitor;
    SCA_Event* ready = monitor.GetReady();
    ASSERT_EQ(SCA_WAIT_OK, ready->Wait(0)) << "free at first";
    EXPECT_EQ(SCA_WAIT_TIMEOUT, ready->Wait(0)) << "held until set again";
    ASSERT_EQ(1, ready->Set());
    EXPECT_EQ(SCA_WAIT_OK, ready->Wait(0));
    monitor.SetComputerName(std::string(300, 'h').c_str());
    EXPECT_EQ(255u, std::strlen(monitor.GetComputerName()));
    EXPECT_EQ(0, monitor.IsLocal());
    EXPECT_STREQ("ExcludeList", monitor.GetExcludeList()->GetName());
}

} // namespace
