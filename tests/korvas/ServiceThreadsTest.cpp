// SPDX-License-Identifier: MIT
// The service's threads meeting on its shared data: clients on connection threads replace what
// the sampling, scanning and action threads read, while those run. Each test drives one kind of
// meeting through the wire; under ThreadSanitizer a read that its owner's lock does not cover
// is reported, and in every build each reply must be a success.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

#include "korvas/SCA_KorvantaCtrl.h"
#include "korvas/SCA_SrvTaskMonitor.h"
#include "libtez/SCA_KorvantaInterface.h"
#include "libtez/SCA_TezProcCounters.h"
#include "libtez/SCA_TezProcessRuleCheck.h"
#include "model/SCA_TezActionType.h"
#include "model/SCA_TezCondType.h"
#include "model/SCA_TezConfigUser.h"
#include "model/SCA_TezProcessRule.h"
#include "model/SCA_TezRepStatus.h"
#include "model/SCA_TezRule.h"
#include "model/SCA_TezVocabulary.h"
#include "net/SCA_KorvantaLogin.h"
#include "tests/korvas/ControlTestFixture.h"
#include "tests/support/WaitUntil.h"

namespace korvas_test {
namespace {

namespace fs = std::filesystem;

// The service greets every client, however many threads it is busy with, well within this.
constexpr auto kWaitMs = static_cast<uint32_t>(korvanta_test::kWaitDeadline.count());
constexpr double kAlwaysAbove = -1.0;
constexpr auto kChurnTime = std::chrono::milliseconds(1500);

// Owns a reply object of the client for the scope of a check.
struct Reply {
    SCA_ConfigObj* Object = nullptr;
    Reply() = default;
    Reply(const Reply&) = delete;
    Reply& operator=(const Reply&) = delete;
    ~Reply() { SCA_Object::Destroy(Object); }
    SCA_ConfigObj** operator&() { return &Object; }
};

// A rule or condition that holds at every sample and acts each time.
template <typename Cond>
void AlwaysActs(Cond* cond, uint32_t actionType, const char* actionValue) {
    cond->SetCondType(SCA_COND_SUBJECT_VALUE * SCA_COND_COMPARISONS + SCA_COND_ABOVE);
    cond->SetCondMode(SCA_COND_MODE_EVERY_TIME);
    cond->SetCondValue(kAlwaysAbove);
    cond->SetRepStatus(SCA_REP_STATUS_ERROR);
    cond->SetEnabled(1);
    cond->SetExecuteAction(1);
    cond->SetActionType(actionType);
    cond->SetActionValue(actionValue);
}

// The control object serving clients on loopback, its monitors sampling the captured "two-cpu"
// tree every few milliseconds and scanning this machine's processes quickly.
class ServiceThreadsTest : public ControlTestFixture {
protected:
    void SetUp() override {
        ControlTestFixture::SetUp();
        char program[] = "korvas";
        char option[] = "-control_port";
        char any[] = "0";
        char* args[] = {program, option, any};
        uint32_t code = 0;
        ASSERT_EQ(1, m_Ctrl.Init(3, args, &code)) << code;
        ASSERT_EQ(1, m_Ctrl.DoStartServer());
        m_Password = m_Ctrl.GetUserConfig()->GetServerPassword();
    }
    void TearDown() override {
        m_Ctrl.DoStopServer();
        ControlTestFixture::TearDown();
    }

    // A client connected to the service, logged in unless told otherwise.
    std::unique_ptr<SCA_KorvantaInterface> Client(bool login = true) {
        auto client = std::make_unique<SCA_KorvantaInterface>();
        uint32_t error = 0;
        uint32_t status = 0;
        EXPECT_EQ(1, client->Connect("127.0.0.1", m_Ctrl.GetServerPort(), kWaitMs, &error));
        if (login) {
            EXPECT_EQ(1, client->Login(SCA_TEZ_DEFAULT_LOGIN_USER, m_Password.c_str(), &status));
            EXPECT_EQ(SCA_KORVANTA_LOGGED_IN, status);
        }
        return client;
    }

    // Runs work(client, round) on each of threads clients at once until every thread has done
    // rounds rounds; answers how many calls failed.
    uint32_t OnClients(uint32_t threads, uint32_t rounds,
                       const std::function<int(SCA_KorvantaInterface*, uint32_t, uint32_t)>& work,
                       bool login = true) {
        std::vector<std::unique_ptr<SCA_KorvantaInterface>> clients;
        for (uint32_t i = 0; i < threads; ++i) {
            clients.push_back(Client(login));
        }
        std::atomic<uint32_t> failed{0};
        std::vector<std::thread> running;
        for (uint32_t i = 0; i < threads; ++i) {
            running.emplace_back([&, i] {
                for (uint32_t round = 0; round < rounds; ++round) {
                    failed += work(clients[i].get(), i, round) ? 0 : 1;
                }
            });
        }
        for (std::thread& thread : running) {
            thread.join();
        }
        return failed.load();
    }

