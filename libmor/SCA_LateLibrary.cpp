// SPDX-License-Identifier: MIT
#include "libmor/SCA_LateLibrary.h"

#include <dlfcn.h>

#include "libmor/SCA_Report.h"

SCA_LateLibrary::SCA_LateLibrary(const char* fileName)
    : m_FileName(fileName), m_Handle(dlopen(fileName, RTLD_NOW | RTLD_LOCAL)) {}

void* SCA_LateLibrary::Find(const char* name) const {
    return m_Handle != nullptr ? dlsym(m_Handle, name) : nullptr;
}

void SCA_LateLibrary::Failed(const char* owner) {
    const char* reason = dlerror();
    SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR, "%s: cannot use the library %s: %s",
                                              owner, m_FileName,
                                              reason != nullptr ? reason : "a call is missing");
    if (m_Handle != nullptr) {
        dlclose(m_Handle);
        m_Handle = nullptr;
    }
}
