// SPDX-License-Identifier: MIT
#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "containers/SCA_DataQueue.h"
#include "containers/SCA_Queue.h"
#include "libmor/SCA_Heap.h"
#include "libmor/SCA_Report.h"
#include "libmor/SCA_Sync.h"
#include "tests/containers/ContainerTestSupport.h"
#include "tests/support/WaitUntil.h"

namespace {

using containers_test::HeapFailure;
using containers_test::IsSound;
using containers_test::ReportCapture;

using Clock = std::chrono::steady_clock;

// The semaphore's count and maximum, as the platform semaphore reports them.
struct SemaphoreState {
    uint32_t count = 0xDEADu;
    uint32_t maximum = 0xDEADu;
};

template <typename T>
SemaphoreState StateOf(SCA_DataQueue<T>& queue) {
    SemaphoreState state;
    EXPECT_EQ(1, queue.GetSemaphore()->GetCount(&state.count, &state.maximum));
    return state;
}

// A record that counts its destructions, for ownership checks.
struct Record {
    Record(uint32_t value, std::atomic<int>* destroyed) : Value(value), Destroyed(destroyed) {}
    ~Record() { ++*Destroyed; }
    Record(const Record&) = delete;
    Record& operator=(const Record&) = delete;
    uint32_t Value;
    std::atomic<int>* Destroyed;
};

// --- SCA_Queue ----------------------------------------------------------------------------------

TEST(Queue, PopsInTheOrderOfPushes) {
    int a = 1;
    int b = 2;
    int c = 3;
    SCA_Queue<int*> queue;
    ASSERT_EQ(1, queue.Push(&a));
    ASSERT_EQ(1, queue.Push(&b));
    ASSERT_EQ(1, queue.Push(&c));
    EXPECT_EQ(3u, queue.Count());
    EXPECT_TRUE(IsSound(queue));
    // Pushed nodes are unnamed and carry no id.
    for (auto* node = queue.GetHead(); node != nullptr; node = node->GetNext()) {
        EXPECT_EQ(0xFFFFFFFFu, node->GetId());
        EXPECT_EQ(nullptr, node->GetName());
    }

    int* out = nullptr;
    ASSERT_EQ(1, queue.Pop(&out));
    EXPECT_EQ(&a, out);
    ASSERT_EQ(1, queue.Pop(&out));
    EXPECT_EQ(&b, out);
    ASSERT_EQ(1, queue.Pop(&out));
    EXPECT_EQ(&c, out);
    EXPECT_EQ(0, queue.Pop(&out));
    EXPECT_EQ(&c, out); // untouched
    EXPECT_EQ(0u, queue.Count());
    EXPECT_TRUE(IsSound(queue));
}

TEST(Queue, InterleavedPushesAndPopsMatchAModel) {
    std::mt19937 random(99u);
    SCA_Queue<double> queue;
    std::deque<double> model;
    double next = 0.5;
    for (int step = 0; step < 2000; ++step) {
        if (random() % 3 != 0) {
            ASSERT_EQ(1, queue.Push(next));
            model.push_back(next);
            next += 1.0;
        } else {
            double out = -1.0;
            const int popped = queue.Pop(&out);
            if (model.empty()) {
                ASSERT_EQ(0, popped);
                ASSERT_EQ(-1.0, out);
            } else {
                ASSERT_EQ(1, popped);
                ASSERT_EQ(model.front(), out);
                model.pop_front();
            }
        }
        ASSERT_EQ(model.size(), queue.Count());
    }
    EXPECT_TRUE(IsSound(queue));
}

TEST(Queue, PushThatCannotAllocateLeavesTheQueueAsItWas) {
    SCA_Queue<uint32_t> queue;
    ASSERT_EQ(1, queue.Push(7));
    {
        HeapFailure failure(1);
        EXPECT_EQ(0, queue.Push(8));
    }
    EXPECT_EQ(1u, queue.Count());
    uint32_t out = 0;
    ASSERT_EQ(1, queue.Pop(&out));
    EXPECT_EQ(7u, out);
    EXPECT_EQ(0, queue.Pop(&out));
}

TEST(Queue, WorksThroughTheListsOperationsToo) {
    SCA_Queue<uint32_t> queue;
    ASSERT_EQ(1, queue.Push(1));
    ASSERT_EQ(1, queue.Push(2));
    // Jump the line: the newest element, moved down to the tail, is the next one out.
    ASSERT_EQ(1, queue.MoveItemDown(uint32_t{0xFFFFFFFFu}));
    uint32_t out = 0;
    ASSERT_EQ(1, queue.Pop(&out));
    EXPECT_EQ(2u, out);
    ASSERT_EQ(1, queue.Clear());
    EXPECT_EQ(0, queue.Pop(&out));
}

// --- SCA_DataQueue: construction ----------------------------------------------------------------

TEST(DataQueue, NewQueueIsEmptyWithASemaphoreOneAboveItsCapacity) {
    SCA_DataQueue<int*> queue(64);
    ASSERT_EQ(1u, queue.IsConstructed());
    ASSERT_NE(nullptr, queue.GetMutex());
    ASSERT_NE(nullptr, queue.GetSemaphore());
    EXPECT_EQ(1u, queue.GetMutex()->IsConstructed());
    EXPECT_EQ(1u, queue.GetSemaphore()->IsConstructed());
    const SemaphoreState state = StateOf(queue);
    EXPECT_EQ(0u, state.count);
    EXPECT_EQ(65u, state.maximum);
    EXPECT_EQ(0u, queue.Count());
    EXPECT_EQ(0u, queue.GetQueue()->Count());
    EXPECT_EQ(0u, queue.GetQueue()->GetNextItemId());

    SCA_DataQueue<double> none(0);
    EXPECT_EQ(1u, StateOf(none).maximum);
    // The largest capacity cannot add one; it must not wrap to a maximum of 0.
    SCA_DataQueue<double> largest(0xFFFFFFFFu);
    ASSERT_EQ(1u, largest.IsConstructed());
    EXPECT_EQ(0xFFFFFFFFu, StateOf(largest).maximum);
}

// Makes each heap allocation of the construction fail in turn until it no longer reaches one:
// every failure leaves the queue unconstructed with one level-5 report naming what could not be
// created, and such a queue refuses to work but is safe to destroy.
TEST(DataQueue, CreationFailuresAreReportedAndLeaveItUnconstructed) {
    bool mutexFailed = false;
    bool semaphoreFailed = false;
    for (uint32_t n = 1;; ++n) {
        ASSERT_LT(n, 20u) << "construction never succeeded";
        SCOPED_TRACE("allocation " + std::to_string(n) + " fails");
        ReportCapture reports;
        SCA_DataQueue<int*>* queue = nullptr;
        bool reached = false;
        {
            HeapFailure failure(n);
            const uint64_t before = SCA_HeapAllocCount();
            queue = new SCA_DataQueue<int*>(64);
            reached = SCA_HeapAllocCount() - before >= n;
        }
        const std::vector<ReportCapture::Report> seen = reports.Take();
        if (!reached) {
            EXPECT_EQ(1u, queue->IsConstructed());
            EXPECT_TRUE(seen.empty());
            queue->Destroy();
            break;
        }
        EXPECT_EQ(0u, queue->IsConstructed());
        ASSERT_EQ(1u, seen.size());
        EXPECT_EQ(5u, seen[0].Level);
        // Either the wrapper itself or its platform object could not be allocated.
        if (seen[0].Text == "Cannot create SCA_VirtualMutex") {
            mutexFailed = true;
            EXPECT_TRUE(queue->GetMutex() == nullptr || !queue->GetMutex()->IsConstructed());
        } else {
            EXPECT_EQ("Cannot create SCA_VirtualSemaphore", seen[0].Text);
            semaphoreFailed = true;
            ASSERT_NE(nullptr, queue->GetMutex());
            EXPECT_EQ(1u, queue->GetMutex()->IsConstructed());
            EXPECT_TRUE(queue->GetSemaphore() == nullptr ||
                        !queue->GetSemaphore()->IsConstructed());
        }
        int element = 0;
        EXPECT_EQ(0, queue->Put(&element));
        EXPECT_EQ(0u, queue->Count());
        int taken = 0;
        EXPECT_NE(SCA_WAIT_OK, queue->WaitAndTakeAll(0, [&](int*) { ++taken; }));
        EXPECT_EQ(0u, queue->Drain([&](int*) { ++taken; }));
        EXPECT_EQ(0, taken);
        queue->Destroy();
    }
    EXPECT_TRUE(mutexFailed);
    EXPECT_TRUE(semaphoreFailed);
}

// --- SCA_DataQueue: put and get -----------------------------------------------------------------

// The steps as the action controllers perform them with the three parts.
TEST(DataQueue, PutAndGetStepByStep) {
    SCA_DataQueue<uint32_t> queue(4);
    for (uint32_t value = 10; value < 13; ++value) {
        ASSERT_EQ(SCA_WAIT_OK, queue.GetMutex()->Wait(SCA_INFINITE));
        ASSERT_EQ(1, queue.GetQueue()->Push(value));
        ASSERT_EQ(1, queue.GetMutex()->Release());
        ASSERT_EQ(1, queue.GetSemaphore()->Release());
    }
    EXPECT_EQ(3u, StateOf(queue).count);
    for (uint32_t expected = 10; expected < 13; ++expected) {
        ASSERT_EQ(SCA_WAIT_OK, queue.GetSemaphore()->Wait(0));
        ASSERT_EQ(SCA_WAIT_OK, queue.GetMutex()->Wait(SCA_INFINITE));
        uint32_t out = 0;
        ASSERT_EQ(1, queue.GetQueue()->Pop(&out));
        ASSERT_EQ(1, queue.GetMutex()->Release());
        EXPECT_EQ(expected, out);
    }
    EXPECT_EQ(SCA_WAIT_TIMEOUT, queue.GetSemaphore()->Wait(0));
    EXPECT_EQ(0u, StateOf(queue).count);
}

TEST(DataQueue, PutCountsAndTakeAllHandsEverythingOldestFirst) {
    SCA_DataQueue<double> queue(64);
    ASSERT_EQ(1, queue.Put(1.5));
    ASSERT_EQ(1, queue.Put(-2.5));
    ASSERT_EQ(1, queue.Put(0.0));
    EXPECT_EQ(3u, queue.Count());
    EXPECT_EQ(3u, StateOf(queue).count);

    std::vector<double> taken;
    EXPECT_EQ(SCA_WAIT_OK, queue.WaitAndTakeAll(0, [&](double d) { taken.push_back(d); }));
    EXPECT_EQ((std::vector<double>{1.5, -2.5, 0.0}), taken);
    EXPECT_EQ(0u, queue.Count());
    // The mutex is free again for another thread.
    std::thread other([&] {
        EXPECT_EQ(SCA_WAIT_OK, queue.GetMutex()->Wait(0));
        EXPECT_EQ(1, queue.GetMutex()->Release());
    });
    other.join();
}

TEST(DataQueue, PutThatCannotAllocateKeepsTheElementWithTheProducer) {
    SCA_DataQueue<uint32_t> queue(8);
    ASSERT_EQ(1, queue.Put(1));
    {
        HeapFailure failure(1);
        EXPECT_EQ(0, queue.Put(2));
    }
    EXPECT_EQ(1u, queue.Count());
    EXPECT_EQ(1u, StateOf(queue).count); // nothing released for the refused element
    // The mutex was not left held by the refused put.
    std::thread other([&] {
        EXPECT_EQ(SCA_WAIT_OK, queue.GetMutex()->Wait(0));
        EXPECT_EQ(1, queue.GetMutex()->Release());
    });
    other.join();
    std::vector<uint32_t> taken;
    EXPECT_EQ(1u, queue.Drain([&](uint32_t v) { taken.push_back(v); }));
    EXPECT_EQ((std::vector<uint32_t>{1}), taken);
}

TEST(DataQueue, IdleConsumerTimesOutAfterItsWait) {
    SCA_DataQueue<int*> queue(64);
    for (int round = 0; round < 2; ++round) {
        int taken = 0;
        const Clock::time_point start = Clock::now();
        EXPECT_EQ(SCA_WAIT_TIMEOUT, queue.WaitAndTakeAll(100, [&](int*) { ++taken; }));
        const auto waited =
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
        EXPECT_GE(waited.count(), 99);
        EXPECT_LT(waited.count(), 2000);
        EXPECT_EQ(0, taken);
    }
    EXPECT_EQ(0u, StateOf(queue).count);
}

// Ten elements put with room for only three counts: the consumer's first wake takes them all.
TEST(DataQueue, ElementsBeyondTheMaximumAreNotStranded) {
    SCA_DataQueue<uint32_t> queue(2);
    for (uint32_t i = 0; i < 10; ++i) {
        ASSERT_EQ(1, queue.Put(i)) << i;
    }
    EXPECT_EQ(10u, queue.Count());
    const SemaphoreState state = StateOf(queue);
    EXPECT_EQ(3u, state.count);
    EXPECT_EQ(3u, state.maximum);

    std::vector<uint32_t> taken;
    ASSERT_EQ(SCA_WAIT_OK, queue.WaitAndTakeAll(0, [&](uint32_t v) { taken.push_back(v); }));
    EXPECT_EQ((std::vector<uint32_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}), taken);
    EXPECT_EQ(0u, queue.Count());

