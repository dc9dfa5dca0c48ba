// SPDX-License-Identifier: MIT
// Round trips of the client object on 127.0.0.1, each against its floor: the raw transport and
// command-server template carrying the same request and reply trees. Prints the 50th and 99th
// percentile of each and the ratio to raw.
//   - GetStatusEx with 200 monitor rows and GetMonitorStatusEx with 60 counters through client,
//     command server and a scripted agent.
// The service's own answer to GetStatusEx is measured by bench_status_poll, against a
// byte-for-byte replay of its reply.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "libtez/SCA_KorvantaInterface.h"
#include "libtez/SCA_KorvantaServer.h"
#include "libtez/SCA_KorvantaVirtualFactory.h"
#include "model/SCA_ConfigObj.h"
#include "net/SCA_NetServer.h"
#include "net/SCA_NetServerAgent.h"
#include "net/SCA_NetTransport.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRounds = 5000;
constexpr int kWarmUp = 200;
constexpr uint32_t kMonitors = 200;
constexpr uint32_t kCounters = 60;
constexpr uint32_t kTimeoutMs = 5000;

std::unique_ptr<SCA_ConfigObj> MonitorsStatus() {
    auto object = std::make_unique<SCA_ConfigObj>("MonitorsStatus", nullptr);
    for (uint32_t id = 1; id <= kMonitors; ++id) {
        object->AddField(std::to_string(id).c_str(), "9 11 12 0 1 - Processor and memory");
    }
    return object;
}

std::unique_ptr<SCA_ConfigObj> ServerStatus() {
    auto object = std::make_unique<SCA_ConfigObj>("ServerStatus", nullptr);
    object->AddField("ServerStatus", 1);
    object->AddField("MonitorsStatusId", 17u);
    object->AddField("MonitorCount", kMonitors);
    object->AddField("LastSoundActionTime", uint64_t{133456789012345678ull});
    return object;
}

std::unique_ptr<SCA_ConfigObj> CountersStatus() {
    auto object = std::make_unique<SCA_ConfigObj>("CSL", nullptr);
    for (uint32_t id = 1; id <= kCounters; ++id) {
        SCA_ConfigObj* counter = object->AddConfigObj(std::to_string(id).c_str());
        counter->AddField("Status", 3u);
        counter->AddField("Value", 12.5);
        counter->AddField("Text", "12.50 %");
    }
    return object;
}

struct Trees {
    std::unique_ptr<SCA_ConfigObj> Server = ServerStatus();
    std::unique_ptr<SCA_ConfigObj> Monitors = MonitorsStatus();
    std::unique_ptr<SCA_ConfigObj> Counters = CountersStatus();
};

class Agent : public SCA_KorvantaVirtual {
public:
    explicit Agent(const Trees* trees) : m_Trees(trees) {}
    int GetStatusEx(SCA_ConfigObj** server, SCA_ConfigObj** monitors) override {
        *server = new SCA_ConfigObj(*m_Trees->Server);
        *monitors = new SCA_ConfigObj(*m_Trees->Monitors);
        return 1;
    }
    int GetMonitorStatusEx(uint32_t, uint32_t* type, uint32_t* status, uint32_t* state, uint32_t*,
                           uint32_t*, uint64_t* processTime, uint32_t*, SCA_ConfigObj** csl,
                           uint32_t, uint64_t, uint32_t, SCA_ConfigObj** ccd, uint64_t*) override {
        *type = 0;
        *status = 9;
        *state = 11;
        *processTime = 1234;
        *csl = new SCA_ConfigObj(*m_Trees->Counters);
        *ccd = new SCA_ConfigObj("CCD", nullptr);
        return 1;
    }

private:
    const Trees* m_Trees;
};

class Factory : public SCA_KorvantaVirtualFactory {
public:
    explicit Factory(const Trees* trees) : m_Agent(trees) {}
    SCA_KorvantaVirtual* CreateAgent(SCA_NetServerAgent* connection) override {
        connection->SetAuthenticated(1); // the benchmark measures the operations, not the login
        return &m_Agent;
    }
    SCA_KorvantaVirtual* GetAgent(uint32_t) override { return &m_Agent; }
    int DeleteAgent(uint32_t) override { return 1; }
    uint32_t GetServerLoginMode() override { return 0; }

private:
    Agent m_Agent;
};

