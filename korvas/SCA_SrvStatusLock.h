// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>

#include "korvas/SCA_SrvStatusBoard.h"

// A mutex whose release tells a status board that what it guarded may have changed. The
// monitors list, the tasks and their runs change only under such locks, so the rows that
// GetStatusEx sends ready-made cannot miss a change, whichever operation made it. Usable with
// std::lock_guard and std::unique_lock.
template <typename Mutex>
class SCA_SrvStatusLock {
public:
    void SetBoard(SCA_SrvStatusBoard* board) { m_Board.store(board); }

    void lock() { m_Mutex.lock(); }
    bool try_lock() { return m_Mutex.try_lock(); }
    // Told before the release, so that a reader holding the lock reads the board's generation
    // and the data it describes together.
    void unlock() {
        if (SCA_SrvStatusBoard* board = m_Board.load()) {
            board->Touch();
        }
        m_Mutex.unlock();
    }

    // The mutex itself, for the board's reader, which changes nothing.
    Mutex& Quiet() { return m_Mutex; }

private:
    Mutex m_Mutex;
    std::atomic<SCA_SrvStatusBoard*> m_Board{nullptr};
};
