// SPDX-License-Identifier: MIT
#include "libmor/SCA_ThreadObj.h"

#include <cerrno>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>

#include "libmor/SCA_Clock.h"
#include "libmor/SCA_Heap.h"
#include "libmor/SCA_Report.h"
#include "libmor/SCA_Sync.h"

// The thread behind an SCA_ThreadObj and whether its body still runs. It outlives the body so
// that Wait can still answer after the thread ended; it is reused by the next Lock.
//
// Lock and Unlock are called by the owner; Wait and IsRunning may be called from any thread
// once the first Lock has returned.
class SCA_Thread {
public:
    SCA_HEAP_OPERATORS

    // Waits until the body has returned; false when timeoutMs passed first.
    bool WaitEnded(uint32_t timeoutMs) {
        std::unique_lock<std::mutex> lock(m_Lock);
        return SCA_GetClock().WaitFor(m_Ended, lock, timeoutMs, [this] { return !m_Running; });
    }

    bool IsRunning() {
        std::lock_guard<std::mutex> lock(m_Lock);
        return m_Running;
    }

    // Starts owner->ThreadFunc() on a new thread; the previous thread must have ended.
    void Start(SCA_ThreadObj* owner) {
        std::lock_guard<std::mutex> handle(m_HandleLock);
        JoinLocked();
        SetRunning(true);
        try {
            m_Thread = std::thread(&SCA_Thread::Run, this, owner);
        } catch (...) {
            SetRunning(false);
            throw;
        }
    }

    void Join() {
        std::lock_guard<std::mutex> handle(m_HandleLock);
        JoinLocked();
    }

    // Joins the thread if its body has returned (it is then only leaving), never waiting for
    // a body that runs.
    bool JoinIfEnded() {
        std::lock_guard<std::mutex> handle(m_HandleLock);
        return !IsRunning() && JoinLocked();
    }

    bool IsCurrentThread() {
        std::lock_guard<std::mutex> handle(m_HandleLock);
        return m_Thread.get_id() == std::this_thread::get_id();
    }

private:
    void Run(SCA_ThreadObj* owner) {
        try {
            owner->ThreadFunc();
        } catch (const std::exception& e) {
            // Ending the thread here keeps the process alive and lets Unlock return.
            if (owner->GetReportThreadErrors() != 0) {
                SCA_GetReportFunction(__FILE__, __LINE__)(
                    SCA_LEVEL_ERROR, "Thread body ended with an exception: %s", e.what());
            }
        }
        SetRunning(false);
    }

    void SetRunning(bool running) {
        std::lock_guard<std::mutex> lock(m_Lock);
        m_Running = running;
        if (!running) {
            m_Ended.notify_all();
        }
    }

    // Whether there was a thread to join.
    bool JoinLocked() {
        if (!m_Thread.joinable()) {
            return false;
        }
        m_Thread.join();
        return true;
    }

    // Guards the thread handle: the owner starts and joins it, and another thread may join it
    // once its body has ended (JoinIfEnded). Only ever held to join a thread whose body
    // returned, so a body never waits for it long.
    std::mutex m_HandleLock;
    std::thread m_Thread;
    std::mutex m_Lock;
    std::condition_variable m_Ended;
    bool m_Running = false;
};

namespace {

// Starts the thread; 0, or the errno value when the system refused.
uint32_t StartThread(SCA_Thread* thread, SCA_ThreadObj* owner) {
    try {
        thread->Start(owner);
    } catch (const std::system_error& e) {
        return static_cast<uint32_t>(e.code().value());
    } catch (const std::bad_alloc&) {
        return ENOMEM;
    }
    return 0;
}

int Fail(uint32_t* error, uint32_t code) {
    if (error != nullptr) {
        *error = code;
    }
    return 0;
}

} // namespace

SCA_ThreadObj::SCA_ThreadObj() {
    m_StopEvent = new (std::nothrow) SCA_Event(1, 0);
    if (m_StopEvent == nullptr || m_StopEvent->IsConstructed() == 0) {
        SCA_Object::Destroy(m_StopEvent);
        m_StopEvent = nullptr;
        return;
    }
    SetConstructed();
}

SCA_ThreadObj::~SCA_ThreadObj() {
    if (m_Thread.load() != nullptr) {
        Unlock(__FILE__);
        delete m_Thread.load();
    }
    SCA_Object::Destroy(m_StopEvent);
}

int SCA_ThreadObj::Lock(uint32_t* error) {
    if (m_StopEvent == nullptr) {
        return Fail(error, ENOMEM);
    }
    SCA_Thread* thread = m_Thread.load();
    if (thread != nullptr && thread->IsRunning()) {
        return 1;
    }
    if (thread == nullptr) {
        thread = new (std::nothrow) SCA_Thread();
        if (thread == nullptr) {
            return Fail(error, ENOMEM);
        }
        m_Thread.store(thread);
    }
    m_StopEvent->Reset();
    const uint32_t code = StartThread(thread, this);
    if (code != 0) {
        if (m_ReportThreadErrors != 0) {
            SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                                      "Cannot start thread: error %u", code);
        }
        return Fail(error, code);
    }
    return 1;
}

int SCA_ThreadObj::Unlock(const char* sourceFile) {
    SCA_Thread* thread = m_Thread.load();
    if (thread == nullptr) {
        return 1;
    }
    if (m_StopEvent != nullptr) {
        m_StopEvent->Set();
    }
    if (thread->IsCurrentThread()) {
        return 1; // the body asked to stop itself: it cannot wait for its own end
    }
    if (!thread->WaitEnded(m_ThreadExitTimeout)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_WARNING, "Thread of %s did not end within %u ms, still waiting",
            sourceFile != nullptr ? sourceFile : "?", m_ThreadExitTimeout);
        thread->WaitEnded(SCA_INFINITE);
    }
    thread->Join();
    return 1;
}

int SCA_ThreadObj::JoinIfEnded() {
    SCA_Thread* thread = m_Thread.load();
    return thread != nullptr && thread->JoinIfEnded() ? 1 : 0;
}

int SCA_ThreadObj::Wait(uint32_t timeoutMs) {
    SCA_Thread* thread = m_Thread.load();
    if (thread == nullptr) {
        return 0;
    }
    return thread->WaitEnded(timeoutMs) ? SCA_WAIT_OK : SCA_WAIT_TIMEOUT;
}

int SCA_ThreadObj::IsRunning() const {
    SCA_Thread* thread = m_Thread.load();
    return thread != nullptr && thread->IsRunning();
}
