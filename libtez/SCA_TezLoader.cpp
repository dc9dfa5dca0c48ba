#include "libtez/SCA_TezLoader.h"

#include "libmor/SCA_String.h"
#include "model/SCA_TezRepStatus.h"

uint32_t SCA_TezLoader::GetRepStatus() const {
    return SCA_TezGetJobRepStatus(m_ProcessStatus);
}

void SCA_TezLoader::SetStatusString(const char* text) {
    SCA_StrnCpy(m_StatusString, text, sizeof(m_StatusString));
}
