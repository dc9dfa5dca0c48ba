// SPDX-License-Identifier: MIT
#include "libkvn/SCA_KvnDeviceSession.h"

#include <cstdio>

#include "libkvn/SCA_KvnStoredForm.h"
#include "libmor/SCA_String.h"
#include "libmor/SCA_Time.h"
#include "model/SCA_ConfigObj.h"

namespace {

// A session time as text; an open session's stop time (0) is "NA".
void FormatSessionTime(uint64_t time, char* buf, uint32_t size) {
    if (time == 0) {
        SCA_StrnCpy(buf, "NA", size);
    } else {
        SCA_FormatAbsTime(time, buf, size);
    }
}

} // namespace

int SCA_KvnDeviceSession::Serialize(SCA_ConfigObj* object) const {
    if (object == nullptr) {
        return 0;
    }
    const bool written =
        object->AddField("SessionId", m_SessionId) && object->AddField("StartTime", m_StartTime) &&
        object->AddField("StopTime", m_StopTime) && object->AddField("KvMajor", m_KvMajor) &&
        object->AddField("KvMinor", m_KvMinor) && object->AddField("KvRevision", m_KvRevision) &&
        object->AddField("OsMajor", m_OsMajor) && object->AddField("OsMinor", m_OsMinor) &&
        object->AddField("OsBuild", m_OsBuild) &&
        object->AddField("OsProductType", m_OsProductType) &&
        object->AddField("HwPlatform", m_HwPlatform) &&
        object->AddField("TotalMemory", m_TotalMemory) &&
        object->AddField("TotalDiskSpace", m_TotalDiskSpace);
    return written ? 1 : 0;
}

int SCA_KvnDeviceSession::Deserialize(SCA_ConfigObj* object) {
    if (object == nullptr) {
        return 0;
    }
    object->GetField("SessionId", &m_SessionId);
    object->GetField("StartTime", &m_StartTime);
    object->GetField("StopTime", &m_StopTime);
    object->GetField("KvMajor", &m_KvMajor);
    object->GetField("KvMinor", &m_KvMinor);
    object->GetField("KvRevision", &m_KvRevision);
    object->GetField("OsMajor", &m_OsMajor);
    object->GetField("OsMinor", &m_OsMinor);
    object->GetField("OsBuild", &m_OsBuild);
    object->GetField("OsProductType", &m_OsProductType);
    object->GetField("HwPlatform", &m_HwPlatform);
    object->GetField("TotalMemory", &m_TotalMemory);
    object->GetField("TotalDiskSpace", &m_TotalDiskSpace);
    return 1;
}

int SCA_KvnDeviceSession::SetContent(const SCA_KvnDeviceSession* source) {
    if (source == nullptr) {
        return 0;
    }
    return SCA_KvnCopyThrough(
        "Session", [source](SCA_ConfigObj* temp) { return source->Serialize(temp); },
        [this](SCA_ConfigObj* temp) { return Deserialize(temp); });
}

int SCA_KvnDeviceSession::Show() const {
    char memory[SCA_KVN_TEXT_SIZE];
    char disk[SCA_KVN_TEXT_SIZE];
    char start[SCA_KVN_TEXT_SIZE];
    char stop[SCA_KVN_TEXT_SIZE];
    SCA_FormatSize(m_TotalMemory, memory, sizeof(memory));
    SCA_FormatSize(m_TotalDiskSpace, disk, sizeof(disk));
    FormatSessionTime(m_StartTime, start, sizeof(start));
    FormatSessionTime(m_StopTime, stop, sizeof(stop));
    std::printf("%3u - KV v%u.%u.%u OS v%u.%u.%u.%u Memory %-9s, Disk %-9s, Start %s, Stop %s\n",
                m_SessionId, m_KvMajor, m_KvMinor, m_KvRevision, m_OsMajor, m_OsMinor, m_OsBuild,
                m_OsProductType, memory, disk, start, stop);
    return 1;
}
