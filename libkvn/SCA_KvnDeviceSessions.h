// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libkvn/SCA_KvnDeviceSession.h"
#include "libkvn/SCA_KvnExport.h"
#include "libkvn/SCA_KvnRecordList.h"

class SCA_ConfigObj;
class SCA_KvnDevice;
class SCA_KvnNetConfigUser;
class SCA_TezConfig;

// A device's recent sessions, oldest first, numbered in sequence. Opening a session keeps at
// most the newest kMaxSessions; a history read back is taken whole.
class SCA_KVN_EXPORT SCA_KvnDeviceSessions : public SCA_KvnRecordList<SCA_KvnDeviceSession> {
public:
    SCA_HEAP_OPERATORS

    static constexpr uint32_t kMaxSessions = 100;

    // The pointers are kept, not owned (any may be null).
    SCA_KvnDeviceSessions(SCA_TezConfig* config, SCA_KvnNetConfigUser* userConfig,
                          SCA_KvnDevice* device);
    ~SCA_KvnDeviceSessions() override { ClearAll(); }
    // Copies hold copies of the sessions and the same next number; flag 0 when a copy failed.
    SCA_KvnDeviceSessions(const SCA_KvnDeviceSessions& other);
    SCA_KvnDeviceSessions& operator=(const SCA_KvnDeviceSessions& other);

    SCA_TezConfig* GetConfig() const { return m_Config; }
    SCA_KvnNetConfigUser* GetUserConfig() const { return m_UserConfig; }
    SCA_KvnDevice* GetDevice() const { return m_Device; }
    uint32_t GetNextSessionId() const { return GetNextNumber(); }

    // A new session under the next number, started now, at the tail; the oldest sessions go
    // beyond kMaxSessions.
    int OpenSession(SCA_KvnDeviceSession** session);
    int GetSession(uint32_t sessionId, SCA_KvnDeviceSession** session) const;
    // 1 also when there is no such session.
    int DeleteSession(uint32_t sessionId);
    // Destroys every session; numbering starts at 0 again.
    int ClearAll();

    int Serialize(SCA_ConfigObj* object) const;
    int Deserialize(SCA_ConfigObj* object);
    int SetContents(const SCA_KvnDeviceSessions* source);
    // A new history (the caller releases it with Destroy) with the same pointers and sessions.
    SCA_KvnDeviceSessions* Clone() const;

    int Show() const;

protected:
    SCA_KvnDeviceSession* NewRecord() const override;
    uint32_t GetRecordNumber(const SCA_KvnDeviceSession& record) const override {
        return record.GetSessionId();
    }
    void SetRecordNumber(SCA_KvnDeviceSession* record, uint32_t number) const override {
        record->SetSessionId(number);
    }

private:
    SCA_TezConfig* m_Config;
    SCA_KvnNetConfigUser* m_UserConfig;
    SCA_KvnDevice* m_Device;
};
