// SPDX-License-Identifier: MIT
#include "net/SCA_NetFrameReader.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "net/SCA_NetMessage.h"

namespace {

constexpr uint32_t kVersionAt = 4;
constexpr uint32_t kCodeAt = 5;
constexpr uint32_t kFlagsAt = 9;
constexpr uint32_t kSequenceAt = 13;
constexpr uint32_t kNameLengthAt = 17;
constexpr uint32_t kNameAt = SCA_NET_FIXED_HEADER;

// A payload buffer above this size is given back once its frame is taken.
constexpr size_t kKeptBuffer = 1u << 20;

} // namespace

uint32_t SCA_NetFrameReader::NameLength() const {
    return static_cast<uint8_t>(m_Head[kNameLengthAt]);
}

// The fixed part until the name length has arrived, then the whole head.
uint32_t SCA_NetFrameReader::HeadSize() const {
    if (m_HeadFilled < SCA_NET_FIXED_HEADER) {
        return SCA_NET_FIXED_HEADER;
    }
    return SCA_NET_FIXED_HEADER + NameLength() + 4;
}

uint32_t SCA_NetFrameReader::ReadU32(uint32_t offset) const {
    const auto* bytes = reinterpret_cast<const uint8_t*>(m_Head + offset);
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

uint32_t SCA_NetFrameReader::GetControlCode() const {
    return m_Complete ? ReadU32(kCodeAt) : 0;
}

uint32_t SCA_NetFrameReader::GetSequence() const {
    return m_Complete ? ReadU32(kSequenceAt) : 0;
}

bool SCA_NetFrameReader::CheckHead(uint32_t from) {
    const uint32_t magicEnd = std::min<uint32_t>(m_HeadFilled, sizeof(SCA_NET_MAGIC));
    for (uint32_t i = from; i < magicEnd; ++i) {
        if (m_Head[i] != SCA_NET_MAGIC[i]) {
            m_Error = SCA_NET_ERROR_MAGIC;
            return false;
        }
    }
    if (from <= kVersionAt && m_HeadFilled > kVersionAt &&
        static_cast<uint8_t>(m_Head[kVersionAt]) != SCA_NET_FRAME_VERSION) {
        m_Error = SCA_NET_ERROR_VERSION;
        return false;
    }
    if (m_HeadFilled < SCA_NET_FIXED_HEADER) {
        return true;
    }
    const uint32_t nameLength = NameLength();
    if (nameLength > SCA_NET_MAX_NAME) {
        m_Error = SCA_NET_ERROR_NAME;
        return false;
    }
    const uint32_t nameEnd = kNameAt + nameLength;
    if (from < nameEnd && m_HeadFilled >= nameEnd &&
        std::memchr(m_Head + kNameAt, '\0', nameLength) != nullptr) {
        m_Error = SCA_NET_ERROR_NAME;
        return false;
    }
    if (m_HeadFilled == HeadSize()) {
        m_PayloadLength = ReadU32(nameEnd);
        if (m_PayloadLength > m_MaxPayload) {
            m_Error = SCA_NET_ERROR_TOO_LARGE;
            return false;
        }
    }
    return true;
}

uint32_t SCA_NetFrameReader::Feed(const char* data, uint32_t size) {
    uint32_t used = 0;
    while (used < size && !m_Complete && m_Error == 0) {
        if (m_HeadFilled < HeadSize()) {
            const uint32_t take = std::min(HeadSize() - m_HeadFilled, size - used);
            const uint32_t from = m_HeadFilled;
            std::memcpy(m_Head + m_HeadFilled, data + used, take);
            m_HeadFilled += take;
            used += take;
            if (!CheckHead(from)) {
                break;
            }
        } else {
            std::string& payload = m_Payload.GetBytes();
            const uint32_t take =
                std::min(m_PayloadLength - static_cast<uint32_t>(payload.size()), size - used);
            payload.append(data + used, take);
            used += take;
        }
        m_Complete = m_HeadFilled >= SCA_NET_FIXED_HEADER && m_HeadFilled == HeadSize() &&
                     m_Payload.GetSize() == m_PayloadLength;
    }
    return used;
}

int SCA_NetFrameReader::TakeMessage(SCA_NetMessage* message) {
    if (!m_Complete || message == nullptr) {
        return 0;
    }
    // Deserialize leaves the tree as it was when the payload does not parse.
    if (!message->GetData()->Deserialize(&m_Payload)) {
        m_Error = SCA_NET_ERROR_PAYLOAD;
        m_Complete = false;
        return 0;
    }
    char name[SCA_NET_MAX_NAME + 1];
    std::memcpy(name, m_Head + kNameAt, NameLength());
    name[NameLength()] = '\0';
    message->SetCommandName(name);
    message->SetControlCode(ReadU32(kCodeAt));
    message->SetControlFlags(ReadU32(kFlagsAt));
    m_TakenPayload = m_PayloadLength;
    StartNextFrame();
    return 1;
}

int SCA_NetFrameReader::SkipFrame() {
    if (!m_Complete) {
        return 0;
    }
    StartNextFrame();
    return 1;
}

void SCA_NetFrameReader::StartNextFrame() {
    m_HeadFilled = 0;
    m_PayloadLength = 0;
    m_Complete = false;
    std::string& payload = m_Payload.GetBytes();
    if (payload.capacity() > kKeptBuffer) {
        std::string().swap(payload);
    } else {
        payload.clear();
    }
}

void SCA_NetFrameReader::Reset() {
    StartNextFrame();
    m_Error = 0;
}

void SCA_NetFrameReader::SetMaxPayload(uint32_t maxPayload) {
    m_MaxPayload = std::min(maxPayload, SCA_NET_MAX_PAYLOAD);
}
