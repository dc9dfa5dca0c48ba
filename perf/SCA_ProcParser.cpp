// SPDX-License-Identifier: MIT
#include "perf/SCA_ProcParser.h"

#include <charconv>
#include <cstddef>
#include <cstring>
#include <iterator>
#include <utmpx.h>

namespace {

constexpr uint64_t kBytesPerKiB = 1024;
constexpr uint32_t kOctalEscapeLength = 4; // "\040"
constexpr uint32_t kOctalBase = 8;
constexpr std::string_view kEstablishedState = "01";

// Positions of the stat fields after the name, counted as proc(5) counts them: the state is
// field 3.
enum PidStatField : size_t {
    kState = 3,
    kParent = 4,
    kFlags = 9,
    kMinorFaults = 10,
    kMajorFaults = 12,
    kUserTicks = 14,
    kSystemTicks = 15,
    kPriority = 18,
    kNice = 19,
    kThreads = 20,
    kStartTicks = 22,
    kRss = 24,
};

// Cuts the next line (without its newline) off text.
std::string_view NextLine(std::string_view& text) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    return line;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

// Cuts the next blank-separated token off text; empty at the end.
std::string_view NextToken(std::string_view& text) {
    size_t begin = 0;
    while (begin < text.size() && IsBlank(text[begin])) {
        ++begin;
    }
    size_t end = begin;
    while (end < text.size() && !IsBlank(text[end])) {
        ++end;
    }
    std::string_view token = text.substr(begin, end - begin);
    text.remove_prefix(end);
    return token;
}

bool ToNumber(std::string_view token, uint64_t* value) {
    if (token.empty()) {
        return false;
    }
    const auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), *value);
    return ec == std::errc() && end == token.data() + token.size();
}

bool ToNumber(std::string_view token, uint32_t* value) {
    uint64_t wide = 0;
    if (!ToNumber(token, &wide) || wide > UINT32_MAX) {
        return false;
    }
    *value = static_cast<uint32_t>(wide);
    return true;
}

bool ToSigned(std::string_view token, int32_t* value) {
    if (token.empty()) {
        return false;
    }
    const auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), *value);
    return ec == std::errc() && end == token.data() + token.size();
}

// Reads count numbers off text into out; false when fewer are there.
bool ReadNumbers(std::string_view& text, uint64_t* out, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        if (!ToNumber(NextToken(text), &out[i])) {
            return false;
        }
    }
    return true;
}

std::optional<tagSCA_CPU_TIMES> ParseCpuLine(std::string_view rest) {
    // user nice system idle; iowait irq softirq steal came later and may be missing.
    constexpr size_t kRequired = 4;
    constexpr size_t kKnown = 8;
    uint64_t v[kKnown] = {};
    size_t got = 0;
    while (got < kKnown) {
        std::string_view token = NextToken(rest);
        if (token.empty()) {
            break;
        }
        if (!ToNumber(token, &v[got])) {
            return std::nullopt;
        }
        ++got;
    }
    if (got < kRequired) {
        return std::nullopt;
    }
    return tagSCA_CPU_TIMES{v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]};
}

std::string Unescape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + kOctalEscapeLength <= text.size()) {
            uint32_t code = 0;
            bool octal = true;
            for (size_t k = 1; k < kOctalEscapeLength; ++k) {
                const char c = text[i + k];
                octal = octal && c >= '0' && c <= '7';
                code = code * kOctalBase + static_cast<uint32_t>(c - '0');
            }
            if (octal && code <= UINT8_MAX) {
                out.push_back(static_cast<char>(code));
                i += kOctalEscapeLength - 1;
                continue;
            }
        }
        out.push_back(text[i]);
    }
    return out;
}

// One "Key: value [kB]" or "key value" line; false for a line that is neither.
bool ParseKeyValueLine(std::string_view line, std::string_view* key, uint64_t* value) {
    *key = NextToken(line);
    if (!key->empty() && key->back() == ':') {
        key->remove_suffix(1);
    }
    if (key->empty() || !ToNumber(NextToken(line), value)) {
        return false;
    }
    if (NextToken(line) == "kB") {
        if (*value > UINT64_MAX / kBytesPerKiB) {
            return false;
        }
        *value *= kBytesPerKiB;
    }
    return true;
}

} // namespace

