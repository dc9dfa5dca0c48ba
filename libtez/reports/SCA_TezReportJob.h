// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

#include "libmor/SCA_Heap.h"
#include "libmor/SCA_ThreadObj.h"
#include "model/SCA_ProgressObj.h"
#include "model/SCA_TezProcessStatus.h"

class SCA_ConfigObj;
class SCA_TezConfig;
class SCA_TezConfigUser;
class SCA_TezReportIndex;

// Saves many stored reports into one folder on a thread of its own, for a client that shows
// its progress: progress runs from 0 to 100 as reports are saved, the status text says which
// report is being saved, and StopAll ends the work after the report in hand. Each report goes
// to a file named as the action controller names its reports (report id in place of the action
// id), so that no report text can lead a file out of the folder.
//
// The job ends stopped when every report was saved (or the job was stopped), failed when any
// could not be loaded or written; the status code is then the number of those.
class SCA_TezReportJob : public SCA_ThreadObj, public SCA_ProgressObj {
public:
    SCA_HEAP_OPERATORS

    // The configurations, parameters and report index are the caller's and outlive the job.
    SCA_TezReportJob(SCA_TezConfig* config, SCA_TezConfigUser* userConfig, SCA_ConfigObj* params,
                     SCA_TezReportIndex* index);
    ~SCA_TezReportJob() override;

    void Destroy() override { delete this; }

    // Starts saving the reports with these ids in format (option as SCA_TezReporter takes it)
    // into folder. 0 with *error while a job runs (EBUSY), for an empty list or folder (EINVAL)
    // or a format without a writer (SCA_TEZ_ERR_FORMAT), or when the thread cannot start.
    int SaveReports(const std::vector<uint32_t>& reportIds, uint32_t format, uint32_t option,
                    const char* folder, uint32_t* error);
    // Ends the work after the report in hand and waits for it. Always 1.
    int StopAll();

    uint32_t GetProgress() override { return m_Progress.load(); }
    void SetProgress(uint32_t progress) override { m_Progress.store(progress); }
    uint32_t GetProcessStatus() override { return m_ProcessStatus.load(); }
    // The status text as it stands; read it from another thread with CopyStatusString.
    const char* GetStatusString() override { return m_StatusString; }
    void CopyStatusString(char* buf, uint32_t size) const;
    uint32_t GetStatusCode() const { return m_StatusCode.load(); }
    uint32_t GetSavedCount() const { return m_Saved.load(); }

    int ThreadFunc() override;

private:
    void SetStatusString(const char* text);
    // Loads and writes one report; 0 (reported) when it cannot.
    int SaveOne(uint32_t reportId);

    SCA_TezConfig* m_Config;
    SCA_TezConfigUser* m_UserConfig;
    SCA_ConfigObj* m_Params;
    SCA_TezReportIndex* m_Index;
    std::vector<uint32_t> m_ReportIds;
    uint32_t m_Format = 0;
    uint32_t m_Option = 0;
    char m_Folder[4096] = "";
    std::atomic<uint32_t> m_Progress{0};
    std::atomic<uint32_t> m_ProcessStatus{SCA_PROCESS_IDLE};
    std::atomic<uint32_t> m_StatusCode{0};
    std::atomic<uint32_t> m_Saved{0};
    char m_StatusString[256] = "";
    mutable std::mutex m_Lock;
};
