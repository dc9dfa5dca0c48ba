// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QMainWindow>
#include <cstdint>
#include <functional>
#include <memory>

#include "korvac/kit/SCA_ClientSession.h"
#include "korvac/kit/SCA_WindowContext.h"
#include "korvac/main/SCA_MainCommandContext.h"
#include "libmor/SCA_Limits.h"
#include "libmor/SCA_Object.h"
#include "libmor/SCA_Report.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_DebugLog.h"
#include "model/SCA_TezConfig.h"
#include "model/SCA_TezConfigUser.h"

class QApplication;
class QLabel;
class QTimer;
class QToolBar;
class QToolButton;
class SCA_AddMonitorCommands;
class SCA_KorvantaInterface;
class SCA_MainConnection;
class SCA_MainHelp;
class SCA_MainLayout;
class SCA_MainMonitorCommands;
class SCA_MainStatusPoll;
class SCA_MainWindowHost;
class SCA_MonitorsView;
class SCA_ProductUpdateCheck;
class SCA_SideBar;
class SCA_SrvActionCtrl;
class SCA_SrvLogView;
class SCA_StatusIcon;
class SCA_SysTray;
class SCA_WindowPlacement;

// The client's main window and the owner of what the client holds for its run: its own product
// and user configuration, the connected service's configurations, the client's message log,
// the session with the service and every widget. Its parts do the rest, each a child found by
// its class: the connection, the status poll, the commands on the selected monitors, the
// layouts, the window's placement, the product-update check and the help entries.
//
// Nothing modal opens from the timer or a poll: errors the user did not ask about go to the
// client's log and raise the badge in the status bar, which opens the message console.
class SCA_SrvGui : public QMainWindow, public SCA_Object {
    Q_OBJECT
public:
    explicit SCA_SrvGui(QApplication* app);
    ~SCA_SrvGui() override;

    int Run(int argc, char** argv);
    int ParseCommandLine(int argc, char** argv);
    int InitConfig();
    int InitGui();
    // 1 when another client of this user runs: it was asked to show its window.
    int ActivateRunningInstance();

    // The report callback: a box until the window runs, the client's message log afterwards.
    static int ReportMessage(tagSCA_ERROR_DESCR* message, void* context);
    // A modal box of the type (3 information, 4 warning, other critical); the text is data.
    static int ShowMessage(QWidget* parent, uint32_t type, const char* text) {
        return SCA_MainCommandContext::ShowMessage(parent, type, text);
    }

    int BuildUi();
    void SetTabOrder();

    int CheckConnected(int showMessage);
    // The session every window reaches the service through.
    SCA_ClientSession* GetSession() const { return m_Session; }
    // What the windows this window opens are built from; the main window is their host.
    SCA_WindowContext WindowContext();
    // Takes over a client object (owned by the session from now on; null disconnects).
    void SetClientInterface(SCA_KorvantaInterface* client);
    SCA_KorvantaInterface* GetClientInterface() const { return m_Session->Client(); }
    // Makes the client objects that Connect uses (tests put a stand-in for the service here);
    // null restores the real one.
    void SetClientFactory(SCA_ClientSession::ClientFactory factory) {
        m_Session->SetClientFactory(std::move(factory));
    }

    int SyncClientOptions(SCA_TezConfigUser* from, SCA_TezConfigUser* to);
    // Asks for the service's login password that an imported file lacks and adds it to the
    // file's object; 0 when the user cancelled.
    int AskImportedPassword(SCA_ConfigObj* object);
    // The service's login becomes the saved connection's where the service signs with it, so
    // that the next connection logs in with what the service now expects.
    void RememberServiceLogin(SCA_TezConfigUser& serviceConfig);

    // The update lock counter that SCA_GuiUpdateLock raises while a modal window runs.
    void AddUpdateLock() { ++m_UpdateLock; }
    void ReleaseUpdateLock() {
        if (m_UpdateLock > 0) {
            --m_UpdateLock;
        }
    }

    int ShowMainWindow();
    // Re-reads the tray options and the message log's size from the client configuration.
    void ReadTrayOptions();

    int ProcessKeyCommand(QKeyEvent* event);
    // Runs the window command of a keyboard-shortcut id; 0 for an id without one here.
    int RunKeyCommand(uint32_t keyId);

