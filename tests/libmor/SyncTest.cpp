// SPDX-License-Identifier: MIT
#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

#include "TestSupport.h"
#include "libmor/SCA_Event.h"
#include "libmor/SCA_Heap.h"
#include "libmor/SCA_ManualClock.h"
#include "libmor/SCA_Mutex.h"
#include "libmor/SCA_Semaphore.h"
#include "libmor/SCA_Sync.h"
#include "tests/support/ManualClockSupport.h"

namespace {

template <typename Body>
int OnOtherThread(Body body) {
    int result = -1;
    std::thread([&] { result = body(); }).join();
    return result;
}

TEST(EventTest, AutomaticResetLetsOneWaitThrough) {
    SCA_Event event(0, 0);
    ASSERT_EQ(event.IsConstructed(), 1u);
    EXPECT_EQ(event.Wait(0), SCA_WAIT_TIMEOUT);
    EXPECT_EQ(event.Set(), 1);
    EXPECT_EQ(event.IsSignaled(), 1);
    EXPECT_EQ(event.Wait(0), SCA_WAIT_OK);
    EXPECT_EQ(event.IsSignaled(), 0);
    EXPECT_EQ(event.Wait(10), SCA_WAIT_TIMEOUT);
}

// An automatic event used as a lock: a thread that takes it again at once after giving it back
// (a scan loop, a client's loop) finds the one that waited first ahead of it, however late that
// one wakes.
TEST(EventTest, AutomaticResetGoesToTheLongestWaiterFirst) {
    SCA_ManualClock clock;
    SCA_Event lock(0, 0);
    std::atomic<int> waiter{-1};
    std::thread first([&] { waiter = lock.Wait(60000); });
    ASSERT_TRUE(korvanta_test::SleepersOn(clock));
    EXPECT_EQ(lock.Set(), 1);
    const int barged = lock.Wait(0);
    EXPECT_EQ(barged, SCA_WAIT_TIMEOUT) << "the event went to the thread that came last";
    if (barged == SCA_WAIT_OK) {
        lock.Set();
    }
    first.join();
    EXPECT_EQ(waiter.load(), SCA_WAIT_OK);
    EXPECT_EQ(lock.IsSignaled(), 0);
}

TEST(EventTest, ManualResetStaysSignalledUntilReset) {
    SCA_Event event(1, 1);
    EXPECT_EQ(event.Wait(0), SCA_WAIT_OK);
    EXPECT_EQ(OnOtherThread([&] { return event.Wait(0); }), SCA_WAIT_OK);
    EXPECT_EQ(event.Reset(), 1);
    EXPECT_EQ(event.IsSignaled(), 0);
    EXPECT_EQ(event.Wait(0), SCA_WAIT_TIMEOUT);
}

TEST(MutexTest, OwnerReentersOthersTimeOut) {
    SCA_Mutex mutex;
    ASSERT_EQ(mutex.IsConstructed(), 1u);
    ASSERT_EQ(mutex.Wait(0), SCA_WAIT_OK);
    ASSERT_EQ(mutex.Wait(10), SCA_WAIT_OK); // a broken re-entry fails here instead of hanging
    ASSERT_EQ(mutex.Wait(SCA_INFINITE), SCA_WAIT_OK);
    EXPECT_EQ(OnOtherThread([&] { return mutex.Wait(20); }), SCA_WAIT_TIMEOUT);
    EXPECT_EQ(OnOtherThread([&] { return mutex.Release(); }), 0); // not the owner

    EXPECT_EQ(mutex.Release(), 1);
    EXPECT_EQ(mutex.Release(), 1);
    EXPECT_EQ(OnOtherThread([&] { return mutex.Wait(0); }), SCA_WAIT_TIMEOUT); // held once more
    EXPECT_EQ(mutex.Release(), 1);
    EXPECT_EQ(mutex.Release(), 0); // no longer held
    EXPECT_EQ(OnOtherThread([&] { return mutex.Wait(0) == SCA_WAIT_OK ? mutex.Release() : 0; }), 1);
}

TEST(SemaphoreTest, CountIsBoundedByMaximum) {
    SCA_Semaphore semaphore(2, 3);
    ASSERT_EQ(semaphore.IsConstructed(), 1u);
    uint32_t count = 0;
    uint32_t maximum = 0;
    ASSERT_EQ(semaphore.GetCount(&count, &maximum), 1);
    EXPECT_EQ(count, 2u);
    EXPECT_EQ(maximum, 3u);

    EXPECT_EQ(semaphore.Wait(0), SCA_WAIT_OK);
    EXPECT_EQ(semaphore.Wait(0), SCA_WAIT_OK);
    EXPECT_EQ(semaphore.Wait(20), SCA_WAIT_TIMEOUT);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(semaphore.Release(), 1);
    }
    EXPECT_EQ(semaphore.Release(), 0); // at its maximum: nothing changes
    semaphore.GetCount(&count, &maximum);
    EXPECT_EQ(count, 3u);
    EXPECT_EQ(SCA_CreateSemaphore(4, 3), nullptr);
}