std::optional<tagSCA_PROC_STAT> SCA_ProcParser::ParseStat(std::string_view text) {
    tagSCA_PROC_STAT stat;
    bool haveAll = false;
    while (!text.empty()) {
        std::string_view line = NextLine(text);
        std::string_view key = NextToken(line);
        if (key == "cpu") {
            if (auto times = ParseCpuLine(line)) {
                stat.All = *times;
                haveAll = true;
            }
        } else if (key.size() > 3 && key.substr(0, 3) == "cpu") {
            uint32_t index = 0;
            auto times = ParseCpuLine(line);
            if (ToNumber(key.substr(3), &index) && times) {
                stat.Cpus.emplace_back(index, *times);
            }
        } else if (key == "ctxt" || key == "intr" || key == "procs_running" || key == "btime") {
            uint64_t value = 0;
            if (ToNumber(NextToken(line), &value)) {
                (key == "ctxt"            ? stat.ContextSwitches
                 : key == "intr"          ? stat.Interrupts
                 : key == "procs_running" ? stat.ProcsRunning
                                          : stat.BootTime) = value;
            }
        }
    }
    if (!haveAll) {
        return std::nullopt;
    }
    return stat;
}

tagSCA_KEY_VALUES SCA_ProcParser::ParseKeyValues(std::string_view text) {
    tagSCA_KEY_VALUES values;
    std::string_view key;
    uint64_t value = 0;
    while (!text.empty()) {
        if (ParseKeyValueLine(NextLine(text), &key, &value)) {
            values.emplace_back(std::string(key), value);
        }
    }
    return values;
}

tagSCA_KEY_VALUES SCA_ProcParser::ParseSnmp(std::string_view text) {
    tagSCA_KEY_VALUES values;
    while (!text.empty()) {
        std::string_view header = NextLine(text);
        std::string_view numbers = NextLine(text);
        std::string_view group = NextToken(header);
        if (group.empty() || group.back() != ':' || NextToken(numbers) != group) {
            continue; // the pair is broken; the next header starts afresh
        }
        group.remove_suffix(1);
        for (;;) {
            std::string_view name = NextToken(header);
            std::string_view number = NextToken(numbers);
            if (name.empty() || number.empty()) {
                break;
            }
            uint64_t value = 0;
            if (ToNumber(number, &value)) { // negative gauges (MaxConn -1) are left out
                std::string key(group);
                key += '.';
                key += name;
                values.emplace_back(std::move(key), value);
            }
        }
    }
    return values;
}

std::vector<tagSCA_DISK_STAT> SCA_ProcParser::ParseDiskStats(std::string_view text) {
    constexpr size_t kFields = 11;
    std::vector<tagSCA_DISK_STAT> disks;
    while (!text.empty()) {
        std::string_view line = NextLine(text);
        tagSCA_DISK_STAT disk;
        if (!ToNumber(NextToken(line), &disk.Major) || !ToNumber(NextToken(line), &disk.Minor)) {
            continue;
        }
        disk.Name = std::string(NextToken(line));
        uint64_t v[kFields] = {};
        if (disk.Name.empty() || !ReadNumbers(line, v, kFields)) {
            continue;
        }
        // reads merged sectors ms, writes merged sectors ms, in flight, io ms, weighted ms
        disk.Reads = v[0];
        disk.ReadSectors = v[2];
        disk.ReadMs = v[3];
        disk.Writes = v[4];
        disk.WriteSectors = v[6];
        disk.WriteMs = v[7];
        disk.InProgress = v[8];
        disk.IoMs = v[9];
        disk.WeightedMs = v[10];
        disks.push_back(std::move(disk));
    }
    return disks;
}

