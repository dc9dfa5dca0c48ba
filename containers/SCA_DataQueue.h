// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <new>

#include "containers/SCA_Queue.h"
#include "libmor/SCA_Limits.h"
#include "libmor/SCA_Mutex.h"
#include "libmor/SCA_Object.h"
#include "libmor/SCA_Report.h"
#include "libmor/SCA_Semaphore.h"
#include "libmor/SCA_Sync.h"

// Hands elements from producer threads to one consumer thread that sleeps until there is work:
// a queue guarded by a mutex, and a semaphore that counts what was put in. The semaphore's
// maximum (capacity + 1) bounds the count only, never the queue: a consumer that wakes takes
// every element queued, so nothing put beyond the maximum is stranded.
//
// Elements are pointers (or values) that the producer made; the data queue never destroys one.
// Whoever takes an element owns it. The owner stops the consumer, drains the queue and only
// then destroys the data queue.
template <typename T>
class SCA_DataQueue : public SCA_Object {
public:
    explicit SCA_DataQueue(uint32_t capacity) {
        // The wrappers report a platform object they cannot create; a wrapper that cannot be
        // allocated at all is reported here in the same words.
        m_Mutex = new (std::nothrow) SCA_Mutex();
        if (m_Mutex == nullptr) {
            SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                                      "Cannot create SCA_VirtualMutex");
        }
        // One more than the capacity, as the maximum a count can reach.
        const uint32_t maximum = capacity < SCA_ALL_ONES ? capacity + 1 : capacity;
        m_Semaphore = new (std::nothrow) SCA_Semaphore(0, maximum);
        if (m_Semaphore == nullptr) {
            SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                                      "Cannot create SCA_VirtualSemaphore");
        }
        if (m_Mutex != nullptr && m_Mutex->IsConstructed() && m_Semaphore != nullptr &&
            m_Semaphore->IsConstructed()) {
            SetConstructed();
        }
    }

    ~SCA_DataQueue() override {
        SCA_Object::Destroy(m_Mutex);
        SCA_Object::Destroy(m_Semaphore);
    }

    SCA_DataQueue(const SCA_DataQueue&) = delete;
    SCA_DataQueue& operator=(const SCA_DataQueue&) = delete;

    // Producer: queues one element. 1 when it is queued; 0 when the mutex could not be taken
    // or the node not allocated, and then the producer still owns the element. Nothing that was
    // not taken is released.
    int Put(T item) {
        if (!IsConstructed() || m_Mutex->Wait(SCA_INFINITE) != SCA_WAIT_OK) {
            return 0;
        }
        const int pushed = m_Queue.Push(item);
        m_Mutex->Release();
        if (!pushed) {
            return 0;
        }
        // At the maximum count the release fails; the element is queued all the same and the
        // consumer's next wake takes it with the others.
        m_Semaphore->Release();
        return 1;
    }

    // Owner: wakes a consumer waiting with no time-out, so that it can see it is told to stop.
    // The consumer's wait then returns 1 with nothing to take.
    void Wake() {
        if (IsConstructed()) {
            m_Semaphore->Release();
        }
    }

    // Consumer: waits up to timeoutMs for work, then hands every queued element, oldest first,
    // to take(element), which owns it from then on. SCA_WAIT_TIMEOUT when nothing arrived in
    // time (the consumer checks whether it is told to stop and waits again); otherwise 1, also
    // when a signal found the queue already empty. 0 on a queue that was not constructed.
    template <typename Take>
    int WaitAndTakeAll(uint32_t timeoutMs, Take&& take) {
        if (!IsConstructed()) {
            return 0;
        }
        if (m_Semaphore->Wait(timeoutMs) == SCA_WAIT_TIMEOUT) {
            return SCA_WAIT_TIMEOUT;
        }
        T item;
        while (PopOne(&item)) {
            take(item);
        }
        return 1;
    }

    // Owner, once the consumer has stopped: hands every element left to dispose(element) and
    // brings the semaphore's count back to 0. Returns how many elements were handed.
    template <typename Dispose>
    uint32_t Drain(Dispose&& dispose) {
        if (!IsConstructed()) {
            return 0;
        }
        while (m_Semaphore->Wait(0) != SCA_WAIT_TIMEOUT) {
        }
        uint32_t drained = 0;
        T item;
        while (PopOne(&item)) {
            dispose(item);
            ++drained;
        }
        return drained;
    }

    // The three parts, for owners that perform the steps themselves.
    SCA_Mutex* GetMutex() const { return m_Mutex; }
    SCA_Semaphore* GetSemaphore() const { return m_Semaphore; }
    SCA_Queue<T>* GetQueue() { return &m_Queue; }

    // Elements queued now (takes the mutex).
    uint32_t Count() {
        if (!IsConstructed() || m_Mutex->Wait(SCA_INFINITE) != SCA_WAIT_OK) {
            return 0;
        }
        const uint32_t count = m_Queue.Count();
        m_Mutex->Release();
        return count;
    }

private:
    int PopOne(T* out) {
        if (m_Mutex->Wait(SCA_INFINITE) != SCA_WAIT_OK) {
            return 0;
        }
        const int popped = m_Queue.Pop(out);
        m_Mutex->Release();
        return popped;
    }

    SCA_Mutex* m_Mutex = nullptr;
    SCA_Semaphore* m_Semaphore = nullptr;
    SCA_Queue<T> m_Queue;
};