    // Counts left over from the puts wake the consumer to an empty queue: it takes nothing.
    taken.clear();
    EXPECT_EQ(SCA_WAIT_OK, queue.WaitAndTakeAll(0, [&](uint32_t v) { taken.push_back(v); }));
    EXPECT_TRUE(taken.empty());
    EXPECT_EQ(0u, queue.Drain([&](uint32_t v) { taken.push_back(v); }));
    EXPECT_EQ(0u, StateOf(queue).count);
    EXPECT_EQ(SCA_WAIT_TIMEOUT, queue.WaitAndTakeAll(0, [&](uint32_t v) { taken.push_back(v); }));
}

TEST(DataQueue, ProducerHandsEveryElementToTheConsumerOnceAndInOrder) {
    constexpr uint32_t kElements = 10000;
    SCA_DataQueue<uint32_t> queue(64);
    ASSERT_EQ(1u, queue.IsConstructed());
    std::vector<uint32_t> received;
    received.reserve(kElements);
    std::atomic<bool> producerFailed{false};

    std::thread consumer([&] {
        const Clock::time_point deadline = Clock::now() + korvanta_test::kWaitDeadline;
        while (received.size() < kElements && Clock::now() < deadline) {
            queue.WaitAndTakeAll(100, [&](uint32_t v) { received.push_back(v); });
        }
    });
    std::thread producer([&] {
        for (uint32_t i = 0; i < kElements; ++i) {
            if (queue.Put(i) != 1) {
                producerFailed = true;
            }
            if (i % 1000 == 0) {
                std::this_thread::yield();
            }
        }
    });
    producer.join();
    consumer.join();

    EXPECT_FALSE(producerFailed);
    ASSERT_EQ(kElements, received.size());
    for (uint32_t i = 0; i < kElements; ++i) {
        ASSERT_EQ(i, received[i]) << "element " << i;
    }
    EXPECT_EQ(0u, queue.Count());
}

