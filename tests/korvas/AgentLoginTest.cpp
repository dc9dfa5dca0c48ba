// SPDX-License-Identifier: MIT
// Who may log in to the service and how often: the login modes that expose the password only
// for clients on this computer, failed logins slowed down by address, and strangers that cannot
// keep a client that logs in out. Peers elsewhere are stood for by the command server's peer
// address hook, or by the many loopback addresses of this computer.
#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <mutex>
#include <netinet/in.h>
#include <security/pam_appl.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

#include "korvas/SCA_KorvantaCtrl.h"
#include "libmor/auth/SCA_LogonUser.h"
#include "libtez/SCA_KorvantaInterface.h"
#include "libtez/SCA_KorvantaServer.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezConfigUser.h"
#include "net/SCA_KorvantaLogin.h"
#include "net/SCA_NetLoginThrottle.h"
#include "net/SCA_NetTransport.h"
#include "tests/korvas/AgentClientTest.h"
#include "tests/support/KorvantaTestSupport.h"
#include "tests/support/LoopbackFlood.h"

namespace {

// The operating system's accounts, as far as these tests go: "ops" with "s3cret"; every check
// is counted.
std::atomic<int> g_LogonChecks{0};
// The remote host the last check was given (PAM_RHOST).
std::mutex g_RemoteLock;
std::string g_Remote;

int FakeLogon(const char* /*service*/, const char* user, const char* password,
              const char* remoteHost) {
    ++g_LogonChecks;
    {
        std::lock_guard<std::mutex> hold(g_RemoteLock);
        g_Remote = remoteHost != nullptr ? remoteHost : "(none)";
    }
    return std::string(user) == "ops" && std::string(password) == "s3cret" ? PAM_SUCCESS
                                                                           : PAM_AUTH_ERR;
}

class AgentLoginTest : public korvas_test::AgentClientTest {
protected:
    void SetUp() override {
        AgentClientTest::SetUp();
        m_PreviousLogon = SCA_SetLogonBackend(&FakeLogon);
        g_LogonChecks = 0;
        // Every connection accepted from now on stands at m_Peer; empty: where it really is.
        m_Ctrl.GetServer()->SetPeerAddressHook([this](const std::string& peer) {
            std::lock_guard<std::mutex> hold(m_PeerLock);
            return m_Peer.empty() ? peer : m_Peer;
        });
    }
    void TearDown() override {
        SCA_SetLogonBackend(m_PreviousLogon);
        AgentClientTest::TearDown();
    }

    void StandAt(const std::string& peer) {
        std::lock_guard<std::mutex> hold(m_PeerLock);
        m_Peer = peer;
    }
    void UseMode(uint32_t mode) {
        m_Ctrl.ChangeUserConfig([&] {
            m_Ctrl.GetUserConfig()->SetEnableOsLogon(mode == SCA_KORVANTA_LOGIN_SIGNATURE ? 0 : 1);
            m_Ctrl.GetUserConfig()->SetServerLogonMode(mode);
            return 1;
        });
    }
    // The login status of a login, on a new connection when the client has none (0 also when
    // it could not be made).
    uint32_t LoginStatus(SCA_KorvantaInterface* client, const char* user, const char* password) {
        uint32_t status = 0;
        if (!client->GetNetTransport()->Connected() && !Connect(client)) {
            return 0;
        }
        EXPECT_EQ(1, client->Login(user, password, &status));
        return status;
    }
    uint32_t AdminLogin(SCA_KorvantaInterface* client) {
        return LoginStatus(client, m_Ctrl.GetUserConfig()->GetServerUserName(),
                           m_Ctrl.GetUserConfig()->GetServerPassword());
    }

