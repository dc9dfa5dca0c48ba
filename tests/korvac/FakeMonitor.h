// SPDX-License-Identifier: MIT
#pragma once

// One counter monitor of the stand-in service, for the live windows' tests: its definition and
// profile, its run state and counts, each counter's status and the samples the service keeps
// for it. Install() makes the standing answers of the operations the live windows call, read
// from this state at each call, so a test changes the state between polls as a running service
// would.

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "FakeService.h"
#include "model/SCA_SrvMonitor.h"
#include "model/SCA_TezCounterInfo.h"
#include "model/SCA_TezCounterList.h"
#include "model/SCA_TezCounterStatus.h"
#include "model/SCA_TezErrorList.h"
#include "model/SCA_TezProcessStatus.h"
#include "model/SCA_TezProfile.h"
#include "model/SCA_TezReport.h"
#include "model/SCA_TezSampleStore.h"
#include "model/SCA_TezTaskStatus.h"

namespace korvac_test {

// One second of absolute time.
constexpr uint64_t kSecond = 10000000ull;
// When the fake's samples begin.
constexpr uint64_t kFirstSample = 133500000000000000ull;

// A counter's status after its first sample: one value, at level.
inline tagSCA_TEZ_COUNTER_STATUS FirstSampleStatus(uint32_t type, uint32_t level, double value) {
    tagSCA_TEZ_COUNTER_STATUS status{};
    status.CounterType = type;
    status.Status = level;
    status.ValueCount = 1;
    status.HasCurrent = true;
    status.Current = value;
    status.Minimum = value;
    status.Maximum = value;
    status.Average = value;
    return status;
}

// GetMonitorObj's answer: the monitor's definition as describe fills it at each call.
inline Answer MonitorObjAnswer(std::function<void(SCA_SrvMonitor*)> describe) {
    return Answer::Reply([describe](SCA_ConfigObj*, SCA_ConfigObj* reply) {
        SCA_SrvMonitor monitor(nullptr, nullptr);
        describe(&monitor);
        monitor.Serialize(reply->AddConfigObj("Monitor"));
    });
}

// What GetMonitorStats tells of a monitor.
struct MonitorStats {
    uint32_t Type;
    uint32_t Status;
    uint32_t RunState;
    uint32_t Counters;
    uint32_t Errors;
    uint32_t Warnings;
};

inline Answer MonitorStatsAnswer(std::function<MonitorStats()> stats) {
    return Answer::Reply([stats](SCA_ConfigObj*, SCA_ConfigObj* reply) {
        const MonitorStats now = stats();
        reply->AddField("Type", now.Type);
        reply->AddField("Status", now.Status);
        reply->AddField("RunState", now.RunState);
        reply->AddField("Counters", now.Counters);
        reply->AddField("Errors", now.Errors);
        reply->AddField("Warnings", now.Warnings);
    });
}

// The commands every monitor's window sends alike: start, pause and stop set *runState, reset
// is taken, and the monitor has no errors to list.
inline void InstallRunCommands(FakeService* service, uint32_t* runState) {
    const auto setState = [runState](uint32_t state) {
        return Answer::Reply(
            [runState, state](SCA_ConfigObj*, SCA_ConfigObj*) { *runState = state; });
    };
    service->Standing("StartMonitor", setState(SCA_PROCESS_RUNNING));
    service->Standing("PauseMonitor", setState(SCA_PROCESS_PAUSED));
    service->Standing("StopMonitor", setState(SCA_PROCESS_STOPPED));
    service->Standing("ResetMonitor", Answer::Ok());
    service->Standing("GetMonitorErrors", Answer::Reply([](SCA_ConfigObj*, SCA_ConfigObj* reply) {
                          SCA_TezErrorList errors;
                          errors.Serialize(reply->AddConfigObj("Errors"));
                      }));
}

class FakeMonitor {
public:
    struct Counter {
        tagSCA_TEZ_COUNTER_STATUS Status{};
        std::vector<tagSCA_TEZ_SAMPLE> Samples; // oldest first
        bool Listed = true;                     // in the counters status list
    };

