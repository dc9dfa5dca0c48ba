#pragma once

#include <string>

#include "ModelTestSupport.h"
#include "model/SCA_ConfigObj.h"

// Helpers shared by the tests of the counter, rule, profile, monitor and report-index records.
namespace tez_record_test {

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

} // namespace tez_record_test
