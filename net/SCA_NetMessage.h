// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libmor/SCA_Object.h"
#include "model/SCA_ConfigObj.h"

// One request or reply: a command name (or a reply's outcome, "OK" or "ERR"), two numbers
// for the transport and a configuration tree with the message's named items.
//
// Command names are at most 63 bytes: a longer name is refused rather than cut, because a
// cut name could select a different command.
class SCA_NetMessage : public SCA_Object {
public:
    static constexpr uint32_t kMaxCommandName = 63;

    // No name, control code and flags 0, an empty tree named "Data".
    SCA_NetMessage();
    ~SCA_NetMessage() override;
    // Takes code, flags and name and its own copy of the tree. The flag is 0 when the tree could
    // not be copied.
    SCA_NetMessage(const SCA_NetMessage& other);
    // The same; on a failed copy of the tree this message keeps its own tree and its flag is 0.
    SCA_NetMessage& operator=(const SCA_NetMessage& other);

    // Names the message and empties its tree. A name that SetCommandName refuses leaves the
    // message without a name (never under the command it had before) and answers 0.
    int Init(const char* commandName);

    uint32_t GetControlCode() const { return m_ControlCode; }
    void SetControlCode(uint32_t code) { m_ControlCode = code; }
    uint32_t GetControlFlags() const { return m_ControlFlags; }
    void SetControlFlags(uint32_t flags) { m_ControlFlags = flags; }
    const char* GetCommandName() const { return m_CommandName; }
    // 1 when stored; a null name or one longer than 63 bytes is reported at level 5, answers 0
    // and keeps the current name.
    int SetCommandName(const char* name);
    SCA_ConfigObj* GetData() { return &m_Data; }
    const SCA_ConfigObj* GetData() const { return &m_Data; }

private:
    uint32_t m_ControlCode = 0;
    uint32_t m_ControlFlags = 0;
    char m_CommandName[kMaxCommandName + 1] = "";
    SCA_ConfigObj m_Data;
};
