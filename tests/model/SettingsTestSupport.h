// SPDX-License-Identifier: MIT
#pragma once

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "model/SCA_ConfigObj.h"
#include "model/SCA_Field.h"
#include "tests/model/ModelTestSupport.h"

// Helpers shared by the tests of the product and user settings and their files.
namespace settings_test {

// Sets (or, with a null value, removes) an environment variable and restores it at its end.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : m_Name(name) {
        if (const char* old = std::getenv(name)) {
            m_Old = old;
        }
        if (value != nullptr) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    ~ScopedEnv() {
        if (m_Old) {
            setenv(m_Name.c_str(), m_Old->c_str(), 1);
        } else {
            unsetenv(m_Name.c_str());
        }
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string m_Name;
    std::optional<std::string> m_Old;
};

// A temporary folder that is the configuration folder (KORVANTA_HOME) while it lives, so that
// no test reads or writes the user's own settings.
class KorvantaHome {
public:
    KorvantaHome() : m_Env("KORVANTA_HOME", m_Dir.Path().c_str()) {}

    const std::string& Path() const { return m_Dir.Path(); }
    std::string operator/(const std::string& name) const { return m_Dir / name; }
    std::vector<std::string> Names() const { return m_Dir.Names(); }

private:
    model_test::TempDir m_Dir;
    ScopedEnv m_Env;
};

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// The permission bits of a file, or -1 when it is not there.
inline int FileMode(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 ? static_cast<int>(info.st_mode & 0777) : -1;
}

// The direct child object of that name, or null.
inline SCA_ConfigObj* Child(SCA_ConfigObj& object, const char* name) {
    SCA_ConfigObj* child = nullptr;
    return object.GetField(name, &child) ? child : nullptr;
}

// The byte form of a child object ("<none>" when it is missing).
inline std::string ChildBytes(SCA_ConfigObj& object, const char* name) {
    SCA_ConfigObj* child = Child(object, name);
    return child != nullptr ? model_test::Bytes(*child) : "<none>";
}

// The value of a direct value field ("<none>" when it is missing).
inline std::string Value(SCA_ConfigObj& object, const char* name) {
    SCA_Field* field = nullptr;
    return object.GetFieldByName(name, &field) && field != nullptr ? field->GetValue() : "<none>";
}

// Replaces (or adds) a value field with a raw text, to make a form that does not hold what its
// writer would.
inline void SetRaw(SCA_ConfigObj& object, const char* name, const char* value) {
    SCA_Field* field = nullptr;
    if (object.GetFieldByName(name, &field) && field != nullptr) {
        ASSERT_EQ(field->SetValue(value), 1);
    } else {
        ASSERT_EQ(object.AddField(name, value), 1);
    }
}

} // namespace settings_test
