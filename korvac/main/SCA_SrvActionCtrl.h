// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <set>
#include <string>

#include "containers/SCA_DataQueue.h"
#include "libmor/SCA_ThreadObj.h"

class SCA_ConfigObj;
class SCA_SoundActions;
class SCA_TezConfig;
class SCA_TezConfigUser;

// Plays the service's notification sounds for the client on a worker thread of its own, so the
// window never waits for audio; each named sound plays at most once in any three seconds.
//
// The window hands over batches of actions (owned from then on). The worker looks each action's
// sound up in the user configuration's sound list under the sound-list lock, which every writer
// of that list holds as well, and asks the player to play the sound's file. The default player
// hands the file to the GUI thread, where Qt Multimedia plays it.
class SCA_SrvActionCtrl : public SCA_ThreadObj {
public:
    static constexpr uint32_t kStopped = 10;
    static constexpr uint32_t kRunning = 11;
    static constexpr uint32_t kQueueCapacity = 64;

    // Absolute time in 100-ns units.
    using Clock = std::function<uint64_t()>;
    // Plays a sound file; called on the worker thread.
    using Player = std::function<void(const char* fileName)>;

    SCA_SrvActionCtrl(SCA_TezConfig* config, SCA_TezConfigUser* userConfig, SCA_ConfigObj* params);
    ~SCA_SrvActionCtrl() override;

    void SetClock(Clock clock) { m_Clock = std::move(clock); }
    void SetPlayer(Player player) { m_Player = std::move(player); }

    // From the stopped state only; 1 when the worker runs.
    int StartProcess();
    // Queues the batch, which the controller owns from now on (also when refused: it is
    // deleted then). 1 when queued.
    int AddActions(SCA_SoundActions* actions);
    // Stops the worker and deletes every batch still queued. 1.
    int StopProcess();
    int ThreadFunc() override;
    // Plays a batch on the calling thread (the worker's), stopping at the first action whose
    // sound is unknown.
    int ProcessSoundActions(SCA_SoundActions* actions);

    // Held by the worker while it reads the sound list and by every writer of that list.
    std::unique_lock<std::mutex> LockSoundList() { return std::unique_lock(m_SoundListLock); }

    uint32_t GetState() const { return m_State; }
    uint32_t GetBatchesAdded() const { return m_BatchesAdded; }
    uint32_t GetBatchesPlayed() const { return m_BatchesPlayed; }
    uint32_t GetQueuedBatches() { return m_Queue.Count(); }

    // The default player: plays the file with Qt Multimedia on the application's thread.
    static void PlayOnGuiThread(const char* fileName);

private:
    SCA_TezConfig* m_Config;
    SCA_TezConfigUser* m_UserConfig;
    SCA_ConfigObj* m_Params;
    uint32_t m_State = kStopped;
    std::atomic<uint32_t> m_BatchesAdded = 0;
    std::atomic<uint32_t> m_BatchesPlayed = 0;
    SCA_DataQueue<SCA_SoundActions*> m_Queue;
    std::mutex m_SoundListLock;
    Clock m_Clock;
    Player m_Player;
    // The unknown sound names already reported (the playing thread's alone).
    std::set<std::string> m_ReportedNames;
};
