// SPDX-License-Identifier: MIT
// The main window's construction, start-up, configuration, reports and small slots.
#include "korvac/main/SCA_SrvGui.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QThread>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "korvac/kit/ParseMainCommandLine.h"
#include "korvac/main/SCA_AddMonitorCommands.h"
#include "korvac/main/SCA_MainConnection.h"
#include "korvac/main/SCA_MainHelp.h"
#include "korvac/main/SCA_MainLayout.h"
#include "korvac/main/SCA_MainMonitorCommands.h"
#include "korvac/main/SCA_MainStatusPoll.h"
#include "korvac/main/SCA_MainWindowHost.h"
#include "korvac/main/SCA_ProductUpdateCheck.h"
#include "korvac/main/SCA_SideBar.h"
#include "korvac/main/SCA_SrvActionCtrl.h"
#include "korvac/main/SCA_SrvApplication.h"
#include "korvac/main/SCA_SrvConnectView.h"
#include "korvac/main/SCA_SysTray.h"
#include "korvac/main/SCA_WindowPlacement.h"
#include "libmor/SCA_FileSystem.h"
#include "libmor/SCA_Limits.h"
#include "libmor/SCA_String.h"
#include "libtez/SCA_KorvantaInterface.h"
#include "libvop/SCA_DebugLogDlg.h"
#include "libvop/SCA_IconEngine.h"
#include "libvop/SCA_ModalHook.h"
#include "libvop/SCA_TreeRows.h"
#include "model/SCA_TezConfigFiles.h"

namespace {

constexpr uint32_t kClientLogCapacity = 500;
constexpr uint32_t kClientLogMaximum = 1000;
constexpr int kTimerPeriodMs = 500;
constexpr int kDefaultWidth = 860;
constexpr int kDefaultHeight = 640;
// The command-line parameters the window reads.
constexpr const char* kConfNameParam = "conf_name";
constexpr const char* kUpdateParam = "update";

} // namespace

SCA_SrvGui::SCA_SrvGui(QApplication* app)
    : QMainWindow(nullptr), m_App(app), m_LocalConfig(SCA_PRODUCT_TYPE_NONE),
      m_UserConfig(&m_LocalConfig), m_Params("Params", nullptr),
      m_ServerConfig(SCA_PRODUCT_TYPE_NONE), m_ServerUserConfig(&m_ServerConfig),
      m_ClientLog(kClientLogCapacity) {
    setWindowIcon(SCA_IconEngine::Load(QStringLiteral(":/images/korva_16px.png")));
    m_Tray = new SCA_SysTray(this, &m_LocalConfig);
    connect(m_Tray, &SCA_SysTray::QuitAsked, this, &SCA_SrvGui::Exit);
    m_Tray->SetStatus(SCA_SysTray::kDisconnected, "Korvanta Client - Disconnected");
    SCA_SetErrorCallback(&SCA_SrvGui::ReportMessage, this);
    resize(kDefaultWidth, kDefaultHeight);
    setMinimumSize(kDefaultWidth, kDefaultHeight);
    m_ActionCtrl = new SCA_SrvActionCtrl(&m_LocalConfig, &m_UserConfig, &m_Params);
    m_Session = new SCA_ClientSession(this);
    m_Poll = new SCA_MainStatusPoll(CommandContext(), this, m_Tray, m_ActionCtrl);
    m_Connection = new SCA_MainConnection(CommandContext(), this, m_Poll);
    connect(m_Connection, &SCA_MainConnection::LoggedIn, this, &SCA_SrvGui::ShowConnected);
    connect(m_Connection, &SCA_MainConnection::Reset, this, &SCA_SrvGui::ResetDisconnected);
    m_WindowHost = std::make_unique<SCA_MainWindowHost>(m_Poll, m_Connection);
    m_AddCommands = new SCA_AddMonitorCommands(CommandContext());
    m_MonitorCommands = new SCA_MainMonitorCommands(CommandContext(), this, m_Poll, m_AddCommands);
    connect(m_AddCommands, &SCA_AddMonitorCommands::MonitorsChanged, this,
            [this]() { m_Poll->UpdateStatus(1); });
    connect(m_AddCommands, &SCA_AddMonitorCommands::OpenAsked, m_MonitorCommands,
            qOverload<uint32_t>(&SCA_MainMonitorCommands::ViewMonitor));
    m_UpdateCheck = new SCA_ProductUpdateCheck(CommandContext());
    m_Help = new SCA_MainHelp(CommandContext(), m_Connection);
    m_Layout = new SCA_MainLayout(this);
    m_Placement = new SCA_WindowPlacement(this, &m_UserConfig);
    m_UpdateTimer = new QTimer(this);
    m_UpdateTimer->setObjectName(QStringLiteral("UpdateTimer"));
    connect(m_UpdateTimer, &QTimer::timeout, this, &SCA_SrvGui::Tick);
}

