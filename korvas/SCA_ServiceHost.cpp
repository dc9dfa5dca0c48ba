// SPDX-License-Identifier: MIT
#include "korvas/SCA_ServiceHost.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <new>
#include <syslog.h>

#include "korvas/SCA_KorvantaCtrl.h"
#include "korvas/SCA_ServiceNotifier.h"
#include "libmor/SCA_Limits.h"
#include "libmor/SCA_SystemLog.h"
#include "libmor/SCA_Version.h"
#include "model/SCA_TezConfig.h"
#include "model/SCA_TezConfigUser.h"
#include "model/SCA_TezLogonMode.h"
#include "model/SCA_TezProcessStatus.h"

namespace {

// Own process and shared process together, as the state table gives them.
constexpr uint32_t kServiceType = 0x30;
// Stop, pause and continue, shutdown.
constexpr uint32_t kControlsAccepted = 7;
// How often the dispatcher looks whether the control loop ended by itself.
constexpr long kDispatcherSliceNs = 100L * 1000L * 1000L;
// The start line: the product's name and version, the port and the login mode.
constexpr size_t kStartLineSize = 256;

int SyslogPriority(uint32_t level) {
    return level == SCA_LEVEL_WARNING ? LOG_WARNING : LOG_ERR;
}

const char* LoginModeName(uint32_t mode) {
    switch (mode) {
    case SCA_KORVANTA_LOGIN_NAMES:
        return "user names only";
    case SCA_KORVANTA_LOGIN_PASSWORD:
        return "operating-system password";
    case SCA_KORVANTA_LOGIN_SIGNATURE:
        return "signed password";
    default:
        return "unknown";
    }
}

} // namespace

SCA_ServiceHost::SCA_ServiceHost(SCA_ServiceNotifier* notifier) : m_Notifier(notifier) {}

SCA_ServiceHost::~SCA_ServiceHost() {
    DestroyCtrl();
    if (m_CallbackInstalled) {
        SCA_SetErrorCallback(nullptr, nullptr);
    }
}

void SCA_ServiceHost::InstallErrorCallback() {
    SCA_SetErrorCallback(&SCA_ServiceHost::ServiceErrorCallback, this);
    m_CallbackInstalled = true;
}

int SCA_ServiceHost::ServiceErrorCallback(tagSCA_ERROR_DESCR* record, void* context) {
    auto* host = static_cast<SCA_ServiceHost*>(context);
    if (record == nullptr || host == nullptr) {
        return 1;
    }
    {
        std::lock_guard<std::mutex> hold(host->m_CtrlLock);
        if (host->m_Ctrl != nullptr) {
            host->m_Ctrl->GetDebugLog()->AddMessage(record, SCA_ALL_ONES);
        }
    }
    // Without a console, what a user must see (where the initial password is, why the
    // service cannot start) reaches the system log, or standard error without a log daemon.
    if (record->Level >= SCA_LEVEL_WARNING) {
        SCA_SystemLog(SCA_KORVAS_LOG_IDENT).Write(SyslogPriority(record->Level), record->Text);
    }
    return 1;
}

uint32_t SCA_ServiceHost::ControlOfSignal(int signal) {
    switch (signal) {
    case SIGTERM:
    case SIGINT:
        return SCA_SERVICE_CONTROL_STOP;
    case SIGUSR1:
        return SCA_SERVICE_CONTROL_PAUSE;
    case SIGUSR2:
        return SCA_SERVICE_CONTROL_CONTINUE;
    default:
        return SCA_SERVICE_CONTROL_INTERROGATE;
    }
}

