#include "model/SCA_TezLoader.h"

#include "libmor/SCA_String.h"

uint32_t SCA_TezLoader::GetRepStatus() const {
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

void SCA_TezLoader::SetStatusString(const char* text) {
    SCA_StrnCpy(m_StatusString, text, sizeof(m_StatusString));
}
