// SPDX-License-Identifier: MIT
#pragma once

#include <QMainWindow>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "korvac/kit/SCA_ClientSession.h"
#include "korvac/kit/SCA_WindowContext.h"
#include "korvac/main/SCA_MainCommandContext.h"
#include "korvac/main/SCA_MainWindowHost.h"
#include "libmor/SCA_Limits.h"
#include "libmor/SCA_Object.h"
#include "libmor/SCA_Report.h"
#include "libtez/SCA_KorvantaMonitorRow.h"
#include "libtez/SCA_KorvantaServerStatus.h"
#include "libtez/SCA_UpdateManager.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_DebugLog.h"
#include "model/SCA_TezConfig.h"
#include "model/SCA_TezConfigUser.h"
#include "model/SCA_Update.h"

class QAction;
class QApplication;
class QContextMenuEvent;
class QLabel;
class QMenu;
class QSplitter;
class QStackedWidget;
class QToolBar;
class QToolButton;
class QTimer;
class QTreeWidgetItem;
class SCA_AddMonitorCommands;
class SCA_KorvantaInterface;
class SCA_MonitorsView;
class SCA_SideBar;
class SCA_SrvActionCtrl;
class SCA_SrvLogView;
class SCA_SrvMonitor;
class SCA_StatusIcon;
class SCA_SysTray;
class SCA_TreeRows;

// The client's main window and the owner of what the client holds for its run: its own product
// and user configuration, the connected service's configurations, the client's message log,
// the session with the service and every widget.
//
// Nothing modal opens from the timer or a poll: errors the user did not ask about go to the
// client's log and raise the badge in the status bar, which opens the message console.
class SCA_SrvGui : public QMainWindow, public SCA_Object {
    Q_OBJECT
public:
    // The GUI layouts.
    static constexpr uint32_t kLayoutCount = 3;

    explicit SCA_SrvGui(QApplication* app);
    ~SCA_SrvGui() override;

    int Run(int argc, char** argv);
    int ParseCommandLine(int argc, char** argv);
    int InitConfig();
    int InitGui();
    // 1 when another client of this user runs: it was asked to show its window.
    int ActivateRunningInstance();

    int SaveWindowGeometry();
    int RestoreWindowGeometry(int* maximise);
    // Restores the saved geometry, else centres the window on the primary screen (or places it
    // at that screen's corner and asks for maximising when it does not fit).
    void RestoreOrCentre(int* maximise);

    // The report callback: a box until the window runs, the client's message log afterwards.
    static int ReportMessage(tagSCA_ERROR_DESCR* message, void* context);
    // A modal box of the type (3 information, 4 warning, other critical); the text is data.
    static int ShowMessage(QWidget* parent, uint32_t type, const char* text) {
        return SCA_MainCommandContext::ShowMessage(parent, type, text);
    }

    int BuildUi();
    void SetTabOrder();
    int InitLayout(uint32_t layout);
    // The width the tool bar needs to show every button; 0 while it is hidden.
    int ToolBarWidth() const;
    int UpdateToolBarButtons(uint32_t layout);

    // The texts of the disconnected status line and of the entries that name the service.
    static constexpr const char* kPressConnectText =
        "Press the 'Connect' button to connect to Korvanta Server";
    static constexpr const char* kAboutServerText = "About Korvanta Server";

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

    // Connection and login; 1 when connected and logged in, else the window is disconnected.
    int Connect(const char* host, uint16_t port, const char* user, const char* password,
                int reportErrors, uint32_t timeoutMs, int addToHistory);
    int Disconnect();
    // Whether the start and the reconnection may log in silently with the saved values.
    int HasSavedLogin(const char* host, const char* password);
    int LoadServerConfig();
    // Starts the product-update check of a new connection; the timer collects its result and
    // shows the corner update button when a newer package is there.
    void StartUpdateCheck();
    void CollectUpdateCheck();
    int ConnectToHost(const char* host);

    // The status poll, waited for (after a command) or asked for (from the timer).
    int UpdateStatus(int fullRefresh);
    void AskStatus();
    // Reads one monitor's status text (the codec's reading, reported when it fails).
    static int ParseMonitorStatusString(const char* text, uint32_t* state, uint32_t* runState,
                                        uint32_t* counters, uint32_t* errors, uint32_t* warnings,
                                        char* host, uint32_t hostSize, char* description,
                                        uint32_t descriptionSize);
    int UpdateStatusTitle(const SCA_KorvantaServerStatus& serverStatus);
    // More monitors than any service keeps: a list that long is refused, not shown.
    static constexpr size_t kMaxMonitorRows = 10000;
    // What the status bar says while the monitor rows on screen are not the last poll's.
    static constexpr const char* kRowsUnreadText =
        "Monitor list not updated: the service's monitor rows could not be read";
    int PlayNotificationSounds();
    int SyncClientOptions(SCA_TezConfigUser* from, SCA_TezConfigUser* to);
    // Asks for the service's login password that an imported file lacks and adds it to the
    // file's object; 0 when the user cancelled.
    int AskImportedPassword(SCA_ConfigObj* object);
    // The service's login becomes the saved connection's where the service signs with it, so
    // that the next connection logs in with what the service now expects.
    void RememberServiceLogin(SCA_TezConfigUser& serviceConfig);