// Two producers of records, one consumer that owns and destroys what it takes.
TEST(DataQueue, RecordsFromTwoProducersAreEachTakenAndDestroyedOnce) {
    constexpr uint32_t kPerProducer = 2000;
    std::atomic<int> destroyed{0};
    SCA_DataQueue<Record*> queue(64);
    std::vector<uint32_t> lastSeen = {0, 0};
    std::vector<uint32_t> counts = {0, 0};
    bool inOrder = true;

    std::thread consumer([&] {
        const Clock::time_point deadline = Clock::now() + korvanta_test::kWaitDeadline;
        while (counts[0] + counts[1] < 2 * kPerProducer && Clock::now() < deadline) {
            queue.WaitAndTakeAll(100, [&](Record* record) {
                const uint32_t producer = record->Value / kPerProducer;
                const uint32_t sequence = record->Value % kPerProducer + 1;
                inOrder = inOrder && sequence == lastSeen[producer] + 1;
                lastSeen[producer] = sequence;
                ++counts[producer];
                delete record;
            });
        }
    });
    auto produce = [&](uint32_t producer) {
        for (uint32_t i = 0; i < kPerProducer; ++i) {
            auto* record = new Record(producer * kPerProducer + i, &destroyed);
            if (queue.Put(record) != 1) {
                delete record;
            }
        }
    };
    std::thread first(produce, 0u);
    std::thread second(produce, 1u);
    first.join();
    second.join();
    consumer.join();

    EXPECT_TRUE(inOrder);
    EXPECT_EQ(kPerProducer, counts[0]);
    EXPECT_EQ(kPerProducer, counts[1]);
    EXPECT_EQ(static_cast<int>(2 * kPerProducer), destroyed.load());
}

