// SPDX-License-Identifier: MIT
// Everything at once, as a real `korvas -console` on 127.0.0.1: counter and process monitors run
// while eight clients replace rules, process rules and whole configurations, poll without
// logging in, read collectors, edit counters and drive and delete monitors. Every reply must
// be a success, and the service must end cleanly: built with a sanitizer, it exits nonzero
// when it saw a race, a bad access or a leak.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "libtez/SCA_KorvantaInterface.h"
#include "libtez/SCA_TezProcCounters.h"
#include "libtez/SCA_TezProcessRuleCheck.h"
#include "model/SCA_SrvMonitor.h"
#include "model/SCA_TezActionType.h"
#include "model/SCA_TezCondType.h"
#include "model/SCA_TezConfig.h"
#include "model/SCA_TezConfigUser.h"
#include "model/SCA_TezProcessRule.h"
#include "model/SCA_TezProcessRules.h"
#include "model/SCA_TezRepStatus.h"
#include "model/SCA_TezRule.h"
#include "model/SCA_TezVocabulary.h"
#include "tests/integration/KorvasProcess.h"
#include "tests/support/KorvantaTestSupport.h"

namespace {

using korvas_integration::KorvasProcess;
using Clock = std::chrono::steady_clock;

constexpr auto kRunTime = std::chrono::seconds(20);
constexpr uint32_t kClients = 8;
constexpr uint32_t kThreads = 8;
constexpr uint32_t kNoCounterData = 0;

struct ObjectRelease {
    void operator()(SCA_ConfigObj* object) const { SCA_Object::Destroy(object); }
};
using Reply = std::unique_ptr<SCA_ConfigObj, ObjectRelease>;

// One call into a reply that is released with its scope.
template <typename Call>
int WithReply(Call&& call) {
    SCA_ConfigObj* object = nullptr;
    const int answered = call(&object);
    Reply owned(object);
    return answered;
}

// User rules on memory usage that hold at every sample and play a sound.
int RulesForm(uint32_t count, SCA_ConfigObj* form) {
    SCA_TezConfig product(SCA_PRODUCT_TYPE_KORVANTA);
    SCA_TezConfigUser config(&product);
    for (uint32_t i = 0; i < count; ++i) {
        auto* rule = new SCA_TezRule();
        rule->SetCounterType(SCA_COUNTER_MEMORY_USAGE);
        rule->SetCondType(SCA_COND_SUBJECT_VALUE * SCA_COND_COMPARISONS + SCA_COND_ABOVE);
        rule->SetCondMode(SCA_COND_MODE_EVERY_TIME);
        rule->SetCondValue(-1.0);
        rule->SetRepStatus(SCA_REP_STATUS_WARNING);
        rule->SetEnabled(1);
        rule->SetExecuteAction(1);
        rule->SetActionType(SCA_ACTION_PLAY_SOUND);
        rule->SetActionValue("Alarm");
        if (!config.GetRules()->AddRule(rule, nullptr)) {
            delete rule;
            return 0;
        }
    }
    return config.Serialize(form);
}

// Global process rules on every process's thread count.
int ProcessRulesForm(uint32_t count, SCA_ConfigObj* form) {
    SCA_TezProcessRules rules;
    for (uint32_t i = 0; i < count; ++i) {
        auto* rule = new SCA_TezProcessRule();
        rule->SetRuleType(SCA_PROC_THREADS);
        rule->SetCondType(SCA_PROCESS_RULE_ABOVE);
        rule->SetCondValue(static_cast<double>(i));
        rule->SetRepStatus(SCA_REP_STATUS_WARNING);
        rule->SetEnabled(1);
        if (!rules.AddRule(rule, nullptr)) {
            delete rule;
            return 0;
        }
    }
    return rules.Serialize(form);
}

// One client's part: whether it logs in, how long it rests between calls (so that a slow call
// does not crowd out the others), and its call for a round.
struct Worker {
    bool Login;
    std::chrono::milliseconds Rest;
    std::function<int(SCA_KorvantaInterface*, uint32_t)> Call;
};

constexpr std::chrono::milliseconds kNoRest{0};

class Scenario {
public:
    explicit Scenario(KorvasProcess* service, uint16_t port) : m_Service(service), m_Port(port) {}

