// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <cstdint>

#include "libmor/SCA_Heap.h"
#include "libmor/SCA_ThreadObj.h"
#include "model/SCA_TezProcessStatus.h"

// The collector's periodic updater: a thread that ticks every UpdateInterval milliseconds until
// it is told to stop, counting its ticks. Its state may be read from any thread.
class SCA_PerfMonitorUpdate : public SCA_ThreadObj {
public:
    SCA_HEAP_OPERATORS

    SCA_PerfMonitorUpdate() = default;
    ~SCA_PerfMonitorUpdate() override { Unlock(__FILE__); }

    // Idle before the first start, running while the thread runs, stopped once it stopped.
    uint32_t GetProcessStatus() const { return m_ProcessStatus; }
    void SetProcessStatus(uint32_t status) { m_ProcessStatus = status; }
    uint32_t GetStatusCode() const { return m_StatusCode; }
    void SetStatusCode(uint32_t code) { m_StatusCode = code; }
    // Milliseconds between two ticks (1000 at first).
    uint32_t GetUpdateInterval() const { return m_UpdateInterval; }
    void SetUpdateInterval(uint32_t ms) { m_UpdateInterval = ms; }
    uint32_t GetUpdateCount() const { return m_UpdateCount; }
    void SetUpdateCount(uint32_t count) { m_UpdateCount = count; }

    int ThreadFunc() override;

private:
    std::atomic<uint32_t> m_ProcessStatus{SCA_PROCESS_IDLE};
    std::atomic<uint32_t> m_StatusCode{0};
    std::atomic<uint32_t> m_UpdateInterval{1000};
    std::atomic<uint32_t> m_UpdateCount{0};
};
