// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

// What a long-running job (a self-test, an update check) tells about its progress. Implemented
// by the jobs; holds no data of its own.
class SCA_ProgressObj {
public:
    virtual ~SCA_ProgressObj() = default;

    virtual uint32_t GetProgress() = 0;
    virtual void SetProgress(uint32_t progress) = 0;
    // The job's run state (SCA_PROCESS_IDLE, SCA_PROCESS_RUNNING, ...).
    virtual uint32_t GetProcessStatus() = 0;
    virtual const char* GetStatusString() = 0;
    // Destroys and frees the job through its deleting destructor.
    virtual void Destroy() { delete this; }
    // The report status of the run state: that of SCA_TezGetJobRepStatus, except that a
    // pending job is a warning.
    virtual uint32_t GetRepStatus();

    // Null-safe release.
    static void Destroy(SCA_ProgressObj* job) {
        if (job != nullptr) {
            job->Destroy();
        }
    }

protected:
    SCA_ProgressObj() = default;
    SCA_ProgressObj(const SCA_ProgressObj&) = default;
    SCA_ProgressObj& operator=(const SCA_ProgressObj&) = default;
};
