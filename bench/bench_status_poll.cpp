// SPDX-License-Identifier: MIT
// GetStatusEx, the request every client sends each second, answered by a real `korvas
// -console` with 200 and 500 running counter monitors, against its floor: a server that
// replays byte for byte the reply frame that very service gave (its sequence number set to the
// request's), in a process of its own with one thread per connection as the service has. Both
// are asked by the same raw client, which sends the request frame and reads the reply frame
// whole without decoding it, so that only the servers' work differs.
//   (a) one client, korvas and the replay asked in turns, round by round: p50 and p99;
//   (b) 200 logged-in clients asking at the same moment once a second (korvas and the replay
//       half a second apart, in turns first): p50 and p99 of all their round trips.
// Each figure is given for three windows as min/median/max with the load of each window.
//
// Usage: bench_status_poll [--rounds N] [--clients N] [--monitors 200,500]
#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <memory>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <set>
#include <sstream>
#include <string>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "bench/BenchSupport.h"
#include "bench/ServiceMonitors.h"
#include "libtez/SCA_KorvantaInterface.h"
#include "net/SCA_NetFrameWriter.h"
#include "net/SCA_NetMessage.h"
#include "net/SCA_NetProtocol.h"
#include "tests/integration/KorvasProcess.h"

namespace {

using Clock = std::chrono::steady_clock;

using korvanta_bench::kWindows;
using korvanta_bench::Percentiles;
using korvanta_bench::PercentilesOf;
using korvanta_bench::Spread;
constexpr int kDefaultRounds = 3000;
constexpr int kWarmUp = 200;
constexpr uint32_t kDefaultClients = 200;
constexpr uint32_t kDefaultScale[] = {200, 500};
constexpr int kBurstRounds = 10;
constexpr auto kBurstPeriod = std::chrono::seconds(1);
constexpr auto kBurstLead = std::chrono::milliseconds(50);
// Where the sequence number sits in a frame: after magic, version, code and flags.
constexpr size_t kSequenceOffset = 4 + 1 + 4 + 4;
constexpr uint32_t kFirstSequence = 1000000;
constexpr double kBurstTargetMs = 5.0;
constexpr double kRatioTarget = 2.0;

struct Options {
    int Rounds = kDefaultRounds;
    uint32_t Clients = kDefaultClients;
    std::vector<uint32_t> Scale{std::begin(kDefaultScale), std::end(kDefaultScale)};
};

Options ParseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::printf("usage: bench_status_poll [--rounds N] [--clients N] "
                        "[--monitors 200,500]\n");
            std::exit(0);
        }
        if (hasValue && std::strcmp(argv[i], "--rounds") == 0) {
            options.Rounds = std::max(1, std::atoi(argv[++i]));
        } else if (hasValue && std::strcmp(argv[i], "--clients") == 0) {
            options.Clients = static_cast<uint32_t>(std::max(1, std::atoi(argv[++i])));
        } else if (hasValue && std::strcmp(argv[i], "--monitors") == 0) {
            options.Scale.clear();
            std::istringstream items(argv[++i]);
            for (std::string item; std::getline(items, item, ',');) {
                if (std::atol(item.c_str()) > 0) {
                    options.Scale.push_back(static_cast<uint32_t>(std::atol(item.c_str())));
                }
            }
        }
    }
    return options;
}

std::string LoadAverage() {
    std::ifstream file("/proc/loadavg");
    std::string one;
    std::string five;
    std::string fifteen;
    file >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

bool WriteAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t sent = ::send(fd, data, size, MSG_NOSIGNAL);
        if (sent <= 0) {
            return false;
        }
        data += sent;
        size -= static_cast<size_t>(sent);
    }
    return true;
}

bool ReadAll(int fd, char* data, size_t size) {
    while (size > 0) {
        const ssize_t got = ::recv(fd, data, size, 0);
        if (got <= 0) {
            return false;
        }
        data += got;
        size -= static_cast<size_t>(got);
    }
    return true;
}

uint32_t ReadU32(const char* bytes) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[i]);
    }
    return value;
}

void PutSequence(std::string* frame, uint32_t sequence) {
    for (size_t i = 0; i < 4; ++i) {
        (*frame)[kSequenceOffset + i] = static_cast<char>((sequence >> (8 * i)) & 0xFF);
    }
}

