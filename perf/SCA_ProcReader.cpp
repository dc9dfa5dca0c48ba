// SPDX-License-Identifier: MIT
#include "perf/SCA_ProcReader.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <new>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "libmor/SCA_String.h"
#include "libmor/SCA_Time.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_ExeModuleList.h"
#include "model/SCA_TezRecordFields.h"
#include "perf/SCA_PerfFileReader.h"

namespace {

// Room for the user database entry of one user.
constexpr size_t kPasswdBuffer = 4096;
constexpr size_t kPathSize = 4096;
constexpr size_t kPidNameSize = 16;
constexpr char kDeletedSuffix[] = " (deleted)";
constexpr uint64_t kNsPerAbsUnit = 100;

// Closes a descriptor at the end of a scope.
class FdGuard {
public:
    explicit FdGuard(int fd) : m_Fd(fd) {}
    ~FdGuard() {
        if (m_Fd >= 0) {
            close(m_Fd);
        }
    }
    FdGuard(const FdGuard&) = delete;
    FdGuard& operator=(const FdGuard&) = delete;
    int Get() const { return m_Fd; }

private:
    int m_Fd;
};

bool IsPidName(const char* name, uint32_t* pid) {
    uint64_t value = 0;
    if (*name == '\0') {
        return false;
    }
    for (const char* c = name; *c != '\0'; ++c) {
        if (*c < '0' || *c > '9' || value > UINT32_MAX) {
            return false;
        }
        value = value * 10 + static_cast<uint64_t>(*c - '0');
    }
    *pid = static_cast<uint32_t>(value);
    return value <= UINT32_MAX;
}

const char* BaseName(const char* path) {
    const char* slash = std::strrchr(path, '/');
    return slash != nullptr ? slash + 1 : path;
}

// Takes candidate as the name when it begins with the cut name the kernel gave.
bool TakeLongName(const char* candidate, std::string* name) {
    if (std::strncmp(candidate, name->c_str(), name->size()) != 0 ||
        std::strlen(candidate) <= name->size()) {
        return false;
    }
    *name = candidate;
    return true;
}

const char* StateText(char state) {
    switch (state) {
    case 'R':
        return "Running";
    case 'S':
        return "Sleeping";
    case 'D':
        return "Waiting for disk";
    case 'Z':
        return "Zombie";
    case 'T':
    case 't':
        return "Stopped";
    case 'I':
        return "Idle";
    default:
        return "Unknown";
    }
}

uint64_t ToAbsTime(const timespec& time) {
    return static_cast<uint64_t>(time.tv_sec) * SCA_ABS_TIME_SECOND +
           static_cast<uint64_t>(time.tv_nsec) / kNsPerAbsUnit;
}

} // namespace

SCA_ProcReader::SCA_ProcReader(const char* root) {
    SetRoot(root);
}

void SCA_ProcReader::SetRoot(const char* root) {
    m_Root = root != nullptr ? root : "/proc";
    m_BootRead = false;
}

int SCA_ProcReader::ListPids(std::vector<uint32_t>* pids) {
    pids->clear();
    DIR* dir = opendir(m_Root.c_str());
    if (dir == nullptr) {
        return 0;
    }
    uint32_t pid = 0;
    while (const dirent* entry = readdir(dir)) {
        if (IsPidName(entry->d_name, &pid)) {
            pids->push_back(pid);
        }
    }
    closedir(dir);
    return 1;
}