    // The user configuration's stored form with rules of memory usage that act with a sound
    // (count of them), for SetUserConfig.
    int RulesForm(uint32_t count, SCA_ConfigObj* form) {
        SCA_TezConfigUser config(m_Ctrl.GetConfig());
        for (uint32_t i = 0; i < count; ++i) {
            auto* rule = new SCA_TezRule();
            rule->SetCounterType(SCA_COUNTER_MEMORY_USAGE);
            AlwaysActs(rule, SCA_ACTION_PLAY_SOUND, "Alarm");
            if (!config.GetRules()->AddRule(rule, nullptr)) {
                delete rule;
                return 0;
            }
        }
        return config.Serialize(form);
    }

    // Process rules, global, on the thread count of every process (count of them).
    static int ProcessRulesForm(uint32_t count, SCA_ConfigObj* form) {
        SCA_TezProcessRules rules;
        for (uint32_t i = 0; i < count; ++i) {
            auto* rule = new SCA_TezProcessRule();
            rule->SetRuleType(SCA_PROC_THREADS);
            rule->SetCondType(SCA_PROCESS_RULE_ABOVE);
            rule->SetCondValue(0.0);
            rule->SetRepStatus(SCA_REP_STATUS_WARNING);
            rule->SetEnabled(1);
            rule->SetExecuteAction(1);
            rule->SetActionType(SCA_ACTION_PLAY_SOUND);
            rule->SetActionValue("Ding");
            if (!rules.AddRule(rule, nullptr)) {
                delete rule;
                return 0;
            }
        }
        return rules.Serialize(form);
    }

    uint32_t StartedMonitor(uint32_t type, const char* name, uint32_t counterType) {
        const uint32_t id = AddMonitor(type, name, counterType);
        EXPECT_EQ(1, m_Ctrl.StartMonitor(id));
        return id;
    }

