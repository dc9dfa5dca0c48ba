// SPDX-License-Identifier: MIT
// Writing and reading the byte form of a configuration tree of about 1 MiB, against the same
// document as JSON with nlohmann::json.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>

#include "model/SCA_ConfigObj.h"
#include "model/SCA_StringStor.h"

namespace {

constexpr int kMonitors = 160;
constexpr int kCountersPerMonitor = 60;

std::string Text(int seed, int length) {
    std::string text;
    for (int i = 0; i < length; ++i) {
        text.push_back(static_cast<char>('a' + (seed * 7 + i * 13) % 26));
    }
    return text;
}

// Monitors with settings and nested counters: the shape of a user configuration.
std::unique_ptr<SCA_ConfigObj> BuildTree() {
    auto root = std::make_unique<SCA_ConfigObj>("Monitors", nullptr);
    char name[32];
    for (int m = 0; m < kMonitors; ++m) {
        std::snprintf(name, sizeof(name), "%d", m);
        SCA_ConfigObj* monitor = root->AddConfigObj(name);
        monitor->AddField("MonitorId", static_cast<uint32_t>(m));
        monitor->AddField("Description", Text(m, 120).c_str());
        monitor->AddField("ComputerName", Text(m + 1, 30).c_str());
        monitor->AddField("SaveReportsDir", Text(m + 2, 80).c_str());
        SCA_ConfigObj* counters = monitor->AddConfigObj("Counters");
        for (int c = 0; c < kCountersPerMonitor; ++c) {
            std::snprintf(name, sizeof(name), "%d", c);
            SCA_ConfigObj* counter = counters->AddConfigObj(name);
            counter->AddField("CounterType", static_cast<uint32_t>(c * 3));
            counter->AddField("Instance", Text(c, 40).c_str());
            counter->AddField("MaxValue", 1234.5 + c);
            counter->AddField("NamePrefix", Text(c + m, 24).c_str());
        }
    }
    return root;
}

nlohmann::json ToJson(SCA_Field* field) {
    if (!field->IsObject()) {
        return field->GetValue();
    }
    nlohmann::json object = nlohmann::json::object();
    for (SCA_Field* child = static_cast<SCA_ConfigObj*>(field)->GetHead(); child != nullptr;
         child = child->GetNext()) {
        object[child->GetName()] = ToJson(child);
    }
    return object;
}

void ConfigTreeWriteAndRead(benchmark::State& state) {
    auto tree = BuildTree();
    SCA_StringStor bytes;
    tree->Serialize(&bytes);
    for (auto _ : state) {
        SCA_StringStor written;
        tree->Serialize(&written);
        SCA_ConfigObj parsed("Parsed", nullptr);
        if (!parsed.Deserialize(&written)) {
            state.SkipWithError("parse failed");
        }
        benchmark::DoNotOptimize(parsed.GetFieldCount());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * bytes.GetSize());
    state.counters["document_bytes"] = bytes.GetSize();
}

void JsonDumpAndParse(benchmark::State& state) {
    auto tree = BuildTree();
    const nlohmann::json document = ToJson(tree.get());
    const std::string text = document.dump();
    for (auto _ : state) {
        const std::string written = document.dump();
        nlohmann::json parsed = nlohmann::json::parse(written);
        benchmark::DoNotOptimize(parsed.size());
    }
    // Same document, so throughput compares in the tree's own bytes.
    SCA_StringStor bytes;
    tree->Serialize(&bytes);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * bytes.GetSize());
    state.counters["document_bytes"] = static_cast<double>(text.size());
}

} // namespace

BENCHMARK(ConfigTreeWriteAndRead)->Unit(benchmark::kMillisecond);
BENCHMARK(JsonDumpAndParse)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
