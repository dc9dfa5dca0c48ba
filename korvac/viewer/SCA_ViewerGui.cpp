// SPDX-License-Identifier: MIT
#include "korvac/viewer/SCA_ViewerGui.h"

#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QThread>
#include <cstdio>
#include <cstdlib>

#include "korvac/kit/ParseMainCommandLine.h"
#include "korvac/kit/SCA_ClientSession.h"
#include "korvac/viewer/SCA_ViewerProcess.h"
#include "libmor/SCA_String.h"
#include "libtez/SCA_KorvantaInterface.h"
#include "libvop/SCA_ConnectDlg.h"
#include "libvop/SCA_IconEngine.h"
#include "libvop/SCA_ModalHook.h"
#include "model/SCA_TezConfigFiles.h"
#include "net/SCA_KorvantaLogin.h"

namespace {

constexpr const char* kConfNameParam = "conf_name";
constexpr const char* kScreenParam = "screen";
constexpr const char* kWindowIcon = ":/images/korva_16px.png";
constexpr const char* kConnectIcon = ":/images/connect_48px.png";

// Hands the first dialog run through it to window, everything else to the hook it replaced.
// That is the built-in hook in a viewer of its own, which SCA_SetModalHook names as null: the
// hook in force is taken before this one replaces it, so that boxes and menus always have one.
class FirstWindowHook : public SCA_ModalHook {
public:
    explicit FirstWindowHook(std::function<int(QDialog*)> window)
        : m_Window(std::move(window)), m_Forward(SCA_GetModalHook()),
          m_Previous(SCA_SetModalHook(this)) {}
    ~FirstWindowHook() override { SCA_SetModalHook(m_Previous); }
    FirstWindowHook(const FirstWindowHook&) = delete;
    FirstWindowHook& operator=(const FirstWindowHook&) = delete;

    int Exec(QDialog* dialog) override {
        if (m_Window) {
            const auto window = std::move(m_Window);
            m_Window = nullptr;
            return window(dialog);
        }
        return m_Forward->Exec(dialog);
    }
    int MessageBox(QWidget* parent, uint32_t type, const QString& title,
                   const QString& text) override {
        return m_Forward->MessageBox(parent, type, title, text);
    }
    int OpenUrl(const QString& address) override { return m_Forward->OpenUrl(address); }
    int Ask(QWidget* parent, uint32_t type, const QString& title, const QString& text,
            int buttons) override {
        return m_Forward->Ask(parent, type, title, text, buttons);
    }
    QString GetSaveFileName(QWidget* parent, const QString& title, const QString& start,
                            const QString& filter) override {
        return m_Forward->GetSaveFileName(parent, title, start, filter);
    }
    QString GetOpenFileName(QWidget* parent, const QString& title, const QString& start,
                            const QString& filter) override {
        return m_Forward->GetOpenFileName(parent, title, start, filter);
    }
    QStringList GetOpenFileNames(QWidget* parent, const QString& title, const QString& start,
                                 const QString& filter) override {
        return m_Forward->GetOpenFileNames(parent, title, start, filter);
    }
    QString GetExistingDirectory(QWidget* parent, const QString& title,
                                 const QString& start) override {
        return m_Forward->GetExistingDirectory(parent, title, start);
    }
    QAction* ExecMenu(QMenu* menu, const QPoint& at) override {
        return m_Forward->ExecMenu(menu, at);
    }

private:
    std::function<int(QDialog*)> m_Window;
    // Where everything but the first dialog goes; never null.
    SCA_ModalHook* m_Forward;
    // What to restore: null for the built-in hook.
    SCA_ModalHook* m_Previous;
};

} // namespace

