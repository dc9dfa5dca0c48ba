// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "containers/SCA_List.h"
#include "libmor/SCA_Heap.h"
#include "libmor/SCA_ThreadObj.h"
#include "model/SCA_ProgressObj.h"
#include "model/SCA_TezProcessStatus.h"
#include "model/SCA_TezReportInfo.h"
#include "net/SCA_NetProtocol.h"

class SCA_ConfigObj;
class SCA_KorvantaInterface;
class SCA_TezConfig;
class SCA_TezConfigUser;
class SCA_TezDeltaReport;
class SCA_TezReport;

// A file that holds no report (another kind of configuration file).
inline constexpr uint32_t SCA_REPORT_ERROR_NOT_REPORT = 100600;

// The client's report worker: exports, compares, deletes and imports many reports of a service
// on a thread of its own, for a window that follows it through the progress interface.
//
// It talks to the service over a connection of its own, logged in with the credentials of the
// window's client object, so that the window's calls never queue behind its work. Each call
// waits at most kCallTimeoutMs. Stop (the stop event, or StopAll) is honoured before every
// report, so a stopped worker ends within one call.
//
// The worker reads what an operation is given when the operation starts: the caller's lists
// stay the caller's. Only the comparison report is written on the thread; the caller reads it
// after StopAll. It ends stopped (1) when every report was handled, failed (0) when it was
// stopped, could not reach the service, or a report could not be handled (the status text says
// which and why, the status code counts them). Not copyable: it owns a thread and a connection.
class SCA_SrvReportManager : public SCA_ThreadObj, public SCA_ProgressObj {
public:
    SCA_HEAP_OPERATORS

    // The largest report file ImportReports reads: what one request may carry to the service.
    static constexpr size_t kMaxReportFileSize = SCA_NET_MAX_PAYLOAD;
    static constexpr uint32_t kConnectTimeoutMs = 5000;
    static constexpr uint32_t kCallTimeoutMs = 15000;
    static constexpr uint32_t kTextSize = 256;

    // The configurations and parameters are the caller's and outlive the worker; from client
    // it takes the service's address and the login, and a client object of the same kind for
    // its own connection (client itself is not used afterwards).
    SCA_SrvReportManager(SCA_TezConfig* config, SCA_TezConfigUser* userConfig,
                         SCA_ConfigObj* params, SCA_KorvantaInterface* client);
    ~SCA_SrvReportManager() override;
    SCA_SrvReportManager(const SCA_SrvReportManager&) = delete;
    SCA_SrvReportManager& operator=(const SCA_SrvReportManager&) = delete;

    void Destroy() override { delete this; }

    // Each starts the thread on its work and answers 1, or 0 (reported) for an empty or unusable
    // input, while the worker runs, or when the thread cannot start.
    //
    // Writes every report into folder in format (option: the report mode), one file each.
    int ExportReports(SCA_List<SCA_TezReportInfo*>* reports, uint32_t format, uint32_t option,
                      const char* folder);
    // Compares the first report of the list with the second into delta, by the user
    // configuration's thresholds (exactly two reports).
    int CompareReports(SCA_List<SCA_TezReportInfo*>* reports, SCA_TezDeltaReport* delta);
    // Refused when the parameters forbid deleting (IsDeleteForbidden).
    int DeleteReports(SCA_List<SCA_TezReportInfo*>* reports);
    // Adds the report of each file (items named by the files' paths) to the service; a report
    // the service already keeps is left out.
    int ImportReports(SCA_List<uint32_t>* files);
    // Stops the work and waits for the thread. Always 1.
    int StopAll();

    uint32_t GetProgress() override { return m_Progress.load(); }
    void SetProgress(uint32_t progress) override { m_Progress.store(progress); }
    uint32_t GetProcessStatus() override { return m_ProcessStatus.load(); }
    // A copy of the status text, for one reader thread (the one following the worker).
    const char* GetStatusString() override;
    // Failed and unknown states are errors, idle a message, running a warning.
    uint32_t GetRepStatus() override;

