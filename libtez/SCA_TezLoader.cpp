// SPDX-License-Identifier: MIT
#include "libtez/SCA_TezLoader.h"

#include <cstdio>
#include <vector>

#include "libmor/SCA_Report.h"
#include "libmor/SCA_String.h"
#include "libmor/SCA_Sync.h"
#include "libtez/SCA_TezManager.h"
#include "model/SCA_TezRepStatus.h"

uint32_t SCA_TezLoader::GetRepStatus() const {
    return SCA_TezGetJobRepStatus(m_ProcessStatus);
}

void SCA_TezLoader::SetStatusString(const char* text) {
    SCA_StrnCpy(m_StatusString, text, sizeof(m_StatusString));
}

int SCA_TezLoader::LoadProfile(SCA_TezManager* manager) {
    if (manager == nullptr || IsRunning()) {
        return 0;
    }
    // A finished thread is joined before the next one starts.
    Unlock(__FILE__);
    m_Manager = manager;
    m_Progress = 0;
    m_ErrorCount = 0;
    m_Done.Reset();
    m_ProcessStatus = SCA_PROCESS_RUNNING;
    uint32_t error = 0;
    if (!Lock(&error)) {
        m_ProcessStatus = SCA_PROCESS_FAILED;
        m_StatusCode = error;
        m_Done.Set();
        return 0;
    }
    return 1;
}

int SCA_TezLoader::StopAll() {
    Unlock(__FILE__);
    return 1;
}

int SCA_TezLoader::ThreadFunc() {
    // The profile's ids first: its owner may change the profile while counters open.
    const std::vector<uint32_t> ids = m_Manager->GetProfileCounterIds();
    for (size_t i = 0; i < ids.size(); ++i) {
        if (GetStopEvent()->IsSignaled()) {
            m_ProcessStatus = SCA_PROCESS_STOPPED;
            m_Done.Set();
            return 1;
        }
        if (!m_Manager->AddCounter(ids[i])) {
            ++m_ErrorCount;
        }
        m_Progress = static_cast<uint32_t>((i + 1) * 100 / ids.size());
    }
    char text[256];
    std::snprintf(text, sizeof(text), "%zu counters loaded, %u not available",
                  ids.size() - m_ErrorCount, m_ErrorCount.load());
    SetStatusString(text);
    m_Progress = 100;
    m_ProcessStatus = SCA_PROCESS_IDLE;
    m_Done.Set();
    return 1;
}
