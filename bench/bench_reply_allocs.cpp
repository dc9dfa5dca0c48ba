// SPDX-License-Identifier: MIT
// Heap allocations per reply of the operations every client polls, counted in this process: the
// service's control object and command server run here on a loopback port, a client object
// asks. Every malloc, calloc and realloc of the process is counted; the client's share is that
// of the calling thread, the service's the rest. The monitors are defined but not started, so
// that no sampling thread allocates during the count; their rows are the same either way.
//   - GetStatusEx with 200 and 500 monitors (one status row each);
//   - GetMonitorStatusEx of one monitor (one status row per counter).
// Prints the median over the rounds of each count, and per monitor.
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "korvas/SCA_KorvantaCtrl.h"
#include "libtez/SCA_KorvantaInterface.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_SrvMonitor.h"
#include "model/SCA_TezConfigFiles.h"
#include "net/SCA_KorvantaLogin.h"
#include "tests/support/KorvantaTestSupport.h"

extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* memory, size_t size);
}

namespace {

std::atomic<uint64_t> g_Allocations{0};
thread_local uint64_t t_Allocations = 0;

void CountAllocation() {
    g_Allocations.fetch_add(1, std::memory_order_relaxed);
    ++t_Allocations;
}

} // namespace

extern "C" void* malloc(size_t size) noexcept {
    CountAllocation();
    return __libc_malloc(size);
}

extern "C" void* calloc(size_t count, size_t size) noexcept {
    CountAllocation();
    return __libc_calloc(count, size);
}

extern "C" void* realloc(void* memory, size_t size) noexcept {
    CountAllocation();
    return __libc_realloc(memory, size);
}

namespace {

constexpr uint32_t kScale[] = {200, 500};
constexpr int kRounds = 200;
constexpr uint32_t kWaitMs = 5000;

struct Counts {
    uint64_t Client;
    uint64_t Service;
};

// The median counts of kRounds calls of call.
Counts Count(const std::function<bool()>& call) {
    std::vector<uint64_t> client;
    std::vector<uint64_t> service;
    for (int round = 0; round < kRounds; ++round) {
        const uint64_t allBefore = g_Allocations.load();
        const uint64_t mineBefore = t_Allocations;
        if (!call()) {
            std::fprintf(stderr, "the call failed\n");
            return {0, 0};
        }
        const uint64_t mine = t_Allocations - mineBefore;
        client.push_back(mine);
        service.push_back(g_Allocations.load() - allBefore - mine);
    }
    auto median = [](std::vector<uint64_t>* counts) {
        std::sort(counts->begin(), counts->end());
        return (*counts)[counts->size() / 2];
    };
    return {median(&client), median(&service)};
}

void Print(const std::string& what, Counts counts, uint32_t rows) {
    std::printf(
        "%-24s service %7llu (%.2f per row)  client %7llu (%.2f per row)\n", what.c_str(),
        static_cast<unsigned long long>(counts.Service), static_cast<double>(counts.Service) / rows,
        static_cast<unsigned long long>(counts.Client), static_cast<double>(counts.Client) / rows);
}

bool AddMonitors(SCA_KorvantaInterface* client, uint32_t from, uint32_t to) {
    for (uint32_t i = from; i < to; ++i) {
        uint32_t id = 0;
        const std::string name = "Processor and memory " + std::to_string(i + 1);
        if (!client->AddMonitor(SCA_SRV_MONITOR_COUNTERS, 0, name.c_str(), &id)) {
            std::fprintf(stderr, "cannot add monitor %u\n", i + 1);
            return false;
        }
    }
    return true;
}

bool Run(const std::string& home) {
    setenv(SCA_TEZ_HOME_VARIABLE, home.c_str(), 1);
    SCA_KorvantaCtrl ctrl;
    char program[] = "korvas";
    char option[] = "-control_port";
    char any[] = "0";
    char* args[] = {program, option, any};
    uint32_t code = 0;
    if (!ctrl.Init(3, args, &code) || !ctrl.DoStartServer()) {
        std::fprintf(stderr, "the service did not start (%u)\n", code);
        return false;
    }
    std::ifstream file(home + "/" + SCA_TEZ_INITIAL_PASSWORD_FILE);
    std::string password;
    std::getline(file, password);
    SCA_KorvantaInterface client;
    uint32_t error = 0;
    uint32_t status = 0;
    if (!client.Connect("127.0.0.1", ctrl.GetServerPort(), kWaitMs, &error) ||
        !client.Login("admin", password.c_str(), &status) || status != SCA_KORVANTA_LOGGED_IN) {
        std::fprintf(stderr, "cannot log in (%u)\n", error);
        ctrl.DoStopServer();
        return false;
    }
    uint32_t defined = 0;
    bool done = true;
    for (const uint32_t monitors : kScale) {
        if (!AddMonitors(&client, defined, monitors)) {
            done = false;
            break;
        }
        defined = monitors;
        const Counts counts = Count([&] {
            SCA_ConfigObj* server = nullptr;
            SCA_ConfigObj* rows = nullptr;
            const int answered = client.GetStatusEx(&server, &rows);
            SCA_Object::Destroy(server);
            SCA_Object::Destroy(rows);
            return answered == 1;
        });
        Print("GetStatusEx/" + std::to_string(monitors), counts, monitors);
    }
    if (done) {
        uint32_t rows = 0;
        const Counts counts = Count([&] {
            uint32_t n[7] = {};
            uint64_t time = 0;
            uint64_t sound = 0;
            SCA_ConfigObj* list = nullptr;
            SCA_ConfigObj* data = nullptr;
            const int answered = client.GetMonitorStatusEx(
                1, &n[0], &n[1], &n[2], &n[3], &n[4], &time, &n[5], &list, 0, 0, 0, &data, &sound);
            rows = list != nullptr ? list->GetFieldCount() : 0;
            SCA_Object::Destroy(list);
            SCA_Object::Destroy(data);
            return answered == 1;
        });
        Print("GetMonitorStatusEx", counts, std::max(rows, 1u));
    }
    client.DisconnectFromNetwork();
    ctrl.DoStopServer();
    ctrl.DeleteAllTasks();
    unsetenv(SCA_TEZ_HOME_VARIABLE);
    return done;
}

} // namespace

int main() {
    korvanta_test::TempDir home;
    return !home.Path().empty() && Run(home.Path()) ? 0 : 1;
}
