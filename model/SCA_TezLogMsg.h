// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libmor/SCA_Heap.h"
#include "libmor/SCA_Object.h"

class SCA_ConfigObj;

// One line of a monitoring-core log (the self-test's, for example): a report status, a time
// stamp and a message text held on the process heap.
class SCA_TezLogMsg : public SCA_Object {
public:
    SCA_HEAP_OPERATORS

    SCA_TezLogMsg();
    // The construction flag stays 0 when the message cannot be copied.
    SCA_TezLogMsg(uint32_t repStatus, uint64_t absTime, const char* message);
    // Copies take their own copy of the message; a copy that cannot get one has flag 0.
    SCA_TezLogMsg(const SCA_TezLogMsg& other);
    // On a failed copy of the message this record keeps its own message (reported).
    SCA_TezLogMsg& operator=(const SCA_TezLogMsg& other);
    ~SCA_TezLogMsg() override;

    uint32_t GetRepStatus() const { return m_RepStatus; }
    void SetRepStatus(uint32_t status) { m_RepStatus = status; }
    uint64_t GetAbsTime() const { return m_AbsTime; }
    void SetAbsTime(uint64_t absTime) { m_AbsTime = absTime; }

    // The message; an empty text when there is none, never null.
    const char* GetMessage() const { return m_Message != nullptr ? m_Message : ""; }
    // A null or empty text leaves no message (1). Otherwise the message becomes a copy of text;
    // when the copy cannot be allocated the failure is reported, the old message stays and the
    // answer is 0.
    int SetMessage(const char* text);

    // The three-character tag of a log line: "-D-", "-R-", "-I-", "-W-", "ERR" or "---".
    const char* GetRepStatusDescr() const;

    // Fields "RepStatus", "AbsTime" and "Message" of object.
    int Serialize(SCA_ConfigObj* object) const;
    // Takes the fields that object has; 0 for a null object or a message that cannot be copied.
    int Deserialize(SCA_ConfigObj* object);

private:
    uint32_t m_RepStatus = 0;
    uint64_t m_AbsTime = 0;
    char* m_Message = nullptr;
};
