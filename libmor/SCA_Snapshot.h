// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <mutex>
#include <utility>

// A value that one owner changes and other threads read without the owner's lock: the owner
// publishes a new, complete value and readers keep the one they took for as long as they hold
// it. A published value is never changed again, so a reader never sees a change half made,
// and a value that a reader still holds is freed only when the last reader lets it go.
template <typename T>
class SCA_Snapshot {
public:
    // The current value; null before the first Publish.
    std::shared_ptr<const T> Get() const {
        std::lock_guard<std::mutex> hold(m_Lock);
        return m_Value;
    }

    // Replaces the value whole. The value replaced is released outside the lock.
    void Publish(std::shared_ptr<const T> value) {
        {
            std::lock_guard<std::mutex> hold(m_Lock);
            m_Value.swap(value);
        }
        value.reset();
    }

private:
    mutable std::mutex m_Lock;
    std::shared_ptr<const T> m_Value;
};