SCA_ProcReader::Pass::Pass(SCA_ProcReader* reader) : m_Reader(reader) {
    if (m_Reader->m_PassRootFd < 0) {
        m_Reader->m_PassRootFd = open(m_Reader->m_Root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    } else {
        m_Reader = nullptr; // an outer pass holds it
    }
}

SCA_ProcReader::Pass::~Pass() {
    if (m_Reader != nullptr && m_Reader->m_PassRootFd >= 0) {
        close(m_Reader->m_PassRootFd);
        m_Reader->m_PassRootFd = -1;
    }
}

int SCA_ProcReader::OpenProcess(uint32_t pid) {
    if (m_PassRootFd >= 0) {
        char name[kPidNameSize];
        const auto end = std::to_chars(name, name + sizeof(name) - 1, pid).ptr;
        *end = '\0';
        return openat(m_PassRootFd, name, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    }
    char path[kPathSize];
    std::snprintf(path, sizeof(path), "%s/%u", m_Root.c_str(), pid);
    return open(path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

int SCA_ProcReader::ReadAt(int dirFd, const char* name) {
    return SCA_PerfFileReader::ReadFileInto(dirFd, name, &m_Buffer, &m_Length) ? 1 : 0;
}

std::optional<tagSCA_PROC_STAT> SCA_ProcReader::ReadMachineStat() {
    const FdGuard root(
        m_PassRootFd >= 0 ? -1 : open(m_Root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    const int rootFd = m_PassRootFd >= 0 ? m_PassRootFd : root.Get();
    if (rootFd < 0 || !ReadAt(rootFd, "stat")) {
        return std::nullopt;
    }
    return SCA_ProcParser::ParseStat(Text());
}

std::optional<tagSCA_PID_STAT> SCA_ProcReader::ReadStatAt(int dirFd) {
    return ReadAt(dirFd, "stat") ? SCA_ProcParser::ParsePidStat(Text()) : std::nullopt;
}

std::optional<tagSCA_PID_IO> SCA_ProcReader::ReadIoAt(int dirFd) {
    return ReadAt(dirFd, "io") ? SCA_ProcParser::ParsePidIo(Text()) : std::nullopt;
}

std::optional<uint32_t> SCA_ProcReader::CountHandlesAt(int dirFd) {
    const int fd = openat(dirFd, "fd", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt; // another user's process: unknown, not 0
    }
    DIR* dir = fdopendir(fd);
    if (dir == nullptr) {
        close(fd);
        return std::nullopt;
    }
    uint32_t count = 0;
    while (const dirent* entry = readdir(dir)) {
        count += entry->d_name[0] != '.' ? 1u : 0u;
    }
    closedir(dir);
    return count;
}

std::optional<uint32_t> SCA_ProcReader::ReadOwner(int dirFd) {
    struct stat info {};
    if (fstat(dirFd, &info) != 0) {
        return std::nullopt;
    }
    return info.st_uid;
}

std::optional<tagSCA_PID_STAT> SCA_ProcReader::ReadStat(uint32_t pid) {
    const FdGuard dir(OpenProcess(pid));
    return dir.Get() >= 0 ? ReadStatAt(dir.Get()) : std::nullopt;
}

std::optional<tagSCA_PID_IO> SCA_ProcReader::ReadIo(uint32_t pid) {
    const FdGuard dir(OpenProcess(pid));
    return dir.Get() >= 0 ? ReadIoAt(dir.Get()) : std::nullopt;
}

std::optional<uint32_t> SCA_ProcReader::CountHandles(uint32_t pid) {
    const FdGuard dir(OpenProcess(pid));
    return dir.Get() >= 0 ? CountHandlesAt(dir.Get()) : std::nullopt;
}

int SCA_ProcReader::HasEnded(const tagSCA_PID_STAT& stat) {
    // A thread group whose leader alone exited still runs its other threads, and counts them.
    const bool exited =
        stat.State == 'Z' || stat.State == 'X' || (stat.Flags & SCA_PROC_FLAG_EXITING) != 0;
    return exited && stat.Threads <= 1 ? 1 : 0;
}

int SCA_ProcReader::ReadSample(uint32_t pid, tagSCA_PROC_SAMPLE* sample) {
    const FdGuard dir(OpenProcess(pid));
    auto stat = dir.Get() >= 0 ? ReadStatAt(dir.Get()) : std::nullopt;
    if (!stat || (stat->Flags & SCA_PROC_FLAG_KERNEL_THREAD) != 0 || HasEnded(*stat)) {
        return 0;
    }
    sample->Stat = std::move(*stat);
    sample->Stat.Pid = pid;
    sample->Io = ReadIoAt(dir.Get());
    sample->Handles = CountHandlesAt(dir.Get());
    sample->Uid = ReadOwner(dir.Get());
    return 1;
}

void SCA_ProcReader::CompleteName(uint32_t pid, tagSCA_PROC_SAMPLE* sample) {
    if (sample->Stat.Name.size() < SCA_PROC_COMM_MAX) {
        return;
    }
    const FdGuard dir(OpenProcess(pid));
    if (dir.Get() >= 0) {
        ResolveName(dir.Get(), &sample->Stat.Name);
    }
}

void SCA_ProcReader::ResolveName(int dirFd, std::string* name) {
    char path[kPathSize];
    const ssize_t length = readlinkat(dirFd, "exe", path, sizeof(path) - 1);
    if (length > 0) {
        path[length] = '\0';
        const size_t suffix = sizeof(kDeletedSuffix) - 1;
        const size_t size = static_cast<size_t>(length);
        if (size > suffix && std::strcmp(path + size - suffix, kDeletedSuffix) == 0) {
            path[size - suffix] = '\0';
        }
        if (TakeLongName(BaseName(path), name)) {
            return;
        }
    }
    // Scripts run by an interpreter: the first word of the command line names them.
    if (ReadAt(dirFd, "cmdline") && m_Length != 0) {
        TakeLongName(BaseName(m_Buffer.c_str()), name); // the first argument ends at its NUL
    }
}

const char* SCA_ProcReader::GetUserName(uint32_t uid) {
    auto found = m_UserNames.find(uid);
    if (found != m_UserNames.end()) {
        return found->second.c_str();
    }
    passwd entry{};
    passwd* result = nullptr;
    char buffer[kPasswdBuffer];
    std::string name;
    if (getpwuid_r(uid, &entry, buffer, sizeof(buffer), &result) == 0 && result != nullptr) {
        name = result->pw_name;
    } else {
        name = std::to_string(uid);
    }
    return m_UserNames.emplace(uid, std::move(name)).first->second.c_str();
}

uint64_t SCA_ProcReader::GetBootSeconds() {
    if (!m_BootRead) {
        const auto stat = ReadMachineStat();
        m_BootSeconds = stat && stat->BootTime ? *stat->BootTime : 0;
        m_BootRead = true;
    }
    return m_BootSeconds;
}

int SCA_ProcReader::AddCommandLine(int dirFd, SCA_ConfigObj* info) {
    if (!ReadAt(dirFd, "cmdline")) {
        return 1;
    }
    // Arguments are separated by NULs; the last one ends with one.
    std::string line(Text());
    while (!line.empty() && line.back() == '\0') {
        line.pop_back();
    }
    for (char& c : line) {
        c = c == '\0' ? ' ' : c;
    }
    return SCA_AddTextField(info, "Command Line", line.c_str());
}

int SCA_ProcReader::AddExecutable(int dirFd, SCA_ConfigObj* info) {
    char path[kPathSize];
    const ssize_t length = readlinkat(dirFd, "exe", path, sizeof(path) - 1);
    if (length <= 0) {
        return 1;
    }
    path[length] = '\0';
    return SCA_AddTextField(info, "Executable Path", path);
}

int SCA_ProcReader::LoadInfo(uint32_t pid, uint64_t startTicks, uint32_t ticksPerSecond,
                             SCA_ConfigObj* info) {
    const FdGuard dir(OpenProcess(pid));
    const auto stat = dir.Get() >= 0 ? ReadStatAt(dir.Get()) : std::nullopt;
    if (!stat || stat->StartTicks != startTicks) {
        return 0;
    }
    const auto owner = ReadOwner(dir.Get());
    char text[256];
    int ok = AddCommandLine(dir.Get(), info) && AddExecutable(dir.Get(), info);
    if (owner) {
        ok = ok && SCA_AddTextField(info, "User", GetUserName(*owner));
    }
    const uint64_t boot = GetBootSeconds();
    if (boot != 0 && ticksPerSecond != 0) {
        const uint64_t start = (boot + startTicks / ticksPerSecond) * SCA_ABS_TIME_SECOND;
        SCA_FormatAbsTime(start, text, sizeof(text));
        ok = ok && SCA_AddTextField(info, "Process Started", text);
    }
    std::snprintf(text, sizeof(text), "%c (%s)", stat->State, StateText(stat->State));
    return ok && info->AddField("Priority", static_cast<int>(stat->Priority)) &&
           info->AddField("Nice", static_cast<int>(stat->Nice)) &&
           SCA_AddTextField(info, "State", text);
}

int SCA_ProcReader::ReadModules(uint32_t pid, SCA_ExeModuleList* modules, uint32_t* error) {
    const FdGuard dir(OpenProcess(pid));
    if (dir.Get() < 0 || !ReadAt(dir.Get(), "maps")) {
        *error = static_cast<uint32_t>(errno);
        return 0;
    }
    uint32_t id = 1;
    for (const std::string& file : SCA_ProcParser::ParseMapsPaths(Text())) {
        auto* module = new (std::nothrow) SCA_ExeModule();
        if (module == nullptr) {
            *error = ENOMEM;
            return 0;
        }
        module->SetId(id++);
        module->SetFileName(file.c_str());
        struct stat info {};
        if (stat(file.c_str(), &info) == 0) {
            module->SetFileSize(static_cast<uint64_t>(info.st_size));
            module->SetModificationDate(ToAbsTime(info.st_mtim));
            module->SetCreationDate(ToAbsTime(info.st_ctim));
        }
        if (!modules->AddModule(module)) {
            module->Destroy();
            *error = ENOMEM;
            return 0;
        }
    }
    return 1;
}