    // Opens the live window of a monitor, modally, while the window's own poll is held; 1 when
    // a window was shown (or the monitor's type has none), 0 on failure.
    int ViewMonitor(uint32_t monitorId);
    // Starts a detached viewer of the selected monitor on a screen (all ones: where the
    // windowing system puts it); 1 when the viewer process was started.
    int ViewDetached(uint32_t screen);
    // The name of the desktop shortcut of a monitor: its description, and for a remote monitor
    // " - " and its computer.
    static QString DesktopShortcutName(SCA_SrvMonitor* monitor);

    // The update lock counter that SCA_GuiUpdateLock raises while a modal window runs.
    void AddUpdateLock() { ++m_UpdateLock; }
    void ReleaseUpdateLock() {
        if (m_UpdateLock > 0) {
            --m_UpdateLock;
        }
    }
    int GetUpdateLock() const { return m_UpdateLock; }

    // --- the monitors of the tree and the commands on them ----------------------------------

    // Runs the monitors' context menu at the event's position; 0 when not connected (no menu).
    int BuildMonitorContextMenu(QContextMenuEvent* event);
    // The save format and report option that the next "Save Report" offers first.
    uint32_t GetSaveReportFormat() const { return m_SaveReportFormat; }

    int ShowMainWindow();
    // Re-reads the tray options and the message log's size from the client configuration.
    void ReadTrayOptions();

    int ProcessKeyCommand(QKeyEvent* event);
    // Runs the window command of a keyboard-shortcut id; 0 for an id without one here.
    int RunKeyCommand(uint32_t keyId);