// One frame read whole into frame (head and payload), not decoded.
bool ReadFrame(int fd, std::string* frame) {
    frame->resize(SCA_NET_FIXED_HEADER);
    if (!ReadAll(fd, frame->data(), SCA_NET_FIXED_HEADER)) {
        return false;
    }
    const size_t nameLength = static_cast<unsigned char>((*frame)[SCA_NET_FIXED_HEADER - 1]);
    frame->resize(SCA_NET_FIXED_HEADER + nameLength + 4);
    if (!ReadAll(fd, frame->data() + SCA_NET_FIXED_HEADER, nameLength + 4)) {
        return false;
    }
    const uint32_t payload = ReadU32(frame->data() + SCA_NET_FIXED_HEADER + nameLength);
    const size_t head = frame->size();
    frame->resize(head + payload);
    return ReadAll(fd, frame->data() + head, payload);
}

// The bytes of a GetStatusEx request under sequence.
std::string RequestFrame(uint32_t sequence) {
    SCA_NetMessage request;
    request.Init("GetStatusEx");
    request.SetControlCode(SCA_NET_CODE_COMMAND);
    SCA_NetFrameWriter writer;
    uint32_t error = 0;
    writer.Encode(&request, sequence, &error);
    return std::string(writer.GetData(), writer.GetSize());
}

// A raw client on one connection: request bytes out, reply frame in.
class RawClient {
public:
    explicit RawClient(int fd) : m_Fd(fd) {}
    // One round trip; false when the connection failed.
    bool Ask() {
        PutSequence(&m_Request, m_Sequence++);
        return WriteAll(m_Fd, m_Request.data(), m_Request.size()) && ReadFrame(m_Fd, &m_Reply);
    }
    const std::string& Reply() const { return m_Reply; }

private:
    int m_Fd;
    uint32_t m_Sequence = kFirstSequence;
    std::string m_Request = RequestFrame(kFirstSequence);
    std::string m_Reply;
};

// The sockets of this process connected to port.
std::set<int> SocketsTo(uint16_t port) {
    std::set<int> sockets;
    DIR* dir = opendir("/proc/self/fd");
    if (dir == nullptr) {
        return sockets;
    }
    while (const dirent* entry = readdir(dir)) {
        const int fd = std::atoi(entry->d_name);
        sockaddr_in peer{};
        socklen_t length = sizeof(peer);
        if (fd > 2 && getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &length) == 0 &&
            peer.sin_family == AF_INET && ntohs(peer.sin_port) == port) {
            sockets.insert(fd);
        }
    }
    closedir(dir);
    return sockets;
}

// Logged-in connections to a service whose sockets the raw clients use: the client objects log
// in and keep their connections open; they send nothing more.
class LoggedInConnections {
public:
    bool Open(korvas_integration::KorvasProcess* korvas, uint16_t port, uint32_t count) {
        std::set<int> known = SocketsTo(port);
        for (uint32_t i = 0; i < count; ++i) {
            auto client = std::make_unique<SCA_KorvantaInterface>();
            if (!korvas->LogIn(client.get(), port)) {
                std::fprintf(stderr, "login %u failed\n", i + 1);
                return false;
            }
            const std::set<int> now = SocketsTo(port);
            std::vector<int> added;
            std::set_difference(now.begin(), now.end(), known.begin(), known.end(),
                                std::back_inserter(added));
            if (added.size() != 1) {
                std::fprintf(stderr, "cannot find the socket of login %u\n", i + 1);
                return false;
            }
            known = now;
            // The client object waits with poll on a non-blocking socket; the raw client
            // blocks in recv.
            ::fcntl(added.front(), F_SETFL, ::fcntl(added.front(), F_GETFL) & ~O_NONBLOCK);
            m_Clients.push_back(std::move(client));
            m_Fds.push_back(added.front());
        }
        return true;
    }
    const std::vector<int>& Fds() const { return m_Fds; }

private:
    std::vector<std::unique_ptr<SCA_KorvantaInterface>> m_Clients;
    std::vector<int> m_Fds;
};

// The floor: reads each request frame and sends the recorded reply with the request's sequence
// number, a thread per connection.
// A connection to a server on this computer's loopback port, or -1.
int ConnectTo(uint16_t port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    const int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof(on));
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

