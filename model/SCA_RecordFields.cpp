#include "model/SCA_RecordFields.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "libmor/SCA_String.h"
#include "model/SCA_ConfigObj.h"

namespace {

SCA_ConfigObj* ObjFrom(SCA_Field* field) {
    while (field != nullptr && !field->IsObject()) {
        field = field->GetNext();
    }
    return static_cast<SCA_ConfigObj*>(field);
}

} // namespace

int SCA_AddTextField(SCA_ConfigObj* object, const char* name, const char* text) {
    if (object == nullptr) {
        return 0;
    }
    if (text == nullptr) {
        return object->AddField(name, "");
    }
    const size_t length = std::strlen(text);
    if (length <= SCA_FIELD_MAX_VALUE && std::memchr(text, '\x01', length) == nullptr) {
        return object->AddField(name, text);
    }
    std::string clean(SCA_FIELD_MAX_VALUE + 1, '\0');
    SCA_StrnCpy(clean.data(), text, clean.size());
    clean.resize(std::strlen(clean.c_str()));
    for (char& c : clean) {
        if (c == '\x01') {
            c = '?';
        }
    }
    return object->AddField(name, clean.c_str());
}

SCA_ConfigObj* SCA_FirstChildObj(SCA_ConfigObj* object) {
    return object != nullptr ? ObjFrom(object->GetHead()) : nullptr;
}

SCA_ConfigObj* SCA_NextChildObj(SCA_ConfigObj* child) {
    return child != nullptr ? ObjFrom(child->GetNext()) : nullptr;
}

SCA_ConfigObj* SCA_AddNumberedObj(SCA_ConfigObj* object, uint32_t number) {
    if (object == nullptr) {
        return nullptr;
    }
    char name[16];
    std::snprintf(name, sizeof(name), "%u", number);
    return object->AddConfigObj(name);
}
