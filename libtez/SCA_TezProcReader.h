#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "libtez/SCA_TezProcSample.h"

class SCA_ConfigObj;
class SCA_ExeModuleList;

// Turns the files of one /proc tree into numbers. The root is a parameter so that tests read
// fixture trees. It reads only the files a scan needs and reuses one buffer for all of them;
// a process that vanishes while it is read is simply not there. Not thread-safe: one reader
// per scanning thread.
class SCA_TezProcReader {
public:
    explicit SCA_TezProcReader(const char* root = "/proc");

    const char* GetRoot() const { return m_Root.c_str(); }
    void SetRoot(const char* root);

    // The numeric entries of the root (the process ids), in directory order.
    int ListPids(std::vector<uint32_t>* pids);
    // Reads stat, status, io and the fd folder of pid into *sample. 0 when the process is
    // gone (or going) or is a kernel thread.
    int ReadSample(uint32_t pid, tagSCA_TEZ_PROC_SAMPLE* sample);
    // Completes a name the kernel cut from the executable's (or the command line's) base name
    // when it begins with the cut name; other names are left alone.
    void CompleteName(uint32_t pid, tagSCA_TEZ_PROC_SAMPLE* sample);

    // The name of a user id (cached); the id in decimal when the system has no name for it.
    const char* GetUserName(uint32_t uid);
    // Seconds since 1970 when the computer started (read once), 0 when unknown.
    uint64_t GetBootSeconds();

    // The properties of process pid, when it is still the process that started at
    // startTicks, as value fields of info: "Command Line", "Executable Path", "User",
    // "Start Time", "Parent PID", "Priority", "Nice", "State". Properties whose file cannot be
    // read are left out. 0 when the process is gone or is another one now.
    int LoadInfo(uint32_t pid, uint64_t startTicks, uint32_t ticksPerSecond, SCA_ConfigObj* info);
    // The file-backed modules of pid from its maps. 0 with *error (an errno value) when the
    // file cannot be read.
    int ReadModules(uint32_t pid, SCA_ExeModuleList* modules, uint32_t* error);

private:
    int OpenProcess(uint32_t pid);
    // Reads the file name under dirFd into the buffer; 0 (errno set) when it cannot.
    int ReadAt(int dirFd, const char* name);
    void ReadOwner(int dirFd, tagSCA_TEZ_PROC_SAMPLE* sample);
    void CountHandles(int dirFd, tagSCA_TEZ_PROC_SAMPLE* sample);
    void ResolveName(int dirFd, tagSCA_TEZ_PROC_SAMPLE* sample);
    int AddCommandLine(int dirFd, SCA_ConfigObj* info);
    int AddExecutable(int dirFd, SCA_ConfigObj* info);

    std::string m_Root;
    std::vector<char> m_Buffer;
    size_t m_Length = 0;
    std::unordered_map<uint32_t, std::string> m_UserNames;
    uint64_t m_BootSeconds = 0;
    bool m_BootRead = false;
};