class ReplayServer {
public:
    explicit ReplayServer(std::string reply) : m_Reply(std::move(reply)) {
        m_Listen = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof(address);
        if (::bind(m_Listen, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
            ::listen(m_Listen, SOMAXCONN) != 0 ||
            getsockname(m_Listen, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            return;
        }
        m_Port = ntohs(address.sin_port);
        m_Acceptor = std::thread([this] { Accept(); });
    }
    ~ReplayServer() {
        ::shutdown(m_Listen, SHUT_RDWR);
        if (m_Acceptor.joinable()) {
            m_Acceptor.join();
        }
        for (const int fd : m_Served) {
            ::shutdown(fd, SHUT_RDWR);
        }
        for (std::thread& thread : m_Threads) {
            thread.join();
        }
        for (const int fd : m_Served) {
            ::close(fd);
        }
        ::close(m_Listen);
    }
    uint16_t Port() const { return m_Port; }

private:
    void Accept() {
        for (;;) {
            const int fd = ::accept(m_Listen, nullptr, nullptr);
            if (fd < 0) {
                return;
            }
            const int on = 1;
            setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof(on));
            m_Served.push_back(fd);
            m_Threads.emplace_back([this, fd] { Serve(fd); });
        }
    }
    void Serve(int fd) {
        std::string request;
        std::string reply = m_Reply;
        while (ReadFrame(fd, &request)) {
            PutSequence(&reply, ReadU32(request.data() + kSequenceOffset));
            if (!WriteAll(fd, reply.data(), reply.size())) {
                return;
            }
        }
    }

    std::string m_Reply;
    int m_Listen = -1;
    uint16_t m_Port = 0;
    std::thread m_Acceptor;
    // Written by the acceptor only; read once it has ended.
    std::vector<int> m_Served;
    std::vector<std::thread> m_Threads;
};

// The replay server in a process of its own, as the service is: a server thread in this
// process would be woken beside the client's, which the service's never is.
class ReplayProcess {
public:
    explicit ReplayProcess(const std::string& reply) {
        int ports[2];
        int hold[2];
        if (::pipe(ports) != 0 || ::pipe(hold) != 0) {
            return;
        }
        m_Child = ::fork();
        if (m_Child == 0) {
            ::close(ports[0]);
            ::close(hold[1]);
            ServeUntilReleased(reply, ports[1], hold[0]);
        }
        ::close(ports[1]);
        ::close(hold[0]);
        m_Hold = hold[1];
        uint16_t port = 0;
        if (m_Child > 0 && ::read(ports[0], &port, sizeof(port)) == sizeof(port)) {
            m_Port = port;
        }
        ::close(ports[0]);
    }
    ~ReplayProcess() {
        ::close(m_Hold); // the child's read ends: it closes its connections and exits
        if (m_Child > 0) {
            ::waitpid(m_Child, nullptr, 0);
        }
    }
    ReplayProcess(const ReplayProcess&) = delete;
    ReplayProcess& operator=(const ReplayProcess&) = delete;

    // A client connection to it, or -1.
    int Connect() const { return m_Port != 0 ? ConnectTo(m_Port) : -1; }

private:
    [[noreturn]] static void ServeUntilReleased(const std::string& reply, int portOut, int hold) {
        int status = 1;
        {
            ReplayServer server(reply);
            const uint16_t port = server.Port();
            if (::write(portOut, &port, sizeof(port)) == sizeof(port)) {
                char byte = 0;
                while (::read(hold, &byte, 1) > 0) {
                }
                status = 0;
            }
        }
        ::_exit(status);
    }

