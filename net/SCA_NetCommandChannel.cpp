// SPDX-License-Identifier: MIT
#include "net/SCA_NetCommandChannel.h"

#include <algorithm>
#include <cstring>
#include <utility>

int SCA_NetCommandChannel::Exchange(const tagSCA_NET_COMMAND_SHAPE& command,
                                    tagSCA_NET_VALUE* values) {
    std::lock_guard<std::mutex> lock(m_Lock);
    m_LastFailure = Carry(command, values);
    return m_LastFailure == SCA_NetCallFailure::None ? 1 : 0;
}

SCA_NetCallFailure SCA_NetCommandChannel::Carry(const tagSCA_NET_COMMAND_SHAPE& command,
                                                tagSCA_NET_VALUE* values) {
    if (!SCA_NetCommandFields::CheckArguments(command, m_ClassName, values) ||
        !m_Request.Init(command.Name) || !m_Reply.Init("ERR")) {
        return SCA_NetCallFailure::Argument;
    }
    if (!SCA_NetCommandFields::WriteInputs(command, values, m_Request.GetData())) {
        SCA_NetCommandFields::DetachInputs(command, values, m_Request.GetData());
        return SCA_NetCallFailure::Argument;
    }
    const bool carried = m_Transport.SendMessageA(0, &m_Request, &m_LastStatusCode) &&
                         m_Transport.WaitForMessage(m_ReplyTimeoutMs, &m_Reply, &m_LastStatusCode);
    SCA_NetCommandFields::DetachInputs(command, values, m_Request.GetData());
    if (!carried) {
        return SCA_NetCallFailure::Connection;
    }
    m_LargestReply = std::max(m_LargestReply, m_Transport.GetLastPayload());
    // "ERR" is the preset: either no reply replaced it or the server refused the command.
    if (std::strcmp(m_Reply.GetCommandName(), "ERR") == 0) {
        return SCA_NetCallFailure::Refused;
    }
    return SCA_NetCommandFields::ReadOutputs(command, values, m_Reply.GetData())
               ? SCA_NetCallFailure::None
               : SCA_NetCallFailure::Reply;
}

uint32_t SCA_NetCommandChannel::TakeLargestReply() {
    std::lock_guard<std::mutex> lock(m_Lock);
    return std::exchange(m_LargestReply, 0);
}
