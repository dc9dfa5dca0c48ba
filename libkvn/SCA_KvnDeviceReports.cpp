// SPDX-License-Identifier: MIT
// SCA_KvnDevice: the daily reports, in memory and on disk.
#include <cstdint>

#include "libkvn/SCA_KvnDevice.h"
#include "libkvn/SCA_KvnStoredForm.h"
#include "libmor/SCA_FileSystem.h"
#include "libmor/SCA_Report.h"

int SCA_KvnDevice::AddReport(uint32_t numOfCounters, uint32_t absDay, SCA_KvnReportInfo** info,
                             SCA_KvnReport** report) {
    SCA_KvnReportInfo* entry = nullptr;
    if (!m_ReportIndex.AddReport(&entry)) {
        return 0;
    }
    entry->SetDeviceId(GetDeviceId());
    entry->SetHostName(GetHostName());
    entry->SetNumOfCounters(numOfCounters);
    entry->SetAbsDay(absDay);
    SCA_KvnReport* added = nullptr;
    if (!m_ReportList.AddReport(entry->GetReportId(), &added) || !added->SetContent(entry)) {
        return 0;
    }
    SCA_KvnHandOut(entry, info);
    return SCA_KvnHandOut(added, report);
}

int SCA_KvnDevice::OpenIndexedReport(SCA_KvnReportInfo* entry, const char* caller,
                                     SCA_KvnReport** report) {
    const uint32_t reportId = entry->GetReportId();
    char path[SCA_KVN_PATH_SIZE];
    SCA_KvnReport* opened = nullptr;
    if (!BuildReportFileName(reportId, path, sizeof(path)) ||
        !m_ReportList.AddReport(reportId, &opened)) {
        return 0;
    }
    // An entry not marked saved may still have a file (the index was written before the
    // report): the file is the best content there is.
    if (entry->IsSaved() || SCA_IsFileExists(path)) {
        uint32_t code = 0;
        if (!opened->Load(path, &code)) {
            // Kept in memory, the empty report would later be saved over its file.
            m_ReportList.DeleteReport(reportId);
            SCA_GetReportFunction(__FILE__, __LINE__)(
                SCA_LEVEL_ERROR, "SCA_KvnDevice::%s: cannot load report (ERR:%u) - %s", caller,
                code, path);
            return 0;
        }
        opened->SetReportId(reportId);
        entry->SetSaved(1);
    } else if (!opened->SetContent(entry)) {
        m_ReportList.DeleteReport(reportId);
        return 0;
    }
    return SCA_KvnHandOut(opened, report);
}

int SCA_KvnDevice::GetReportByDay(uint32_t absDay, SCA_KvnReportInfo** info,
                                  SCA_KvnReport** report) {
    SCA_KvnReport* found = nullptr;
    SCA_KvnReportInfo* entry = nullptr;
    if (m_ReportList.GetReportByDay(absDay, &found)) {
        if (!m_ReportIndex.GetReportInfo(found->GetReportId(), &entry)) {
            SCA_GetReportFunction(__FILE__, __LINE__)(
                SCA_LEVEL_ERROR, "SCA_KvnDevice::GetReportByDay: invalid report id - %u",
                found->GetReportId());
            return 0;
        }
    } else if (!m_ReportIndex.GetReportByDay(absDay, &entry) ||
               !OpenIndexedReport(entry, "GetReportByDay", &found)) {
        return 0;
    }
    SCA_KvnHandOut(entry, info);
    return SCA_KvnHandOut(found, report);
}

int SCA_KvnDevice::GetReport(uint32_t reportId, SCA_KvnReport** report) {
    if (m_ReportList.GetReport(reportId, report)) {
        return 1;
    }
    SCA_KvnReportInfo* entry = nullptr;
    if (!m_ReportIndex.GetReportInfo(reportId, &entry)) {
        return 0;
    }
    return OpenIndexedReport(entry, "GetReport", report);
}

int SCA_KvnDevice::GetLastReport(SCA_KvnReport** report) {
    SCA_KvnReportInfo* last = nullptr;
    if (!m_ReportIndex.GetTailItem(&last)) {
        return 0;
    }
    return GetReport(last->GetReportId(), report);
}

int SCA_KvnDevice::SaveReports() {
    for (auto* node = m_ReportList.GetHead(); node != nullptr; node = node->GetNext()) {
        SCA_KvnReport* report = node->GetItem();
        if (report->IsSaved()) {
            continue;
        }
        char path[SCA_KVN_PATH_SIZE];
        if (!BuildReportFileName(report->GetReportId(), path, sizeof(path))) {
            return 0;
        }
        uint32_t code = 0;
        if (!report->Save(path, &code)) {
            SCA_GetReportFunction(__FILE__, __LINE__)(
                SCA_LEVEL_ERROR, "SCA_KvnDevice::SaveReports: cannot save report (ERR:%u) - %s",
                code, path);
            return 0;
        }
        SCA_KvnReportInfo* entry = nullptr;
        if (m_ReportIndex.GetReportInfo(report->GetReportId(), &entry)) {
            entry->SetSaved(1);
        }
    }
    return 1;
}

int SCA_KvnDevice::LoadReports() {
    uint32_t loaded = 0;
    for (auto* node = m_ReportIndex.GetHead(); node != nullptr; node = node->GetNext()) {
        SCA_KvnReportInfo* entry = node->GetItem();
        if (m_ReportList.GetReport(entry->GetReportId(), nullptr)) {
            continue;
        }
        char path[SCA_KVN_PATH_SIZE];
        if (!BuildReportFileName(entry->GetReportId(), path, sizeof(path))) {
            return 0;
        }
        if (!entry->IsSaved() && !SCA_IsFileExists(path)) {
            continue; // never written: nothing to load
        }
        if (!OpenIndexedReport(entry, "LoadReports", nullptr)) {
            return 0;
        }
        ++loaded;
    }
    SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_INFO, "%s(%u) - %u device reports loaded",
                                              GetHostName(), GetDeviceId(), loaded);
    return 1;
}

int SCA_KvnDevice::DeleteReports() {
    m_ReportList.ClearAll();
    for (auto* node = m_ReportIndex.GetHead(); node != nullptr; node = node->GetNext()) {
        char path[SCA_KVN_PATH_SIZE];
        if (!BuildReportFileName(node->GetItem()->GetReportId(), path, sizeof(path))) {
            return 0;
        }
        uint32_t ignored = 0;
        SCA_DeleteFile(path, &ignored);
    }
    const uint32_t deleted = m_ReportIndex.Count();
    m_ReportIndex.ClearAll();
    SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_INFO, "%s(%u) - %u device reports deleted",
                                              GetHostName(), GetDeviceId(), deleted);
    return 1;
}