    pid_t m_Child = -1;
    int m_Hold = -1;
    uint16_t m_Port = 0;
};

double Max(const std::vector<double>& values) {
    return Spread{values}.Max();
}

double Micros(Clock::time_point start) {
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

// One round trip of client, timed; false when the connection failed.
bool TimedAsk(RawClient* client, double* micros) {
    const auto start = Clock::now();
    const bool answered = client->Ask();
    *micros = Micros(start);
    return answered;
}

// (a): one client, the two servers in turns.
bool MeasureOneClient(RawClient* korvas, RawClient* replay, int rounds) {
    std::vector<double> oursP50, oursP99, floorP50, floorP99, ratioP50, ratioP99;
    for (int window = 0; window < kWindows; ++window) {
        const std::string before = LoadAverage();
        std::vector<double> ours;
        std::vector<double> floor;
        for (int i = 0; i < kWarmUp + rounds; ++i) {
            // Which server is asked first alternates, so that neither always follows the other.
            double oursMicros = 0;
            double floorMicros = 0;
            const bool done = i % 2 == 0
                                  ? TimedAsk(korvas, &oursMicros) && TimedAsk(replay, &floorMicros)
                                  : TimedAsk(replay, &floorMicros) && TimedAsk(korvas, &oursMicros);
            if (!done) {
                return false;
            }
            if (i >= kWarmUp) {
                ours.push_back(oursMicros);
                floor.push_back(floorMicros);
            }
        }
        const Percentiles o = PercentilesOf(&ours);
        const Percentiles f = PercentilesOf(&floor);
        std::printf("    window %d (load %s -> %s): korvas p50 %.1f us p99 %.1f us | replay p50 "
                    "%.1f us p99 %.1f us | ratio p50 %.2f p99 %.2f\n",
                    window + 1, before.c_str(), LoadAverage().c_str(), o.P50, o.P99, f.P50, f.P99,
                    o.P50 / f.P50, o.P99 / f.P99);
        oursP50.push_back(o.P50);
        oursP99.push_back(o.P99);
        floorP50.push_back(f.P50);
        floorP99.push_back(f.P99);
        ratioP50.push_back(o.P50 / f.P50);
        ratioP99.push_back(o.P99 / f.P99);
    }
    std::printf("    min/median/max: korvas p50 %s us, p99 %s us; replay p50 %s us, p99 %s us; "
                "ratio p50 %s (target <= %.1f in every window) %s, p99 %s\n",
                Spread{oursP50}.Text(1).c_str(), Spread{oursP99}.Text(1).c_str(),
                Spread{floorP50}.Text(1).c_str(), Spread{floorP99}.Text(1).c_str(),
                Spread{ratioP50}.Text(2).c_str(), kRatioTarget,
                Max(ratioP50) <= kRatioTarget ? "PASS" : "FAIL", Spread{ratioP99}.Text(2).c_str());
    return true;
}

// Every client asks once at the same moment; their round trips in microseconds.
class Burst {
public:
    explicit Burst(const std::vector<int>& fds) {
        for (const int fd : fds) {
            m_Clients.push_back(std::make_unique<RawClient>(fd));
        }
        m_Micros.resize(fds.size());
    }
    // Starts all clients at start; false when one failed.
    bool Run(Clock::time_point start, std::vector<double>* micros) {
        std::atomic<bool> failed{false};
        std::vector<std::thread> threads;
        threads.reserve(m_Clients.size());
        for (size_t i = 0; i < m_Clients.size(); ++i) {
            threads.emplace_back([&, i] {
                std::this_thread::sleep_until(start);
                const auto sent = Clock::now();
                if (!m_Clients[i]->Ask()) {
                    failed = true;
                }
                m_Micros[i] = Micros(sent);
            });
        }
        for (std::thread& thread : threads) {
            thread.join();
        }
        micros->insert(micros->end(), m_Micros.begin(), m_Micros.end());
        return !failed;
    }

private:
    std::vector<std::unique_ptr<RawClient>> m_Clients;
    std::vector<double> m_Micros;
};

// (b): all clients at once, once a second, korvas and the replay half a period apart.
bool MeasureBurst(const std::vector<int>& korvasFds, const std::vector<int>& replayFds) {
    Burst korvas(korvasFds);
    Burst replay(replayFds);
    // A first round, not counted, as the single client's warm-up: the first answers of 200
    // connections fault in what a steady poll keeps warm.
    std::vector<double> warmUp;
    if (!korvas.Run(Clock::now(), &warmUp) || !replay.Run(Clock::now(), &warmUp)) {
        return false;
    }
    std::vector<double> oursP50, oursP99, floorP50, floorP99;
    for (int window = 0; window < kWindows; ++window) {
        const std::string before = LoadAverage();
        std::vector<double> ours;
        std::vector<double> floor;
        auto next = Clock::now() + kBurstLead;
        for (int round = 0; round < kBurstRounds; ++round, next += kBurstPeriod) {
            // Which server goes first alternates, so that neither always meets the service's
            // sampling at the same moment of its second.
            const bool korvasFirst = round % 2 == 0;
            const auto korvasAt = korvasFirst ? next : next + kBurstPeriod / 2;
            const auto replayAt = korvasFirst ? next + kBurstPeriod / 2 : next;
            const bool done = korvasFirst
                                  ? korvas.Run(korvasAt, &ours) && replay.Run(replayAt, &floor)
                                  : replay.Run(replayAt, &floor) && korvas.Run(korvasAt, &ours);
            if (!done) {
                return false;
            }
        }
        const Percentiles o = PercentilesOf(&ours);
        const Percentiles f = PercentilesOf(&floor);
        std::printf("    window %d (load %s -> %s): korvas p50 %.2f ms p99 %.2f ms | replay p50 "
                    "%.2f ms p99 %.2f ms\n",
                    window + 1, before.c_str(), LoadAverage().c_str(), o.P50 / 1e3, o.P99 / 1e3,
                    f.P50 / 1e3, f.P99 / 1e3);
        oursP50.push_back(o.P50 / 1e3);
        oursP99.push_back(o.P99 / 1e3);
        floorP50.push_back(f.P50 / 1e3);
        floorP99.push_back(f.P99 / 1e3);
    }
    std::printf(
        "    min/median/max: korvas p50 %s ms, p99 %s ms (target < %.0f ms in every window) "
        "%s; replay p50 %s ms, p99 %s ms%s\n",
        Spread{oursP50}.Text(2).c_str(), Spread{oursP99}.Text(2).c_str(), kBurstTargetMs,
        Max(oursP99) < kBurstTargetMs ? "PASS" : "FAIL", Spread{floorP50}.Text(2).c_str(),
        Spread{floorP99}.Text(2).c_str(),
        Max(floorP99) >= kBurstTargetMs ? " (the floor itself misses the target: the "
                                          "machine is too busy to judge)"
                                        : "");
    return true;
}

bool MeasureService(const Options& options, uint32_t monitors) {
    korvas_integration::LoggedInService service;
    if (!service.Start()) {
        std::fprintf(stderr, "the service did not start or refused the login\n");
        return false;
    }
    for (uint32_t i = 0; i < monitors; ++i) {
        if (!korvanta_bench::AddCounterMonitor(
                &service.Client, "Processor and memory " + std::to_string(i + 1), true)) {
            std::fprintf(stderr, "cannot set up monitor %u\n", i + 1);
            return false;
        }
    }
    LoggedInConnections connections;
    if (!connections.Open(service.Korvas.get(), service.Port, options.Clients)) {
        return false;
    }
    RawClient korvas(connections.Fds().front());
    if (!korvas.Ask()) {
        std::fprintf(stderr, "GetStatusEx failed\n");
        return false;
    }
    ReplayProcess server(korvas.Reply());
    std::vector<int> replayFds;
    for (uint32_t i = 0; i < options.Clients; ++i) {
        replayFds.push_back(server.Connect());
        if (replayFds.back() < 0) {
            std::fprintf(stderr, "cannot connect to the replay server\n");
            return false;
        }
    }
    std::printf("GetStatusEx, %u running monitors x %zu counters, reply frame %zu bytes\n",
                monitors, std::size(korvanta_bench::kServiceCounterTypes), korvas.Reply().size());
    std::printf("  (a) one client, %d rounds a window, in turns with the replay:\n",
                options.Rounds);
    RawClient replay(replayFds.front());
    bool done = MeasureOneClient(&korvas, &replay, options.Rounds);
    if (done) {
        std::printf("  (b) %u logged-in clients at the same moment, %d rounds a window:\n",
                    options.Clients, kBurstRounds);
        done = MeasureBurst(connections.Fds(), replayFds);
    }
    for (const int fd : replayFds) {
        ::close(fd);
    }
    service.Korvas->Terminate();
    return done;
}

} // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const Options options = ParseOptions(argc, argv);
    std::printf("load average (start): %s\n", LoadAverage().c_str());
    for (const uint32_t monitors : options.Scale) {
        if (!MeasureService(options, monitors)) {
            return 1;
        }
    }
    std::printf("load average (end): %s\n", LoadAverage().c_str());
    return 0;
}
