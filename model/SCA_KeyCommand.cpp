// SPDX-License-Identifier: MIT
#include "model/SCA_KeyCommand.h"

#include "libmor/SCA_Report.h"
#include "libmor/SCA_String.h"
#include "model/SCA_ConfigObj.h"

namespace {

constexpr const char* kCommandNames[] = {
    "ABOUT",  "START",   "PAUSE",    "CONTINUE", "STOP",   "SAVE", "LOAD", "VIEW",
    "CHARTS", "REPORTS", "DATABASE", "ADD",      "EDIT",   "COPY", "INV",  "RENAME",
    "DELETE", "OPTIONS", "CONSOLE",  "ERRORS",   "LAYOUT", "HELP", "EXIT",
};

} // namespace

SCA_KeyCommand::SCA_KeyCommand(uint32_t commandId, const char* key) : m_CmdId(commandId) {
    SetKey(key);
    SetConstructed();
}

void SCA_KeyCommand::SetKey(const char* key) {
    SCA_StrnCpy(m_Key, key, sizeof(m_Key));
}

const char* SCA_KeyCommand::GetCmdName(uint32_t commandId) {
    constexpr uint32_t count = sizeof(kCommandNames) / sizeof(kCommandNames[0]);
    return commandId < count ? kCommandNames[commandId] : "INV";
}

int SCA_KeyCommand::Serialize(SCA_ConfigObj* object) const {
    SCA_TezFieldWriter writer(object);
    writer.Put("CmdId", m_CmdId);
    writer.Put("Key", m_Key);
    if (!writer.IsOk()) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                                  "SCA_KeyCommand::Serialize: cannot add fields");
        return 0;
    }
    return 1;
}

int SCA_KeyCommand::Deserialize(SCA_ConfigObj* object) {
    SCA_TezFieldReader reader(object);
    SCA_KeyCommand read(*this);
    reader.Get("CmdId", &read.m_CmdId);
    reader.Get("Key", read.m_Key, sizeof(read.m_Key));
    if (!reader.IsOk()) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                                  "SCA_KeyCommand::Deserialize: invalid field - %s",
                                                  reader.GetBadField());
        return 0;
    }
    *this = read;
    return 1;
}
