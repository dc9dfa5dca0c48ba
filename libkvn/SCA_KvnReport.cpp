// SPDX-License-Identifier: MIT
#include "libkvn/SCA_KvnReport.h"

#include <cstring>

#include "libkvn/SCA_KvnStoredForm.h"
#include "libmor/SCA_Report.h"
#include "model/SCA_ConfigObj.h"

SCA_KvnReport::SCA_KvnReport(const SCA_KvnReport& other)
    : SCA_KvnReportInfo(other), m_Counters(other.m_Counters) {
    SetConstructed(m_Counters.IsConstructed());
}

SCA_KvnReport& SCA_KvnReport::operator=(const SCA_KvnReport& other) {
    if (this != &other) {
        SCA_KvnReportInfo::operator=(other);
        m_Counters = other.m_Counters;
        SetConstructed(m_Counters.IsConstructed());
    }
    return *this;
}

int SCA_KvnReport::ClearAll() {
    return m_Counters.ClearAll();
}

int SCA_KvnReport::Serialize(SCA_ConfigObj* object) const {
    if (!SCA_KvnReportInfo::Serialize(object)) {
        return 0;
    }
    return m_Counters.Serialize(object->AddConfigObj("Counters"));
}

int SCA_KvnReport::Deserialize(SCA_ConfigObj* object) {
    if (object == nullptr) {
        return 0;
    }
    ClearAll();
    SCA_KvnReportInfo::Deserialize(object);
    SCA_ConfigObj* counters = nullptr;
    if (!object->GetField("Counters", &counters)) {
        return 1;
    }
    return m_Counters.Deserialize(counters);
}

int SCA_KvnReport::Save(const char* path, uint32_t* error) {
    SetSaved(1);
    SCA_ConfigObj root(SCA_KVN_REPORT_ROOT, nullptr);
    if (!root.IsConstructed() || !Serialize(&root)) {
        SetSaved(0);
        return 0;
    }
    uint32_t code = 0;
    if (!root.Save(path, SCA_KVN_REPORT_FILE_TYPE, 0, &code)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_KvnReport::Save: cannot save report file (ERR:%u) - %s", code,
            path != nullptr ? path : "");
        if (error != nullptr) {
            *error = code;
        }
        SetSaved(0);
        return 0;
    }
    return 1;
}

int SCA_KvnReport::Load(const char* path, uint32_t* error) {
    SCA_ConfigObj root(SCA_KVN_REPORT_ROOT, nullptr);
    uint32_t code = 0;
    uint32_t fileType = 0;
    if (!root.IsConstructed() || !root.Load(path, &code, &fileType)) {
        if (error != nullptr) {
            *error = code;
        }
        return 0;
    }
    // Another store file (a group list, a device's data) is well formed too, and would read
    // as an empty report saved over the real one later.
    SCA_KvnReport read;
    if (fileType != SCA_KVN_REPORT_FILE_TYPE ||
        std::strcmp(root.GetName(), SCA_KVN_REPORT_ROOT) != 0 || !read.Deserialize(&root)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_KvnReport::Load: not a report file (type %u, root \"%s\") - %s",
            fileType, root.GetName(), path);
        if (error != nullptr) {
            *error = SCA_KVN_ERROR_NOT_REPORT;
        }
        return 0;
    }
    // What the file holds is saved, whatever flag it was written with.
    read.SetSaved(1);
    *this = read;
    return IsConstructed() ? 1 : 0;
}

int SCA_KvnReport::SetContent(const SCA_KvnReport* source) {
    if (source == nullptr) {
        return 0;
    }
    return SCA_KvnCopyThrough(
        "Report", [source](SCA_ConfigObj* temp) { return source->Serialize(temp); },
        [this](SCA_ConfigObj* temp) { return Deserialize(temp); });
}

int SCA_KvnReport::Show() const {
    SCA_KvnReportInfo::Show();
    return m_Counters.Show();
}

uint64_t SCA_KvnReport::CalcMemoryUsage() const {
    return m_Counters.CalcMemoryUsage() + 384;
}
