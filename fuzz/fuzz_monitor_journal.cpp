// SPDX-License-Identifier: MIT
// The monitors journal as a restarted service reads it: any bytes in place of the journal
// beside an empty monitors file. Whatever it holds, loading never crashes, keeps only whole
// records (the journal is cut back to them) and loading the cut journal again gives the same
// monitors.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "fuzz/FuzzTreeSupport.h"
#include "libmor/SCA_FileSystem.h"
#include "model/SCA_SrvMonitorList.h"

namespace {

// One folder for the whole run, removed when the run ends. The exit handler reads the plain
// array: a static string would already be destroyed when it runs.
char g_FolderPath[] = "/tmp/korvanta-fuzz-journal-XXXXXX";

const std::string& Folder() {
    static const std::string folder = [] {
        if (mkdtemp(g_FolderPath) == nullptr) {
            return std::string();
        }
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(g_FolderPath, ignored);
        });
        return std::string(g_FolderPath);
    }();
    return folder;
}

std::string FormOf(SCA_SrvMonitorList* list) {
    SCA_ConfigObj form("Form", nullptr);
    if (!list->Serialize(&form)) {
        __builtin_trap();
    }
    return fuzz_service::BytesOf(&form);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& folder = Folder();
    if (folder.empty()) {
        return 0;
    }
    const std::string journal = folder + "/" + SCA_SRV_MONITORS_JOURNAL;
    uint32_t error = 0;
    if (!SCA_WriteFileAtomic(journal.c_str(), data, size, &error)) {
        return 0;
    }
    SCA_SrvMonitorList first(nullptr, nullptr);
    first.SetConfigDir(folder.c_str());
    if (!first.Load()) {
        return 0;
    }
    struct stat info {};
    if (::stat(journal.c_str(), &info) != 0 || static_cast<uint64_t>(info.st_size) > size ||
        first.GetJournalSize() != static_cast<uint64_t>(info.st_size)) {
        __builtin_trap(); // only whole records stay
    }
    SCA_SrvMonitorList second(nullptr, nullptr);
    second.SetConfigDir(folder.c_str());
    if (!second.Load() || FormOf(&second) != FormOf(&first)) {
        __builtin_trap();
    }
    return 0;
}
