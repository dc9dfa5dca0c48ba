// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <cstdint>

#include "libmor/SCA_Event.h"
#include "libmor/SCA_Object.h"

class SCA_Thread;

// Base of every object that owns a thread. Lock starts the thread, which runs ThreadFunc;
// Unlock sets the stop event and returns only when ThreadFunc has returned. The body watches
// GetStopEvent() (for example by waiting on it with a time-out) and returns when it is set.
//
// A derived class calls Unlock in its own destructor: by the time this base destructor runs,
// the derived part (and so ThreadFunc) is gone.
class SCA_ThreadObj : public SCA_Object {
public:
    SCA_ThreadObj();
    ~SCA_ThreadObj() override;
    SCA_ThreadObj(const SCA_ThreadObj&) = delete;
    SCA_ThreadObj& operator=(const SCA_ThreadObj&) = delete;

    // Starts the thread with the stop event cleared. A thread that is still running is
    // left alone (1). 0 with *error set when the thread cannot be started.
    virtual int Lock(uint32_t* error);
    // Asks the thread to stop and waits for its body to end; sourceFile names the
    // caller in the warning given when the body outlives ThreadExitTimeout. 1 (also when no
    // thread runs).
    virtual int Unlock(const char* sourceFile);
    // The body of the thread.
    virtual int ThreadFunc() = 0;

    // Waits for the body to end: SCA_WAIT_OK, SCA_WAIT_TIMEOUT when timeoutMs passed first, 0 at
    // once when no thread was ever created.
    int Wait(uint32_t timeoutMs);
    // 1 while the body runs.
    int IsRunning() const;
    // Gives back the thread (its stack above all) when its body has returned, without waiting
    // for a body that runs: a thread whose work is done holds its stack until it is joined,
    // and its owner may not stop it for a long time. May be called from any thread, alongside
    // Lock and Unlock; nothing happens before the first Lock. 1 when this call joined it.
    int JoinIfEnded();

    SCA_Event* GetStopEvent() const { return m_StopEvent; }
    uint32_t GetStatus() const { return m_Status; }
    void SetStatus(uint32_t status) { m_Status = status; }
    int GetReportThreadErrors() const { return m_ReportThreadErrors; }
    void SetReportThreadErrors(int report) { m_ReportThreadErrors = report; }
    uint32_t GetThreadExitTimeout() const { return m_ThreadExitTimeout; }
    void SetThreadExitTimeout(uint32_t timeoutMs) { m_ThreadExitTimeout = timeoutMs; }

private:
    // Made by the first Lock; read by other threads (Wait, IsRunning, JoinIfEnded).
    std::atomic<SCA_Thread*> m_Thread{nullptr};
    SCA_Event* m_StopEvent = nullptr;
    uint32_t m_Status = 0;
    int m_ReportThreadErrors = 1;
    uint32_t m_ThreadExitTimeout = 10000;
};
