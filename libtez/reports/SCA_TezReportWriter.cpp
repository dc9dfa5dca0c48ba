// SPDX-License-Identifier: MIT
#include "libtez/reports/SCA_TezReportWriter.h"

#include "libmor/SCA_FileSystem.h"

int SCA_TezReportWriter::WriteText(const std::string& text, const char* path, uint32_t* error) {
    uint32_t ignored = 0;
    return SCA_WriteFileAtomic(path, text.data(), text.size(), error != nullptr ? error : &ignored);
}
