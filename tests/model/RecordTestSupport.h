// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "libmor/SCA_Report.h"
#include "libmor/SCA_String.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_StringStor.h"
#include "tests/model/ModelTestSupport.h"

// Helpers shared by the tests of the monitoring records and settings.
namespace records_test {

// What the peer receives of object: its byte form read back into a new tree, as a message
// would carry it. Null when the byte form cannot be written or read.
inline std::unique_ptr<SCA_ConfigObj> Travel(SCA_ConfigObj& object) {
    SCA_StringStor stor;
    if (!object.Serialize(&stor)) {
        return nullptr;
    }
    auto received = std::make_unique<SCA_ConfigObj>("Received", nullptr);
    if (!received->Deserialize(&stor)) {
        return nullptr;
    }
    return received;
}

// A report record as the error callback hands it over.
inline tagSCA_ERROR_DESCR Record(uint32_t level, const std::string& text, uint64_t absTime = 0) {
    tagSCA_ERROR_DESCR record{};
    record.Level = level;
    record.AbsTime = absTime;
    SCA_StrnCpy(record.Text, text.c_str(), sizeof(record.Text));
    return record;
}

// The number of direct children of object that are objects.
inline uint32_t ChildObjects(SCA_ConfigObj& object) {
    uint32_t count = 0;
    for (SCA_Field* child = object.GetHead(); child != nullptr; child = child->GetNext()) {
        count += child->IsObject() ? 1 : 0;
    }
    return count;
}

// A text of count bytes: 'a' repeated, then (when it fits) a two-byte UTF-8 character placed
// so that it straddles the last byte a field of fieldSize can hold.
inline std::string StraddlingText(size_t fieldSize) {
    std::string text(fieldSize - 2, 'a');
    text += "\xC3\xA9"; // e acute: its second byte would be the first that does not fit
    text += "tail";
    return text;
}

// The byte form of what record (or list) serialises into a fresh object.
template <typename Record>
std::string StoredForm(const Record& record) {
    SCA_ConfigObj object("Record", nullptr);
    if (!record.Serialize(&object)) {
        return "<serialize failed>";
    }
    return model_test::Bytes(object);
}

// Serialises source and reads the result into target; 1 when both steps succeed.
template <typename Source, typename Target>
int Transfer(const Source& source, Target* target) {
    SCA_ConfigObj object("Record", nullptr);
    return source.Serialize(&object) && target->Deserialize(&object) ? 1 : 0;
}

// A text of count copies of c.
inline std::string Repeat(char c, size_t count) {
    return std::string(count, c);
}

} // namespace records_test
