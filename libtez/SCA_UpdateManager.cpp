#include "libtez/SCA_UpdateManager.h"

#include "libmor/SCA_String.h"

SCA_UpdateManager::SCA_UpdateManager(SCA_TezConfig* config, SCA_TezConfigUser* userConfig,
                                     SCA_ConfigObj* params)
    : m_Config(config), m_UserConfig(userConfig), m_Params(params), m_ReadyEvent(1, 0) {
    if (!m_ReadyEvent.IsConstructed()) {
        SetConstructed(0);
    }
}

void SCA_UpdateManager::SetStatusString(const char* text) {
    SCA_StrnCpy(m_StatusString, text, sizeof(m_StatusString));
}