SCA_MainCommandContext SCA_SrvGui::CommandContext() {
    return {.Window = this,
            .LocalConfig = &m_LocalConfig,
            .UserConfig = &m_UserConfig,
            .ServerConfig = &m_ServerConfig,
            .ServerUserConfig = &m_ServerUserConfig,
            .Params = &m_Params,
            .ConfigName = m_ConfigName,
            .Session = m_Session,
            .UpdateLock = &m_UpdateLock};
}

SCA_SrvGui::~SCA_SrvGui() {
    m_UpdateTimer->stop();
    if (m_ConfigLoaded) {
        m_Placement->SaveWindowState(m_Layout->CurrentLayout());
        uint32_t error = 0;
        if (!m_UserConfig.SaveConfig(&error)) {
            // The window is going and reports have nowhere to be shown any more; the user must
            // still learn that the settings were not kept.
            std::fprintf(stderr, "korvac: cannot save the client settings to %s (ERR:%u)\n",
                         m_UserConfig.GetConfigFilePath(), error);
        }
    }
    // The worker may still report; it is stopped before the callback goes.
    delete m_ActionCtrl;
    m_ActionCtrl = nullptr;
    SCA_SetErrorCallback(nullptr, nullptr);
    // The window's widgets are going: nothing may react to the session's end any more.
    m_Session->disconnect(this);
    m_Session->disconnect(m_Connection);
    m_Session->Close();
    m_UpdateCheck->Cancel();
    delete m_Tray;
    m_Tray = nullptr;
}

int SCA_SrvGui::Run(int argc, char** argv) {
    ParseCommandLine(argc, argv);
    if (!InitConfig() || !InitGui()) {
        return 0;
    }
    QApplication::exec();
    return 1;
}

int SCA_SrvGui::ParseCommandLine(int argc, char** argv) {
    return ParseMainCommandLine(&m_Params, argc, argv);
}

int SCA_SrvGui::InitConfig() {
    SCA_Field* field = nullptr;
    if (m_Params.GetFieldByName(kConfNameParam, &field) && field != nullptr &&
        field->GetValue()[0] != '\0') {
        SCA_StrnCpy(m_ConfigName, field->GetValue(), sizeof(m_ConfigName));
    }
    // The loaders report their failures with the texts of the client; reports are still
    // shown as boxes here.
    if (!SCA_LoadProductConfig(&m_LocalConfig, m_ConfigName, SCA_TezConfigSide::Client, nullptr)) {
        return 0;
    }
    if (ActivateRunningInstance()) {
        // The window that comes to the front may be on another desktop or screen: the command
        // line says why no new one opens.
        std::fprintf(stderr, "korvac: a client of this user already runs; its window was "
                             "brought to the front\n");
        return 0;
    }
    setWindowTitle(QStringLiteral("Korvanta Client"));
    if (!SCA_LoadUserConfig(&m_UserConfig, &m_LocalConfig, SCA_TezConfigSide::Client, nullptr)) {
        return 0;
    }
    m_ConfigLoaded = 1;
    m_ActionCtrl->StartProcess();
    m_Tray->SetStatus(m_Tray->State(), SCA_GetProductName(m_LocalConfig.GetProductType()));
    ReadTrayOptions();
    return 1;
}

void SCA_SrvGui::ReadTrayOptions() {
    m_ClientLog.SetMaxDebugMessage(kClientLogMaximum);
    m_Tray->SetOptions(m_UserConfig.GetAdvancedOption(SCA_OPTION_MINIMIZE_TO_TRAY) != 0,
                       m_UserConfig.GetAdvancedOption(SCA_OPTION_TRAY_ERRORS) != 0);
}

int SCA_SrvGui::ActivateRunningInstance() {
    const QString path = SCA_SrvApplication::InstanceSocketPath();
    if (SCA_SrvApplication::NotifyRunningInstance(path)) {
        return 1;
    }
    auto* app = qobject_cast<SCA_SrvApplication*>(m_App);
    if (app != nullptr && !app->StartInstanceServer(path)) {
        // Another client took the address between the two steps: it is the running one.
        return SCA_SrvApplication::NotifyRunningInstance(path);
    }
    return 0;
}