    uint32_t MonitorId = 7;
    std::string Description = "Local processor load";
    uint32_t Mode = 1;
    uint32_t RunState = SCA_PROCESS_RUNNING;
    uint32_t TaskStatus = SCA_TASK_STATUS_RUNNING;
    uint32_t Errors = 0;
    uint32_t Warnings = 0;
    uint64_t ProcessTime = 3725;
    uint64_t LastSoundTime = 0;
    SCA_TezProfile Profile;
    std::map<uint32_t, Counter> Counters;
    // SetCounterInfo's last record.
    SCA_TezCounterInfo SetInfo;

    // Adds a counter of type to the profile with a status and no samples; its id.
    uint32_t AddCounter(uint32_t type, const char* instance, uint32_t level, double current) {
        uint32_t id = 0;
        Profile.GetCounterList()->AddCounter(type, "", instance, "", &id);
        Counters[id].Status = FirstSampleStatus(type, level, current);
        return id;
    }
    // count samples one second apart after the newest held (values 1, 2, 3, ...).
    void AddSamples(uint32_t id, uint32_t count) {
        std::vector<tagSCA_TEZ_SAMPLE>& samples = Counters[id].Samples;
        for (uint32_t i = 0; i < count; ++i) {
            const uint64_t time = samples.empty() ? kFirstSample : samples.back().AbsTime + kSecond;
            samples.push_back({time, static_cast<double>(samples.size() + 1), true});
        }
    }
    // Adds count samples to counter id, the first step seconds after the newest (negative:
    // the wall clock stepped back), the rest a second apart.
    void AddSamplesAfterStep(uint32_t id, int64_t stepSeconds, uint32_t count) {
        std::vector<tagSCA_TEZ_SAMPLE>& samples = Counters[id].Samples;
        uint64_t time = samples.empty() ? kFirstSample : samples.back().AbsTime;
        time = static_cast<uint64_t>(static_cast<int64_t>(time) +
                                     stepSeconds * static_cast<int64_t>(kSecond));
        for (uint32_t i = 0; i < count; ++i, time += kSecond) {
            samples.push_back({time, static_cast<double>(samples.size() + 1), true});
        }
    }
    uint32_t CountersStatusId() const { return Profile.GetCounterList()->GetCountersStatusId(); }

    void Install(FakeService* service) {
        service->Standing("GetMonitorObj", MonitorObjAnswer([this](SCA_SrvMonitor* monitor) {
                              monitor->SetMonitorId(MonitorId);
                              monitor->SetMonitorMode(Mode);
                              monitor->SetDescription(Description.c_str());
                          }));
        service->Standing("GetMonitorProfile",
                          Answer::Reply([this](SCA_ConfigObj*, SCA_ConfigObj* reply) {
                              reply->AddField("Type", 0u);
                              reply->AddField("CountersStatusId", CountersStatusId());
                              Profile.Serialize(reply->AddConfigObj("Profile"));
                          }));
        service->Standing("GetMonitorStats", MonitorStatsAnswer([this] {
                              return MonitorStats{0u,       TaskStatus,
                                                  RunState, Profile.GetCounterList()->Count(),
                                                  Errors,   Warnings};
                          }));
        service->Standing("GetMonitorStatusEx",
                          Answer::Reply([this](SCA_ConfigObj* request, SCA_ConfigObj* reply) {
                              WriteStatus(request, reply);
                          }));
        service->Standing("GetCounterStatusEx",
                          Answer::Reply([this](SCA_ConfigObj* request, SCA_ConfigObj* reply) {
                              uint32_t id = 0;
                              request->GetField("CounterId", &id);
                              char text[SCA_TEZ_COUNTER_STATUS_SIZE] = "";
                              SCA_TezBuildCounterStatus(Counters[id].Status, text, sizeof(text));
                              reply->AddField("StatusText", text);
                              WriteSamples(request, "Since", "Count", id,
                                           reply->AddConfigObj("CounterData"));
                          }));
        InstallRunCommands(service, &RunState);
        service->Standing("GetMonitorReport",
                          Answer::Reply([this](SCA_ConfigObj*, SCA_ConfigObj* reply) {
                              WriteReport(reply->AddConfigObj("Report"));
                          }));
        service->Standing("GetCounterInfo",
                          Answer::Reply([this](SCA_ConfigObj* request, SCA_ConfigObj* reply) {
                              SCA_TezCounterInfo* info = nullptr;
                              Profile.GetCounterList()->GetCounter(Id(request), &info);
                              info->Serialize(reply->AddConfigObj("CounterInfo"));
                          }));
        service->Standing("SetCounterInfo",
                          Answer::Reply([this](SCA_ConfigObj* request, SCA_ConfigObj*) {
                              SCA_ConfigObj* info = nullptr;
                              request->GetField("CounterInfo", &info);
                              SetInfo.Deserialize(info);
                          }));
        service->Standing("DeleteCounter",
                          Answer::Reply([this](SCA_ConfigObj* request, SCA_ConfigObj*) {
                              Profile.GetCounterList()->DeleteCounter(Id(request));
                              Counters.erase(Id(request));
                          }));
        service->Standing("MoveCounterUp",
                          Answer::Reply([this](SCA_ConfigObj* request, SCA_ConfigObj*) {
                              Profile.GetCounterList()->MoveCounterUp(Id(request));
                          }));
    }

