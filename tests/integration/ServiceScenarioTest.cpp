// SPDX-License-Identifier: MIT
// The service as a client uses it, from the outside: the built `korvas -console` on a free port
// of 127.0.0.1 with its own configuration folder, driven by the client object only.
#include <cstring>
#include <errno.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <string>
#include <thread>

#include "libtez/SCA_KorvantaInterface.h"
#include "libtez/reports/SCA_TezReporter.h"
#include "model/SCA_SrvMonitor.h"
#include "model/SCA_TezActionType.h"
#include "model/SCA_TezCond.h"
#include "model/SCA_TezCondType.h"
#include "model/SCA_TezCounterStatus.h"
#include "model/SCA_TezRepStatus.h"
#include "model/SCA_TezReport.h"
#include "model/SCA_TezReportFormat.h"
#include "model/SCA_TezReportIndex.h"
#include "model/SCA_TezVocabulary.h"
#include "tests/integration/KorvasProcess.h"
#include "tests/support/KorvantaTestSupport.h"
#include "tests/support/WaitUntil.h"

namespace {

using korvas_integration::KorvasProcess;
using korvas_integration::RestartablePort;
namespace fs = std::filesystem;

constexpr uint32_t kSystemPreset = 1;
constexpr uint32_t kNoCounterData = 0;
constexpr uint32_t kInventoryDone = 1;
// A stopped run leaves a report only when it sampled this long (seconds).
constexpr uint64_t kRunLongEnoughForAReport = 10;
// The processor samples the saved report must hold; the service takes one a second.
constexpr uint32_t kReportedSamples = 5;
constexpr uint32_t kAllFormats[] = {
    SCA_TEZ_FORMAT_HTML,   SCA_TEZ_FORMAT_TEXT, SCA_TEZ_FORMAT_CSV,
    SCA_TEZ_FORMAT_REPORT, SCA_TEZ_FORMAT_XML,  SCA_TEZ_FORMAT_PDF,
    SCA_TEZ_FORMAT_EXCEL,  SCA_TEZ_FORMAT_DATA, SCA_TEZ_FORMAT_JSON};

// Owns a reply object of the client for the scope of a check.
struct Reply {
    SCA_ConfigObj* Object = nullptr;
    ~Reply() { SCA_Object::Destroy(Object); }
    SCA_ConfigObj** operator&() { return &Object; }
    SCA_ConfigObj* operator->() const { return Object; }
};

// Whether the process maps a library whose file name begins with name.
bool MapsLibrary(pid_t pid, const std::string& name) {
    std::ifstream maps("/proc/" + std::to_string(pid) + "/maps");
    std::string line;
    while (std::getline(maps, line)) {
        if (line.find("/" + name) != std::string::npos) {
            return true;
        }
    }
    return false;
}

std::set<std::string> FieldNames(SCA_ConfigObj* object) {
    std::set<std::string> names;
    for (SCA_Field* field = object != nullptr ? object->GetHead() : nullptr; field != nullptr;
         field = field->GetNext()) {
        names.insert(field->GetName());
    }
    return names;
}

// "report_index.hdx" or "report_<digits>.hdx".
bool IsServiceReportName(const std::string& name) {
    const std::string prefix = "report_";
    const std::string suffix = ".hdx";
    if (name == "report_index.hdx") {
        return true;
    }
    if (name.size() <= prefix.size() + suffix.size() || name.rfind(prefix, 0) != 0 ||
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) {
        return false;
    }
    const std::string digits =
        name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
    return digits.find_first_not_of("0123456789") == std::string::npos;
}

std::string ReadAll(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// The system preset's counters, with an error rule on the total CPU usage that holds at every
// sample (a share is never below zero) and plays a sound.
void SetUpSystemMonitor(SCA_KorvantaInterface* client, uint32_t monitorId) {
    Reply stored;
    ASSERT_EQ(1, client->GetMonitorObj(monitorId, &stored));
    SCA_SrvMonitor monitor(nullptr, nullptr);
    ASSERT_EQ(1, monitor.Deserialize(stored.Object));
    SCA_TezCounterList* counters = monitor.GetProfile()->GetCounterList();
    ASSERT_EQ(1, counters->Init(kSystemPreset, nullptr, nullptr, nullptr));
    SCA_TezCounterInfo* cpu = nullptr;
    for (auto* node = counters->GetHead(); node != nullptr; node = node->GetNext()) {
        if (node->GetItem()->GetCounterType() == SCA_COUNTER_CPU_USAGE && cpu == nullptr) {
            cpu = node->GetItem();
        }
    }
    ASSERT_NE(nullptr, cpu);
    auto* rule = new SCA_TezCond();
    rule->SetCondType(SCA_COND_SUBJECT_VALUE * SCA_COND_COMPARISONS + SCA_COND_ABOVE);
    rule->SetCondMode(SCA_COND_MODE_EVERY_TIME);
    rule->SetCondValue(-1.0);
    rule->SetRepStatus(SCA_REP_STATUS_ERROR);
    rule->SetEnabled(1);
    rule->SetExecuteAction(1);
    rule->SetActionType(SCA_ACTION_PLAY_SOUND);
    rule->SetActionValue("Alarm");
    ASSERT_EQ(1, cpu->GetCondList()->AddCond(rule, nullptr));
    SCA_ConfigObj changed("Monitor", nullptr);
    ASSERT_EQ(1, monitor.Serialize(&changed));
    ASSERT_EQ(1, client->SetMonitorObj(monitorId, &changed));
}

struct CounterStatuses {
    uint32_t Errors = 0;
    uint32_t WithValues = 0;
    uint32_t Counters = 0;
    uint64_t ProcessSeconds = 0;
    tagSCA_TEZ_COUNTER_STATUS Cpu{};
};

CounterStatuses ReadCounterStatuses(SCA_KorvantaInterface* client, uint32_t monitorId) {
    CounterStatuses read;
    uint32_t type = 0, status = 0, runState = 0, warnings = 0, statusId = 0;
    uint64_t soundTime = 0;
    Reply list;
    Reply data;
    if (!client->GetMonitorStatusEx(monitorId, &type, &status, &runState, &read.Errors, &warnings,
                                    &read.ProcessSeconds, &statusId, &list, kNoCounterData, 0, 0,
                                    &data, &soundTime) ||
        list.Object == nullptr) {
        return read;
    }
    for (const std::string& id : FieldNames(list.Object)) {
        char text[SCA_TEZ_COUNTER_STATUS_SIZE] = "";
        tagSCA_TEZ_COUNTER_STATUS counter{};
        if (list->GetField(id.c_str(), text, sizeof(text)) &&
            SCA_TezGetCounterStatus(text, &counter)) {
            ++read.Counters;
            read.WithValues += counter.HasCurrent ? 1 : 0;
            if (counter.CounterType == SCA_COUNTER_CPU_USAGE) {
                read.Cpu = counter;
            }
        }
    }
    return read;
}

bool ListsProcess(SCA_KorvantaInterface* client, uint32_t monitorId, const std::string& name) {
    uint32_t type = 0, status = 0, processStatus = 0, listStatus = 0;
    uint64_t startTime = 0;
    Reply listed;
    Reply log;
    char line[512] = "";
    return client->GetMonitorProcessListStatusEx(monitorId, &type, &status, &processStatus,
                                                 &startTime, &listStatus, &listed, 0, &log) &&
           listed.Object != nullptr && listed->GetField(name.c_str(), line, sizeof(line)) == 1;
}

// This machine's network adapters as the kernel names them.
std::set<std::string> KernelAdapters() {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator("/sys/class/net")) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

uint64_t KernelMemoryBytes() {
    std::ifstream meminfo("/proc/meminfo");
    std::string key;
    uint64_t kib = 0;
    while (meminfo >> key >> kib) {
        if (key == "MemTotal:") {
            return kib * 1024;
        }
        meminfo.ignore(256, '\n');
    }
    return 0;
}

void CheckInventories(SCA_KorvantaInterface* client) {
    uint32_t status = 0;
    Reply disks;
    ASSERT_EQ(1, client->PerfMonitorGetDiskList("", &disks, &status));
    EXPECT_EQ(kInventoryDone, status);
    EXPECT_FALSE(FieldNames(disks.Object).empty()) << "at least the root file system";

    Reply adapters;
    ASSERT_EQ(1, client->PerfMonitorGetNicList("localhost", &adapters, &status));
    EXPECT_EQ(kInventoryDone, status);
    const std::set<std::string> listed = FieldNames(adapters.Object);
    EXPECT_FALSE(listed.empty());
    const std::set<std::string> kernel = KernelAdapters();
    for (const std::string& name : listed) {
        EXPECT_TRUE(kernel.count(name)) << name << " is no adapter of this machine";
    }

    Reply cpus;
    ASSERT_EQ(1, client->PerfMonitorGetCpuList("", &cpus, &status));
    EXPECT_EQ(std::thread::hardware_concurrency(), FieldNames(cpus.Object).size());

    uint64_t bytes = 0;
    ASSERT_EQ(1, client->PerfMonitorGetTotalMemory("", &bytes, &status));
    EXPECT_EQ(kInventoryDone, status);
    EXPECT_EQ(KernelMemoryBytes(), bytes);

    // Another computer is refused with an error, and the list still comes back, empty.
    Reply remote;
    ASSERT_EQ(1, client->PerfMonitorGetDiskList("elsewhere.example", &remote, &status));
    EXPECT_NE(kInventoryDone, status);
    EXPECT_TRUE(FieldNames(remote.Object).empty());
    uint32_t supported = 1, error = 0;
    ASSERT_EQ(1, client->PerfMonitorGetADStatus("", &supported, &error));
    EXPECT_EQ(0u, supported);
    EXPECT_NE(0u, error);
}

std::vector<SCA_TezReportInfo> ReportIndex(SCA_KorvantaInterface* client) {
    std::vector<SCA_TezReportInfo> reports;
    Reply object;
    if (!client->GetReportIndexObj(&object)) {
        return reports;
    }
    SCA_TezReportIndex index(nullptr, nullptr);
    EXPECT_EQ(1, index.Deserialize(object.Object));
    for (auto* node = index.GetHead(); node != nullptr; node = node->GetNext()) {
        reports.push_back(*node->GetItem());
    }
    return reports;
}

// The report of a stopped run in every save format, each read back for what it must hold.
void SaveInEveryFormat(SCA_TezReport* report, const fs::path& folder) {
    SCA_TezReporter reporter(nullptr, nullptr, nullptr);
    for (const uint32_t format : kAllFormats) {
        const fs::path path =
            folder / (std::string("run.") + SCA_TezGetReportFormat(format)->Extension);
        uint32_t error = 0;
        ASSERT_EQ(1, reporter.SaveReport(report, format, SCA_TEZ_REPORT_MODE_DETAILED, path.c_str(),
                                         &error))
            << format << " " << error;
        EXPECT_GT(fs::file_size(path), 0u) << path;
    }
    EXPECT_EQ(0, ReadAll(folder / "run.pdf").compare(0, 5, "%PDF-"));
    EXPECT_EQ(0, ReadAll(folder / "run.xlsx").compare(0, 2, "PK"));
    const auto json = nlohmann::json::parse(ReadAll(folder / "run.json"));
    bool cpuHasSamples = false;
    for (const auto& counter : json["counters"]) {
        if (counter["type"] == SCA_COUNTER_CPU_USAGE) {
            cpuHasSamples = counter["samples"].size() >= kReportedSamples;
        }
    }
    EXPECT_TRUE(cpuHasSamples) << json.dump().substr(0, 400);
}

TEST(ServiceScenario, MonitorsSampleActReportAndComeBackAfterARestart) {
    korvanta_test::TempDir home;
    korvanta_test::TempDir saved;
    auto korvas = std::make_unique<KorvasProcess>(home.Path(), RestartablePort());
    const uint16_t port = korvas->WaitForPort();
    ASSERT_NE(0, port);
    SCA_KorvantaInterface client;
    ASSERT_EQ(1, korvas->LogIn(&client, port));

    uint32_t profileId = 0;
    ASSERT_EQ(1, client.AddProfile("Integration profile", kSystemPreset, &profileId));
    uint32_t system = 0;
    uint32_t processes = 0;
    ASSERT_EQ(1,
              client.AddMonitor(SCA_SRV_MONITOR_COUNTERS, kSystemPreset, "System watch", &system));
    ASSERT_NO_FATAL_FAILURE(SetUpSystemMonitor(&client, system));
    ASSERT_EQ(1, client.AddMonitor(SCA_SRV_MONITOR_PROCESS, 0, "Process watch", &processes));
    ASSERT_EQ(1, client.StartMonitor(system));
    ASSERT_EQ(1, client.StartMonitor(processes));

    CounterStatuses statuses;
    ASSERT_TRUE(korvanta_test::WaitUntil("a processor value that trips the rule", [&] {
        statuses = ReadCounterStatuses(&client, system);
        return statuses.Cpu.HasCurrent && statuses.Cpu.Status == SCA_REP_STATUS_ERROR;
    }));
    EXPECT_TRUE(korvanta_test::WaitUntil("values of most counters",
                                         [&] {
                                             statuses = ReadCounterStatuses(&client, system);
                                             return statuses.WithValues * 2 >= statuses.Counters;
                                         }))
        << statuses.WithValues << " of " << statuses.Counters << ": most counters sample on Linux";
    EXPECT_GE(statuses.Counters, 10u);
    EXPECT_GE(statuses.Cpu.Current, 0.0);
    EXPECT_LE(statuses.Cpu.Current, 100.0);
    EXPECT_GE(statuses.Errors, 1u);
    uint64_t lastSound = 0;
    EXPECT_TRUE(korvanta_test::WaitUntil("the rule's sound in the queue", [&] {
        Reply sounds;
        return client.GetSoundActions(0, &lastSound, &sounds) == 1 &&
               !FieldNames(sounds.Object).empty();
    }));
    EXPECT_GT(lastSound, 0u);
    EXPECT_TRUE(korvanta_test::WaitUntil("this test's process in the list", [&] {
        return ListsProcess(&client, processes, program_invocation_short_name);
    }));

    // The print library is loaded only when a printer is asked about, the transfer library
    // only for mail or an update check, the writers of XML, PDF and Excel (with cairo,
    // libxlsxwriter, pugixml and theirs) at the first report in one of them, PAM at the first
    // logon through it, libsystemd only under systemd. Each would add to the memory of every
    // running service.
    ASSERT_TRUE(MapsLibrary(korvas->Pid(), "libtez.so")) << "the maps are read";
    for (const char* late : {"libcups.so", "libcurl.so", "libtez_report_formats.so", "libcairo.so",
                             "libxlsxwriter.so", "libpugixml.so", "libpam.so", "libsystemd.so"}) {
        EXPECT_FALSE(MapsLibrary(korvas->Pid(), late)) << late;
    }
    ASSERT_NO_FATAL_FAILURE(CheckInventories(&client));

    ASSERT_TRUE(korvanta_test::WaitUntil("a run long enough for a report", [&] {
        const CounterStatuses run = ReadCounterStatuses(&client, system);
        return run.ProcessSeconds >= kRunLongEnoughForAReport &&
               run.Cpu.ValueCount >= kReportedSamples;
    }));
    ASSERT_EQ(1, client.StopMonitor(system));
    ASSERT_EQ(1, client.StopMonitor(processes));
    std::vector<SCA_TezReportInfo> reports = ReportIndex(&client);
    ASSERT_EQ(1u, reports.size());
    EXPECT_EQ(system, reports[0].GetMonitorId());
    const uint32_t reportId = reports[0].GetReportId();
    Reply object;
    ASSERT_EQ(1, client.GetReportObj(reportId, &object));
    SCA_TezReport report;
    ASSERT_EQ(1, report.Deserialize(object.Object));
    SCA_TezCounter* cpu = nullptr;
    ASSERT_EQ(1, report.GetCounterByType(SCA_COUNTER_CPU_USAGE, &cpu));
    EXPECT_GE(cpu->GetValueCount(), kReportedSamples);
    ASSERT_NO_FATAL_FAILURE(SaveInEveryFormat(&report, saved.Path()));

    // An imported report gets a number of the service's: its title never names a file.
    report.SetReportTitle("../../../outside");
    SCA_ConfigObj imported("Report", nullptr);
    ASSERT_EQ(1, report.Serialize(&imported));
    uint32_t importedId = 0;
    ASSERT_EQ(1, client.AddReportObj(&imported, &importedId));
    EXPECT_NE(reportId, importedId);
    for (const auto& entry : fs::recursive_directory_iterator(home.Path())) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("report", 0) == 0) {
            EXPECT_TRUE(IsServiceReportName(name)) << entry.path();
        }
    }
    EXPECT_FALSE(fs::exists(fs::path(home.Path()).parent_path() / "outside.hdx"));

