// SPDX-License-Identifier: MIT
#pragma once

// One process monitor of the stand-in service, for the process windows' tests: its run state,
// its processes (name, id, counts and measures), its event log, its exclude list and rules, and
// the counters of each process. Install() makes the standing answers of the operations the
// process windows call, read from this state at each call.

#include <map>
#include <string>
#include <vector>

#include "FakeMonitor.h"
#include "FakeService.h"
#include "libtez/SCA_TezProcessStatusText.h"
#include "model/SCA_SrvMonitor.h"
#include "model/SCA_TezCounterList.h"
#include "model/SCA_TezMonitorKinds.h"
#include "model/SCA_TezProcessLog.h"
#include "model/SCA_TezProcessRules.h"
#include "model/SCA_TezVocabulary.h"

namespace korvac_test {

class FakeProcessMonitor {
public:
    struct Process {
        std::string Name;
        tagSCA_TEZ_PROCESS_STATUS Status;
    };

    uint32_t MonitorId = 9;
    std::string Description = "All processes";
    uint32_t RunState = SCA_PROCESS_RUNNING;
    uint32_t RepStatus = SCA_REP_STATUS_MESSAGE;
    uint32_t ListStatus = 1;
    std::vector<Process> Processes;
    SCA_TezProcessLog Log;
    std::vector<std::string> Excluded = {"_Total", "Idle"};
    SCA_TezProcessRules Rules;
    // The single-process window's process: its counters, counts and the samples of each.
    SCA_TezCounterList Counters;
    std::map<uint32_t, FakeMonitor::Counter> CounterStates;
    uint32_t Instances = 2;
    uint64_t StartTime = kFirstSample;

    void AddProcess(const char* name, uint32_t id, uint32_t instances, double cpu, double memory,
                    double threads, double handles) {
        Process process;
        process.Name = name;
        process.Status.ProcessId = id;
        process.Status.RepStatus = SCA_REP_STATUS_MESSAGE;
        process.Status.InstanceCount = instances;
        process.Status.Measure[0] = cpu;
        process.Status.Measure[1] = memory;
        process.Status.Measure[2] = threads;
        process.Status.Measure[3] = handles;
        process.Status.MeasureValid = 0xF;
        Processes.push_back(process);
    }
    // A start (0) or end (1) event of a process; its item id.
    uint32_t AddEvent(uint32_t opCode, uint32_t pid, const char* name, const char* user) {
        auto* item = new SCA_TezProcessLogItem();
        item->SetItemId(SCA_ALL_ONES); // the log numbers it
        item->SetOpCode(opCode);
        item->SetProcessId(pid);
        item->SetProcessName(name);
        item->SetUserName(user);
        item->SetAbsTime(kFirstSample / kSecond);
        Log.AddItem(item);
        return item->GetItemId();
    }
    uint32_t AddCounter(uint32_t type, double current) {
        uint32_t id = 0;
        Counters.AddCounter(type, "", "", "", &id);
        CounterStates[id].Status = FirstSampleStatus(type, SCA_REP_STATUS_MESSAGE, current);
        return id;
    }

    void Install(FakeService* service) {
        service->Standing("GetMonitorObj", MonitorObjAnswer([this](SCA_SrvMonitor* monitor) {
                              monitor->SetMonitorId(MonitorId);
                              monitor->SetMonitorType(SCA_SRV_MONITOR_PROCESS);
                              monitor->SetDescription(Description.c_str());
                          }));
        service->Standing("GetMonitorStats", MonitorStatsAnswer([this] {
                              return MonitorStats{
                                  SCA_SRV_MONITOR_PROCESS, RepStatus, RunState, 0u, 0u, 0u};
                          }));
        service->Standing("GetMonitorProcessListStatusEx",
                          Answer::Reply([this](SCA_ConfigObj* request, SCA_ConfigObj* reply) {
                              WriteListStatus(request, reply);
                          }));
        service->Standing("GetMonitorProcessCounterList",
                          Answer::Reply([this](SCA_ConfigObj*, SCA_ConfigObj* reply) {
                              WriteState(reply);
                              reply->AddField("StartTime", StartTime);
                              Counters.Serialize(reply->AddConfigObj("CounterList"));
                          }));
        service->Standing("GetMonitorProcessCountersStatusEx",
                          Answer::Reply([this](SCA_ConfigObj*, SCA_ConfigObj* reply) {
                              WriteState(reply);
                              SCA_ConfigObj* list = reply->AddConfigObj("CountersStatus");
                              for (auto& [id, counter] : CounterStates) {
                                  if (Instances == 0) {
                                      break;
                                  }
                                  SCA_TezAddCounterStatusField(list, id, counter.Status);
                              }
                              reply->AddConfigObj("CounterData");
                              reply->AddField("LastSoundTime", uint64_t{0});
                          }));
        service->Standing("GetMonitorProcessExcludeList",
                          Answer::Reply([this](SCA_ConfigObj*, SCA_ConfigObj* reply) {
                              SCA_ConfigObj* list = reply->AddConfigObj("ExcludeList");
                              for (const std::string& name : Excluded) {
                                  list->AddField(name.c_str(), "");
                              }
                          }));
        service->Standing("SetMonitorProcessExcludeList",
                          Answer::Reply([this](SCA_ConfigObj* request, SCA_ConfigObj*) {
                              SCA_ConfigObj* list = nullptr;
                              Excluded.clear();
                              if (request->GetField("ExcludeList", &list)) {
                                  for (SCA_Field* field = list->GetHead(); field != nullptr;
                                       field = field->GetNext()) {
                                      Excluded.emplace_back(field->GetName());
                                  }
                              }
                          }));
        service->Standing("GetProcessMonitorRules",
                          Answer::Reply([this](SCA_ConfigObj*, SCA_ConfigObj* reply) {
                              Rules.Serialize(reply->AddConfigObj("Rules"));
                          }));
        service->Standing("SetProcessMonitorRules",
                          Answer::Reply([this](SCA_ConfigObj* request, SCA_ConfigObj*) {
                              SCA_ConfigObj* rules = nullptr;
                              if (request->GetField("Rules", &rules)) {
                                  Rules.ClearAll();
                                  Rules.Deserialize(rules);
                              }
                          }));
        InstallRunCommands(service, &RunState);
    }

private:
    void WriteListStatus(SCA_ConfigObj* request, SCA_ConfigObj* reply) {
        uint32_t from = SCA_ALL_ONES;
        request->GetField("LogFromId", &from);
        reply->AddField("Type", SCA_SRV_MONITOR_PROCESS);
        reply->AddField("Status", RepStatus);
        reply->AddField("ProcessStatus", RunState);
        reply->AddField("StartTime", StartTime);
        reply->AddField("ListStatus", ListStatus);
        SCA_ConfigObj* list = reply->AddConfigObj("ProcessListStatus");
        for (const Process& process : Processes) {
            SCA_TezAddProcessStatusField(list, process.Name.c_str(), process.Status);
        }
        Log.Serialize(from, reply->AddConfigObj("ProcessLog"));
    }
    // A process without instances has ended: the service no longer lists it and answers with
    // neutral values and no counters.
    void WriteState(SCA_ConfigObj* reply) {
        reply->AddField("ProcessStatus", RunState);
        reply->AddField("Status", RunState);
        reply->AddField("ReportStatus", Instances != 0 ? RepStatus : SCA_REP_STATUS_NONE);
        reply->AddField("Errors", 0u);
        reply->AddField("Warnings", 0u);
        reply->AddField("Instances", Instances);
    }
};

} // namespace korvac_test
