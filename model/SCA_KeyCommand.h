// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libmor/SCA_Heap.h"
#include "libmor/SCA_Object.h"
#include "model/SCA_TezRecordFields.h"

class SCA_ConfigObj;

// A keyboard shortcut of the client: a command id and the key or key combination as text (the
// client's native key-sequence text, "Ctrl+S"). Plain members and a fixed text: copies are
// member by member, the construction flag included.
class SCA_KeyCommand : public SCA_Object {
public:
    SCA_HEAP_OPERATORS

    SCA_KeyCommand() { SetConstructed(); }
    SCA_KeyCommand(uint32_t commandId, const char* key);
    SCA_KeyCommand(const SCA_KeyCommand&) = default;
    SCA_KeyCommand& operator=(const SCA_KeyCommand&) = default;
    ~SCA_KeyCommand() override = default;

    uint32_t GetCmdId() const { return m_CmdId; }
    void SetCmdId(uint32_t commandId) { m_CmdId = commandId; }
    const char* GetKey() const { return m_Key; }
    // At most 255 bytes, cut on a UTF-8 character boundary; null empties the key.
    void SetKey(const char* key);

    // The keyword of a command id ("ABOUT" for 0 ... "EXIT" for 22); "INV" for any other.
    static const char* GetCmdName(uint32_t commandId);
    // The keyword of this shortcut's command.
    const char* GetName() const { return GetCmdName(m_CmdId); }

    // Fields "CmdId" and "Key".
    int Serialize(SCA_ConfigObj* object) const;
    // Absent fields keep their values; on failure (reported) nothing changes.
    int Deserialize(SCA_ConfigObj* object);

private:
    uint32_t m_CmdId = 0;
    char m_Key[SCA_TEZ_TEXT_SIZE] = {};
};
