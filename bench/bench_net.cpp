// SPDX-License-Identifier: MIT
// Request and reply of a small tree on 127.0.0.1 over the transport and command server,
// against a minimal raw-socket ping-pong of the very same bytes (blocking sockets, a thread
// per connection), with 1 and 16 connections. Each run prints requests per second and the
// 50th and 99th percentile round trip; the summary at the end gives the ratio to raw.
#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include <benchmark/benchmark.h>

#include "libmor/SCA_System.h"
#include "net/SCA_NetFrameWriter.h"
#include "net/SCA_NetServer.h"
#include "net/SCA_NetTransport.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kTotalRequests = 40000;

void FillRequest(SCA_NetMessage* request) {
    request->Init("UpdateDeviceStatus");
    SCA_ConfigObj* data = request->GetData();
    data->AddField("DeviceId", 42u);
    data->AddField("LastUpdateTime", uint64_t{133456789012345678ull});
    SCA_ConfigObj* status = data->AddConfigObj("DeviceStatus");
    status->AddField("HostName", "bench-host-01");
    status->AddField("CpuUsage", 12.5);
    status->AddField("ActiveMonitors", 3u);
}

// The reply the handler builds: the request's tree back, named "OK".
class BenchServer : public SCA_NetServer<BenchServer> {
public:
    explicit BenchServer(uint32_t* error) : SCA_NetServer<BenchServer>(this, "bench", 0, error) {
        RegisterCommand("UpdateDeviceStatus", &BenchServer::UpdateDeviceStatus);
        StartDispatch(error);
    }
    ~BenchServer() override { StopAll(); }

    int ConnectEvent(SCA_NetServerAgent*) override { return 1; }
    int DisconnectEvent(SCA_NetServerAgent*) override { return 1; }
    uint32_t GetLoginMode() const { return 0; }

    int UpdateDeviceStatus(SCA_NetServerAgent*, SCA_NetMessage* request, SCA_NetMessage* reply) {
        reply->GetData()->SetContent(request->GetData());
        return reply->SetCommandName("OK");
    }
};

// Round-trip times of all connections, in microseconds.
struct Latencies {
    std::vector<std::vector<double>> PerConnection;

    void Report(benchmark::State& state, double seconds) {
        std::vector<double> all;
        for (const auto& samples : PerConnection) {
            all.insert(all.end(), samples.begin(), samples.end());
        }
        std::sort(all.begin(), all.end());
        const auto at = [&](double q) {
            return all.empty() ? 0.0 : all[static_cast<size_t>(q * (all.size() - 1))];
        };
        state.counters["req_per_s"] = static_cast<double>(all.size()) / seconds;
        state.counters["p50_us"] = at(0.50);
        state.counters["p99_us"] = at(0.99);
    }
};