TEST(SemaphoreTest, ReleaseWakesBlockedWaiter) {
    SCA_ManualClock clock;
    SCA_Semaphore semaphore(0, 1);
    std::atomic<int> got{0};
    std::thread waiter([&] { got = semaphore.Wait(60000); });
    ASSERT_TRUE(korvanta_test::SleepersOn(clock));
    EXPECT_EQ(got, 0);
    EXPECT_EQ(semaphore.Release(), 1);
    waiter.join();
    EXPECT_EQ(got, SCA_WAIT_OK);
}

class CreationFailureTest : public testing::Test {
protected:
    void SetUp() override { SCA_HeapFailAfter(1); }
    void TearDown() override { SCA_HeapFailAfter(0); }

    void ExpectOneError(const char* text) {
        const auto records = m_Capture.Records();
        ASSERT_EQ(records.size(), 1u);
        EXPECT_EQ(records[0].Level, SCA_LEVEL_ERROR);
        EXPECT_EQ(records[0].Text, text);
    }

    ReportCapture m_Capture;
};

TEST_F(CreationFailureTest, MutexReportsAndAnswersZero) {
    SCA_Mutex mutex;
    EXPECT_EQ(mutex.IsConstructed(), 0u);
    EXPECT_EQ(mutex.Wait(0), 0);
    EXPECT_EQ(mutex.Release(), 0);
    ExpectOneError("Cannot create SCA_VirtualMutex");
}

TEST_F(CreationFailureTest, SemaphoreReportsAndAnswersZero) {
    SCA_Semaphore semaphore(1, 1);
    EXPECT_EQ(semaphore.IsConstructed(), 0u);
    EXPECT_EQ(semaphore.Wait(0), 0);
    EXPECT_EQ(semaphore.Release(), 0);
    EXPECT_EQ(semaphore.GetCount(nullptr, nullptr), 0);
    ExpectOneError("Cannot create SCA_VirtualSemaphore");
}

TEST_F(CreationFailureTest, EventAnswersZeroFromEverySlot) {
    SCA_Event event(1, 1);
    EXPECT_EQ(event.IsConstructed(), 0u);
    EXPECT_EQ(event.Wait(0), 0);
    EXPECT_EQ(event.Set(), 0);
    EXPECT_EQ(event.Reset(), 0);
    EXPECT_EQ(event.IsSignaled(), 0);
}

TEST(CreationFailureReportTest, NamesTheSourceFileThatFailed) {
    SCA_SetErrorCallback(nullptr, nullptr);
    testing::internal::CaptureStderr();
    SCA_HeapFailAfter(1);
    SCA_Mutex mutex;
    const std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_EQ(printed.rfind("ERR ", 0), 0u) << printed;
    EXPECT_NE(printed.find("SCA_Mutex.cpp:"), std::string::npos) << printed;
}

} // namespace
