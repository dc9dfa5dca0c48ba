// SPDX-License-Identifier: MIT
// The sound-action worker with an injected clock and player: the three-second rule, an unknown
// sound, and batches drained by the worker and at stop.
#include <atomic>
#include <gtest/gtest.h>
#include <mutex>
#include <string>
#include <vector>

#include "korvac/main/SCA_SrvActionCtrl.h"
#include "model/SCA_Sound.h"
#include "model/SCA_SoundActions.h"
#include "model/SCA_TezConfig.h"
#include "model/SCA_TezConfigUser.h"
#include "tests/support/WaitUntil.h"

namespace {

constexpr uint64_t kSecond = 10000000;

class SoundWorker : public testing::Test {
protected:
    void SetUp() override {
        AddSound(1, "Alarm", "/sounds/alarm.wav");
        AddSound(2, "Chime", "/sounds/chime.wav");
        m_Ctrl.SetClock([this]() { return m_Now.load(); });
        m_Ctrl.SetPlayer([this](const char* file) {
            std::lock_guard lock(m_Lock);
            m_Played.emplace_back(file);
        });
    }
    void AddSound(uint32_t id, const char* name, const char* file) {
        auto* sound = new SCA_Sound();
        sound->SetSoundId(id);
        sound->SetSoundName(name);
        sound->SetFileName(file);
        ASSERT_EQ(m_User.GetSoundList()->AddSound(sound), 1);
    }
    static SCA_SoundActions* Batch(std::initializer_list<const char*> names) {
        auto* batch = new SCA_SoundActions();
        uint32_t id = 1;
        for (const char* name : names) {
            auto* action = new SCA_SoundAction();
            action->SetActionId(id++);
            action->SetActionTime(id);
            action->SetSoundName(name);
            EXPECT_EQ(batch->AddAction(action), 1);
        }
        return batch;
    }
    std::vector<std::string> Played() {
        std::lock_guard lock(m_Lock);
        return m_Played;
    }

    SCA_TezConfig m_Config{SCA_PRODUCT_TYPE_KORVANTA};
    SCA_TezConfigUser m_User{&m_Config};
    SCA_ConfigObj m_Params{"Params", nullptr};
    SCA_SrvActionCtrl m_Ctrl{&m_Config, &m_User, &m_Params};
    std::atomic<uint64_t> m_Now = 1000 * kSecond;
    std::mutex m_Lock;
    std::vector<std::string> m_Played;
};

TEST_F(SoundWorker, ASoundPlaysAtMostOnceInThreeSecondsAndAFutureStampPlaysAtOnce) {
    std::unique_ptr<SCA_SoundActions> batch(Batch({"Alarm", "Alarm", "Chime"}));
    ASSERT_EQ(m_Ctrl.ProcessSoundActions(batch.get()), 1);
    EXPECT_EQ(Played(), (std::vector<std::string>{"/sounds/alarm.wav", "/sounds/chime.wav"}));
    m_Now += 3 * kSecond;
    std::unique_ptr<SCA_SoundActions> again(Batch({"Alarm"}));
    m_Ctrl.ProcessSoundActions(again.get());
    EXPECT_EQ(Played().size(), 2u);
    m_Now += kSecond;
    m_Ctrl.ProcessSoundActions(again.get());
    EXPECT_EQ(Played().size(), 3u);

    SCA_Sound* chime = nullptr;
    ASSERT_EQ(m_User.GetSoundList()->GetSound("Chime", &chime), 1);
    chime->SetLastPlayTime(m_Now / kSecond + 100);
    std::unique_ptr<SCA_SoundActions> future(Batch({"Chime"}));
    m_Ctrl.ProcessSoundActions(future.get());
    EXPECT_EQ(Played().back(), "/sounds/chime.wav");
    EXPECT_EQ(Played().size(), 4u);
}

TEST_F(SoundWorker, AnUnknownSoundEndsItsBatchBeforeLaterValidActions) {
    std::unique_ptr<SCA_SoundActions> batch(Batch({"Siren", "Alarm"}));
    EXPECT_EQ(m_Ctrl.ProcessSoundActions(batch.get()), 0);
    EXPECT_TRUE(Played().empty());
}

TEST_F(SoundWorker, TheWorkerPlaysEveryQueuedBatchAndStopDrainsTheRest) {
    // More batches than the semaphore counts: each wake takes all that are queued.
    for (int i = 0; i < 80; ++i) {
        ASSERT_EQ(m_Ctrl.AddActions(Batch({"Alarm"})), 1);
    }
    ASSERT_EQ(m_Ctrl.StartProcess(), 1);
    EXPECT_EQ(m_Ctrl.StartProcess(), 0);
    EXPECT_TRUE(korvanta_test::WaitUntil("every batch played",
                                         [&] { return m_Ctrl.GetBatchesPlayed() >= 80; }));
    EXPECT_EQ(m_Ctrl.GetBatchesPlayed(), 80u);
    EXPECT_EQ(Played().size(), 1u);
    m_Ctrl.StopProcess();
    EXPECT_EQ(m_Ctrl.GetState(), SCA_SrvActionCtrl::kStopped);

    // Stopped: batches wait in the queue and are deleted at stop (the sanitizer sees leaks).
    m_Ctrl.AddActions(Batch({"Chime"}));
    m_Ctrl.AddActions(Batch({"Chime"}));
    EXPECT_EQ(m_Ctrl.GetQueuedBatches(), 2u);
    m_Ctrl.StopProcess();
    EXPECT_EQ(m_Ctrl.GetQueuedBatches(), 0u);
    EXPECT_EQ(Played().size(), 1u);
}

} // namespace