    std::mutex m_PeerLock;
    std::string m_Peer;
    SCA_LogonBackend m_PreviousLogon = nullptr;
};

// Modes 0 and 1 expose the password or let in any name: another computer is greeted with
// mode 2, so it is never asked for what it must not send, and the administrator logs in from
// there by signature whatever the mode.
TEST_F(AgentLoginTest, ModesThatExposeThePasswordAreServedToThisComputerOnly) {
    constexpr const char* kRemote = "203.0.113.9";
    StandAt(kRemote);
    for (const uint32_t mode : {SCA_KORVANTA_LOGIN_NAMES, SCA_KORVANTA_LOGIN_PASSWORD}) {
        UseMode(mode);
        SCA_KorvantaInterface admin;
        EXPECT_EQ(SCA_KORVANTA_LOGGED_IN, AdminLogin(&admin)) << mode;
        EXPECT_EQ(SCA_KORVANTA_LOGIN_SIGNATURE, admin.GetNetTransport()->GetServerLoginMode())
            << "the greeting announces the mode this peer may use";
    }
    SCA_KorvantaInterface remote;
    EXPECT_EQ(0u, LoginStatus(&remote, "ops", "s3cret"))
        << "an account of the system is no login user of the service";
    EXPECT_EQ(0, g_LogonChecks.load()) << "no password was sent to be looked at";
    EXPECT_EQ(1, m_Reports.Count(SCA_LEVEL_ERROR, std::string("(") + kRemote + ") failed"));
    SCA_ConfigObj* config = nullptr;
    EXPECT_EQ(0, remote.GetUserConfig(&config)) << "a refused login logs nobody in";

    // The administrator may open the modes to other computers, knowing what that exposes.
    ASSERT_EQ(1, m_Ctrl.GetUserConfig()->SetAdvancedOption(SCA_OPTION_REMOTE_OPEN_LOGINS, 1));
    SCA_KorvantaInterface opened;
    EXPECT_EQ(SCA_KORVANTA_LOGGED_IN, LoginStatus(&opened, "ops", "s3cret"));
    EXPECT_EQ(SCA_KORVANTA_LOGIN_PASSWORD, opened.GetNetTransport()->GetServerLoginMode());
    {
        std::lock_guard<std::mutex> hold(g_RemoteLock);
        EXPECT_EQ(g_Remote, kRemote) << "the system learns where the login comes from";
    }
    ASSERT_EQ(1, m_Ctrl.GetUserConfig()->SetAdvancedOption(SCA_OPTION_REMOTE_OPEN_LOGINS, 0));

    StandAt("");
    SCA_KorvantaInterface local;
    EXPECT_EQ(SCA_KORVANTA_LOGGED_IN, LoginStatus(&local, "ops", "s3cret"));
    EXPECT_EQ(2, g_LogonChecks.load());

    // A login is checked by the mode its greeting announced or not at all: the client built
    // its login data for that one.
    SCA_KorvantaInterface late;
    ASSERT_EQ(1, Connect(&late));
    UseMode(SCA_KORVANTA_LOGIN_SIGNATURE);
    EXPECT_EQ(0u, LoginStatus(&late, "ops", "s3cret"));
    EXPECT_EQ(1, m_Reports.Count(SCA_LEVEL_ERROR, "the server refused the login: the login mode "
                                                  "is 2 now, not 1 as this connection was told; "
                                                  "connect again"));
    EXPECT_EQ(2, g_LogonChecks.load());
}

TEST_F(AgentLoginTest, OnlyAConnectionThatLoggedInLeavesADisconnectedLine) {
    UseMode(SCA_KORVANTA_LOGIN_SIGNATURE);
    const std::string admin = m_Ctrl.GetUserConfig()->GetServerUserName();
    {
        SCA_KorvantaInterface failed;
        EXPECT_EQ(0u, LoginStatus(&failed, "intruder", "guess"));
    }
    ASSERT_TRUE(korvanta_test::WaitUntil(
        "the awaited state", [&] { return m_Ctrl.GetServer()->GetStrangerCount() == 0; }));
    {
        SCA_KorvantaInterface succeeded;
        EXPECT_EQ(SCA_KORVANTA_LOGGED_IN, AdminLogin(&succeeded));
    }
    ASSERT_TRUE(korvanta_test::WaitUntil("the awaited state", [&] {
        return m_Reports.Count(SCA_LEVEL_INFO, "Disconnected: " + admin + "@") == 1;
    }));
    // The refused connection had ended before the administrator's began.
    EXPECT_EQ(0, m_Reports.Count(SCA_LEVEL_INFO, "Disconnected: intruder@"));
    EXPECT_EQ(1, m_Reports.Count(SCA_LEVEL_ERROR, "login of intruder@"));
}

TEST_F(AgentLoginTest, FailedLoginsSlowAnAddressDownAndItsLoginsWaitTheirTurnUnrefused) {
    SCA_ManualClock clock;
    UseMode(SCA_KORVANTA_LOGIN_SIGNATURE);
    constexpr const char* kAddress = "198.51.100.20";
    const std::string user = m_Ctrl.GetUserConfig()->GetServerUserName();
    StandAt(kAddress);
    SCA_KorvantaInterface guesser;
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(0u, LoginStatus(&guesser, user.c_str(), "guess"));
    }
    EXPECT_EQ(3, m_Reports.Count(SCA_LEVEL_ERROR, "the server refused the login: user "
                                                  "authentication failed"));
    // The service's own log names the user and the address of each failure.
    EXPECT_EQ(3, m_Reports.Count(SCA_LEVEL_ERROR, "login of " + user + "@"));
    EXPECT_EQ(3, m_Reports.Count(SCA_LEVEL_ERROR, "(198.51.100.20) failed"));
    SCA_NetLoginThrottle* throttle = m_Ctrl.GetServer()->GetLoginThrottle();
    const auto held = [&](uint32_t count) {
        return korvanta_test::WaitUntil("held logins",
                                        [&] { return throttle->GetHeldCount() == count; });
    };