    // Accessors for the configurations and the log that the other windows read.
    SCA_TezConfig* GetLocalConfig() { return &m_LocalConfig; }
    SCA_TezConfigUser* GetUserConfig() { return &m_UserConfig; }
    SCA_ConfigObj* GetParams() { return &m_Params; }
    SCA_DebugLog* GetClientLog() { return &m_ClientLog; }
    // The status bar's badge of errors not seen in the message console; hidden when none.
    void UpdateErrorBadge();
    // Shows in one box the errors reported after the client's log counted errorCount of them,
    // which then count as seen.
    void ShowErrorsSince(uint32_t errorCount);

    // Held while a command the user gave runs: the errors it reports answer that command, so
    // they are shown in a box when it ends instead of only raising the badge.
    class CommandAnswer {
    public:
        explicit CommandAnswer(SCA_SrvGui* window)
            : m_Window(*window), m_Errors(window->GetClientLog()->GetErrorCount()) {}
        ~CommandAnswer() { m_Window.ShowErrorsSince(m_Errors); }
        CommandAnswer(const CommandAnswer&) = delete;
        CommandAnswer& operator=(const CommandAnswer&) = delete;

    private:
        SCA_SrvGui& m_Window;
        uint32_t m_Errors;
    };
    SCA_TezConfig* GetServerConfig() { return &m_ServerConfig; }
    SCA_TezConfigUser* GetServerUserConfig() { return &m_ServerUserConfig; }
    SCA_SrvActionCtrl* GetActionCtrl() const { return m_ActionCtrl; }

public slots:
    void ExportConfiguration();
    void ImportConfiguration();
    void Exit();
    void AdvancedOptions();
    void ViewMessageConsole();
    void ClearServerDebugLog();
    // The connection's signals: logged in as user to host, and the window as it is without a
    // service (steps 2 to 7 of a disconnection).
    void ShowConnected(const QByteArray& user, const QByteArray& host);
    void ResetDisconnected();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // A tick of the window's timer: the badge, the update check, the poll, the reconnection.
    void Tick();
    // What the command groups work with.
    SCA_MainCommandContext CommandContext();
    // A report made on another thread, shown once it reaches the GUI thread.
    void ReportOnGuiThread(const tagSCA_ERROR_DESCR& message);

private:
    QApplication* m_App;
    SCA_TezConfig m_LocalConfig;
    SCA_TezConfigUser m_UserConfig;
    SCA_ConfigObj m_Params;
    char m_ConfigName[256] = "korva";
    SCA_TezConfig m_ServerConfig;
    SCA_TezConfigUser m_ServerUserConfig;
    SCA_DebugLog m_ClientLog;
    uint32_t m_SeenErrorCount = 0;
    uint32_t m_CollectMessages = 0;
    uint32_t m_ConfigLoaded = 0;
    uint32_t m_ConsoleOpen = 0;
    int m_UpdateLock = 0;
    SCA_ClientSession* m_Session = nullptr;
    SCA_SrvActionCtrl* m_ActionCtrl = nullptr;
    SCA_SysTray* m_Tray = nullptr;
    // The window's parts, each owning one of its responsibilities.
    SCA_MainStatusPoll* m_Poll = nullptr;
    SCA_MainConnection* m_Connection = nullptr;
    std::unique_ptr<SCA_MainWindowHost> m_WindowHost;
    SCA_AddMonitorCommands* m_AddCommands = nullptr;
    SCA_MainMonitorCommands* m_MonitorCommands = nullptr;
    SCA_ProductUpdateCheck* m_UpdateCheck = nullptr;
    SCA_MainHelp* m_Help = nullptr;
    SCA_MainLayout* m_Layout = nullptr;
    SCA_WindowPlacement* m_Placement = nullptr;

    QToolBar* m_ToolBar = nullptr;
    SCA_SideBar* m_SideBar = nullptr;
    SCA_MonitorsView* m_MonitorsView = nullptr;
    SCA_SrvLogView* m_LogView = nullptr;
    QToolButton* m_ErrorBadge = nullptr;

    QTimer* m_UpdateTimer = nullptr;
    uint32_t m_TickCount = 0;
    SCA_StatusIcon* m_StatusIcon = nullptr;
    QLabel* m_StatusLabel = nullptr;
};
