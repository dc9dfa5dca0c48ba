// SPDX-License-Identifier: MIT
#pragma once

#include "tests/support/KorvantaTestSupport.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <system_error>
#include <vector>

#include <gtest/gtest.h>

#include "libmor/SCA_Heap.h"
#include "libmor/SCA_Report.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_Field.h"
#include "model/SCA_FieldList.h"
#include "model/SCA_StringStor.h"

// Helpers shared by the configuration-tree tests.
namespace model_test {

using korvanta_test::HeapFailure;
using korvanta_test::TempDir;
using Reports = korvanta_test::ReportCapture;

// Building blocks of the byte form, for making inputs by hand.
inline std::string ValueForm(const std::string& name, const std::string& value) {
    return "1\x01" + name + "\x01" + value + "\x01";
}
inline std::string ObjectOpen(const std::string& name) {
    return "2\x01" + name + "\x01";
}
inline const std::string kObjectEnd = std::string("0\x01", 2);

// A heap block of exactly the bytes of text, so that AddressSanitizer reports any read or
// write past its end.
inline std::unique_ptr<char[]> ExactCopy(const std::string& text) {
    std::unique_ptr<char[]> block(new char[text.size()]);
    std::copy(text.begin(), text.end(), block.get());
    return block;
}

// The byte form of the whole tree ("<serialize failed>" when it is refused).
inline std::string Bytes(SCA_ConfigObj& object) {
    SCA_StringStor stor;
    if (!object.Serialize(&stor)) {
        return "<serialize failed>";
    }
    return std::string(stor.GetData(), stor.GetSize());
}

// Parses bytes into object through a byte store.
inline int Parse(SCA_ConfigObj* object, const std::string& bytes) {
    SCA_StringStor stor;
    stor.SetData(bytes.data(), static_cast<uint32_t>(bytes.size()));
    return object->Deserialize(&stor);
}

// The names of the list's fields from head to tail.
inline std::vector<std::string> Names(const SCA_FieldList& list) {
    std::vector<std::string> names;
    for (const SCA_Field* field = list.GetHead(); field != nullptr; field = field->GetNext()) {
        names.emplace_back(field->GetName());
    }
    return names;
}

inline std::vector<std::string> Names(SCA_ConfigObj& object) {
    return Names(*object.GetFieldList());
}

// Checks the list's links: head and tail null exactly when empty, a walk from either end visits
// Count() fields whose links agree, and every field reports itself as linked.
inline ::testing::AssertionResult IsSound(const SCA_FieldList& list) {
    const uint32_t count = list.Count();
    if ((list.GetHead() == nullptr) != (count == 0) ||
        (list.GetTail() == nullptr) != (count == 0)) {
        return ::testing::AssertionFailure() << "head/tail do not match count " << count;
    }
    uint32_t forward = 0;
    const SCA_Field* last = nullptr;
    for (const SCA_Field* field = list.GetHead(); field != nullptr; field = field->GetNext()) {
        if (++forward > count || field->GetPrev() != last || !field->IsLinked()) {
            return ::testing::AssertionFailure()
                   << "field " << forward - 1 << " (" << field->GetName() << ") is badly linked";
        }
        last = field;
    }
    if (forward != count || last != list.GetTail()) {
        return ::testing::AssertionFailure() << "walk visits " << forward << " of " << count;
    }
    uint32_t backward = 0;
    for (const SCA_Field* field = list.GetTail(); field != nullptr; field = field->GetPrev()) {
        ++backward;
    }
    if (backward != count) {
        return ::testing::AssertionFailure() << "walk back visits " << backward << " of " << count;
    }
    return ::testing::AssertionSuccess();
}

// Every object in the tree has sound child links and is the parent of each of its children.
inline ::testing::AssertionResult ParentsAreSound(SCA_ConfigObj& object) {
    ::testing::AssertionResult sound = IsSound(*object.GetFieldList());
    if (!sound) {
        return sound << " in " << object.GetName();
    }
    for (SCA_Field* child = object.GetHead(); child != nullptr; child = child->GetNext()) {
        if (child->GetParent() != &object) {
            return ::testing::AssertionFailure()
                   << child->GetName() << " does not point to its parent " << object.GetName();
        }
        if (child->IsObject()) {
            ::testing::AssertionResult below = ParentsAreSound(*static_cast<SCA_ConfigObj*>(child));
            if (!below) {
                return below;
            }
        }
    }
    return ::testing::AssertionSuccess();
}

} // namespace model_test
