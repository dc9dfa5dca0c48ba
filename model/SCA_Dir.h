#pragma once

#include <cstdint>

#include "containers/SCA_List.h"
#include "libmor/SCA_Heap.h"

struct SCA_DirEntry;

// The entries of a directory as the platform's reader lists them, with their total size and
// the reading mode. Not copyable.
class SCA_Dir : public SCA_List<SCA_DirEntry*> {
public:
    SCA_HEAP_OPERATORS

    SCA_Dir() = default;
    ~SCA_Dir() override = default;

    int64_t GetSize() const { return m_Size; }
    uint32_t GetMode() const { return m_Mode; }
    void SetMode(uint32_t mode) { m_Mode = mode; }

private:
    int64_t m_Size = 0;
    uint32_t m_Mode = 0;
};
