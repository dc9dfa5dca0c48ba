// SPDX-License-Identifier: MIT
// Arbitrary bytes as the /proc files the collector reads: stat, meminfo and vmstat, snmp,
// diskstats, net/dev, mountinfo, a process's stat, io and maps, loadavg, connection tables,
// utmp and smb.conf. No reader may crash, hang or read outside its text, and what it keeps
// must be consistent with what it read.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "perf/SCA_ProcParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (auto stat = SCA_ProcParser::ParseStat(text)) {
        for (const auto& cpu : stat->Cpus) {
            (void)cpu.second.Total();
        }
    }
    (void)SCA_ProcParser::ParseSnmp(text);
    for (const auto& disk : SCA_ProcParser::ParseDiskStats(text)) {
        if (disk.Name.empty()) {
            __builtin_trap(); // a disk line without a name is not a disk
        }
    }
    (void)SCA_ProcParser::ParseNetDev(text);
    for (const auto& mount : SCA_ProcParser::ParseMountInfo(text)) {
        if (mount.MountPoint.size() > size) {
            __builtin_trap(); // unescaping only ever shortens
        }
    }
    if (auto process = SCA_ProcParser::ParsePidStat(text)) {
        if (process->Name.size() > size) {
            __builtin_trap();
        }
    }
    // The io reader picks its four counters out directly; it must agree with the list reader.
    const auto io = SCA_ProcParser::ParsePidIo(text);
    const tagSCA_KEY_VALUES values = SCA_ProcParser::ParseKeyValues(text);
    const uint64_t* listed[] = {
        SCA_ProcParser::Find(values, "rchar"), SCA_ProcParser::Find(values, "wchar"),
        SCA_ProcParser::Find(values, "syscr"), SCA_ProcParser::Find(values, "syscw")};
    const bool allListed = listed[0] && listed[1] && listed[2] && listed[3];
    if (io.has_value() != allListed ||
        (io && (io->ReadChars != *listed[0] || io->WriteChars != *listed[1] ||
                io->ReadCalls != *listed[2] || io->WriteCalls != *listed[3]))) {
        __builtin_trap();
    }
    (void)SCA_ProcParser::ParseLoadAvgThreads(text);
    (void)SCA_ProcParser::ParseNthNumber(text, size > 0 ? data[0] % 4 : 0);
    (void)SCA_ProcParser::CountEstablished(text);
    (void)SCA_ProcParser::ParseMapsPaths(text);
    (void)SCA_ProcParser::CountUtmpUsers(text);
    (void)SCA_ProcParser::ParseSambaShares(text);
    return 0;
}
