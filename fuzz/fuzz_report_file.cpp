// SPDX-License-Identifier: MIT
// The report-file importer over files a user may pick from anywhere. The first byte chooses how
// the rest is given: as a whole file (header, checksum and all), or as a payload that gets a
// valid header and checksum, so that the report reader behind the container is reached too.
// A refused file gives a reason; an accepted one holds a report that writes back to a form that
// reads again to the same thing.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/FuzzTreeSupport.h"
#include "libmor/SCA_Crypto.h"
#include "libmor/SCA_Report.h"
#include "libtez/reports/SCA_SrvReportManager.h"
#include "model/SCA_TezReport.h"
#include "model/SCA_TezReportIndex.h"

namespace {

void PutLittleEndian(std::string* out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out->push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

// The file a report of this payload would be saved as.
std::string WrapPayload(const uint8_t* data, size_t size) {
    std::string file = "KHDX";
    PutLittleEndian(&file, 1, 4);
    PutLittleEndian(&file, SCA_TEZ_REPORT_FILE_TYPE, 4);
    PutLittleEndian(&file, size, 8);
    uint8_t digest[SCA_SHA256_SIZE];
    SCA_Sha256(data, size, digest);
    file.append(reinterpret_cast<const char*>(digest), sizeof(digest));
    file.append(reinterpret_cast<const char*>(data), size);
    return file;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SCA_SetErrorCallback(fuzz_service::Quiet, nullptr);
    if (size == 0) {
        return 0;
    }
    const std::string file = data[0] % 2 == 0
                                 ? std::string(reinterpret_cast<const char*>(data + 1), size - 1)
                                 : WrapPayload(data + 1, size - 1);
    SCA_TezReport report;
    uint32_t error = 0;
    if (!SCA_SrvReportManager::ReadReportBytes(file.data(), file.size(), &report, &error)) {
        if (error == 0) {
            __builtin_trap(); // every refusal says why
        }
        return 0;
    }
    SCA_ConfigObj form(SCA_TEZ_REPORT_ROOT, nullptr);
    if (!report.Serialize(&form)) {
        __builtin_trap();
    }
    SCA_TezReport again;
    SCA_ConfigObj formAgain(SCA_TEZ_REPORT_ROOT, nullptr);
    if (!again.Deserialize(&form) || !again.Serialize(&formAgain) ||
        fuzz_service::BytesOf(&formAgain) != fuzz_service::BytesOf(&form)) {
        __builtin_trap();
    }
    return 0;
}
