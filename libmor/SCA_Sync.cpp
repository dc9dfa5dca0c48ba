// SPDX-License-Identifier: MIT
#include "libmor/SCA_Sync.h"

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <new>
#include <set>
#include <thread>

#include "libmor/SCA_Clock.h"
#include "libmor/SCA_Heap.h"
#include "libmor/SCA_VirtualEvent.h"
#include "libmor/SCA_VirtualMutex.h"
#include "libmor/SCA_VirtualSemaphore.h"

namespace {

// Waits on cv until ready() holds or timeoutMs passes on the process's clock; SCA_INFINITE
// never times out.
bool WaitFor(std::condition_variable& cv, std::unique_lock<std::mutex>& lock, uint32_t timeoutMs,
             const std::function<bool()>& ready) {
    return SCA_GetClock().WaitFor(cv, lock, timeoutMs, ready);
}

class PosixEvent final : public SCA_VirtualEvent {
public:
    SCA_HEAP_OPERATORS

    PosixEvent(int manualReset, int initialState)
        : m_Manual(manualReset != 0), m_Signaled(initialState != 0) {
        SetConstructed();
    }

    int Wait(uint32_t timeoutMs) override {
        std::unique_lock<std::mutex> lock(m_Lock);
        if (m_Manual) {
            return WaitFor(m_Changed, lock, timeoutMs, [this] { return m_Signaled; })
                       ? SCA_WAIT_OK
                       : SCA_WAIT_TIMEOUT;
        }
        // An automatic event lets exactly one waiter through, the one that has waited longest:
        // used as a lock, a thread that takes it again and again (a scan, a client's loop)
        // never keeps out one that waits.
        const uint64_t ticket = m_NextTicket++;
        m_Queue.insert(ticket);
        const bool taken = WaitFor(m_Changed, lock, timeoutMs, [this, ticket] {
            return m_Signaled && *m_Queue.begin() == ticket;
        });
        m_Queue.erase(ticket);
        if (taken) {
            m_Signaled = false;
        } else if (m_Signaled && !m_Queue.empty()) {
            m_Changed.notify_all(); // the signal passes to whoever is next
        }
        return taken ? SCA_WAIT_OK : SCA_WAIT_TIMEOUT;
    }

    int Release() override {
        std::lock_guard<std::mutex> lock(m_Lock);
        m_Signaled = true;
        // Every waiter looks: only the longest waiting of an automatic event goes.
        m_Changed.notify_all();
        return 1;
    }

    int Reset() override {
        std::lock_guard<std::mutex> lock(m_Lock);
        m_Signaled = false;
        return 1;
    }

    int IsSignaled() override {
        std::lock_guard<std::mutex> lock(m_Lock);
        return m_Signaled ? 1 : 0;
    }

private:
    std::mutex m_Lock;
    std::condition_variable m_Changed;
    const bool m_Manual;
    bool m_Signaled;
    // The waiters of an automatic event, by arrival.
    std::set<uint64_t> m_Queue;
    uint64_t m_NextTicket = 0;
};

class PosixMutex final : public SCA_VirtualMutex {
public:
    SCA_HEAP_OPERATORS

    PosixMutex() { SetConstructed(); }

    int Wait(uint32_t timeoutMs) override {
        const std::thread::id self = std::this_thread::get_id();
        std::unique_lock<std::mutex> lock(m_Lock);
        if (m_Count > 0 && m_Owner == self) {
            ++m_Count;
            return SCA_WAIT_OK;
        }
        if (!WaitFor(m_Freed, lock, timeoutMs, [this] { return m_Count == 0; })) {
            return SCA_WAIT_TIMEOUT;
        }
        m_Owner = self;
        m_Count = 1;
        return SCA_WAIT_OK;
    }

    int Release() override {
        std::lock_guard<std::mutex> lock(m_Lock);
        if (m_Count == 0 || m_Owner != std::this_thread::get_id()) {
            return 0;
        }
        if (--m_Count == 0) {
            m_Owner = std::thread::id();
            m_Freed.notify_one();
        }
        return 1;
    }

private:
    std::mutex m_Lock;
    std::condition_variable m_Freed;
    std::thread::id m_Owner;
    uint32_t m_Count = 0;
};

class PosixSemaphore final : public SCA_VirtualSemaphore {
public:
    SCA_HEAP_OPERATORS

    PosixSemaphore(uint32_t initialCount, uint32_t maximumCount)
        : m_Count(initialCount), m_Maximum(maximumCount) {
        SetConstructed();
    }

    int Wait(uint32_t timeoutMs) override {
        std::unique_lock<std::mutex> lock(m_Lock);
        if (!WaitFor(m_Released, lock, timeoutMs, [this] { return m_Count > 0; })) {
            return SCA_WAIT_TIMEOUT;
        }
        --m_Count;
        return SCA_WAIT_OK;
    }

    int Release() override {
        std::lock_guard<std::mutex> lock(m_Lock);
        if (m_Count >= m_Maximum) {
            return 0;
        }
        ++m_Count;
        m_Released.notify_one();
        return 1;
    }

    int GetCount(uint32_t* count, uint32_t* maximum) override {
        std::lock_guard<std::mutex> lock(m_Lock);
        if (count != nullptr) {
            *count = m_Count;
        }
        if (maximum != nullptr) {
            *maximum = m_Maximum;
        }
        return 1;
    }

private:
    std::mutex m_Lock;
    std::condition_variable m_Released;
    uint32_t m_Count;
    const uint32_t m_Maximum;
};

} // namespace

SCA_VirtualEvent* SCA_CreateEvent(int manualReset, int initialState) {
    return new (std::nothrow) PosixEvent(manualReset, initialState);
}

SCA_VirtualMutex* SCA_CreateMutex() {
    return new (std::nothrow) PosixMutex();
}

SCA_VirtualSemaphore* SCA_CreateSemaphore(uint32_t initialCount, uint32_t maximumCount) {
    if (initialCount > maximumCount) {
        return nullptr;
    }
    return new (std::nothrow) PosixSemaphore(initialCount, maximumCount);
}