    // An orderly stop and a new start find everything again.
    ASSERT_EQ(1, korvas->Terminate());
    EXPECT_EQ(0, korvas->ExitCode()) << "nothing leaked";
    const std::string log = ReadAll(korvas->LogPath());
    EXPECT_NE(log.find("korvas: stopped; the configuration and the monitors are saved\n"),
              std::string::npos)
        << log;
    korvas = std::make_unique<KorvasProcess>(home.Path(), std::to_string(port));
    ASSERT_EQ(port, korvas->WaitForPort());
    SCA_KorvantaInterface again;
    ASSERT_EQ(1, korvas->LogIn(&again, port));
    char description[256] = "";
    uint32_t type = 0, status = 0, runState = 0;
    char computer[256] = "";
    ASSERT_EQ(1, again.GetMonitorInfoEx(system, &type, &status, &runState, description, computer));
    EXPECT_STREQ("System watch", description);
    ASSERT_EQ(1,
              again.GetMonitorInfoEx(processes, &type, &status, &runState, description, computer));
    EXPECT_STREQ("Process watch", description);
    EXPECT_EQ(SCA_SRV_MONITOR_PROCESS, type);
    uint32_t exists = 0, foundProfile = 0;
    ASSERT_EQ(1, again.IsProfileExists("Integration profile", &exists, &foundProfile));
    EXPECT_EQ(1u, exists);
    EXPECT_EQ(profileId, foundProfile);
    reports = ReportIndex(&again);
    ASSERT_EQ(2u, reports.size());
    Reply reloaded;
    ASSERT_EQ(1, again.GetReportObj(reportId, &reloaded));
    SCA_TezReport back;
    ASSERT_EQ(1, back.Deserialize(reloaded.Object));
    ASSERT_EQ(1, back.GetCounterByType(SCA_COUNTER_CPU_USAGE, &cpu));
    EXPECT_GE(cpu->GetValueCount(), kReportedSamples);
    // The rule came back with the monitor: started again, it holds at once.
    ASSERT_EQ(1, again.StartMonitor(system));
    EXPECT_TRUE(korvanta_test::WaitUntil("the processor counter in error", [&] {
        return ReadCounterStatuses(&again, system).Cpu.Status == SCA_REP_STATUS_ERROR;
    }));
    ASSERT_EQ(1, again.StopMonitor(system));
    ASSERT_EQ(1, korvas->Terminate());
    EXPECT_EQ(0, korvas->ExitCode()) << "nothing leaked";
}

} // namespace
