// SPDX-License-Identifier: MIT
#include "model/SCA_DebugLog.h"

#include <atomic>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>

#include "libmor/SCA_FileSystem.h"
#include "libmor/SCA_Report.h"
#include "libmor/SCA_String.h"
#include "libmor/SCA_Time.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezRecordFields.h"

namespace {

using Message = tagSCA_ERROR_DESCR;

// Differs between logs, and between runs of a process, so that a reader notices a log that is
// not the one it read before. Never all ones, which readers use for "no session".
uint32_t NewSessionId() {
    static std::atomic<uint32_t> created{0};
    const uint64_t now = SCA_GetAbsTime();
    uint32_t id = static_cast<uint32_t>(now ^ (now >> 32)) + created.fetch_add(1) * 0x9E3779B9u;
    return id == SCA_ALL_ONES ? 0 : id;
}

// A kept message takes the room of its text, not of the whole field: most are one short line,
// and a service keeps hundreds of them for its whole run. Every reader stops at the text's end.
Message* CopyRecord(const Message* record) {
    const size_t room = strnlen(record->Text, sizeof(record->Text) - 1) + 1;
    auto* copy = static_cast<Message*>(SCA_HeapAlloc(offsetof(Message, Text) + room));
    if (copy != nullptr) {
        copy->Level = record->Level;
        copy->AbsTime = record->AbsTime;
        SCA_StrnCpy(copy->Text, record->Text, room);
    }
    return copy;
}

bool LevelSelected(uint32_t level, uint32_t levelMask) {
    if (levelMask == SCA_ALL_ONES) {
        return true;
    }
    return level < 32 && ((levelMask >> level) & 1u) != 0;
}

int WriteMessage(const Message* message, uint32_t id, SCA_ConfigObj* object) {
    SCA_ConfigObj* child = SCA_AddNumberedObj(object, id);
    return child != nullptr && child->AddField("Id", id) &&
           child->AddField("Level", message->Level) &&
           child->AddField("AbsTime", message->AbsTime) &&
           SCA_AddTextField(child, "Text", message->Text);
}

// Reads one serialised message; 0 when a field it needs is missing.
int ReadMessage(SCA_ConfigObj* child, uint32_t* id, Message* message) {
    if (!child->GetField("Id", id) || !child->GetField("Level", &message->Level) ||
        !child->GetField("AbsTime", &message->AbsTime)) {
        return 0;
    }
    message->Text[0] = '\0';
    child->GetField("Text", message->Text, sizeof(message->Text));
    return 1;
}

void AppendLine(const Message* message, std::string* text) {
    tagSCA_DATE date{};
    tagSCA_TIME time{};
    char day[64] = "";
    char clock[64] = "";
    if (SCA_ConvertAbsTime(message->AbsTime, &date, &time)) {
        SCA_FormatDateString(&date, 0, "-", day, sizeof(day));
        SCA_FormatTimeString(&time, clock, sizeof(clock));
    }
    *text += SCA_GetLevelTag(message->Level);
    *text += ' ';
    *text += day;
    *text += ' ';
    *text += clock;
    *text += ' ';
    *text += message->Text;
    *text += '\n';
}

} // namespace

SCA_DebugLog::SCA_DebugLog(uint32_t maxMessages)
    : m_MaxDebugMessage(maxMessages), m_SessionId(NewSessionId()) {
    SetConstructed();
}

SCA_DebugLog::~SCA_DebugLog() = default;

int SCA_DebugLog::AddMessage(const tagSCA_ERROR_DESCR* record, uint32_t id) {
    if (record == nullptr) {
        return 0;
    }
    std::lock_guard<std::mutex> lock(m_Lock);
    return AddLocked(record, id);
}

int SCA_DebugLog::AddLocked(const tagSCA_ERROR_DESCR* record, uint32_t id) {
    Message* copy = CopyRecord(record);
    if (copy == nullptr) {
        return 0;
    }
    if (id == SCA_ALL_ONES) {
        id = m_LastMessageId + 1;
        if (id == SCA_ALL_ONES) {
            id = 0; // all ones is no id: after 2^32 - 1 messages the ids start again
        }
    }
    if (!m_Messages.AddItemToTail(copy, id)) {
        SCA_HeapFree(copy);
        return 0;
    }
    m_LastMessageId = id;
    m_LastMessageTime = copy->AbsTime;
    if (copy->Level == SCA_LEVEL_ERROR) {
        ++m_ErrorCount;
    }
    TrimLocked();
    return 1;
}

