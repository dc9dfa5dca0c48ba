// SPDX-License-Identifier: MIT
// The object arguments of the client operations that take one, as a logged-in client sends
// them, through the agent against a control object in a folder of its own. The first byte
// picks the operation, the second a monitor, counter or profile id or a mask, and the rest is
// the tree. After every operation the service still answers a client's reads of its
// configuration, its monitors and its reports.
#include <cstddef>
#include <cstdint>

#include "fuzz/FuzzServiceSupport.h"
#include "model/SCA_SrvMonitor.h"
#include "model/SCA_SrvMonitorList.h"

namespace {

// What the operations find: two monitors, the first with one counter.
struct Target {
    fuzz_service::Service Service;
    std::unique_ptr<SCA_KorvantaAgent> Agent;
    bool Ready = false;

    Target() {
        Agent = Service.NewAgent();
        uint32_t id = 0;
        uint32_t counter = 0;
        Ready = Service.IsReady() && Service.SignIn(Agent.get()) &&
                Agent->AddMonitor(0, 0, "Counters", &id) &&
                Agent->AddCounter(id, 1, "", "", "", &counter) &&
                Agent->AddMonitor(1, 0, "Processes", &id);
    }
    ~Target() { Agent.reset(); }
};

Target& TheTarget() {
    static Target target;
    return target;
}

using ObjectCall = int (*)(SCA_KorvantaAgent* agent, uint32_t id, SCA_ConfigObj* object);

// The reply objects an operation hands out, freed.
int Drop(int result, SCA_ConfigObj* list) {
    SCA_Object::Destroy(list);
    return result;
}

const ObjectCall kCalls[] = {
    [](SCA_KorvantaAgent* a, uint32_t, SCA_ConfigObj* o) { return a->SetProductConfig(o); },
    [](SCA_KorvantaAgent* a, uint32_t mask, SCA_ConfigObj* o) { return a->SetUserConfig(o, mask); },
    [](SCA_KorvantaAgent* a, uint32_t, SCA_ConfigObj* o) { return a->SetProcessMonitorRules(o); },
    [](SCA_KorvantaAgent* a, uint32_t id, SCA_ConfigObj* o) { return a->SetProfile(id, o); },
    [](SCA_KorvantaAgent* a, uint32_t, SCA_ConfigObj* o) {
        SCA_ConfigObj* list = nullptr;
        uint32_t status = 0;
        return Drop(a->PerfMonitorGetProcessList("", o, &list, &status), list);
    },
    [](SCA_KorvantaAgent* a, uint32_t kind, SCA_ConfigObj* o) {
        SCA_ConfigObj* list = nullptr;
        uint32_t status = 0;
        return Drop(a->PerfMonitorGetSmbShareList("", kind, o, &list, &status), list);
    },
    [](SCA_KorvantaAgent* a, uint32_t, SCA_ConfigObj* o) {
        SCA_ConfigObj* list = nullptr;
        uint32_t status = 0;
        return Drop(a->PerfMonitorGetSqlDatabases("", "", o, &list, &status), list);
    },
    [](SCA_KorvantaAgent* a, uint32_t, SCA_ConfigObj* o) {
        SCA_ConfigObj* list = nullptr;
        uint32_t status = 0;
        return Drop(a->PerfMonitorGetWebSiteList("", o, &list, &status), list);
    },
    [](SCA_KorvantaAgent* a, uint32_t, SCA_ConfigObj* o) {
        SCA_ConfigObj* list = nullptr;
        uint32_t status = 0;
        return Drop(a->PerfMonitorGetISCSITargets("", o, &list, &status), list);
    },
    [](SCA_KorvantaAgent* a, uint32_t, SCA_ConfigObj* o) {
        uint32_t id = 0;
        uint32_t exists = 0;
        return a->IsMonitorExists(o, &id, &exists);
    },
    [](SCA_KorvantaAgent* a, uint32_t id, SCA_ConfigObj* o) { return a->SetMonitorObj(id, o); },
    [](SCA_KorvantaAgent* a, uint32_t id, SCA_ConfigObj* o) { return a->SetCounterInfo(1, id, o); },
    [](SCA_KorvantaAgent* a, uint32_t id, SCA_ConfigObj* o) {
        return a->SetMonitorProcessExcludeList(id, o);
    },
    [](SCA_KorvantaAgent* a, uint32_t, SCA_ConfigObj* o) {
        uint32_t exists = 0;
        return a->IsReportExists(o, &exists);
    },
    [](SCA_KorvantaAgent* a, uint32_t, SCA_ConfigObj* o) {
        uint32_t id = 0;
        return a->AddReportObj(o, &id);
    },
};
constexpr size_t kCallCount = sizeof(kCalls) / sizeof(kCalls[0]);

// What a client reads next must still be answered.
void CheckStillServed(SCA_KorvantaAgent* agent) {
    SCA_ConfigObj* object = nullptr;
    if (!agent->GetUserConfig(&object)) {
        __builtin_trap();
    }
    SCA_Object::Destroy(object);
    object = nullptr;
    if (!agent->GetMonitors(&object)) {
        __builtin_trap();
    }
    SCA_Object::Destroy(object);
    object = nullptr;
    if (!agent->GetReportIndexObj(&object)) {
        __builtin_trap();
    }
    SCA_Object::Destroy(object);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2 || size > fuzz_service::kMaxInput) {
        return 0;
    }
    SCA_SetErrorCallback(fuzz_service::Quiet, nullptr);
    Target& target = TheTarget();
    if (!target.Ready) {
        __builtin_trap();
    }
    auto tree = fuzz_service::TreeFrom(data + 2, size - 2);
    if (tree == nullptr) {
        return 0;
    }
    // Small ids find the monitors, counters and profiles there are; a mask takes every bit.
    const uint32_t id = data[1] == 0xFF ? 0xFFFFFFFFu : data[1];
    kCalls[data[0] % kCallCount](target.Agent.get(), id, tree.get());
    CheckStillServed(target.Agent.get());
    return 0;
}
