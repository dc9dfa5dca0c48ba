// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libmor/SCA_Heap.h"
#include "model/SCA_OwnerList.h"
#include "model/SCA_TezLogMsg.h"

class SCA_ConfigObj;

// A monitoring-core log: its messages in the order they were added, with the number of errors
// (status 5) and warnings (status 4) among them. The log owns its messages.
class SCA_TezLog : public SCA_OwnerList<SCA_TezLogMsg> {
public:
    SCA_HEAP_OPERATORS

    SCA_TezLog() = default;
    ~SCA_TezLog() override = default;

    uint32_t GetErrorCount() const { return m_ErrorCount; }
    uint32_t GetWarningCount() const { return m_WarningCount; }

    // Appends message, which the log owns from then on. 0 when it cannot be linked in; the
    // caller then still owns it.
    int AddMessage(SCA_TezLogMsg* message);
    // Appends a new message made of the three values. 0 when it cannot be made.
    int AddMessage(uint32_t repStatus, uint64_t absTime, const char* text);

    // Destroys every message and zeroes the counts.
    int ClearAll();
    int Clear() { return ClearAll(); }

    // One child object per message, in order.
    int Serialize(SCA_ConfigObj* object) const { return SerializeRecords(object); }
    // Replaces the log with the messages of every child object; the counts follow them. On
    // failure the log holds the messages read so far.
    int Deserialize(SCA_ConfigObj* object);

private:
    uint32_t m_ErrorCount = 0;
    uint32_t m_WarningCount = 0;
};