void SCA_DebugLog::TrimLocked() {
    while (m_Messages.Count() > m_MaxDebugMessage) {
        m_Messages.DestroyHeadItem();
    }
}

void SCA_DebugLog::ClearLocked() {
    m_Messages.Clear();
}

int SCA_DebugLog::Clear() {
    std::lock_guard<std::mutex> lock(m_Lock);
    ClearLocked();
    return 1;
}

uint32_t SCA_DebugLog::GetMessageCount() const {
    std::lock_guard<std::mutex> lock(m_Lock);
    return m_Messages.Count();
}

int SCA_DebugLog::GetMessageByPos(uint32_t position, tagSCA_ERROR_DESCR** message) const {
    std::lock_guard<std::mutex> lock(m_Lock);
    return m_Messages.GetItemByPos(position, message);
}

uint32_t SCA_DebugLog::GetMaxDebugMessage() const {
    std::lock_guard<std::mutex> lock(m_Lock);
    return m_MaxDebugMessage;
}

void SCA_DebugLog::SetMaxDebugMessage(uint32_t maxMessages) {
    std::lock_guard<std::mutex> lock(m_Lock);
    m_MaxDebugMessage = maxMessages;
    TrimLocked();
}

uint32_t SCA_DebugLog::GetErrorCount() const {
    std::lock_guard<std::mutex> lock(m_Lock);
    return m_ErrorCount;
}

void SCA_DebugLog::SetErrorCount(uint32_t count) {
    std::lock_guard<std::mutex> lock(m_Lock);
    m_ErrorCount = count;
}

uint32_t SCA_DebugLog::GetLastMessageId() const {
    return m_LastMessageId.load();
}

uint64_t SCA_DebugLog::GetLastMessageTime() const {
    std::lock_guard<std::mutex> lock(m_Lock);
    return m_LastMessageTime;
}

uint32_t SCA_DebugLog::GetSessionId() const {
    std::lock_guard<std::mutex> lock(m_Lock);
    return m_SessionId;
}

void SCA_DebugLog::SetSessionId(uint32_t sessionId) {
    std::lock_guard<std::mutex> lock(m_Lock);
    m_SessionId = sessionId;
}

int SCA_DebugLog::Serialize(uint32_t maxCount, uint32_t fromId, uint32_t levelMask,
                            SCA_ConfigObj* object) const {
    if (object == nullptr) {
        return 0;
    }
    std::lock_guard<std::mutex> lock(m_Lock);
    const bool fromOldest = fromId == SCA_ALL_ONES || fromId > m_LastMessageId;
    uint32_t written = 0;
    for (auto* node = m_Messages.GetHead(); node != nullptr && written < maxCount;
         node = node->GetNext()) {
        if (!fromOldest && node->GetId() <= fromId) {
            continue;
        }
        if (!LevelSelected(node->GetItem()->Level, levelMask)) {
            continue;
        }
        if (!WriteMessage(node->GetItem(), node->GetId(), object)) {
            return 0;
        }
        ++written;
    }
    return 1;
}

int SCA_DebugLog::Deserialize(SCA_ConfigObj* object) {
    if (object == nullptr) {
        return 0;
    }
    Message* message = static_cast<Message*>(SCA_HeapAlloc(sizeof(Message)));
    if (message == nullptr) {
        return 0;
    }
    uint32_t id = 0;
    int result = 1;
    for (SCA_ConfigObj* child = SCA_FirstChildObj(object); child != nullptr && result;
         child = SCA_NextChildObj(child)) {
        result = ReadMessage(child, &id, message);
    }
    if (result) {
        std::lock_guard<std::mutex> lock(m_Lock);
        ClearLocked();
        for (SCA_ConfigObj* child = SCA_FirstChildObj(object); child != nullptr && result;
             child = SCA_NextChildObj(child)) {
            result = ReadMessage(child, &id, message) && AddLocked(message, id);
        }
    }
    SCA_HeapFree(message);
    return result;
}

int SCA_DebugLog::SaveTextReport(const char* path) const {
    if (path == nullptr) {
        return 0;
    }
    std::string text;
    {
        std::lock_guard<std::mutex> lock(m_Lock);
        for (auto* node = m_Messages.GetHead(); node != nullptr; node = node->GetNext()) {
            AppendLine(node->GetItem(), &text);
        }
    }
    uint32_t error = 0;
    if (!SCA_WriteFileAtomic(path, text.data(), text.size(), &error)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_DebugLog::SaveTextReport: cannot write file %s (ERR:%u)", path,
            error);
        return 0;
    }
    return 1;
}