SCA_ViewerGui::SCA_ViewerGui(QApplication* app, const char* className)
    : m_App(app), m_LocalConfig(SCA_PRODUCT_TYPE_NONE), m_ClientUserConfig(&m_LocalConfig),
      m_ServerConfig(SCA_PRODUCT_TYPE_NONE), m_ServerUserConfig(&m_LocalConfig),
      m_Params("Params", nullptr), m_Session(std::make_unique<SCA_ClientSession>()),
      m_ClassName(className) {
    SCA_SetErrorCallback(&SCA_ViewerGui::ErrorCallback, this);
    SetConstructed();
}

SCA_ViewerGui::~SCA_ViewerGui() {
    Disconnect();
    SCA_SetErrorCallback(nullptr, nullptr);
}

int SCA_ViewerGui::ParseCommandLine(int argc, char** argv) {
    return ParseMainCommandLine(&m_Params, argc, argv);
}

int SCA_ViewerGui::ReadObjectId(const char* param) {
    return SCA_ViewerCommand::ReadNumber(&m_Params, param, &m_ObjectId);
}

int SCA_ViewerGui::StartUp(int argc, char** argv, const char* param) {
    ParseCommandLine(argc, argv);
    return ReadObjectId(param) && InitConfig() && DefaultConnect() ? 1 : 0;
}

int SCA_ViewerGui::CheckLength(const char* what, const std::string& text) {
    if (text.size() <= SCA_ViewerCommand::kMaxText) {
        return 1;
    }
    SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                              "%s: the %s is longer than %zu bytes", m_ClassName,
                                              what, SCA_ViewerCommand::kMaxText);
    return 0;
}

int SCA_ViewerGui::InitConfig() {
    std::string name;
    if (SCA_ViewerCommand::ReadText(&m_Params, kConfNameParam, &name)) {
        if (!CheckLength("configuration name", name)) {
            return 0;
        }
        SCA_StrnCpy(m_ConfigName, name.c_str(), sizeof(m_ConfigName));
    }
    // The main window's loader: a viewer started before the client ever ran makes the same
    // defaults. Its failures reach the user through the error callback, with the client's
    // texts; its news of a file made is no reason for a box.
    m_LoadingConfig = true;
    const int loaded =
        SCA_LoadProductConfig(&m_LocalConfig, m_ConfigName, SCA_TezConfigSide::Client, nullptr);
    m_LoadingConfig = false;
    if (!loaded) {
        return 0;
    }
    // Never read from a file, the client user configuration starts from the defaults (its
    // chart colours among them).
    m_ClientUserConfig.InitDefConfig(&m_LocalConfig);
    return 1;
}

int SCA_ViewerGui::AskConnection(SCA_ViewerCommand::Target* target) {
    if (SCA_ViewerProcess::IsTerminating()) {
        return 0;
    }
    SCA_ConnectDlg dialog(nullptr, QStringLiteral("Connect to Korvanta Server"),
                          QString::fromLatin1(kConnectIcon), target->Host.c_str(), target->Port,
                          target->User.c_str(), "");
    dialog.setWindowIcon(SCA_IconEngine::Load(QString::fromLatin1(kWindowIcon)));
    // Where to connect is known; what is missing is the password.
    dialog.GetPasswordEdit()->setFocus();
    if (SCA_ExecDialog(&dialog) != QDialog::Accepted) {
        return 0;
    }
    char host[SCA_ViewerCommand::kMaxText + 1];
    char user[SCA_ViewerCommand::kMaxText + 1];
    char password[SCA_ViewerCommand::kMaxText + 1];
    uint16_t port = 0;
    if (!dialog.GetData(host, sizeof(host), &port, user, sizeof(user), password,
                        sizeof(password))) {
        return 0;
    }
    target->Host = host;
    target->Port = port;
    target->User = user;
    target->Password = std::string(password);
    return 1;
}

