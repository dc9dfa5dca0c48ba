#pragma once

#include <cstddef>
#include <cstdint>

struct tagSCA_TEZ_PROC_SAMPLE;
class SCA_ExeModuleList;

// Parsers of the /proc files one process scan reads. They take the file's bytes (not
// terminated, any content) and never read past them. Each answers 1 when the fields it is
// responsible for were found.

// The kernel marks its own threads with this flag in the stat flags field.
inline constexpr uint32_t SCA_PROC_FLAG_KERNEL_THREAD = 0x00200000u;
// The kernel cuts the name in stat to this many bytes.
inline constexpr uint32_t SCA_PROC_COMM_MAX = 15;

// /proc/PID/stat: pid, the name between the first '(' and the last ')' (names may hold blanks
// and ')'), then the fields after it: state, parent, flags, faults, CPU ticks, priority, nice,
// threads, start ticks.
int SCA_TezParseProcStat(const char* text, size_t size, tagSCA_TEZ_PROC_SAMPLE* sample);
// /proc/PID/status: the resident memory (VmRSS, kB). Absent for kernel threads.
int SCA_TezParseProcStatus(const char* text, size_t size, tagSCA_TEZ_PROC_SAMPLE* sample);
// /proc/PID/io: the bytes passed through read and write calls (rchar, wchar).
int SCA_TezParseProcIo(const char* text, size_t size, tagSCA_TEZ_PROC_SAMPLE* sample);
// /proc/stat: the boot time in seconds since 1970 (btime).
int SCA_TezParseBootTime(const char* text, size_t size, uint64_t* bootSeconds);
// /proc/PID/maps: every file-backed mapping (a path after a nonzero inode), each file once, as
// modules numbered from 1 in order of first appearance. 0 when a module cannot be added.
int SCA_TezParseProcMaps(const char* text, size_t size, SCA_ExeModuleList* modules);
