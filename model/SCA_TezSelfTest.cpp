#include "model/SCA_TezSelfTest.h"

#include "libmor/SCA_String.h"

SCA_TezSelfTest::SCA_TezSelfTest(SCA_TezConfig* config, SCA_TezConfigUser* userConfig,
                                 SCA_ConfigObj* params)
    : m_Config(config), m_UserConfig(userConfig), m_Params(params) {
    // The thread object's flag already says whether its stop event exists; nothing here can fail.
}

uint32_t SCA_TezSelfTest::GetRepStatus() {
    switch (m_ProcessStatus) {
    case 1:
        return 1;
    case 10:
        return 3;
    case 11:
    case 22:
        return 4;
    default:
        return 5;
    }
}

void SCA_TezSelfTest::SetStatusString(const char* text) {
    SCA_StrnCpy(m_StatusString, text, sizeof(m_StatusString));
}
