// SPDX-License-Identifier: MIT
#pragma once

// A library loaded when its first call is needed instead of with the program, for libraries
// that bring megabytes of their own dependencies and that most runs never call. A library that
// loaded stays loaded for the rest of the run: its calls are kept by their users.
class SCA_LateLibrary {
public:
    // Loads the library; when it cannot, every Resolve fails and Failed says why.
    explicit SCA_LateLibrary(const char* fileName);

    // Finds the call named name and sets *function to it; false when the library did not load
    // or lacks it.
    template <typename Function>
    bool Resolve(const char* name, Function* function) {
        *function = reinterpret_cast<Function>(Find(name));
        return *function != nullptr;
    }

    // Reports at error level, for owner, why the library cannot be used, and unloads it.
    void Failed(const char* owner);

private:
    void* Find(const char* name) const;

    const char* m_FileName;
    void* m_Handle;
};