    // The right password now waits for the address's turn, held instead of refused; so does a
    // guess, which its client gives up: it is dropped unchecked.
    SCA_KorvantaInterface admin;
    ASSERT_EQ(1, Connect(&admin));
    std::atomic<uint32_t> adminStatus{0};
    std::thread adminLogin([&] { adminStatus = AdminLogin(&admin); });
    SCA_KorvantaInterface leaving;
    ASSERT_EQ(1, Connect(&leaving));
    std::thread leavingLogin([&] {
        uint32_t status = 0;
        leaving.Login(user.c_str(), "guess", &status);
    });
    ASSERT_TRUE(held(2));
    leaving.GetNetTransport()->Shutdown();
    ASSERT_TRUE(held(1));
    leavingLogin.join();
    EXPECT_EQ(1, m_Reports.Count(SCA_LEVEL_ERROR, "(198.51.100.20) dropped unchecked"));
    EXPECT_EQ(3, m_Reports.Count(SCA_LEVEL_ERROR, "(198.51.100.20) failed"));

    // The held login keeps its place among the address's strangers, however many come: it is
    // never closed to make room (the oldest that is not answering gives way, the guesser's).
    std::vector<std::unique_ptr<SCA_KorvantaInterface>> crowd;
    for (uint32_t i = 0; i < SCA_KORVAS_STRANGERS_PER_ADDRESS; ++i) {
        crowd.push_back(std::make_unique<SCA_KorvantaInterface>());
        Connect(crowd.back().get());
    }
    EXPECT_LE(m_Ctrl.GetServer()->GetStrangerCount(kAddress), SCA_KORVAS_STRANGERS_PER_ADDRESS);

    StandAt("198.51.100.21");
    SCA_KorvantaInterface neighbour;
    EXPECT_EQ(SCA_KORVANTA_LOGGED_IN, AdminLogin(&neighbour)) << "other addresses do not wait";
    EXPECT_EQ(1u, throttle->GetHeldCount()) << "the clock has not moved";

    clock.Advance(std::chrono::milliseconds(SCA_NetLoginThrottle::kFirstWaitMs));
    adminLogin.join();
    EXPECT_EQ(SCA_KORVANTA_LOGGED_IN, adminStatus.load()) << "checked in its turn";
    // The administrator's login gave the guesser no fresh tries: its next failure doubles the
    // wait as if none had come between.
    StandAt(kAddress);
    SCA_KorvantaInterface again;
    EXPECT_EQ(0u, LoginStatus(&again, user.c_str(), "guess"));
    EXPECT_EQ(2 * SCA_NetLoginThrottle::kFirstWaitMs,
              throttle->GetWaitMs(kAddress, SCA_NetLoginThrottle::NowMs()));

    // A server that stops ends a held login at once, unchecked, without waiting for its turn.
    SCA_KorvantaInterface late;
    ASSERT_EQ(1, Connect(&late));
    std::atomic<int> lateDone{0};
    std::thread lateLogin([&] {
        uint32_t status = 0;
        late.Login(user.c_str(), m_Ctrl.GetUserConfig()->GetServerPassword(), &status);
        lateDone = status == SCA_KORVANTA_LOGGED_IN ? 2 : 1;
    });
    ASSERT_TRUE(held(1));
    m_Ctrl.GetServer()->StopAll();
    lateLogin.join();
    EXPECT_EQ(1, lateDone.load());
    EXPECT_EQ(2, m_Reports.Count(SCA_LEVEL_ERROR, "(198.51.100.20) dropped unchecked"));
    EXPECT_EQ(0u, throttle->GetHeldCount());
}

