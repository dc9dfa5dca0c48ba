// SPDX-License-Identifier: MIT
#pragma once

// What the fuzz targets that read trees share: a tree from the input's bytes, and its bytes.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "libmor/SCA_Report.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_StringStor.h"

namespace fuzz_service {

inline int Quiet(tagSCA_ERROR_DESCR*, void*) {
    return 1;
}

// The inputs are kept small: what is interesting in a tree fits in far less.
constexpr size_t kMaxInput = 1u << 16;

// The tree whose byte form the bytes are, or null.
inline std::unique_ptr<SCA_ConfigObj> TreeFrom(const uint8_t* data, size_t size) {
    SCA_StringStor input;
    input.SetData(reinterpret_cast<const char*>(data), static_cast<uint32_t>(size));
    auto tree = std::make_unique<SCA_ConfigObj>("Root", nullptr);
    return tree->Deserialize(&input) ? std::move(tree) : nullptr;
}

// The byte form of a tree, to compare two.
inline std::string BytesOf(SCA_ConfigObj* tree) {
    SCA_StringStor bytes;
    return tree->Serialize(&bytes) ? bytes.GetBytes() : std::string("unwritable");
}

} // namespace fuzz_service
