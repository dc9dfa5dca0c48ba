// The client's main window connected to a real `korvas -console` on 127.0.0.1: login with the
// initial password, a monitor added through the client object in the tree, a stopped service
// shown as disconnected and a restarted one reconnected.
#include <QCoreApplication>
#include <QTimer>
#include <QTimerEvent>
#include <QTreeWidgetItem>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "../korvac/GuiTestSupport.h"
#include "korvac/SCA_MonitorsView.h"
#include "libtez/SCA_KorvantaInterface.h"

namespace {

// `korvas -console` with its output in a file of the test's folder; ended by its process id.
class Korvas {
public:
    Korvas(const std::string& home, const std::string& port) : m_Log(home + "/korvas.log") {
        // The log of an earlier run goes first: its start line must not stand for this run's.
        ::unlink(m_Log.c_str());
        int keys[2];
        if (pipe(keys) != 0) {
            return;
        }
        m_Pid = fork();
        if (m_Pid == 0) {
            dup2(keys[0], STDIN_FILENO);
            const int out = ::open(m_Log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            dup2(out, STDOUT_FILENO);
            setenv("KORVANTA_HOME", home.c_str(), 1);
            execl(KORVAS_PROGRAM, KORVAS_PROGRAM, "-console", "-control_port", port.c_str(),
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        close(keys[0]);
        m_Keys = keys[1];
    }
    ~Korvas() { Stop(); }
    void Stop() {
        if (m_Pid > 0) {
            kill(m_Pid, SIGKILL);
            waitpid(m_Pid, nullptr, 0);
            m_Pid = -1;
        }
        if (m_Keys >= 0) {
            close(m_Keys);
            m_Keys = -1;
        }
    }
    uint16_t WaitForPort() {
        for (int i = 0; i < 200; ++i) {
            std::ifstream file(m_Log);
            std::string line;
            while (std::getline(file, line)) {
                const size_t at = line.find("Started on - ");
                if (at != std::string::npos) {
                    return static_cast<uint16_t>(std::stoi(line.substr(line.rfind(':') + 1)));
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return 0;
    }

private:
    std::string m_Log;
    pid_t m_Pid = -1;
    int m_Keys = -1;
};

std::string ReadPassword(const std::string& home) {
    std::ifstream file(home + "/initial-password");
    std::string password;
    std::getline(file, password);
    return password;
}

void Tick(SCA_SrvGui* window) {
    QTimerEvent event(window->GetUpdateTimerId());
    QCoreApplication::sendEvent(window, &event);
}

// The window fetches the product and user configurations after login and disconnects when it
// cannot: the whole connection runs against the real service.
TEST(ClientService, ConnectsPollsShowsAMonitorAndReconnectsAfterARestart) {
    korvac_test::PrivateHome home;
    korvac_test::RecordingHook hook;
    const std::string serviceHome = home.Path() + "/service";
    ASSERT_EQ(mkdir(serviceHome.c_str(), 0700), 0);
    auto korvas = std::make_unique<Korvas>(serviceHome, "0");
    const uint16_t port = korvas->WaitForPort();
    ASSERT_NE(port, 0);

    auto window = korvac_test::StartWindow();
    ASSERT_NE(window, nullptr);
    window->GetReconnectTimer()->stop();
    SCA_TezConfigUser* user = window->GetUserConfig();
    user->SetConnectHostName("127.0.0.1");
    user->SetConnectControlPort(port);
    user->SetConnectUserName("admin");
    user->SetConnectPassword(ReadPassword(serviceHome).c_str());
    window->DefaultConnect();
    ASSERT_EQ(window->CheckConnected(0), 1);

    uint32_t monitorId = 0;
    ASSERT_EQ(window->GetClientInterface()->AddMonitor(0, 0, "Integration monitor", &monitorId), 1);
    ASSERT_EQ(window->UpdateStatus(0), 1);
    SCA_MonitorsView* tree = window->GetMonitorsView();
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    EXPECT_EQ(tree->topLevelItem(0)->text(1), QStringLiteral("Integration monitor"));
    EXPECT_EQ(tree->topLevelItem(0)->text(2), QStringLiteral("Local"));
    EXPECT_EQ(tree->topLevelItem(0)->data(0, Qt::UserRole).toUInt(), monitorId);
    EXPECT_FALSE(tree->topLevelItem(0)->text(6).isEmpty());

    // The service goes away: the next poll shows the window disconnected.
    korvas->Stop();
    Tick(window.get());
    Tick(window.get());
    EXPECT_EQ(window->CheckConnected(0), 0);
    EXPECT_STREQ(window->GetTrayText(), "Korvanta Client - Disconnected");

    // Started again on the same port: the automatic reconnection finds it.
    korvas = std::make_unique<Korvas>(serviceHome, std::to_string(port));
    ASSERT_EQ(korvas->WaitForPort(), port);
    for (int tick = 0; tick < 12 && !window->GetReconnectTimer()->isActive(); ++tick) {
        Tick(window.get());
    }
    ASSERT_TRUE(window->GetReconnectTimer()->isActive());
    window->GetReconnectTimer()->stop();
    window->DefaultConnect();
    EXPECT_EQ(window->CheckConnected(0), 1);
    window.reset();
    korvas->Stop();
}

} // namespace