using korvanta_test::AddressOf;

// A connection from source, left to idle: a stranger that takes a place and never logs in.
int OpenStranger(const std::string& source, uint16_t port) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in from = AddressOf(source.c_str(), 0);
    const sockaddr_in to = AddressOf("127.0.0.1", port);
    if (fd < 0 || bind(fd, reinterpret_cast<const sockaddr*>(&from), sizeof(from)) != 0 ||
        connect(fd, reinterpret_cast<const sockaddr*>(&to), sizeof(to)) != 0) {
        if (fd >= 0) {
            close(fd);
        }
        return -1;
    }
    return fd;
}

TEST_F(AgentLoginTest, StrangersCannotKeepTheAdministratorOut) {
    constexpr int kStrangers = 300;
    constexpr int kMore = 60;
    constexpr int kSources = 30; // 127.0.1.1 to 127.0.1.30
    UseMode(SCA_KORVANTA_LOGIN_SIGNATURE);
    // The strangers stand for a flood from other computers: 127.0.1.n is 198.51.100.n.
    m_Ctrl.GetServer()->SetPeerAddressHook([](const std::string& peer) {
        return peer.rfind("127.0.1.", 0) == 0 ? "198.51.100." + peer.substr(8) : peer;
    });
    const uint16_t port = m_Ctrl.GetServerPort();
    std::vector<int> strangers;
    const auto open = [&](int count, std::vector<int>* into) {
        for (int i = 0; i < count; ++i) {
            const int fd = OpenStranger("127.0.1." + std::to_string(1 + i % kSources), port);
            if (fd >= 0) {
                into->push_back(fd);
            }
        }
    };
    // The service accepts connections in the order they came: the administrator's comes after
    // every one of the strangers, and more keep coming while it logs in.
    open(kStrangers, &strangers);
    std::vector<int> more;
    std::thread flood([&] { open(kMore, &more); });
    SCA_KorvantaInterface admin;
    const uint32_t status = AdminLogin(&admin);
    flood.join();
    EXPECT_EQ(SCA_KORVANTA_LOGGED_IN, status);
    EXPECT_EQ(kStrangers + kMore, static_cast<int>(strangers.size() + more.size()));
    SCA_ConfigObj* config = nullptr;
    EXPECT_EQ(1, admin.GetUserConfig(&config)) << "the administrator is served";
    SCA_Object::Destroy(config);
    EXPECT_EQ(1, m_Client.GetUserConfig(&config)) << "so is the client logged in before";
    SCA_Object::Destroy(config);

    SCA_KorvantaServer* server = m_Ctrl.GetServer();
    EXPECT_LE(server->GetStrangerCount(), SCA_KORVAS_MAX_CONNECTIONS / SCA_KORVAS_STRANGER_SHARE);
    for (int source = 1; source <= kSources; ++source) {
        const std::string address = "198.51.100." + std::to_string(source);
        EXPECT_LE(server->GetStrangerCount(address.c_str()), SCA_KORVAS_STRANGERS_PER_ADDRESS)
            << address;
    }
    EXPECT_GE(m_Reports.Count(SCA_LEVEL_WARNING, "closed to make room for new ones"), 1);
    strangers.insert(strangers.end(), more.begin(), more.end());
    for (const int fd : strangers) {
        close(fd);
    }
}

// The flood of connections a test holds open beside the administrator's logins, and the one
// the service's log tells of.
struct FloodRow {
    const char* Case;
    const char* FloodSource;  // where the flood connects from
    const char* FloodAddress; // where the service sees it
    const char* AdminSource;  // where the administrator's connections come from
    korvanta_test::LoopbackFlood::Shape Shape;
    // How long the administrator's client, on a busy computer, takes to answer the greeting
    // and then to send its login.
    std::chrono::milliseconds AnswerDelay;
    std::chrono::milliseconds LoginDelay;
    // Whether the design keeps every login: the flood comes from another address than the
    // administrator's. Otherwise the figure is told, not asserted.
    bool EveryLogin;
};

