// SPDX-License-Identifier: MIT
#include "korvac/main/SCA_SrvActionCtrl.h"

#include <QCoreApplication>
#include <QSoundEffect>
#include <QString>
#include <QUrl>

#include "libmor/SCA_Report.h"
#include "libmor/SCA_Time.h"
#include "model/SCA_Sound.h"
#include "model/SCA_SoundActions.h"
#include "model/SCA_TezConfigUser.h"

namespace {

constexpr uint32_t kWakeMs = 100;
constexpr uint64_t kAbsTimePerSecond = 10000000;
// A sound plays again only when more than this many whole seconds passed.
constexpr uint64_t kRepeatSeconds = 3;

} // namespace

SCA_SrvActionCtrl::SCA_SrvActionCtrl(SCA_TezConfig* config, SCA_TezConfigUser* userConfig,
                                     SCA_ConfigObj* params)
    : m_Config(config), m_UserConfig(userConfig), m_Params(params), m_Queue(kQueueCapacity),
      m_Clock(&SCA_GetAbsTime), m_Player(&SCA_SrvActionCtrl::PlayOnGuiThread) {
    (void)m_Config;
    (void)m_Params;
    if (m_Queue.IsConstructed()) {
        SetConstructed();
    }
}

SCA_SrvActionCtrl::~SCA_SrvActionCtrl() {
    StopProcess();
}

int SCA_SrvActionCtrl::StartProcess() {
    if (m_State != kStopped) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_SrvActionCtrl::StartProcess: already running.");
        return 0;
    }
    m_State = kRunning;
    uint32_t error = 0;
    if (!Lock(&error)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR,
            "SCA_SrvActionCtrl::StartProcess: Cannot start process thread (ERR:%u)", error);
        m_State = 0;
        return 0;
    }
    return 1;
}

int SCA_SrvActionCtrl::AddActions(SCA_SoundActions* actions) {
    if (actions != nullptr && m_Queue.Put(actions)) {
        ++m_BatchesAdded;
        return 1;
    }
    SCA_GetReportFunction(__FILE__, __LINE__)(
        SCA_LEVEL_ERROR, "SCA_TezActionCtrl::AddActions: cannot add actions to the action queue");
    delete actions;
    return 0;
}

int SCA_SrvActionCtrl::StopProcess() {
    if (IsRunning()) {
        Unlock(__FILE__);
    }
    if (m_State == kRunning) {
        m_State = kStopped;
    }
    m_Queue.Drain([](SCA_SoundActions* actions) { delete actions; });
    return 1;
}

int SCA_SrvActionCtrl::ThreadFunc() {
    SCA_Event* stop = GetStopEvent();
    while (stop == nullptr || !stop->IsSignaled()) {
        // Every batch queued by the time of the wake is played, not one per wake: more batches
        // than the semaphore can count must not wait for a later signal that never comes.
        m_Queue.WaitAndTakeAll(kWakeMs, [this](SCA_SoundActions* actions) {
            ProcessSoundActions(actions);
            delete actions;
            ++m_BatchesPlayed;
        });
    }
    return 1;
}

int SCA_SrvActionCtrl::ProcessSoundActions(SCA_SoundActions* actions) {
    if (actions == nullptr) {
        return 0;
    }
    const uint64_t now = m_Clock() / kAbsTimePerSecond;
    auto lock = LockSoundList();
    for (auto* node = actions->GetHead(); node != nullptr; node = node->GetNext()) {
        const SCA_SoundAction* action = node->GetItem();
        if (action == nullptr) {
            continue;
        }
        SCA_Sound* sound = nullptr;
        if (m_UserConfig == nullptr ||
            !m_UserConfig->GetSoundList()->GetSound(action->GetSoundName(), &sound) ||
            sound == nullptr) {
            // A rule that names a sound the client lacks fires again and again: it is told once
            // per name, not once per alarm.
            if (m_ReportedNames.insert(action->GetSoundName()).second) {
                SCA_GetReportFunction(__FILE__, __LINE__)(
                    SCA_LEVEL_ERROR,
                    "SCA_SrvActionCtrl::ProcessSoundActions: invaid notification sound name - %s",
                    action->GetSoundName());
            }
            return 0;
        }
        // Unsigned on purpose: a last play time in the future (the clock was set back) gives a
        // huge difference and the sound plays.
        if (now - sound->GetLastPlayTime() > kRepeatSeconds) {
            sound->SetLastPlayTime(now);
            if (m_Player) {
                m_Player(sound->GetFileName());
            }
        }
    }
    return 1;
}

void SCA_SrvActionCtrl::PlayOnGuiThread(const char* fileName) {
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr || fileName == nullptr || fileName[0] == '\0') {
        return;
    }
    const QString path = QString::fromUtf8(fileName);
    QMetaObject::invokeMethod(
        app,
        [app, path]() {
            auto* effect = new QSoundEffect(app);
            QObject::connect(effect, &QSoundEffect::playingChanged, effect, [effect]() {
                if (!effect->isPlaying()) {
                    effect->deleteLater();
                }
            });
            QObject::connect(effect, &QSoundEffect::statusChanged, effect, [effect]() {
                if (effect->status() == QSoundEffect::Error) {
                    effect->deleteLater();
                }
            });
            effect->setSource(QUrl::fromLocalFile(path));
            effect->play();
        },
        Qt::QueuedConnection);
}