// --- SCA_DataQueue: stopping --------------------------------------------------------------------

TEST(DataQueue, DrainHandsOverWhatIsLeftAndResetsTheCount) {
    std::atomic<int> destroyed{0};
    SCA_DataQueue<Record*> queue(64);
    for (uint32_t i = 0; i < 5; ++i) {
        ASSERT_EQ(1, queue.Put(new Record(i, &destroyed)));
    }
    std::vector<uint32_t> order;
    EXPECT_EQ(5u, queue.Drain([&](Record* record) {
        order.push_back(record->Value);
        delete record;
    }));
    EXPECT_EQ((std::vector<uint32_t>{0, 1, 2, 3, 4}), order);
    EXPECT_EQ(5, destroyed.load());
    EXPECT_EQ(0u, queue.Count());
    EXPECT_EQ(0u, StateOf(queue).count);
    EXPECT_EQ(0u, queue.Drain([](Record* record) { delete record; }));
}

// A consumer that waits with no time-out is woken by its owner with nothing to take; the wake
// is kept until taken, so a consumer not yet waiting does not miss it.
TEST(DataQueue, WakeEndsAWaitWithoutTimeOutAndHandsNothing) {
    SCA_DataQueue<int*> queue(64);
    std::atomic<int> result{-1};
    std::atomic<int> taken{0};
    std::thread consumer(
        [&] { result = queue.WaitAndTakeAll(SCA_INFINITE, [&](int*) { ++taken; }); });
    queue.Wake();
    consumer.join();
    EXPECT_EQ(1, result.load());
    EXPECT_EQ(0, taken.load());
    EXPECT_EQ(0u, StateOf(queue).count);
    queue.Wake();
    EXPECT_EQ(1u, StateOf(queue).count);
    EXPECT_EQ(1, queue.WaitAndTakeAll(0, [&](int*) { ++taken; }));
    EXPECT_EQ(0, taken.load());
}

TEST(DataQueue, DestroyingAQueueThatHoldsElementsLeavesThemAlone) {
    std::atomic<int> destroyed{0};
    Record first(1, &destroyed);
    Record second(2, &destroyed);
    auto* queue = new SCA_DataQueue<Record*>(64);
    ASSERT_EQ(1, queue->Put(&first));
    ASSERT_EQ(1, queue->Put(&second));
    queue->Destroy(); // frees the nodes (the sanitizer checks), never the records
    EXPECT_EQ(0, destroyed.load());
    EXPECT_EQ(1u, first.Value);
    EXPECT_EQ(2u, second.Value);
}

} // namespace
