// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

#include "libmor/SCA_Heap.h"
#include "libmor/SCA_Limits.h"
#include "libmor/SCA_Object.h"
#include "libmor/SCA_Report.h"
#include "model/SCA_OwnerList.h"

class SCA_ConfigObj;

// The messages of a log, oldest first, each under its message id; the list owns the copies.
using SCA_DebugMessageList = SCA_OwnerList<tagSCA_ERROR_DESCR>;

// The in-memory message log of a process: the newest reports, up to a maximum, each under a
// message id. The service keeps its reports here for clients to fetch; a client keeps the ones
// it fetched (under the service's ids) and its own.
//
// Ids rise by one per message added without an id and keep rising across Clear, so a reader
// that remembers the last id it saw never mistakes a new message for one it has. The error
// count, too, counts every error added since construction (trimming and Clear leave it), so a
// reader can tell that new errors arrived.
//
// Adding, clearing, trimming, serialising and the scalar getters are safe from any number of
// threads at once. GetMessageList and GetMessageByPos hand out the log's own list and
// messages: they suit a log that one thread owns; a message found through them lives until it
// is trimmed or the log is cleared.
class SCA_DebugLog : public SCA_Object {
public:
    SCA_HEAP_OPERATORS

    // AddMessage: let the log give the next id. Serialize: start at the oldest message kept;
    // take any number of messages; take every level.

    // A log that keeps up to maxMessages messages, with a session id of its own.
    explicit SCA_DebugLog(uint32_t maxMessages);
    ~SCA_DebugLog() override;
    SCA_DebugLog(const SCA_DebugLog&) = delete;
    SCA_DebugLog& operator=(const SCA_DebugLog&) = delete;

    // Appends a copy of record (text bounded by its field). With id all ones the message gets
    // the next id; any other id is kept as it is (a message copied from another log) and
    // becomes the last id. The oldest messages beyond the maximum are dropped. 0 for a null
    // record or when the copy cannot be allocated. Never reports: the report function may
    // itself be adding to this log.
    int AddMessage(const tagSCA_ERROR_DESCR* record, uint32_t id);
    // Drops every message; the last id, last time, error count and session stay.
    int Clear();

    SCA_DebugMessageList* GetMessageList() { return &m_Messages; }
    uint32_t GetMessageCount() const;
    // The message at position (0 = the oldest kept); 0 when position is not below the count.
    int GetMessageByPos(uint32_t position, tagSCA_ERROR_DESCR** message) const;

    uint32_t GetMaxDebugMessage() const;
    // Lowering the maximum drops the oldest messages beyond it at once; 0 keeps none.
    void SetMaxDebugMessage(uint32_t maxMessages);
    uint32_t GetErrorCount() const;
    void SetErrorCount(uint32_t count);
    // The id of the newest message added (0 before the first).
    uint32_t GetLastMessageId() const;
    uint64_t GetLastMessageTime() const;
    uint32_t GetSessionId() const;
    void SetSessionId(uint32_t sessionId);

    // Writes up to maxCount messages, oldest first, into object: one child object per message,
    // named by its id, with the fields "Id", "Level", "AbsTime" and "Text". The messages are
    // those after fromId; with fromId all ones, or an id newer than any this log gave (a
    // reader that knew an earlier session of the log), those from the oldest kept on. levelMask
    // selects levels by bit (bit n: level n); all ones takes every level. maxCount all ones
    // has no limit. 0 for a null object or when a field cannot be added.
    int Serialize(uint32_t maxCount, uint32_t fromId, uint32_t levelMask,
                  SCA_ConfigObj* object) const;
    // Replaces the messages with those of every child object of object, in order, each under
    // its "Id". 0, with the log unchanged, when a child lacks "Id", "Level" or "AbsTime"; 0,
    // with the messages read so far, when a message cannot be allocated.
    int Deserialize(SCA_ConfigObj* object);

    // Writes the messages as text lines "<tag> <date> <time> <text>" (tags " D ", " I ", " W ",
    // "ERR" for levels 2, 3, 4 and the rest), replacing the file. Failures are reported.
    int SaveTextReport(const char* path) const;

private:
    int AddLocked(const tagSCA_ERROR_DESCR* record, uint32_t id);
    void TrimLocked();
    void ClearLocked();

    mutable std::mutex m_Lock;
    SCA_DebugMessageList m_Messages;
    uint32_t m_MaxDebugMessage;
    uint32_t m_ErrorCount = 0;
    // Written under m_Lock; read without it by the status that every client polls.
    std::atomic<uint32_t> m_LastMessageId{0};
    uint64_t m_LastMessageTime = 0;
    uint32_t m_SessionId;
};