int SCA_ServiceHost::RunServiceDispatcher(int argc, char** argv) {
    InstallErrorCallback();
    // Blocked before any thread exists, so that every thread inherits the mask and the
    // signals reach only the wait below.
    sigset_t controls;
    sigemptyset(&controls);
    for (int signal : {SIGTERM, SIGINT, SIGUSR1, SIGUSR2, SIGHUP}) {
        sigaddset(&controls, signal);
    }
    if (pthread_sigmask(SIG_BLOCK, &controls, nullptr) != 0) {
        return 0;
    }
    ServiceMain(argc, argv);
    const timespec slice{0, kDispatcherSliceNs};
    while (m_Status.CurrentState != SCA_SERVICE_STOPPED) {
        const int signal = sigtimedwait(&controls, nullptr, &slice);
        if (signal > 0) {
            ServiceCtrlHandler(ControlOfSignal(signal));
        } else if (!CheckControlLoop()) {
            CheckListening();
        }
    }
    return 1;
}

void SCA_ServiceHost::ServiceMain(int argc, char** argv) {
    m_Status = {kServiceType, SCA_SERVICE_START_PENDING, kControlsAccepted, 0, 0, 0, 0};
    uint32_t code = 0;
    const int started = StartServiceWorker(argc, argv, &code);
    m_Status.CheckPoint = 0;
    m_Status.WaitHint = 0;
    if (started) {
        m_Status.CurrentState = SCA_SERVICE_RUNNING;
    } else {
        m_Status.CurrentState = SCA_SERVICE_STOPPED;
        m_Status.Win32ExitCode = code;
        m_Status.ServiceSpecificExitCode = code;
    }
    SetServiceStatus();
}

int SCA_ServiceHost::StartServiceWorker(int argc, char** argv, uint32_t* code) {
    if (m_Ctrl != nullptr) {
        *code = SCA_SERVICE_CTRL_EXISTS;
        return 0;
    }
    auto* ctrl = new (std::nothrow) SCA_KorvantaCtrl();
    if (ctrl == nullptr || !ctrl->IsConstructed()) {
        SCA_Object::Destroy(ctrl);
        *code = SCA_SERVICE_CTRL_NOT_CREATED;
        return 0;
    }
    {
        std::lock_guard<std::mutex> hold(m_CtrlLock);
        m_Ctrl = ctrl;
    }
    uint32_t initCode = 0;
    if (!m_Ctrl->Init(static_cast<uint32_t>(argc), argv, &initCode)) {
        DestroyCtrl();
        *code = SCA_SERVICE_INIT_FAILED;
        return 0;
    }
    if (!m_Ctrl->StartProcess()) {
        DestroyCtrl();
        *code = SCA_SERVICE_THREAD_FAILED;
        return 0;
    }
    return 1;
}

void SCA_ServiceHost::DestroyCtrl() {
    SCA_KorvantaCtrl* ctrl = nullptr;
    {
        std::lock_guard<std::mutex> hold(m_CtrlLock);
        ctrl = m_Ctrl;
        m_Ctrl = nullptr;
    }
    if (ctrl != nullptr) {
        // The loop ends first, then its objects go; the callback no longer reaches them.
        ctrl->StopProcess();
        SCA_Object::Destroy(ctrl);
    }
}

void SCA_ServiceHost::Stopped(uint32_t exitCode, uint32_t specificCode) {
    DestroyCtrl();
    m_ReadyPort = 0;
    m_Status.CurrentState = SCA_SERVICE_STOPPED;
    m_Status.Win32ExitCode = exitCode;
    m_Status.ServiceSpecificExitCode = specificCode;
    m_Status.CheckPoint = 0;
    m_Status.WaitHint = 0;
}

