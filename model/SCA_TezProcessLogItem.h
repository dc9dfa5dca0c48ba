// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libmor/SCA_Heap.h"
#include "libmor/SCA_Object.h"

class SCA_ConfigObj;

// Event codes of the process log.
inline constexpr uint32_t SCA_PROCESS_LOG_START = 0;
inline constexpr uint32_t SCA_PROCESS_LOG_END = 1;

// One event of a process monitor's log: a process started or ended, with what was known of it
// then. Times are whole seconds (AbsTime of the platform clock, RunTime a duration). Plain
// members and fixed texts: copies are member by member. Texts hold 256 bytes; longer ones are
// cut on a UTF-8 boundary.
class SCA_TezProcessLogItem : public SCA_Object {
public:
    SCA_HEAP_OPERATORS

    SCA_TezProcessLogItem() { SetConstructed(); }
    SCA_TezProcessLogItem(const SCA_TezProcessLogItem&) = default;
    SCA_TezProcessLogItem& operator=(const SCA_TezProcessLogItem&) = default;
    ~SCA_TezProcessLogItem() override = default;

    uint32_t GetItemId() const { return m_ItemId; }
    void SetItemId(uint32_t id) { m_ItemId = id; }
    uint32_t GetOpCode() const { return m_OpCode; }
    void SetOpCode(uint32_t code) { m_OpCode = code; }
    uint32_t GetProcessId() const { return m_ProcessId; }
    void SetProcessId(uint32_t id) { m_ProcessId = id; }
    uint32_t GetParentPid() const { return m_ParentPid; }
    void SetParentPid(uint32_t id) { m_ParentPid = id; }
    uint64_t GetAbsTime() const { return m_AbsTime; }
    void SetAbsTime(uint64_t seconds) { m_AbsTime = seconds; }
    uint64_t GetRunTime() const { return m_RunTime; }
    void SetRunTime(uint64_t seconds) { m_RunTime = seconds; }
    double GetCpuUsage() const { return m_CpuUsage; }
    void SetCpuUsage(double value) { m_CpuUsage = value; }
    double GetUsedMemory() const { return m_UsedMemory; }
    void SetUsedMemory(double value) { m_UsedMemory = value; }
    double GetDataTransfer() const { return m_DataTransfer; }
    void SetDataTransfer(double value) { m_DataTransfer = value; }
    double GetTotalDataTransfer() const { return m_TotalDataTransfer; }
    void SetTotalDataTransfer(double value) { m_TotalDataTransfer = value; }
    double GetThreadCount() const { return m_ThreadCount; }
    void SetThreadCount(double value) { m_ThreadCount = value; }
    double GetHandleCount() const { return m_HandleCount; }
    void SetHandleCount(double value) { m_HandleCount = value; }
    const char* GetProcessName() const { return m_ProcessName; }
    void SetProcessName(const char* name);
    const char* GetUserName() const { return m_UserName; }
    void SetUserName(const char* name);
    const char* GetParentProcess() const { return m_ParentProcess; }
    void SetParentProcess(const char* name);
    const char* GetParentUser() const { return m_ParentUser; }
    void SetParentUser(const char* name);

    // The user name, or defaultName when it is empty.
    const char* GetUserNameEx(const char* defaultName) const;
    // A line for the log view: "Process started by <parent> (PID n)" (without the parent part
    // when none is known), "Process ended after <run time>", or "Event <code>". Bounded by size;
    // 0 when size is 0 (nothing written).
    int BuildDescription(char* buf, uint32_t size) const;

    // One field per member, named as its accessor without "Get".
    int Serialize(SCA_ConfigObj* object) const;
    // 0 for a null object or one without "ItemId"; other fields missing keep their values.
    int Deserialize(SCA_ConfigObj* object);

private:
    uint32_t m_ItemId = 0;
    uint32_t m_OpCode = 0;
    uint32_t m_ProcessId = 0;
    uint32_t m_ParentPid = 0;
    uint64_t m_AbsTime = 0;
    uint64_t m_RunTime = 0;
    double m_CpuUsage = 0.0;
    double m_UsedMemory = 0.0;
    double m_DataTransfer = 0.0;
    double m_TotalDataTransfer = 0.0;
    double m_ThreadCount = 0.0;
    double m_HandleCount = 0.0;
    char m_ProcessName[256] = "";
    char m_UserName[256] = "";
    char m_ParentProcess[256] = "";
    char m_ParentUser[256] = "";
};