std::vector<tagSCA_NET_DEV> SCA_ProcParser::ParseNetDev(std::string_view text) {
    constexpr size_t kFields = 16;
    std::vector<tagSCA_NET_DEV> devices;
    while (!text.empty()) {
        std::string_view line = NextLine(text);
        const size_t colon = line.find(':');
        if (colon == std::string_view::npos) {
            continue; // the two header lines
        }
        std::string_view name = line.substr(0, colon);
        while (!name.empty() && IsBlank(name.front())) {
            name.remove_prefix(1);
        }
        std::string_view rest = line.substr(colon + 1);
        uint64_t v[kFields] = {};
        if (name.empty() || !ReadNumbers(rest, v, kFields)) {
            continue;
        }
        // receive: bytes packets errs drop fifo frame compressed multicast; then transmit
        constexpr size_t kTx = 8;
        devices.push_back({std::string(name), v[0], v[1], v[2], v[3], v[kTx], v[kTx + 1],
                           v[kTx + 2], v[kTx + 3]});
    }
    return devices;
}

std::vector<tagSCA_MOUNT> SCA_ProcParser::ParseMountInfo(std::string_view text) {
    std::vector<tagSCA_MOUNT> mounts;
    while (!text.empty()) {
        std::string_view line = NextLine(text);
        NextToken(line); // mount id
        NextToken(line); // parent id
        std::string_view device = NextToken(line);
        NextToken(line); // root inside the file system
        std::string_view mountPoint = NextToken(line);
        // Optional fields run up to a lone "-"; then type and source.
        std::string_view token;
        do {
            token = NextToken(line);
        } while (!token.empty() && token != "-");
        std::string_view fsType = NextToken(line);
        std::string_view source = NextToken(line);
        const size_t colon = device.find(':');
        tagSCA_MOUNT mount;
        if (colon == std::string_view::npos || !ToNumber(device.substr(0, colon), &mount.Major) ||
            !ToNumber(device.substr(colon + 1), &mount.Minor) || mountPoint.empty() ||
            fsType.empty()) {
            continue;
        }
        mount.MountPoint = Unescape(mountPoint);
        mount.FsType = std::string(fsType);
        mount.Source = Unescape(source);
        mounts.push_back(std::move(mount));
    }
    return mounts;
}

std::optional<tagSCA_PID_STAT> SCA_ProcParser::ParsePidStat(std::string_view text) {
    // The name may hold blanks and parentheses: it runs from the first '(' to the last ')'.
    const size_t open = text.find('(');
    const size_t close = text.rfind(')');
    tagSCA_PID_STAT stat;
    if (open == std::string_view::npos || close == std::string_view::npos || close < open) {
        return std::nullopt;
    }
    std::string_view head = text.substr(0, open);
    if (!ToNumber(NextToken(head), &stat.Pid)) {
        return std::nullopt;
    }
    stat.Name = std::string(text.substr(open + 1, close - open - 1));
    std::string_view rest = text.substr(close + 1);
    std::string_view fields[kRss + 1];
    for (size_t i = kState; i <= kRss; ++i) {
        fields[i] = NextToken(rest);
    }
    if (fields[kState].empty() || !ToNumber(fields[kParent], &stat.ParentPid) ||
        !ToNumber(fields[kFlags], &stat.Flags) ||
        !ToNumber(fields[kMinorFaults], &stat.MinorFaults) ||
        !ToNumber(fields[kMajorFaults], &stat.MajorFaults) ||
        !ToNumber(fields[kUserTicks], &stat.UserTicks) ||
        !ToNumber(fields[kSystemTicks], &stat.SystemTicks) ||
        !ToSigned(fields[kPriority], &stat.Priority) || !ToSigned(fields[kNice], &stat.Nice) ||
        !ToNumber(fields[kThreads], &stat.Threads) ||
        !ToNumber(fields[kStartTicks], &stat.StartTicks) ||
        !ToNumber(fields[kRss], &stat.RssPages)) {
        return std::nullopt;
    }
    stat.State = fields[kState].front();
    return stat;
}

std::optional<tagSCA_PID_IO> SCA_ProcParser::ParsePidIo(std::string_view text) {
    // Read once per process per pass: the four counters are picked out without a list of
    // every line. The first line of each name counts, as in the list.
    constexpr std::string_view kNames[] = {"rchar", "wchar", "syscr", "syscw"};
    constexpr uint32_t kAllFound = (1u << std::size(kNames)) - 1;
    uint64_t values[std::size(kNames)] = {};
    uint32_t found = 0;
    std::string_view key;
    uint64_t value = 0;
    while (!text.empty() && found != kAllFound) {
        if (!ParseKeyValueLine(NextLine(text), &key, &value)) {
            continue;
        }
        for (size_t i = 0; i < std::size(kNames); ++i) {
            if (key == kNames[i] && (found & (1u << i)) == 0) {
                values[i] = value;
                found |= 1u << i;
            }
        }
    }
    if (found != kAllFound) {
        return std::nullopt;
    }
    return tagSCA_PID_IO{values[0], values[1], values[2], values[3]};
}