    // The reply of GetMonitorStatusEx to request, as the service writes it.
    void WriteStatus(SCA_ConfigObj* request, SCA_ConfigObj* reply) {
        reply->AddField("Type", 0u);
        reply->AddField("Status", TaskStatus);
        reply->AddField("RunState", RunState);
        reply->AddField("Errors", Errors);
        reply->AddField("Warnings", Warnings);
        reply->AddField("ProcessTime", ProcessTime);
        reply->AddField("CountersStatusId", CountersStatusId());
        SCA_ConfigObj* list = reply->AddConfigObj("CountersStatus");
        for (auto* node = Profile.GetCounterList()->GetHead(); node != nullptr;
             node = node->GetNext()) {
            const uint32_t id = node->GetItem()->GetCounterId();
            if (Counters[id].Listed) {
                SCA_TezAddCounterStatusField(list, id, Counters[id].Status);
            }
        }
        WriteSamples(request, "LastDataTime", "Range", Id(request),
                     reply->AddConfigObj("CounterData"));
        reply->AddField("LastSoundTime", LastSoundTime);
    }

private:
    static uint32_t Id(SCA_ConfigObj* request) {
        uint32_t id = 0;
        request->GetField("CounterId", &id);
        return id;
    }

    // The samples of counter id after the request's time field, the newest of its count field.
    void WriteSamples(SCA_ConfigObj* request, const char* timeField, const char* countField,
                      uint32_t id, SCA_ConfigObj* object) {
        uint64_t since = 0;
        uint32_t count = 0;
        request->GetField(timeField, &since);
        request->GetField(countField, &count);
        auto found = Counters.find(id);
        if (found == Counters.end()) {
            return;
        }
        // As the service answers, a clock that stepped back included: from its own store.
        const std::vector<tagSCA_TEZ_SAMPLE>& samples = found->second.Samples;
        SCA_TezSampleStore store(std::max<uint32_t>(1, static_cast<uint32_t>(samples.size())));
        for (const tagSCA_TEZ_SAMPLE& sample : samples) {
            store.AddSample(sample.AbsTime, sample.Value, sample.HasValue);
        }
        store.WriteSamples(since, count, object);
    }

    void WriteReport(SCA_ConfigObj* object) {
        SCA_TezReport report(nullptr, nullptr, 1);
        report.SetProfileName("Processor profile");
        report.SetDescription(Description.c_str());
        for (auto& [id, counter] : Counters) {
            auto* live = new SCA_TezCounter();
            live->SetCounterId(id);
            live->SetCounterType(counter.Status.CounterType);
            uint64_t last = 0;
            live->AddSamples(counter.Samples, &last);
            live->SetRepStatus(counter.Status.Status);
            report.AddCounter(live);
        }
        report.Serialize(object);
    }
};

} // namespace korvac_test