int SCA_ViewerGui::DefaultConnect() {
    SCA_ViewerCommand::Target target =
        SCA_ViewerCommand::Read(&m_Params, m_LocalConfig.GetControlPort(),
                                std::getenv(SCA_ViewerCommand::kPasswordVariable));
    // Read once: nothing this process starts (a browser, a further viewer) inherits it.
    unsetenv(SCA_ViewerCommand::kPasswordVariable);
    if (!CheckLength("host name", target.Host) || !CheckLength("user name", target.User) ||
        !CheckLength("password", target.Password.value_or(std::string()))) {
        return 0;
    }
    // No password is tried that the user did not give.
    if (!target.Password && !AskConnection(&target)) {
        return 0;
    }
    if (!ConnectToServer(target.Host.c_str(), target.Port, target.User.c_str(),
                         target.Password->c_str(), kConnectTimeoutMs)) {
        return 0;
    }
    m_ClientUserConfig.SetConnectHostName(target.Host.c_str());
    m_ClientUserConfig.SetConnectControlPort(target.Port);
    m_ClientUserConfig.SetConnectUserName(target.User.c_str());
    m_ClientUserConfig.SetConnectPassword(target.Password->c_str());
    return 1;
}

int SCA_ViewerGui::ConnectToServer(const char* host, uint16_t port, const char* user,
                                   const char* password, uint32_t timeoutMs) {
    const auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    Disconnect();
    uint32_t error = 0;
    if (!m_Session->Open(host, port, timeoutMs, &error)) {
        report(SCA_LEVEL_ERROR, "Cannot connect to Korvanta Server @ %s:%ld", host,
               static_cast<long>(port));
        Disconnect();
        return 0;
    }
    uint32_t status = 0;
    if (!m_Session->Step([&](SCA_KorvantaInterface& connection) {
            return connection.Login(user, password, &status);
        }) ||
        status != SCA_KORVANTA_LOGGED_IN) {
        report(SCA_LEVEL_ERROR, "Cannot login to Korvanta Server @ %s as %s", host, user);
        Disconnect();
        return 0;
    }
    uint32_t productType = 0;
    char version[256] = "";
    if (!m_Session->Step([&](SCA_KorvantaInterface& connection) {
            return connection.GetServerInfo(&productType, version, m_ServiceHostName);
        })) {
        report(SCA_LEVEL_ERROR, "Cannot get server info");
        Disconnect();
        return 0;
    }
    char serviceHost[256] = "";
    char serviceAccount[256] = "";
    if (!m_Session->Step([&](SCA_KorvantaInterface& connection) {
            return connection.GetServiceInfo(serviceHost, serviceAccount);
        })) {
        report(SCA_LEVEL_ERROR, "Cannot get Korvanta server info from - %s", host);
        Disconnect();
        return 0;
    }
    if (!LoadServerConfig()) {
        Disconnect();
        return 0;
    }
    m_Session->Announce();
    return 1;
}

int SCA_ViewerGui::LoadServerConfig() {
    const auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    if (!m_Session->IsConnected()) {
        return 0;
    }
    if (!m_Session->Command([this](SCA_KorvantaInterface& client) {
            return client.GetProductConfig(&m_ServerConfig);
        })) {
        report(SCA_LEVEL_ERROR, "Cannot load server product configuration");
        return 0;
    }
    if (!m_Session->Command([this](SCA_KorvantaInterface& client) {
            return client.GetUserConfig(&m_ServerConfig, &m_ServerUserConfig);
        })) {
        report(SCA_LEVEL_ERROR, "Cannot load server user configuration");
        return 0;
    }
    return 1;
}

void SCA_ViewerGui::Disconnect() {
    m_Session->Close();
    m_ServiceHostName[0] = '\0';
}

SCA_WindowContext SCA_ViewerGui::WindowContext() {
    return {.ProductConfig = &m_ServerConfig,
            .UserConfig = &m_ServerUserConfig,
            .ClientUserConfig = &m_ClientUserConfig,
            .Params = &m_Params,
            .ConfigName = m_ConfigName,
            .Session = m_Session.get(),
            .Host = &m_WindowHost};
}

