#pragma once

#include <cstdint>

#include "libmor/SCA_Heap.h"
#include "libmor/SCA_Object.h"

// The record of the platform's SMTP client: the state of one connection to a mail server,
// which the client's connect and send operations keep and nothing else reads. Plain members:
// copies are member by member.
class SCA_SmtpClient : public SCA_Object {
public:
    SCA_HEAP_OPERATORS

    SCA_SmtpClient() { SetConstructed(); }
    SCA_SmtpClient(const SCA_SmtpClient&) = default;
    SCA_SmtpClient& operator=(const SCA_SmtpClient&) = default;
    ~SCA_SmtpClient() override = default;

private:
    uint32_t m_State[2] = {};
    char m_ServerName[256] = "";
    uint32_t m_Settings[6] = {};
    uint8_t m_Buffers[3][256] = {};
};
