// SPDX-License-Identifier: MIT
#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_set>
#include <vector>

#include "libmor/SCA_ThreadObj.h"

class SCA_TezManager;

// One thread per sample interval that drives every sampling manager of that interval: on each
// boundary of the interval on the wall clock it runs the tick of each attached manager in turn.
// A thread and a wake-up per monitor cost far more than the sampling itself, and one thread
// also leaves the collectors' shared reads without contention.
//
// Clocks are shared: ForInterval hands out the running clock of an interval or makes one, and a
// clock ends its thread when its last holder lets it go. Never let the last holder go from a
// sample callback (the clock would wait for its own thread).
class SCA_TezSampleClock : public SCA_ThreadObj {
public:
    static std::shared_ptr<SCA_TezSampleClock> ForInterval(uint32_t intervalMs);

    explicit SCA_TezSampleClock(uint32_t intervalMs);
    ~SCA_TezSampleClock() override;

    // The manager is sampled from the next tick on. 0 with *error when the thread cannot start.
    int Attach(SCA_TezManager* manager, uint32_t* error);
    // The manager is sampled no more: returns once a tick of it that runs has ended (at once
    // when called from that tick).
    void Detach(SCA_TezManager* manager);
    size_t GetManagerCount();
    uint32_t GetIntervalMs() const { return m_IntervalMs; }

    int ThreadFunc() override;

private:
    void RunTick(uint64_t tickMs);

    const uint32_t m_IntervalMs;
    std::mutex m_StartLock;
    std::mutex m_Lock;
    std::condition_variable m_TickDone;
    std::unordered_set<SCA_TezManager*> m_Managers;
    // The managers of the tick under way, in the clock thread only: kept to reuse its storage.
    std::vector<SCA_TezManager*> m_Due;
    SCA_TezManager* m_Current = nullptr;
    std::thread::id m_ClockThread;
};