// Runs perConnection round trips on every connection, each on its own thread.
template <typename RoundTrip>
double RunClients(int connections, int perConnection, Latencies* latencies, RoundTrip trip) {
    latencies->PerConnection.assign(connections, {});
    std::atomic<int> failures{0};
    const auto start = Clock::now();
    std::vector<std::thread> threads;
    for (int c = 0; c < connections; ++c) {
        threads.emplace_back([&, c] {
            auto& samples = latencies->PerConnection[c];
            samples.reserve(perConnection);
            for (int i = 0; i < perConnection; ++i) {
                const auto begin = Clock::now();
                if (!trip(c)) {
                    ++failures;
                    return;
                }
                samples.push_back(
                    std::chrono::duration<double, std::micro>(Clock::now() - begin).count());
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    if (failures.load() != 0) {
        std::fprintf(stderr, "%d connections failed\n", failures.load());
    }
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void BM_Transport(benchmark::State& state) {
    const int connections = static_cast<int>(state.range(0));
    uint32_t error = 0;
    BenchServer server(&error);
    if (!server.IsConstructed()) {
        state.SkipWithError("server did not start");
        return;
    }
    struct Client {
        SCA_NetTransport Transport;
        SCA_NetMessage Request;
        SCA_NetMessage Reply;
    };
    std::vector<std::unique_ptr<Client>> clients;
    for (int c = 0; c < connections; ++c) {
        clients.push_back(std::make_unique<Client>());
        FillRequest(&clients.back()->Request);
        if (!clients.back()->Transport.Connect("127.0.0.1", server.GetServerPort(), 5000, &error)) {
            state.SkipWithError("cannot connect");
            return;
        }
    }
    Latencies latencies;
    for (auto _ : state) {
        const double seconds =
            RunClients(connections, kTotalRequests / connections, &latencies, [&](int c) {
                Client& client = *clients[c];
                uint32_t code = 0;
                client.Reply.Init("ERR");
                return client.Transport.SendMessageA(0, &client.Request, &code) &&
                       client.Transport.WaitForMessage(5000, &client.Reply, &code) &&
                       client.Reply.GetCommandName()[0] == 'O';
            });
        latencies.Report(state, seconds);
    }
}

// --- the raw baseline -------------------------------------------------------------------------

bool SendAll(int socket, const std::string& bytes) {
    size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t count = send(socket, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (count <= 0) {
            return false;
        }
        sent += static_cast<size_t>(count);
    }
    return true;
}

bool ReceiveAll(int socket, char* buf, size_t size) {
    size_t got = 0;
    while (got < size) {
        const ssize_t count = recv(socket, buf + got, size - got, 0);
        if (count <= 0) {
            return false;
        }
        got += static_cast<size_t>(count);
    }
    return true;
}

void NoDelay(int socket) {
    const int on = 1;
    setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof(on));
}

// The same frames as the transport puts on the wire.
std::string FrameOf(SCA_NetMessage* message, uint32_t sequence) {
    SCA_NetFrameWriter writer;
    uint32_t error = 0;
    writer.Encode(message, sequence, &error);
    return std::string(writer.GetData(), writer.GetSize());
}

void BM_RawSocket(benchmark::State& state) {
    const int connections = static_cast<int>(state.range(0));
    SCA_NetMessage request;
    FillRequest(&request);
    SCA_NetMessage reply(request);
    reply.SetCommandName("OK");
    const std::string requestBytes = FrameOf(&request, 1);
    const std::string replyBytes = FrameOf(&reply, 1);

    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    listen(listener, 64);
    socklen_t size = sizeof(address);
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size);

    std::vector<int> clientSockets;
    std::vector<std::thread> servers;
    for (int c = 0; c < connections; ++c) {
        const int client = socket(AF_INET, SOCK_STREAM, 0);
        connect(client, reinterpret_cast<sockaddr*>(&address), sizeof(address));
        NoDelay(client);
        clientSockets.push_back(client);
        const int served = accept(listener, nullptr, nullptr);
        NoDelay(served);
        servers.emplace_back([&, served] {
            std::string buffer(requestBytes.size(), '\0');
            while (ReceiveAll(served, buffer.data(), buffer.size()) &&
                   SendAll(served, replyBytes)) {
            }
            close(served);
        });
    }
    Latencies latencies;
    for (auto _ : state) {
        const double seconds =
            RunClients(connections, kTotalRequests / connections, &latencies, [&](int c) {
                thread_local std::string buffer;
                buffer.resize(replyBytes.size());
                return SendAll(clientSockets[c], requestBytes) &&
                       ReceiveAll(clientSockets[c], buffer.data(), buffer.size());
            });
        latencies.Report(state, seconds);
    }
    for (int client : clientSockets) {
        shutdown(client, SHUT_RDWR);
        close(client);
    }
    for (auto& thread : servers) {
        thread.join();
    }
    close(listener);
}

BENCHMARK(BM_Transport)
    ->Arg(1)
    ->Arg(16)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawSocket)
    ->Arg(1)
    ->Arg(16)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// Keeps each run's counters for the summary.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            auto& kept = m_Counters[run.benchmark_name()];
            for (const auto& [name, counter] : run.counters) {
                kept[name] = counter.value;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void PrintSummary() {
        for (const char* connections : {"1", "16"}) {
            auto& ours =
                m_Counters[std::string("BM_Transport/") + connections + "/iterations:1/real_time"];
            auto& raw =
                m_Counters[std::string("BM_RawSocket/") + connections + "/iterations:1/real_time"];
            if (ours.empty() || raw.empty() || raw["req_per_s"] <= 0) {
                continue;
            }
            std::printf("%2s connection(s): transport %.0f req/s, raw %.0f req/s, ratio %.2f; "
                        "p99 transport %.1f us, raw %.1f us\n",
                        connections, ours["req_per_s"], raw["req_per_s"],
                        ours["req_per_s"] / raw["req_per_s"], ours["p99_us"], raw["p99_us"]);
        }
    }

private:
    std::map<std::string, std::map<std::string, double>> m_Counters;
};

} // namespace

int main(int argc, char** argv) {
    SCA_InitSystem(0xFFFFFFFFu);
    benchmark::Initialize(&argc, argv);
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintSummary();
    benchmark::Shutdown();
    return 0;
}