int SCA_ServiceHost::ServiceCtrlHandler(uint32_t control) {
    switch (control) {
    case SCA_SERVICE_CONTROL_STOP:
    case SCA_SERVICE_CONTROL_SHUTDOWN:
        Stopped(0, 0);
        break;
    case SCA_SERVICE_CONTROL_PAUSE:
        if (m_Ctrl != nullptr && m_Status.CurrentState == SCA_SERVICE_RUNNING) {
            m_Ctrl->StopProcess();
            m_Status.CurrentState = SCA_SERVICE_PAUSED;
            m_ReadyPort = 0;
        }
        break;
    case SCA_SERVICE_CONTROL_CONTINUE:
        if (m_Ctrl != nullptr && m_Status.CurrentState == SCA_SERVICE_PAUSED) {
            // Running only when the control thread really started again.
            if (m_Ctrl->StartProcess()) {
                m_Status.CurrentState = SCA_SERVICE_RUNNING;
            } else {
                Stopped(SCA_SERVICE_THREAD_FAILED, SCA_SERVICE_THREAD_FAILED);
            }
        }
        break;
    default:
        break;
    }
    return SetServiceStatus();
}

int SCA_ServiceHost::CheckControlLoop() {
    if (m_Ctrl == nullptr || m_Status.CurrentState != SCA_SERVICE_RUNNING || m_Ctrl->IsRunning()) {
        return 0;
    }
    const uint32_t state = m_Ctrl->GetThreadState();
    if (state == SCA_PROCESS_RUNNING) {
        return 0; // the body has not stored its result yet
    }
    const uint32_t code = state == SCA_PROCESS_STOPPED ? 0 : SCA_SERVICE_LOOP_FAILED;
    Stopped(code, 0);
    SetServiceStatus();
    return 1;
}

int SCA_ServiceHost::CheckListening() {
    const uint16_t port = m_Ctrl != nullptr ? m_Ctrl->GetServerPort() : 0;
    if (m_Status.CurrentState != SCA_SERVICE_RUNNING || port == 0 || port == m_ReadyPort) {
        return 0;
    }
    m_ReadyPort = port;
    const auto config = m_Ctrl->GetUserConfig()->GetSnapshot();
    const uint32_t effective =
        SCA_TezEffectiveLogonMode(config->Settings.EnableOsLogon, config->Settings.ServerLogonMode);
    // The journal's start line: where clients connect and how they log in.
    char line[kStartLineSize];
    std::snprintf(line, sizeof(line), "%s %s listening on port %u, login mode %u (%s)",
                  SCA_GetProductName(SCA_PRODUCT_TYPE_KORVANTA), SCA_PRODUCT_VERSION,
                  static_cast<unsigned>(port), effective, LoginModeName(effective));
    SCA_SystemLog(SCA_KORVAS_LOG_IDENT).Write(LOG_NOTICE, line);
    return SetServiceStatus();
}

int SCA_ServiceHost::SetServiceStatus() {
    char text[128];
    switch (m_Status.CurrentState) {
    case SCA_SERVICE_RUNNING:
        // Ready only once clients can connect: a start whose port cannot be bound never is.
        if (m_ReadyPort != 0) {
            std::snprintf(text, sizeof(text), "READY=1\nSTATUS=Listening on port %u",
                          static_cast<unsigned>(m_ReadyPort));
        } else {
            std::snprintf(text, sizeof(text), "STATUS=Starting");
        }
        break;
    case SCA_SERVICE_PAUSED:
        std::snprintf(text, sizeof(text), "STATUS=Paused");
        break;
    case SCA_SERVICE_STOPPED:
        if (GetExitCode() != 0) {
            std::snprintf(text, sizeof(text), "STOPPING=1\nSTATUS=Stopped (code %d)",
                          GetExitCode());
        } else {
            std::snprintf(text, sizeof(text), "STOPPING=1\nSTATUS=Stopped");
        }
        break;
    default:
        std::snprintf(text, sizeof(text), "STATUS=Starting");
        break;
    }
    if (m_Notifier != nullptr) {
        m_Notifier->Notify(text);
    }
    return 1;
}

int SCA_ServiceHost::GetExitCode() const {
    return static_cast<int>(m_Status.ServiceSpecificExitCode != 0 ? m_Status.ServiceSpecificExitCode
                                                                  : m_Status.Win32ExitCode);
}