int SCA_SrvGui::InitGui() {
    BuildUi();
    m_Layout->InitLayout(m_UserConfig.GetLayoutId());
    SCA_Field* update = nullptr;
    if (m_Params.GetFieldByName(kUpdateParam, &update) && update != nullptr &&
        SCA_IsFileExists(update->GetValue())) {
        SCA_DeleteFile(update->GetValue(), nullptr);
    }
    int maximise = 0;
    m_Placement->RestoreOrCentre(&maximise);
    if (m_UserConfig.GetAdvancedOption(SCA_OPTION_START_MINIMIZED)) {
        showMinimized();
    }
    if (maximise) {
        showMaximized();
    } else {
        show();
    }
    // The servers connected to before are there to pick from before any connection.
    m_SideBar->GetConnectView()->Refresh(nullptr);
    m_UpdateTimer->start(kTimerPeriodMs);
    if (!m_UpdateTimer->isActive()) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                                  "SCA_SrvGui::InitGui: Cannot start update timer");
        return 0;
    }
    m_CollectMessages = 1;
    m_Tray->SetStatus(SCA_SysTray::kReady, "Korvanta Client");
    SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_INFO, "Korvanta Client v%s Started ...",
                                              SCA_TEZ_PRODUCT_VERSION);
    m_Connection->ConnectSoon();
    return 1;
}

// --- reports and message boxes ---------------------------------------------------------------

int SCA_SrvGui::ReportMessage(tagSCA_ERROR_DESCR* message, void* context) {
    auto* window = static_cast<SCA_SrvGui*>(context);
    if (window == nullptr || message == nullptr) {
        return 0;
    }
    if (QThread::currentThread() != window->thread()) {
        // The sound worker and the other threads never touch a widget: their reports travel
        // to the GUI thread as a copy.
        const tagSCA_ERROR_DESCR copy = *message;
        QMetaObject::invokeMethod(
            window, [window, copy]() { window->ReportOnGuiThread(copy); }, Qt::QueuedConnection);
        return 1;
    }
    // Before the window runs, failures and warnings need a box; news such as a configuration
    // file made at the first start waits in the log instead of stopping the start.
    if (!window->m_CollectMessages && message->Level != SCA_LEVEL_INFO) {
        window->ShowMessage(window, message->Level, message->Text);
        return 1;
    }
    window->m_ClientLog.AddMessage(message, SCA_ALL_ONES);
    window->UpdateErrorBadge();
    return 1;
}

void SCA_SrvGui::ReportOnGuiThread(const tagSCA_ERROR_DESCR& message) {
    tagSCA_ERROR_DESCR copy = message;
    ReportMessage(&copy, this);
}

// --- small slots -----------------------------------------------------------------------------

void SCA_SrvGui::Exit() {
    QCoreApplication::quit();
}

void SCA_SrvGui::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    m_Tray->WindowStateChanged(event);
}

int SCA_SrvGui::ShowMainWindow() {
    m_Tray->ShowWindow();
    raise();
    return 1;
}

void SCA_SrvGui::closeEvent(QCloseEvent* event) {
    event->accept();
    QCoreApplication::quit();
}

void SCA_SrvGui::ViewMessageConsole() {
    m_ConsoleOpen = 1;
    // What the console shows is seen: the badge goes at once, and comes back for errors that
    // arrive while it is open. The poll goes on meanwhile.
    m_SeenErrorCount = m_ClientLog.GetErrorCount();
    UpdateErrorBadge();
    SCA_DebugLogDlg dialog(this, &m_ClientLog, QStringLiteral("Message Console"));
    SCA_ExecDialog(&dialog);
    m_ConsoleOpen = 0;
}

// --- the client object -----------------------------------------------------------------------

int SCA_SrvGui::CheckConnected(int showMessage) {
    return CommandContext().CheckConnected(showMessage);
}

void SCA_SrvGui::SetClientInterface(SCA_KorvantaInterface* client) {
    m_Session->Adopt(client);
}

void SCA_SrvGui::ClearServerDebugLog() {
    const CommandAnswer answer(this);
    if (CheckConnected(1)) {
        m_Session->Command([](SCA_KorvantaInterface& client) { return client.ClearDebugLog(); });
    }
}

SCA_WindowContext SCA_SrvGui::WindowContext() {
    return {.ProductConfig = &m_ServerConfig,
            .UserConfig = &m_ServerUserConfig,
            .ClientUserConfig = &m_UserConfig,
            .Params = &m_Params,
            .ConfigName = m_ConfigName,
            .Session = m_Session,
            .Host = m_WindowHost.get()};
}