int SCA_ViewerGui::PlaceWindow(QWidget* window) {
    window->setWindowIcon(SCA_IconEngine::Load(QString::fromLatin1(kWindowIcon)));
    uint32_t index = 0;
    if (!SCA_ViewerCommand::ReadNumber(&m_Params, kScreenParam, &index)) {
        return 1;
    }
    const QList<QScreen*> screens = QGuiApplication::screens();
    if (index >= static_cast<uint32_t>(screens.size())) {
        return 1;
    }
    QScreen* screen = screens.at(static_cast<qsizetype>(index));
    // A window not sized by its maker takes its layout's size before it is measured.
    if (!window->testAttribute(Qt::WA_Resized)) {
        window->adjustSize();
    }
    const QRect area = screen->availableGeometry();
    const QSize size = window->size();
    window->setScreen(screen);
    if (size.width() < area.width() && size.height() < area.height()) {
        window->move(area.x() + area.width() / 2 - size.width() / 2,
                     area.y() + area.height() / 2 - size.height() / 2);
    } else {
        window->move(area.topLeft());
    }
    return 1;
}

int SCA_ViewerGui::RunWindow(QDialog* window, const std::function<int()>& start) {
    PlaceWindow(window);
    const int started = start();
    if (!started || SCA_ViewerProcess::IsTerminating()) {
        return 0;
    }
    m_CurrentWindow = window;
    // The process ends with its window, however the window closes.
    QObject::connect(window, &QDialog::finished, m_App, &QCoreApplication::quit);
    window->show();
    SCA_ViewerProcess::AnnounceWindow(window);
    QApplication::exec();
    m_CurrentWindow = nullptr;
    return started;
}

int SCA_ViewerGui::RunHookedWindow(const std::function<int()>& run) {
    const FirstWindowHook hook([this](QDialog* window) {
        if (SCA_ViewerProcess::IsTerminating()) {
            return static_cast<int>(QDialog::Rejected);
        }
        PlaceWindow(window);
        m_CurrentWindow = window;
        // A window run modally shows itself; it is named as it opens.
        QMetaObject::invokeMethod(
            window, [window] { SCA_ViewerProcess::AnnounceWindow(window); }, Qt::QueuedConnection);
        const int result = window->exec();
        m_CurrentWindow = nullptr;
        return result;
    });
    return run();
}

int SCA_ViewerGui::ShowMessage(uint32_t level, const char* text) {
    // The user asked the viewer to end: nothing more is asked of them.
    if (SCA_ViewerProcess::IsTerminating()) {
        return 1;
    }
    const QString title = level == SCA_LEVEL_INFO      ? QStringLiteral("Message")
                          : level == SCA_LEVEL_WARNING ? QStringLiteral("Warning")
                                                       : QStringLiteral("Error");
    SCA_ShowMessageBox(m_CurrentWindow, level, title,
                       QString::fromUtf8(text != nullptr ? text : ""));
    return 1;
}

int SCA_ViewerGui::ErrorCallback(tagSCA_ERROR_DESCR* descriptor, void* context) {
    auto* viewer = static_cast<SCA_ViewerGui*>(context);
    if (viewer == nullptr || descriptor == nullptr) {
        return 0;
    }
    if (viewer->m_LoadingConfig && descriptor->Level == SCA_LEVEL_INFO) {
        return 1;
    }
    if (viewer->m_App != nullptr && QThread::currentThread() != viewer->m_App->thread()) {
        // Boxes open on the GUI thread only: a report of another thread travels there.
        const tagSCA_ERROR_DESCR copy = *descriptor;
        QMetaObject::invokeMethod(
            viewer->m_App, [viewer, copy]() { viewer->ShowMessage(copy.Level, copy.Text); },
            Qt::QueuedConnection);
        return 1;
    }
    viewer->ShowMessage(descriptor->Level, descriptor->Text);
    return 1;
}