    std::unique_ptr<SCA_KorvantaInterface> Client(bool login) {
        auto client = std::make_unique<SCA_KorvantaInterface>();
        uint32_t error = 0;
        const int ready = login ? m_Service->LogIn(client.get(), m_Port)
                                : client->Connect("127.0.0.1", m_Port,
                                                  korvas_integration::kConnectWaitMs, &error);
        EXPECT_EQ(1, ready);
        return client;
    }

    // A monitor with counters of the given types, started; 0 on failure.
    static uint32_t StartedMonitor(SCA_KorvantaInterface* client, uint32_t type, const char* name,
                                   std::initializer_list<uint32_t> counters) {
        uint32_t id = 0;
        if (!client->AddMonitor(type, 0, name, &id)) {
            return 0;
        }
        for (uint32_t counterType : counters) {
            uint32_t counterId = 0;
            if (!client->AddCounter(id, counterType, "", "", "", &counterId)) {
                return 0;
            }
        }
        return client->StartMonitor(id) ? id : 0;
    }

    // Runs each worker on its own client until the run time is over; the calls that failed, by
    // worker.
    std::vector<uint32_t> Run(const std::vector<Worker>& workers) {
        std::vector<std::unique_ptr<SCA_KorvantaInterface>> clients;
        for (const auto& worker : workers) {
            clients.push_back(Client(worker.Login));
        }
        std::vector<uint32_t> failed(workers.size(), 0);
        std::vector<std::thread> threads;
        const Clock::time_point end = Clock::now() + kRunTime;
        for (size_t i = 0; i < workers.size(); ++i) {
            threads.emplace_back([&, i] {
                for (uint32_t round = 0; Clock::now() < end; ++round) {
                    failed[i] += workers[i].Call(clients[i].get(), round) ? 0 : 1;
                    std::this_thread::sleep_for(workers[i].Rest);
                }
            });
        }
        for (std::thread& thread : threads) {
            thread.join();
        }
        return failed;
    }

private:
    KorvasProcess* m_Service;
    uint16_t m_Port;
};

TEST(ServiceThreadsScenario, EightClientsChangeEverythingWhileMonitorsRun) {
    korvanta_test::TempDir home;
    KorvasProcess service(home.Path(), "0");
    const uint16_t port = service.WaitForPort();
    ASSERT_NE(0, port);
    Scenario scenario(&service, port);
    auto admin = scenario.Client(true);
    const uint32_t memory =
        Scenario::StartedMonitor(admin.get(), SCA_SRV_MONITOR_COUNTERS, "Memory",
                                 {SCA_COUNTER_MEMORY_USAGE, SCA_COUNTER_CPU_USAGE});
    const uint32_t busy =
        Scenario::StartedMonitor(admin.get(), SCA_SRV_MONITOR_COUNTERS, "Busy",
                                 {SCA_COUNTER_CPU_USAGE, kThreads, SCA_COUNTER_MEMORY_USAGE});
    const uint32_t edited = Scenario::StartedMonitor(admin.get(), SCA_SRV_MONITOR_COUNTERS,
                                                     "Edited", {SCA_COUNTER_MEMORY_USAGE});
    const uint32_t driven = Scenario::StartedMonitor(admin.get(), SCA_SRV_MONITOR_COUNTERS,
                                                     "Driven", {SCA_COUNTER_CPU_USAGE});
    const uint32_t processes =
        Scenario::StartedMonitor(admin.get(), SCA_SRV_MONITOR_PROCESS, "Processes", {});
    const uint32_t drivenProcesses =
        Scenario::StartedMonitor(admin.get(), SCA_SRV_MONITOR_PROCESS, "Driven processes", {});
    for (uint32_t id : {memory, busy, edited, driven, processes, drivenProcesses}) {
        ASSERT_NE(0u, id);
    }
    SCA_ConfigObj* exported = nullptr;
    ASSERT_EQ(1, admin->GetUserConfig(&exported));
    Reply configuration(exported);

    uint32_t shortLived = 0;
    const std::vector<Worker> workers = {
        {true, kNoRest,
         [](SCA_KorvantaInterface* client, uint32_t round) {
             SCA_ConfigObj form(SCA_TEZ_USER_CONFIG_ROOT, nullptr);
             return RulesForm(round % 4, &form) && client->SetUserConfig(&form, SCA_TEZ_USER_RULES);
         }},
        {true, kNoRest,
         [](SCA_KorvantaInterface* client, uint32_t round) {
             SCA_ConfigObj form("Rules", nullptr);
             return ProcessRulesForm(round % 3, &form) && client->SetProcessMonitorRules(&form);
         }},
        // A configuration imported whole, as the client's import does.
        {true, std::chrono::milliseconds(100),
         [&](SCA_KorvantaInterface* client, uint32_t) {
             return client->SetUserConfig(configuration.get(), SCA_TEZ_USER_ALL);
         }},
        {false, kNoRest,
         [](SCA_KorvantaInterface* client, uint32_t) {
             return WithReply([&](SCA_ConfigObj** status) {
                 SCA_ConfigObj* monitors = nullptr;
                 const int answered = client->GetStatusEx(status, &monitors);
                 SCA_Object::Destroy(monitors);
                 return answered;
             });
         }},
        {true, kNoRest,
         [&](SCA_KorvantaInterface* client, uint32_t round) {
             const uint32_t id = round % 2 == 0 ? busy : processes;
             uint32_t type = 0, status = 0, state = 0, errors = 0, warnings = 0;
             uint32_t statusId = 0;
             uint64_t time = 0, sound = 0;
             return WithReply([&](SCA_ConfigObj** list) {
                        return client->PerfMonitorGetCounters(id, list);
                    }) &&
                    WithReply([&](SCA_ConfigObj** list) {
                        SCA_ConfigObj* data = nullptr;
                        const int answered = client->GetMonitorStatusEx(
                            memory, &type, &status, &state, &errors, &warnings, &time, &statusId,
                            list, kNoCounterData, 0, 0, &data, &sound);
                        SCA_Object::Destroy(data);
                        return answered;
                    });
         }},
        {true, kNoRest,
         [&](SCA_KorvantaInterface* client, uint32_t) {
             uint32_t id = 0;
             return client->AddCounter(edited, kThreads, "", "", "", &id) &&
                    client->AddCounter(edited, SCA_COUNTER_CPU_USAGE, "", "", "", &id) &&
                    client->DeleteCounter(edited, id) &&
                    client->IsCounterExists(edited, kThreads, "", "", "", &id) &&
                    client->DeleteCounter(edited, id);
         }},
        {true, std::chrono::milliseconds(50),
         [&](SCA_KorvantaInterface* client, uint32_t round) {
             const uint32_t id = round % 2 == 0 ? driven : drivenProcesses;
             return client->PauseMonitor(id) && client->StartMonitor(id) &&
                    client->ResetMonitor(id) && client->StopMonitor(id) && client->StartMonitor(id);
         }},
        // A monitor that runs for one rest, started and ended in turns, of either kind.
        {true, std::chrono::milliseconds(200),
         [&](SCA_KorvantaInterface* client, uint32_t round) -> int {
             if (round % 2 == 1) {
                 return client->StopMonitor(shortLived) && client->DeleteMonitor(shortLived);
             }
             shortLived = round % 4 == 0
                              ? Scenario::StartedMonitor(client, SCA_SRV_MONITOR_COUNTERS,
                                                         "Short-lived", {SCA_COUNTER_MEMORY_USAGE})
                              : Scenario::StartedMonitor(client, SCA_SRV_MONITOR_PROCESS,
                                                         "Short-lived processes", {});
             return shortLived != 0 ? 1 : 0;
         }},
    };
    ASSERT_EQ(kClients, workers.size());
    const std::vector<uint32_t> failed = scenario.Run(workers);
    for (size_t i = 0; i < failed.size(); ++i) {
        EXPECT_EQ(0u, failed[i]) << "worker " << i;
    }
    admin.reset();
    ASSERT_EQ(1, service.Terminate());
    EXPECT_EQ(0, service.ExitCode()) << "see " << service.LogPath();
    std::ifstream log(service.LogPath());
    std::string line;
    while (std::getline(log, line) && line.find("Sanitizer") == std::string::npos) {
    }
    EXPECT_EQ("", line) << "the first finding of the service's log";
}

} // namespace