// The reference: the same reply trees copied into the reply by a bare command server.
class RawServer : public SCA_NetServer<RawServer> {
public:
    RawServer(const Trees* trees, uint32_t* error)
        : SCA_NetServer<RawServer>(this, "raw", 0, error), m_Trees(trees) {
        RegisterCommand("GetStatusEx", &RawServer::StatusEx);
        RegisterCommand("GetMonitorStatusEx", &RawServer::MonitorStatusEx);
        StartDispatch(error);
    }
    ~RawServer() override { StopAll(); }
    int ConnectEvent(SCA_NetServerAgent*) override { return 1; }
    int DisconnectEvent(SCA_NetServerAgent*) override { return 1; }
    uint32_t GetLoginMode() const { return 0; }

private:
    int StatusEx(SCA_NetServerAgent*, SCA_NetMessage*, SCA_NetMessage* reply) {
        reply->GetData()->AddField("ServerStatus", new SCA_ConfigObj(*m_Trees->Server), 0);
        reply->GetData()->AddField("MonitorsStatus", new SCA_ConfigObj(*m_Trees->Monitors), 0);
        return reply->SetCommandName("OK");
    }
    int MonitorStatusEx(SCA_NetServerAgent*, SCA_NetMessage*, SCA_NetMessage* reply) {
        SCA_ConfigObj* data = reply->GetData();
        for (const char* name : {"Type", "Status", "RunState", "Errors", "Warnings"}) {
            data->AddField(name, 9u);
        }
        data->AddField("ProcessTime", uint64_t{1234});
        data->AddField("CountersStatusId", 3u);
        data->AddField("CountersStatus", new SCA_ConfigObj(*m_Trees->Counters), 0);
        data->AddField("CounterData", new SCA_ConfigObj("CCD", nullptr), 0);
        data->AddField("LastSoundTime", uint64_t{0});
        return reply->SetCommandName("OK");
    }

    const Trees* m_Trees;
};

struct Percentiles {
    double P50;
    double P99;
};

Percentiles Measure(const std::function<bool()>& roundTrip) {
    std::vector<double> micros;
    micros.reserve(kRounds);
    for (int i = 0; i < kWarmUp + kRounds; ++i) {
        const auto start = Clock::now();
        if (!roundTrip()) {
            std::fprintf(stderr, "round trip failed\n");
            return {0, 0};
        }
        if (i >= kWarmUp) {
            micros.push_back(
                std::chrono::duration<double, std::micro>(Clock::now() - start).count());
        }
    }
    std::sort(micros.begin(), micros.end());
    return {micros[micros.size() / 2], micros[micros.size() * 99 / 100]};
}

void Print(const char* what, Percentiles ours, Percentiles raw) {
    std::printf("%-20s client p50 %8.1f us  p99 %8.1f us | raw p50 %8.1f us  p99 %8.1f us | "
                "ratio p50 %.2f  p99 %.2f\n",
                what, ours.P50, ours.P99, raw.P50, raw.P99, ours.P50 / raw.P50, ours.P99 / raw.P99);
}

} // namespace

int main() {
    Trees trees;
    Factory factory(&trees);
    uint32_t error = 0;
    SCA_KorvantaServer server(&factory, 0, &error);
    RawServer raw(&trees, &error);
    SCA_KorvantaInterface client;
    SCA_NetTransport transport;
    if (!server.IsConstructed() || !raw.IsConstructed() ||
        !client.Connect("127.0.0.1", server.GetServerPort(), kTimeoutMs, &error) ||
        !transport.Connect("127.0.0.1", raw.GetServerPort(), kTimeoutMs, &error)) {
        std::fprintf(stderr, "cannot set up the servers (%u)\n", error);
        return 1;
    }
    SCA_NetMessage request;
    SCA_NetMessage reply;
    auto rawCall = [&](const char* name) {
        request.Init(name);
        if (std::string(name) == "GetMonitorStatusEx") {
            // The inputs that the client sends with it.
            request.GetData()->AddField("MonitorId", 1u);
            request.GetData()->AddField("CounterId", 2u);
            request.GetData()->AddField("LastDataTime", uint64_t{0});
            request.GetData()->AddField("Range", 60u);
        }
        return transport.SendMessageA(0, &request, &error) &&
               transport.WaitForMessage(kTimeoutMs, &reply, &error);
    };

    const Percentiles statusOurs = Measure([&] {
        SCA_ConfigObj* status = nullptr;
        SCA_ConfigObj* monitors = nullptr;
        const int done = client.GetStatusEx(&status, &monitors);
        SCA_Object::Destroy(status);
        SCA_Object::Destroy(monitors);
        return done == 1;
    });
    const Percentiles statusRaw = Measure([&] { return rawCall("GetStatusEx"); });
    Print("GetStatusEx/200", statusOurs, statusRaw);

    const Percentiles monitorOurs = Measure([&] {
        uint32_t n[7] = {};
        uint64_t time = 0;
        uint64_t sound = 0;
        SCA_ConfigObj* csl = nullptr;
        SCA_ConfigObj* ccd = nullptr;
        const int done = client.GetMonitorStatusEx(1, &n[0], &n[1], &n[2], &n[3], &n[4], &time,
                                                   &n[5], &csl, 2, 0, 60, &ccd, &sound);
        SCA_Object::Destroy(csl);
        SCA_Object::Destroy(ccd);
        return done == 1;
    });
    const Percentiles monitorRaw = Measure([&] { return rawCall("GetMonitorStatusEx"); });
    Print("GetMonitorStatusEx/60", monitorOurs, monitorRaw);
    return 0;
}
