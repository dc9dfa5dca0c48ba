// SPDX-License-Identifier: MIT
#include "model/SCA_Dir.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <string>
#include <vector>

namespace {

bool EndsWith(const char* name, const char* extension) {
    const size_t length = std::strlen(name);
    const size_t suffix = std::strlen(extension);
    return length >= suffix && std::strcmp(name + length - suffix, extension) == 0;
}

} // namespace

int SCA_Dir::Read(const char* folder, const char* extension, uint32_t* error) {
    ClearAll();
    m_Size = 0;
    DIR* dir = folder != nullptr ? opendir(folder) : nullptr;
    if (dir == nullptr) {
        if (error != nullptr) {
            *error = folder != nullptr ? static_cast<uint32_t>(errno) : EINVAL;
        }
        return 0;
    }
    const int descriptor = dirfd(dir);
    std::vector<std::string> names;
    while (const dirent* entry = readdir(dir)) {
        if (extension == nullptr || EndsWith(entry->d_name, extension)) {
            names.emplace_back(entry->d_name);
        }
    }
    std::sort(names.begin(), names.end());
    const std::string base =
        std::string(folder) +
        (folder[0] != '\0' && folder[std::strlen(folder) - 1] == '/' ? "" : "/");
    int result = 1;
    for (const std::string& name : names) {
        struct stat info {};
        if (fstatat(descriptor, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(info.st_mode)) {
            continue;
        }
        auto* file = new (std::nothrow) SCA_DirEntry();
        if (file == nullptr) {
            result = 0;
            break;
        }
        file->SetName(name.c_str());
        file->SetPath((base + name).c_str());
        file->SetSize(info.st_size);
        file->SetModificationTime(info.st_mtim.tv_sec);
        uint32_t id = 0;
        if (!AddItemToTail(file, name.c_str(), &id)) {
            DestroyRecord(file);
            result = 0;
            break;
        }
        m_Size += info.st_size;
    }
    closedir(dir);
    if (!result) {
        ClearAll();
        m_Size = 0;
        if (error != nullptr) {
            *error = ENOMEM;
        }
    }
    return result;
}
