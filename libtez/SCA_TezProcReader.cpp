#include "libtez/SCA_TezProcReader.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "libmor/SCA_String.h"
#include "libmor/SCA_Time.h"
#include "libtez/SCA_TezProcParse.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_ExeModuleList.h"
#include "model/SCA_TezRecordFields.h"

namespace {

// Enough for the stat, status and io of nearly every process; grows when a file is larger.
constexpr size_t kInitialBuffer = 4096;
// Room for the user database entry of one user.
constexpr size_t kPasswdBuffer = 4096;
constexpr char kDeletedSuffix[] = " (deleted)";

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
bool TakeLongName(const char* candidate, tagSCA_TEZ_PROC_SAMPLE* sample) {
    const size_t cut = std::strlen(sample->Name);
    if (std::strncmp(candidate, sample->Name, cut) != 0 || std::strlen(candidate) <= cut) {
        return false;
    }
    SCA_StrnCpy(sample->Name, candidate, sizeof(sample->Name));
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

} // namespace

SCA_TezProcReader::SCA_TezProcReader(const char* root) : m_Buffer(kInitialBuffer) {
    SetRoot(root);
}

void SCA_TezProcReader::SetRoot(const char* root) {
    m_Root = root != nullptr ? root : "/proc";
    m_BootRead = false;
}

int SCA_TezProcReader::ListPids(std::vector<uint32_t>* pids) {
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

int SCA_TezProcReader::OpenProcess(uint32_t pid) {
    // Every file of the process is then opened relative to this folder: a process that ends
    // and whose pid is taken again cannot mix its files with the newcomer's.
    char path[4096];
    std::snprintf(path, sizeof(path), "%s/%u", m_Root.c_str(), pid);
    return open(path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

int SCA_TezProcReader::ReadAt(int dirFd, const char* name) {
    const FdGuard fd(openat(dirFd, name, O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0) {
        return 0;
    }
    m_Length = 0;
    for (;;) {
        if (m_Length == m_Buffer.size()) {
            m_Buffer.resize(m_Buffer.size() * 2);
        }
        const ssize_t got = read(fd.Get(), m_Buffer.data() + m_Length, m_Buffer.size() - m_Length);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return 0;
        }
        if (got == 0) {
            return 1;
        }
        m_Length += static_cast<size_t>(got);
    }
}

int SCA_TezProcReader::ReadSample(uint32_t pid, tagSCA_TEZ_PROC_SAMPLE* sample) {
    const FdGuard dir(OpenProcess(pid));
    *sample = tagSCA_TEZ_PROC_SAMPLE{};
    if (dir.Get() < 0 || !ReadAt(dir.Get(), "stat") ||
        !SCA_TezParseProcStat(m_Buffer.data(), m_Length, sample) ||
        (sample->Flags & SCA_PROC_FLAG_KERNEL_THREAD) != 0) {
        return 0;
    }
    sample->Pid = pid;
    // The optional files: what cannot be read stays "not available".
    if (ReadAt(dir.Get(), "status")) {
        SCA_TezParseProcStatus(m_Buffer.data(), m_Length, sample);
    }
    if (ReadAt(dir.Get(), "io")) {
        SCA_TezParseProcIo(m_Buffer.data(), m_Length, sample);
    }
    ReadOwner(dir.Get(), sample);
    CountHandles(dir.Get(), sample);
    return 1;
}

void SCA_TezProcReader::CompleteName(uint32_t pid, tagSCA_TEZ_PROC_SAMPLE* sample) {
    if (sample->CommLength < SCA_PROC_COMM_MAX) {
        return;
    }
    const FdGuard dir(OpenProcess(pid));
    if (dir.Get() >= 0) {
        ResolveName(dir.Get(), sample);
    }
}

void SCA_TezProcReader::ReadOwner(int dirFd, tagSCA_TEZ_PROC_SAMPLE* sample) {
    struct stat info {};
    if (fstat(dirFd, &info) == 0) {
        sample->Uid = info.st_uid;
        sample->HasUid = true;
    }
}

void SCA_TezProcReader::CountHandles(int dirFd, tagSCA_TEZ_PROC_SAMPLE* sample) {
    const int fd = openat(dirFd, "fd", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    DIR* dir = fdopendir(fd);
    if (dir == nullptr) {
        close(fd);
        return;
    }
    uint32_t count = 0;
    while (const dirent* entry = readdir(dir)) {
        count += entry->d_name[0] != '.' ? 1u : 0u;
    }
    closedir(dir);
    sample->Handles = count;
    sample->HasHandles = true;
}

void SCA_TezProcReader::ResolveName(int dirFd, tagSCA_TEZ_PROC_SAMPLE* sample) {
    char path[4096];
    const ssize_t length = readlinkat(dirFd, "exe", path, sizeof(path) - 1);
    if (length > 0) {
        path[length] = '\0';
        const size_t suffix = sizeof(kDeletedSuffix) - 1;
        const size_t size = static_cast<size_t>(length);
        if (size > suffix && std::strcmp(path + size - suffix, kDeletedSuffix) == 0) {
            path[size - suffix] = '\0';
        }
        if (TakeLongName(BaseName(path), sample)) {
            return;
        }
    }
    // Scripts run by an interpreter: the first word of the command line names them.
    if (ReadAt(dirFd, "cmdline") && m_Length > 0) {
        m_Buffer[std::min(m_Length, m_Buffer.size() - 1)] = '\0';
        TakeLongName(BaseName(m_Buffer.data()), sample);
    }
}

const char* SCA_TezProcReader::GetUserName(uint32_t uid) {
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

uint64_t SCA_TezProcReader::GetBootSeconds() {
    if (!m_BootRead) {
        const FdGuard root(open(m_Root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        m_BootSeconds = 0;
        if (root.Get() >= 0 && ReadAt(root.Get(), "stat")) {
            SCA_TezParseBootTime(m_Buffer.data(), m_Length, &m_BootSeconds);
        }
        m_BootRead = true;
    }
    return m_BootSeconds;
}

int SCA_TezProcReader::AddCommandLine(int dirFd, SCA_ConfigObj* info) {
    if (!ReadAt(dirFd, "cmdline")) {
        return 1;
    }
    // Arguments are separated by NULs; the last one ends with one.
    std::string line(m_Buffer.data(), m_Length);
    while (!line.empty() && line.back() == '\0') {
        line.pop_back();
    }
    for (char& c : line) {
        c = c == '\0' ? ' ' : c;
    }
    return SCA_AddTextField(info, "Command Line", line.c_str());
}

int SCA_TezProcReader::AddExecutable(int dirFd, SCA_ConfigObj* info) {
    char path[4096];
    const ssize_t length = readlinkat(dirFd, "exe", path, sizeof(path) - 1);
    if (length <= 0) {
        return 1;
    }
    path[length] = '\0';
    return SCA_AddTextField(info, "Executable Path", path);
}

int SCA_TezProcReader::LoadInfo(uint32_t pid, uint64_t startTicks, uint32_t ticksPerSecond,
                                SCA_ConfigObj* info) {
    tagSCA_TEZ_PROC_SAMPLE sample;
    const FdGuard dir(OpenProcess(pid));
    if (dir.Get() < 0 || !ReadAt(dir.Get(), "stat") ||
        !SCA_TezParseProcStat(m_Buffer.data(), m_Length, &sample) ||
        sample.StartTicks != startTicks) {
        return 0;
    }
    ReadOwner(dir.Get(), &sample);
    char text[256];
    int ok = AddCommandLine(dir.Get(), info) && AddExecutable(dir.Get(), info);
    if (sample.HasUid) {
        ok = ok && SCA_AddTextField(info, "User", GetUserName(sample.Uid));
    }
    const uint64_t boot = GetBootSeconds();
    if (boot != 0 && ticksPerSecond != 0) {
        const uint64_t start = (boot + startTicks / ticksPerSecond) * SCA_ABS_TIME_SECOND;
        SCA_FormatAbsTime(start, text, sizeof(text));
        ok = ok && SCA_AddTextField(info, "Start Time", text);
    }
    std::snprintf(text, sizeof(text), "%c (%s)", sample.State, StateText(sample.State));
    return ok && info->AddField("Parent PID", sample.ParentPid) &&
           info->AddField("Priority", static_cast<int>(sample.Priority)) &&
           info->AddField("Nice", static_cast<int>(sample.Nice)) &&
           SCA_AddTextField(info, "State", text);
}

int SCA_TezProcReader::ReadModules(uint32_t pid, SCA_ExeModuleList* modules, uint32_t* error) {
    const FdGuard dir(OpenProcess(pid));
    if (dir.Get() < 0 || !ReadAt(dir.Get(), "maps")) {
        *error = static_cast<uint32_t>(errno);
        return 0;
    }
    return SCA_TezParseProcMaps(m_Buffer.data(), m_Length, modules);
}