    // The number of reports that could not be handled.
    uint32_t GetStatusCode() const { return m_StatusCode.load(); }
    void SetStatusCode(uint32_t code) { m_StatusCode.store(code); }
    // Why the last report that could not be handled was not (same reader rule).
    const char* GetStatusStringEx();
    uint64_t GetStartTime() const { return m_StartTime.load(); }
    int IsReady() const { return m_ProcessStatus.load() == SCA_PROCESS_STOPPED ? 1 : 0; }
    void SetProcessStatus(uint32_t status) { m_ProcessStatus.store(status); }
    // Reports exported, deleted or imported (compare: 1 once compared).
    uint32_t GetDoneCount() const { return m_Done.load(); }
    // Reports an import found already on the service and did not add again.
    uint32_t GetSkippedCount() const { return m_Skipped.load(); }
    // 1 when the last operation was stopped before its end.
    int WasStopped() const { return m_Stopped.load() ? 1 : 0; }

    // 1 when the client was started with -no_delete_reports.
    static int IsDeleteForbidden(SCA_ConfigObj* params);
    // Reads a report file (the product's data file of one report, as export writes it) into
    // report. Files over kMaxReportFileSize, damaged files and files that hold no report are
    // refused with *error set; report may then be partly filled.
    static int ReadReportFile(const char* path, SCA_TezReport* report, uint32_t* error);
    static int ReadReportBytes(const char* data, size_t size, SCA_TezReport* report,
                               uint32_t* error);

    int ThreadFunc() override;

private:
    enum class Operation { None, Export, Compare, Delete, Import };
    // What became of one report: skipped is an import the service already keeps.
    enum class Outcome { Done, Skipped, Failed };

    // What the operation is called in the status texts.
    struct Words {
        const char* Doing; // "Exporting"
        const char* Done;  // "exported"
    };
    static Words WordsOf(Operation operation);

    // Copies the headers of reports; 0 (reported by caller) for an empty or absent list.
    static int TakeReports(SCA_List<SCA_TezReportInfo*>* reports,
                           std::vector<SCA_TezReportInfo>* out);
    int Start(Operation operation, const char* caller);
    int Connect();
    int IsStopRequested() const;
    int RunItems();
    int RunCompare();
    Outcome HandleItem(size_t index);
    Outcome ExportOne(const SCA_TezReportInfo& info);
    Outcome DeleteOne(const SCA_TezReportInfo& info);
    Outcome ImportOne(const std::string& path);
    // The service's answer to a failed call, in words, for the status texts.
    void CallFailed(const char* what, uint32_t reportId);
    // Ends the work: stopped when ok, else failed.
    int Finish(bool ok, const char* text);
    void SetStatusText(const char* text);
    void SetFailureText(const char* text);
    // The failure text for the worker's own use (the reader's copy is the reader's).
    std::string FailureText() const;

    SCA_TezConfig* m_Config;
    SCA_TezConfigUser* m_UserConfig;
    SCA_ConfigObj* m_Params;
    char m_Host[kTextSize] = "";
    uint16_t m_Port = 0;
    char m_User[kTextSize] = "";
    char m_Password[kTextSize] = "";
    // Made at construction, connected by the thread and closed with the worker.
    std::unique_ptr<SCA_KorvantaInterface> m_Connection;
    bool m_LoggedIn = false;

    Operation m_Operation = Operation::None;
    std::vector<SCA_TezReportInfo> m_Reports;
    std::vector<std::string> m_Files;
    uint32_t m_Format = 0;
    uint32_t m_Option = 0;
    std::string m_Folder;
    SCA_TezDeltaReport* m_Delta = nullptr;

    std::atomic<uint32_t> m_Progress{0};
    std::atomic<uint32_t> m_ProcessStatus{SCA_PROCESS_IDLE};
    std::atomic<uint32_t> m_StatusCode{0};
    std::atomic<uint32_t> m_Done{0};
    std::atomic<uint32_t> m_Skipped{0};
    std::atomic<bool> m_Stopped{false};
    std::atomic<uint64_t> m_StartTime{0};
    mutable std::mutex m_TextLock;
    char m_StatusString[kTextSize] = "";
    char m_FailureString[kTextSize] = "";
    // The copies handed to the reader.
    char m_StatusShown[kTextSize] = "";
    char m_FailureShown[kTextSize] = "";
};
