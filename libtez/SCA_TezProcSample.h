#pragma once

#include <cstdint>

// What one pass reads of one process from /proc: the raw numbers, before any arithmetic. The
// Has* flags say which optional files could be read (another user's io and fd folder are
// closed to an unprivileged reader).
struct tagSCA_TEZ_PROC_SAMPLE {
    uint32_t Pid = 0;
    uint32_t ParentPid = 0;
    uint64_t StartTicks = 0; // clock ticks after boot: with the pid, the process's identity
    char State = '?';
    int32_t Priority = 0;
    int32_t Nice = 0;
    uint32_t Flags = 0;
    uint64_t UserTicks = 0;
    uint64_t SystemTicks = 0;
    uint64_t MinorFaults = 0;
    uint64_t MajorFaults = 0;
    uint32_t Threads = 0;
    uint64_t RssBytes = 0;
    bool HasRss = false;
    uint32_t Uid = 0;
    bool HasUid = false;
    uint32_t Handles = 0;
    bool HasHandles = false;
    uint64_t ReadBytes = 0;
    uint64_t WriteBytes = 0;
    bool HasIo = false;
    uint32_t CommLength = 0; // bytes of the name as stat gives it
    char Name[256] = "";
};
