// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "perf/SCA_ProcParser.h"
#include "perf/SCA_ProcSample.h"

class SCA_ConfigObj;
class SCA_ExeModuleList;

// Reads the process files of one /proc tree; the text goes through SCA_ProcParser. The root is
// a parameter so that tests read fixture trees. Every file of a process is opened relative to
// its folder, so a process that ends and whose pid is taken again cannot mix its files with the
// newcomer's; a process that vanishes while it is read is simply not there. One buffer serves
// every read: not thread-safe, one reader per thread.
class SCA_ProcReader {
public:
    explicit SCA_ProcReader(const char* root = "/proc");

    const char* GetRoot() const { return m_Root.c_str(); }
    void SetRoot(const char* root);

    // Holds the root open while it lives, so that the processes of a pass are opened relative
    // to it rather than each by its whole path.
    class Pass {
    public:
        explicit Pass(SCA_ProcReader* reader);
        ~Pass();
        Pass(const Pass&) = delete;
        Pass& operator=(const Pass&) = delete;

    private:
        SCA_ProcReader* m_Reader;
    };

    // The numeric entries of the root (the process ids), in directory order.
    int ListPids(std::vector<uint32_t>* pids);
    // The computer's /proc/stat (processor ticks, boot time).
    std::optional<tagSCA_PROC_STAT> ReadMachineStat();
    std::optional<tagSCA_PID_STAT> ReadStat(uint32_t pid);
    std::optional<tagSCA_PID_IO> ReadIo(uint32_t pid);
    std::optional<uint32_t> CountHandles(uint32_t pid);
    // Reads stat, io, the fd folder and the owner of pid into *sample. 0 when the process is
    // gone, has ended (HasEnded) or is a kernel thread.
    int ReadSample(uint32_t pid, tagSCA_PROC_SAMPLE* sample);
    // 1 when stat is of a process that has exited, or is exiting, and only waits for its
    // parent to take its exit status: it has no memory, files or I/O left, so a reading of it
    // would be zeros where the process never had them.
    static int HasEnded(const tagSCA_PID_STAT& stat);
    // Completes a name the kernel cut from the executable's (or the command line's) base name
    // when it begins with the cut name; other names are left alone.
    void CompleteName(uint32_t pid, tagSCA_PROC_SAMPLE* sample);

    // The name of a user id (cached); the id in decimal when the system has no name for it.
    const char* GetUserName(uint32_t uid);
    // Seconds since 1970 when the computer started (read once), 0 when unknown.
    uint64_t GetBootSeconds();

    // The properties of process pid, when it is still the process that started at
    // startTicks, as value fields of info: "Command Line", "Executable Path", "User",
    // "Process Started", "Priority", "Nice", "State" (the parent id and the time the monitor
    // first saw the process are the record's own, shown beside these under names of their own).
    // Properties whose file cannot be read are left out. 0 when the process is gone or is another
    // one now.
    int LoadInfo(uint32_t pid, uint64_t startTicks, uint32_t ticksPerSecond, SCA_ConfigObj* info);
    // The file-backed modules of pid from its maps, numbered from 1, with the size and times of
    // each file that can be found. 0 with *error (an errno value) when maps cannot be read.
    int ReadModules(uint32_t pid, SCA_ExeModuleList* modules, uint32_t* error);

private:
    int OpenProcess(uint32_t pid);
    // Reads the file name under dirFd into the buffer; 0 (errno set) when it cannot.
    int ReadAt(int dirFd, const char* name);
    std::string_view Text() const { return {m_Buffer.data(), m_Length}; }
    std::optional<tagSCA_PID_STAT> ReadStatAt(int dirFd);
    std::optional<tagSCA_PID_IO> ReadIoAt(int dirFd);
    static std::optional<uint32_t> CountHandlesAt(int dirFd);
    static std::optional<uint32_t> ReadOwner(int dirFd);
    void ResolveName(int dirFd, std::string* name);
    int AddCommandLine(int dirFd, SCA_ConfigObj* info);
    static int AddExecutable(int dirFd, SCA_ConfigObj* info);

    std::string m_Root;
    int m_PassRootFd = -1;
    std::string m_Buffer;
    size_t m_Length = 0; // of the last file read into m_Buffer
    std::unordered_map<uint32_t, std::string> m_UserNames;
    uint64_t m_BootSeconds = 0;
    bool m_BootRead = false;
};
