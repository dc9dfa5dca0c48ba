// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "libmor/SCA_Heap.h"
#include "libmor/SCA_Object.h"
#include "model/SCA_TezRecordFields.h"

class SCA_ConfigObj;

// A service the client knows how to reach: computer (host), user name, password and control
// port. The texts are fixed fields of SCA_TEZ_NAME_SIZE (64) bytes; setters cut a longer text
// on a UTF-8 character boundary. Plain members: copies are member by member.
class SCA_SrvConnect : public SCA_Object {
public:
    SCA_HEAP_OPERATORS

    SCA_SrvConnect() { SetConstructed(); }
    SCA_SrvConnect(const SCA_SrvConnect&) = default;
    SCA_SrvConnect& operator=(const SCA_SrvConnect&) = default;
    ~SCA_SrvConnect() override = default;

    const char* GetComputerNameA() const { return m_ComputerName; }
    void SetComputerNameA(const char* name);
    const char* GetUserNameA() const { return m_UserName; }
    void SetUserName(const char* name);
    const char* GetPassword() const { return m_Password; }
    void SetPassword(const char* password);
    uint16_t GetPortNumber() const { return m_Port; }
    void SetPortNumber(uint16_t port) { m_Port = port; }

    // Fields "ComputerName", "UserName", "Password", "Port".
    int Serialize(SCA_ConfigObj* object) const;
    // Absent fields keep their values; on failure (reported) nothing changes.
    int Deserialize(SCA_ConfigObj* object);

private:
    char m_ComputerName[SCA_TEZ_NAME_SIZE] = {};
    char m_UserName[SCA_TEZ_NAME_SIZE] = {};
    char m_Password[SCA_TEZ_NAME_SIZE] = {};
    uint16_t m_Port = 0;
};