std::optional<uint64_t> SCA_ProcParser::ParseLoadAvgThreads(std::string_view text) {
    constexpr uint32_t kEntitiesField = 3;
    std::string_view token;
    for (uint32_t i = 0; i <= kEntitiesField; ++i) {
        token = NextToken(text);
    }
    const size_t slash = token.find('/');
    uint64_t total = 0;
    if (slash == std::string_view::npos || !ToNumber(token.substr(slash + 1), &total)) {
        return std::nullopt;
    }
    return total;
}

std::optional<uint64_t> SCA_ProcParser::ParseFirstNumber(std::string_view text) {
    return ParseNthNumber(text, 0);
}

std::optional<uint64_t> SCA_ProcParser::ParseNthNumber(std::string_view text, uint32_t index) {
    std::string_view line = NextLine(text);
    std::string_view token;
    for (uint32_t i = 0; i <= index; ++i) {
        token = NextToken(line);
    }
    uint64_t value = 0;
    if (!ToNumber(token, &value)) {
        return std::nullopt;
    }
    return value;
}

uint64_t SCA_ProcParser::CountEstablished(std::string_view text) {
    constexpr uint32_t kStateField = 3; // sl local remote st
    uint64_t count = 0;
    NextLine(text); // header
    while (!text.empty()) {
        std::string_view line = NextLine(text);
        std::string_view token;
        for (uint32_t i = 0; i <= kStateField; ++i) {
            token = NextToken(line);
        }
        count += token == kEstablishedState ? 1 : 0;
    }
    return count;
}

std::vector<std::string> SCA_ProcParser::ParseMapsPaths(std::string_view text) {
    constexpr uint32_t kPathField = 5; // address perms offset dev inode path
    std::vector<std::string> paths;
    while (!text.empty()) {
        std::string_view line = NextLine(text);
        for (uint32_t i = 0; i < kPathField; ++i) {
            NextToken(line);
        }
        while (!line.empty() && IsBlank(line.front())) {
            line.remove_prefix(1);
        }
        if (line.empty() || line.front() != '/') {
            continue; // anonymous, [heap], [stack], [vdso]
        }
        bool seen = false;
        for (const std::string& path : paths) {
            seen = seen || path == line;
        }
        if (!seen) {
            paths.emplace_back(line);
        }
    }
    return paths;
}

std::vector<std::string> SCA_ProcParser::ParseSambaShares(std::string_view text) {
    std::vector<std::string> shares;
    while (!text.empty()) {
        std::string_view line = NextLine(text);
        while (!line.empty() && IsBlank(line.front())) {
            line.remove_prefix(1);
        }
        while (!line.empty() && IsBlank(line.back())) {
            line.remove_suffix(1);
        }
        if (line.size() < 2 || line.front() != '[' || line.back() != ']') {
            continue;
        }
        std::string name(line.substr(1, line.size() - 2));
        std::string lower;
        for (char c : name) {
            lower.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
        }
        if (name.empty() || lower == "global" || lower == "homes" || lower == "printers" ||
            lower == "print$") {
            continue;
        }
        shares.push_back(std::move(name));
    }
    return shares;
}

uint64_t SCA_ProcParser::CountUtmpUsers(std::string_view bytes) {
    uint64_t count = 0;
    for (size_t at = 0; at + sizeof(utmpx) <= bytes.size(); at += sizeof(utmpx)) {
        utmpx record;
        std::memcpy(&record, bytes.data() + at, sizeof(record));
        count += record.ut_type == USER_PROCESS ? 1 : 0;
    }
    return count;
}

const uint64_t* SCA_ProcParser::Find(const tagSCA_KEY_VALUES& values, std::string_view key) {
    for (const auto& [name, value] : values) {
        if (name == key) {
            return &value;
        }
    }
    return nullptr;
}