TEST_F(AgentLoginTest, AFloodFromOneAddressCutsNoAdministratorLoginFromAnother) {
    constexpr int kLogins = 100;
    // New connections between two logins, so that every login meets the flood under way.
    constexpr uint64_t kFloodPerLogin = 20;
    using std::chrono::milliseconds;
    // As fast as two threads open connections, each holding its latest hundred.
    constexpr korvanta_test::LoopbackFlood::Shape kFast{2, 100, milliseconds(0)};
    // A crowd of threads each holding a connection 100 ms without a word.
    constexpr korvanta_test::LoopbackFlood::Shape kSilent{8, 30, milliseconds(100)};
    const FloodRow rows[] = {
        {"a flood from another computer", "127.0.1.1", "198.51.100.1", "127.0.0.1", kFast,
         milliseconds(0), milliseconds(0), true},
        {"a silent flood from 127.0.0.2, a slow administrator on 127.0.0.3", "127.0.0.2",
         "127.0.0.2", "127.0.0.3", kSilent, milliseconds(30), milliseconds(30), true},
        {"the same flood from the slow administrator's own address", "127.0.0.2", "127.0.0.2",
         "127.0.0.2", kSilent, milliseconds(30), milliseconds(30), false},
        {"the same flood from the address of an administrator slow to log in only", "127.0.0.2",
         "127.0.0.2", "127.0.0.2", kSilent, milliseconds(0), milliseconds(30), false},
    };
    UseMode(SCA_KORVANTA_LOGIN_SIGNATURE);
    // 127.0.1.1 stands for a computer elsewhere; the others are where they are.
    m_Ctrl.GetServer()->SetPeerAddressHook([](const std::string& peer) {
        return peer == "127.0.1.1" ? std::string("198.51.100.1") : peer;
    });
    for (const FloodRow& row : rows) {
        SCOPED_TRACE(row.Case);
        const auto start = std::chrono::steady_clock::now();
        int loggedIn = 0;
        uint64_t opened = 0;
        {
            korvanta_test::LoopbackFlood flood(row.FloodSource, m_Ctrl.GetServerPort(), row.Shape);
            korvanta_test::SlowRelay relay(row.AdminSource, m_Ctrl.GetServerPort(), row.AnswerDelay,
                                           row.LoginDelay);
            ASSERT_NE(relay.Port(), 0);
            for (int i = 0; i < kLogins; ++i) {
                ASSERT_TRUE(korvanta_test::WaitUntil("the flood to go on", [&] {
                    return flood.Opened() >= opened + kFloodPerLogin;
                }));
                opened = flood.Opened();
                SCA_KorvantaInterface admin;
                uint32_t error = 0;
                uint32_t status = 0;
                loggedIn +=
                    admin.Connect("127.0.0.1", relay.Port(), korvas_test::kGreetingWaitMs,
                                  &error) &&
                            admin.Login(m_Ctrl.GetUserConfig()->GetServerUserName(),
                                        m_Ctrl.GetUserConfig()->GetServerPassword(), &status) &&
                            status == SCA_KORVANTA_LOGGED_IN
                        ? 1
                        : 0;
            }
            opened = flood.Opened();
        }
        if (row.EveryLogin) {
            EXPECT_EQ(kLogins, loggedIn);
        }
        // The rate and the figure of a shared address are told, not asserted: what this
        // computer reaches depends on its load.
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("%s: %d of %d logins with %llu connections of the flood in %.1f s (%.0f a "
                    "second)\n",
                    row.Case, loggedIn, kLogins, static_cast<unsigned long long>(opened), seconds,
                    opened / seconds);
        EXPECT_LE(m_Ctrl.GetServer()->GetStrangerCount(row.FloodAddress),
                  SCA_KORVAS_STRANGERS_PER_ADDRESS)
            << "a loopback address is held to its share as any other";
        // The next row starts from a quiet service.
        ASSERT_TRUE(korvanta_test::WaitUntil("the flood's strangers to go", [&] {
            return m_Ctrl.GetServer()->GetStrangerCount() == 0;
        }));
    }
    EXPECT_GE(m_Reports.Count(SCA_LEVEL_WARNING, "closed to make room for new ones"), 1);
}

} // namespace