    std::string m_Password;
};

TEST_F(ServiceThreadsTest, UserRulesAreReplacedWhileCounterMonitorsSampleThem) {
    StartedMonitor(SCA_SRV_MONITOR_COUNTERS, "Memory A", SCA_COUNTER_MEMORY_USAGE);
    StartedMonitor(SCA_SRV_MONITOR_COUNTERS, "Memory B", SCA_COUNTER_MEMORY_USAGE);
    const uint32_t failed = OnClients(
        2, 40, [this](SCA_KorvantaInterface* client, uint32_t thread, uint32_t round) -> int {
            SCA_ConfigObj form(SCA_TEZ_USER_CONFIG_ROOT, nullptr);
            return RulesForm((thread + round) % 3, &form) &&
                   client->SetUserConfig(&form, SCA_TEZ_USER_RULES);
        });
    EXPECT_EQ(0u, failed);
    // The rules were in effect between the replacements: they acted.
    auto client = Client();
    SCA_ConfigObj form(SCA_TEZ_USER_CONFIG_ROOT, nullptr);
    ASSERT_EQ(1, RulesForm(1, &form));
    ASSERT_EQ(1, client->SetUserConfig(&form, SCA_TEZ_USER_RULES));
    EXPECT_TRUE(korvanta_test::WaitUntil("the sound actions", [&] {
        uint64_t last = 0;
        Reply actions;
        return client->GetSoundActions(0, &last, &actions) && actions.Object != nullptr &&
               actions.Object->GetFieldCount() > 0;
    }));
}

TEST_F(ServiceThreadsTest, ProcessRulesAreReplacedWhileAProcessMonitorScans) {
    const uint32_t processes = StartedMonitor(SCA_SRV_MONITOR_PROCESS, "Processes", 0);
    const uint32_t failed =
        OnClients(2, 25, [](SCA_KorvantaInterface* client, uint32_t thread, uint32_t round) -> int {
            SCA_ConfigObj form("Rules", nullptr);
            return ProcessRulesForm((thread + round) % 3, &form) &&
                   client->SetProcessMonitorRules(&form);
        });
    EXPECT_EQ(0u, failed);
    auto client = Client();
    SCA_ConfigObj form("Rules", nullptr);
    ASSERT_EQ(1, ProcessRulesForm(1, &form));
    ASSERT_EQ(1, client->SetProcessMonitorRules(&form));
    EXPECT_TRUE(korvanta_test::WaitUntil("the process monitor's errors", [&] {
        Reply errors;
        return client->GetMonitorErrors(processes, &errors) && errors.Object != nullptr &&
               errors.Object->GetFieldCount() > 0;
    })) << "a rule that holds for every process records errors";
}

TEST_F(ServiceThreadsTest, StatusIsPolledWithoutLoginWhileProcessesComeAndGo) {
    const uint32_t processes = StartedMonitor(SCA_SRV_MONITOR_PROCESS, "Processes", 0);
    std::atomic<bool> churning{true};
    // Short-lived children, one after another: the scanner adds the records of those it
    // meets and frees them when they end.
    std::thread churn([&] {
        while (churning) {
            const pid_t child = fork();
            if (child == 0) {
                _exit(0);
            }
            if (child > 0) {
                waitpid(child, nullptr, 0);
            }
        }
    });
    // Resets, one after the other, for as long as the clients poll.
    std::thread resets([&] {
        auto client = Client();
        while (churning) {
            EXPECT_EQ(1, client->ResetMonitor(processes));
        }
    });
    const uint32_t failed = OnClients(
        3, 60,
        [](SCA_KorvantaInterface* client, uint32_t, uint32_t) -> int {
            Reply status;
            Reply monitors;
            return client->GetStatusEx(&status, &monitors);
        },
        false);
    churning = false;
    resets.join();
    churn.join();
    EXPECT_EQ(0u, failed);
}

TEST_F(ServiceThreadsTest, CollectorCountersAreListedWhileCountersComeAndGo) {
    const uint32_t monitor =
        StartedMonitor(SCA_SRV_MONITOR_COUNTERS, "Changing", SCA_COUNTER_MEMORY_USAGE);
    const uint32_t failed = OnClients(
        3, 40, [monitor](SCA_KorvantaInterface* client, uint32_t thread, uint32_t) -> int {
            if (thread != 0) {
                Reply counters;
                return client->PerfMonitorGetCounters(monitor, &counters);
            }
            uint32_t id = 0;
            return client->AddCounter(monitor, SCA_COUNTER_CPU_USAGE, "", "", "", &id) &&
                   client->DeleteCounter(monitor, id);
        });
    EXPECT_EQ(0u, failed);
}

TEST_F(ServiceThreadsTest, SettingsAreReplacedWhileLoginsScansAndActionsReadThem) {
    StartedMonitor(SCA_SRV_MONITOR_PROCESS, "Processes", 0);
    // A counter condition that sends mail at every sample: the action worker reads the mail
    // settings each time (mail is off, so it reads them and refuses).
    uint32_t counterId = 0;
    const uint32_t mailing =
        AddMonitor(SCA_SRV_MONITOR_COUNTERS, "Mailing", SCA_COUNTER_MEMORY_USAGE, &counterId);
    SCA_SrvMonitor* monitor = nullptr;
    ASSERT_EQ(1, m_Ctrl.GetMonitorList()->GetMonitor(mailing, &monitor));
    SCA_TezCounterInfo* info = nullptr;
    ASSERT_EQ(1, monitor->GetProfile()->GetCounterList()->GetCounter(counterId, &info));
    auto* cond = new SCA_TezCond();
    AlwaysActs(cond, SCA_ACTION_SEND_MAIL, "ops@example.org");
    ASSERT_EQ(1, info->GetCondList()->AddCond(cond, nullptr));
    ASSERT_EQ(1, m_Ctrl.StartMonitor(mailing));

    auto admin = Client();
    Reply stored;
    ASSERT_EQ(1, admin->GetUserConfig(&stored));
    const uint32_t failed = OnClients(
        3, 12, [&](SCA_KorvantaInterface* client, uint32_t thread, uint32_t round) -> int {
            if (thread == 0) {
                SCA_TezConfigUser changed(m_Ctrl.GetConfig());
                SCA_ConfigObj form(SCA_TEZ_USER_CONFIG_ROOT, nullptr);
                changed.Deserialize(m_Ctrl.GetConfig(), stored.Object, SCA_TEZ_USER_ALL);
                changed.SetProcessLogLength(100 + round);
                changed.SetReportsDir(m_Home.Path().c_str());
                return changed.Serialize(&form) &&
                       client->SetUserConfig(&form, SCA_TEZ_USER_SETTINGS);
            }
            // A fresh connection for each login: the stored credential is read every time.
            auto fresh = Client(false);
            uint32_t status = 0;
            return fresh->Login(SCA_TEZ_DEFAULT_LOGIN_USER, m_Password.c_str(), &status) &&
                   status == SCA_KORVANTA_LOGGED_IN;
        });
    EXPECT_EQ(0u, failed);
}

TEST_F(ServiceThreadsTest, CountsAreReadWhileMonitorsArePausedResetAndRestarted) {
    const uint32_t counters =
        StartedMonitor(SCA_SRV_MONITOR_COUNTERS, "Counters", SCA_COUNTER_MEMORY_USAGE);
    const uint32_t processes = StartedMonitor(SCA_SRV_MONITOR_PROCESS, "Processes", 0);
    const uint32_t failed = OnClients(
        4, 30, [&](SCA_KorvantaInterface* client, uint32_t thread, uint32_t round) -> int {
            const uint32_t id = round % 2 == 0 ? counters : processes;
            switch (thread) {
            case 0:
                return client->PauseMonitor(id) && client->StartMonitor(id);
            case 1:
                return client->ResetMonitor(id);
            default: {
                uint32_t type = 0, status = 0, state = 0, count = 0, errors = 0, warnings = 0;
                Reply server;
                Reply monitors;
                return client->GetMonitorStats(id, &type, &status, &state, &count, &errors,
                                               &warnings) &&
                       client->GetStatusEx(&server, &monitors);
            }
            }
        });
    EXPECT_EQ(0u, failed);
}

TEST_F(ServiceThreadsTest, TwoClientsEditingOneMonitorsCountersLeaveTheTaskWithTheLastList) {
    const uint32_t id =
        StartedMonitor(SCA_SRV_MONITOR_COUNTERS, "Shared", SCA_COUNTER_MEMORY_USAGE);
    constexpr uint32_t kTypes[] = {SCA_COUNTER_CPU_USAGE, SCA_COUNTER_DISK_ACTIVITY};
    const uint32_t failed = OnClients(
        2, 30, [&](SCA_KorvantaInterface* client, uint32_t thread, uint32_t round) -> int {
            uint32_t counter = 0;
            if (round % 2 == 0) {
                return client->AddCounter(id, kTypes[thread], "", "", "", &counter);
            }
            uint32_t exists = 0;
            return client->IsCounterExists(id, kTypes[thread], "", "", "", &counter) &&
                   (exists = counter) != SCA_ALL_ONES && client->DeleteCounter(id, exists);
        });
    EXPECT_EQ(0u, failed);
    // What the task samples is what the monitor holds, counter for counter.
    std::vector<uint32_t> listed;
    SCA_SrvMonitor* monitor = nullptr;
    ASSERT_EQ(1, m_Ctrl.GetMonitorList()->GetMonitor(id, &monitor));
    for (auto* node = monitor->GetProfile()->GetCounterList()->GetHead(); node != nullptr;
         node = node->GetNext()) {
        listed.push_back(node->GetId());
    }
    auto task = std::static_pointer_cast<SCA_SrvTaskMonitor>(m_Ctrl.GetTask(id));
    ASSERT_TRUE(task);
    EXPECT_EQ(listed, task->GetManager()->GetProfileCounterIds());
    EXPECT_EQ(listed.size(), task->GetManager()->GetActiveCounters());
}

TEST_F(ServiceThreadsTest, AReportActionSavesTheReportOfItsOwnMonitorNotOneOfTheSameName) {
    const fs::path folder = fs::path(m_Ctrl.GetUserConfig()->GetReportsDir()) / "twins";
    StartedMonitor(SCA_SRV_MONITOR_COUNTERS, "Twin", SCA_COUNTER_MEMORY_USAGE);
    uint32_t counterId = 0;
    const uint32_t second =
        AddMonitor(SCA_SRV_MONITOR_COUNTERS, "Twin", SCA_COUNTER_MEMORY_USAGE, &counterId);
    SCA_SrvMonitor* monitor = nullptr;
    ASSERT_EQ(1, m_Ctrl.GetMonitorList()->GetMonitor(second, &monitor));
    SCA_TezCounterInfo* info = nullptr;
    ASSERT_EQ(1, monitor->GetProfile()->GetCounterList()->GetCounter(counterId, &info));
    auto* cond = new SCA_TezCond();
    AlwaysActs(cond, SCA_ACTION_SAVE_REPORT, folder.c_str());
    ASSERT_EQ(1, info->GetCondList()->AddCond(cond, nullptr));
    ASSERT_EQ(1, m_Ctrl.StartMonitor(second));

    std::set<std::string> names;
    ASSERT_TRUE(korvanta_test::WaitUntil("the folder's files", [&] {
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(folder, error)) {
            names.insert(entry.path().filename().string());
        }
        return !names.empty();
    }));
    const std::string mine = "Korvanta Twin " + std::to_string(second) + "-";
    for (const std::string& name : names) {
        EXPECT_EQ(0u, name.rfind(mine, 0)) << name;
    }
}

} // namespace
} // namespace korvas_test
