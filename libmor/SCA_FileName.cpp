// SPDX-License-Identifier: MIT
#include "libmor/SCA_FileName.h"

#include <algorithm>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

int SCA_NormalizeFileName(char* text, uint32_t size) {
    if (text == nullptr || size == 0) {
        return 0;
    }
    text[size - 1] = '\0';
    char* out = text;
    for (const char* in = text; *in != '\0'; ++in) {
        const auto c = static_cast<unsigned char>(*in);
        if (c == '.' && (in[1] == '.' || out == text)) {
            // ".." anywhere and a leading dot: one '_' for the whole run of dots.
            while (in[1] == '.') {
                ++in;
            }
            *out++ = '_';
        } else if (c < 0x20 || c == 0x7F || std::strchr("/\\:*?\"<>|", c) != nullptr) {
            *out++ = '_';
        } else {
            *out++ = static_cast<char>(c);
        }
    }
    if (out == text) {
        *out++ = '_';
    }
    *out = '\0';
    return 1;
}

namespace {

// The steps of a path, "." and empty steps dropped; false when one is "..".
bool SplitSteps(const std::string& path, std::vector<std::string>* steps) {
    std::stringstream stream(path);
    for (std::string step; std::getline(stream, step, '/');) {
        if (step == "..") {
            return false;
        }
        if (!step.empty() && step != ".") {
            steps->push_back(step);
        }
    }
    return true;
}

} // namespace

int SCA_ResolveFolderBelow(const char* base, const char* name, char* out, uint32_t size) {
    std::vector<std::string> baseSteps;
    std::vector<std::string> nameSteps;
    if (base == nullptr || base[0] != '/' || name == nullptr || out == nullptr ||
        !SplitSteps(base, &baseSteps) || !SplitSteps(name, &nameSteps)) {
        return 0;
    }
    std::vector<std::string> steps = baseSteps;
    if (name[0] == '/') {
        // Absolute: base itself or below it.
        if (nameSteps.size() < baseSteps.size() ||
            !std::equal(baseSteps.begin(), baseSteps.end(), nameSteps.begin())) {
            return 0;
        }
        steps = nameSteps;
    } else {
        steps.insert(steps.end(), nameSteps.begin(), nameSteps.end());
    }
    std::string folder;
    for (const std::string& step : steps) {
        folder += "/" + step;
    }
    if (folder.empty()) {
        // Not folder = "/": that trips a false -Wrestrict of GCC 12 at -O2.
        folder.push_back('/');
    }
    if (folder.size() >= size) {
        return 0;
    }
    std::memcpy(out, folder.c_str(), folder.size() + 1);
    return 1;
}