    // Accessors for the widgets and state that the other windows and the tests read.
    SCA_TezConfig* GetLocalConfig() { return &m_LocalConfig; }
    SCA_TezConfigUser* GetUserConfig() { return &m_UserConfig; }
    SCA_ConfigObj* GetParams() { return &m_Params; }
    SCA_DebugLog* GetClientLog() { return &m_ClientLog; }
    uint32_t GetCurrentLayout() const { return m_CurrentLayout; }
    // Whether the update check of the last connection has yet to be collected by a tick.
    bool IsUpdateCheckPending() const { return m_UpdateManager != nullptr; }
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
    int IsCollectingMessages() const { return m_CollectMessages != 0; }
    SCA_TezConfig* GetServerConfig() { return &m_ServerConfig; }
    SCA_TezConfigUser* GetServerUserConfig() { return &m_ServerUserConfig; }
    SCA_SrvActionCtrl* GetActionCtrl() const { return m_ActionCtrl; }
    int GetUpdateTimerId() const { return m_UpdateTimerId; }
    uint32_t GetTickCount() const { return m_TickCount; }
    uint32_t GetAutoConnect() const { return m_AutoConnect; }
    const char* GetConnectedHost() const { return m_ConnectedHost; }
    // The service host's own name, as its server information gave it.
    const char* GetServerHostName() const { return m_ServerHostName; }
    uint32_t GetLastMonitorsStatusId() const { return m_LastMonitorsStatusId; }
    uint32_t GetLastServerMessageId() const { return m_LastServerMessageId; }
    uint64_t GetLastSoundActionTime() const { return m_LastSoundActionTime; }

public slots:
    void ExportConfiguration();
    void ImportConfiguration();
    void Exit();
    void DefaultConnect();
    void ConnectToServer();
    void MonitorDoubleClicked(QTreeWidgetItem* item, int column);
    void ViewMonitor();
    void ViewDetached();
    void CreateDesktopShortcut();
    void EditMonitor();
    void MoveMonitorUp();
    void MoveMonitorDown();
    void StartMonitor();
    void PauseMonitor();
    void ResetMonitor();
    void StopMonitor();
    void DeleteMonitor();
    void ViewErrors();
    void ViewReports();
    void SaveReport();
    void SwitchLayout();
    void AdvancedOptions();
    void ViewMessageConsole();
    void ClearServerDebugLog();
    void AboutKorvantaServer();
    void OnlineHelp();
    void ReleaseNotes();
    void ProductWebPage();
    void CheckForUpdates();
    // The session's signals: a lost connection's line stays in the status bar while the
    // window reconnects; any end of the session resets the window.
    void ConnectionLost(const QString& text);
    void SessionClosed();

protected:
    void timerEvent(QTimerEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct StatusPoll;
    int ShowStatus(StatusPoll& poll, int fullRefresh);
    void ShowMonitorRows(StatusPoll& poll, int fullRefresh);
    void BuildMenuBar();
    void BuildToolBar();
    // What the command groups work with.
    SCA_MainCommandContext CommandContext();
    void SaveWindowState();
    // The screen with that number, or the primary screen for a number that no screen has.
    static QScreen* ScreenByNumber(long number);
    int ScreenNumberOf() const;
    void CentreOn(const QRect& area, int* maximise);
    // Connects with the saved values or a known server's, reporting failures; stores the
    // values as the saved ones on success.
    int ConnectAndRemember(const char* host, uint16_t port, const char* user, const char* password,
                           int addToHistory);
    // A report made on another thread, shown once it reaches the GUI thread.
    void ReportOnGuiThread(const tagSCA_ERROR_DESCR& message);
    // Steps 2 to 7 of a disconnection: the window as it is without a service.
    void ResetDisconnected();
    // Connects action to slot. A help entry without an address is disabled and says why in its
    // tool tip.
    void ConnectCommand(QAction* action, void (SCA_SrvGui::*slot)());
    // Connected and a monitor selected; else the user is told (selectText) and 0.
    int CheckMonitorSelected(const char* selectText);
    // A command on every selected monitor: call for each in tree order, stopping at the
    // first failure (logged as "<failure> - <id>"); then the selection is cleared and the
    // tree refreshed. A question (Yes or No) is asked first when given.
    void RunOnSelectedMonitors(const char* selectText, const char* failure,
                               int (SCA_KorvantaInterface::*call)(uint32_t), int fullRefresh,
                               const char* question);
    void MoveSelectedMonitor(int (SCA_KorvantaInterface::*call)(uint32_t));
    // Saves one monitor's report into the run's folder (a monitor without a run is skipped);
    // 0 when the run must stop. The paths written go to *written.
    int SaveMonitorReport(uint32_t monitorId, uint32_t format, uint32_t option, const char* folder,
                          const char* stamp, std::vector<std::string>* written);

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
    uint32_t m_CurrentLayout = 0;
    uint32_t m_CollectMessages = 0;
    uint32_t m_ConfigLoaded = 0;
    uint32_t m_ConsoleOpen = 0;
    uint32_t m_ConnectDialogOpen = 0;
    uint32_t m_AutoConnect = 1;
    int m_UpdateLock = 0;
    uint32_t m_ServerProductType = 0;
    char m_ServerProductName[256] = "";
    char m_ServerVersion[256] = "";
    char m_ServerHostName[256] = "";
    char m_ServiceHostName[256] = "";
    char m_ServiceAccount[256] = "";
    char m_ConnectedHost[256] = "";
    uint32_t m_LocalServer = 0;
    uint32_t m_LastMonitorsStatusId = SCA_ALL_ONES;
    // The storage the next poll reads its rows into.
    std::vector<SCA_KorvantaMonitorRow> m_SpareRows;
    // The last valid choice of "Save Report", offered first next time.
    uint32_t m_SaveReportFormat = 0;
    uint32_t m_SaveReportOption = 0;
    uint32_t m_LastServerMessageId = SCA_ALL_ONES;
    // Statuses shown so far: a poll answered after a newer one was shown is dropped.
    uint64_t m_StatusesShown = 0;
    uint64_t m_LastSoundActionTime = 0;
    // Cleared by each connection: the first poll takes the service's sound-action time instead
    // of playing every sound the service ever queued.
    bool m_SoundTimeKnown = false;
    // The status line while disconnected: the lost connection's, or the invitation to connect.
    QString m_DisconnectedText;
    SCA_ClientSession* m_Session = nullptr;
    SCA_MainWindowHost m_WindowHost{this};
    SCA_SrvActionCtrl* m_ActionCtrl = nullptr;
    SCA_AddMonitorCommands* m_AddCommands = nullptr;
    QTimer* m_ReconnectTimer = nullptr;
    SCA_Update m_ProductUpdate;
    // The product-update check started at each connection; the timer collects its result.
    SCA_UpdateManager* m_UpdateManager = nullptr;

    QStackedWidget* m_CornerStack = nullptr;
    QToolButton* m_UpdateButton = nullptr;
    QToolBar* m_ToolBar = nullptr;
    SCA_SideBar* m_SideBar = nullptr;
    SCA_MonitorsView* m_MonitorsView = nullptr;
    SCA_SrvLogView* m_LogView = nullptr;
    QToolButton* m_ErrorBadge = nullptr;

    SCA_SysTray* m_Tray = nullptr;

    int m_UpdateTimerId = -1;
    uint32_t m_TickCount = 0;
    SCA_StatusIcon* m_StatusIcon = nullptr;
    QLabel* m_StatusLabel = nullptr;
};
