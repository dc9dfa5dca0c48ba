// SPDX-License-Identifier: MIT
#include "libtez/SCA_TezSampleClock.h"

#include <map>

#include "libmor/SCA_Sync.h"
#include "libmor/SCA_Time.h"
#include "libtez/SCA_TezManager.h"
#include "perf/SCA_PerfSnapshotStore.h"

namespace {

constexpr uint64_t kAbsTicksPerMs = SCA_ABS_TIME_SECOND / 1000;

} // namespace

std::shared_ptr<SCA_TezSampleClock> SCA_TezSampleClock::ForInterval(uint32_t intervalMs) {
    static std::mutex lock;
    static std::map<uint32_t, std::weak_ptr<SCA_TezSampleClock>> clocks;
    const std::lock_guard<std::mutex> guard(lock);
    std::weak_ptr<SCA_TezSampleClock>& slot = clocks[intervalMs];
    std::shared_ptr<SCA_TezSampleClock> clock = slot.lock();
    if (clock == nullptr) {
        clock = std::make_shared<SCA_TezSampleClock>(intervalMs);
        slot = clock;
    }
    return clock;
}

SCA_TezSampleClock::SCA_TezSampleClock(uint32_t intervalMs)
    : m_IntervalMs(intervalMs != 0 ? intervalMs : 1) {
    SetConstructed(GetStopEvent() != nullptr ? 1 : 0);
}

SCA_TezSampleClock::~SCA_TezSampleClock() {
    Unlock(__FILE__);
}

int SCA_TezSampleClock::Attach(SCA_TezManager* manager, uint32_t* error) {
    {
        const std::lock_guard<std::mutex> guard(m_Lock);
        m_Managers.insert(manager);
    }
    // Starting a clock that runs already does nothing; monitors start from many connections,
    // and the thread is started by one of them at a time.
    std::unique_lock<std::mutex> starting(m_StartLock);
    if (!Lock(error)) {
        starting.unlock();
        Detach(manager);
        return 0;
    }
    return 1;
}

void SCA_TezSampleClock::Detach(SCA_TezManager* manager) {
    std::unique_lock<std::mutex> guard(m_Lock);
    m_Managers.erase(manager);
    const bool fromItsTick = std::this_thread::get_id() == m_ClockThread;
    m_TickDone.wait(guard, [&] { return fromItsTick || m_Current != manager; });
}

size_t SCA_TezSampleClock::GetManagerCount() {
    const std::lock_guard<std::mutex> guard(m_Lock);
    return m_Managers.size();
}

int SCA_TezSampleClock::ThreadFunc() {
    {
        const std::lock_guard<std::mutex> guard(m_Lock);
        m_ClockThread = std::this_thread::get_id();
    }
    for (;;) {
        // Sleep to the next boundary of the interval on the wall clock, so that charts of
        // different monitors line up.
        const uint64_t nowMs = SCA_GetAbsTime() / kAbsTicksPerMs;
        const uint64_t tickMs = (nowMs / m_IntervalMs + 1) * m_IntervalMs;
        if (GetStopEvent()->Wait(static_cast<uint32_t>(tickMs - nowMs)) != SCA_WAIT_TIMEOUT) {
            return 1;
        }
        RunTick(tickMs);
    }
}

void SCA_TezSampleClock::RunTick(uint64_t tickMs) {
    {
        const std::lock_guard<std::mutex> guard(m_Lock);
        m_Due.assign(m_Managers.begin(), m_Managers.end());
    }
    // Every manager of the tick shares its times, as they share the collector's reads.
    const uint64_t monotonicNs = SCA_PerfSnapshotStore::GetMonotonicNs();
    const uint64_t absTime = SCA_GetAbsTime();
    for (SCA_TezManager* manager : m_Due) {
        {
            const std::lock_guard<std::mutex> guard(m_Lock);
            if (m_Managers.count(manager) == 0) {
                continue; // detached since the tick began
            }
            m_Current = manager;
        }
        manager->SampleTick(tickMs, monotonicNs, absTime);
        {
            const std::lock_guard<std::mutex> guard(m_Lock);
            m_Current = nullptr;
        }
        m_TickDone.notify_all();
    }
}
