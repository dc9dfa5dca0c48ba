#include "net/SCA_NetCommandChannel.h"

#include <cstring>

int SCA_NetCommandChannel::Exchange(const tagSCA_NET_COMMAND_SHAPE& command,
                                    tagSCA_NET_VALUE* values) {
    if (!SCA_NetCommandFields::CheckArguments(command, m_ClassName, values)) {
        return 0;
    }
    std::lock_guard<std::mutex> lock(m_Lock);
    if (!m_Request.Init(command.Name) || !m_Reply.Init("ERR")) {
        return 0;
    }
    // "ERR" is the preset: either no reply replaced it or the server refused the command.
    const int done = SCA_NetCommandFields::WriteInputs(command, values, m_Request.GetData()) &&
                     m_Transport.SendMessageA(0, &m_Request, &m_LastStatusCode) &&
                     m_Transport.WaitForMessage(m_ReplyTimeoutMs, &m_Reply, &m_LastStatusCode) &&
                     std::strcmp(m_Reply.GetCommandName(), "ERR") != 0 &&
                     SCA_NetCommandFields::ReadOutputs(command, values, m_Reply.GetData());
    SCA_NetCommandFields::DetachInputs(command, values, m_Request.GetData());
    return done;
}
