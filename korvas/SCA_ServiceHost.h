// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <mutex>

#include "libmor/SCA_Report.h"

class SCA_KorvantaCtrl;
class SCA_ServiceNotifier;

// Service states and controls, numbered as the service's state table gives them.
inline constexpr uint32_t SCA_SERVICE_STOPPED = 1;
inline constexpr uint32_t SCA_SERVICE_START_PENDING = 2;
inline constexpr uint32_t SCA_SERVICE_RUNNING = 4;
inline constexpr uint32_t SCA_SERVICE_PAUSED = 7;
inline constexpr uint32_t SCA_SERVICE_CONTROL_STOP = 1;
inline constexpr uint32_t SCA_SERVICE_CONTROL_PAUSE = 2;
inline constexpr uint32_t SCA_SERVICE_CONTROL_CONTINUE = 3;
inline constexpr uint32_t SCA_SERVICE_CONTROL_INTERROGATE = 4;
inline constexpr uint32_t SCA_SERVICE_CONTROL_SHUTDOWN = 5;

// Why the service could not start; also the process's exit status.
inline constexpr uint32_t SCA_SERVICE_CTRL_EXISTS = 101;
inline constexpr uint32_t SCA_SERVICE_CTRL_NOT_CREATED = 102;
inline constexpr uint32_t SCA_SERVICE_INIT_FAILED = 103;
inline constexpr uint32_t SCA_SERVICE_THREAD_FAILED = 104;
// The name under which the service writes to the system log (the journal's identifier).
inline constexpr const char* SCA_KORVAS_LOG_IDENT = "korvas";

// The exit status of a service whose control loop ended with a failure.
inline constexpr uint32_t SCA_SERVICE_LOOP_FAILED = 1;

// The record that every state report carries.
struct tagSCA_SERVICE_STATUS {
    uint32_t ServiceType;
    uint32_t CurrentState;
    uint32_t ControlsAccepted;
    uint32_t Win32ExitCode;
    uint32_t ServiceSpecificExitCode;
    uint32_t CheckPoint;
    uint32_t WaitHint;
};

// The service run under systemd: the dispatcher turns signals into controls (SIGTERM and
// SIGINT stop, SIGUSR1 pause, SIGUSR2 continue, SIGHUP interrogate) and hands them to the
// control handler, which maps them onto the control object's thread; every state goes to the
// notifier. The dispatcher also stops the service when the control loop ended by itself (a
// client's stop, a failed start or restart). The service is reported ready (READY=1, with the
// port in STATUS) only once its server listens, and again whenever it listens on another port.
//
// Log records go to the control object's debug log while one exists, and warnings and errors
// also to the system log. A control object is never destroyed while the callback writes to it.
class SCA_ServiceHost {
public:
    explicit SCA_ServiceHost(SCA_ServiceNotifier* notifier);
    ~SCA_ServiceHost();
    SCA_ServiceHost(const SCA_ServiceHost&) = delete;
    SCA_ServiceHost& operator=(const SCA_ServiceHost&) = delete;

    // Runs the service until it stops. 1 when it ran (whatever its exit status says).
    int RunServiceDispatcher(int argc, char** argv);
    void ServiceMain(int argc, char** argv);
    int StartServiceWorker(int argc, char** argv, uint32_t* code);
    // Carries out one control; answers the result of its status report.
    int ServiceCtrlHandler(uint32_t control);
    // Stops the service when its control loop has ended while it was running. 1 when it did.
    int CheckControlLoop();
    // Reports the service ready, and writes the start line to the system log, once the control
    // loop's server listens on a port not reported yet. 1 when it did.
    int CheckListening();

    // Routes log records to this host's control object (see the class).
    void InstallErrorCallback();

    static uint32_t ControlOfSignal(int signal);

    const tagSCA_SERVICE_STATUS& GetStatus() const { return m_Status; }
    SCA_KorvantaCtrl* GetCtrl() const { return m_Ctrl; }
    // The service-specific code when the service stopped with one, else the general one.
    int GetExitCode() const;

private:
    static int ServiceErrorCallback(tagSCA_ERROR_DESCR* record, void* context);
    int SetServiceStatus();
    void DestroyCtrl();
    void Stopped(uint32_t exitCode, uint32_t specificCode);

    SCA_ServiceNotifier* m_Notifier;
    tagSCA_SERVICE_STATUS m_Status{};
    SCA_KorvantaCtrl* m_Ctrl = nullptr;
    // Held while the error callback writes to the control object, and while it is unset.
    std::mutex m_CtrlLock;
    bool m_CallbackInstalled = false;
    // The port that READY=1 was sent for; 0 while the server does not listen.
    uint16_t m_ReadyPort = 0;
};
