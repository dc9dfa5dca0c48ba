#include "libtez/SCA_TezSelfTest.h"

#include "libmor/SCA_String.h"
#include "model/SCA_TezRepStatus.h"

SCA_TezSelfTest::SCA_TezSelfTest(SCA_TezConfig* config, SCA_TezConfigUser* userConfig,
                                 SCA_ConfigObj* params)
    : m_Config(config), m_UserConfig(userConfig), m_Params(params) {
    // The thread object's flag already says whether its stop event exists; nothing here can fail.
}

uint32_t SCA_TezSelfTest::GetRepStatus() {
    return SCA_TezGetJobRepStatus(m_ProcessStatus);
}

void SCA_TezSelfTest::SetStatusString(const char* text) {
    SCA_StrnCpy(m_StatusString, text, sizeof(m_StatusString));
}
