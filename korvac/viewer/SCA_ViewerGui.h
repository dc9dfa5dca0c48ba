// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "korvac/kit/SCA_ViewerCommand.h"
#include "korvac/kit/SCA_WindowContext.h"
#include "korvac/viewer/SCA_ViewerHost.h"
#include "libmor/SCA_Object.h"
#include "libmor/SCA_Report.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezConfig.h"
#include "model/SCA_TezConfigUser.h"

class QApplication;
class QDialog;
class QWidget;
class SCA_ClientSession;

// What the two detached viewers (SCA_VdmGui, SCA_VdrGui) share: one viewer process parses its
// command line into its own "Params", loads the local product configuration, connects and logs
// in to the service by itself, fetches the service's configurations, runs its one window until
// that window closes, and returns.
//
// Every report made in a viewer process is shown as a message box over the viewer's window.
// The viewer never writes a configuration file: its client user configuration lives in memory
// and receives the connection's values after the login.
//
// The password comes from "-password", else from the environment (KORVANTA_PASSWORD); a viewer
// that has neither (one started from a desktop shortcut) asks with the connect dialog. There is
// no default password.
class SCA_ViewerGui : public SCA_Object {
public:
    // How long the viewer waits for the service to answer its connection.
    static constexpr uint32_t kConnectTimeoutMs = 1000;

    // className names the viewer in its reports ("SCA_VdmGui"). Installs the viewer's error
    // callback.
    SCA_ViewerGui(QApplication* app, const char* className);
    ~SCA_ViewerGui() override;
    SCA_ViewerGui(const SCA_ViewerGui&) = delete;
    SCA_ViewerGui& operator=(const SCA_ViewerGui&) = delete;

    // The whole run; nonzero when a window was shown and its event loop ran.
    virtual int DoProcess(int argc, char** argv) = 0;

    // The command line into "Params" by the client's command-line rule.
    int ParseCommandLine(int argc, char** argv);
    // Loads the local product configuration of "conf_name" (default "korva"); the failures are
    // critical boxes with no parent.
    int InitConfig();
    // Reads the connection from "Params" (and the environment), asks for it when no password is
    // given, connects and logs in, then keeps the values in the client user configuration.
    int DefaultConnect();
    int ConnectToServer(const char* host, uint16_t port, const char* user, const char* password,
                        uint32_t timeoutMs);
    int LoadServerConfig();
    void Disconnect();
    // The window's icon, and with a "screen" parameter naming a screen that exists, its place on
    // that screen: centred when it fits in the screen's available area, else at its top-left
    // corner. Always 1.
    int PlaceWindow(QWidget* window);
    // A box of the level's kind (3 information "Message", 4 warning "Warning", else critical
    // "Error") over the current window; the text is UTF-8. 1.
    int ShowMessage(uint32_t level, const char* text);
    // The error callback: every report becomes a box (on the GUI thread).
    static int ErrorCallback(tagSCA_ERROR_DESCR* descriptor, void* context);

    // The service host's own name, as the service gave it at the login.
    const char* GetServiceHostName() const { return m_ServiceHostName; }

    // What the tests read.
    SCA_ConfigObj* GetParams() { return &m_Params; }
    uint32_t GetObjectId() const { return m_ObjectId; }
    const char* GetConfigName() const { return m_ConfigName; }
    SCA_ClientSession* GetSession() const { return m_Session.get(); }
    SCA_TezConfigUser* GetClientUserConfig() { return &m_ClientUserConfig; }
    QWidget* GetCurrentWindow() const { return m_CurrentWindow; }

protected:
    // Reads the object id from the viewer's own parameter; 0 when it is absent or no number.
    int ReadObjectId(const char* param);
    // The steps every run begins with: the command line parsed (its result does not matter),
    // then the object id of param read, the configuration loaded and the service connected;
    // 0 at the first that fails.
    int StartUp(int argc, char** argv, const char* param);
    // The common steps of running one window: placed, started with start, shown and run until
    // it closes. 0 (the window unshown) when start returned 0, else start's result.
    int RunWindow(QDialog* window, const std::function<int()>& start);
    // The same for a window that run makes, starts and runs through the modal hook itself: the
    // first dialog that run hands to the hook is this viewer's window (placed, shown and run
    // until it closes); what else is handed to the hook goes where it went before. run's result.
    int RunHookedWindow(const std::function<int()>& run);
    // What the viewer's window is built from; the viewer is its host.
    SCA_WindowContext WindowContext();
    // The text of an operation's reports: "<class>::<operation>".
    const char* ClassName() const { return m_ClassName; }

    QApplication* m_App;
    SCA_TezConfig m_LocalConfig;
    SCA_TezConfigUser m_ClientUserConfig;
    SCA_TezConfig m_ServerConfig;
    SCA_TezConfigUser m_ServerUserConfig;
    SCA_ConfigObj m_Params;
    char m_ConfigName[256] = "korva";
    QWidget* m_CurrentWindow = nullptr;
    std::unique_ptr<SCA_ClientSession> m_Session;
    uint32_t m_ObjectId = 0;
    char m_ServiceHostName[256] = "";
    SCA_ViewerHost m_WindowHost{this};
    // While the product configuration loads: its information reports are not shown.
    bool m_LoadingConfig = false;

private:
    // Asks for host, port, user name and password with the connect dialog; 0 when cancelled.
    int AskConnection(SCA_ViewerCommand::Target* target);
    // 0 (reported) when a text of the command line is too long for the viewer.
    int CheckLength(const char* what, const std::string& text);

    const char* m_ClassName;
};
